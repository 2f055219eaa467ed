#include "pictures/image_list_file.h"
#include "base/text.h"

#include "base/byte_reader.h"
#include "pictures/bitmap_codec.h"
#include "pictures/colour_names.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <limits>
#include <system_error>
#include <thread>

namespace kestrova {

namespace {

enum Tag : uint8_t {
    kNull = 0x00,
    kList = 0x01,
    kInt8 = 0x02,
    kInt16 = 0x03,
    kInt32 = 0x04,
    kExtended = 0x05,
    kString = 0x06,
    kIdent = 0x07,
    kFalse = 0x08,
    kTrue = 0x09,
    kBinary = 0x0A,
    kSet = 0x0B,
    kLString = 0x0C,
    kNil = 0x0D,
    kCollection = 0x0E,
    kSingle = 0x0F,
    kCurrency = 0x10,
    kDate = 0x11,
    kWString = 0x12,
    kInt64 = 0x13,
    kUtf8String = 0x14,
    kDouble = 0x15,
};

constexpr const char* kResourceName = "DELPHIXPICTURECOLLECTION";
constexpr uint16_t kRawData = 10;
constexpr uint16_t kMemoryFlags = 0x1030;
constexpr const char* kComponentClass = "TPictureCollectionComponent";
// Deeper than any stream this program writes; keeps hostile nesting off the stack.
constexpr int kMaxNesting = 32;

std::string ShortString(ByteReader& r) {
    return r.String(r.U8());
}

bool IsIntegerTag(uint8_t tag) {
    return tag == kInt8 || tag == kInt16 || tag == kInt32;
}

int32_t IntegerValue(ByteReader& r, uint8_t tag) {
    switch (tag) {
    case kInt8:
        return r.I8();
    case kInt16:
        return r.I16();
    case kInt32:
        return r.I32();
    default:
        ThrowInvalidStream();
    }
}

std::string StringValue(ByteReader& r, uint8_t tag) {
    switch (tag) {
    case kString:
        return ShortString(r);
    case kLString:
        return r.String(r.U32());
    default:
        ThrowInvalidStream();
    }
}

bool BoolValue(uint8_t tag) {
    if (tag != kTrue && tag != kFalse) {
        ThrowInvalidStream();
    }
    return tag == kTrue;
}

// Passes over a value this program does not use, so that files with extra properties load.
void SkipValue(ByteReader& r, uint8_t tag, int depth) {
    if (depth > kMaxNesting) {
        ThrowInvalidStream();
    }
    switch (tag) {
    case kNull:
    case kFalse:
    case kTrue:
    case kNil:
        return;
    case kList:
        while (r.PeekU8() != 0) {
            SkipValue(r, r.U8(), depth + 1);
        }
        r.U8();
        return;
    case kInt8:
        r.Skip(1);
        return;
    case kInt16:
        r.Skip(2);
        return;
    case kInt32:
    case kSingle:
        r.Skip(4);
        return;
    case kCurrency:
    case kDate:
    case kInt64:
    case kDouble:
        r.Skip(8);
        return;
    case kExtended:
        r.Skip(10);
        return;
    case kString:
    case kIdent:
        r.Skip(r.U8());
        return;
    case kBinary:
    case kLString:
    case kUtf8String:
        r.Skip(r.U32());
        return;
    case kWString:
        r.Skip(size_t{r.U32()} * 2);
        return;
    case kSet:
        // Element names as short strings, ended by an empty one.
        for (uint8_t length = r.U8(); length != 0; length = r.U8()) {
            r.Skip(length);
        }
        return;
    case kCollection:
        while (r.PeekU8() != 0) {
            if (IsIntegerTag(r.PeekU8())) {
                IntegerValue(r, r.U8());
            }
            if (r.U8() != kList) {
                ThrowInvalidStream();
            }
            while (r.PeekU8() != 0) {
                ShortString(r);
                SkipValue(r, r.U8(), depth + 1);
            }
            r.U8();
        }
        r.U8();
        return;
    default:
        ThrowInvalidStream();
    }
}

// A picture whose decoding waits until the whole file is read, so that the pictures of a file
// are decoded side by side.
struct PendingPicture {
    PictureCollectionItem* item = nullptr;
    std::span<const uint8_t> data;
    bool packed = false;
};

Picture Decode(const PendingPicture& p) {
    return p.packed ? DecodePackedDib(p.data) : DecodeBitmapFile(p.data);
}

// With `entry`, only the picture's header is read (and checked) into it: nothing is decoded.
// With `pending`, the picture is left there to be decoded later.
void ReadPictureData(std::span<const uint8_t> block, PictureCollectionItem& item,
                     ImageListEntry* entry, std::vector<PendingPicture>* pending) {
    ByteReader r(block);
    if (r.AtEnd()) {
        return; // no graphic
    }
    const std::string cls = ShortString(r);
    if (cls.empty()) {
        return;
    }
    Picture picture;
    BitmapInfo info;
    std::span<const uint8_t> data;
    bool packed = false;
    if (EqualsIgnoreCase(cls, "TBitmap")) {
        data = r.Bytes(r.U32());
        item.PictureClass = "TBitmap";
    } else if (EqualsIgnoreCase(cls, "TDIB")) {
        data = r.Bytes(r.Remaining());
        packed = true;
        item.PictureClass = "TDIB";
    } else {
        ThrowInvalidStream();
    }
    if (entry) {
        if (!data.empty()) {
            info = packed ? InspectPackedDib(data) : InspectBitmapFile(data);
        }
        entry->pictureClass = item.PictureClass;
        entry->picture = info;
        return;
    }
    if (!data.empty() && pending) {
        pending->push_back({&item, data, packed});
        return;
    }
    if (!data.empty()) {
        picture = packed ? DecodePackedDib(data) : DecodeBitmapFile(data);
    }
    item.SetPicture(std::move(picture));
}

void ReadItemProperty(ByteReader& r, const std::string& name, PictureCollectionItem& item,
                      ImageListEntry* entry, std::vector<PendingPicture>* pending) {
    const uint8_t tag = r.U8();
    if (EqualsIgnoreCase(name, "Name")) {
        item.Name = StringValue(r, tag);
    } else if (EqualsIgnoreCase(name, "PatternHeight")) {
        item.PatternHeight = IntegerValue(r, tag);
    } else if (EqualsIgnoreCase(name, "PatternWidth")) {
        item.PatternWidth = IntegerValue(r, tag);
    } else if (EqualsIgnoreCase(name, "SkipHeight")) {
        item.SkipHeight = IntegerValue(r, tag);
    } else if (EqualsIgnoreCase(name, "SkipWidth")) {
        item.SkipWidth = IntegerValue(r, tag);
    } else if (EqualsIgnoreCase(name, "SystemMemory")) {
        item.SystemMemory = BoolValue(tag);
    } else if (EqualsIgnoreCase(name, "Transparent")) {
        item.Transparent = BoolValue(tag);
    } else if (EqualsIgnoreCase(name, "TransparentColor")) {
        if (tag == kIdent) {
            const auto colour = ColourFromIdent(ShortString(r));
            if (!colour) {
                ThrowInvalidStream();
            }
            item.TransparentColor = *colour;
        } else {
            item.TransparentColor = ResolveColour(IntegerValue(r, tag));
        }
    } else if (EqualsIgnoreCase(name, "Picture.Data")) {
        if (tag != kBinary) {
            ThrowInvalidStream();
        }
        ReadPictureData(r.Bytes(r.U32()), item, entry, pending);
    } else {
        SkipValue(r, tag, 0);
    }
}

void ReadCollection(ByteReader& r, std::vector<std::unique_ptr<PictureCollectionItem>>& items,
                    std::vector<ImageListEntry>* entries, std::vector<PendingPicture>* pending) {
    // A second collection in the stream replaces the first: its pictures, waiting to be
    // decoded, are decoded now (a fault among them is met first) and forgotten with their items.
    if (pending) {
        for (const PendingPicture& p : *pending) {
            Decode(p);
        }
        pending->clear();
    }
    items.clear();
    if (entries) {
        entries->clear();
    }
    while (r.PeekU8() != 0) {
        if (IsIntegerTag(r.PeekU8())) {
            IntegerValue(r, r.U8()); // an item's order value; items load in file order
        }
        if (r.U8() != kList) {
            ThrowInvalidStream();
        }
        auto item = std::make_unique<PictureCollectionItem>();
        ImageListEntry* entry = nullptr;
        if (entries) {
            entry = &entries->emplace_back();
        }
        while (r.PeekU8() != 0) {
            const std::string name = ShortString(r);
            ReadItemProperty(r, name, *item, entry, pending);
        }
        r.U8();
        if (entry) {
            entry->name = item->Name;
            entry->patternWidth = item->PatternWidth;
            entry->patternHeight = item->PatternHeight;
            entry->skipWidth = item->SkipWidth;
            entry->skipHeight = item->SkipHeight;
            entry->systemMemory = item->SystemMemory;
            entry->transparent = item->Transparent;
            entry->transparentColor = item->TransparentColor;
        }
        items.push_back(std::move(item));
    }
    r.U8();
}

void WriteShortString(ByteWriter& w, const std::string& s) {
    w.U8(static_cast<uint8_t>(s.size()));
    w.String(s);
}

void WriteInteger(ByteWriter& w, int32_t v) {
    if (v >= std::numeric_limits<int8_t>::min() && v <= std::numeric_limits<int8_t>::max()) {
        w.U8(kInt8);
        w.U8(static_cast<uint8_t>(v));
    } else if (v >= std::numeric_limits<int16_t>::min() &&
               v <= std::numeric_limits<int16_t>::max()) {
        w.U8(kInt16);
        w.U16(static_cast<uint16_t>(v));
    } else {
        w.U8(kInt32);
        w.I32(v);
    }
}

void WriteString(ByteWriter& w, const std::string& s) {
    if (s.size() <= 255) {
        w.U8(kString);
        WriteShortString(w, s);
    } else {
        w.U8(kLString);
        w.U32(static_cast<uint32_t>(s.size()));
        w.String(s);
    }
}

void WriteBool(ByteWriter& w, bool v) {
    w.U8(v ? kTrue : kFalse);
}

void WritePictureData(ByteWriter& w, const PictureCollectionItem& item) {
    const Picture& picture = item.GetPicture();
    const BitmapWriteOptions options = StoredOptions(picture);
    ByteWriter block;
    if (EqualsIgnoreCase(item.PictureClass, "TDIB")) {
        WriteShortString(block, "TDIB");
        block.Bytes(EncodePackedDib(picture, options));
    } else {
        WriteShortString(block, "TBitmap");
        const std::vector<uint8_t> file = EncodeBitmapFile(picture, options);
        block.U32(static_cast<uint32_t>(file.size()));
        block.Bytes(file);
    }
    w.U8(kBinary);
    w.U32(static_cast<uint32_t>(block.Size()));
    w.Bytes(block.Data());
}

void WriteItem(ByteWriter& w, const PictureCollectionItem& item) {
    w.U8(kList);
    WriteShortString(w, "Name");
    WriteString(w, item.Name);
    WriteShortString(w, "PatternHeight");
    WriteInteger(w, item.PatternHeight);
    WriteShortString(w, "PatternWidth");
    WriteInteger(w, item.PatternWidth);
    // An item without a picture has nothing to store; reading it back leaves it empty again.
    if (item.HasPicture()) {
        WriteShortString(w, "Picture.Data");
        WritePictureData(w, item);
    }
    if (item.SkipHeight != 0) {
        WriteShortString(w, "SkipHeight");
        WriteInteger(w, item.SkipHeight);
    }
    if (item.SkipWidth != 0) {
        WriteShortString(w, "SkipWidth");
        WriteInteger(w, item.SkipWidth);
    }
    WriteShortString(w, "SystemMemory");
    WriteBool(w, item.SystemMemory);
    WriteShortString(w, "Transparent");
    WriteBool(w, item.Transparent);
    WriteShortString(w, "TransparentColor");
    if (const auto ident = ColourToIdent(item.TransparentColor)) {
        w.U8(kIdent);
        WriteShortString(w, *ident);
    } else {
        WriteInteger(w, static_cast<int32_t>(item.TransparentColor));
    }
    w.U8(0);
}

} // namespace

namespace {

std::vector<std::unique_ptr<PictureCollectionItem>>
ReadStream(std::span<const uint8_t> bytes, std::vector<ImageListEntry>* entries,
           std::vector<PendingPicture>* pending) {
    ByteReader r(bytes);
    if (r.U8() != 0xFF || r.U16() != kRawData) {
        ThrowInvalidStream();
    }
    while (r.U8() != 0) {
        // resource name
    }
    r.U16(); // memory flags
    r.U32(); // stream length
    const auto signature = r.Bytes(4);
    if (std::string_view(reinterpret_cast<const char*>(signature.data()), 4) != "TPF0") {
        ThrowInvalidStream();
    }
    // Inherited / inline flags byte before the class name, with a child position when flagged.
    if ((r.PeekU8() & 0xF0) == 0xF0) {
        const uint8_t flags = r.U8();
        if (flags & 0x02) {
            IntegerValue(r, r.U8());
        }
    }
    if (!EqualsIgnoreCase(ShortString(r), kComponentClass)) {
        ThrowInvalidStream();
    }
    ShortString(r); // object name
    std::vector<std::unique_ptr<PictureCollectionItem>> items;
    while (r.PeekU8() != 0) {
        const std::string property = ShortString(r);
        const uint8_t tag = r.U8();
        if (EqualsIgnoreCase(property, "List")) {
            if (tag != kCollection) {
                ThrowInvalidStream();
            }
            ReadCollection(r, items, entries, pending);
        } else {
            SkipValue(r, tag, 0);
        }
    }
    r.U8();
    if (r.U8() != 0) {
        ThrowInvalidStream(); // the component has no children
    }
    return items;
}

} // namespace

namespace {

// Decodes the pictures on up to four threads and gives each to its item. A picture that cannot
// be decoded fails the whole file with the fault of the first such picture in file order, as a
// reading one picture after the other would.
void DecodeSideBySide(std::vector<PendingPicture>& pending) {
    std::vector<Picture> pictures(pending.size());
    std::vector<std::exception_ptr> faults(pending.size());
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t i = next++; i < pending.size(); i = next++) {
            try {
                pictures[i] = Decode(pending[i]);
            } catch (...) {
                faults[i] = std::current_exception();
            }
        }
    };
    const size_t helpers =
        std::min<size_t>({std::max(1u, std::thread::hardware_concurrency()), 4, pending.size()});
    std::vector<std::thread> threads;
    for (size_t t = 1; t < helpers; ++t) {
        try {
            threads.emplace_back(work);
        } catch (const std::system_error&) {
            break; // no thread to be had: the calling one does the rest
        }
    }
    work();
    for (std::thread& t : threads) {
        t.join();
    }
    for (size_t i = 0; i < pending.size(); ++i) {
        if (faults[i]) {
            std::rethrow_exception(faults[i]);
        }
        pending[i].item->SetPicture(std::move(pictures[i]));
    }
}

} // namespace

