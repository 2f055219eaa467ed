#pragma once
// The disc's pictures (the background and the five image lists) read and decoded ahead of
// start-up, on a thread of their own, so that the work overlaps the toolkit's start and the
// building of the windows. Start-up takes them where it would have read them itself: a fault met
// reading them is thrown there, in its place among start-up's checks and before any frame.

#include "pictures/picture_collection.h"

#include <array>
#include <future>

namespace kestrova {

// What steps 2 and 3 of start-up load, every picture under one pixel budget for the disc.
struct DiscPictures {
    PictureCollectionItem background;
    // In the order of ImageListFiles(): panels, slider, slider2, top_panels, banners; each built
    // as it loads.
    std::array<PictureCollection, 5> lists;
};

// Reads them from the disc in use; throws kestrova::Error as start-up would.
DiscPictures ReadDiscPictures();

class PicturesAhead {
  public:
    // Starts reading the disc in use; nothing else may read it until Take() returns.
    PicturesAhead();
    // Waits for the reading to end, when it was never taken.
    ~PicturesAhead();
    PicturesAhead(const PicturesAhead&) = delete;
    PicturesAhead& operator=(const PicturesAhead&) = delete;

    // Waits for the pictures; throws what reading them threw. Once only.
    DiscPictures Take();

  private:
    std::future<DiscPictures> result_;
};

} // namespace kestrova
