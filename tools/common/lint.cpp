#include "common/lint.h"

#include "common/demo_mentions.h"

#include "base/error.h"
#include "base/terminal_text.h"
#include "base/text.h"
#include "catalogue/disc_rules.h"
#include "catalogue/line_list.h"
#include "common/code_page_guess.h"
#include "disc/cdio/open_disc.h"
#include "disc/disc_file_system.h"
#include "disc/disc_path.h"
#include "disc/file_reader.h"
#include "engine/disc_requirements.h"
#include "engine/web_address.h"
#include "pictures/bitmap_codec.h"
#include "pictures/gif_info.h"
#include "pictures/picture_collection.h"
#include "pictures/pixel_budget.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

#include <algorithm>
#include <array>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <string_view>
#include <unordered_map>

namespace kestrova {

namespace {

namespace fs = std::filesystem;

// Empty when every frame of the GIF decodes, else why not.
std::string BannerDecodeProblem(const std::vector<uint8_t>& bytes) {
    QByteArray data(reinterpret_cast<const char*>(bytes.data()),
                    static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, QByteArray("gif"));
    int frames = 0;
    while (frames < kMaxGifFrames) {
        const QImage frame = reader.read();
        if (frame.isNull()) {
            if (frames == 0) {
                return "it does not decode (" + reader.errorString().toStdString() + ")";
            }
            break;
        }
        ++frames;
        if (!reader.canRead()) {
            break;
        }
    }
    return {};
}

// The highest entry number a record is looked for (the disc editor's limit too).
constexpr int kHighestRecord = 100;

// Keep quoted lines in messages readable.
constexpr std::size_t kQuoteWidth = 60;

std::string QuoteIn(std::string_view line, CodePage page) {
    std::string shown = DecodeText(line.substr(0, CharacterPrefix(line, kQuoteWidth, page)), page);
    if (line.size() > kQuoteWidth) {
        shown += "...";
    }
    return "\"" + shown + "\"";
}

bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

bool AllDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

class Linter {
  public:
    Linter(const std::string& discDir, CodePage page) : discArg_(discDir), page_(page) {
        lines_.SetPage(page);
        while (discArg_.size() > 1 && discArg_.back() == '/') {
            discArg_.pop_back();
        }
        std::error_code ec;
        discAbs_ = fs::absolute(discDir, ec).lexically_normal().string();
        while (discAbs_.size() > 1 && discAbs_.back() == '/') {
            discAbs_.pop_back();
        }
        if (discAbs_ == "/") {
            discAbs_.clear();
        }
    }

    std::vector<LintFinding> Run() {
        Load();
        CheckLines();
        CheckCodePage();
        CheckGlobalKeys();
        CheckEntries();
        CheckPairMenu("utilities", "utility");
        CheckPairMenu("add-ons", "add-ons");
        CheckRecordMenu("support", "support");
        CheckRecordMenu("mascot", "tobrik");
        CheckBanners();
        CheckDemoMentions();
        CheckImageLists();
        std::stable_sort(findings_.begin(), findings_.end(),
                         [](const LintFinding& a, const LintFinding& b) {
                             return a.file != b.file ? a.file < b.file : a.line < b.line;
                         });
        return std::move(findings_);
    }

  private:
    std::string Quote(std::string_view line) const { return QuoteIn(line, page_); }

    // Bytes the disc's code page leaves undefined, and texts that read like another page's.
    void CheckCodePage() {
        const std::string pageName = "code page " + std::to_string(page_.Number());
        for (int i = 0; i < Count(); ++i) {
            const std::string& line = Line(i);
            for (std::size_t pos = 0; pos < line.size();) {
                const CodePageChar c = DecodeAt(line, pos, page_);
                if (!c.defined) {
                    static constexpr char kHex[] = "0123456789ABCDEF";
                    const auto b = static_cast<unsigned char>(line[pos]);
                    AtLine(i, std::string("warning: byte 0x") + kHex[b >> 4] + kHex[b & 15] +
                                  " is no character of " + pageName + ": " + Quote(line));
                    break;
                }
                pos += c.length;
            }
        }
        if (const std::optional<CodePage> better = BetterCodePage(lines_.Lines(), page_)) {
            AtFile("warning: the texts read like " + CodePageName(*better) + " text in code page " +
                   std::to_string(better->Number()) + ", not " + pageName + ": try --codepage " +
                   std::to_string(better->Number()));
        }
    }

    // The real path on disk of a disc path, or the disc path with "/" when it names nothing.
    std::string Real(const std::string& discPath) const {
        return CurrentDisc().Resolve(discAbs_ + "/" + discPath);
    }

    std::string Display(const std::string& discPath) const {
        const std::string real = Real(discPath);
        if (real.size() > discAbs_.size() && real.compare(0, discAbs_.size(), discAbs_) == 0) {
            return discArg_ + real.substr(discAbs_.size());
        }
        return real;
    }

