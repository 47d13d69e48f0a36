// What a golden run keeps of its outputs: digests of the screenshots, the audio and the
// state log, a digest of every pass's line and of every field's values over the run.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

uint64_t Digest(const std::string& bytes);
std::string Hex(uint64_t value, int digits = 16);

struct GoldenDigests {
    std::map<uint64_t, std::string> screenshots;  // by pass
    std::string audio;
    std::string stateLog;
    std::vector<std::string> passes;            // one short digest per line, in order
    std::map<std::string, std::string> fields;  // each field's values over all passes

    // Reduces the outputs of a run.
    static GoldenDigests Of(const std::map<uint64_t, std::string>& screenshotBytes, const std::string& audioBytes,
                            const std::vector<std::string>& stateLines);
    std::string Text() const;
    // Reads what Text wrote; false when the text is not a golden file.
    bool Read(const std::string& text);
};

// Where `actual` departs from `expected`, in words: the first differing pass and the
// fields whose values differ, then the screenshots and the audio. Empty when they agree.
std::string CompareGolden(const GoldenDigests& expected, const GoldenDigests& actual,
                          const std::vector<std::string>& actualLines);
