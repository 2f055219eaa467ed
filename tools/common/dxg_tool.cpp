#include "common/dxg_tool.h"

#include "base/error.h"
#include "base/safe_file_writer.h"
#include "base/terminal_text.h"
#include "base/text.h"
#include "disc/file_reader.h"
#include "pictures/bitmap_codec.h"
#include "pictures/colour_names.h"
#include "pictures/image_list_file.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include <bit>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <ostream>
#include <sstream>

namespace kestrova {

namespace {

namespace fs = std::filesystem;

std::span<const uint8_t> AsBytes(const QByteArray& bytes) {
    return {reinterpret_cast<const uint8_t*>(bytes.constData()),
            static_cast<std::size_t>(bytes.size())};
}

constexpr const char* kUsage =
    "Usage: kestrova-dxg COMMAND ...\n"
    "Lists, extracts and packs the image-list files (.dxg) of a disc.\n"
    "\n"
    "  list FILE            one line per item: index, name, size, pattern size and gaps,\n"
    "                       transparency and its colour, system memory, form and bit depth\n"
    "  extract FILE DIR     one PNG per item and manifest.json into DIR\n"
    "  pack MANIFEST OUT    an image-list file from a manifest and its PNG pictures\n"
    "  --help               this text\n"
    "\n"
    "Manifest items take: name, png (relative to the manifest), patternWidth, patternHeight,\n"
    "skipWidth, skipHeight, systemMemory, transparent, transparentColor (\"#RRGGBB\" or a\n"
    "colour name such as \"clFuchsia\"), form (\"TBitmap\" or \"TDIB\"), bitDepth (1, 4, 8, 16,\n"
    "24, 32), rle, topDown, bitfields, masks ([red, green, blue]) and palette (\"#RRGGBB\"\n"
    "entries). Fields left out take their defaults: form TBitmap, bitDepth 24, transparent\n"
    "true, transparentColor clBlack, everything else 0 or false.\n"
    "Exit status: 0 on success, 2 on any error.\n";

QString Q(const std::string& utf8) {
    return QString::fromStdString(utf8);
}
QString Key(const char* key) {
    return QString::fromLatin1(key);
}

std::string HexColour(uint32_t rgb) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", rgb & 0xFFFFFFu);
    return text;
}

std::string RgbText(const Rgb& c) {
    return HexColour((uint32_t{c.r} << 16) | (uint32_t{c.g} << 8) | c.b);
}

bool ParseHex(const std::string& text, uint32_t& rgb) {
    if (text.size() != 7 || text[0] != '#') {
        return false;
    }
    rgb = 0;
    for (size_t i = 1; i < 7; ++i) {
        const char c = text[i];
        int v = 0;
        if (c >= '0' && c <= '9') {
            v = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            v = c - 'a' + 10;
        } else if (c >= 'A' && c <= 'F') {
            v = c - 'A' + 10;
        } else {
            return false;
        }
        rgb = rgb << 4 | static_cast<uint32_t>(v);
    }
    return true;
}

QImage ToImage(const Picture& p) {
    QImage image(p.width, p.height, QImage::Format_RGB32);
    for (int y = 0; y < p.height; ++y) {
        auto* line = reinterpret_cast<uint32_t*>(image.scanLine(y));
        for (int x = 0; x < p.width; ++x) {
            line[x] = 0xFF000000u | p.pixels[static_cast<size_t>(y) * static_cast<size_t>(p.width) +
                                             static_cast<size_t>(x)];
        }
    }
    return image;
}

Picture FromImage(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    Picture p;
    p.width = image.width();
    p.height = image.height();
    p.pixels.reserve(static_cast<size_t>(p.width) * static_cast<size_t>(p.height));
    for (int y = 0; y < p.height; ++y) {
        const auto* line = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
        for (int x = 0; x < p.width; ++x) {
            p.pixels.push_back(0xFF000000u | line[x]);
        }
    }
    return p;
}

// Picture file names. An item name may run to hundreds of bytes and hold any byte, so the file
// takes only a short run of it in characters every file system accepts; the manifest keeps the
// whole name. The leading index keeps the files apart, also where case is ignored, and means no
// file name starts with a dot.
constexpr size_t kPngNameChars = 64;

std::string PngName(int index, const std::string& name) {
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "%03d", index);
    std::string out = prefix;
    if (!name.empty()) {
        out += '_';
    }
    for (size_t i = 0; i < name.size() && i < kPngNameChars; ++i) {
        const char c = name[i];
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '_' || c == '-' || c == '.';
        out += plain ? c : '_';
    }
    return out + ".png";
}

