// Pages of a CD image reach the web pane through the disc scheme, under a host of this run's own,
// and every address the pane hands the front end is spelt as the same file of a folder disc
// would be. Only the front end and pages of the disc may ask for files of the disc.

#include "platform/web_pane.h"

#include "disc/cdio/open_disc.h"
#include "disc/disc_file_system.h"
#include "support/image_builder.h"

#include <QImage>
#include <QTextBrowser>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace kestrova {
namespace {

namespace fs = std::filesystem;

struct DiscSchemeTest : ::testing::Test {
    fs::path dir = fs::temp_directory_path() / ("kestrova-scheme-" + std::to_string(::getpid()));
    std::unique_ptr<ScopedDisc> inUse;
    std::string root;

    void SetUp() override {
        fs::create_directories(dir / "content" / "Pages");
        std::ofstream(dir / "content" / "Pages" / "Demos.html")
            << "<p>Demo page</p><img src=\"Pics/Dot.png\"><a "
               "href=\"../claunch_Exes/Run.exe\">run</a>";
        fs::create_directories(dir / "content" / "Pages" / "Pics");
        QImage dot(3, 2, QImage::Format_RGB32);
        dot.fill(Qt::red);
        ASSERT_TRUE(dot.save(
            QString::fromStdString((dir / "content" / "Pages" / "Pics" / "Dot.png").string())));
        ASSERT_TRUE(BuildImage("joliet", dir / "content", dir / "d.iso"));
        inUse = std::make_unique<ScopedDisc>(OpenDiscImage((dir / "d.iso").string()));
        root = CurrentDisc().Root();
    }
    void TearDown() override {
        inUse.reset();
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
};

QUrl DiscUrl(const std::string& host, const char* path) {
    return QUrl(QStringLiteral("kestrova-disc://") + QString::fromStdString(host) +
                QLatin1String(path));
}

TEST_F(DiscSchemeTest, PathsOfTheImageBecomeDiscUrlsUnderThisRunsHost) {
    // 128 random bits behind a letter, the same for the whole run.
    const std::string& host = DiscSchemeHost();
    EXPECT_EQ(&host, &DiscSchemeHost());
    ASSERT_EQ(host.size(), 5u + 32u);
    EXPECT_EQ(host.substr(0, 5), "disc-");
    EXPECT_EQ(host.find_first_not_of("0123456789abcdef", 5), std::string::npos);
    const QUrl page = WebPaneWidget::ToUrl("pages\\demos.html");
    EXPECT_EQ(page, DiscUrl(host, "/Pages/Demos.html"));
    EXPECT_EQ(WebPaneWidget::ToUrl(root + "pages/demos.html"), page);
    EXPECT_EQ(WebPaneWidget::ToUrl("file://" + root + "pages/demos.html"), page);
    // A name the image lacks keeps its spelling; the front end reads its prefix where it would.
    EXPECT_EQ(WebPaneWidget::AddressText(WebPaneWidget::ToUrl(root + "Claunch_Exes/Run.exe")),
              "kestrova-disc://" + host + "/Claunch_Exes/Run.exe");
    EXPECT_EQ(WebPaneWidget::AddressText(page), "kestrova-disc://" + host + "/Pages/Demos.html");
    // Web addresses and files of this machine outside the image stay as they are.
    EXPECT_EQ(WebPaneWidget::ToUrl("http://example.com/a"),
              QUrl(QStringLiteral("http://example.com/a")));
    EXPECT_TRUE(WebPaneWidget::ToUrl("/etc/hostname").isLocalFile());
}

TEST_F(DiscSchemeTest, TheLightPaneShowsAPageOfTheImageAndHandsOnItsRelativeLinks) {
    WebPaneWidget pane(WebPaneWidget::Engine::Light);
    std::vector<std::string> asked;
    pane.beforeNavigate = [&](const std::string& address) {
        asked.push_back(address);
        return address.find("claunch_") != std::string::npos;
    };
    // The front end's own request is asked about as a link is: a file of the root, as the image
    // spells it.
    pane.Navigate(root + "pages/demos.html");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], "file:/" + root + "Pages/Demos.html");
    auto* browser = pane.findChild<QTextBrowser*>();
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->toPlainText().contains(QStringLiteral("Demo page")));
    // The page's picture comes from the image too, by its link relative to the page; under any
    // other host the scheme serves nothing.
    const QVariant picture = browser->document()->resource(
        QTextDocument::ImageResource, DiscUrl(DiscSchemeHost(), "/Pages/Pics/Dot.png"));
    ASSERT_TRUE(picture.canConvert<QImage>());
    EXPECT_EQ(picture.value<QImage>().size(), QSize(3, 2));
    for (const char* other : {"kestrova-disc://disc/Pages/Pics/Dot.png",
                              "kestrova-disc://anything/Pages/Pics/Dot.png"}) {
        EXPECT_TRUE(browser->loadResource(QTextDocument::ImageResource, QUrl(QLatin1String(other)))
                        .isNull())
            << other;
    }
    Q_EMIT browser->anchorClicked(QUrl(QStringLiteral("../claunch_Exes/Run.exe")));
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[1], "file:/" + root + "claunch_Exes/Run.exe");
    EXPECT_EQ(pane.Url(), root + "pages/demos.html")
        << "the cancelled link left the page as it was";
}

