// Blits, clipping, colours and image conversion on surfaces of several display layouts.
#include "gfx/surface.h"
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>
#include <algorithm>
#include <climits>
#include <fstream>
#include <vector>
#include "platform/headless/headless_backend.h"

namespace {
// A 4 x 3 image whose pixel (x, y) is 100 + 10y + x, with the key at (1, 1).
Image MakeImage(std::vector<uint16_t>& store, uint16_t key) {
    store.resize(12);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) store[y * 4 + x] = uint16_t(100 + 10 * y + x);
    store[1 * 4 + 1] = key;
    return Image{store.data(), 4, 3};
}

uint16_t At(const Surface& s, int x, int y) { return s.origin[x * s.xStep + y * s.yStep]; }

struct SurfaceTest : ::testing::Test {
    void Use(GXDisplayProperties p) { UseHeadlessBackend(1000, p); }
    void TearDown() override { SetBackend(nullptr); }
};

// Frame memory at the lowest address a program may map, for a layout whose pitch is
// longer than that address: below the memory there is only the wrap round zero, so a
// pointer formed past its far edge is one the undefined-behaviour sanitizer reports.
class MemoryAtTheBottom {
public:
    MemoryAtTheBottom() {
        const uintptr_t page = uintptr_t(sysconf(_SC_PAGESIZE));
        uintptr_t lowest = 65536;
        std::ifstream("/proc/sys/vm/mmap_min_addr") >> lowest;
        lowest = (lowest + page) / page * page;  // above the limit, never at zero
        pitch = int32_t(lowest + page);
        bytes = size_t(pitch) + page;
        void* want = reinterpret_cast<void*>(lowest);
        void* got = mmap(want, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED_NOREPLACE, -1, 0);
        if (got == want) base = static_cast<uint16_t*>(got);
        else if (got != MAP_FAILED) munmap(got, bytes);
    }
    ~MemoryAtTheBottom() {
        if (base) munmap(base, bytes);
    }
    // The pixels written anywhere in the memory (it starts all zero).
    int Written() const {
        int n = 0;
        for (size_t i = 0; i < bytes / 2; ++i) n += base[i] != 0;
        return n;
    }
    uint16_t* base = nullptr;
    int32_t pitch = 0;  // bytes from the memory's lowest pixel to its highest row or column
    size_t bytes = 0;
};
}  // namespace

TEST_F(SurfaceTest, PortraitLayoutAndAllocation) {
    Use(PortraitDisplay);
    Surface s;
    EXPECT_EQ(s.xStep, 1);
    EXPECT_EQ(s.yStep, 176);
    EXPECT_EQ(s.minOffset, 0);
    EXPECT_EQ(s.maxOffset, 38719);
    EXPECT_EQ(s.origin, nullptr);
    ASSERT_EQ(AllocatePixels(s), 1);
    EXPECT_EQ(s.origin, s.buffer);
    EXPECT_EQ(AllocatePixels(s), 0) << "a surface with memory is refused a second allocation";
}

TEST_F(SurfaceTest, RotatedLayoutKeepsBufferAtLowestAddress) {
    // Frame memory rotated a quarter turn: x runs down the columns, y runs backwards.
    Use(GXDisplayProperties{176, 220, 440, -2, 16, kfDirect565});
    Surface s;
    EXPECT_EQ(s.xStep, 220);
    EXPECT_EQ(s.yStep, -1);
    EXPECT_EQ(s.minOffset, -219);
    EXPECT_EQ(s.maxOffset, 175 * 220);
    ASSERT_EQ(AllocatePixels(s), 1);
    EXPECT_EQ(s.origin, s.buffer + 219);
    EXPECT_EQ(PutPixel(s, 175, 219, 7), 1);
    EXPECT_EQ(s.buffer[175 * 220], 7);
}

TEST_F(SurfaceTest, PutPixelRefusals) {
    Use(PortraitDisplay);
    Surface s;
    EXPECT_EQ(PutPixel(s, 0, 0, 1), 0) << "no memory yet";
    AllocatePixels(s);
    EXPECT_EQ(PutPixel(s, -1, 0, 1), 0);
    EXPECT_EQ(PutPixel(s, 0, -1, 1), 0);
    EXPECT_EQ(PutPixel(s, 176, 0, 1), 0);
    EXPECT_EQ(PutPixel(s, 0, 220, 1), 0);
    EXPECT_EQ(PutPixel(s, 175, 219, 0x1FFFF), 1);
    EXPECT_EQ(At(s, 175, 219), 0xFFFF) << "only the low 16 bits are stored";
}