QJsonValue ColourJson(TColor colour) {
    if ((colour & 0xFF000000u) != 0 && !ColourToIdent(colour)) {
        return QJsonValue(static_cast<double>(colour)); // a value no name or "#RRGGBB" holds
    }
    return Q(ColourText(colour));
}

// Pattern sizes and gaps beyond a picture's largest side select nothing.
constexpr int kMaxPictureSide = 65535;

// Reading the manifest: every field checked, with the item named in the message.
class ItemFields {
  public:
    ItemFields(const QJsonObject& object, std::string where)
        : object_(object), where_(std::move(where)) {}

    [[noreturn]] void Fail(const std::string& message) const {
        throw Error(where_ + ": " + message);
    }

    bool Has(const char* key) const { return object_.contains(Key(key)); }

    int Int(const char* key, int fallback) const {
        if (!Has(key)) {
            return fallback;
        }
        const QJsonValue v = object_.value(Key(key));
        const double d = v.toDouble(NAN);
        if (!v.isDouble() || std::floor(d) != d || d < -2147483648.0 || d > 2147483647.0) {
            Fail(std::string(key) + " must be a whole number");
        }
        return static_cast<int>(d);
    }

    // A pattern size or gap: 0 (none) up to the largest side a picture may have.
    int Size(const char* key) const {
        const int v = Int(key, 0);
        if (v < 0 || v > kMaxPictureSide) {
            Fail(std::string(key) + " " + std::to_string(v) + " is outside 0 to " +
                 std::to_string(kMaxPictureSide));
        }
        return v;
    }

    // A gap between patterns; the file may hold a negative one, and it is kept.
    int Gap(const char* key) const {
        const int v = Int(key, 0);
        if (v < -kMaxPictureSide || v > kMaxPictureSide) {
            Fail(std::string(key) + " " + std::to_string(v) + " is outside " +
                 std::to_string(-kMaxPictureSide) + " to " + std::to_string(kMaxPictureSide));
        }
        return v;
    }

    // A whole number from 0 to 2^32 - 1.
    uint32_t Mask(const QJsonValue& v, const char* what) const {
        const double d = v.toDouble(NAN);
        if (!v.isDouble() || std::floor(d) != d || d < 0 || d > 4294967295.0) {
            Fail(std::string(what) + " must be a whole number from 0 to 4294967295");
        }
        return static_cast<uint32_t>(d);
    }

    bool Bool(const char* key, bool fallback) const {
        if (!Has(key)) {
            return fallback;
        }
        const QJsonValue v = object_.value(Key(key));
        if (!v.isBool()) {
            Fail(std::string(key) + " must be true or false");
        }
        return v.toBool();
    }

    std::string String(const char* key, const std::string& fallback) const {
        if (!Has(key) || object_.value(Key(key)).isNull()) {
            return fallback;
        }
        const QJsonValue v = object_.value(Key(key));
        if (!v.isString()) {
            Fail(std::string(key) + " must be a string");
        }
        return v.toString().toStdString();
    }

    TColor Colour(const char* key) const {
        if (!Has(key)) {
            return 0;
        }
        const QJsonValue v = object_.value(Key(key));
        if (v.isDouble()) {
            const double d = v.toDouble();
            if (std::floor(d) != d || d < -2147483648.0 || d > 4294967295.0) {
                Fail(std::string(key) + " is not a colour value");
            }
            return ResolveColour(static_cast<int64_t>(d));
        }
        const std::string text = v.toString().toStdString();
        uint32_t rgb = 0;
        if (ParseHex(text, rgb)) {
            return RgbToColour(rgb);
        }
        if (const auto named = ColourFromIdent(text)) {
            return *named;
        }
        Fail(std::string(key) + " \"" + text +
             "\" is neither \"#RRGGBB\" nor a colour name such as \"clFuchsia\"");
    }

