// Loading each image-list file of the sample disc as the front end loads it at start-up (read,
// headers checked, every picture decoded, every item built), in bytes of file per second.
//
//   build/release/bench/image_list_bench [--disc DIR]

#include "pictures/picture_collection.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

using namespace kestrova;

namespace {

void LoadImageList(benchmark::State& st, const std::string& path, int64_t bytes) {
    for (auto _ : st) {
        PictureCollection collection;
        collection.SetSurfaceInitialized(true);
        collection.LoadFromFile(path);
        benchmark::DoNotOptimize(collection.Count());
    }
    st.SetBytesProcessed(static_cast<int64_t>(st.iterations()) * bytes);
}

} // namespace

int main(int argc, char** argv) {
    std::string disc = KESTROVA_SOURCE_DIR "/sample-disc";
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--disc") == 0) {
            disc = argv[i + 1];
        }
    }
    namespace fs = std::filesystem;
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(fs::path(disc) / "engine" / "images", error)) {
        if (entry.is_regular_file() && entry.path().extension() == ".dxg") {
            files.push_back(entry.path());
        }
    }
    if (files.empty()) {
        std::fprintf(stderr, "image_list_bench: no .dxg files under %s/engine/images\n",
                     disc.c_str());
        return 1;
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        const auto bytes = static_cast<int64_t>(fs::file_size(file));
        benchmark::RegisterBenchmark(("BM_LoadImageList/" + file.filename().string()).c_str(),
                                     LoadImageList, file.string(), bytes)
            ->Unit(benchmark::kMicrosecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
