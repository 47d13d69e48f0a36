// Golden digests: FNV-1a over bytes, written as a small text file that a reviewer can read.
#include "tests/golden/golden_digest.h"
#include <set>
#include <sstream>
#include "tests/support/state_log_reader.h"

uint64_t Digest(const std::string& bytes) {
    uint64_t h = 0xCBF29CE484222325ull;
    for (unsigned char c : bytes) h = (h ^ c) * 0x100000001B3ull;
    return h;
}

std::string Hex(uint64_t value, int digits) {
    static const char HexDigits[] = "0123456789abcdef";
    std::string out(size_t(digits), '0');
    for (int i = digits - 1; i >= 0; --i, value >>= 4) out[size_t(i)] = HexDigits[value & 15];
    return out;
}

GoldenDigests GoldenDigests::Of(const std::map<uint64_t, std::string>& screenshotBytes, const std::string& audioBytes,
                                const std::vector<std::string>& stateLines) {
    GoldenDigests d;
    for (const auto& [pass, bytes] : screenshotBytes) d.screenshots[pass] = Hex(Digest(bytes));
    d.audio = Hex(Digest(audioBytes));
    std::string all;
    std::map<std::string, std::string> series;
    for (const std::string& line : stateLines) {
        all += line + "\n";
        d.passes.push_back(Hex(Digest(line) >> 32, 8));
        for (const auto& [name, value] : ReadStateLine(line)) series[name] += value + "\n";
    }
    d.stateLog = Hex(Digest(all));
    for (const auto& [name, values] : series) d.fields[name] = Hex(Digest(values));
    return d;
}

std::string GoldenDigests::Text() const {
    std::ostringstream out;
    out << "glimmo golden run 1\n";
    for (const auto& [pass, digest] : screenshots) out << "screenshot " << pass << " " << digest << "\n";
    out << "audio " << audio << "\n";
    out << "state " << stateLog << " " << passes.size() << "\n";
    for (const auto& [name, digest] : fields) out << "field " << name << " " << digest << "\n";
    for (size_t i = 0; i < passes.size(); ++i)
        out << passes[i] << ((i % 8 == 7 || i + 1 == passes.size()) ? "\n" : " ");
    return out.str();
}

bool GoldenDigests::Read(const std::string& text) {
    *this = GoldenDigests{};
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || line != "glimmo golden run 1") return false;
    size_t passCount = 0;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string word;
        words >> word;
        if (word == "screenshot") {
            uint64_t pass = 0;
            words >> pass >> screenshots[pass];
        } else if (word == "audio") {
            words >> audio;
        } else if (word == "state") {
            words >> stateLog >> passCount;
        } else if (word == "field") {
            std::string name;
            words >> name >> fields[name];
        } else {
            for (std::istringstream digests(line); digests >> word;) passes.push_back(word);
        }
    }
    return passes.size() == passCount;
}

std::string CompareGolden(const GoldenDigests& expected, const GoldenDigests& actual,
                          const std::vector<std::string>& actualLines) {
    std::ostringstream out;
    if (actual.stateLog != expected.stateLog) {
        size_t first = 0;
        while (first < expected.passes.size() && first < actual.passes.size() &&
               expected.passes[first] == actual.passes[first])
            ++first;
        out << "state log differs from pass " << first + 1 << " (" << actual.passes.size() << " passes, "
            << expected.passes.size() << " expected)";
        std::set<std::string> differing;
        for (const auto& [name, digest] : expected.fields) {
            auto it = actual.fields.find(name);
            if (it == actual.fields.end() || it->second != digest) differing.insert(name);
        }
        for (const auto& [name, digest] : actual.fields)
            if (!expected.fields.count(name)) differing.insert(name);
        out << "; fields that differ in the run:";
        for (const std::string& name : differing) out << " " << name;
        if (differing.empty()) out << " none (the lines are in another order)";
        out << "\n";
        if (first < actualLines.size()) {
            out << "  pass " << first + 1 << " now reads:";
            for (const auto& [name, value] : ReadStateLine(actualLines[first]))
                if (differing.count(name)) out << " " << name << "=" << value;
            out << "\n  " << actualLines[first] << "\n";
        }
    }
    for (const auto& [pass, digest] : expected.screenshots) {
        auto it = actual.screenshots.find(pass);
        if (it == actual.screenshots.end() || it->second != digest)
            out << "screenshot of pass " << pass << " differs\n";
    }
    if (actual.audio != expected.audio) out << "audio differs\n";
    return out.str();
}
