#include "engine/pictures_ahead.h"

#include "engine/disc_requirements.h"
#include "pictures/bitmap_codec.h"

#include <utility>

namespace kestrova {

DiscPictures ReadDiscPictures() {
    DiscPictures read;
    PixelBudget budget(kMaxDiscPixels);
    read.background.SetPicture(LoadBitmapFile(kBackgroundFile, &budget));
    for (std::size_t i = 0; i < ImageListFiles().size(); ++i) {
        read.lists[i].SetSurfaceInitialized(true);
        read.lists[i].LoadFromFile(ImageListFiles()[i].path, &budget);
    }
    return read;
}

PicturesAhead::PicturesAhead() : result_(std::async(std::launch::async, ReadDiscPictures)) {}

PicturesAhead::~PicturesAhead() {
    if (result_.valid()) {
        result_.wait();
    }
}

DiscPictures PicturesAhead::Take() {
    return result_.get();
}

} // namespace kestrova
