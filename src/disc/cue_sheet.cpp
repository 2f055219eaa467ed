#include "disc/cue_sheet.h"

#include "base/error.h"
#include "base/text.h"

#include <algorithm>
#include <array>

namespace kestrova {

namespace {

constexpr uint32_t kFramesPerSecond = 75;
constexpr uint32_t kSecondsPerMinute = 60;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// The next word of `rest`, which moves past it.
std::string_view NextWord(std::string_view& rest) {
    rest = TrimBlanks(rest);
    std::size_t end = 0;
    while (end < rest.size() && !IsBlank(rest[end])) {
        ++end;
    }
    const std::string_view word = rest.substr(0, end);
    rest.remove_prefix(end);
    return word;
}

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return out;
}

// A number of 1 to `maxDigits` digits and nothing else.
std::optional<uint32_t> Number(std::string_view text, std::size_t maxDigits) {
    if (text.empty() || text.size() > maxDigits ||
        !std::all_of(text.begin(), text.end(), IsDigit)) {
        return std::nullopt;
    }
    uint32_t value = 0;
    for (const char c : text) {
        value = value * 10 + static_cast<uint32_t>(c - '0');
    }
    return value;
}

// "mm:ss:ff" as frames; minutes run past 99 on some long images.
std::optional<uint32_t> Time(std::string_view text) {
    const std::size_t first = text.find(':');
    const std::size_t second = first == std::string_view::npos ? first : text.find(':', first + 1);
    if (second == std::string_view::npos) {
        return std::nullopt;
    }
    const std::optional<uint32_t> minutes = Number(text.substr(0, first), 4);
    const std::optional<uint32_t> seconds = Number(text.substr(first + 1, second - first - 1), 2);
    const std::optional<uint32_t> frames = Number(text.substr(second + 1), 2);
    if (!minutes || !seconds || !frames || *seconds >= kSecondsPerMinute ||
        *frames >= kFramesPerSecond) {
        return std::nullopt;
    }
    return (*minutes * kSecondsPerMinute + *seconds) * kFramesPerSecond + *frames;
}

constexpr std::array<std::string_view, 5> kFileTypes{"BINARY", "MOTOROLA", "AIFF", "WAVE", "MP3"};

bool IsFileType(std::string_view word) {
    return std::any_of(kFileTypes.begin(), kFileTypes.end(),
                       [&](std::string_view type) { return EqualsIgnoreCase(word, type); });
}

[[noreturn]] void Fault(std::size_t line, const std::string& what) {
    throw Error("line " + std::to_string(line) + ": " + what);
}

// The name and type of a FILE line, after its keyword.
CueFile FileOf(std::string_view rest, std::size_t line) {
    rest = TrimBlanks(rest);
    CueFile file;
    if (!rest.empty() && rest.front() == '"') {
        const std::size_t close = rest.find('"', 1);
        if (close == std::string_view::npos) {
            Fault(line, "the FILE name's quote is not closed");
        }
        file.name = rest.substr(1, close - 1);
        rest.remove_prefix(close + 1);
        file.type = Upper(NextWord(rest));
    } else {
        // Unquoted, a name may hold blanks; the file type ends the line.
        const std::size_t lastBlank = rest.find_last_of(" \t");
        if (lastBlank != std::string_view::npos && IsFileType(rest.substr(lastBlank + 1))) {
            file.type = Upper(rest.substr(lastBlank + 1));
            rest = TrimBlanks(rest.substr(0, lastBlank));
        }
        file.name = rest;
    }
    if (file.name.empty()) {
        Fault(line, "the FILE line names no file");
    }
    if (std::any_of(file.name.begin(), file.name.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; })) {
        Fault(line, "the FILE name holds a control character");
    }
    return file;
}

void ParseLine(std::string_view text, std::size_t line, CueSheet& sheet) {
    std::string_view rest = text;
    const std::string_view keyword = NextWord(rest);
    if (EqualsIgnoreCase(keyword, "FILE")) {
        if (sheet.files.size() >= kMaxCueFiles) {
            Fault(line, "more than " + std::to_string(kMaxCueFiles) + " files");
        }
        sheet.files.push_back(FileOf(rest, line));
    } else if (EqualsIgnoreCase(keyword, "TRACK")) {
        if (sheet.files.empty()) {
            Fault(line, "TRACK before any FILE");
        }
        if (sheet.tracks.size() >= kMaxCueTracks) {
            Fault(line, "more than " + std::to_string(kMaxCueTracks) + " tracks");
        }
        const std::optional<uint32_t> number = Number(NextWord(rest), 2);
        if (!number || *number < 1) {
            Fault(line, "the TRACK number is not 1 to 99");
        }
        const std::string_view mode = NextWord(rest);
        if (mode.empty()) {
            Fault(line, "the TRACK has no mode");
        }
        sheet.tracks.push_back(
            CueTrack{static_cast<int>(*number), Upper(mode), sheet.files.size() - 1, {}});
    } else if (EqualsIgnoreCase(keyword, "INDEX")) {
        if (sheet.tracks.empty()) {
            Fault(line, "INDEX before any TRACK");
        }
        const std::optional<uint32_t> number = Number(NextWord(rest), 2);
        if (!number) {
            Fault(line, "the INDEX number is not 0 to 99");
        }
        const std::optional<uint32_t> frame = Time(NextWord(rest));
        if (!frame) {
            Fault(line, "the INDEX time is not minutes:seconds:frames");
        }
        sheet.tracks.back().indexes.push_back(CueIndex{static_cast<int>(*number), *frame});
    }
    // Titles, performers, remarks, flags, gaps and the like say nothing about where data lies.
}

