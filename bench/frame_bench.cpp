// The cost of one whole frame on the sample disc, against one plain copy of the 800 x 600 back
// buffer measured in the same run.
//
//   build/release/bench/frame_bench [--disc DIR]

#include "engine/frame.h"
#include "engine/startup.h"
#include "platform/dxdraw.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

using namespace kestrova;

namespace {

std::string g_disc = KESTROVA_SOURCE_DIR "/sample-disc";

struct Scene {
    MainState state;
    NullWebPane web;
    QImage buffer{800, 600, QImage::Format_RGB32};
    ImageCanvas canvas{&buffer};

    Scene() {
        QDir::setCurrent(QString::fromStdString(g_disc));
        Ports ports;
        ports.web = &web;
        DxDrawInitialize(state, ports, "");
        FormCreate(state);
        canvas.SetCanDraw(true);
        DXTimerActivate(state);
        // Settle: the start panel down, the strip spread, a thumbnail hovered with its caption.
        Frames(60);
        const TSpriteRec& t = state.thumbSprites[state.spriteCount > 2 ? 2 : 1];
        state.mouseX = t.x + 10;
        state.mouseY = t.y + 10;
        Frames(10);
    }
    void Frames(int n) {
        for (int i = 0; i < n; ++i) {
            FrameContext ctx{canvas, &web, "", {}};
            DXTimerTimer(state, ctx);
        }
    }
};

Scene& TheScene() {
    static Scene scene;
    return scene;
}

void BM_PlainCopyOfBackBuffer(benchmark::State& st) {
    Scene& scene = TheScene();
    const PictureCollectionItem& bg = scene.state.backgroundSurface;
    const QImage source(reinterpret_cast<const uchar*>(bg.Surface().data()), bg.SurfaceWidth(),
                        bg.SurfaceHeight(), bg.SurfaceWidth() * 4, QImage::Format_RGB32);
    for (auto _ : st) {
        QPainter p(&scene.buffer);
        p.drawImage(0, 0, source);
        p.end();
        benchmark::DoNotOptimize(scene.buffer.constBits());
    }
}
BENCHMARK(BM_PlainCopyOfBackBuffer);

void BM_WholeFrame(benchmark::State& st) {
    Scene& scene = TheScene();
    for (auto _ : st) {
        scene.Frames(1);
        benchmark::DoNotOptimize(scene.buffer.constBits());
    }
}
BENCHMARK(BM_WholeFrame);

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--disc") == 0) {
            g_disc = argv[i + 1];
        }
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
