// Image-list files come from the disc: any bytes must load or fail with the reader's errors, and
// whatever loads must survive being written and read again. The header pass that budgets a file
// must describe exactly what decoding then makes, and no file may decode past its budget.
#include "base/error.h"
#include "disc/disc_limits.h"
#include "pictures/image_list_file.h"
#include "pictures/picture_collection.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kestrova::PictureCollection collection;
    collection.SetSurfaceInitialized(true);
    std::vector<kestrova::ImageListEntry> entries;
    bool headersRead = false;
    try {
        entries = kestrova::ReadImageListHeaders({data, size});
        headersRead = true;
        collection.LoadFromBytes({data, size});
    } catch (const kestrova::Error&) {
        return 0;
    }
    if (!headersRead || entries.size() != static_cast<size_t>(collection.Count()) ||
        kestrova::DecodedPixels(entries) > kestrova::kMaxImageListPixels) {
        __builtin_trap();
    }
    for (int i = 0; i < collection.Count(); ++i) {
        const kestrova::Picture& p = collection.Items(i).GetPicture();
        const kestrova::BitmapInfo& h = entries[static_cast<size_t>(i)].picture;
        if (p.width != h.width || p.height != h.height || p.bitDepth != h.bitDepth ||
            p.rle != h.rle || entries[static_cast<size_t>(i)].name != collection.Items(i).Name) {
            __builtin_trap();
        }
    }
    // Big pictures (RLE can claim them from a few bytes) are not written back, to keep the
    // fuzzer fast.
    size_t pixels = 0;
    for (int i = 0; i < collection.Count(); ++i) {
        pixels += collection.Items(i).GetPicture().pixels.size();
    }
    if (pixels > (size_t{1} << 16)) {
        return 0;
    }
    kestrova::PictureCollection again;
    again.LoadFromBytes(collection.SaveToBytes());
    if (again.Count() != collection.Count()) {
        __builtin_trap();
    }
    for (int i = 0; i < collection.Count(); ++i) {
        const auto& a = collection.Items(i);
        const auto& b = again.Items(i);
        a.PatternCount();
        a.Pattern(0);
        if (a.Name != b.Name || a.TransparentColor != b.TransparentColor ||
            a.HasPicture() != b.HasPicture()) {
            __builtin_trap();
        }
        // Masks that cannot be written are replaced, so only other pictures compare exactly.
        if (!a.GetPicture().bitfields && a.GetPicture().pixels != b.GetPicture().pixels) {
            __builtin_trap();
        }
    }
    collection.BuildColourTable();
    return 0;
}