    QJsonArray Array(const char* key) const {
        const QJsonValue v = object_.value(Key(key));
        if (!v.isArray()) {
            Fail(std::string(key) + " must be a list");
        }
        return v.toArray();
    }

  private:
    QJsonObject object_;
    std::string where_;
};

// Bit-field masks must each be one run of bits inside the pixel, apart from one another;
// anything else would be written as some other colour layout than the manifest says.
void CheckMasks(const ItemFields& f, const Picture& p) {
    const uint32_t masks[] = {p.redMask, p.greenMask, p.blueMask};
    if (p.redMask == 0 && p.greenMask == 0 && p.blueMask == 0) {
        return; // the depth's usual layout
    }
    const uint64_t room = p.bitDepth >= 32 ? 0xFFFFFFFFull : (uint64_t{1} << p.bitDepth) - 1;
    uint32_t seen = 0;
    for (const uint32_t m : masks) {
        const uint32_t run = m >> std::countr_zero(m | 0x80000000u);
        if (m == 0 || m > room || (run & (run + 1)) != 0 || (seen & m) != 0) {
            f.Fail("masks must be three separate runs of bits within " +
                   std::to_string(p.bitDepth) + " bits");
        }
        seen |= m;
    }
}

void ReadPictureOptions(const ItemFields& f, Picture& p) {
    p.bitDepth = f.Int("bitDepth", 24);
    const int d = p.bitDepth;
    if (d != 1 && d != 4 && d != 8 && d != 16 && d != 24 && d != 32) {
        f.Fail("bitDepth " + std::to_string(d) + " is not one of 1, 4, 8, 16, 24, 32");
    }
    p.rle = f.Bool("rle", false);
    p.topDown = f.Bool("topDown", false);
    p.bitfields = f.Bool("bitfields", false);
    if (f.Has("masks")) {
        const QJsonArray masks = f.Array("masks");
        if (masks.size() != 3) {
            f.Fail("masks must list three numbers: red, green, blue");
        }
        p.redMask = f.Mask(masks[0], "the red mask");
        p.greenMask = f.Mask(masks[1], "the green mask");
        p.blueMask = f.Mask(masks[2], "the blue mask");
        CheckMasks(f, p);
    }
    if (f.Has("palette")) {
        for (const QJsonValue& entry : f.Array("palette")) {
            uint32_t rgb = 0;
            if (!ParseHex(entry.toString().toStdString(), rgb)) {
                f.Fail("palette entries must be \"#RRGGBB\"");
            }
            p.palette.push_back(Rgb{static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                                    static_cast<uint8_t>(rgb)});
        }
    }
    const size_t max = size_t{1} << std::min(d, 8);
    if (d <= 8) {
        if (p.palette.size() > max) {
            f.Fail("the palette has " + std::to_string(p.palette.size()) +
                   " entries, more than a " + std::to_string(d) + "-bit bitmap holds");
        }
        const size_t colours = DistinctColours(p, max).size();
        if (colours > max) {
            f.Fail("the picture has more than " + std::to_string(max) + " colours, too many for " +
                   std::to_string(d) +
                   " bits per pixel (use a higher bitDepth or reduce the "
                   "colours)");
        }
    } else {
        p.palette.clear();
    }
}

} // namespace

std::string ColourText(TColor colour) {
    if (const auto ident = ColourToIdent(colour)) {
        return *ident;
    }
    if ((colour & 0xFF000000u) != 0) {
        return std::to_string(colour);
    }
    return HexColour(ColourToRgb(colour));
}

