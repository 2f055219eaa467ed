// The bundled sample disc as committed: everything the front end reads at start-up and
// everything the disc data names must be there, in the shape and at the sizes the layout needs.

#include "catalogue/line_list.h"
#include "engine/disc_requirements.h"
#include "pictures/bitmap_codec.h"
#include "pictures/picture_collection.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMovie>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

const QString kDisc = QStringLiteral(KESTROVA_SOURCE_DIR "/sample-disc");
constexpr uint32_t kKey = 0xFFFF00FFu; // the panels' transparent key, as 0xAARRGGBB

QByteArray ReadAll(const QString& relative) {
    QFile f(QDir(kDisc).filePath(relative));
    if (!f.open(QIODevice::ReadOnly)) {
        return {};
    }
    return f.readAll();
}

// Resolves a disc path the way the front end does: "\" or "/" separators, letter case ignored.
QString Resolve(const std::string& discPath) {
    QString path = QString::fromStdString(discPath);
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QDir dir(kDisc);
    const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < parts.size(); ++i) {
        QString found;
        for (const QString& entry : dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
            if (entry.compare(parts[i], Qt::CaseInsensitive) == 0) {
                found = entry;
                break;
            }
        }
        if (found.isEmpty()) {
            return {};
        }
        if (i + 1 == parts.size()) {
            return dir.filePath(found);
        }
        if (!dir.cd(found)) {
            return {};
        }
    }
    return {};
}

class SampleDisc : public ::testing::Test {
  protected:
    void SetUp() override {
        const QByteArray bytes = ReadAll(QStringLiteral("engine/data/discdata.kvx"));
        ASSERT_FALSE(bytes.isEmpty());
        raw = bytes.toStdString();
        source.LoadFromBytes(raw);
        spriteCount = kestrova::StrToInt(source.KeyValue("*Spritecount"));
    }

    kestrova::PictureCollection Load(const char* relative) {
        const QByteArray bytes = ReadAll(QString::fromLatin1(relative));
        kestrova::PictureCollection c;
        c.LoadFromBytes(std::span(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                  static_cast<size_t>(bytes.size())));
        return c;
    }

    // The lines of a numbered record ("*SUPPORT" n): label, target.
    std::vector<std::pair<std::string, std::string>> Records(const std::string& key) {
        std::vector<std::pair<std::string, std::string>> out;
        for (int n = 1; n <= kestrova::kMaxRecordNumber; ++n) {
            const int i = source.IndexOf(key + std::to_string(n));
            if (i > 0) {
                out.emplace_back(source.Get(i + 1), source.Get(i + 2));
            }
        }
        return out;
    }

    std::string raw;
    kestrova::LineList source;
    int spriteCount = 0;
};

TEST_F(SampleDisc, DiscDataHasTheKeysAndRecordsTheFrontEndReads) {
    EXPECT_EQ(source.Get(0), "");
    // Every line ends in CR LF.
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\n') {
            ASSERT_TRUE(i > 0 && raw[i - 1] == '\r') << "lone LF at byte " << i;
        }
    }
    EXPECT_GE(spriteCount, 11);
    EXPECT_LE(spriteCount, kestrova::kMaxSpriteCount);
    EXPECT_FALSE(source.KeyValue("*techsupport").empty());
    EXPECT_FALSE(source.KeyValue("*systemrequirements").empty());
    EXPECT_FALSE(source.HasKey("*disctwo"));
    EXPECT_EQ(source.BlockLines("*BEGIN0", "*END0").size(), 3u);

    int hidden = 0;
    std::set<std::string> titles;
    for (int n = 1; n < spriteCount; ++n) {
        const int begin = source.IndexOf(kestrova::BeginKey(n));
        ASSERT_GT(begin, 0) << n;
        EXPECT_EQ(source.IndexOf(kestrova::EndKey(n)), begin + 13) << "record " << n;
        const std::string title = source.EntryLine(n, 1);
        EXPECT_FALSE(title.empty());
        EXPECT_LE(title.size(), kestrova::kMenuCaptionWidth);
        EXPECT_EQ(source.IndexOf(title), begin + 1) << "title not unique: " << title;
        titles.insert(title);
        const std::string install = source.EntryLine(n, 5);
        if (install == "no") {
            ++hidden;
        } else {
            EXPECT_FALSE(Resolve(install).isEmpty()) << install;
            EXPECT_LE(install.size(), kestrova::kMaxShellPath);
        }
        const std::string second = source.EntryLine(n, 7);
        if (second != "no") {
            EXPECT_FALSE(Resolve("Exes/" + second).isEmpty()) << second;
            EXPECT_LE(("Exes/" + second).size(), kestrova::kMaxShellPath);
        }
        const QString readme = Resolve("databases/" + source.EntryLine(n, 8));
        ASSERT_FALSE(readme.isEmpty()) << source.EntryLine(n, 8);
        QFile rtf(readme);
        ASSERT_TRUE(rtf.open(QIODevice::ReadOnly));
        const QByteArray text = rtf.readAll();
        EXPECT_TRUE(text.startsWith("{\\rtf1"));
        EXPECT_TRUE(text.contains("\\fonttbl") && text.contains("\\colortbl") &&
                    text.contains("\\b ") && text.contains("\\i ") && text.contains("\\par"));
        EXPECT_EQ(text.count('{'), text.count('}'));
    }
    EXPECT_EQ(hidden, 1);
    EXPECT_EQ(titles.size(), static_cast<size_t>(spriteCount - 1));
}