    bool IsFile(const std::string& discPath) {
        const auto [it, added] = isFile_.try_emplace(discPath, false);
        if (added) {
            it->second = CurrentDisc().Stat(Real(discPath)).kind == DiscEntryKind::File;
        }
        return it->second;
    }

    void AtLine(int index, std::string message) {
        findings_.push_back({dataFile_, index + 1, std::move(message)});
    }
    void AtFile(std::string message) { findings_.push_back({dataFile_, 0, std::move(message)}); }
    void InFile(const std::string& file, std::string message) {
        findings_.push_back({file, 0, std::move(message)});
    }

    int Count() const { return lines_.Count(); }
    const std::string& Line(int index) const { return lines_.Get(index); }

    // Same answer as IndexOf, without scanning the file for every question.
    int FirstIndex(std::string_view text) const {
        const auto it = first_.find(FoldedKey(text, page_));
        return it == first_.end() ? -1 : it->second;
    }

    void Load() {
        dataFile_ = Display(kDiscDataFile);
        std::string bytes;
        try {
            const std::vector<uint8_t> data = ReadBoundedFile(Real(kDiscDataFile), kDiscDataKind);
            bytes.assign(data.begin(), data.end());
        } catch (const Error& e) {
            throw Error("Cannot open file " + dataFile_ + " (" + Reason(e, kDiscDataFile) + ")");
        }
        lines_.LoadFromBytes(bytes);
        for (int i = 0; i < Count(); ++i) {
            first_.try_emplace(FoldedKey(Line(i), page_), i);
        }
        const std::size_t nul = bytes.find('\0');
        if (nul != std::string::npos) {
            const bool afterLineEnd = nul > 0 && (bytes[nul - 1] == '\n' || bytes[nul - 1] == '\r');
            const int line = afterLineEnd || Count() == 0 ? Count() : Count() - 1;
            AtLine(line, "a NUL byte ends the text here: the rest of the file is ignored");
        }
    }

    void CheckUnique(int index, const std::string& what) {
        const int first = FirstIndex(Line(index));
        if (first >= 0 && first < index) {
            AtLine(index, what + " " + Quote(Line(index)) + " equals line " +
                              std::to_string(first + 1) + ": every lookup finds that line first");
        }
    }

    void CheckCaptionWidth(int index, const std::string& menu) {
        if (Line(index).size() > kMenuCaptionWidth) {
            AtLine(index, "warning: " + menu + " menu line longer than " +
                              std::to_string(kMenuCaptionWidth) +
                              " characters is cut: " + Quote(Line(index)));
        }
    }

    void CheckMenuLength(int index, const std::string& menu, std::size_t lines) {
        if (lines > kMenuChoosableLines) {
            AtLine(index, menu + " menu has " + std::to_string(lines) + " lines: only the first " +
                              std::to_string(kMenuChoosableLines) + " can be chosen");
        }
    }

    void CheckProgram(int index, const std::string& path, const std::string& what) {
        if (path.size() > kMaxShellPath) {
            AtLine(index, what + " path is " + std::to_string(path.size()) +
                              " characters long, more than the shell's " +
                              std::to_string(kMaxShellPath) + ": " + Quote(path));
        }
        if (!IsFile(path)) {
            AtLine(index, what + " " + Quote(path) + " not found");
        }
    }

    void CheckLines() {
        if (Count() == 0) {
            AtFile("the file holds no lines");
            return;
        }
        if (!Line(0).empty()) {
            AtLine(0, "the first line must be blank: a missing value key reads it");
        }
        for (int i = 0; i < Count(); ++i) {
            const std::string& line = Line(i);
            if (line.size() > LineList::kMaxLineLength) {
                AtLine(i, "line is " + std::to_string(line.size()) +
                              " characters long, more than " +
                              std::to_string(LineList::kMaxLineLength));
            }
            if (line.empty() || line[0] != '*') {
                continue;
            }
            if (IsKeyLine(i)) {
                CheckUnique(i, "key line");
            }
        }
    }