TEST_F(SurfaceTest, BlitClipsAtEveryEdge) {
    Use(PortraitDisplay);
    Surface s;
    AllocatePixels(s);
    std::vector<uint16_t> store;
    Image img = MakeImage(store, 0xF81F);
    std::vector<uint16_t> sprite(144);
    for (int i = 0; i < 144; ++i) sprite[i] = uint16_t(1000 + i);
    Image big{sprite.data(), 12, 12};

    for (int x = 0; x < 12; ++x) PutPixel(s, x, 0, 0);
    // A 12 x 12 sprite at dx = -5 shows its right-hand 7 columns at x 0..6.
    EXPECT_EQ(BlitOpaque(s, -5, 0, 12, 12, &big, 0, 0), 1);
    EXPECT_EQ(At(s, 0, 0), 1005);
    EXPECT_EQ(At(s, 6, 0), 1011);
    EXPECT_EQ(At(s, 7, 0), 0);
    // Negative dy trims the top rows the same way.
    EXPECT_EQ(BlitOpaque(s, 20, -10, 12, 12, &big, 0, 0), 1);
    EXPECT_EQ(At(s, 20, 0), 1000 + 10 * 12);
    EXPECT_EQ(At(s, 20, 1), 1000 + 11 * 12);
    // Past the right and bottom edges: success, nothing drawn.
    std::vector<uint16_t> before(s.buffer, s.buffer + 38720);
    EXPECT_EQ(BlitOpaque(s, 176, 0, 12, 12, &big, 0, 0), 1);
    EXPECT_EQ(BlitOpaque(s, 177, 0, 12, 12, &big, 0, 0), 1);
    EXPECT_EQ(BlitOpaque(s, 0, 220, 12, 12, &big, 0, 0), 1);
    EXPECT_EQ(BlitOpaque(s, 0, 221, 12, 12, &big, 0, 0), 1);
    EXPECT_EQ(std::vector<uint16_t>(s.buffer, s.buffer + 38720), before);
    // A sprite hanging over the right edge keeps the columns that fit.
    EXPECT_EQ(BlitOpaque(s, 170, 100, 12, 12, &big, 0, 0), 1);
    EXPECT_EQ(At(s, 175, 100), 1005);
    // The source rectangle is never clipped: past the image's edge it is refused whole.
    EXPECT_EQ(BlitOpaque(s, 0, 50, 4, 3, &img, 1, 0), 0);
    EXPECT_EQ(BlitOpaque(s, 0, 50, 4, 3, &img, 0, 1), 0);
    EXPECT_EQ(BlitOpaque(s, 0, 50, 4, 3, &img, -1, 0), 0);
    EXPECT_EQ(BlitOpaque(s, 0, 50, 0, 3, &img, 0, 0), 0);
    EXPECT_EQ(BlitOpaque(s, 0, 50, 4, 3, nullptr, 0, 0), 0);
    EXPECT_NE(At(s, 0, 50), 100);
}

TEST_F(SurfaceTest, KeyedBlitSkipsOnlyTheKey) {
    Use(PortraitDisplay);
    Surface s;
    AllocatePixels(s);
    std::vector<uint16_t> store;
    Image img = MakeImage(store, 0xF81F);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) PutPixel(s, 10 + x, 10 + y, 5);
    EXPECT_EQ(BlitKeyed(s, 10, 10, 4, 3, &img, 0xF81F, 0, 0), 1);
    EXPECT_EQ(At(s, 11, 11), 5) << "the key pixel leaves the surface as it was";
    EXPECT_EQ(At(s, 10, 10), 100);
    EXPECT_EQ(At(s, 13, 12), 123);
    // Without a key (0xFFFF) the key colour is copied like any other.
    EXPECT_EQ(Blit(s, 10, 10, 4, 3, &img, 0, 0, NoKey), 1);
    EXPECT_EQ(At(s, 11, 11), 0xF81F);
    // A source rectangle inside the image.
    EXPECT_EQ(BlitKeyed(s, 30, 30, 2, 2, &img, 0xF81F, 2, 1), 1);
    EXPECT_EQ(At(s, 30, 30), 112);
    EXPECT_EQ(At(s, 31, 31), 123);
}

TEST_F(SurfaceTest, SamePictureOnEveryLayout) {
    // One sprite drawn on portrait, rotated and mirrored layouts lands on the same (x, y).
    std::vector<uint16_t> store;
    Image img = MakeImage(store, 0xF81F);
    const GXDisplayProperties layouts[] = {
        PortraitDisplay,
        {176, 220, 440, -2, 16, kfDirect565},
        {176, 220, -440, 2, 16, kfDirect565},
        {176, 220, -2, -352, 16, kfDirect555},
    };
    for (const auto& p : layouts) {
        Use(p);
        Surface s, d;
        AllocatePixels(s);
        AllocatePixels(d);
        for (int y = 0; y < 220; ++y)
            for (int x = 0; x < 176; ++x) PutPixel(s, x, y, 0);
        BlitOpaque(s, -1, 218, 4, 3, &img, 0, 0);
        EXPECT_EQ(CopySurface(d, s), 1);
        EXPECT_EQ(At(d, 0, 218), 101) << "pitches " << p.cbxPitch << "," << p.cbyPitch;
        EXPECT_EQ(At(d, 2, 219), 113);
        EXPECT_EQ(At(d, 3, 219), 0);
    }
}