TEST_F(SampleDisc, MenusAndLinkRecordsCoverEveryKindOfTarget) {
    for (const auto& [begin, end] :
         {std::pair("*BEGINUTILITIES", "*ENDUTILITIES"), std::pair("*BEGINADDONS", "*ENDADDONS")}) {
        const std::vector<std::string> lines = source.BlockLines(begin, end);
        ASSERT_EQ(lines.size() % 2, 0u) << begin;
        ASSERT_LE(lines.size() / 2, kestrova::kMenuChoosableLines);
        bool heading = false;
        for (size_t i = 0; i < lines.size(); i += 2) {
            EXPECT_GT(source.IndexOf(lines[i]), 0);
            EXPECT_EQ(source.Get(source.IndexOf(lines[i]) + 1), lines[i + 1])
                << "caption not unique: " << lines[i];
            EXPECT_LE(lines[i].size(), kestrova::kMenuCaptionWidth);
            // A target of 7 or 8 characters before a name would be read as an entry marker.
            EXPECT_NE(lines[i + 1].size(), 7u);
            EXPECT_NE(lines[i + 1].size(), 8u);
            if (lines[i + 1].empty()) {
                heading = true;
            } else {
                EXPECT_FALSE(Resolve(lines[i + 1]).isEmpty()) << lines[i + 1];
            }
        }
        EXPECT_TRUE(heading) << begin;
    }

    auto kinds = [&](const std::string& key) {
        std::set<std::string> seen;
        for (const auto& [label, target] : Records(key)) {
            EXPECT_EQ(source.Get(source.IndexOf(label) + 1), target) << "label not unique";
            if (target.rfind("htt", 0) == 0) {
                seen.insert("web");
            } else if (target.size() > 4 && target.rfind("*X", 0) == 0) {
                seen.insert("program");
                EXPECT_FALSE(Resolve(target.substr(2)).isEmpty()) << target;
            } else if (target == "showgame") {
                seen.insert("game");
            } else {
                seen.insert("page");
                EXPECT_FALSE(Resolve(target).isEmpty()) << target;
            }
        }
        return seen;
    };
    EXPECT_GE(Records("*SUPPORT").size(), 4u);
    // "showgame" does nothing in the support menu, so the sample disc has none there.
    EXPECT_EQ(kinds("*SUPPORT"), (std::set<std::string>{"web", "program", "page"}));
    EXPECT_GE(Records("*TOBRIK").size(), 2u);
    EXPECT_TRUE(kinds("*TOBRIK").count("game"));

    // Banner records exist exactly for the banner pictures on the disc.
    int banners = 0;
    for (int n = 0; n <= kestrova::kMaxBannerNumber; ++n) {
        const bool gif =
            !Resolve("engine/images/banners/banner" + std::to_string(n) + ".gif").isEmpty();
        const int key = source.IndexOf("*BANNER" + std::to_string(n));
        EXPECT_EQ(gif, key > 0) << "banner " << n;
        if (key > 0) {
            ++banners;
            const std::string target = source.Get(key + 1);
            if (target.rfind("htt", 0) != 0) {
                EXPECT_FALSE(Resolve(target).isEmpty()) << target;
            }
        }
    }
    EXPECT_GE(banners, 3);
    for (int n : {1, 2, 3}) {
        EXPECT_GT(source.IndexOf("*BANNER" + std::to_string(n)), 0);
    }
}