    // Whether line i is one of the keys some reader looks up; numbered keys the front end never
    // asks for are reported here.
    bool IsKeyLine(int i) {
        static const std::array<const char*, 8> plain = {
            kSpriteCountKey,    kTechSupportKey,  kSystemRequirementsKey, kDiscTwoKey,
            kBeginUtilitiesKey, kEndUtilitiesKey, kBeginAddOnsKey,        kEndAddOnsKey};
        const std::string& line = Line(i);
        for (const char* key : plain) {
            if (EqualsIgnoreCase(line, key)) {
                return true;
            }
        }
        struct Numbered {
            const char* prefix;
            int low, high;
            const char* what;
        };
        static const std::array<Numbered, 5> numbered = {{
            {kBeginPrefix, 0, -1, nullptr},
            {kEndPrefix, 0, -1, nullptr},
            {kSupportPrefix, 1, kMaxRecordNumber, "support records"},
            {kTobrikPrefix, 1, kMaxRecordNumber, "mascot records"},
            {kBannerPrefix, 0, kMaxBannerNumber, "banners"},
        }};
        for (const Numbered& key : numbered) {
            if (const auto n = NumberedKey(line, key.prefix)) {
                if (key.what != nullptr && (*n < key.low || *n > key.high)) {
                    AtLine(i, Quote(line) + " is never read: " + key.what + " are numbered " +
                                  std::to_string(key.low) + " to " + std::to_string(key.high));
                }
                return true;
            }
            if (StartsWithIgnoreCase(line, key.prefix) &&
                AllDigits(std::string_view(line).substr(std::string_view(key.prefix).size()))) {
                AtLine(i, Quote(line) +
                              " is never read: key numbers are written without leading zeros");
                return false;
            }
        }
        return false;
    }

    void CheckGlobalKeys() {
        spriteLine_ = FirstIndex(kSpriteCountKey);
        if (spriteLine_ < 0) {
            AtFile(Quote(kSpriteCountKey) + " is missing: start-up fails");
        } else if (spriteLine_ + 1 >= Count()) {
            AtLine(spriteLine_, Quote(kSpriteCountKey) + " has no value line: start-up fails");
        } else {
            const std::string& value = Line(spriteLine_ + 1);
            try {
                const int n = StrToInt(value);
                if (n < kMinSpriteCount || n > kMaxSpriteCount) {
                    AtLine(spriteLine_ + 1, "spriteCount " + std::to_string(n) + " is outside " +
                                                std::to_string(kMinSpriteCount) + " to " +
                                                std::to_string(kMaxSpriteCount));
                } else {
                    spriteCount_ = n;
                }
            } catch (const Error& e) {
                AtLine(spriteLine_ + 1, std::string("spriteCount: ") + e.what());
            }
        }
        for (const char* key : {kTechSupportKey, kSystemRequirementsKey}) {
            const int i = FirstIndex(key);
            if (i >= 0 && i + 1 >= Count()) {
                AtLine(i, Quote(key) + " has no value line: start-up fails");
            }
        }
        discTwo_ = FirstIndex(kDiscTwoKey) > 0;
    }

    // Entries below the count must be whole. When the count cannot be used, the entries the
    // file holds are still checked, so that one bad count does not hide every record's faults.
    void CheckEntries() {
        const bool known = spriteCount_.has_value();
        const int entries = known ? *spriteCount_ : kMaxSpriteCount;
        for (int n = 0; n < entries; ++n) {
            const int begin = FirstIndex(BeginKey(n));
            const int end = FirstIndex(EndKey(n));
            if (begin < 0) {
                if (known) {
                    AtFile("entry " + std::to_string(n) + ": " + Quote(BeginKey(n)) +
                           " is missing");
                }
                continue;
            }
            if (end < 0) {
                AtLine(begin,
                       "entry " + std::to_string(n) + ": " + Quote(EndKey(n)) + " is missing");
            } else if (end < begin) {
                AtLine(end, Quote(EndKey(n)) + " comes before " + Quote(BeginKey(n)));
            } else if (n > 0 && end - begin < kRecordRequirements) {
                AtLine(begin, "entry " + std::to_string(n) + " ends at +" +
                                  std::to_string(end - begin) +
                                  ": the front end reads lines +1 to +9 of an entry");
            }
            if (n > 0) {
                CheckEntryFields(n, begin);
            }
        }
        if (known) {
            CheckMenuLength(spriteLine_, "demos", MenuCaptions(lines_, "demos", entries).size());
        }
    }

    void CheckEntryFields(int n, int begin) {
        if (begin + kRecordSupport >= Count()) {
            AtLine(begin, "entry " + std::to_string(n) + " is cut off by the end of the file");
            return;
        }
        CheckUnique(begin + kRecordTitle, "title");
        const std::string& install = Line(begin + kRecordInstall);
        if (install != kRecordNone) {
            CheckCaptionWidth(begin + kRecordTitle, "demos");
            CheckProgram(begin + kRecordInstall, install, "install program");
        }
        const std::string& second = Line(begin + kRecordSecondProgram);
        if (second != kRecordNone && !second.empty()) {
            CheckProgram(begin + kRecordSecondProgram, kSecondProgramFolder + second,
                         "second program");
        }
        const std::string& readme = Line(begin + kRecordReadme);
        const std::string readmePath = kReadmeFolder + readme;
        if (readme.empty()) {
            AtLine(begin + kRecordReadme, "no readme named: view and print show nothing");
        } else if (!IsFile(readmePath)) {
            AtLine(begin + kRecordReadme, "readme " + Quote(readmePath) + " not found");
        }
    }

