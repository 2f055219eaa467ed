#include "platform/disc_probe.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace kestrova {

DiscReport ProbeDisc(const FoundDisc& disc, const QString& cacheFolder) {
    DiscReport report;
    const QFileInfo info(QString::fromStdString(disc.path));
    report.fileName = info.fileName().toStdString();
    report.label = info.completeBaseName().toStdString();
    if (disc.form != DiscForm::Folder) {
        report.issueLine = "CD image";
        return report;
    }
    const QImage bg(info.filePath() + QStringLiteral("/engine/images/mainbg.bmp"));
    if (bg.isNull()) {
        report.fault = "Cannot open file engine\\images\\mainbg.bmp";
        return report;
    }
    report.issueLine = "Issue ?";
    report.thumbnail = bg.scaled(800, 600);
    return report;
}

QString ShelfCacheFolder() {
    return QDir::homePath() + QStringLiteral("/.cache/kestrova/shelf/");
}

} // namespace kestrova
