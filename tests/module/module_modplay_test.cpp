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

#include <sys/stat.h>
#include <unistd.h>
#include "tests/module/module_builder.h"
#include "tests/module/scratch_path.h"
#include "tests/support/run_glimmo.h"

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

// The command with its output kept, its environment changed as asked.
ProgramResult Modplay(std::vector<std::string> arguments, ProgramSetup setup = {}) {
    setup.args = {Command};
    setup.args.insert(setup.args.end(), arguments.begin(), arguments.end());
    return RunChild(setup);
}

uint32_t U32At(const std::vector<uint8_t>& bytes, size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | uint32_t(bytes[at + 3]) << 24;
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
    EXPECT_EQ(RunModplay(song + " --loop --out /tmp/never.wav"), 2);         // would never end
    EXPECT_EQ(RunModplay(song + " --out /nonexistent/glimmo/song.wav"), 2);  // refused before it plays
}

TEST(ModplayCommand, OnlyModulesArePlayed) {
    if (!std::filesystem::exists(Command)) GTEST_SKIP() << "glimmo-modplay is not built";
    const std::string wav = ScratchPath("glimmo_modplay_kinds.wav");
    // Text and a program are long enough to hold a header, but they are no modules.
    std::string text;
    while (text.size() < 3000) text += "someone:x:1000:1000:Some One,,,:/home/someone:/bin/bash\n";
    std::vector<uint8_t> program(200000, 0x90);
    program[0] = 0x7F, program[1] = 'E', program[2] = 'L', program[3] = 'F';
    std::vector<uint8_t> cut = Song();
    cut.resize(1084 + 1000);  // one pattern needs 1024 bytes
    for (const std::string& file : {Write("glimmo_modplay_text", std::vector<uint8_t>(text.begin(), text.end())),
                                    Write("glimmo_modplay_program", program), Write("glimmo_modplay_cut.mod", cut),
                                    std::filesystem::temp_directory_path().string(), std::string("/dev/null")}) {
        SCOPED_TRACE(file);
        ProgramResult run = Modplay({file, "--out", wav});
        EXPECT_EQ(run.exitCode, 2) << run.err;
        ExpectOneLineAbout(run, "glimmo-modplay", file);
    }
    for (const char* tag : {"M.K.", "M!K!", "FLT4", "4CHN"}) {
        std::vector<uint8_t> song = Song();
        std::copy(tag, tag + 4, song.begin() + 1080);
        ProgramResult run = Modplay({Write("glimmo_modplay_tag.mod", song), "--out", wav, "--seconds", "0.1"});
        EXPECT_EQ(run.exitCode, 0) << tag << ": " << run.err;
    }
    std::remove(wav.c_str());
}

TEST(ModplayCommand, AFileLargerThanAnyModuleIsRefusedUnread) {
    if (!std::filesystem::exists(Command)) GTEST_SKIP() << "glimmo-modplay is not built";
    // A module at the start of 64 MB that holds nothing (the file is sparse).
    const std::string big = Write("glimmo_modplay_big.mod", Song());
    ASSERT_EQ(truncate(big.c_str(), 64 << 20), 0);
    ProgramResult run = Modplay({big, "--out", "/dev/null"});
    EXPECT_EQ(run.exitCode, 2) << run.err;
    ExpectOneLineAbout(run, "glimmo-modplay", "bytes");
    std::remove(big.c_str());
}

TEST(ModplayCommand, TheEdgesOfItsCommandLine) {
    if (!std::filesystem::exists(Command)) GTEST_SKIP() << "glimmo-modplay is not built";
    const std::vector<uint8_t> image = Song();
    const std::string song = Write("glimmo_modplay_edges.mod", image);
    const std::string other = ScratchPath("glimmo_modplay_edges_link.mod");
    std::remove(other.c_str());
    ASSERT_EQ(symlink(song.c_str(), other.c_str()), 0);
    // The module itself, under its own name or another, is never the output.
    for (const std::string& out : {song, other}) {
        ProgramResult run = Modplay({song, "--out", out});
        EXPECT_EQ(run.exitCode, 2) << run.err;
        ExpectOneLineAbout(run, "glimmo-modplay", "--out");
        EXPECT_EQ(Read(song), image) << "the module was overwritten";
    }
    // A bad command line: the reason, then where the options are shown.
    ProgramResult empty = Modplay({song, "--out", ""});
    EXPECT_EQ(empty.exitCode, 2) << empty.err;
    EXPECT_EQ(empty.err.rfind("glimmo-modplay: --out needs", 0), 0u) << empty.err;

    // "-" is standard input, read whole: the same file as from its name.
    const std::string fromName = ScratchPath("glimmo_modplay_name.wav");
    const std::string fromInput = ScratchPath("glimmo_modplay_input.wav");
    ASSERT_EQ(Modplay({song, "--out", fromName}).exitCode, 0);
    ProgramSetup input;
    input.stdinFile = song;
    ProgramResult dash = Modplay({"-", "--out", fromInput}, input);
    EXPECT_EQ(dash.exitCode, 0) << dash.err;
    EXPECT_EQ(Read(fromInput), Read(fromName));

    // A named pipe is said to be one, and not waited on.
    const std::string pipe = ScratchPath("glimmo_modplay_pipe");
    std::remove(pipe.c_str());
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    ProgramSetup quick;
    quick.timeoutSeconds = 10;
    ProgramResult fifo = Modplay({pipe, "--out", fromName}, quick);
    EXPECT_EQ(fifo.exitCode, 2) << fifo.err;
    ExpectOneLineAbout(fifo, "glimmo-modplay", "pipe");

    // No audio device: one line, in the command's own name.
    ProgramSetup silent;
    silent.env = {{"SDL_AUDIODRIVER", "nosuchdriver"}};
    ProgramResult live = Modplay({song}, silent);
    EXPECT_EQ(live.exitCode, 1) << live.err;
    ExpectOneLineAbout(live, "glimmo-modplay", "audio device");
    for (const std::string& f : {other, fromName, fromInput, pipe}) std::remove(f.c_str());
}

TEST(ModplayCommand, ARenderThatNeverEndsStopsAfterAnHour) {
    if (!std::filesystem::exists(Command)) GTEST_SKIP() << "glimmo-modplay is not built";
    // Row 0 jumps to order 0: the song goes round for ever.
    ModuleBuilder b;
    TestSample s;
    s.bytes.assign(64, 30);
    b.Sample(1, s).Cell(0, 0, 0, 1, 428, 0xB, 0);
    const std::string song = Write("glimmo_modplay_round.mod", b.Build());
    const std::string wav = ScratchPath("glimmo_modplay_round.wav");
    ProgramResult run = Modplay({song, "--out", wav, "--rate", "11025", "--mono"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    ExpectOneLineAbout(run, "glimmo-modplay", "60 minutes");
    std::vector<uint8_t> file = Read(wav);
    ASSERT_GT(file.size(), 44u);
    EXPECT_EQ(U32At(file, 40), file.size() - 44);
    EXPECT_NEAR(double(file.size() - 44) / 11025, 3600, 1);
    std::remove(wav.c_str());
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
