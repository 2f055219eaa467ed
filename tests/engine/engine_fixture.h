#pragma once
// A main-window state started on a fixture disc, and a canvas that records what a frame draws.

#include "engine/frame.h"
#include "engine/main_state.h"
#include "engine/ports.h"
#include "engine/startup.h"
#include "support/fixture_disc.h"

#include <memory>
#include <string>
#include <vector>

namespace kestrova::testing {

struct DrawOp {
    enum Kind { Item, Text, Frame, Fill } kind;
    int x = 0, y = 0, right = 0, bottom = 0;
    std::string text;
    TColor colour = 0;
    const PictureCollectionItem* item = nullptr;
    FontSpec font;
};

class RecordingCanvas : public Canvas {
  public:
    bool CanDraw() const override { return canDraw; }
    int Width() const override { return 800; }
    int Height() const override { return 600; }
    void DrawItem(const PictureCollectionItem& item, int x, int y, int) override {
        ops.push_back({DrawOp::Item, x, y, 0, 0, {}, 0, &item, {}});
    }
    void TextOut(int x, int y, const std::string& text, const FontSpec& font) override {
        ops.push_back({DrawOp::Text, x, y, 0, 0, text, font.colour, nullptr, font});
    }
    void FrameRect(int l, int t, int r, int b, TColor c) override {
        ops.push_back({DrawOp::Frame, l, t, r, b, {}, c, nullptr, {}});
    }
    void FillRect(int l, int t, int r, int b, TColor c) override {
        ops.push_back({DrawOp::Fill, l, t, r, b, {}, c, nullptr, {}});
    }
    int FontPixelHeight(const FontSpec& f) const override { return f.pixelHeight; }
    void Flip() override { ++flips; }

    const DrawOp* FindText(const std::string& text) const {
        for (const auto& op : ops) {
            if (op.kind == DrawOp::Text && op.text == text) {
                return &op;
            }
        }
        return nullptr;
    }
    bool HasFrame(int l, int t, int r, int b, TColor c) const {
        for (const auto& op : ops) {
            if (op.kind == DrawOp::Frame && op.x == l && op.y == t && op.right == r &&
                op.bottom == b && op.colour == c) {
                return true;
            }
        }
        return false;
    }

    std::vector<DrawOp> ops;
    bool canDraw = true;
    int flips = 0;
};

// Writes a fixture disc into a fresh temporary folder, makes it the current directory and runs
// the start-up. The folder is removed and the old directory restored afterwards.
class StartedDisc {
  public:
    explicit StartedDisc(const std::string& variant = "ok") : disc_(variant) {
        Ports ports;
        ports.web = &web;
        DxDrawInitialize(state, ports, disc_.Root());
        FormCreate(state);
    }

    // One frame; the canvas keeps only this frame's drawing.
    void Frame() {
        canvas.ops.clear();
        FrameContext ctx{canvas, &web, [this] { return disc_.Root(); },
                         [this] { ++curtainHidden; }};
        DXTimerTimer(state, ctx);
    }
    void Frames(int n) {
        for (int i = 0; i < n; ++i) {
            Frame();
        }
    }
    void Activate() { DXTimerActivate(state); }

    MainState state;
    RecordingCanvas canvas;
    NullWebPane web;
    int curtainHidden = 0;

  private:
    FixtureDiscFolder disc_;
};

// Every port the pointer and the keys reach, each a recording or do-nothing double, for tests that
// drive the state's handlers directly.
struct RecordedPorts {
    RecordingLauncher launcher;
    RecordingSound sounds;
    NullReadme readme;
    NullWindow window;
    NullGame game;
    NullWebPane web;
    RecordingLog log;
    Ports ports = [this] {
        Ports p;
        p.launcher = &launcher;
        p.sounds = &sounds;
        p.readme = &readme;
        p.window = &window;
        p.game = &game;
        p.web = &web;
        p.log = &log;
        return p;
    }();
};

} // namespace kestrova::testing