std::string ListImageList(const std::vector<ImageListEntry>& entries) {
    std::ostringstream out;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const ImageListEntry& e = entries[i];
        const BitmapInfo& p = e.picture;
        const bool hasPicture = p.width > 0 && p.height > 0;
        out << i << "  \"" << TerminalSafe(Cp1252ToUtf8(e.name)) << "\"  ";
        if (hasPicture) {
            out << p.width << " x " << p.height;
        } else {
            out << "no picture";
        }
        out << "  pattern " << e.patternWidth << " x " << e.patternHeight;
        if (e.skipWidth != 0 || e.skipHeight != 0) {
            out << "  skip " << e.skipWidth << " x " << e.skipHeight;
        }
        out << "  transparent " << (e.transparent ? "yes " : "no ")
            << ColourText(e.transparentColor);
        out << "  system memory " << (e.systemMemory ? "yes" : "no");
        if (hasPicture) {
            out << "  " << e.pictureClass << ' ' << p.bitDepth << "-bit";
            out << (p.rle ? " rle" : "") << (p.topDown ? " top-down" : "")
                << (p.bitfields ? " bitfields" : "");
        }
        out << '\n';
    }
    return out.str();
}

std::string ListImageList(const PictureCollection& collection) {
    std::vector<ImageListEntry> entries;
    for (int i = 0; i < collection.Count(); ++i) {
        const PictureCollectionItem& item = collection.Items(i);
        ImageListEntry& e = entries.emplace_back();
        e.name = item.Name;
        e.pictureClass = item.PictureClass;
        e.patternWidth = item.PatternWidth;
        e.patternHeight = item.PatternHeight;
        e.skipWidth = item.SkipWidth;
        e.skipHeight = item.SkipHeight;
        e.systemMemory = item.SystemMemory;
        e.transparent = item.Transparent;
        e.transparentColor = item.TransparentColor;
        if (item.HasPicture()) {
            const Picture& p = item.GetPicture();
            e.picture = {p.width, p.height, p.bitDepth, p.rle, p.topDown, p.bitfields};
        }
    }
    return ListImageList(entries);
}

namespace {

// A folder made beside `target` and removed again unless Keep() is called: an extract that fails
// leaves nothing behind.
class PartialFolder {
  public:
    explicit PartialFolder(const fs::path& target) {
        std::error_code ec;
        const fs::path parent = target.has_parent_path() ? target.parent_path() : fs::path(".");
        fs::create_directories(parent, ec);
        for (int attempt = 0; attempt < 1000; ++attempt) {
            // Appended piece by piece: GCC 12 at -O3 misreads `"." + string` as an overlapping
            // copy.
            std::string name(1, '.');
            name.append(target.filename().string());
            name.append(".partial");
            name.append(std::to_string(attempt));
            const fs::path candidate = parent / name;
            if (fs::create_directory(candidate, ec)) {
                path_ = candidate;
                return;
            }
        }
        throw Error("Cannot create folder " + target.string());
    }
    ~PartialFolder() {
        if (!path_.empty()) {
            std::error_code ec;
            fs::remove_all(path_, ec);
        }
    }
    PartialFolder(const PartialFolder&) = delete;
    PartialFolder& operator=(const PartialFolder&) = delete;

    const fs::path& Path() const { return path_; }

    // Moves the finished files into `target`, which may exist already.
    void Keep(const fs::path& target) {
        std::error_code ec;
        if (!fs::exists(target, ec)) {
            fs::rename(path_, target, ec);
            if (ec) {
                throw Error("Cannot create folder " + target.string());
            }
            path_.clear();
            return;
        }
        if (!fs::is_directory(target, ec)) {
            throw Error("Cannot create folder " + target.string());
        }
        for (const fs::directory_entry& entry : fs::directory_iterator(path_, ec)) {
            fs::rename(entry.path(), target / entry.path().filename(), ec);
            if (ec) {
                throw Error("Cannot create file " + (target / entry.path().filename()).string());
            }
        }
    }

  private:
    fs::path path_;
};

} // namespace

