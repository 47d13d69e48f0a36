// Small modules built in memory for the module player's tests, and a player that
// drives one ModuleVoice frame by frame without a mixer or an audio device.
#pragma once
#include <atomic>
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/byte_order.h"
#include "sound/module.h"
#include "sound/module_tables.h"
#include "sound/module_voice.h"

struct TestSample {
    std::vector<int8_t> bytes;  // an even count
    uint32_t volume = 64;
    uint32_t finetune = 0;
    uint32_t loopStartWords = 0;
    uint32_t loopLengthWords = 0;
};

class ModuleBuilder {
public:
    explicit ModuleBuilder(uint32_t patterns = 1) : image_(1084 + patterns * 1024, 0) {
        // The format tag the player never reads, so other players take the file for what it is.
        image_[1080] = 'M', image_[1081] = '.', image_[1082] = 'K', image_[1083] = '.';
        Song({0});
        Restart(127);
    }
    ModuleBuilder& Song(std::vector<uint8_t> orders) {
        image_[950] = uint8_t(orders.size());
        for (size_t i = 0; i < orders.size() && i < 128; ++i) image_[952 + i] = orders[i];
        return *this;
    }
    ModuleBuilder& SongLengthByte(uint8_t length) {
        image_[950] = length;
        return *this;
    }
    ModuleBuilder& Order(size_t at, uint8_t pattern) {
        image_[952 + at] = pattern;
        return *this;
    }
    ModuleBuilder& Restart(uint8_t restart) {
        image_[951] = restart;
        return *this;
    }
    // A cell; the period is as written in the file.
    ModuleBuilder& Cell(uint32_t pattern, uint32_t row, uint32_t channel, uint32_t sample, uint32_t period,
                        uint32_t effect = 0, uint32_t parameter = 0) {
        size_t at = 1084 + pattern * 1024 + row * 16 + channel * 4;
        image_[at] = uint8_t((sample & 0xF0) | ((period >> 8) & 0x0F));
        image_[at + 1] = uint8_t(period & 0xFF);
        image_[at + 2] = uint8_t(((sample & 0x0F) << 4) | (effect & 0x0F));
        image_[at + 3] = uint8_t(parameter);
        return *this;
    }
    ModuleBuilder& Sample(uint32_t number, TestSample sample) {
        if (samples_.size() <= number) samples_.resize(number + 1);
        samples_[number] = std::move(sample);
        return *this;
    }
    // A header byte written as it stands (for nonsense headers).
    ModuleBuilder& HeaderByte(uint32_t sample, uint32_t offset, uint8_t value) {
        raw_.push_back({20 + 30 * (sample - 1) + offset, value});
        return *this;
    }
    std::vector<uint8_t> Build() const {
        std::vector<uint8_t> image = image_;
        for (uint32_t i = 1; i < samples_.size() && i <= 31; ++i) {
            const TestSample& s = samples_[i];
            if (s.bytes.empty()) continue;
            size_t h = 20 + 30 * (i - 1);
            uint32_t words = uint32_t(s.bytes.size() / 2);
            WriteU16BE(&image[h + 22], words);
            image[h + 24] = uint8_t(s.finetune);
            image[h + 25] = uint8_t(s.volume);
            WriteU16BE(&image[h + 26], s.loopStartWords);
            WriteU16BE(&image[h + 28], s.loopLengthWords);
            for (int8_t b : s.bytes) image.push_back(uint8_t(b));
        }
        for (auto [at, value] : raw_) image[at] = value;
        return image;
    }

private:
    std::vector<uint8_t> image_;
    std::vector<TestSample> samples_;
    std::vector<std::pair<size_t, uint8_t>> raw_;
};

// A constant sample: every byte the same, long enough for a whole test.
inline TestSample Flat(int8_t value, size_t bytes = 60000, uint32_t volume = 64) {
    TestSample s;
    s.bytes.assign(bytes, value);
    s.volume = volume;
    return s;
}

// Rows last 2653 frames at 22050 Hz with speed 6; tick k of a row starts 442 k frames in.
constexpr uint32_t RowFrames = 2653;
constexpr uint32_t TickFrames = 442;

class TestPlayer {
public:
    explicit TestPlayer(const std::vector<uint8_t>& image, uint32_t rate = 22050, bool loop = false, bool stereo = true,
                        int32_t separation = 255) {
        module.LoadFromMemory(image.data(), image.size());
        module.SetLoop(loop);
        module.SetPan(separation);
        voice.masterVolume = &master;
        voice.stereo = stereo ? 1 : 0;
        voice.Start(module, StepTableFor(rate), rate);
    }
    // Runs frames up to and including frame index `last` (the first frame is index 0).
    void RunThrough(uint64_t last) {
        while (frames <= last) Frame();
    }
    std::pair<int32_t, int32_t> Frame() {
        int32_t left = 0, right = 0;
        if (!voice.stopped.load()) voice.MixFrame(left, right);
        ++frames;
        return {left, right};
    }
    // Frames until the voice stops (at most `limit`).
    uint64_t RunToEnd(uint64_t limit) {
        while (!voice.stopped.load() && frames < limit) Frame();
        return frames;
    }

    std::atomic<uint32_t> master{64};
    Module module;
    ModuleVoice voice;
    uint64_t frames = 0;
};
