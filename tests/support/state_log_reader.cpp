// A reader for exactly the JSON the state log writes: objects, arrays, numbers and
// plain strings, flattened into dotted names.
#include "tests/support/state_log_reader.h"
#include <cstdlib>
#include <fstream>

namespace {

struct Reader {
    const std::string& text;
    size_t at = 0;
    StateFields fields;

    void Value(const std::string& name) {
        if (at >= text.size()) return;
        if (text[at] == '{') {
            ++at;
            while (at < text.size() && text[at] != '}') {
                if (text[at] == ',') ++at;
                const size_t open = text.find('"', at), close = text.find('"', open + 1);
                if (open == std::string::npos || close == std::string::npos) return;
                const std::string key = text.substr(open + 1, close - open - 1);
                at = close + 2;  // past the quote and the colon
                Value(name.empty() ? key : name + "." + key);
            }
            ++at;
        } else if (text[at] == '[') {
            ++at;
            for (int index = 0; at < text.size() && text[at] != ']'; ++index) {
                if (text[at] == ',') ++at;
                Value(name + "." + std::to_string(index));
            }
            ++at;
        } else if (text[at] == '"') {
            const size_t close = text.find('"', at + 1);
            fields.emplace_back(name, text.substr(at + 1, close - at - 1));
            at = close == std::string::npos ? text.size() : close + 1;
        } else {
            const size_t end = text.find_first_of(",}]", at);
            fields.emplace_back(name, text.substr(at, end - at));
            at = end == std::string::npos ? text.size() : end;
        }
    }
};

}  // namespace

StateFields ReadStateLine(const std::string& line) {
    Reader reader{line};
    reader.Value("");
    return std::move(reader.fields);
}

int64_t StateValue(const std::string& line, const std::string& name, int64_t missing) {
    for (const auto& [key, value] : ReadStateLine(line))
        if (key == name) return std::strtoll(value.c_str(), nullptr, 10);
    return missing;
}

std::string StateText(const std::string& line, const std::string& name) {
    for (const auto& [key, value] : ReadStateLine(line))
        if (key == name) return value;
    return "";
}

std::vector<std::string> StateLogLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}