TEST_F(SurfaceTest, CopyRefusals) {
    Use(PortraitDisplay);
    Surface a, b;
    EXPECT_EQ(CopySurface(a, b), 0) << "a source without memory";
    AllocatePixels(b);
    EXPECT_EQ(CopySurface(a, b), 0) << "a destination without memory writes nothing";
    Use(GXDisplayProperties{176, 220, 2, 352, 8, kfDirect565});
    Surface c;
    EXPECT_EQ(AllocatePixels(c), 0) << "only 16 bits per pixel";
    EXPECT_EQ(MakeColour(c, 0xFFFFFF), 0u);
}

TEST_F(SurfaceTest, PackColour) {
    Use(PortraitDisplay);
    Surface s565;
    EXPECT_EQ(PackColour(s565, 0xFFFFFF), 0xFFDFu);
    EXPECT_EQ(PackColour(s565, 0xFF00FF), 0xF81Fu);
    EXPECT_EQ(PackColour(s565, 0x0000FF), 0xF800u);  // red is the low byte
    EXPECT_EQ(PackColour(s565, 0x00FF00), 0x07C0u);  // green keeps five bits, bit 5 clear
    EXPECT_EQ(PackColour(s565, 0xDE2121), 0x211Bu);  // 0x00BBGGRR of blue 2121DE
    Use(GXDisplayProperties{176, 220, 2, 352, 16, kfDirect555});
    Surface s555;
    EXPECT_EQ(PackColour(s555, 0xFFFFFF), 0x7FFFu);
    EXPECT_EQ(PackColour(s555, 0xFF00FF), 0x7C1Fu);
    Use(GXDisplayProperties{176, 220, 2, 352, 16, 0});
    Surface none;
    EXPECT_EQ(PackColour(none, 0xFFFFFF), 0u);
}

TEST_F(SurfaceTest, CreateImageBothForms) {
    Use(PortraitDisplay);
    Surface f;
    std::vector<uint32_t> px(6 * 4);
    for (int i = 0; i < 24; ++i) px[i] = uint32_t(i) * 0x080808;
    DecodedBitmap bmp{6, 4, px.data()};

    Image* whole = CreateImage(f, &bmp, -1, -1, 0, 0);
    ASSERT_NE(whole, nullptr);
    EXPECT_EQ(whole->width, 6);
    EXPECT_EQ(whole->height, 4);
    EXPECT_EQ(whole->pixels[7], PackColour(f, px[7]));
    FreeImage(whole);
    EXPECT_EQ(whole, nullptr);

    Image* rect = CreateImage(f, &bmp, 2, 1, 3, 2);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->width, 12) << "the rectangle form makes a canvas twice the bitmap";
    EXPECT_EQ(rect->height, 8);
    EXPECT_EQ(rect->pixels[0], PackColour(f, px[1 * 6 + 2]));
    EXPECT_EQ(rect->pixels[1 * 12 + 2], PackColour(f, px[2 * 6 + 4]));
    EXPECT_EQ(rect->pixels[3], 0) << "outside the rectangle the canvas is black";
    EXPECT_EQ(rect->pixels[2 * 12], 0);
    FreeImage(rect);

    EXPECT_EQ(CreateImage(f, nullptr, -1, -1, 0, 0), nullptr);
    Use(GXDisplayProperties{176, 220, 2, 352, 24, kfDirect565});
    Surface deep;
    Image* refused = CreateImage(deep, &bmp, -1, -1, 0, 0);
    ASSERT_NE(refused, nullptr);
    EXPECT_EQ(refused->pixels, nullptr) << "conversion is refused at other depths";
    std::vector<uint16_t> dst;
    Surface target;
    EXPECT_EQ(BlitOpaque(target, 0, 0, 1, 1, refused, 0, 0), 0);
    FreeImage(refused);
}

