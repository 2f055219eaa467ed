#pragma once
// Which pixels of each row later drawing covers for good, so earlier drawing can leave them
// alone. A frame is walked from its last call back to its first: each picture first asks which
// parts of its runs nothing after it covers (only those need copying), then adds its runs to the
// cover. Pixels written twice in a frame are then written once, and the picture is the same,
// since every covering run overwrites its pixels whatever lay under them.

#include <algorithm>
#include <cstdint>
#include <vector>

namespace kestrova {

class RowCover {
  public:
    // A run of pixels of a row, right exclusive.
    struct Span {
        int begin = 0;
        int end = 0;
        friend bool operator==(const Span&, const Span&) = default;
    };

    // Rows 0 to height - 1, nothing covered.
    void Reset(int height);
    // The parts of [begin, end) on `row` that nothing covers yet, appended to `out` left to right.
    void Uncovered(int row, int begin, int end, std::vector<Span>& out) const {
        ForUncovered(row, begin, end, [&out](int b, int e) { out.push_back({b, e}); });
    }
    // The same parts, each handed to visit(begin, end).
    template <class Visit> void ForUncovered(int row, int begin, int end, Visit&& visit) const {
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
                visit(begin, c.begin);
            }
            if (c.end >= end) {
                return;
            }
            begin = c.end;
        }
        visit(begin, end);
    }
    // Whether every pixel of [begin, end) on each of rows [top, bottom) is covered already; rows
    // outside the cover's height count as covered, since nothing is drawn there.
    bool Covers(int top, int bottom, int begin, int end) const {
        if (end <= begin) {
            return true;
        }
        top = std::max(top, 0);
        bottom = std::min(bottom, static_cast<int>(rows_.size()));
        for (int row = top; row < bottom; ++row) {
            bool open = false;
            ForUncovered(row, begin, end, [&open](int, int) { open = true; });
            if (open) {
                return false;
            }
        }
        return true;
    }
    // Covers [begin, end) on `row`. A picture's runs never overlap one another, so each may be
    // added as soon as it has asked.
    void Add(int row, int begin, int end) {
        if (end <= begin) {
            return;
        }
        std::vector<Span>& spans = rows_[static_cast<std::size_t>(row)];
        // Runs mostly come left to right, past everything covered so far.
        if (spans.empty() || spans.back().end < begin) {
            if (spans.empty()) {
                touched_.push_back(row);
            }
            spans.push_back({begin, end});
            return;
        }
        Join(spans, begin, end);
    }
    // The covered spans of a row, left to right, none touching another.
    const std::vector<Span>& Row(int row) const { return rows_[static_cast<std::size_t>(row)]; }

  private:
    static void Join(std::vector<Span>& spans, int begin, int end);

    std::vector<std::vector<Span>> rows_;
    std::vector<int> touched_; // rows with anything covered, to empty them again
};

} // namespace kestrova
