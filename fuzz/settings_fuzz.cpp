// Fuzz target of the settings text: any bytes parse to some tree, and that tree written
// out and read back is the same tree, read whole (a saved file is never taken for corrupt).
#include <cstdint>
#include <cstdlib>
#include <string>
#include "platform/registry_store.h"

namespace {
bool HasNul(const RegistryTree& tree) {
    for (const auto& [key, values] : tree) {
        if (key.find('\0') != std::string::npos) return true;
        for (const auto& [name, value] : values)
            if (name.find('\0') != std::string::npos) return true;
    }
    return false;
}

bool Same(const RegistryTree& a, const RegistryTree& b) {
    if (a.size() != b.size()) return false;
    for (auto i = a.begin(), j = b.begin(); i != a.end(); ++i, ++j) {
        if (i->first != j->first || i->second.size() != j->second.size()) return false;
        for (auto v = i->second.begin(), w = j->second.begin(); v != i->second.end(); ++v, ++w)
            if (v->first != w->first || v->second.type != w->second.type || v->second.data != w->second.data)
                return false;
    }
    return true;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    bool complete = false;
    RegistryTree tree = ParseRegistryText(text, &complete);
    std::string written = FormatRegistryText(tree);
    bool again = false;
    RegistryTree reread = ParseRegistryText(written, &again);
    if (!Same(tree, reread)) std::abort();
    if (!again && !HasNul(tree)) std::abort();
    if (FormatRegistryText(reread) != written) std::abort();  // writing is a fixed point
    return 0;
}