    // The panel count a menu choice is judged against; without a usable count, the most a disc
    // may have.
    int PanelCount() const { return spriteCount_.value_or(kMaxSpriteCount); }

    void CheckPairMenu(const std::string& menu, const char* sectionKey) {
        const Section& section = *SectionForKey(sectionKey);
        const std::string beginKey = section.menuKey;
        const std::string endKey = section.menuEndKey;
        const int begin = FirstIndex(beginKey);
        const int end = FirstIndex(endKey);
        if (begin < 0 && end < 0) {
            return;
        }
        if (begin < 0 || end < 0 || end < begin) {
            AtLine(begin < 0 ? end : begin, Quote(beginKey) + " and " + Quote(endKey) +
                                                " must both be present, in that order: the " +
                                                menu + " menu is empty");
            return;
        }
        const int size = end - begin - 1;
        if (size % 2 != 0) {
            AtLine(end - 1, "the last " + menu + " name has no target line");
        }
        CheckMenuLength(begin, menu, static_cast<std::size_t>((size + 1) / 2));
        for (int name = begin + 1; name < end; name += 2) {
            CheckUnique(name, menu + " name");
            CheckCaptionWidth(name, menu);
            CheckPanelStep(sectionKey, name);
            if (name + 1 < end) {
                const std::string& target = Line(name + 1);
                if (!target.empty() && !IsWebAddress(target)) {
                    CheckProgram(name + 1, target, menu + " target");
                }
            }
        }
    }

    // Choosing a utilities or add-ons name also reads the line before it as an entry's start
    // line: a 7- or 8-character target there may select a panel. None of this stops the choice
    // starting its program, so each is a warning.
    void CheckPanelStep(const char* sectionKey, int name) {
        const int first = FirstIndex(Line(name));
        const MenuChoice choice = ChooseCaptionAt(lines_, sectionKey, first, PanelCount());
        if (!choice.panelStep || !HasStartLineLength(Line(first - 1))) {
            return;
        }
        const std::string choosing = "warning: choosing " + Quote(Line(name));
        const std::optional<int> entry = EntryNumberFromStartLine(Line(first - 1));
        if (choice.panel) {
            AtLine(first - 1, choosing + " also selects panel " + std::to_string(*choice.panel) +
                                  ": the line before it is 7 or 8 characters long");
        } else if (entry) {
            AtLine(first - 1, choosing + " reads the line before it as entry " +
                                  std::to_string(*entry) + "'s start line, which has no panel" +
                                  ": the panel stays as it is");
        } else {
            AtLine(first - 1, choosing + " reads the line before it as a start line (it is 7 or " +
                                  "8 characters long) that names no entry: the panel stays as " +
                                  "it is");
        }
    }

    void CheckRecordMenu(const std::string& menu, const char* sectionKey) {
        const std::string prefix = SectionForKey(sectionKey)->menuKey;
        std::size_t entries = 0;
        int firstRecord = -1;
        for (int n = 1; n <= kMaxRecordNumber; ++n) {
            const int key = FirstIndex(prefix + std::to_string(n));
            if (key < 0) {
                continue;
            }
            ++entries;
            if (firstRecord < 0) {
                firstRecord = key;
            }
            if (key + 1 >= Count()) {
                AtLine(key, menu + " record has no label line");
                continue;
            }
            CheckUnique(key + 1, menu + " label");
            CheckCaptionWidth(key + 1, menu);
            if (key + 2 >= Count()) {
                AtLine(key + 1, menu + " record has no target line");
                continue;
            }
            CheckRecordTarget(key + 2, menu, sectionKey);
        }
        if (firstRecord >= 0) {
            CheckMenuLength(firstRecord, menu, entries);
        }
    }

    // The record's own target, as choosing its label would act on it.
    void CheckRecordTarget(int index, const std::string& menu, const char* sectionKey) {
        const MenuChoice choice = ChooseCaptionAt(lines_, sectionKey, index - 1, PanelCount());
        switch (choice.action) {
        case ChoiceAction::StartGame:
            break;
        case ChoiceAction::StartProgram:
            CheckProgram(index, choice.opens, menu + " program");
            break;
        case ChoiceAction::Nothing:
            if (choice.target.empty()) {
                AtLine(index, "warning: empty " + menu + " target: choosing it does nothing");
            } else {
                AtLine(index, "warning: " + Quote(choice.target) + " does nothing in the " + menu +
                                  " menu");
            }
            break;
        case ChoiceAction::OpenPage:
            CheckPage(index, choice.opens, menu);
            break;
        }
    }

