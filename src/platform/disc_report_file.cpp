#include "platform/disc_report_file.h"

#include "base/safe_file_writer.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

namespace kestrova {

namespace {

// Bumped when the facts or the picture change meaning, so older cached reports are made again.
constexpr int kReportFormat = 1;

bool WriteThrough(const QString& path, const QByteArray& bytes, std::string* error) {
    SafeWriteOptions options;
    options.followLink = false;
    SafeFileWriter writer(path.toStdString(), options);
    if (writer.Write(bytes.constData(), static_cast<std::size_t>(bytes.size())) &&
        writer.Commit()) {
        return true;
    }
    if (error) {
        *error = writer.Failure() ? writer.Failure()->Text() : path.toStdString();
    }
    return false;
}

std::optional<QByteArray> ReadBounded(const QString& path, qint64 most) {
    QFile file(path);
    // Only a regular file: the cache is the user's own, but a pipe put there must not stall the
    // shelf.
    if (!QFileInfo(path).isFile() || QFileInfo(path).isSymLink() ||
        !file.open(QIODevice::ReadOnly) || file.size() > most) {
        return std::nullopt;
    }
    QByteArray bytes = file.read(most + 1);
    if (bytes.size() > most) {
        return std::nullopt;
    }
    return bytes;
}

QString Text(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

bool SaveDiscReport(const DiscReport& report, const ReportKey& key, const QString& facts,
                    const QString& picture, std::string* error) {
    if (!report.thumbnail.isNull()) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!report.thumbnail.save(&buffer, "PNG")) {
            if (error) {
                *error = picture.toStdString() + ": the picture could not be encoded";
            }
            return false;
        }
        if (!WriteThrough(picture, png, error)) {
            return false;
        }
    }
    QJsonObject o;
    o[QStringLiteral("format")] = kReportFormat;
    o[QStringLiteral("path")] = Text(key.path);
    o[QStringLiteral("size")] = QString::number(key.size);
    o[QStringLiteral("modified")] = QString::number(key.modifiedSeconds);
    o[QStringLiteral("label")] = Text(report.label);
    o[QStringLiteral("issueLine")] = Text(report.issueLine);
    o[QStringLiteral("fileName")] = Text(report.fileName);
    o[QStringLiteral("fault")] = Text(report.fault);
    o[QStringLiteral("faultDetail")] = Text(report.faultDetail);
    o[QStringLiteral("thumbnail")] = !report.thumbnail.isNull();
    // The facts last: a report is whole once they are there.
    return WriteThrough(facts, QJsonDocument(o).toJson(QJsonDocument::Compact), error);
}

std::optional<DiscReport> LoadDiscReport(const QString& facts, const QString& picture,
                                         const ReportKey* key) {
    const auto bytes = ReadBounded(facts, kMaxReportFactsBytes);
    if (!bytes) {
        return std::nullopt;
    }
    const QJsonDocument doc = QJsonDocument::fromJson(*bytes);
    if (!doc.isObject()) {
        return std::nullopt;
    }
    const QJsonObject o = doc.object();
    if (o.value(QStringLiteral("format")).toInt() != kReportFormat) {
        return std::nullopt;
    }
    if (key &&
        (o.value(QStringLiteral("path")).toString().toStdString() != key->path ||
         o.value(QStringLiteral("size")).toString() != QString::number(key->size) ||
         o.value(QStringLiteral("modified")).toString() != QString::number(key->modifiedSeconds))) {
        return std::nullopt;
    }
    DiscReport report;
    report.label = o.value(QStringLiteral("label")).toString().toStdString();
    report.issueLine = o.value(QStringLiteral("issueLine")).toString().toStdString();
    report.fileName = o.value(QStringLiteral("fileName")).toString().toStdString();
    report.fault = o.value(QStringLiteral("fault")).toString().toStdString();
    report.faultDetail = o.value(QStringLiteral("faultDetail")).toString().toStdString();
    if (o.value(QStringLiteral("thumbnail")).toBool()) {
        const auto png = ReadBounded(picture, kMaxReportPictureBytes);
        if (!png) {
            return std::nullopt;
        }
        QImage image;
        if (!image.loadFromData(*png, "PNG") || image.width() != kThumbnailWidth ||
            image.height() != kThumbnailHeight) {
            return std::nullopt;
        }
        report.thumbnail = image.convertToFormat(QImage::Format_RGB32);
    }
    // A report says either why the disc does not start or how it starts.
    if (report.fault.empty() == report.thumbnail.isNull()) {
        return std::nullopt;
    }
    return report;
}

} // namespace kestrova
