// The shelf's probe runs the built front end on a disc in a child process: its thumbnail is the
// first frame the front end draws, its fault the words start-up says, its answers are cached per
// disc as it is, and a disc that hangs start-up is ended, not waited for.

#include "platform/disc_probe.h"
#include "shelf/found_disc.h"
#include "support/fixture_disc.h"
#include "support/image_builder.h"

#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>
#include <unistd.h>

namespace kestrova {
namespace {

namespace fs = std::filesystem;

const QString kFrontEnd = QStringLiteral(KESTROVA_BINARY_DIR "/src/app/kestrova");

class DiscProbeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("kestrova-probe-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        cache_ = QString::fromStdString((dir_ / "cache").string());
        SetDiscProbeProgram(kFrontEnd);
    }
    void TearDown() override {
        SetDiscProbeProgram({});
        fs::remove_all(dir_);
    }

    FoundDisc Fixture(const std::string& name, const std::string& variant) {
        WriteFixtureDisc((dir_ / name).string(), variant);
        const auto disc = DescribeDisc((dir_ / name).string());
        EXPECT_TRUE(disc.has_value()) << variant << " is a disc folder";
        return disc.value_or(FoundDisc{});
    }

    // A stand-in for the front end that counts its runs and then runs the real one, or sleeps.
    QString CountingProgram(bool hang = false) {
        const fs::path script = dir_ / "probe.sh";
        std::ofstream(script) << "#!/bin/sh\necho run >> '" << (dir_ / "runs").string() << "'\n"
                              << (hang ? "exec sleep 30\n"
                                       : "exec '" + kFrontEnd.toStdString() + "' \"$@\"\n");
        fs::permissions(script, fs::perms::owner_all);
        return QString::fromStdString(script.string());
    }
    int Runs() {
        std::ifstream in(dir_ / "runs");
        int n = 0;
        for (std::string line; std::getline(in, line);) {
            ++n;
        }
        return n;
    }

    // What the front end says and shows when started on `disc` under the replay harness: its
    // standard error, and the snapshot after its first frame.
    std::pair<QString, QImage> StartUp(const std::string& disc) {
        const QString script = QString::fromStdString((dir_ / "first.replay").string());
        const QString snapshot = QString::fromStdString((dir_ / "first.png").string());
        std::ofstream(script.toStdString())
            << "frames 1\nsnapshot " << snapshot.toStdString() << "\n";
        QProcess run;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        run.setProcessEnvironment(env);
        run.start(kFrontEnd, {QStringLiteral("--disc"), QString::fromStdString(disc),
                              QStringLiteral("--replay"), script});
        EXPECT_TRUE(run.waitForFinished(60000));
        return {QString::fromUtf8(run.readAllStandardError()), QImage(snapshot)};
    }