void ExtractImageList(const std::string& file, const std::string& target) {
    PictureCollection collection;
    try {
        collection.LoadFromFile(file);
    } catch (const Error& e) {
        const std::string what = e.what();
        throw Error(what.rfind("Cannot open file", 0) == 0 ? what : file + ": " + what, e.Detail());
    }
    // "DIR/" names DIR itself.
    fs::path into = fs::path(target).lexically_normal();
    if (!into.has_filename() && into.has_parent_path()) {
        into = into.parent_path();
    }
    PartialFolder partial{into};
    const std::string dir = partial.Path().string();
    QJsonArray items;
    for (int i = 0; i < collection.Count(); ++i) {
        const PictureCollectionItem& item = collection.Items(i);
        const Picture& p = item.GetPicture();
        QJsonObject o;
        o.insert(Key("name"), Q(Cp1252ToUtf8(item.Name)));
        if (item.HasPicture()) {
            const std::string png = PngName(i, item.Name);
            const fs::path path = fs::path(dir) / png;
            QByteArray encoded;
            QBuffer buffer(&encoded);
            buffer.open(QIODevice::WriteOnly);
            std::optional<WriteFailure> failure;
            if (!ToImage(p).save(&buffer, "PNG")) {
                failure = WriteFailure{path.string(), "the picture cannot be encoded as PNG"};
            } else {
                failure = WriteFileSafely(path.string(), AsBytes(encoded));
            }
            if (failure) {
                throw Error("Cannot create file " + (fs::path(target) / png).string() + ": " +
                            failure->reason);
            }
            o.insert(Key("png"), Q(png));
        } else {
            o.insert(Key("png"), QJsonValue());
        }
        o.insert(Key("patternWidth"), item.PatternWidth);
        o.insert(Key("patternHeight"), item.PatternHeight);
        o.insert(Key("skipWidth"), item.SkipWidth);
        o.insert(Key("skipHeight"), item.SkipHeight);
        o.insert(Key("systemMemory"), item.SystemMemory);
        o.insert(Key("transparent"), item.Transparent);
        o.insert(Key("transparentColor"), ColourJson(item.TransparentColor));
        o.insert(Key("form"), Q(item.PictureClass));
        if (item.HasPicture()) {
            o.insert(Key("bitDepth"), p.bitDepth);
            o.insert(Key("rle"), p.rle);
            o.insert(Key("topDown"), p.topDown);
            o.insert(Key("bitfields"), p.bitfields);
            if (p.bitfields) {
                o.insert(Key("masks"), QJsonArray{static_cast<double>(p.redMask),
                                                  static_cast<double>(p.greenMask),
                                                  static_cast<double>(p.blueMask)});
            }
            if (!p.palette.empty()) {
                QJsonArray palette;
                for (const Rgb& c : p.palette) {
                    palette.append(Q(RgbText(c)));
                }
                o.insert(Key("palette"), palette);
            }
        }
        items.append(o);
    }
    QJsonObject manifest;
    manifest.insert(Key("items"), items);
    const QByteArray json = QJsonDocument(manifest).toJson(QJsonDocument::Indented);
    if (const auto failure =
            WriteFileSafely((fs::path(dir) / "manifest.json").string(), AsBytes(json))) {
        throw Error("Cannot create file " + (fs::path(target) / "manifest.json").string() + ": " +
                    failure->reason);
    }
    partial.Keep(into);
}

