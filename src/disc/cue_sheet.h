#pragma once
// A cue sheet: the text file beside a CD image that names the image's files and says where each
// track starts in them and how its frames are laid out. Only what finds the first data track is
// kept; the text is untrusted, and a line that cannot mean what it says is refused with its
// number rather than guessed at.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

// A CD holds at most 99 tracks; a sheet names no more files than that.
inline constexpr std::size_t kMaxCueTracks = 99;
inline constexpr std::size_t kMaxCueFiles = 99;

struct CueFile {
    std::string name; // as written, relative to the sheet's folder unless absolute
    std::string type; // BINARY, MOTOROLA, WAVE, ... upper case; empty when not given
};

struct CueIndex {
    int number = 0;
    uint32_t frame = 0; // from the start of the track's file, 75 frames a second
};

struct CueTrack {
    int number = 0;
    std::string mode; // upper case: AUDIO, MODE1/2352, ...
    std::size_t file = 0;
    std::vector<CueIndex> indexes;
};

struct CueSheet {
    std::vector<CueFile> files;
    std::vector<CueTrack> tracks;
};

// The sheet's files and tracks. Keywords are read in any case, a byte-order mark and CR LF line
// ends are allowed, and a FILE name is quoted, or unquoted up to its file type. Lines of other
// kinds (titles, remarks, gaps) are passed over. Fails with kestrova::Error saying the line and
// what is wrong with it.
CueSheet ParseCueSheet(std::string_view text);

// How a data track's 2048 bytes of user data sit in each of its frames.
struct CueFrameLayout {
    uint32_t frameBytes = 0;
    uint32_t dataAt = 0;
};

// The layout of a data track's mode (MODE1/2048, MODE1/2352, MODE2/2048, MODE2/2336, MODE2/2352,
// in any case); nothing for sound and every other mode.
std::optional<CueFrameLayout> CueDataLayout(std::string_view mode);

// The first data track of a sheet and where it lies in its file.
struct CueDataTrack {
    int number = 0;
    std::size_t file = 0;
    CueFrameLayout layout;
    uint64_t startByte = 0;         // its INDEX 01
    std::optional<uint32_t> frames; // up to the next track in the same file; none: to its end
};

// Nothing when the sheet holds no data track. The tracks before it in its file decide where it
// starts, each index point spanning frames of its own track's size; fails with kestrova::Error
// when the data track has no INDEX 01, the points of its file go backwards, or a track before it
// there is of a mode whose frame size is unknown.
std::optional<CueDataTrack> FirstCueDataTrack(const CueSheet& sheet);

// How many whole frames of `track` a file of `fileBytes` bytes holds: up to the track's end, or
// fewer when the file is cut short.
uint32_t CueTrackSectors(const CueDataTrack& track, uint64_t fileBytes);

} // namespace kestrova
