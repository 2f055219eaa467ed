#include "pictures/row_cover.h"

#include <algorithm>

namespace kestrova {

void RowCover::Reset(int height) {
    for (int row : touched_) {
        if (row < static_cast<int>(rows_.size())) {
            rows_[static_cast<std::size_t>(row)].clear();
        }
    }
    touched_.clear();
    rows_.resize(static_cast<std::size_t>(std::max(height, 0)));
}

void RowCover::Uncovered(int row, int begin, int end, std::vector<Span>& out) const {
    if (end <= begin) {
        return;
    }
    for (const Span& c : rows_[static_cast<std::size_t>(row)]) {
        if (c.end <= begin) {
            continue;
        }
        if (c.begin >= end) {
            break;
        }
        if (c.begin > begin) {
            out.push_back({begin, c.begin});
        }
        begin = std::max(begin, c.end);
        if (begin >= end) {
            return;
        }
    }
    out.push_back({begin, end});
}

void RowCover::Add(int row, int begin, int end) {
    if (end <= begin) {
        return;
    }
    std::vector<Span>& spans = rows_[static_cast<std::size_t>(row)];
    if (spans.empty()) {
        touched_.push_back(row);
    }
    // The first span that ends at or after `begin` may join it; every span that starts at or
    // before `end` from there on joins too.
    auto first = std::lower_bound(spans.begin(), spans.end(), begin,
                                  [](const Span& s, int at) { return s.end < at; });
    auto last = first;
    while (last != spans.end() && last->begin <= end) {
        begin = std::min(begin, last->begin);
        end = std::max(end, last->end);
        ++last;
    }
    if (first == last) {
        spans.insert(first, Span{begin, end});
        return;
    }
    *first = Span{begin, end};
    spans.erase(first + 1, last);
}

} // namespace kestrova
