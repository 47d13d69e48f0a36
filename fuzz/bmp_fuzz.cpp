// Fuzz target of the bitmap reader: any bytes given as a BITMAP resource must decode to
// a whole picture or to nothing, and reading every decoded pixel must stay in bounds.
#include <cstdint>
#include <cstdlib>
#include "platform/bmp_decoder.h"
#include "platform/resource_entry.h"
#include "platform/resources.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DecodedBitmap* direct = DecodeBmp(data, size);

    // The same bytes through the resource calls the art set uses.
    const ResourceEntry entry{"BITMAP", 4242, data, size};
    SetExtraResources(&entry, 1);
    HBITMAP loaded = LoadBitmapW(ProgramInstance(), MAKEINTRESOURCEW(4242));
    SetExtraResources(nullptr, 0);

    if (!direct != !loaded) std::abort();  // the two roads must agree
    if (direct) {
        if (direct->width < 1 || direct->height < 1 || direct->width != loaded->width ||
            direct->height != loaded->height)
            std::abort();
        size_t count = size_t(direct->width) * size_t(direct->height);
        for (size_t i = 0; i < count; ++i) {
            // Pixels are 0x00BBGGRR: the top byte is never set.
            if ((direct->pixels[i] >> 24) != 0 || direct->pixels[i] != loaded->pixels[i]) std::abort();
        }
    }
    FreeDecodedBitmap(direct);
    DeleteObject(loaded);
    return 0;
}