void PackImageList(const std::string& manifest, const std::string& out) {
    const std::vector<uint8_t> bytes = ReadBoundedFile(manifest, kToolInputKind);
    QJsonParseError parseError;
    const QJsonDocument doc =
        QJsonDocument::fromJson(QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                           static_cast<qsizetype>(bytes.size())),
                                &parseError);
    if (doc.isNull()) {
        throw Error(manifest + ": not valid JSON (" + parseError.errorString().toStdString() + ")");
    }
    if (!doc.isObject() || !doc.object().value(Key("items")).isArray()) {
        throw Error(manifest + ": the manifest must be an object with an \"items\" list");
    }
    const fs::path base = fs::path(manifest).parent_path();
    PictureCollection collection;
    const QJsonArray items = doc.object().value(Key("items")).toArray();
    for (qsizetype i = 0; i < items.size(); ++i) {
        const std::string where = manifest + ": item " + std::to_string(i);
        if (!items[i].isObject()) {
            throw Error(where + ": must be an object");
        }
        const ItemFields f(items[i].toObject(), where);
        PictureCollectionItem& item = collection.Add();
        const std::string name = f.String("name", "");
        const ItemFields named(items[i].toObject(), where + " (\"" + name + "\")");
        item.Name = Utf8ToCp1252(name);
        // The file stores names in Windows-1252; a name that does not survive the trip would be
        // stored as something else.
        if (Cp1252ToUtf8(item.Name) != name) {
            named.Fail("the name has characters outside Windows-1252, which the file cannot store");
        }
        for (int other = 0; other + 1 < collection.Count(); ++other) {
            if (EqualsIgnoreCase(collection.Items(other).Name, item.Name)) {
                named.Fail("the name is already taken by item " + std::to_string(other) +
                           " (names are compared ignoring case, so this item could never be "
                           "found)");
            }
        }
        item.PatternWidth = named.Size("patternWidth");
        item.PatternHeight = named.Size("patternHeight");
        item.SkipWidth = named.Gap("skipWidth");
        item.SkipHeight = named.Gap("skipHeight");
        item.SystemMemory = named.Bool("systemMemory", false);
        item.Transparent = named.Bool("transparent", true);
        item.TransparentColor = named.Colour("transparentColor");
        item.PictureClass = named.String("form", "TBitmap");
        if (item.PictureClass != "TBitmap" && item.PictureClass != "TDIB") {
            named.Fail("form must be \"TBitmap\" or \"TDIB\"");
        }
        const std::string png = named.String("png", "");
        if (png.empty()) {
            continue;
        }
        const fs::path path = base / png;
        QImage image;
        try {
            const std::vector<uint8_t> data = ReadBoundedFile(path.string(), kToolInputKind);
            image.loadFromData(data.data(), static_cast<int>(data.size()));
        } catch (const Error& e) {
            named.Fail("cannot read the picture " + path.string() + " (" + e.Detail() + ")");
        }
        if (image.isNull()) {
            named.Fail("cannot read the picture " + path.string());
        }
        Picture picture = FromImage(image);
        ReadPictureOptions(named, picture);
        item.SetPicture(picture);
    }
    collection.SaveToFile(out);
}

int RunDxgTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h" || args[0] == "help")) {
        out << kUsage;
        return 0;
    }
    const auto usage = [&err](const std::string& problem) {
        err << "kestrova-dxg: " << problem << "\n\n" << kUsage;
        return 2;
    };
    if (args.empty()) {
        return usage("no command given");
    }
    const std::string& command = args[0];
    try {
        if (command == "list") {
            if (args.size() != 2) {
                return usage("list takes one FILE");
            }
            // Sizes and forms come from the headers; no picture is decoded to list it.
            std::vector<ImageListEntry> entries;
            try {
                const std::vector<uint8_t> bytes = ReadBoundedFile(args[1], kImageListKind);
                entries = ReadImageListHeaders(bytes);
            } catch (const Error& e) {
                const std::string what = e.what();
                throw Error(what.rfind("Cannot open file", 0) == 0 ? what : args[1] + ": " + what,
                            e.Detail());
            }
            out << ListImageList(entries);
            return 0;
        }
        if (command == "extract") {
            if (args.size() != 3) {
                return usage("extract takes FILE and DIR");
            }
            ExtractImageList(args[1], args[2]);
            return 0;
        }
        if (command == "pack") {
            if (args.size() != 3) {
                return usage("pack takes MANIFEST and OUT");
            }
            PackImageList(args[1], args[2]);
            return 0;
        }
    } catch (const Error& e) {
        // The detail names the file and the reason, where there is one.
        err << "kestrova-dxg: " << TerminalSafe(e.what());
        if (!e.Detail().empty()) {
            err << " (" << TerminalSafe(e.Detail()) << ')';
        }
        err << '\n';
        return 2;
    }
    return usage("unknown command \"" + command + "\"");
}

} // namespace kestrova
