#pragma once
// Discs found on this machine for the shelf: disc folders and CD image files, by path, with what
// the file system says of them (size and modification time, which key the shelf's cache).
// Finding reads names and file facts only, never a disc's contents.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace kestrova {

enum class DiscForm { Folder, Iso, Cue, Bin };

struct FoundDisc {
    std::string path;
    DiscForm form = DiscForm::Folder;
    long long size = 0;            // bytes; for a folder, its disc data file's
    long long modifiedSeconds = 0; // for a folder, its disc data file's
};

struct FindResult {
    std::vector<FoundDisc> discs;
    std::string error; // non-empty: the folder could not be read
};

// Every disc in `folder` and its sub-folders, a few levels down: a disc folder (one holding the
// disc data file where a disc holds it), an .iso, a .cue, a .bin no .cue beside it names (a .bin
// a .cue names is found as the .cue). Links are never followed into a loop, pipes and devices
// are passed over, and the search stops at kMostFoundDiscs. Paths are absolute (made so
// lexically: links stay as they are); sorted by path. A folder given that is itself a disc is
// the one disc found.
constexpr std::size_t kMostFoundDiscs = 1000;

FindResult FindDiscs(const std::string& folder);

// The disc `path` names (a recent disc, one dropped on the shelf); nothing when it is none.
std::optional<FoundDisc> DescribeDisc(const std::string& path);

} // namespace kestrova
