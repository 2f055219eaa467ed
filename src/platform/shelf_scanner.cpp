#include "platform/shelf_scanner.h"

#include <exception>

namespace kestrova {

ShelfScanner::ShelfScanner(QString cacheFolder, int threads, QObject* parent)
    : QObject(parent), cacheFolder_(std::move(cacheFolder)) {
    pool_.setMaxThreadCount(threads);
}

ShelfScanner::~ShelfScanner() {
    pool_.clear();
    pool_.waitForDone();
}

// Each answer is handed to the window's thread as a call on this object: a call still queued
// when the scanner goes is dropped with it.
void ShelfScanner::FindIn(const QString& folder) {
    pool_.start([this, folder] {
        FindResult result = FindDiscs(folder.toStdString());
        QMetaObject::invokeMethod(
            this, [this, folder, result] { Q_EMIT FolderRead(folder, result); },
            Qt::QueuedConnection);
    });
}

void ShelfScanner::Describe(const QString& path) {
    pool_.start([this, path] {
        std::optional<FoundDisc> disc = DescribeDisc(path.toStdString());
        QMetaObject::invokeMethod(
            this, [this, path, disc] { Q_EMIT Described(path, disc); }, Qt::QueuedConnection);
    });
}

void ShelfScanner::Probe(const FoundDisc& disc) {
    pool_.start([this, disc] {
        DiscReport report;
        try {
            report = ProbeDisc(disc, cacheFolder_);
        } catch (const std::exception& e) {
            report.fault = e.what();
        }
        if (!report.thumbnail.isNull()) {
            // Made small here, so the window holds a fiftieth of the pixels and draws no scaling.
            report.thumbnail = report.thumbnail.scaled(kShelfThumbnailSize, Qt::KeepAspectRatio,
                                                       Qt::SmoothTransformation);
        }
        const QString path = QString::fromStdString(disc.path);
        QMetaObject::invokeMethod(
            this, [this, path, report] { Q_EMIT Probed(path, report); }, Qt::QueuedConnection);
    });
}

} // namespace kestrova