TEST_F(SampleDisc, ImageListsHoldEveryPictureAtItsLayoutSize) {
    const kestrova::PictureCollection panels = Load("engine/images/panels.dxg");
    for (const std::string& name : kestrova::RequiredPanelNames()) {
        ASSERT_GE(panels.IndexOf(name), 0) << name;
    }
    const auto& top2 = panels.Items(panels.IndexOf("PANEL_TOP2"));
    EXPECT_EQ(top2.Width(), 800);
    EXPECT_EQ(top2.Height(), 137);
    EXPECT_FALSE(top2.Transparent);
    const auto& bot = panels.Items(panels.IndexOf("PANEL_BOT2"));
    EXPECT_EQ(bot.Width(), 800);
    // The strip holder covers the retracted caption panel (358..428) and no more.
    EXPECT_EQ(346 + bot.Height(), 428);
    const auto& dem = panels.Items(panels.IndexOf("PANEL_DEM"));
    const auto& info = panels.Items(panels.IndexOf("PANEL_INFO"));
    const kestrova::TColor frame = dem.GetPicture().PixelColour(10, 0);
    EXPECT_NE(frame, kestrova::RgbToColour(kKey));
    EXPECT_NE(frame, 0u);
    // The caption is written before its panel is drawn: the panel is a rim around a window in
    // its key colour (read at (3, 0)), so the title and the description lines show through.
    const kestrova::Picture& infoPic = info.GetPicture();
    const kestrova::TColor infoKey = infoPic.PixelColour(3, 0);
    EXPECT_EQ(infoKey, kestrova::RgbToColour(kKey));
    EXPECT_NE(infoPic.PixelColour(100, 1), infoKey);
    for (int y : {7, 12, 18, 27, 32, 38, 43, 49, 55}) {
        for (int x : {5, 60, 120, 190}) {
            EXPECT_EQ(infoPic.PixelColour(x, y), infoKey) << x << "," << y;
        }
    }
    for (const char* name : {"installnowB", "viewreadmeB", "printreadmeB"}) {
        const auto& b = panels.Items(panels.IndexOf(name));
        EXPECT_LE(b.Width(), 70) << name;
        EXPECT_LE(b.Height(), 42) << name;
    }
    // The print button at x 732 must end inside the 800-pixel surface.
    EXPECT_LE(732 + panels.Items(panels.IndexOf("printreadmeB")).Width(), 800);

    const kestrova::PictureCollection slider = Load("engine/images/slider.dxg");
    // The start panel comes after the four database panels, not in place of the last.
    ASSERT_EQ(slider.Count(), kestrova::SliderPicturesNeeded(spriteCount) + 1);
    for (int i = 0; i < slider.Count(); ++i) {
        const auto& item = slider.Items(i);
        const kestrova::Picture& pic = item.GetPicture();
        EXPECT_EQ(item.Width(), 800) << i;
        // Resting at y 106 the panel ends where the strip holder begins.
        EXPECT_EQ(106 + item.Height(), 346) << i;
        const kestrova::TColor key = pic.PixelColour(0, 0);
        EXPECT_EQ(key, kestrova::RgbToColour(kKey)) << i;
        // Art and button columns are opaque...
        EXPECT_NE(pic.PixelColour(400, 60), key) << i;
        EXPECT_NE(pic.PixelColour(50, 170), key) << i;
        EXPECT_NE(pic.PixelColour(760, 120), key) << i;
        // ...and the text, written before the panel is drawn, shows through a keyed window:
        // the feature text from y 165, a demo's support line from y 135.
        const bool demo = i < spriteCount - 1;
        for (int y = demo ? 135 : 165; y < 222; y += 4) {
            for (int x = 110; x < 700; x += 37) {
                ASSERT_EQ(pic.PixelColour(x, y), key) << "picture " << i << " at " << x << "," << y;
            }
        }
    }

    const kestrova::PictureCollection thumbs = Load("engine/images/slider2.dxg");
    // One to spare: the disc editor prepares a new entry's thumbnail there.
    ASSERT_GE(thumbs.Count(), kestrova::ThumbnailPicturesNeeded(spriteCount) + 1);
    for (int i = 0; i < thumbs.Count(); ++i) {
        EXPECT_EQ(thumbs.Items(i).Width(), 90) << i;
        EXPECT_EQ(thumbs.Items(i).Height(), 45) << i;
    }

    const kestrova::PictureCollection top = Load("engine/images/top_panels.dxg");
    const kestrova::Picture& none = top.Items(top.IndexOf("panel_top_none")).GetPicture();
    // The sample disc serves as either kind of disc: "*disctwo" is all it takes.
    for (const bool discTwo : {false, true}) {
        for (const std::string& name : kestrova::RequiredTopPanelNames(discTwo)) {
            ASSERT_GE(top.IndexOf(name), 0) << name;
            EXPECT_EQ(top.Items(top.IndexOf(name)).Width(), 800);
            EXPECT_EQ(top.Items(top.IndexOf(name)).Height(), 137);
        }
    }
    // Each section's banner lights its own hot zone and leaves the masthead alone.
    struct Zone {
        const char* name;
        int x, y;
    };
    for (const Zone& z : {Zone{"panel_top_demos", 398, 34}, Zone{"panel_top_exit", 768, 34},
                          Zone{"panel_top_tobrik", 680, 68}}) {
        const kestrova::Picture& lit = top.Items(top.IndexOf(z.name)).GetPicture();
        int differ = 0;
        for (int dx = -20; dx <= 20; ++dx) {
            differ += lit.PixelColour(z.x + dx, z.y) != none.PixelColour(z.x + dx, z.y);
        }
        EXPECT_GT(differ, 10) << z.name;
        EXPECT_EQ(lit.PixelColour(100, 50), none.PixelColour(100, 50)) << z.name;
    }

    const kestrova::PictureCollection banners = Load("engine/images/banners.dxg");
    EXPECT_GT(banners.Count(), 0);

    // The disc exercises the reader: both picture forms and several depths.
    std::set<int> depths;
    std::set<std::string> forms;
    bool rle = false;
    for (const kestrova::PictureCollection* c : {&panels, &slider, &thumbs, &top, &banners}) {
        for (int i = 0; i < c->Count(); ++i) {
            depths.insert(c->Items(i).GetPicture().bitDepth);
            forms.insert(c->Items(i).PictureClass);
            rle = rle || c->Items(i).GetPicture().rle;
        }
    }
    EXPECT_TRUE(depths.count(4) && depths.count(8) && depths.count(24));
    EXPECT_EQ(forms, (std::set<std::string>{"TBitmap", "TDIB"}));
    EXPECT_TRUE(rle);
}

