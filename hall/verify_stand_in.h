// A stand-in for the run layer's check of a replay until it lands: the same interface,
// answered by the full headless replay run. Goes when run/verify.h is here.
#pragma once
#include <chrono>
#include <cstdint>
#include <string>

enum class Verdict { Holds, DoesNotHold, NotAReplay, OtherGameVersion, TooLong };
struct VerifyResult {
    Verdict verdict = Verdict::NotAReplay;
    std::string why;
    int32_t score = 0;
    int level = 0;
    uint64_t passes = 0;
    uint64_t gameMs = 0;
    int gameVersion = 0;
    bool demo = false;
    bool playedToEnd = false;
};
struct VerifyLimits {
    std::chrono::milliseconds timeLimit{0};
};
VerifyResult VerifyReplay(std::string text, const VerifyLimits& limits = {});