// No blit forms a pointer outside the surface's memory or the image, and no sum or product
// of its arguments overflows: sprites on the edges of layouts that run backwards through
// memory, sprites clipped whole, and positions and sizes at the ends of the 32-bit range.
TEST_F(SurfaceTest, BlitsFormNoPointerOutsideTheirMemory) {
    std::vector<uint16_t> store;
    Image img = MakeImage(store, 0xF81F);

    // The ends of the 32-bit range, on the portrait screen: refused, or clipped to nothing.
    Use(PortraitDisplay);
    Surface s;
    ASSERT_EQ(AllocatePixels(s), 1);
    std::fill(s.buffer, s.buffer + 38720, 0);
    EXPECT_EQ(BlitOpaque(s, 0, 0, 1, 1, &img, INT32_MAX, 0), 0);
    EXPECT_EQ(BlitOpaque(s, 0, 0, 1, 1, &img, 0, INT32_MAX), 0);
    EXPECT_EQ(BlitOpaque(s, 0, 0, INT32_MAX, 1, &img, 1, 0), 0);
    EXPECT_EQ(BlitOpaque(s, 0, 0, 1, INT32_MAX, &img, 0, 1), 0);
    EXPECT_EQ(BlitOpaque(s, INT32_MIN, 0, 3, 3, &img, 1, 0), 1);
    EXPECT_EQ(BlitOpaque(s, 0, INT32_MIN, 3, 2, &img, 0, 1), 1);
    EXPECT_EQ(BlitOpaque(s, INT32_MAX, INT32_MAX, 4, 3, &img, 0, 0), 1);
    EXPECT_EQ(PutPixel(s, INT32_MIN, INT32_MAX, 1), 0);
    // An image declared far larger than its memory, drawn clipped whole: none of it is read.
    Image vast{store.data(), 0x40000000, 4};
    EXPECT_EQ(BlitOpaque(s, 176, 0, 1, 1, &vast, 0, 3), 1);
    EXPECT_EQ(std::count(s.buffer, s.buffer + 38720, 0), 38720);

    // Canvases and layouts too large for 32-bit offsets are refused, not wrapped.
    std::vector<uint32_t> px(4, 0xFFFFFF);
    DecodedBitmap small{2, 2, px.data()};
    Image* corner = CreateImage(s, &small, INT32_MAX, INT32_MAX, 2, 2);
    ASSERT_NE(corner, nullptr);
    EXPECT_EQ(std::count(corner->pixels, corner->pixels + 16, 0), 16) << "nothing of the bitmap lies there";
    FreeImage(corner);
    DecodedBitmap wide{0x40000000, 1, px.data()};
    Image* huge = CreateImage(s, &wide, 0, 0, 1, 1);
    ASSERT_NE(huge, nullptr);
    EXPECT_EQ(huge->pixels, nullptr);
    FreeImage(huge);
    Use(GXDisplayProperties{0x40000001, 2, 4, 2, 16, kfDirect565});
    Surface endless;
    EXPECT_EQ(AllocatePixels(endless), 0);

    // Layouts that run backwards through memory placed at the bottom of the address space:
    // sprites on their far edges, and sprites clipped whole.
    MemoryAtTheBottom low;
    if (!low.base) GTEST_SKIP() << "no memory could be mapped at the lowest address";
    uint16_t* top = low.base + low.pitch / 2;  // the pixel one pitch above the lowest

    // 8 x 2, the lower row a whole pitch below the upper one in memory.
    Use(GXDisplayProperties{8, 2, 2, -low.pitch, 16, kfDirect565});
    Surface rows;
    SetPixels(rows, top);
    EXPECT_EQ(BlitOpaque(rows, 2, 1, 3, 2, &img, 0, 0), 1) << "on the bottom edge";
    EXPECT_EQ(BlitKeyed(rows, -3, 1, 4, 3, &img, 0xF81F, 0, 0), 1) << "left-clipped on the bottom edge";
    EXPECT_EQ(BlitOpaque(rows, -4, 0, 4, 3, &img, 0, 0), 1) << "clipped whole on the left";
    EXPECT_EQ(BlitOpaque(rows, 8, 0, 4, 3, &img, 0, 0), 1) << "at the right edge";
    EXPECT_EQ(At(rows, 2, 1), 100);
    EXPECT_EQ(At(rows, 4, 1), 102);
    EXPECT_EQ(At(rows, 0, 1), 103);
    EXPECT_EQ(low.Written(), 4);

    // Rotated: 2 x 8, the right-hand column a whole pitch below the left-hand one.
    Use(GXDisplayProperties{2, 8, -low.pitch, 2, 16, kfDirect565});
    Surface columns;
    SetPixels(columns, top);
    std::fill(low.base, low.base + low.bytes / 2, 0);
    EXPECT_EQ(BlitOpaque(columns, 1, 6, 3, 2, &img, 0, 0), 1) << "on the right edge";
    EXPECT_EQ(BlitOpaque(columns, 2, 0, 3, 2, &img, 0, 0), 1) << "past the right edge";
    EXPECT_EQ(At(columns, 1, 6), 100);
    EXPECT_EQ(At(columns, 1, 7), 110);
    EXPECT_EQ(low.Written(), 2);
}
