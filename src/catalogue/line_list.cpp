#include "catalogue/line_list.h"

#include "base/error.h"
#include "base/text.h"
#include "catalogue/disc_layout.h"

#include <limits>

namespace kestrova {

void LineList::LoadFromBytes(std::string_view bytes) {
    const std::size_t nul = bytes.find('\0');
    if (nul != std::string_view::npos) {
        bytes = bytes.substr(0, nul);
    }
    std::vector<std::string> lines;
    std::size_t start = 0;
    const std::size_t n = bytes.size();
    while (start < n) {
        std::size_t end = start;
        while (end < n && bytes[end] != '\r' && bytes[end] != '\n') {
            ++end;
        }
        lines.emplace_back(bytes.substr(start, end - start));
        if (end < n && bytes[end] == '\r' && end + 1 < n && bytes[end + 1] == '\n') {
            ++end;
        }
        start = end + 1;
    }
    lines_ = std::move(lines);
}

int LineList::IndexOf(std::string_view text) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (EqualsIgnoreCase(lines_[i], text, page_)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void LineList::CheckIndex(long long i) const {
    if (i < 0 || i >= static_cast<long long>(lines_.size())) {
        ThrowListIndex(i);
    }
}

const std::string& LineList::Get(long long i) const {
    CheckIndex(i);
    return lines_[static_cast<std::size_t>(i)];
}

const std::string& LineList::KeyValue(std::string_view key) const {
    return Get(static_cast<long long>(IndexOf(key)) + 1);
}

const std::string& LineList::EntryLine(int n, int k) const {
    return Get(static_cast<long long>(IndexOf(BeginKey(n))) + k);
}

std::vector<std::string> LineList::BlockLines(std::string_view beginKey,
                                              std::string_view endKey) const {
    const int first = IndexOf(beginKey);
    const int last = IndexOf(endKey);
    if (first < 0 || last <= first) {
        return {};
    }
    return {lines_.begin() + first + 1, lines_.begin() + last};
}

void LineList::Put(long long i, std::string text) {
    CheckIndex(i);
    lines_[static_cast<std::size_t>(i)] = std::move(text);
}

void LineList::Add(std::string text) {
    lines_.push_back(std::move(text));
}

void LineList::Delete(long long i) {
    CheckIndex(i);
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i));
}

std::string BeginKey(int n) {
    return kBeginPrefix + std::to_string(n);
}

std::string EndKey(int n) {
    return kEndPrefix + std::to_string(n);
}

int StrToInt(std::string_view text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size()) {
        ThrowNotInteger(std::string(text));
    }
    long long value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') {
            ThrowNotInteger(std::string(text));
        }
        value = value * 10 + (c - '0');
        if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1) {
            ThrowNotInteger(std::string(text));
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min()) {
        ThrowNotInteger(std::string(text));
    }
    return static_cast<int>(value);
}

} // namespace kestrova
