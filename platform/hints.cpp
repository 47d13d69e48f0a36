// The window's hints: the words for the situation, and their rectangles on the window.
#include "platform/hints.h"
#include <algorithm>
#include <cctype>
#include "platform/pixel_font.h"

namespace {

constexpr const char* kControlNames[kControlCount] = {"Up",    "Down",       "Left",      "Right",   "Action",
                                                      "Pause", "Back",       "Louder",    "Quieter", "Mute",
                                                      "Help",  "FullScreen", "Screenshot"};

// The layer's colours: the game's own black, white, yellow and wall blue.
constexpr uint32_t kBlack = 0x000000, kWhite = 0xFFFFFF, kYellow = 0xFFFF00, kBlue = 0x2121DE;
constexpr char kBarLine[] = "\x01";
constexpr char kOrBreak = '\x02';  // two phrases: on one line when they fit, else on two
constexpr int kFontCell = 6, kLineRows = 7;

void Band(HintWords& w, std::string line) { w.band.push_back(std::move(line)); }

}  // namespace

const char* ControlName(Control control) { return kControlNames[size_t(control)]; }

bool ControlByName(const std::string& name, Control* control) {
    for (int i = 0; i < kControlCount; ++i)
        if (name == kControlNames[i]) {
            *control = Control(i);
            return true;
        }
    return false;
}

HintWords WordHints(const HintSituation& s, const WindowNotes& notes, const ControlNames& n) {
    HintWords w;
    if (!notes.note.empty()) Band(w, notes.note);
    if (s.volume >= 0) {
        Band(w, kBarLine);
        w.volume = std::min(s.volume, 64);
        w.muted = notes.muted;
    } else if (notes.muted && notes.mutedNote) {
        Band(w, "SOUND MUTED: " + n[Control::Mute] + " TURNS IT ON");
        if (n.pad) Band(w, "PAD: BOTH SHOULDERS");
    } else if (s.soundOff && !notes.muted) {
        Band(w, "VOLUME 0: " + n[Control::Louder] + " IS LOUDER");
    }
    if (s.paused && !notes.card) {
        Band(w, n[Control::Pause] + ": RESUME" + kOrBreak + n[Control::Back] + ": QUIT");
        if (n.pad) Band(w, "PAD: START RESUMES, BACK QUITS");
        Band(w, n[Control::Help] + ": ALL THE KEYS");
    }
    if (s.gameOver) {
        Band(w, n[Control::Action] + ": TITLE" + kOrBreak + n[Control::Back] + ": QUIT");
        if (n.pad) Band(w, "PAD: A TITLE, BACK QUITS");
    }
    if (!s.replay.empty() && !notes.card) {
        Band(w, s.replay);
        Band(w, n[Control::Help] + ": THE REPLAY'S KEYS");
    }
    if (!notes.card) return w;
    if (!s.replay.empty()) {
        // Watching a replay, the keys are the watching controls: none reaches the game.
        w.card = {"REPLAY KEYS (" + n[Control::Help] + " CLOSES)"};
        const std::pair<const char*, std::string> rows[] = {
            {"PAUSE, RESUME", n[Control::Pause]},
            {"ONE PASS, PAUSED", n[Control::Action]},
            {"FASTER, TO 16X", n[Control::Louder] + ", " + n[Control::Up]},
            {"SLOWER, TO 1/2X", n[Control::Quieter] + ", " + n[Control::Down]},
            {"10 S AHEAD", n[Control::Right]},
            {"FROM THE START", n[Control::Left]},
            {"STOP", n[Control::Back]},
            {"MUTE", n[Control::Mute]},
            {"FULL SCREEN", n[Control::FullScreen]},
            {"PICTURE", n[Control::Screenshot]}};
        for (const auto& [what, keys] : rows) w.card.push_back(std::string(what) + "\t" + keys);
        return w;
    }
    w.card = {"KEYS (" + n[Control::Help] + " CLOSES)"};
    const std::pair<const char*, Control> rows[] = {{"UP", Control::Up},
                                                    {"DOWN", Control::Down},
                                                    {"LEFT", Control::Left},
                                                    {"RIGHT", Control::Right},
                                                    {"START", Control::Action},
                                                    {"PAUSE", Control::Pause},
                                                    {"BACK, QUIT", Control::Back},
                                                    {"LOUDER", Control::Louder},
                                                    {"QUIETER", Control::Quieter},
                                                    {"MUTE", Control::Mute},
                                                    {"FULL SCREEN", Control::FullScreen},
                                                    {"PICTURE", Control::Screenshot},
                                                    {"THIS CARD", Control::Help}};
    for (const auto& [what, control] : rows) w.card.push_back(std::string(what) + "\t" + n[control]);
    w.card.push_back("IN PLAY, " + n[Control::Back] + " PAUSES\t");
    if (n.pad) {
        w.card.push_back("GAMEPAD");
        for (const char* row : {"D-PAD, STICK\tSTEER", "A\tSTART", "START\tPAUSE", "BACK\tBACK, QUIT",
                                "SHOULDERS\tVOLUME", "BOTH SHOULDERS\tMUTE"})
            w.card.push_back(row);
    }
    return w;
}

