#pragma once
// What the shelf shows of a disc before it is opened.

#include "shelf/found_disc.h"

#include <QImage>
#include <QString>

#include <string>

namespace kestrova {

struct DiscReport {
    std::string label;
    std::string issueLine;
    std::string fileName;
    std::string fault; // empty: starts
    QImage thumbnail;  // 800x600 first frame, null on fault
};

DiscReport ProbeDisc(const FoundDisc& disc, const QString& cacheFolder);
QString ShelfCacheFolder();

} // namespace kestrova
