#pragma once
// Start-up of the main window: the assets are loaded and every sprite is laid out
// (`DxDrawInitialize`), then the shared state takes its start values (`FormCreate`).

#include "platform/services.h"
#include "shell/main_state.h"

#include <string>

namespace kestrova {

struct StartupServices {
    WebPane* web = nullptr;
    GifControl* adbanner = nullptr;
    GifControl* GIFImage1 = nullptr;
    GifControl* GIFImage2 = nullptr;
    // The current directory string, ending with the separator.
    std::string currentDirectory;
    long long nowMs = 0;
};

// Loads the background, the five image lists, the banners and the disc data file, reads the
// keys and lays out every sprite. Throws kestrova::Error with the reader's message on a missing
// or broken file, a bad "*Spritecount" or a picture name the image lists lack.
void DxDrawInitialize(MainState& state, StartupServices& services);

// Start values of the shared state and the colour table.
void FormCreate(MainState& state);

// The closing sequence: stops the timers; the window destroys its controls afterwards.
void FormClose(MainState& state);

// The names the front end looks up in `panels` and `top_panels`.
const std::vector<std::string>& PanelNames();
const std::vector<std::string>& TopPanelNames();

} // namespace kestrova
