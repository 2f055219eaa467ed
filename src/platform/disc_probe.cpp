#include "platform/disc_probe.h"

#include <QDir>

namespace kestrova {

DiscReport ProbeDisc(const FoundDisc& disc, const QString&) {
    DiscReport report;
    report.fileName = disc.path;
    report.fault = "not probed yet";
    return report;
}

QString ShelfCacheFolder() {
    return QDir::homePath() + QStringLiteral("/.cache/kestrova/shelf/");
}

} // namespace kestrova