namespace {

// Text in the game's font at pixel size p: one rectangle per run of lit pixels in a row.
void Text(std::vector<HintRect>& out, int x, int y, int p, const std::string& text, uint32_t rgb) {
    for (char raw : text) {
        const PixelGlyph& g = FindPixelGlyph(char(std::toupper(static_cast<unsigned char>(raw))));
        const int left = x + (5 - g.Width()) / 2 * p;
        for (int row = 0; row < 5; ++row) {
            const std::string_view bits = g.rows[size_t(row)];
            for (size_t col = 0; col < bits.size();) {
                if (bits[col] != 'X') {
                    ++col;
                    continue;
                }
                size_t end = col;
                while (end < bits.size() && bits[end] == 'X') ++end;
                out.push_back({left + int(col) * p, y + row * p, int(end - col) * p, p, rgb});
                col = end;
            }
        }
        x += kFontCell * p;
    }
}

int TextWidth(const std::string& text, int p) { return text.empty() ? 0 : (kFontCell * int(text.size()) - 1) * p; }

// Breaks a line at spaces into lines of at most `columns` characters; a word longer than
// that keeps its end (a file's name), its start shown as "...".
std::vector<std::string> Wrap(const std::string& line, int columns) {
    std::vector<std::string> lines;
    std::string now;
    size_t at = 0;
    while (at < line.size()) {
        size_t space = line.find(' ', at);
        std::string word = line.substr(at, space == std::string::npos ? std::string::npos : space - at);
        at = space == std::string::npos ? line.size() : space + 1;
        if (int(word.size()) > columns) word = "..." + word.substr(word.size() - size_t(std::max(columns - 3, 0)));
        if (!now.empty() && int(now.size() + 1 + word.size()) > columns) {
            lines.push_back(now);
            now.clear();
        }
        now += (now.empty() ? "" : " ") + word;
    }
    if (!now.empty()) lines.push_back(now);
    return lines;
}

}  // namespace

