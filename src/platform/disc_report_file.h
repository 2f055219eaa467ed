#pragma once
// A probe's answer on disk: a small facts file (JSON) and, for a disc that starts, the first
// frame as a PNG. The probing child writes one, the shelf's cache keeps them, and both are read
// back as untrusted files: bounded, and a picture of any other size is no thumbnail.

#include "platform/disc_probe.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <string>

namespace kestrova {

inline constexpr qint64 kMaxReportFactsBytes = 64 * 1024;
inline constexpr qint64 kMaxReportPictureBytes = 8 * 1024 * 1024;
inline constexpr int kThumbnailWidth = 800;
inline constexpr int kThumbnailHeight = 600;

// The facts a report is filed under, so a cached one is used only for the disc it was made for.
struct ReportKey {
    std::string path;
    long long size = 0;
    long long modifiedSeconds = 0;
};

// Writes `facts` and `picture` (the latter only when the report has a thumbnail) through the
// safe writer; false with `error` saying why.
bool SaveDiscReport(const DiscReport& report, const ReportKey& key, const QString& facts,
                    const QString& picture, std::string* error);

// The report in `facts` and `picture`; nothing when missing, unreadable, made for another key
// (when `key` is given) or with a thumbnail of another size.
std::optional<DiscReport> LoadDiscReport(const QString& facts, const QString& picture,
                                         const ReportKey* key);

} // namespace kestrova
