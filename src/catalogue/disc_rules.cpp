#include "catalogue/disc_rules.h"

#include "base/text.h"

#include <algorithm>

namespace kestrova {

namespace {

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A line of the disc data, or "" for an index outside the file: a lookup that misses must not
// stop whoever asked.
std::string LineOrEmpty(const LineList& lines, long long index) {
    return index >= 0 && index < lines.Count() ? lines.Get(index) : std::string();
}

// Line `offset` of entry n's record.
std::string EntryLineOrEmpty(const LineList& lines, int entry, int offset) {
    return LineOrEmpty(lines, static_cast<long long>(lines.IndexOf(BeginKey(entry))) + offset);
}

std::vector<std::string> DemoTitles(const LineList& lines, int spriteCount) {
    std::vector<std::string> titles;
    const int count = std::min(spriteCount, kMaxSpriteCount);
    for (int n = 1; n < count; ++n) {
        if (EntryLineOrEmpty(lines, n, kRecordInstall) != kRecordNone) {
            titles.push_back(EntryLineOrEmpty(lines, n, kRecordTitle));
        }
    }
    return titles;
}

// Every other line of a block: names, each followed by what it starts.
std::vector<std::string> PairNames(const LineList& lines, const Section& section) {
    const std::vector<std::string> block = lines.BlockLines(section.menuKey, section.menuEndKey);
    std::vector<std::string> names;
    for (std::size_t i = 0; i < block.size(); i += 2) {
        names.push_back(block[i]);
    }
    return names;
}

std::vector<std::string> RecordLabels(const LineList& lines, const Section& section) {
    std::vector<std::string> labels;
    for (int n = 1; n <= kMaxRecordNumber; ++n) {
        const int key = lines.IndexOf(section.menuKey + std::to_string(n));
        if (key > 0) {
            labels.push_back(LineOrEmpty(lines, key + 1LL));
        }
    }
    return labels;
}

// A support or mascot target.
void FollowTarget(MenuChoice& choice, const Section& section) {
    const std::string& target = choice.target;
    if (target.empty()) {
        return; // an item with nothing after its caption leads nowhere
    }
    switch (ClassifyTarget(target)) {
    case TargetKind::ShowGame:
        if (section.playsGame) {
            choice.action = ChoiceAction::StartGame;
        }
        break;
    case TargetKind::Program:
        choice.action = ChoiceAction::StartProgram;
        choice.opens = ProgramOfTarget(target);
        break;
    case TargetKind::Web:
    case TargetKind::Page:
        choice.action = ChoiceAction::OpenPage;
        choice.opens = target;
        break;
    }
}

} // namespace

std::vector<std::string> MenuCaptions(const LineList& lines, std::string_view sectionKey,
                                      int spriteCount) {
    const Section* section = SectionForKey(sectionKey);
    if (section == nullptr) {
        return {};
    }
    switch (section->menu) {
    case MenuSource::Demos:
        return DemoTitles(lines, spriteCount);
    case MenuSource::Pairs:
        return PairNames(lines, *section);
    case MenuSource::Records:
        return RecordLabels(lines, *section);
    case MenuSource::None:
        break;
    }
    return {};
}

MenuChoice ChooseCaption(const LineList& lines, std::string_view sectionKey,
                         std::string_view caption, int spriteCount) {
    return ChooseCaptionAt(lines, sectionKey, lines.IndexOf(caption), spriteCount);
}

MenuChoice ChooseCaptionAt(const LineList& lines, std::string_view sectionKey, int captionLine,
                           int spriteCount) {
    MenuChoice choice;
    choice.captionLine = captionLine;
    if (captionLine <= 0) {
        return choice; // line 0 never counts, and a caption not in the file acts on nothing
    }
    choice.target = LineOrEmpty(lines, captionLine + 1LL);
    const Section* section = SectionForKey(sectionKey);
    if (section != nullptr && section->menu == MenuSource::Records) {
        FollowTarget(choice, *section);
        return choice;
    }
    choice.panelStep = true;
    const std::optional<int> entry =
        EntryNumberFromStartLine(LineOrEmpty(lines, captionLine - 1LL));
    // Only an entry that has a panel can be selected.
    if (entry && *entry < spriteCount) {
        choice.panel = entry;
    }
    if (section != nullptr && section->menu == MenuSource::Pairs) {
        choice.action = ChoiceAction::StartProgram;
        choice.opens = choice.target;
    }
    return choice;
}

std::optional<int> EntryNumberFromStartLine(std::string_view line) {
    // Only the seventh and eighth characters are read, whatever comes before them.
    if (line.size() == kShortStartLineLength && IsDigit(line[6])) {
        return line[6] - '0';
    }
    if (line.size() == kLongStartLineLength && IsDigit(line[6]) && IsDigit(line[7])) {
        return (line[6] - '0') * 10 + (line[7] - '0');
    }
    return std::nullopt;
}

bool HasStartLineLength(std::string_view line) {
    return line.size() == kShortStartLineLength || line.size() == kLongStartLineLength;
}

TargetKind ClassifyTarget(std::string_view target) {
    if (target == kShowGameTarget) {
        return TargetKind::ShowGame;
    }
    if (target.size() > 4 && StartsWith(target, kProgramTargetPrefix)) {
        return TargetKind::Program;
    }
    if (IsWebAddress(target)) {
        return TargetKind::Web;
    }
    return TargetKind::Page;
}

bool IsWebAddress(std::string_view target) {
    return StartsWith(target, kWebAddressPrefix);
}

std::string_view ProgramOfTarget(std::string_view target) {
    return StartsWith(target, kProgramTargetPrefix) ? target.substr(kProgramTargetPrefix.size())
                                                    : target;
}

std::optional<int> NumberedKey(std::string_view line, std::string_view prefix) {
    if (line.size() <= prefix.size() || !EqualsIgnoreCase(line.substr(0, prefix.size()), prefix)) {
        return std::nullopt;
    }
    const std::string_view digits = line.substr(prefix.size());
    if (digits.size() > 9 || (digits.size() > 1 && digits[0] == '0')) {
        return std::nullopt;
    }
    int value = 0;
    for (char c : digits) {
        if (!IsDigit(c)) {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

std::string EntryTitle(const LineList& lines, int entry) {
    return EntryLineOrEmpty(lines, entry, kRecordTitle);
}

std::string EntryInstallProgram(const LineList& lines, int entry) {
    return EntryLineOrEmpty(lines, entry, kRecordInstall);
}

std::optional<std::string> EntrySecondProgram(const LineList& lines, int entry) {
    const int start = lines.IndexOf(BeginKey(entry));
    if (start <= 0) {
        return std::nullopt;
    }
    return kSecondProgramFolder +
           LineOrEmpty(lines, start + static_cast<long long>(kRecordSecondProgram));
}

std::string EntryReadmePath(const LineList& lines, int entry) {
    return kReadmeFolder + EntryLineOrEmpty(lines, entry, kRecordReadme);
}

} // namespace kestrova
