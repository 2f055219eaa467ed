#pragma once
// A disc found on the user's shelf: a disc folder or a CD image file.

#include <optional>
#include <string>
#include <vector>

namespace kestrova {

enum class DiscForm { Folder, Iso, Cue, Bin };

struct FoundDisc {
    std::string path;
    DiscForm form;
    long long size = 0;
    long long modifiedSeconds = 0;
};

struct FindResult {
    std::vector<FoundDisc> discs;
    std::string error;
};

// Every disc directly inside `folder`.
FindResult FindDiscs(const std::string& folder);

// `path` as a disc, when it is one.
std::optional<FoundDisc> DescribeDisc(const std::string& path);

} // namespace kestrova
