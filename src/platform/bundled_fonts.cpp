#include "platform/bundled_fonts.h"

#include "platform/fonts_ahead.h"

#include <QFontDatabase>
#include <QResource>

// Resources of a static library must be registered by hand, from the global namespace.
static void InitFontResources() {
    Q_INIT_RESOURCE(fonts);
}

namespace kestrova {

namespace {

BundledFontFamilies RegisterFaces() {
    // Registering reads the system's font configuration first: if the fonts' thread is reading
    // it now, this waits for that reading rather than doing it a second time.
    ReadSystemFontConfiguration();
    InitFontResources();
    for (const char* file : {"LiberationSans-Regular.ttf", "LiberationSans-Bold.ttf",
                             "LiberationSans-Italic.ttf", "LiberationSans-BoldItalic.ttf",
                             "DejaVuSansCondensed.ttf", "DejaVuSansCondensed-Bold.ttf"}) {
        // The faces are read where they lie in the program, not copied out first.
        const QString path = QStringLiteral(":/fonts/") + QLatin1String(file);
        const QResource stored(path);
        if (stored.isValid() && stored.compressionAlgorithm() == QResource::NoCompression &&
            stored.size() > 0) {
            QFontDatabase::addApplicationFontFromData(
                QByteArray::fromRawData(reinterpret_cast<const char*>(stored.data()),
                                        static_cast<qsizetype>(stored.size())));
        } else {
            QFontDatabase::addApplicationFont(path);
        }
    }
    return BundledFontFamilies{QStringLiteral("Liberation Sans"),
                               QStringLiteral("DejaVu Sans Condensed")};
}

} // namespace

const BundledFontFamilies& BundledFonts() {
    // A local static is made once, and a second thread arriving meanwhile waits for it.
    static const BundledFontFamilies families = RegisterFaces();
    return families;
}

} // namespace kestrova