    // A page the web pane is asked for. The pane reads a command out of a page of the disc before
    // it shows it ("command_exit" ends the program, "claunch_" and a path starts that file of the
    // disc, and the other commands keep it from following the address), as out of a link.
    void CheckPage(int index, const std::string& page, const std::string& menu) {
        const std::string root = discAbs_ + "/";
        const bool web = IsWebAddress(page);
        const std::string address = web ? page : std::string(kLocalFileMark) + root + page;
        const WebAddress read = ReadWebAddress(address, root);
        const std::string doesNothing =
            "warning: the web pane does not follow " + Quote(page) + ": choosing it does nothing";
        switch (read.command) {
        case WebCommand::Command:
            if (!EqualsLower(read.argument, "exit")) {
                AtLine(index, doesNothing);
            }
            return;
        case WebCommand::Claunch:
            CheckPageLaunch(index, std::string(read.argument), menu);
            return;
        default:
            if (read.cancel) {
                AtLine(index, doesNothing);
                return;
            }
            break;
        }
        if (web) {
            return;
        }
        // A page may carry an anchor or a query after its file name.
        const std::string file = page.substr(0, page.find_first_of("#?"));
        if (!IsFile(file)) {
            AtLine(index, menu + " page " + Quote(file) + " not found");
        }
    }

    // A "claunch_" page starts a file of the disc, counted behind a drive root.
    void CheckPageLaunch(int index, const std::string& path, const std::string& menu) {
        const std::size_t longest = kMaxShellPath - kDriveRootLength;
        if (path.size() > longest) {
            AtLine(index, menu + " program path is " + std::to_string(path.size()) +
                              " characters long, more than the " + std::to_string(longest) +
                              " a page may start: " + Quote(path));
        } else if (!IsDiscRelativePath(path)) {
            AtLine(index, menu + " program " + Quote(path) + " names no file of the disc");
        } else if (!IsFile(path)) {
            AtLine(index, menu + " program " + Quote(path) + " not found");
        }
    }

    // The lines a reader sees as text: the start panel's, those of the demos shown, and the
    // menu captions.
    std::vector<int> ShownTextLines(int demos) const {
        std::vector<int> shown;
        const auto range = [&](int from, int to) {
            for (int i = std::max(from, 0); i <= to && i < Count(); ++i) {
                shown.push_back(i);
            }
        };
        if (const int begin = FirstIndex(BeginKey(0)), end = FirstIndex(EndKey(0));
            begin >= 0 && end > begin) {
            range(begin + 1, end - 1);
        }
        for (int n = 1; n <= demos; ++n) {
            const int begin = FirstIndex(BeginKey(n));
            if (begin < 0) {
                continue;
            }
            const int end = FirstIndex(EndKey(n));
            range(begin + kRecordTitle, begin + kRecordDescription + kRecordDescriptionLines - 1);
            range(begin + kRecordSupport, end > begin ? end - 1 : begin + kRecordSupport);
        }
        for (const char* key : {"utility", "add-ons"}) {
            const Section& section = *SectionForKey(key);
            const int begin = FirstIndex(section.menuKey);
            const int end = FirstIndex(section.menuEndKey);
            for (int name = begin + 1; begin >= 0 && name < end; name += 2) {
                shown.push_back(name);
            }
        }
        for (const char* key : {"support", "tobrik"}) {
            const std::string prefix = SectionForKey(key)->menuKey;
            for (int n = 1; n <= kMaxRecordNumber; ++n) {
                if (const int at = FirstIndex(prefix + std::to_string(n)); at >= 0) {
                    range(at + 1, at + 1);
                }
            }
        }
        return shown;
    }

    // Texts and banners that speak of demos the disc does not hold: a count that is not the
    // disc's, the title of a record the count leaves out, a banner that starts such a record's
    // program or a program among the demos' folders that no demo shown has. All are warnings: the
    // front end shows them as they are, but the reader is told of games that are not there.
    void CheckDemoMentions() {
        if (!spriteCount_) {
            return;
        }
        const int demos = *spriteCount_ - 1;
        const std::string held = std::to_string(demos) + (demos == 1 ? " demo" : " demos") + " (" +
                                 std::string(kSpriteCountKey) + " " +
                                 std::to_string(*spriteCount_) + ")";
        // Records past the count: the front end never shows them.
        struct LeftOut {
            int entry;
            std::string title;
            std::vector<std::string> programs;
        };
        std::vector<LeftOut> leftOut;
        for (int n = *spriteCount_; n <= kHighestRecord; ++n) {
            const int begin = FirstIndex(BeginKey(n));
            if (begin < 0 || begin + kRecordSecondProgram >= Count()) {
                continue;
            }
            LeftOut record{n, Line(begin + kRecordTitle), {}};
            const std::string& install = Line(begin + kRecordInstall);
            const std::string& second = Line(begin + kRecordSecondProgram);
            if (!install.empty() && install != kRecordNone) {
                record.programs.push_back(Lower(install));
            }
            if (!second.empty() && second != kRecordNone) {
                record.programs.push_back(Lower(kSecondProgramFolder + second));
            }
            leftOut.push_back(std::move(record));
        }
        for (const int i : ShownTextLines(demos)) {
            for (const DemoCountClaim& claim : DemoCountClaims(Line(i))) {
                const int says = claim.more ? claim.count + 1 : claim.count;
                if (says != demos) {
                    AtLine(i, "warning: the text says " + Quote(claim.phrase) +
                                  (claim.more ? ", " + std::to_string(says) + " in all," : "") +
                                  " but the disc holds " + held);
                }
            }
            for (const LeftOut& record : leftOut) {
                if (record.title.size() >= 4 && NamesAsWords(Line(i), record.title)) {
                    AtLine(i, "warning: the text names " + Quote(record.title) +
                                  ", the title of entry " + std::to_string(record.entry) +
                                  ", which the disc does not show: it holds " + held);
                }
            }
        }
        std::vector<std::pair<int, std::string>> programs;
        for (const LeftOut& record : leftOut) {
            for (const std::string& program : record.programs) {
                programs.emplace_back(record.entry, program);
            }
        }
        CheckBannerDemos(programs, demos, held);
    }

