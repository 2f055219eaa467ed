#include "ui/editor_files.h"

#include "base/error.h"
#include "editor/disc_editor.h"
#include "pictures/bitmap_codec.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageReader>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

namespace kestrova {

QImage ToQImage(const Picture& picture, std::optional<uint32_t> key) {
    if (picture.IsEmpty() ||
        picture.pixels.size() !=
            static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height)) {
        return {};
    }
    QImage image(picture.width, picture.height,
                 key ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    for (int y = 0; y < picture.height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(image.scanLine(y));
        const uint32_t* from = picture.pixels.data() + static_cast<std::size_t>(y) *
                                                           static_cast<std::size_t>(picture.width);
        if (!key) {
            std::copy(from, from + picture.width, row);
            continue;
        }
        for (int x = 0; x < picture.width; ++x) {
            row[x] = (from[x] & 0xFFFFFFu) == *key ? 0u : (from[x] | 0xFF000000u);
        }
    }
    return image;
}

Picture FromQImage(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    Picture picture;
    picture.width = rgb.width();
    picture.height = rgb.height();
    picture.bitDepth = 24;
    picture.pixels.reserve(static_cast<std::size_t>(rgb.width()) *
                           static_cast<std::size_t>(rgb.height()));
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            picture.pixels.push_back(row[x] | 0xFF000000u);
        }
    }
    return picture;
}

QString QtFileFilter(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        // Qt reads the patterns from the last brackets of the description, blank-separated.
        const int bracket = description.lastIndexOf(QLatin1String(" ("));
        if (bracket >= 0 && description.endsWith(QLatin1Char(')'))) {
            description.truncate(bracket);
        }
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        entries.append(description + QLatin1String(" (") + patterns + QLatin1Char(')'));
    }
    return entries.join(QLatin1String(";;"));
}

std::optional<std::string> EditorPictureDialog::Choose() {
    ++openings_;
    if (scripted_) {
        if (answers_.empty()) {
            return std::nullopt;
        }
        std::optional<std::string> answer = std::move(answers_.front());
        answers_.pop_front();
        return answer;
    }
    const QString file =
        QFileDialog::getOpenFileName(parent_, QString(), QString(), QtFileFilter(kPictureFilter));
    if (file.isEmpty()) {
        return std::nullopt;
    }
    return file.toStdString();
}

Picture EditorPictureFiles::Load(const std::string& path) {
    const QFileInfo info(QString::fromStdString(path));
    const std::string suffix = info.suffix().toLower().toStdString();
    const std::string name = info.fileName().toStdString();
    const bool bitmap = suffix == "bmp" || suffix == "dib";
    const bool qtKind = suffix == "png" || suffix == "jpg" || suffix == "jpeg" || suffix == "gif" ||
                        suffix == "ico";
    if (!bitmap && !qtKind) {
        throw Error("Unknown picture file extension (." + info.suffix().toStdString() + ")");
    }
    if (!info.isFile()) {
        ThrowCannotOpen(path);
    }
    if (info.size() > kMaxFileBytes) {
        throw Error("The picture " + name + " is too large to load");
    }
    if (bitmap) {
        QFile file(info.filePath());
        if (!file.open(QIODevice::ReadOnly)) {
            ThrowCannotOpen(path);
        }
        const QByteArray bytes = file.readAll();
        const std::span<const uint8_t> data(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                            static_cast<std::size_t>(bytes.size()));
        // A ".dib" file is either a whole bitmap file or the packed bitmap alone.
        if (bytes.startsWith("BM") || suffix == "bmp") {
            return DecodeBitmapFile(data);
        }
        return DecodePackedDib(data);
    }
    QImageReader reader(info.filePath());
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > kMaxSide || size.height() > kMaxSide)) {
        throw Error("The picture " + name + " is too large to load");
    }
    const QImage image = reader.read();
    if (image.isNull()) {
        throw Error("The picture " + name +
                    " cannot be read: " + reader.errorString().toStdString());
    }
    if (image.width() > kMaxSide || image.height() > kMaxSide) {
        throw Error("The picture " + name + " is too large to load");
    }
    return FromQImage(image);
}

void EditorMessageBox::ShowMessage(const std::string& text) {
    if (!quiet_) {
        QMessageBox::warning(parent_, QApplication::applicationDisplayName(),
                             QString::fromStdString(text));
    }
}

UnwrittenAnswer EditorMessageBox::AskAboutUnwritten(const std::string& text) {
    if (quiet_) {
        if (answers_.empty()) {
            return UnwrittenAnswer::Cancel;
        }
        const UnwrittenAnswer answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    QMessageBox box(QMessageBox::Warning, QApplication::applicationDisplayName(),
                    QString::fromStdString(text), QMessageBox::NoButton, parent_);
    QPushButton* write = box.addButton(QStringLiteral("Write"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(QStringLiteral("Discard"), QMessageBox::DestructiveRole);
    box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(write);
    box.exec();
    if (box.clickedButton() == write) {
        return UnwrittenAnswer::Write;
    }
    return box.clickedButton() == discard ? UnwrittenAnswer::Discard : UnwrittenAnswer::Cancel;
}

} // namespace kestrova