    fs::path dir_;
    QString cache_;
};

// The thumbnail is the first frame pixel for pixel: the snapshot shows the window's part of the
// back buffer, with the banners' controls over its foot.
TEST_F(DiscProbeTest, TheThumbnailIsTheFirstFrame) {
    const FoundDisc disc = Fixture("June", "ok");
    const DiscReport report = ProbeDisc(disc, cache_);
    EXPECT_EQ(report.fault, "");
    EXPECT_EQ(report.label, "June");
    EXPECT_EQ(report.fileName, "June");
    ASSERT_EQ(report.thumbnail.size(), QSize(800, 600));

    const auto [errors, first] = StartUp(disc.path);
    ASSERT_FALSE(first.isNull()) << errors.toStdString();
    const QImage shown = first.convertToFormat(QImage::Format_RGB32);
    int differing = 0;
    int coloured = 0;
    for (int y = 0; y < 505; ++y) {
        for (int x = 0; x < 792; ++x) {
            differing += shown.pixel(x, y) != report.thumbnail.pixel(x, y);
            coloured += qGray(report.thumbnail.pixel(x, y)) > 16;
        }
    }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(coloured, 10000) << "the first frame is drawn, not a black curtain";
}

// "The same checks as start-up": the fault is start-up's message and reason, word for word.
TEST_F(DiscProbeTest, AFaultIsWhatStartUpSays) {
    const FoundDisc disc = Fixture("Broken", "no-background");
    const DiscReport report = ProbeDisc(disc, cache_);
    EXPECT_TRUE(report.thumbnail.isNull());
    const QString said = StartUp(disc.path).first;
    EXPECT_EQ(said.toStdString(), report.fault + "\n" + report.faultDetail + "\n");
    EXPECT_EQ(report.fault, "Cannot open file engine\\images\\mainbg.bmp");
}

TEST_F(DiscProbeTest, TheCacheAnswersUntilTheDiscChanges) {
    WriteFixtureDisc((dir_ / "folder").string(), "ok");
    const fs::path iso = dir_ / "disc.iso";
    ASSERT_TRUE(BuildImage("joliet", dir_ / "folder", iso));
    SetDiscProbeProgram(CountingProgram());

    const DiscReport first = ProbeDisc(*DescribeDisc(iso.string()), cache_);
    EXPECT_EQ(Runs(), 1);
    EXPECT_EQ(first.fault, "");
    EXPECT_EQ(first.label, "KESTROVA_TEST") << "an image is named by its volume";
    const DiscReport again = ProbeDisc(*DescribeDisc(iso.string()), cache_);
    EXPECT_EQ(Runs(), 1) << "an unchanged disc is read from the cache";
    EXPECT_EQ(again.label, first.label);
    EXPECT_EQ(again.issueLine, first.issueLine);
    EXPECT_EQ(again.thumbnail, first.thumbnail);

    // Cut short, the image is another disc: probed again, and now it does not start.
    fs::resize_file(iso, 40000);
    const DiscReport cut = ProbeDisc(*DescribeDisc(iso.string()), cache_);
    EXPECT_EQ(Runs(), 2);
    EXPECT_NE(cut.fault, "");
    EXPECT_TRUE(cut.thumbnail.isNull());
    ProbeDisc(*DescribeDisc(iso.string()), cache_);
    EXPECT_EQ(Runs(), 2) << "a fault is cached too";

    // A cached answer that was tampered with is no answer: the disc is probed again.
    for (const auto& entry : fs::directory_iterator(dir_ / "cache")) {
        std::ofstream(entry.path()) << "{not json";
    }
    EXPECT_EQ(ProbeDisc(*DescribeDisc(iso.string()), cache_).fault, cut.fault);
    EXPECT_EQ(Runs(), 3);
}

TEST_F(DiscProbeTest, ADiscThatHangsStartUpIsEndedAndNotCached) {
    const FoundDisc disc = Fixture("Slow", "ok");
    SetDiscProbeProgram(CountingProgram(true), 300);
    QElapsedTimer clock;
    clock.start();
    const DiscReport report = ProbeDisc(disc, cache_);
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(report.fault, "The disc did not start within 1 second.");
    EXPECT_TRUE(report.thumbnail.isNull());
    EXPECT_EQ(report.label, "Slow");
    ProbeDisc(disc, cache_);
    EXPECT_EQ(Runs(), 2) << "a slow start may be this once only";
}

// The shelf probes from several worker threads: each disc gets its own answer.
TEST_F(DiscProbeTest, SeveralThreadsProbeAtOnce) {
    const std::vector<FoundDisc> discs = {Fixture("A", "ok"), Fixture("B", "bad-spritecount"),
                                          Fixture("C", "one-demo")};
    std::vector<DiscReport> reports(discs.size());
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < discs.size(); ++i) {
        threads.emplace_back([&, i] { reports[i] = ProbeDisc(discs[i], cache_); });
    }
    for (auto& t : threads) {
        t.join();
    }
    EXPECT_EQ(reports[0].label, "A");
    EXPECT_EQ(reports[0].fault, "");
    EXPECT_EQ(reports[1].fault,
              StartUp(discs[1].path).first.split(QLatin1Char('\n'))[0].toStdString());
    EXPECT_NE(reports[1].fault, "");
    EXPECT_EQ(reports[2].label, "C");
    EXPECT_EQ(reports[2].fault, "");
    EXPECT_NE(reports[0].thumbnail, reports[2].thumbnail);
}

} // namespace
} // namespace kestrova
