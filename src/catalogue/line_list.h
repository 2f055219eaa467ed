#pragma once
// The lines of the disc data file (`source`) and the lookups every reader goes through. Lines
// are kept as the file's raw bytes, in the disc's code page (Windows-1252 unless the disc is told
// otherwise), so lengths and limits count the disc's bytes; indices start at 0.

#include "base/code_page.h"

#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

class LineList {
  public:
    // The longest line the file format allows. Longer lines are still kept whole.
    static constexpr std::size_t kMaxLineLength = 4095;

    // Replaces the lines with those of `bytes`: CR LF, lone CR and lone LF end a line, a final
    // terminator adds no empty line, a NUL byte ends the text.
    void LoadFromBytes(std::string_view bytes);

    // The code page the lines are written in; loading keeps it, Assign copies it.
    CodePage Page() const { return page_; }
    void SetPage(CodePage page) { page_ = page; }
    // A text of this list (a line, or a piece of one) as UTF-8, for showing.
    std::string Shown(std::string_view bytes) const { return DecodeText(bytes, page_); }

    int Count() const { return static_cast<int>(lines_.size()); }
    // First line equal to `text` ignoring case (as the code page's letters fold); -1 when none.
    int IndexOf(std::string_view text) const;
    // Fails with "List index out of bounds (i)".
    const std::string& Get(long long i) const;
    // The line after the first occurrence of `key`; line 0 when the key is missing.
    const std::string& KeyValue(std::string_view key) const;
    // Line k of entry n's record, counted from its "*BEGIN" n line.
    const std::string& EntryLine(int n, int k) const;
    // Present at an index above 0: line 0 never counts as a key.
    bool HasKey(std::string_view key) const { return IndexOf(key) > 0; }
    // The lines strictly between the two keys. Empty when either key is missing or the end key
    // comes first: a stray end marker must not turn the head of the file into a menu.
    std::vector<std::string> BlockLines(std::string_view beginKey, std::string_view endKey) const;

    // Editing (the disc editor's copy). Indices as for Get.
    void Put(long long i, std::string text);
    void Add(std::string text);
    void Delete(long long i);
    void Assign(const LineList& other) {
        lines_ = other.lines_;
        page_ = other.page_;
    }
    void Clear() { lines_.clear(); }
    const std::vector<std::string>& Lines() const { return lines_; }

  private:
    void CheckIndex(long long i) const;

    std::vector<std::string> lines_;
    CodePage page_;
};

// "*BEGIN" n, the start line of entry n.
std::string BeginKey(int n);
// "*END" n.
std::string EndKey(int n);

// A decimal integer with an optional sign that fits in 32 bits; anything else fails with
// "'text' is not a valid integer value".
int StrToInt(std::string_view text);

} // namespace kestrova
