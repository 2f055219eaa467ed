#pragma once
// The variables the main window's handlers share, described once: name, type, start value, who
// gives the start value, and the values a test may set. This list makes the fields of
// `MainState`, the start values `FormCreate` sets, the state dump and the harness's `set` line.

#include <climits>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace kestrova {

// Who gives a variable its start value.
enum class StartBy {
    FormCreate, // the window's creation
    Disc,       // start-up, from the disc's files
};

// The values a variable may be set to from outside the handlers (the replay harness). Indices of
// the sprite arrays are bounded so a test can never point past them.
struct SetRange {
    int lo = INT_MIN;
    int hi = INT_MAX;
};
constexpr SetRange kAnyValue{};
constexpr SetRange kPanelIndex{0, 25};
constexpr SetRange kThumbIndex{-1, 25};
constexpr SetRange kReadOnly{1, 0};

using Lines = std::vector<std::string>;

// X(type, name, start value, StartBy, SetRange)
#define KESTROVA_HANDLER_VARIABLES(X)                                                              \
    X(int, spriteCount, 0, Disc, kReadOnly)                                                        \
    X(int, targetPanel, 0, FormCreate, kPanelIndex)                                                \
    X(int, shownPanel, 0, FormCreate, kPanelIndex)                                                 \
    X(int, slideState, 0, FormCreate, kAnyValue)                                                   \
    X(int, textFirst, 0, FormCreate, kAnyValue)                                                    \
    X(int, textLast, 0, FormCreate, kAnyValue)                                                     \
    X(int, captionLine, 0, FormCreate, kAnyValue)                                                  \
    X(int, mouseX, 0, FormCreate, kAnyValue)                                                       \
    X(int, mouseY, 0, FormCreate, kAnyValue)                                                       \
    X(int, hoverThumb, 0, FormCreate, kThumbIndex)                                                 \
    X(int, prevHoverThumb, -1, FormCreate, kThumbIndex)                                            \
    X(int, stripSpeed, 0, FormCreate, kAnyValue)                                                   \
    X(int, spreadStep, 0, FormCreate, kAnyValue)                                                   \
    X(bool, spreading, true, FormCreate, kAnyValue)                                                \
    X(int, infoRestY, 0, Disc, kReadOnly)                                                          \
    X(int, menuHeight, 0, FormCreate, kAnyValue)                                                   \
    X(int, menuHover, 0, FormCreate, kAnyValue)                                                    \
    X(int, menuLeft, 0, FormCreate, kAnyValue)                                                     \
    X(int, menuButtonTop, 0, FormCreate, kAnyValue)                                                \
    X(int, menuWidth, 0, FormCreate, kAnyValue)                                                    \
    X(int, menuTop, 0, FormCreate, kAnyValue)                                                      \
    X(std::string, hoverKey, "", FormCreate, kAnyValue)                                            \
    X(std::string, menuKey, "none", FormCreate, kAnyValue)                                         \
    X(std::string, pendingUrl, "", FormCreate, kAnyValue)                                          \
    X(bool, navigatePending, false, FormCreate, kAnyValue)                                         \
    X(std::string, pendingLaunch, "", FormCreate, kAnyValue)                                       \
    X(bool, curtainUp, true, FormCreate, kReadOnly)                                                \
    X(bool, firstText, true, FormCreate, kAnyValue)                                                \
    X(bool, noPanelYet, true, FormCreate, kAnyValue)                                               \
    X(bool, pageSliding, false, FormCreate, kAnyValue)                                             \
    X(bool, discTwo, false, Disc, kReadOnly)                                                       \
    X(int, topPanelDefault, 0, Disc, kReadOnly)                                                    \
    X(std::string, sysReqLabel, "", Disc, kAnyValue)                                               \
    X(std::string, techSupportLabel, "", Disc, kAnyValue)                                          \
    X(bool, timerActivated, false, FormCreate, kReadOnly)                                          \
    X(bool, altHeld, false, FormCreate, kAnyValue)                                                 \
    X(std::string, typedText, "", FormCreate, kAnyValue)                                           \
    X(int, bannerNumber, 1, FormCreate, kAnyValue)                                                 \
    X(int, lastCaptionThumb, -1, FormCreate, kThumbIndex)                                          \
    X(Lines, menusource, {}, FormCreate, kAnyValue)

struct MainState;

// One variable of the table, reached through a member pointer.
struct HandlerVariable {
    using Member = std::variant<int MainState::*, bool MainState::*, std::string MainState::*,
                                Lines MainState::*>;
    const char* name;
    Member member;
    StartBy startBy;
    SetRange range;
};

const std::vector<HandlerVariable>& HandlerVariableTable();
const HandlerVariable* FindHandlerVariable(const std::string& name);

// The start values of every variable `FormCreate` gives one.
void ApplyStartValues(MainState& state);

// Sets a variable from text, as the harness's `set` line does: whole numbers, "true"/"false",
// text as given, lines separated by "|". Returns what was wrong, or nothing when it was set.
std::optional<std::string> SetHandlerVariable(MainState& state, const std::string& name,
                                              const std::string& value);

} // namespace kestrova
