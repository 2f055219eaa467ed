#pragma once
// Which pixels of each row later drawing covers for good, so earlier drawing can leave them
// alone. A frame is walked from its last call back to its first: each picture first asks which
// parts of its runs nothing after it covers (only those need copying), then adds its runs to the
// cover. Pixels written twice in a frame are then written once, and the picture is the same,
// since every covering run overwrites its pixels whatever lay under them.

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
    void Uncovered(int row, int begin, int end, std::vector<Span>& out) const;
    // Covers [begin, end) on `row`. A picture's runs never overlap one another, so each may be
    // added as soon as it has asked.
    void Add(int row, int begin, int end);
    // The covered spans of a row, left to right, none touching another.
    const std::vector<Span>& Row(int row) const { return rows_[static_cast<std::size_t>(row)]; }

  private:
    std::vector<std::vector<Span>> rows_;
    std::vector<int> touched_; // rows with anything covered, to empty them again
};

} // namespace kestrova