std::vector<HintRect> LayOutHints(const HintWords& words, int width, int height, const ScaledPlace& place) {
    std::vector<HintRect> out;
    if (words.Empty() || place.width <= 0) return out;
    const int scale = std::max(place.scale, 1);
    // Half the picture's pixel, never less than one: the hints stay smaller than the game's words.
    int p = std::max(1, (scale + 1) / 2);
    if (!words.band.empty()) {
        const int columns = std::max(1, (place.width - 2 * p) / (kFontCell * p));
        std::vector<std::string> lines;
        for (const std::string& line : words.band) {
            if (line == kBarLine) {
                lines.push_back(line);
                continue;
            }
            const size_t split = line.find(kOrBreak);
            std::string joined = line;
            if (split != std::string::npos) joined.replace(split, 1, "  ");
            if (split == std::string::npos || int(joined.size()) <= columns) {
                for (std::string& part : Wrap(joined, columns)) lines.push_back(std::move(part));
                continue;
            }
            for (const std::string& phrase : {line.substr(0, split), line.substr(split + 1)})
                for (std::string& part : Wrap(phrase, columns)) lines.push_back(std::move(part));
        }
        const int bandHeight = int(lines.size()) * kLineRows * p + p;
        // Below the picture when the letterbox has room, else over its bottom strip (and
        // up from there as far as the lines need).
        const int below = height - (place.y + place.height);
        const bool inBorder = below >= bandHeight;
        // Over the picture the band covers the whole strip at least, not half a word of it.
        const int strip = kBottomStripRows * scale;
        const int coverHeight = inBorder ? bandHeight : std::max(bandHeight, std::min(strip, place.height));
        const int top = inBorder ? place.y + place.height : place.y + place.height - coverHeight;
        int widest = 0;
        for (const std::string& line : lines)
            widest = std::max(widest, line == kBarLine ? (kFontCell * 10 + 64) * p : TextWidth(line, p));
        const int bandWidth = inBorder ? std::min(place.width, widest + 4 * p) : place.width;
        const int bandX = place.x + (place.width - bandWidth) / 2;
        out.push_back({bandX, top, bandWidth, coverHeight, kBlack});
        int y = top + p + (coverHeight - bandHeight) / 2;
        for (const std::string& line : lines) {
            if (line == kBarLine) {
                // VOLUME, then the bar (a pixel of it for each step, fewer in a window
                // squeezed below the picture's size), then the number or OFF.
                const int bar = std::clamp(place.width / p - kFontCell * 10 - 2, 0, 64);
                int x = place.x + (place.width - (kFontCell * 10 + bar) * p) / 2;
                Text(out, x, y, p, "VOLUME", kWhite);
                x += kFontCell * 7 * p;
                out.push_back({x, y, bar * p, 5 * p, kBlue});
                out.push_back({x, y + p, words.volume * bar / 64 * p, 3 * p, words.muted ? kWhite : kYellow});
                Text(out, x + (bar + 2) * p, y, p, words.muted ? "OFF" : std::to_string(words.volume), kWhite);
            } else {
                Text(out, place.x + (place.width - TextWidth(line, p)) / 2, y, p, line, kWhite);
            }
            y += kLineRows * p;
        }
    }
    if (!words.card.empty()) {
        // The card over the middle of the picture, at the band's size if it fits the window.
        int nameColumns = 0, whatColumns = 0;
        // A row "TEXT\t" with nothing after the tab is a line across the card.
        int across = 0;
        for (const std::string& row : words.card) {
            size_t tab = row.find('\t');
            if (tab == std::string::npos || tab + 1 == row.size()) {
                across = std::max(across, int(tab == std::string::npos ? row.size() : tab));
                continue;
            }
            nameColumns = std::max(nameColumns, int(tab));
            whatColumns = std::max(whatColumns, int(row.size() - tab - 1));
        }
        auto cardWidth = [&](int q) { return (std::max(nameColumns + 1 + whatColumns, across) * kFontCell + 4) * q; };
        // As large as the game's own words where it fits.
        p = scale;
        while (p > 1 && (cardWidth(p) > width || int(words.card.size() + 1) * kLineRows * p > height)) --p;
        const int columns = std::max(1, width / (kFontCell * p) - 1);
        const int whatRoom = std::max(4, std::min(whatColumns, columns - nameColumns - 1));
        std::vector<std::pair<std::string, std::string>> rows;  // name (or heading) and what
        for (const std::string& row : words.card) {
            size_t tab = row.find('\t');
            if (tab == std::string::npos) {
                rows.push_back({row, "\n"});
                continue;
            }
            if (tab + 1 == row.size()) {
                for (std::string& part : Wrap(row.substr(0, tab), columns)) rows.push_back({"\r", part});
                continue;
            }
            std::vector<std::string> parts = Wrap(row.substr(tab + 1), whatRoom);
            if (parts.empty()) parts.push_back("");
            for (size_t i = 0; i < parts.size(); ++i) rows.push_back({i == 0 ? row.substr(0, tab) : "", parts[i]});
        }
        const int w = std::min(width, (std::max(nameColumns + 1 + whatRoom, across) * kFontCell + 4) * p);
        const int h = (int(rows.size()) * kLineRows + 3) * p;
        const int x = place.x + (place.width - w) / 2;
        const int y = std::max(0, place.y + (place.height - h) / 2);
        out.push_back({x, y, w, h, kBlue});
        out.push_back({x + p, y + p, w - 2 * p, h - 2 * p, kBlack});
        int ty = y + 2 * p;
        for (const auto& [name, what] : rows) {
            if (what == "\n") {
                Text(out, x + (w - TextWidth(name, p)) / 2, ty, p, name, kYellow);
            } else if (name == "\r") {
                Text(out, x + 2 * p, ty, p, what, kWhite);
            } else {
                Text(out, x + 2 * p, ty, p, name, kYellow);
                Text(out, x + 2 * p + (nameColumns + 1) * kFontCell * p, ty, p, what, kWhite);
            }
            ty += kLineRows * p;
        }
    }
    // A window squeezed below the picture's size may not hold it all: what is outside goes.
    std::vector<HintRect> kept;
    kept.reserve(out.size());
    for (HintRect r : out) {
        const int x0 = std::max(r.x, 0), y0 = std::max(r.y, 0);
        const int x1 = std::min(r.x + r.w, width), y1 = std::min(r.y + r.h, height);
        if (x1 > x0 && y1 > y0) kept.push_back({x0, y0, x1 - x0, y1 - y0, r.rgb});
    }
    return kept;
}
