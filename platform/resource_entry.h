// One embedded resource: its type name ("BITMAP", "WAVE", "ICON", "STRING"), number and bytes.
#pragma once
#include <cstddef>

struct ResourceEntry {
    const char* type;
    unsigned id;
    const unsigned char* data;
    size_t size;
};

// The resources embedded into the program at build time (a generated source file).
extern const ResourceEntry EmbeddedResources[];
extern const size_t EmbeddedResourceCount;

// Extra resources searched before the embedded ones (tests use this for crafted files).
void SetExtraResources(const ResourceEntry* entries, size_t count);
