// Mixing the four channels: separation, mono, volumes and the master volume, loops,
// and a sample's end.
#include <gtest/gtest.h>
#include <algorithm>

#include "tests/module/module_builder.h"
#include "tests/support/file_bytes.h"

namespace {

// One note of sample 1 in each channel listed, on row 0.
std::vector<uint8_t> Chord(TestSample s, std::initializer_list<uint32_t> channels) {
    ModuleBuilder b;
    b.Sample(1, std::move(s));
    for (uint32_t c : channels) b.Cell(0, 0, c, 1, 428);
    return b.Build();
}

}  // namespace

TEST(ModuleMixing, SeparationSetsTheChannelPans) {
    ModuleVoice v;
    v.SetPan(255);
    EXPECT_EQ(v.channelPan[0].load(), 64u);
    EXPECT_EQ(v.channelPan[1].load(), 192u);
    EXPECT_EQ(v.channelPan[2].load(), 192u);
    EXPECT_EQ(v.channelPan[3].load(), 64u);
    v.SetPan(0);
    EXPECT_EQ(v.channelPan[0].load(), 127u);
    EXPECT_EQ(v.channelPan[1].load(), 129u);
    EXPECT_EQ(v.channelPan[2].load(), 129u);
    EXPECT_EQ(v.channelPan[3].load(), 127u);
    v.SetPan(300);
    EXPECT_EQ(v.GetPan(), 255u);
}

TEST(ModuleMixing, StereoPutsThreeQuartersOnTheChannelsSide) {
    for (uint32_t c = 0; c < 4; ++c) {
        TestPlayer p(Chord(Flat(100), {c}));
        auto [left, right] = p.Frame();
        bool leftSide = c == 0 || c == 3;
        EXPECT_EQ(left, (leftSide ? 48 : 16) * 100) << c;
        EXPECT_EQ(right, (leftSide ? 16 : 48) * 100) << c;
    }
    TestPlayer narrow(Chord(Flat(100), {0}), 22050, false, true, 0);
    auto [left, right] = narrow.Frame();
    EXPECT_EQ(left, 33 * 100);
    EXPECT_EQ(right, 31 * 100);
}

TEST(ModuleMixing, MonoIgnoresTheSeparation) {
    for (int32_t separation : {0, 255}) {
        TestPlayer p(Chord(Flat(-100), {0, 1}), 22050, false, false, separation);
        auto [left, right] = p.Frame();
        EXPECT_EQ(left, 2 * 64 * -100);
        EXPECT_EQ(right, 0);
    }
}

TEST(ModuleMixing, VolumesAndTheModuleMasterVolume) {
    TestPlayer p(Chord(Flat(100, 60000, 40), {0, 1}));
    auto [l1, r1] = p.Frame();
    EXPECT_EQ(l1 + r1, 2 * 40 * 100);
    p.master = 32;
    p.voice.SetVolume(64);  // what SetModuleMasterVolume does on every module voice
    EXPECT_EQ(p.voice.GetVolume(), 32u);
    EXPECT_EQ(p.voice.effectiveVolume[0].load(), 20u);
    auto [l2, r2] = p.Frame();
    EXPECT_EQ(l2 + r2, 2 * 20 * 100);
    p.voice.SetVolume(-5);  // out of range: 64
    EXPECT_EQ(p.voice.volume.load(), 64u);

    TestPlayer quiet(Chord(Flat(100), {0}));
    quiet.module.SetVolume(16);
    quiet.voice.Start(quiet.module, StepTableFor(22050), 22050);
    auto [l3, r3] = quiet.Frame();
    EXPECT_EQ(l3 + r3, 16 * 100);
}

TEST(ModuleMixing, LoopsAndTheSampleEnd) {
    // Eight bytes 0..7, looping over bytes 4..7; stepped one byte a frame.
    TestSample s;
    s.bytes = {0, 1, 2, 3, 4, 5, 6, 7};
    s.loopStartWords = 2;
    s.loopLengthWords = 2;
    TestPlayer p(Chord(s, {0}));
    p.Frame();  // the note: byte 0
    p.voice.step[0] = 256;
    p.voice.position[0] = 256;
    std::vector<int32_t> heard;
    for (int i = 0; i < 11; ++i) heard.push_back(p.Frame().first / 48);
    EXPECT_EQ(heard, (std::vector<int32_t>{1, 2, 3, 4, 5, 6, 7, 4, 5, 6, 7}));

    // A loop of one word is no loop: the sample plays once and then is silent.
    s.loopStartWords = 3;
    s.loopLengthWords = 1;
    TestPlayer once(Chord(s, {0}));
    EXPECT_EQ(once.voice.loopLength[1], 0u);
    once.Frame();
    once.voice.step[0] = 256;
    once.voice.position[0] = 256;
    heard.clear();
    for (int i = 0; i < 10; ++i) heard.push_back(once.Frame().first / 48);
    EXPECT_EQ(heard, (std::vector<int32_t>{1, 2, 3, 4, 5, 6, 7, 0, 0, 0}));
    EXPECT_EQ(once.voice.position[0], 8u * 256);  // does not advance past the end
}

