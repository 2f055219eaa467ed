#pragma once
// The ceiling on decoded pixels: every picture a disc makes the front end decode is counted from
// its header before its pixels are allocated.

#include "disc/disc_limits.h"

#include <cstdint>
#include <string>

namespace kestrova {

class PixelBudget {
  public:
    explicit PixelBudget(int64_t limit = kMaxDiscPixels) : limit_(limit) {}

    // Takes `pixels` from what is left. When they do not fit, nothing is taken and
    // "Invalid stream format" is raised, its Detail() naming `discPath` and the limit.
    void Charge(int64_t pixels, const std::string& discPath);
    int64_t Used() const { return used_; }
    int64_t Limit() const { return limit_; }

  private:
    int64_t limit_;
    int64_t used_ = 0;
};

// Raises "Invalid stream format" (Detail: the file and the limit) when one image-list file's
// pictures hold more than kMaxImageListPixels.
void CheckImageListPixels(int64_t pixels, const std::string& discPath);

} // namespace kestrova
