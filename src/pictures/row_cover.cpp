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

void RowCover::Join(std::vector<Span>& spans, int begin, int end) {
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
