#pragma once
// Start-up of the main window: the assets are loaded and every sprite is laid out
// (`DxDrawInitialize`), then the shared state takes its start values (`FormCreate`).

#include "engine/main_state.h"
#include "engine/ports.h"

#include <string>

namespace kestrova {

class PicturesAhead;

// Loads the background, the five image lists, the banners and the disc data file, reads the
// keys and lays out every sprite. Throws kestrova::Error with the reader's message on a missing
// or broken file, a bad "*Spritecount" or a picture name the image lists lack; the error's
// Detail() names the file and the reason. Nothing of it is logged here: whoever catches the
// error says it, once.
// `currentDirectory` ends with the separator; the web pane and the banners come from `ports`
// (any of them may be missing). With `ahead`, the pictures are taken from it (see
// pictures_ahead.h) instead of being read here.
void DxDrawInitialize(MainState& state, Ports& ports, const std::string& currentDirectory,
                      PicturesAhead* ahead = nullptr);

// Steps 2 and 3 of start-up: the background and the five image lists, all under one pixel
// budget for the disc (the disc linter loads them through here too).
void LoadDiscPictures(MainState& state);

// Start values of the shared state and the colour table.
void FormCreate(MainState& state);

// The closing sequence: stops the timers; the window destroys its controls afterwards.
void FormClose(MainState& state);

} // namespace kestrova
