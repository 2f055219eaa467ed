// Pages of a CD image reach the web pane through the disc scheme, and every address the pane hands
// the front end is spelt as the same file of a folder disc would be.

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

TEST_F(DiscSchemeTest, PathsOfTheImageBecomeDiscUrlsAndComeBackAsFilesOfTheRoot) {
    const QUrl page = WebPaneWidget::ToUrl("pages\\demos.html");
    EXPECT_EQ(page, QUrl(QStringLiteral("kestrova-disc://disc/Pages/Demos.html")));
    EXPECT_EQ(WebPaneWidget::ToUrl(root + "pages/demos.html"), page);
    EXPECT_EQ(WebPaneWidget::ToUrl("file://" + root + "pages/demos.html"), page);
    // A name the image lacks keeps its spelling; the front end reads its prefix where it would.
    EXPECT_EQ(WebPaneWidget::AddressText(WebPaneWidget::ToUrl(root + "Claunch_Exes/Run.exe")),
              "file:/" + root + "Claunch_Exes/Run.exe");
    EXPECT_EQ(WebPaneWidget::AddressText(page), "file:/" + root + "Pages/Demos.html");
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
    // The page's picture comes from the image too, by its link relative to the page.
    const QVariant picture = browser->document()->resource(
        QTextDocument::ImageResource,
        QUrl(QStringLiteral("kestrova-disc://disc/Pages/Pics/Dot.png")));
    ASSERT_TRUE(picture.canConvert<QImage>());
    EXPECT_EQ(picture.value<QImage>().size(), QSize(3, 2));
    Q_EMIT browser->anchorClicked(QUrl(QStringLiteral("../claunch_Exes/Run.exe")));
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[1], "file:/" + root + "claunch_Exes/Run.exe");
    EXPECT_EQ(pane.Url(), root + "pages/demos.html")
        << "the cancelled link left the page as it was";
}

} // namespace
} // namespace kestrova