TEST_F(SampleDisc, BackgroundAndBannersHaveTheirScreenSizes) {
    const QByteArray bmp = ReadAll(QStringLiteral("engine/images/mainbg.bmp"));
    const kestrova::Picture bg = kestrova::DecodeBitmapFile(std::span(
        reinterpret_cast<const uint8_t*>(bmp.constData()), static_cast<size_t>(bmp.size())));
    EXPECT_EQ(bg.width, 800);
    EXPECT_EQ(bg.height, 600);
    EXPECT_EQ(bg.bitDepth, 24);

    auto movie = [](const QString& relative, QSize size) {
        const QString path = QDir(kDisc).filePath(relative);
        QMovie m(path);
        ASSERT_TRUE(m.isValid()) << relative.toStdString();
        EXPECT_GT(m.frameCount(), 1) << relative.toStdString();
        ASSERT_TRUE(m.jumpToFrame(0));
        EXPECT_EQ(m.currentImage().size(), size) << relative.toStdString();
    };
    const QDir banners(QDir(kDisc).filePath(QStringLiteral("engine/images/banners")));
    for (const QString& name : banners.entryList({QStringLiteral("banner*.gif")})) {
        movie(QStringLiteral("engine/images/banners/") + name, QSize(468, 60));
    }
    movie(QStringLiteral("engine/images/banners/freeissue_adbar.gif"), QSize(143, 60));
}

