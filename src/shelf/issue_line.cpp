#include "shelf/issue_line.h"

#include "base/error.h"
#include "base/text.h"
#include "catalogue/line_list.h"
#include "engine/disc_data_file.h"
#include "engine/disc_requirements.h"

namespace kestrova {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

} // namespace

std::string IssueLineOf(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        std::size_t begin = 0;
        std::size_t end = line.size();
        while (begin < end && IsBlank(line[begin])) {
            ++begin;
        }
        while (end > begin && IsBlank(line[end - 1])) {
            --end;
        }
        if (begin == end) {
            continue;
        }
        if (line[begin] == '*') {
            return {};
        }
        std::string bytes = line.substr(begin, end - begin);
        const bool cut = bytes.size() > kMaxIssueLineChars;
        if (cut) {
            bytes.resize(kMaxIssueLineChars);
        }
        std::string text = Cp1252ToUtf8(bytes);
        if (cut) {
            text += "\xE2\x80\xA6";
        }
        return text;
    }
    return {};
}

std::string CurrentDiscIssueLine() {
    try {
        LineList lines;
        LoadDiscDataFile(lines, kDiscDataFile);
        return IssueLineOf(lines.Lines());
    } catch (const Error&) {
        return {};
    }
}

} // namespace kestrova
