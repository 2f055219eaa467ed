#pragma once
// The notice a program start leaves over the menu for a few seconds: "Starting NAME…" as it is
// asked for, and in its place the reason in the reader's words when the launcher reports that
// the start failed. It is drawn in the frame, as a box in the menu's style, and goes at its time
// on the engine's clock or at the next click.

#include "base/code_page.h"
#include "engine/main_state.h"
#include "engine/ports.h"

#include <string>

namespace kestrova {

// How long each kind of notice stays up.
inline constexpr long long kStartNoticeMs = 3000;
inline constexpr long long kFailureNoticeMs = 6000;

// The name a start goes by: the entry's title when it has one, else the file's own name (the
// last part of its path; a web address as a whole), decoded from the disc's code page into
// UTF-8. Cut to a length a notice can show.
std::string LaunchName(const std::string& title, const std::string& file, CodePage page);

// What the notice says of a start of `name` that ended so (UTF-8 text).
std::string NoticeText(LaunchResult result, const std::string& name);

// A start of `name` is asked for: the notice says so. Returns the ticket the launcher reports on.
long long NoticeStart(MainState& state, const std::string& name);

// A start of `name` failed before it reached the launcher.
void NoticeFailure(MainState& state, const std::string& name, LaunchResult result);

// The launcher's report on a ticket. A failure takes the notice's place whatever it shows; a
// start that went as asked leaves the notice as it is.
void LaunchEnded(MainState& state, long long ticket, LaunchResult result);

// A click, or the notice's time is up.
void DismissNotice(MainState& state);
void launchnoticeTimer(MainState& state);

// Draws the notice over everything else of the frame, inside the window's client area: just
// above the banners, or just above the web pane while the pane is on screen and would cover it.
void DrawLaunchNotice(MainState& state, Canvas& canvas, const WebPane* web);

// Where the box stands in the back buffer, right and bottom exclusive.
struct NoticeBox {
    int left = 0, top = 0, right = 0, bottom = 0;
};
NoticeBox LaunchNoticeBox(MainState& state, const Canvas& canvas, const WebPane* web);

} // namespace kestrova