    static std::string Lower(std::string text) {
        for (char& c : text) {
            c = c == '\\' ? '/' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        return text;
    }

    // A banner that starts the program of a record the count leaves out, or a program in the
    // folder where the demos' own folders lie but in none of theirs.
    void CheckBannerDemos(const std::vector<std::pair<int, std::string>>& leftOut, int demos,
                          const std::string& held) {
        std::vector<std::string> demoFolders;
        std::vector<std::string> parents;
        for (int n = 1; n <= demos; ++n) {
            const int begin = FirstIndex(BeginKey(n));
            if (begin < 0 || begin + kRecordInstall >= Count() ||
                Line(begin + kRecordInstall) == kRecordNone) {
                continue;
            }
            const std::string folder = FolderOf(Line(begin + kRecordInstall));
            demoFolders.push_back(folder);
            // Demos in folders of their own under one folder ("Demos/Helix/setup.exe") say
            // where the demos' folders lie.
            if (!FolderOf(folder).empty()) {
                parents.push_back(FolderOf(folder));
            }
        }
        for (int n = 0; n <= kMaxBannerNumber; ++n) {
            const int key = FirstIndex(kBannerPrefix + std::to_string(n));
            if (key < 0 || key + 1 >= Count()) {
                continue;
            }
            const std::string& target = Line(key + 1);
            if (target.empty() || IsWebAddress(target)) {
                continue;
            }
            const std::string folder = FolderOf(target);
            const std::string program = Lower(target);
            bool named = false;
            for (const auto& [entry, leftOutProgram] : leftOut) {
                if (program == leftOutProgram) {
                    AtLine(key + 1, "warning: banner " + std::to_string(n) + " starts " +
                                        Quote(target) + ", the program of entry " +
                                        std::to_string(entry) +
                                        ", which the disc does not show: it holds " + held);
                    named = true;
                    break;
                }
            }
            const bool amongDemos =
                std::find(parents.begin(), parents.end(), FolderOf(folder)) != parents.end();
            const bool ofADemo =
                std::find(demoFolders.begin(), demoFolders.end(), folder) != demoFolders.end();
            if (!named && amongDemos && !ofADemo) {
                AtLine(key + 1, "warning: banner " + std::to_string(n) + " starts " +
                                    Quote(target) + ", in the demos' folder " +
                                    Quote(FolderOf(folder) + "/") +
                                    " but of no demo the disc shows: it holds " + held);
            }
        }
    }

    static std::string BannerPicture(int n) {
        return "engine/images/banners/banner" + std::to_string(n) + ".gif";
    }

    void CheckBanners() {
        bool anyPicture = false;
        for (int n = 0; n <= kMaxBannerNumber; ++n) {
            anyPicture = anyPicture || IsFile(BannerPicture(n));
            const int key = FirstIndex(kBannerPrefix + std::to_string(n));
            if (key < 0) {
                continue;
            }
            if (!IsFile(BannerPicture(n))) {
                AtLine(key, "banner picture " + Quote(BannerPicture(n)) +
                                " not found: this banner is never shown");
            }
            if (key + 1 >= Count()) {
                AtLine(key, "banner record has no target line");
                continue;
            }
            const std::string& target = Line(key + 1);
            if (target.empty()) {
                AtLine(key + 1, "warning: empty banner target: a click starts nothing");
            } else if (!IsWebAddress(target)) {
                CheckProgram(key + 1, target, "banner program");
            }
        }
        for (int n = 0; n <= kMaxBannerNumber; ++n) {
            if (Exists(BannerPicture(n))) {
                CheckBannerPicture(BannerPicture(n));
            }
        }
        if (Exists(kSideBannerFile)) {
            CheckBannerPicture(kSideBannerFile);
        }
        if (!anyPicture) {
            InFile(Display("engine/images/banners"), "no banner picture banner0.gif to banner" +
                                                         std::to_string(kMaxBannerNumber) +
                                                         ".gif: the centre banner cannot rotate");
        }
    }

    // A banner the front end would leave empty: refused by the reader or the banner limits, or
    // not decodable to the last frame.
    void CheckBannerPicture(const std::string& discPath) {
        std::string problem;
        try {
            const std::vector<uint8_t> bytes = ReadBoundedFile(Real(discPath), kBannerKind);
            InspectGif(bytes, Real(discPath));
            problem = BannerDecodeProblem(bytes);
        } catch (const Error& e) {
            problem = Reason(e, discPath);
        }
        if (!problem.empty()) {
            InFile(Display(discPath), "banner cannot be shown: " + problem);
        }
    }

    // Why a file was refused, without the file name the finding already gives.
    std::string Reason(const Error& e, const std::string& discPath) const {
        std::string reason = e.Detail();
        const std::string prefix = Real(discPath) + ": ";
        if (reason.compare(0, prefix.size(), prefix) == 0) {
            reason.erase(0, prefix.size());
        }
        return reason;
    }

    void CannotBeRead(const std::string& discPath, const Error& e) {
        const std::string reason = Reason(e, discPath);
        InFile(Display(discPath), std::string("cannot be read: ") + e.what() +
                                      (reason.empty() ? "" : " (" + reason + ")") +
                                      ": start-up fails");
    }

    // Loads an image-list file as start-up does, under the same budget; false (and a finding)
    // when start-up would refuse it.
    bool LoadPictures(const std::string& discPath, PictureCollection& into, PixelBudget& budget) {
        if (!Exists(discPath)) {
            return false; // reported with the other missing files
        }
        try {
            into.LoadFromFile(Real(discPath), &budget);
            return true;
        } catch (const Error& e) {
            CannotBeRead(discPath, e);
        }
        return false;
    }

    // A name that is there at all, even as something start-up then refuses (a pipe, a folder).
    bool Exists(const std::string& discPath) const {
        if (CurrentDisc().IsImage()) {
            return CurrentDisc().Stat(Real(discPath)).kind != DiscEntryKind::None;
        }
        std::error_code ec;
        return fs::exists(fs::symlink_status(Real(discPath), ec));
    }

    void CheckImageLists() {
        for (const std::string& file : RequiredFiles()) {
            if (file != kDiscDataFile && !Exists(file)) {
                InFile(Display(file), "missing: start-up fails");
            }
        }
        // The same files, readers, order and budget as start-up.
        PixelBudget budget(kMaxDiscPixels);
        if (Exists(kBackgroundFile)) {
            try {
                LoadBitmapFile(Real(kBackgroundFile), &budget);
            } catch (const Error& e) {
                CannotBeRead(kBackgroundFile, e);
            }
        }

        std::unordered_map<std::string, PictureCollection> lists;
        for (const ImageListFile& file : ImageListFiles()) {
            PictureCollection pictures;
            if (LoadPictures(file.path, pictures, budget)) {
                lists.emplace(file.collection, std::move(pictures));
            }
        }
        const auto loaded = [&](const char* collection) -> const PictureCollection* {
            const auto it = lists.find(collection);
            return it == lists.end() ? nullptr : &it->second;
        };

        if (const PictureCollection* panels = loaded("panels")) {
            for (const std::string& name : RequiredPanelNames()) {
                RequirePicture(*panels, "panels", name);
            }
        }
        if (const PictureCollection* top = loaded("top_panels")) {
            for (const std::string& name : RequiredTopPanelNames(discTwo_)) {
                RequirePicture(*top, "top_panels", name);
            }
        }
        if (!spriteCount_) {
            return; // without a usable count the slide pictures cannot be counted
        }
        const int n = *spriteCount_;
        if (const PictureCollection* slider = loaded("sliderlistA")) {
            const int need = SliderPicturesNeeded(n);
            const std::string shown = Display(PathOf("sliderlistA"));
            if (slider->Count() < need) {
                InFile(shown, "holds " + std::to_string(slider->Count()) +
                                  " pictures; spriteCount " + std::to_string(n) + " needs " +
                                  std::to_string(need) +
                                  " (panels, four database panels) and the start panel last");
            } else if (slider->Count() == need) {
                InFile(shown, "warning: the start panel (last picture) is also the fourth "
                              "database panel; add it after picture " +
                                  std::to_string(need - 1));
            }
        }
        if (const PictureCollection* thumbs = loaded("SubSliderA")) {
            const int need = ThumbnailPicturesNeeded(n);
            const std::string shown = Display(PathOf("SubSliderA"));
            if (thumbs->Count() < need) {
                InFile(shown, "holds " + std::to_string(thumbs->Count()) +
                                  " thumbnails; spriteCount " + std::to_string(n) + " needs " +
                                  std::to_string(need));
            } else if (thumbs->Count() == need) {
                InFile(shown, "warning: no spare thumbnail after the last: the disc editor "
                              "cannot open on this disc");
            }
        }
    }

    static std::string PathOf(const std::string& collection) {
        for (const ImageListFile& file : ImageListFiles()) {
            if (collection == file.collection) {
                return file.path;
            }
        }
        return collection;
    }

    void RequirePicture(const PictureCollection& pictures, const std::string& collection,
                        const std::string& name) {
        if (pictures.IndexOf(name) < 0) {
            InFile(Display(PathOf(collection)), "has no picture named \"" + name + "\"");
        }
    }

    std::string discArg_;
    CodePage page_;
    std::string discAbs_;
    std::string dataFile_;
    LineList lines_;
    std::unordered_map<std::string, int> first_;
    // A menu may name the same file many times; each is looked up on disk once.
    std::unordered_map<std::string, bool> isFile_;
    std::vector<LintFinding> findings_;
    int spriteLine_ = -1;
    std::optional<int> spriteCount_;
    bool discTwo_ = false;
};

const char* const kUsage =
    "Usage: kestrova-lint [--strict] DISC_DIR|IMAGE\n"
    "       kestrova-lint [--strict] --codepage N DISC_DIR|IMAGE\n"
    "Checks the disc data file engine/data/discdata.kvx and the image-list files of the disc\n"
    "in DISC_DIR, or in a CD image (.iso, .bin, .cue), against the limits of the front end. Prints "
    "one line per finding,\n"
    "FILE:LINE: message (LINE 0 when the finding is not tied to a line).\n"
    "Findings marked \"warning:\" are legal but probably not what the author meant.\n"
    "--codepage N reads the disc's texts in code page N, as the front end's option does\n"
    "(default 1252); lint says which page to try when the texts read like another one.\n"
    "Exit status: 0 clean or warnings only, 1 errors (or warnings with --strict),\n"
    "2 usage error or unreadable disc.\n";

} // namespace

std::vector<LintFinding> LintDisc(const std::string& discDir, CodePage page) {
    std::error_code ec;
    if (fs::is_directory(discDir, ec)) {
        return Linter(discDir, page).Run();
    }
    if (!IsDiscImageFile(discDir)) {
        throw Error(discDir + " is neither a folder nor a CD image");
    }
    std::shared_ptr<DiscFileSystem> image;
    try {
        image = OpenDiscImage(discDir);
    } catch (const Error& e) {
        throw Error(e.Detail());
    }
    // The image is the disc in use while it is checked, so every reader reads from it.
    const ScopedDisc inUse(std::move(image));
    return Linter(discDir, page).Run();
}

std::string FormatFinding(const LintFinding& finding) {
    // Findings quote the disc, which must not reach the terminal's controls.
    return TerminalSafe(finding.file + ":" + std::to_string(finding.line) + ": " + finding.message);
}

int RunLintTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::vector<std::string> rest = args;
    bool strict = false;
    CodePage page;
    while (!rest.empty() && (rest[0] == "--strict" || rest[0] == "--codepage")) {
        if (rest[0] == "--strict") {
            strict = true;
            rest.erase(rest.begin());
            continue;
        }
        int number = 0;
        const std::string value = rest.size() > 1 ? rest[1] : std::string();
        const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
        const std::optional<CodePage> chosen = CodePage::FromNumber(number);
        if (ec != std::errc() || end != value.data() + value.size() || !chosen) {
            err << "kestrova-lint: --codepage " << TerminalSafe(value)
                << " is not a code page the front end reads\n"
                << kUsage;
            return 2;
        }
        page = *chosen;
        rest.erase(rest.begin(), rest.begin() + 2);
    }
    if (rest.size() == 1 && (rest[0] == "--help" || rest[0] == "-h")) {
        out << kUsage;
        return 0;
    }
    if (rest.size() != 1 || rest[0].empty() || rest[0][0] == '-') {
        err << kUsage;
        return 2;
    }
    try {
        const std::vector<LintFinding> findings = LintDisc(rest[0], page);
        bool failed = false;
        for (const LintFinding& finding : findings) {
            out << FormatFinding(finding) << '\n';
            // A warning names something legal that may not be meant, such as a heading line.
            failed = failed || strict || finding.message.rfind("warning: ", 0) != 0;
        }
        return failed ? 1 : 0;
    } catch (const std::exception& e) {
        err << "kestrova-lint: " << TerminalSafe(e.what()) << '\n';
        return 2;
    }
}

} // namespace kestrova