TEST_F(DiscSchemeTest, AnAddressOfTheSchemeUnderAnotherHostIsRefusedWhoeverAsks) {
    WebPaneWidget pane(WebPaneWidget::Engine::Light);
    std::vector<std::string> asked;
    pane.beforeNavigate = [&](const std::string& address) {
        asked.push_back(address);
        return false;
    };
    pane.Navigate(root + "pages/demos.html");
    ASSERT_EQ(asked.size(), 1u);
    auto* browser = pane.findChild<QTextBrowser*>();
    ASSERT_NE(browser, nullptr);
    // The host the scheme had before it was this run's own, any other, in any case.
    for (const char* link :
         {"kestrova-disc://disc/claunch_Exes/Run.exe", "KESTROVA-DISC://x/Command_Exit",
          "kestrova-disc://anything/Pages/Demos.html"}) {
        Q_EMIT browser->anchorClicked(QUrl(QLatin1String(link)));
        pane.FollowLink(link);
        pane.Navigate(link); // nor may the front end's own requests name one
    }
    EXPECT_EQ(asked.size(), 1u) << "the front end heard of none of them";
    EXPECT_EQ(pane.Url(), root + "pages/demos.html");
    // This run's host, spelt out by a page of the disc, is the disc's.
    pane.FollowLink("kestrova-disc://" + DiscSchemeHost() + "/Pages/Demos.html");
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[1], "file:/" + root + "Pages/Demos.html");
}

// On a folder disc, the current directory: its pages are files under the disc root.
struct FolderPaneTest : ::testing::Test {
    fs::path dir = fs::temp_directory_path() / ("kestrova-origin-" + std::to_string(::getpid()));
    fs::path old = fs::current_path();
    std::unique_ptr<ScopedDisc> inUse;
    std::string root;
    fs::path outside;

    void SetUp() override {
        fs::create_directories(dir / "disc" / "pages");
        std::ofstream(dir / "disc" / "pages" / "demos.html") << "<p>Demo page</p>";
        outside = dir / "elsewhere.html";
        std::ofstream(outside) << "<p>Not the disc's</p>";
        fs::current_path(dir / "disc");
        inUse = std::make_unique<ScopedDisc>(std::make_shared<FolderFileSystem>());
        root = CurrentDisc().Root();
    }
    void TearDown() override {
        inUse.reset();
        std::error_code ec;
        fs::current_path(old, ec);
        fs::remove_all(dir, ec);
    }
};

TEST_F(FolderPaneTest, OnlyTheFrontEndAndPagesOfTheDiscAskForFilesOfTheDisc) {
    WebPaneWidget pane(WebPaneWidget::Engine::Light);
    std::vector<std::string> asked;
    pane.beforeNavigate = [&](const std::string& address) {
        asked.push_back(address);
        return address.find("claunch_") != std::string::npos ||
               address.find("command_") != std::string::npos;
    };
    // A page of the disc asks for a command: the front end hears of it.
    pane.Navigate("pages/demos.html");
    ASSERT_EQ(asked.size(), 1u);
    pane.FollowLink("claunch_exes/helix_play.exe");
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[1], "file:/" + root + "claunch_exes/helix_play.exe");
    // A folder disc has no disc scheme: refused, even from a page of the disc.
    pane.FollowLink("kestrova-disc://anything/claunch_exes/helix_play.exe");
    EXPECT_EQ(asked.size(), 2u);
    // A page off the disc, from the network or from this machine, asks for files of the disc:
    // refused, commands and pages alike; its other links are followed.
    for (const std::string& page :
         {std::string("http://www.example.com/pages/demos.html"), "file://" + outside.string()}) {
        pane.Navigate(page);
        const std::size_t before = asked.size();
        pane.FollowLink(root + "claunch_exes/helix_play.exe");
        pane.FollowLink("command_exit");
        pane.FollowLink("pages/demos.html");
        auto* browser = pane.findChild<QTextBrowser*>();
        ASSERT_NE(browser, nullptr);
        Q_EMIT browser->anchorClicked(
            QUrl::fromLocalFile(QString::fromStdString(root + "claunch_exes/helix_play.exe")));
        EXPECT_EQ(asked.size(), before) << page;
        EXPECT_EQ(pane.Url(), page);
        pane.FollowLink("http://www.example.com/other.html");
        EXPECT_EQ(asked.size(), before + 1) << page;
        EXPECT_EQ(pane.Url(), "http://www.example.com/other.html");
    }
}

} // namespace
} // namespace kestrova