// The bytes of one frame of a track of `mode`; nothing for a mode of unknown size.
std::optional<uint32_t> FrameBytes(std::string_view mode) {
    struct Size {
        std::string_view mode;
        uint32_t bytes;
    };
    static constexpr std::array<Size, 10> kSizes{{{"AUDIO", 2352},
                                                  {"CDG", 2448},
                                                  {"MODE1/2048", 2048},
                                                  {"MODE1/2352", 2352},
                                                  {"MODE2/2048", 2048},
                                                  {"MODE2/2324", 2324},
                                                  {"MODE2/2336", 2336},
                                                  {"MODE2/2352", 2352},
                                                  {"CDI/2336", 2336},
                                                  {"CDI/2352", 2352}}};
    for (const Size& size : kSizes) {
        if (EqualsIgnoreCase(mode, size.mode)) {
            return size.bytes;
        }
    }
    return std::nullopt;
}

} // namespace

CueSheet ParseCueSheet(std::string_view text) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        text.remove_prefix(kByteOrderMark.size());
    }
    CueSheet sheet;
    std::size_t line = 1;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        ParseLine(text.substr(0, end), line, sheet);
        if (end == std::string_view::npos) {
            break;
        }
        // CR LF, LF and a lone CR each end one line.
        const std::size_t next = text.compare(end, 2, "\r\n") == 0 ? end + 2 : end + 1;
        text.remove_prefix(next);
        ++line;
    }
    return sheet;
}

std::optional<CueFrameLayout> CueDataLayout(std::string_view mode) {
    if (EqualsIgnoreCase(mode, "MODE1/2048") || EqualsIgnoreCase(mode, "MODE2/2048")) {
        return CueFrameLayout{2048, 0};
    }
    if (EqualsIgnoreCase(mode, "MODE1/2352")) {
        return CueFrameLayout{2352, 16}; // after the sync pattern and header
    }
    if (EqualsIgnoreCase(mode, "MODE2/2336")) {
        return CueFrameLayout{2336, 8}; // after the subheader
    }
    if (EqualsIgnoreCase(mode, "MODE2/2352")) {
        return CueFrameLayout{2352, 24}; // after the sync pattern, header and subheader
    }
    return std::nullopt;
}

std::optional<CueDataTrack> FirstCueDataTrack(const CueSheet& sheet) {
    const auto found =
        std::find_if(sheet.tracks.begin(), sheet.tracks.end(),
                     [](const CueTrack& t) { return CueDataLayout(t.mode).has_value(); });
    if (found == sheet.tracks.end()) {
        return std::nullopt;
    }
    const CueTrack& data = *found;
    const auto start = std::find_if(data.indexes.begin(), data.indexes.end(),
                                    [](const CueIndex& i) { return i.number == 1; });
    const std::string track = "track " + std::to_string(data.number);
    if (start == data.indexes.end()) {
        throw Error(track + " has no INDEX 01");
    }
    CueDataTrack out{data.number, data.file, *CueDataLayout(data.mode), 0, std::nullopt};

    // Each index point of the file spans the frames up to the next one, in its own track's size.
    const CueTrack* owner = nullptr;
    std::optional<uint32_t> last;
    const auto spanTo = [&](uint32_t frame, const CueTrack& next) {
        if (last && frame < *last) {
            throw Error("the INDEX points of \"" + sheet.files[data.file].name +
                        "\" go backwards at track " + std::to_string(next.number));
        }
        const uint32_t frames = frame - last.value_or(0);
        if (frames > 0) {
            const std::optional<uint32_t> size = FrameBytes(owner ? owner->mode : next.mode);
            if (!size) {
                throw Error("track " + std::to_string((owner ? owner : &next)->number) +
                            " before the data track is of mode " + (owner ? owner : &next)->mode +
                            ", whose frame size is unknown");
            }
            out.startByte += uint64_t{frames} * *size;
        }
        last = frame;
        owner = &next;
    };
    for (auto t = sheet.tracks.begin(); t != found; ++t) {
        if (t->file == data.file) {
            for (const CueIndex& i : t->indexes) {
                spanTo(i.frame, *t);
            }
        }
    }
    for (auto i = data.indexes.begin(); i != std::next(start); ++i) {
        spanTo(i->frame, data);
    }

    // It ends where the next track of its file begins.
    for (auto t = std::next(found); t != sheet.tracks.end(); ++t) {
        if (t->file == data.file && !t->indexes.empty()) {
            const uint32_t next = t->indexes.front().frame;
            if (next < start->frame) {
                throw Error("the INDEX points of \"" + sheet.files[data.file].name +
                            "\" go backwards at track " + std::to_string(t->number));
            }
            out.frames = next - start->frame;
            break;
        }
    }
    return out;
}

uint32_t CueTrackSectors(const CueDataTrack& track, uint64_t fileBytes) {
    const uint64_t held =
        fileBytes > track.startByte ? (fileBytes - track.startByte) / track.layout.frameBytes : 0;
    return static_cast<uint32_t>(
        std::min<uint64_t>({held, track.frames.value_or(UINT32_MAX), UINT32_MAX}));
}

} // namespace kestrova
