#pragma once
// Small files for tests that read from disc: a scratch folder of the test's own, and an animated
// GIF of any size and frame count.

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace kestrova::testing {

// A folder under the system's temporary folder, removed with everything in it at the end.
class ScratchFolder {
  public:
    explicit ScratchFolder(const std::string& name)
        : path_(std::filesystem::temp_directory_path() /
                ("kestrova-" + name + "-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // Writes `bytes` to the file `name` in the folder and returns its path.
    std::string Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path_ / name, std::ios::binary) << bytes;
        return (path_ / name).string();
    }
    const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path path_;
};

// A GIF with a logical screen of `w` × `h` and `frames` one-pixel frames of `delayCs` hundredths
// of a second each.
inline std::string AnimatedGif(int w, int h, int frames, int delayCs = 2) {
    std::string g = "GIF89a";
    for (int v : {w & 0xFF, w >> 8, h & 0xFF, h >> 8}) {
        g += static_cast<char>(v);
    }
    g += std::string("\x80\x00\x00\xFF\xA0\x20\x00\x00\x00", 9);
    for (int i = 0; i < frames; ++i) {
        g += std::string("\x21\xF9\x04\x00", 4);
        g += static_cast<char>(delayCs & 0xFF);
        g += static_cast<char>(delayCs >> 8);
        g += std::string("\x00\x00", 2);
        g += std::string("\x2C\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00", 15);
    }
    return g + ";";
}

} // namespace kestrova::testing
