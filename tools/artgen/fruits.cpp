// Pixel maps of the bonus fruits in their natural colours. Key to the maps:
// R red, G green, g/h/k the pale greens, B brown, Y gold, y yellow, O orange,
// W white, w light grey, C cyan, b blue, P pink.
#include "tools/artgen/fruits.h"

// clang-format off: the pictures keep their rows of pixels one above the other.

namespace {

// A function, so the key is ready whenever a fruit is drawn, even from another
// file's static set-up.
const InkKey& Inks() {
    static const InkKey key = {{'R', Red},   {'G', Green}, {'g', PaleGreen1}, {'h', PaleGreen2}, {'k', PaleGreen3},
                               {'B', Brown}, {'Y', Gold},  {'y', Yellow},     {'O', Orange},     {'W', White},
                               {'w', Grey},  {'C', Cyan},  {'b', Blue},       {'P', Pink}};
    return key;
}

Canvas Cherries() {
    return MapToCanvas({"........GGB.", "......GGGB..", ".......BBB..", "......B..B..", ".....B...B..", "....B....B..",
                        "..RRBR..RRB.", ".RWRRRRRWRRR", ".RWRRRRRWRRR", ".RRRRRRRRRRR", "..RRRR.RRRRR", "........RRR."},
                       Inks());
}

Canvas Strawberry() {
    return MapToCanvas({".....GG.....", "..GGGGGGGG..", ".RRGRGGRGRR.", "RRRRRRRRRRRR", "RyRRRyRRRyRR", "RRRRRRRRRRRR",
                        ".RRyRRRyRRR.", ".RRRRRRRRRR.", "..RRyRRyRR..", "...RRRRRR...", "....RRRR....", ".....RR....."},
                       Inks());
}

Canvas OrangeFruit() {
    return MapToCanvas({".....B.GG...", ".....BGGGG..", "...OOBOOO...", "..OOOOOOOO..", ".OYYOOOOOOO.", ".OYOOOOOOOO.",
                        ".OOOOOOOOOO.", ".OOOOOOOOOO.", ".OOOOOOOOOO.", "..OOOOOOOO..", "...OOOOOO...", "............"},
                       Inks());
}

Canvas Apple() {
    return MapToCanvas({"......B.GG..", "......BGGG..", "..RRR.B.RR..", ".RRRRRRRRRR.", "RWWRRRRRRRRR", "RWRRRRRRRRRR",
                        "RRRRRRRRRRRR", "RRRRRRRRRRRR", ".RRRRRRRRRR.", ".RRRRRRRRRR.", "..RRR..RRR..", "............"},
                       Inks());
}

Canvas Melon() {
    return MapToCanvas({".....BB.....", "....GGGG....", "..GkGhhGkG..", ".GkGGhhGGkG.", ".GkGGhhGGkG.", "GkGGGhhGGGkG",
                        "GkGGGhhGGGkG", "GgGGGhhGGGgG", ".GgGGhhGGgG.", ".GGgGhhGgGG.", "..GGGggGGG..", "....GGGG...."},
                       Inks());
}

Canvas WingedEmblem() {
    return MapToCanvas({".....YY.....", "....YRRY....", "WW.YRRRRY.WW", "WWWYRWRRYWWW", "wWWYRRRRYWWw", ".wWWYRRYWWw.",
                        "..wwWYYWww..", "...w.bb.w...", ".....bb.....", "....bbbb....", "...bb..bb...", "............"},
                       Inks());
}

Canvas Bell() {
    return MapToCanvas({".....BB.....", "....YYYY....", "...YWYYYY...", "...YWYYYY...", "..YWYYYYYY..", "..YWYYYYYY..",
                        "..YYYYYYYY..", ".YYYYYYYYYY.", "YYYYYYYYYYYY", ".OOOOOOOOOO.", ".....ww.....", "............"},
                       Inks());
}

Canvas Key() {
    return MapToCanvas({"....CCCC....", "...CCwwCC...", "...C....C...", "...CCwwCC...", "....CCCC....", ".....ww.....",
                        ".....ww.....", ".....wwww...", ".....ww.....", ".....www....", ".....ww.....", "............"},
                       Inks());
}

}  // namespace

Canvas FruitFigure(int kind) {
    switch (kind) {
        case 1: return Cherries();
        case 2: return Strawberry();
        case 3: return OrangeFruit();
        case 4: return Apple();
        case 5: return Melon();
        case 6: return WingedEmblem();
        case 7: return Bell();
        default: return Key();
    }
}
// clang-format on