TEST_F(SampleDisc, SoundsAreShortMonoPcmAt22kHz) {
    for (const char* name : {"engine/sounds/rollover.wav", "engine/sounds/klick.wav"}) {
        const QByteArray wav = ReadAll(QString::fromLatin1(name));
        ASSERT_GT(wav.size(), 44) << name;
        auto u16 = [&](int at) {
            return static_cast<int>(static_cast<uint8_t>(wav[at])) |
                   static_cast<int>(static_cast<uint8_t>(wav[at + 1])) << 8;
        };
        auto u32 = [&](int at) { return u16(at) | u16(at + 2) << 16; };
        EXPECT_EQ(wav.left(4), "RIFF");
        EXPECT_EQ(wav.mid(8, 8), "WAVEfmt ");
        EXPECT_EQ(u16(20), 1) << "PCM";
        EXPECT_EQ(u16(22), 1) << "mono";
        EXPECT_EQ(u32(24), 22050);
        EXPECT_EQ(u16(34), 16);
        EXPECT_EQ(wav.mid(36, 4), "data");
        const int samples = u32(40) / 2;
        EXPECT_EQ(44 + samples * 2, wav.size());
        EXPECT_LT(samples, 22050 / 2) << "longer than half a second";
        int peak = 0;
        for (int i = 0; i < samples; ++i) {
            peak = std::max(peak, std::abs(static_cast<int16_t>(u16(44 + i * 2))));
        }
        EXPECT_GT(peak, 8000) << name;
    }
}

TEST_F(SampleDisc, StandInProgramsRunHarmlesslyAndSayThatTheyRan) {
    const QString program = Resolve(source.EntryLine(1, 5));
    ASSERT_FALSE(program.isEmpty());
    EXPECT_TRUE(QFileInfo(program).isExecutable());
    EXPECT_TRUE(QFileInfo(Resolve("Databases/Databases.exe")).isExecutable());
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString log = tmp.filePath(QStringLiteral("ran.log"));
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.insert(QStringLiteral("KESTROVA_RUN_LOG"), log);
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(tmp.path());
    p.start(program, {QStringLiteral("--quiet"), QStringLiteral("x")});
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitCode(), 0);
    QFile f(log);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("setup.exe ran with: --quiet x\n"));
    // It wrote nothing else.
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files), QStringList{QStringLiteral("ran.log")});
}

TEST_F(SampleDisc, PagesCarryCommandLinksThatTheFrontEndCanFollow) {
    ASSERT_FALSE(Resolve("engine/loading.html").isEmpty());
    for (const char* page : {"demos.html", "add-ons.html", "utilities.html", "support.html",
                             "tobrik.html", "database.html"}) {
        EXPECT_FALSE(Resolve(std::string("pages/") + page).isEmpty()) << page;
    }
    // A command prefix is read only where a link to a name in the disc root puts it: every
    // command link climbs from "pages/" to the root.
    const QRegularExpression href(QStringLiteral("href=\"([^\"]*)\""));
    std::set<QString> prefixes;
    const QDir pages(QDir(kDisc).filePath(QStringLiteral("pages")));
    for (const QString& name : pages.entryList({QStringLiteral("*.html")})) {
        QFile f(pages.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QString html = QString::fromLatin1(f.readAll());
        for (auto it = href.globalMatch(html); it.hasNext();) {
            const QString link = it.next().captured(1);
            EXPECT_FALSE(link.contains(QStringLiteral("claunch_")) &&
                         !link.startsWith(QStringLiteral("../claunch_")))
                << link.toStdString();
            if (link.startsWith(QStringLiteral("../claunch_"))) {
                prefixes.insert(QStringLiteral("claunch_"));
                EXPECT_FALSE(Resolve(link.mid(11).toStdString()).isEmpty()) << link.toStdString();
            } else if (link.contains(QStringLiteral("command_"))) {
                prefixes.insert(QStringLiteral("command_"));
                EXPECT_EQ(link, QStringLiteral("../command_exit"));
            } else if (!link.startsWith(QStringLiteral("http"))) {
                EXPECT_FALSE(Resolve("pages/" + link.toStdString()).isEmpty())
                    << name.toStdString() << ": " << link.toStdString();
            }
        }
    }
    EXPECT_EQ(prefixes,
              (std::set<QString>{QStringLiteral("claunch_"), QStringLiteral("command_")}));

    // Every picture a page shows is on the disc.
    const QRegularExpression src(QStringLiteral("src=\"([^\"]*)\""));
    int pictures = 0;
    for (const QString& name : pages.entryList({QStringLiteral("*.html")})) {
        QFile f(pages.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QString html = QString::fromLatin1(f.readAll());
        for (auto it = src.globalMatch(html); it.hasNext(); ++pictures) {
            const QString link = it.next().captured(1);
            EXPECT_FALSE(Resolve("pages/" + link.toStdString()).isEmpty()) << link.toStdString();
        }
    }
    EXPECT_GT(pictures, 10);
}

} // namespace
