// The glimmo-modplay command: its exit codes, and a rendered WAV holding byte for byte
// what the mixer makes of the module's frames.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/module/module_builder.h"
#include "tests/module/scratch_path.h"

namespace {

const std::string Command = std::string(GLIMMO_BINARY_DIR) + "/tools/modplay/glimmo-modplay";

int RunModplay(const std::string& arguments) {
    int status = std::system((Command + " " + arguments + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::string path = ScratchPath(name);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path;
}

std::vector<uint8_t> Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A short song that starts loud at once: every frame of it differs from silence.
std::vector<uint8_t> Song() {
    TestSample s;
    for (int i = 0; i < 4000; ++i) s.bytes.push_back(int8_t(40 + (i * 7) % 50));
    s.loopStartWords = 0;
    s.loopLengthWords = 2000;
    ModuleBuilder b;
    b.Sample(1, s)
        .Cell(0, 0, 0, 1, 428)
        .Cell(0, 0, 1, 1, 214, 0xC, 40)
        .Cell(0, 3, 2, 1, 320, 0x4, 0x46)
        .Cell(0, 5, 3, 1, 500, 0xA, 0x20)
        .Cell(0, 8, 0, 0, 0, 0xD, 0);
    return b.Build();
}

uint8_t OutputByte(int32_t sum) { return uint8_t(std::clamp(sum >> 7, -128, 127) + 128); }

}  // namespace

TEST(ModplayCommand, ExitCodes) {
    if (!std::filesystem::exists(Command)) GTEST_SKIP() << "glimmo-modplay is not built";
    EXPECT_EQ(RunModplay("--help"), 0);
    EXPECT_EQ(RunModplay(""), 2);
    EXPECT_EQ(RunModplay("/nonexistent/glimmo/none.mod"), 2);
    EXPECT_EQ(RunModplay(Write("glimmo_modplay_short.mod", std::vector<uint8_t>(1000, 1))), 2);
    std::string song = Write("glimmo_modplay_song.mod", Song());
    EXPECT_EQ(RunModplay(song + " --rate 32000"), 2);
    EXPECT_EQ(RunModplay(song + " --volume 65"), 2);
    EXPECT_EQ(RunModplay(song + " --separation -1"), 2);
    EXPECT_EQ(RunModplay(song + " --bogus"), 2);
    EXPECT_EQ(RunModplay(song + " --loop --out /tmp/never.wav"), 2);  // would never end
}

TEST(ModplayCommand, RenderedFileIsWhatTheMixerMade) {
    if (!std::filesystem::exists(Command)) GTEST_SKIP() << "glimmo-modplay is not built";
    const std::vector<uint8_t> image = Song();
    std::string song = Write("glimmo_modplay_render.mod", image);
    for (bool mono : {false, true}) {
        std::string wav = ScratchPath("glimmo_modplay_render.wav");
        std::string arguments = song + " --out " + wav + " --rate 11025 --separation 100" + (mono ? " --mono" : "");
        ASSERT_EQ(RunModplay(arguments), 0);
        std::vector<uint8_t> file = Read(wav);
        ASSERT_GT(file.size(), 44u);
        const size_t channels = mono ? 1 : 2;
        EXPECT_EQ(file[22], channels);
        std::vector<uint8_t> data(file.begin() + 44, file.end());
        // Silence until the module starts; then every frame is the voice's frame mixed down.
        size_t at = 0;
        while (at < data.size() && data[at] == 0x80) ++at;
        at -= at % channels;
        TestPlayer p(image, 11025, false, !mono, 100);
        size_t frames = 0;
        while (!p.voice.stopped.load()) {
            auto [left, right] = p.Frame();
            if (p.voice.stopped.load()) break;
            ASSERT_LT(at + channels, data.size() + 1) << "the file ends early, frame " << frames;
            ASSERT_EQ(data[at], OutputByte(left)) << "frame " << frames;
            if (!mono) {
                ASSERT_EQ(data[at + 1], OutputByte(right)) << "frame " << frames;
            }
            at += channels;
            ++frames;
        }
        EXPECT_EQ(frames, 9u * (6 * 221 + 1));  // rows 0..8: the break in row 8 ends the song
        std::remove(wav.c_str());
    }
}