std::vector<std::unique_ptr<PictureCollectionItem>> ReadImageList(std::span<const uint8_t> bytes) {
    std::vector<PendingPicture> pending;
    std::vector<std::unique_ptr<PictureCollectionItem>> items;
    try {
        items = ReadStream(bytes, nullptr, &pending);
    } catch (...) {
        // A picture before the fault that cannot be decoded is the fault met first.
        for (const PendingPicture& p : pending) {
            Decode(p);
        }
        throw;
    }
    DecodeSideBySide(pending);
    return items;
}

std::vector<ImageListEntry> ReadImageListHeaders(std::span<const uint8_t> bytes) {
    std::vector<ImageListEntry> entries;
    ReadStream(bytes, &entries, nullptr);
    return entries;
}

int64_t DecodedPixels(const std::vector<ImageListEntry>& entries) {
    int64_t total = 0;
    for (const ImageListEntry& e : entries) {
        total += e.picture.Pixels();
    }
    return total;
}

std::vector<uint8_t> WriteImageList(const PictureCollection& collection) {
    ByteWriter w;
    w.U8(0xFF);
    w.U16(kRawData);
    w.String(kResourceName);
    w.U8(0);
    w.U16(kMemoryFlags);
    const size_t lengthAt = w.Size();
    w.U32(0);
    const size_t start = w.Size();
    w.String("TPF0");
    WriteShortString(w, kComponentClass);
    WriteShortString(w, "");
    WriteShortString(w, "List");
    w.U8(kCollection);
    for (int i = 0; i < collection.Count(); ++i) {
        WriteItem(w, collection.Items(i));
    }
    w.U8(0); // end of the collection
    w.U8(0); // end of the component's properties
    w.U8(0); // end of its children
    w.PatchU32(lengthAt, static_cast<uint32_t>(w.Size() - start));
    return w.Take();
}

} // namespace kestrova
