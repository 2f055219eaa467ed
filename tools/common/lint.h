#pragma once
// The disc linter: checks a disc's data file and image-list files against every limit the front
// end relies on, so that a disc author finds the faults before the reader does.

#include "base/code_page.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace kestrova {

struct LintFinding {
    std::string file; // as shown to the author: the disc folder as given + the real path inside
    int line = 0;     // 1-based; 0 when the finding is not tied to a line
    std::string message;
};

// Every finding on the disc in `discDir` (a folder or a CD image), in file order within each
// check. Fails with kestrova::Error when the disc or its disc data file cannot be read at all.
// `page` is the code page the disc's texts are read in, as the front end's --codepage.
std::vector<LintFinding> LintDisc(const std::string& discDir, CodePage page = {});

// "FILE:LINE: message"
std::string FormatFinding(const LintFinding& finding);

// The whole tool: arguments without the program name. Returns 0 clean, 1 findings, 2 usage error
// or unreadable disc.
int RunLintTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace kestrova
