// The program's icon comes in every size drawn ahead from its SVG, and showing it loads no SVG
// library; the sizes shipped are what the SVG draws at each.

#include "platform/program_icon.h"
#include "platform/program_icon_sizes.h"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace kestrova {
namespace {

bool SvgLibraryMapped() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray all = maps.readAll();
    return all.contains("libQt6Svg") || all.contains("libqsvg");
}

QString SourcePath(const char* relative) {
    return QStringLiteral(KESTROVA_SOURCE_DIR "/") + QString::fromLatin1(relative);
}

TEST(ProgramIcon, EverySizeIsThereAndDrawsWithNoSvgLibrary) {
    const bool mappedBefore = SvgLibraryMapped();
    const QIcon icon = ProgramIcon();
    ASSERT_FALSE(icon.isNull());
    const QList<QSize> sizes = icon.availableSizes();
    EXPECT_EQ(sizes.size(), static_cast<qsizetype>(kProgramIconSizes.size()));
    for (const int size : kProgramIconSizes) {
        EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
        const QImage drawn = icon.pixmap(QSize(size, size)).toImage();
        ASSERT_EQ(drawn.size(), QSize(size, size)) << size;
        // The disc in the middle is opaque; the corners are clear.
        EXPECT_EQ(qAlpha(drawn.pixel(size / 2, size / 4)), 255) << size;
        EXPECT_EQ(qAlpha(drawn.pixel(0, 0)), 0) << size;
    }
    // A window carrying it, shown.
    QWidget window;
    window.setWindowIcon(icon);
    window.show();
    EXPECT_EQ(window.windowIcon().availableSizes(), sizes);
    if (mappedBefore) {
        GTEST_SKIP() << "another test in this process loaded the SVG library first";
    }
    EXPECT_FALSE(SvgLibraryMapped());
}

// The PNGs are made by scripts/render-icon-sizes.sh; one left behind after the SVG changed fails
// here.
TEST(ProgramIcon, TheSizesShippedAreTheSvgDrawnAtEachSize) {
    if (!QImageReader::supportedImageFormats().contains("svg")) {
        GTEST_SKIP() << "no SVG image support installed";
    }
    for (const int size : kProgramIconSizes) {
        QImageReader reader(SourcePath("packaging/kestrova.svg"), "svg");
        reader.setScaledSize(QSize(size, size));
        const QImage fromSvg = reader.read().convertToFormat(QImage::Format_ARGB32);
        const QImage shipped = QImage(SourcePath("packaging/icons/kestrova-%1.png").arg(size))
                                   .convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(fromSvg.size(), QSize(size, size)) << size;
        ASSERT_EQ(shipped.size(), QSize(size, size)) << size;
        // Another toolkit version may smooth edges a little differently; a changed drawing
        // differs by far more.
        int worst = 0;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const QRgb a = fromSvg.pixel(x, y);
                const QRgb b = shipped.pixel(x, y);
                worst =
                    std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                              std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b))});
            }
        }
        EXPECT_LE(worst, 24) << "kestrova-" << size
                             << ".png is not the SVG: run scripts/render-icon-sizes.sh";
    }
}

} // namespace
} // namespace kestrova
