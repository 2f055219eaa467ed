#include "app/shelf_start.h"

#include "platform/desktop_settings.h"
#include "platform/disc_probe.h"
#include "ui/shelf_window.h"

#include <QApplication>

namespace kestrova {

int RunShelf(const CommandLine& cli) {
    ShelfWindowOptions options;
    options.settingsPath = DesktopSettingsPath();
    options.cacheFolder = ShelfCacheFolder();
    options.program = QCoreApplication::applicationFilePath();
    // The front end on a disc gets the options the shelf was given.
    if (cli.scale != 0) {
        options.passOn << QStringLiteral("--scale") << QString::number(cli.scale);
    }
    const std::pair<bool, const char*> flags[] = {
        {cli.fullScreen, "--fullscreen"}, {cli.verbose, "--verbose"},
        {cli.lightWeb, "--light-web"},    {cli.noLaunch, "--no-launch"},
        {cli.editor, "--editor"},         {cli.editorStation, "--editor-station"}};
    for (const auto& [given, option] : flags) {
        if (given) {
            options.passOn << QString::fromLatin1(option);
        }
    }
    options.fullScreen = cli.fullScreen;
    // Tests watch the shelf through these.
    options.statePath = qEnvironmentVariable("KESTROVA_SHELF_STATE");
    options.snapshotPath = qEnvironmentVariable("KESTROVA_SHELF_SNAPSHOT");
    ShelfWindow shelf(options);
    shelf.Start();
    return QApplication::exec();
}

} // namespace kestrova
