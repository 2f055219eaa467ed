// The cost of one whole frame on the sample disc, against one plain copy of the 800 x 600 back
// buffer measured in the same run: drawn straight on the back buffer, and drawn as the front end
// draws it, through the repeat-skipping canvas with every frame passed on whole.
//
//   build/release/bench/frame_bench [--disc DIR]

#include "frame_scene.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

using namespace kestrova;

namespace {

std::string g_disc = KESTROVA_SOURCE_DIR "/sample-disc";

FrameScene& TheScene() {
    static FrameScene scene(g_disc);
    return scene;
}

void BM_PlainCopyOfBackBuffer(benchmark::State& st) {
    FrameScene& scene = TheScene();
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
    FrameScene& scene = TheScene();
    for (auto _ : st) {
        scene.Frames(1);
        benchmark::DoNotOptimize(scene.buffer.constBits());
    }
}
BENCHMARK(BM_WholeFrame);

// The same frame as the front end draws it: through the canvas that records every call and passes
// on what differs from the frame before, here told each time that everything does.
void BM_WholeFrameThroughRepeatSkipping(benchmark::State& st) {
    FrameScene& scene = TheScene();
    for (auto _ : st) {
        scene.FramesThroughRepeatSkipping(1);
        benchmark::DoNotOptimize(scene.buffer.constBits());
    }
}
BENCHMARK(BM_WholeFrameThroughRepeatSkipping);

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