TEST(ModuleMixing, ALoopEndingBeyondTheSampleFallsSilentAtTheEnd) {
    TestSample s;
    s.bytes = {10, 10, 10, 10};
    s.loopStartWords = 1;
    s.loopLengthWords = 4;
    TestPlayer p(Chord(s, {0}));
    int32_t sum = p.Frame().first;  // the note: byte 0
    p.voice.step[0] = 256;
    p.voice.position[0] = 256;
    for (int i = 0; i < 20; ++i) sum += p.Frame().first;
    EXPECT_EQ(sum, 4 * 48 * 10);
}

// The mixer adds a stretch of frames at once, looking at a channel only where it meets
// its loop's end or its sample's. Whether frame by frame or in stretches of any length,
// the sums are the ones the frame-by-frame mixer always made: a digest of them (FNV-1a),
// recorded with it, for a song of awkward channels (tiny loops at a high pitch, a sample
// that ends, a loop past the sample's end, a silent channel made loud later) and, where
// Debian's tuxtype-data is installed, for three real songs.
TEST(ModuleMixing, StretchesOfAnyLengthAddWhatTheFramesAlwaysAdded) {
    auto digests = [](const std::vector<uint8_t>& image) {
        TestPlayer single(image), runs(image);
        uint64_t one = 14695981039346656037ull, many = one;
        auto add = [](uint64_t& digest, int32_t left, int32_t right) {
            for (int32_t v : {left, right})
                for (int i = 0; i < 4; ++i) digest = (digest ^ uint8_t(uint32_t(v) >> (8 * i))) * 1099511628211ull;
        };
        // Frame by frame up to the frame in which the song ends, then the same frames in stretches.
        uint64_t frames = 0;
        while (!single.voice.stopped.load()) {
            auto [left, right] = single.Frame();
            add(one, left, right);
            ++frames;
        }
        static const uint32_t lengths[] = {1, 7, 64, 441, 1000, 2, 1176};
        std::vector<int64_t> sums;
        for (size_t i = 0; frames > 0; ++i) {
            sums.assign(std::min<uint64_t>(lengths[i % 7], frames), 0);
            runs.voice.MixRun(sums.data(), uint32_t(sums.size()));
            for (int64_t both : sums) add(many, LeftSum(both), RightSum(both));
            frames -= sums.size();
        }
        return std::pair{one, many};
    };

    TestSample tiny;  // bytes 0..7, looping over 4..7
    for (int b = 0; b < 8; ++b) tiny.bytes.push_back(int8_t(b * 9 - 30));
    tiny.loopStartWords = 2;
    tiny.loopLengthWords = 2;
    TestSample once;  // plays once, then the channel is silent
    once.bytes = {40, -40, 30, -30, 20, -20};
    TestSample beyond;  // its loop ends past the sample's end
    beyond.bytes = {10, 20, 30, 40};
    beyond.loopStartWords = 1;
    beyond.loopLengthWords = 4;
    TestSample quiet;  // a ramp at volume 0 until row 3 sets it to 64
    for (int i = 0; i < 2000; ++i) quiet.bytes.push_back(int8_t(i % 200 - 100));
    quiet.volume = 0;
    quiet.loopLengthWords = 1000;
    ModuleBuilder b;
    b.Sample(1, tiny).Sample(2, once).Sample(3, beyond).Sample(4, quiet);
    b.Cell(0, 0, 0, 1, 113).Cell(0, 0, 1, 2, 428).Cell(0, 0, 2, 3, 254).Cell(0, 0, 3, 4, 302);
    b.Cell(0, 2, 1, 2, 113, 0x0, 0x37).Cell(0, 3, 3, 0, 0, 0xC, 64).Cell(0, 5, 0, 1, 856, 0x4, 0x8F);
    b.Cell(0, 7, 2, 0, 0, 0xA, 0x04).Cell(0, 9, 0, 0, 0, 0xD, 0);  // the break ends the song after row 9
    const auto [one, many] = digests(b.Build());
    EXPECT_EQ(one, 0xe257b5cbe24eefd8ull) << "frame by frame";
    EXPECT_EQ(many, 0xe257b5cbe24eefd8ull) << "in stretches";

    const std::pair<const char*, uint64_t> songs[] = {{"game.mod", 0xec56aa0db595eaeaull},
                                                      {"game2.mod", 0x50ba08639b9d5768ull},
                                                      {"game3.mod", 0x3476f0d471cc08e3ull}};
    for (auto [song, recorded] : songs) {
        const std::vector<uint8_t> image = FileBytes(std::string("/usr/share/tuxtype/sounds/") + song);
        if (image.empty()) continue;
        const auto [songOne, songMany] = digests(image);
        EXPECT_EQ(songOne, recorded) << song << ", frame by frame";
        EXPECT_EQ(songMany, recorded) << song << ", in stretches";
    }
}
