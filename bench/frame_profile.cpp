// The frame of frame_bench in a plain loop, for counting its instructions under callgrind (wall
// clock is too noisy on a shared machine to tell small changes apart):
//
//   valgrind --tool=callgrind --dump-instr=no --toggle-collect='*DrawProfiledFrames*'
//       build/release/bench/frame_profile [--disc DIR] [--frames N] [--repeat-skipping]
//
// Only the frames inside DrawProfiledFrames are counted; the scene has settled before them, so
// every count divided by N is the cost of one frame at rest.

#include "frame_scene.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

[[gnu::noinline]] void DrawProfiledFrames(kestrova::FrameScene& scene, int frames,
                                          bool repeatSkipping) {
    if (repeatSkipping) {
        scene.FramesThroughRepeatSkipping(frames);
    } else {
        scene.Frames(frames);
    }
}

} // namespace

int main(int argc, char** argv) {
    std::string disc = KESTROVA_SOURCE_DIR "/sample-disc";
    int frames = 200;
    bool repeatSkipping = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--disc") == 0 && i + 1 < argc) {
            disc = argv[++i];
        } else if (std::strcmp(argv[i], "--frames") == 0 && i + 1 < argc) {
            frames = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--repeat-skipping") == 0) {
            repeatSkipping = true;
        }
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    kestrova::FrameScene scene(disc);
    // One frame of each path before counting, so caches of glyphs and runs are warm.
    scene.Frames(1);
    scene.FramesThroughRepeatSkipping(1);
    DrawProfiledFrames(scene, frames, repeatSkipping);
    std::printf("%d frames drawn\n", frames);
    return 0;
}
