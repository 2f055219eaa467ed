// Time from the shelf's window shown to every thumbnail drawn: the shelf on a folder of discs,
// in a window large enough to show every card, until each disc is probed and the view has drawn
// them. Run once with an empty cache folder and once more with the same folder to see both.
// Usage: shelf_thumbnails --discs FOLDER --cache FOLDER --program KESTROVA [--threads N]
// Prints: "N discs, N thumbnails drawn after MS ms"

#include "platform/disc_probe.h"
#include "ui/shelf_model.h"
#include "ui/shelf_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstring>

using namespace kestrova;

int main(int argc, char** argv) {
    QString discs;
    QString cache;
    QString program;
    int threads = 3;
    for (int i = 1; i + 1 < argc; i += 2) {
        const QString value = QString::fromLocal8Bit(argv[i + 1]);
        if (std::strcmp(argv[i], "--discs") == 0) {
            discs = value;
        } else if (std::strcmp(argv[i], "--cache") == 0) {
            cache = value;
        } else if (std::strcmp(argv[i], "--program") == 0) {
            program = value;
        } else if (std::strcmp(argv[i], "--threads") == 0) {
            threads = value.toInt();
        }
    }
    if (discs.isEmpty() || cache.isEmpty() || program.isEmpty()) {
        std::fputs("usage: shelf_thumbnails --discs FOLDER --cache FOLDER --program KESTROVA "
                   "[--threads N]\n",
                   stderr);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    SetDiscProbeProgram(program);
    // A settings file of its own naming only the folder measured; nothing is written to it.
    QTemporaryDir config;
    const QString settings = config.filePath(QStringLiteral("kestrova.conf"));
    QFile file(settings);
    if (!file.open(QIODevice::WriteOnly)) {
        return 1;
    }
    file.write("[shelf]\nfolders=" + discs.toUtf8() + "\n");
    file.close();

    ShelfWindowOptions options;
    options.settingsPath = settings;
    options.cacheFolder = cache;
    options.program = program;
    options.keepSettings = false;
    options.threads = threads;
    ShelfWindow shelf(options);
    // Ten cards a row, five rows: every card of fifty in view.
    shelf.setGeometry(0, 0, 10 * 228 + 60, 5 * 240 + 120);
    QElapsedTimer clock;
    QObject::connect(&shelf, &ShelfWindow::AllDrawn, &app, [&] {
        const auto& all = shelf.Model().Discs();
        int thumbnails = 0;
        for (const ShelfDisc& d : all) {
            thumbnails += shelf.Model().Thumbnail(QString::fromStdString(d.path)).isNull() ? 0 : 1;
        }
        // The first answer may be the empty shelf before the folder is read.
        if (!all.empty() && shelf.Model().AllProbed()) {
            std::printf("%zu discs, %d thumbnails drawn after %lld ms\n", all.size(), thumbnails,
                        clock.elapsed());
            app.quit();
        }
    });
    clock.start();
    shelf.Start();
    QTimer::singleShot(300000, &app, [&] {
        std::fputs("shelf_thumbnails: not every thumbnail was drawn within 5 minutes\n", stderr);
        app.exit(1);
    });
    return QApplication::exec();
}
