#include "platform/desktop_settings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kestrova {
namespace {

QString WriteSettings(const QTemporaryDir& dir, const QByteArray& text) {
    const QString path = dir.filePath(QStringLiteral("kestrova.conf"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    return path;
}

TEST(DesktopSettings, FileNamedUnderTheConfigFolder) {
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/tmp/cfg");
    EXPECT_EQ(DesktopSettingsPath(), QStringLiteral("/tmp/cfg/kestrova/kestrova.conf"));
    // A relative folder is not a config folder: the home folder's is used.
    qputenv("XDG_CONFIG_HOME", "relative");
    EXPECT_EQ(DesktopSettingsPath(),
              QDir::homePath() + QStringLiteral("/.config/kestrova/kestrova.conf"));
    qputenv("XDG_CONFIG_HOME", saved);
}

TEST(DesktopSettings, KeysAreReadAndMissingOnesKeepTheirDefaults) {
    QTemporaryDir dir;
    const DesktopSettings none = LoadDesktopSettings(dir.filePath(QStringLiteral("absent.conf")));
    EXPECT_TRUE(none.wineCommand.isEmpty());
    EXPECT_EQ(none.windowScale, 0);
    EXPECT_FALSE(none.smoothFullScreen);

    const DesktopSettings all = LoadDesktopSettings(WriteSettings(
        dir, "[wine]\ncommand=/opt/wine/bin/wine\nprefix=/home/u/.kv\n[window]\nscale=3\n"
             "[fullscreen]\nsmooth=true\n"));
    EXPECT_EQ(all.wineCommand, QStringLiteral("/opt/wine/bin/wine"));
    EXPECT_EQ(all.winePrefix, QStringLiteral("/home/u/.kv"));
    EXPECT_EQ(all.windowScale, 3);
    EXPECT_TRUE(all.smoothFullScreen);
}

TEST(DesktopSettings, ControllerIsOnUnlessTurnedOff) {
    QTemporaryDir dir;
    EXPECT_TRUE(LoadDesktopSettings(dir.filePath(QStringLiteral("absent.conf"))).controllerEnabled);
    EXPECT_TRUE(LoadDesktopSettings(WriteSettings(dir, "[window]\nscale=2\n")).controllerEnabled);
    EXPECT_FALSE(
        LoadDesktopSettings(WriteSettings(dir, "[controller]\nenabled=false\n")).controllerEnabled);
    EXPECT_FALSE(
        LoadDesktopSettings(WriteSettings(dir, "[controller]\nenabled=0\n")).controllerEnabled);
    EXPECT_TRUE(
        LoadDesktopSettings(WriteSettings(dir, "[controller]\nenabled=true\n")).controllerEnabled);
}

TEST(DesktopSettings, UnreadableValuesAndNonFilesGiveDefaults) {
    QTemporaryDir dir;
    EXPECT_EQ(LoadDesktopSettings(WriteSettings(dir, "[window]\nscale=huge\n")).windowScale, 0);
    EXPECT_EQ(LoadDesktopSettings(WriteSettings(dir, "[window]\nscale=-2\n")).windowScale, 0);
    EXPECT_EQ(LoadDesktopSettings(WriteSettings(dir, "[window]\nscale=400\n")).windowScale, 0);
    EXPECT_EQ(LoadDesktopSettings(dir.path()).windowScale, 0); // a folder
    EXPECT_EQ(LoadDesktopSettings(QStringLiteral("/dev/zero")).windowScale, 0);
}

TEST(DesktopSettings, EachDiscKeepsItsCodePageByItsPath) {
    const QTemporaryDir dir;
    const DesktopSettings s = LoadDesktopSettings(WriteSettings(dir, "[discs]\n"
                                                                     "1\\path=/media/cd/\n"
                                                                     "1\\codepage=1251\n"
                                                                     "2\\path=/discs/jp.iso\n"
                                                                     "2\\codepage=932\n"
                                                                     "3\\path=/discs/bad\n"
                                                                     "3\\codepage=65001\n"
                                                                     "4\\path=\n"
                                                                     "4\\codepage=1250\n"
                                                                     "5\\path=" +
                                                                         dir.path().toUtf8() +
                                                                         "/disc\n"
                                                                         "5\\codepage=1253\n"
                                                                         "size=5\n"));
    EXPECT_EQ(DiscCodePage(s, QStringLiteral("/media/cd")), 1251);
    EXPECT_EQ(DiscCodePage(s, QStringLiteral("/media/./cd/")), 1251);
    EXPECT_EQ(DiscCodePage(s, QStringLiteral("/discs/jp.iso")), 932);
    // A page the program does not read, and an entry without a path, are no settings.
    EXPECT_FALSE(DiscCodePage(s, QStringLiteral("/discs/bad")));
    EXPECT_EQ(s.discCodePages.size(), 3);
    EXPECT_FALSE(DiscCodePage(s, QStringLiteral("/media/cd2")));
    // A relative disc is read from the current folder.
    const QString saved = QDir::currentPath();
    QDir::setCurrent(dir.path());
    EXPECT_EQ(DiscCodePage(s, QStringLiteral("disc")), 1253);
    QDir::setCurrent(saved);
}

} // namespace
} // namespace kestrova
