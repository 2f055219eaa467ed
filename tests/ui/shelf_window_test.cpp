#include "ui/shelf_window.h"

#include "platform/disc_probe.h"
#include "support/fixture_disc.h"
#include "ui/shelf_model.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace kestrova {
namespace {

// A shelf on folders of its own, its discs probed by the built front end.
class ShelfWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetDiscProbeProgram(QStringLiteral(KESTROVA_BINARY_DIR "/src/app/kestrova"));
        QDir().mkpath(Path("shelf"));
        WriteFixtureDisc(Path("shelf/a").toStdString(), "ok");
        WriteFixtureDisc(Path("elsewhere/b").toStdString(), "ok");
        WriteFixtureDisc(Path("more/c").toStdString(), "no-background");
        QFile note(Path("note.txt"));
        ASSERT_TRUE(note.open(QIODevice::WriteOnly));
        note.write("not a disc");
        note.close();
        settingsPath_ = Path("config/kestrova.conf");
        QDir().mkpath(Path("config"));
        QFile settings(settingsPath_);
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
        settings.write("[shelf]\nfolders=" + Path("shelf").toUtf8() + "\n");
    }

    QString Path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

    ShelfWindowOptions Options() const {
        ShelfWindowOptions o;
        o.settingsPath = settingsPath_;
        o.cacheFolder = Path("cache");
        o.program = QStringLiteral("/bin/false");
        return o;
    }

    // Runs the event loop until every disc is read and drawn.
    static bool Settle(ShelfWindow& shelf) {
        QEventLoop loop;
        bool drawn = false;
        const auto connection = QObject::connect(&shelf, &ShelfWindow::AllDrawn, &loop, [&] {
            drawn = true;
            loop.quit();
        });
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);
        loop.exec();
        QObject::disconnect(connection);
        return drawn;
    }

    static QStringList Paths(ShelfWindow& shelf) {
        QStringList out;
        for (int row = 0; row < shelf.Model().rowCount(); ++row) {
            out << shelf.Model().index(row).data(ShelfModel::PathRole).toString();
        }
        return out;
    }

    QTemporaryDir dir_;
    QString settingsPath_;
};

TEST_F(ShelfWindowTest, DroppedDiscsAndFoldersJoinTheShelfAndAreKept) {
    ShelfWindow shelf(Options());
    shelf.Start();
    ASSERT_TRUE(Settle(shelf));
    EXPECT_EQ(Paths(shelf), QStringList{Path("shelf/a")});

    shelf.AddDropped({Path("elsewhere/b"), Path("more"), Path("note.txt")});
    // The dropped folder is read, then its disc probed: settled when every answer is in.
    while (Paths(shelf).size() < 3 || !shelf.Model().AllProbed()) {
        ASSERT_TRUE(Settle(shelf));
    }
    EXPECT_EQ(Paths(shelf), (QStringList{Path("shelf/a"), Path("elsewhere/b"), Path("more/c")}));
    EXPECT_TRUE(shelf.StatusText().contains(QStringLiteral("note.txt is not a disc")));
    const QModelIndex c = shelf.Model().IndexOf(Path("more/c"));
    EXPECT_TRUE(c.data(ShelfModel::FaultRole).toString().contains(QStringLiteral("mainbg.bmp")));

    const ShelfSettings kept = LoadShelfSettings(settingsPath_);
    EXPECT_EQ(kept.discs, QStringList{Path("elsewhere/b")});
    EXPECT_EQ(kept.folders, (QStringList{Path("shelf"), Path("more")}));
}

TEST_F(ShelfWindowTest, RemovingADiscKeepsItsFilesAndItStaysOff) {
    {
        ShelfWindow shelf(Options());
        shelf.Start();
        ASSERT_TRUE(Settle(shelf));
        ASSERT_TRUE(shelf.Model().setData(shelf.Model().IndexOf(Path("shelf/a")),
                                          QStringLiteral("Mine"), Qt::EditRole));
        EXPECT_EQ(LoadShelfSettings(settingsPath_).labels.at(Path("shelf/a").toStdString()),
                  "Mine");
        shelf.RemoveFromShelf(Path("shelf/a"));
        EXPECT_TRUE(Paths(shelf).isEmpty());
        EXPECT_TRUE(shelf.StatusText().contains(QStringLiteral("its files stay")));
    }
    EXPECT_TRUE(QFile::exists(Path("shelf/a/engine/data/discdata.kvx")));
    const ShelfSettings kept = LoadShelfSettings(settingsPath_);
    EXPECT_EQ(kept.removed.count(Path("shelf/a").toStdString()), 1u);
    EXPECT_TRUE(kept.labels.empty());
    ShelfWindow again(Options());
    again.Start();
    ASSERT_TRUE(Settle(again));
    EXPECT_TRUE(Paths(again).isEmpty());
}

TEST_F(ShelfWindowTest, ASettingsFileThatCannotBeWrittenIsSaidOnTheStatusLine) {
    ShelfWindowOptions options = Options();
    options.settingsPath = QStringLiteral("/proc/kestrova.conf");
    ShelfWindow shelf(options);
    shelf.Start();
    ASSERT_TRUE(Settle(shelf));
    shelf.AddFolder(Path("more"));
    EXPECT_TRUE(shelf.StatusText().startsWith(
        QStringLiteral("Cannot write the settings file /proc/kestrova.conf")))
        << shelf.StatusText().toStdString();
}

TEST_F(ShelfWindowTest, AFrontEndThatCannotStartIsToldOnTheDisc) {
    ShelfWindowOptions options = Options();
    options.program = Path("no-such-program");
    ShelfWindow shelf(options);
    shelf.Start();
    ASSERT_TRUE(Settle(shelf));
    shelf.OpenDisc(Path("shelf/a"));
    QEventLoop loop;
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (!shelf.Model()
                 .IndexOf(Path("shelf/a"))
                 .data(ShelfModel::FaultRole)
                 .toString()
                 .isEmpty()) {
            loop.quit();
        }
    });
    poll.start(20);
    loop.exec();
    EXPECT_TRUE(shelf.Model()
                    .IndexOf(Path("shelf/a"))
                    .data(ShelfModel::FaultRole)
                    .toString()
                    .startsWith(QStringLiteral("The front end could not be started")));
    EXPECT_TRUE(shelf.isVisible());
}

} // namespace
} // namespace kestrova
