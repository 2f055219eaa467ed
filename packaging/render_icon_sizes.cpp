// Draws the program's SVG icon at each size the program carries as a PNG
// (packaging/icons/kestrova-<N>.png): the program then shows its icon with no SVG library loaded.
// Run by scripts/render-icon-sizes.sh whenever kestrova.svg changes.
//   kestrova_render_icon_sizes <kestrova.svg> <output folder>

#include "platform/program_icon_sizes.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QImageReader>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <icon.svg> <output folder>\n", argv[0]);
        return 2;
    }
    const QString svg = QString::fromLocal8Bit(argv[1]);
    const QDir out(QString::fromLocal8Bit(argv[2]));
    for (const int size : kestrova::kProgramIconSizes) {
        QImageReader reader(svg, "svg");
        reader.setScaledSize(QSize(size, size));
        const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
        if (image.isNull()) {
            std::fprintf(stderr, "%s: cannot draw %s: %s\n", argv[0], argv[1],
                         qPrintable(reader.errorString()));
            return 1;
        }
        const QString file = out.filePath(QStringLiteral("kestrova-%1.png").arg(size));
        if (!image.save(file, "png")) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], qPrintable(file));
            return 1;
        }
    }
    return 0;
}
