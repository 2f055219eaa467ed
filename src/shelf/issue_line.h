#pragma once
// The line a shelf shows under a disc's name: the disc's own first note. A disc data file opens
// with a blank line and then, before its first key, notes its authors wrote for themselves
// ("Kestrova cover disc data - issue 27, June 1999"); the first of them names the issue.

#include <cstddef>
#include <string>
#include <vector>

namespace kestrova {

// The longest issue line kept, in characters; a longer one is cut and ends with "…".
inline constexpr std::size_t kMaxIssueLineChars = 120;

// The first non-blank line before the first key line ("*…") of the disc data file's `lines`
// (Windows-1252), as UTF-8 with its outer blanks taken away; empty when there is none.
std::string IssueLineOf(const std::vector<std::string>& lines);

// The issue line of the disc in use, read from its disc data file by itself (a disc that does not
// start may still name its issue); empty when the file cannot be read.
std::string CurrentDiscIssueLine();

} // namespace kestrova
