#include "platform/shelf_store.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kestrova {
namespace {

TEST(ShelfStore, WhatIsWrittenIsReadBackAndTheOtherGroupsStay) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cfg/kestrova/kestrova.conf"));
    QDir().mkpath(dir.filePath(QStringLiteral("cfg/kestrova")));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[wine]\ncommand=/opt/wine\n");
    }
    ShelfSettings s;
    s.folders = {QStringLiteral("/discs"), QStringLiteral("/more discs")};
    s.discs = {QStringLiteral("/x/issue 1.iso")};
    s.removed = {"/discs/old"};
    s.recent = {{"/discs/a", 1700000000}, {"/x/issue 1.iso", 5}};
    s.labels = {{"/discs/a", "June, '99 = best"}};
    s.lastDisc = QStringLiteral("/discs/a");
    s.geometry = QByteArray("\x01\x00\xff", 3);
    s.fullScreen = true;
    ASSERT_EQ(SaveShelfSettings(s, path), QString());

    const ShelfSettings back = LoadShelfSettings(path);
    EXPECT_EQ(back.folders, s.folders);
    EXPECT_EQ(back.discs, s.discs);
    EXPECT_EQ(back.removed, s.removed);
    ASSERT_EQ(back.recent.size(), 2u);
    EXPECT_EQ(back.recent[0].path, "/discs/a");
    EXPECT_EQ(back.recent[0].lastOpened, 1700000000);
    EXPECT_EQ(back.labels, s.labels);
    EXPECT_EQ(back.lastDisc, s.lastDisc);
    EXPECT_EQ(back.geometry, s.geometry);
    EXPECT_TRUE(back.fullScreen);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("command=/opt/wine"));
}

TEST(ShelfStore, NoFileGivesTheDefaultFoldersAndAnEmptyListKeepsNone) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kestrova.conf"));
    EXPECT_EQ(LoadShelfSettings(path).folders,
              (QStringList{QDir::homePath() + QStringLiteral("/Kestrova"),
                           QDir::homePath() + QStringLiteral("/.local/share/kestrova/discs")}));
    ShelfSettings s;
    ASSERT_EQ(SaveShelfSettings(s, path), QString());
    EXPECT_TRUE(LoadShelfSettings(path).folders.isEmpty());
}

TEST(ShelfStore, AFailedWriteSaysSo) {
    // A folder no one may make files in, the superuser included.
    const QString error = SaveShelfSettings(ShelfSettings{}, QStringLiteral("/proc/kestrova.conf"));
    EXPECT_EQ(error, QStringLiteral("Cannot write the settings file /proc/kestrova.conf"));
    // A folder that cannot be made: a file stands in its place.
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("kestrova")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_TRUE(SaveShelfSettings(ShelfSettings{}, dir.filePath(QStringLiteral("kestrova/k.conf")))
                    .startsWith(QStringLiteral("Cannot make the folder")));
}

TEST(ShelfStore, AFolderInThePlaceOfTheFileIsRefused) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("k.conf"));
    QDir().mkpath(path);
    EXPECT_FALSE(SaveShelfSettings(ShelfSettings{}, path).isEmpty());
}

} // namespace
} // namespace kestrova
