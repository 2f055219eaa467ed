#pragma once
// The shelf's list of discs: the discs found in the shelf folders, the ones added one by one and
// the ones opened before, one entry a disc; the order it is shown in and the filter over it; the
// list of discs opened before; the reason a front end gave for not starting.

#include "shelf/found_disc.h"

#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace kestrova {

// A disc opened before, and when (seconds since the epoch).
struct RecentDisc {
    std::string path;
    long long lastOpened = 0;
};

struct ShelfDisc {
    std::string path;
    DiscForm form = DiscForm::Folder;
    std::string fileName;   // the last element of the path
    std::string label;      // the user's name for it on the shelf; empty: the disc's own
    std::string discLabel;  // the disc's own name, once probed
    std::string issueLine;  // once probed
    std::string probeFault; // why it would not start, as probing found
    std::string startFault; // why it did not start when last opened
    bool probed = false;
    bool present = true;      // false: opened before, and no longer where it was
    long long lastOpened = 0; // 0: never opened from here
};

// What a shelf entry is called: the user's label, else the disc's own name, else its file's.
std::string ShownName(const ShelfDisc& disc);

// Why the disc would not start, empty when it would (as far as is known).
std::string Fault(const ShelfDisc& disc);

// One entry for every disc of `found` (the shelf folders' and the added ones) and of `recent`,
// except those in `removed`; a disc opened before that is no longer found is kept, not present.
// Paths are compared as written, less trailing separators.
std::vector<ShelfDisc> MergeShelf(const std::vector<FoundDisc>& found,
                                  const std::vector<RecentDisc>& recent,
                                  const std::vector<FoundDisc>& recentPresent,
                                  const std::map<std::string, std::string>& labels,
                                  const std::set<std::string>& removed);

enum class ShelfOrder { Name, LastOpened };

// The entries `filter` matches (a case-blind part of the name, issue line or file name; every
// word of it), in the given order. By name, runs of digits compare as numbers ("Issue 9" before
// "Issue 27"); by last opened, the latest first and the never-opened after, by name.
std::vector<std::size_t> ShownOrder(const std::vector<ShelfDisc>& discs, ShelfOrder order,
                                    const std::string& filter);

// Names compared as a reader expects: letter case aside, numbers by value.
bool NameBefore(const std::string& a, const std::string& b);

// The list of discs opened before, after `path` is opened at `now`: it goes first, once; the
// list keeps at most `kRecentDiscs`.
constexpr std::size_t kRecentDiscs = 200;
void RememberOpened(std::vector<RecentDisc>& recent, const std::string& path, long long now);

// The path without trailing separators (but "/" stays).
std::string ShelfKey(const std::string& path);

// The message a front end gave on standard error for not starting: its first line that is the
// program's own (the toolkit's warnings are passed over), at most 300 characters. Empty when
// there is none.
std::string StartFailureReason(const std::string& standardError);

} // namespace kestrova
