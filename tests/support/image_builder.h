#pragma once
// CD images of small folders, built at test time by tests/support/make_image.py (genisoimage,
// installed by scripts/setup.sh).

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kestrova {

// Builds the image of `folder` in `out` ("joliet", "plain", "rockridge", "bincue", "mode1",
// "mode2", "mode2cue", "nosync", as make_image.py takes them); false when the tool failed.
bool BuildImage(const std::string& flavour, const std::filesystem::path& folder,
                const std::filesystem::path& out);

std::vector<uint8_t> ReadAll(const std::filesystem::path& file);
void WriteAll(const std::filesystem::path& file, const std::vector<uint8_t>& bytes);

} // namespace kestrova
