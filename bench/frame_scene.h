#pragma once
// The main screen of a disc at rest, as the frame benchmarks and the frame profiling loop draw it:
// the start panel down, the strip spread, a thumbnail hovered with its caption.

#include "engine/frame.h"
#include "engine/repeat_skipping_canvas.h"
#include "engine/startup.h"
#include "platform/dxdraw.h"

#include <QDir>
#include <QImage>

#include <string>

namespace kestrova {

struct FrameScene {
    MainState state;
    NullWebPane web;
    QImage buffer{800, 600, QImage::Format_RGB32};
    ImageCanvas canvas{&buffer};
    // The product's own path: the frame recorded, compared with the one before and passed on.
    RepeatSkippingCanvas repeatSkipping{canvas};

    explicit FrameScene(const std::string& disc) {
        QDir::setCurrent(QString::fromStdString(disc));
        Ports ports;
        ports.web = &web;
        DxDrawInitialize(state, ports, "");
        FormCreate(state);
        canvas.SetCanDraw(true);
        DXTimerActivate(state);
        Frames(60);
        const TSpriteRec& t = state.thumbSprites[state.spriteCount > 2 ? 2 : 1];
        state.mouseX = t.x + 10;
        state.mouseY = t.y + 10;
        Frames(10);
    }
    // Frames drawn straight on the back-buffer canvas.
    void Frames(int n) { FramesOn(canvas, n); }
    // Frames drawn through the repeat-skipping canvas, each passed on whole as if the buffer had
    // been written behind its back: everything drawn, plus the recording and the comparison.
    void FramesThroughRepeatSkipping(int n) {
        for (int i = 0; i < n; ++i) {
            repeatSkipping.Invalidate();
            FramesOn(repeatSkipping, 1);
        }
    }

  private:
    void FramesOn(Canvas& c, int n) {
        for (int i = 0; i < n; ++i) {
            FrameContext ctx{c, &web, [] { return std::string(); }, {}};
            DXTimerTimer(state, ctx);
        }
    }
};

} // namespace kestrova
