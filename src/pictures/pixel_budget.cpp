#include "pictures/pixel_budget.h"

#include "base/error.h"

namespace kestrova {

namespace {

[[noreturn]] void Refuse(const std::string& discPath, int64_t pixels, int64_t limit,
                         const std::string& what) {
    throw Error("Invalid stream format", discPath + ": its pictures need " +
                                             std::to_string(pixels) + " pixels, more than the " +
                                             std::to_string(limit) + "-pixel limit for " + what);
}

} // namespace

void PixelBudget::Charge(int64_t pixels, const std::string& discPath) {
    if (pixels < 0 || pixels > limit_ - used_) {
        Refuse(discPath, used_ + pixels, limit_, "all pictures of a disc together");
    }
    used_ += pixels;
}

void CheckImageListPixels(int64_t pixels, const std::string& discPath) {
    if (pixels > kMaxImageListPixels) {
        Refuse(discPath, pixels, kMaxImageListPixels, "one image-list file");
    }
}

} // namespace kestrova
