#pragma once
// Every ceiling the front end and the disc tools put on what a disc may make them read, in one
// place. A disc is untrusted input: a pressed CD, a downloaded image, a folder someone mailed.
// Each limit is far above what any real disc needs (the sample disc's largest image list is under
// 2 MB and all its pictures together hold about 3 M pixels) and far below what would hurt.

#include <cstddef>
#include <cstdint>

namespace kestrova {

// A kind of file the front end reads, with the most bytes it will read of one.
struct FileKind {
    const char* name; // for messages: "is larger than the ... limit for <name>"
    std::size_t maxBytes;
};

inline constexpr std::size_t kMiB = std::size_t{1024} * 1024;

// The disc data file is a few kilobytes of text.
inline constexpr FileKind kDiscDataKind{"a disc data file", 4 * kMiB};
// The background bitmap: 800 x 600 at 24 bits is 1.4 MB; room for a 16 M pixel bitmap at 32 bits.
inline constexpr FileKind kBackgroundKind{"a background bitmap", 68 * kMiB};
// An image-list file holds a collection of bitmaps.
inline constexpr FileKind kImageListKind{"an image-list file", 128 * kMiB};
// A banner GIF is tens of kilobytes.
inline constexpr FileKind kBannerKind{"a banner GIF", 16 * kMiB};
// A readme is a few pages of rich text.
inline constexpr FileKind kReadmeKind{"a readme", 4 * kMiB};
// A page, or a picture or anything else a page shows, served to the web pane from a CD image.
inline constexpr FileKind kWebFileKind{"a file shown in the web pane", 64 * kMiB};
// The author tools' own inputs (a pack manifest, a picture to pack).
inline constexpr FileKind kToolInputKind{"a tool input file", 128 * kMiB};

// A CD image is read at random, never whole; these bound what its folders may make the reader
// hold. A real disc's largest folder is a few kilobytes of records.
// The records of one folder: 1 MiB is about 20 000 entries.
inline constexpr uint32_t kMaxImageFolderBytes = 1024 * 1024;
// Path components followed inside an image.
inline constexpr int kMaxImagePathDepth = 64;
// Folders entered, and entries met, while walking a whole tree (copying a program's folder).
inline constexpr int kMaxImageWalkDepth = 32;
inline constexpr int kMaxImageWalkEntries = 100000;
// Folders, and entries of folders, kept after they were read once.
inline constexpr std::size_t kMaxImageFoldersKept = 1024;
inline constexpr std::size_t kMaxImageEntriesKept = 200000;
// All files copied out of an image to start one program (the folder it stands in and below),
// each extent of the image counted once; also the most one copy writes.
inline constexpr uint64_t kMaxProgramCopyBytes = uint64_t{1} * 1024 * 1024 * 1024;
// A cue sheet is a few lines of text.
inline constexpr FileKind kCueSheetKind{"a cue sheet", 64 * 1024};

// Decoded pixels. Every picture is held once, as 4 bytes a pixel.
// One picture: 4096 x 4096.
inline constexpr int64_t kMaxPicturePixels = int64_t{16} * 1024 * 1024;
// All pictures of one image-list file: fifty full 800 x 600 screens.
inline constexpr int64_t kMaxImageListPixels = int64_t{24} * 1024 * 1024;
// The background and the five image lists together: about 200 MB of pixels.
inline constexpr int64_t kMaxDiscPixels = int64_t{48} * 1024 * 1024;
// A run-length picture stores at most 255 pixels in every two bytes of its data, so a picture
// claiming more pixels than that is refused before anything is allocated. Tiny pictures get a
// small allowance for pictures that end early and leave the rest to colour 0.
inline constexpr int64_t kRlePixelsPerByte = 128;
inline constexpr int64_t kRleMinimumAllowance = int64_t{64} * 1024;

// Banner GIFs are decoded frame by frame as they play; one frame of the logical screen is held.
inline constexpr int kMaxGifSide = 4096;
inline constexpr int64_t kMaxGifScreenPixels = int64_t{4} * 1024 * 1024;
inline constexpr int kMaxGifFrames = 1024;

} // namespace kestrova
