// The readme pane: a disc's readme shows with its formatting, anything that is not a readable
// regular file leaves the pane empty without blocking, and printing goes through the confirm
// step to the printer with the readme's path as the job's title.

#include "platform/readme_pane.h"

#include "support/limited_child.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <optional>

#include <sys/stat.h>

namespace kestrova {
namespace {

constexpr char kReadme[] = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Sans;}{\\f1 Serif;}}"
                           "{\\colortbl;\\red230\\green96\\blue16;}"
                           "\\pard\\qc\\fs32\\b Title\\b0\\par"
                           "\\pard\\f1\\fs20 Plain \\b bold\\b0  and \\cf1\\i orange\\i0\\cf0  "
                           "caf\\'e9\\line second line\\par}";

struct ReadmePaneTest : ::testing::Test {
    QTemporaryDir dir;
    ReadmePaneWidget pane;

    std::string Write(const QString& name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName().toStdString();
    }

    // The format of the document's text fragment that reads exactly `text`.
    std::optional<QTextCharFormat> FormatOf(const QString& text) const {
        const QTextDocument* doc = pane.RichEdit()->document();
        for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                if (it.fragment().text() == text) {
                    return it.fragment().charFormat();
                }
            }
        }
        return std::nullopt;
    }
};

TEST_F(ReadmePaneTest, StartsHiddenAndEmptyInItsPlace) {
    EXPECT_EQ(pane.objectName(), QStringLiteral("Panel4"));
    EXPECT_EQ(pane.geometry(), QRect(437, 137, 283, 208));
    EXPECT_FALSE(pane.Visible());
    EXPECT_EQ(pane.RichEdit()->objectName(), QStringLiteral("RichEdit1"));
    EXPECT_EQ(pane.RichEdit()->geometry(), QRect(11, 1, 273, 205));
    EXPECT_TRUE(pane.RichEdit()->isReadOnly());
    EXPECT_EQ(pane.PlainText(), "");
    pane.SetVisible(true);
    EXPECT_TRUE(pane.Visible());
}

TEST_F(ReadmePaneTest, LoadShowsTheTextWithItsFormatting) {
    const std::string path = Write(QStringLiteral("game.rtf"), kReadme);
    ASSERT_TRUE(pane.LoadFromFile(path));
    EXPECT_EQ(pane.Path(), path);
    EXPECT_EQ(pane.PlainText(), "Title\nPlain bold and orange café\nsecond line");

    const auto title = FormatOf(QStringLiteral("Title"));
    ASSERT_TRUE(title);
    EXPECT_EQ(title->fontWeight(), QFont::Bold);
    EXPECT_EQ(title->fontPointSize(), 16.0);
    EXPECT_EQ(pane.RichEdit()->document()->begin().blockFormat().alignment() &
                  Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter);

    const auto bold = FormatOf(QStringLiteral("bold"));
    ASSERT_TRUE(bold);
    EXPECT_EQ(bold->fontWeight(), QFont::Bold);
    EXPECT_EQ(bold->fontFamilies().toStringList(), QStringList{QStringLiteral("Serif")});
    EXPECT_EQ(bold->fontPointSize(), 10.0);

    const auto orange = FormatOf(QStringLiteral("orange"));
    ASSERT_TRUE(orange);
    EXPECT_TRUE(orange->fontItalic());
    EXPECT_NE(orange->fontWeight(), QFont::Bold);
    EXPECT_EQ(orange->foreground().color(), QColor(230, 96, 16));
    const auto plain = FormatOf(QStringLiteral("Plain "));
    ASSERT_TRUE(plain);
    EXPECT_NE(plain->fontWeight(), QFont::Bold);
    EXPECT_FALSE(plain->hasProperty(QTextFormat::ForegroundBrush)); // the default colour

    pane.Clear();
    EXPECT_EQ(pane.PlainText(), "");
    EXPECT_EQ(pane.Path(), "");
    EXPECT_EQ(pane.RichEdit()->document()->defaultFont().pointSize(), 9);
}

TEST_F(ReadmePaneTest, DiscSpellingsAndPlainTextLoad) {
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Databases")));
    Write(QStringLiteral("Databases/Notes.TXT"), "first line\r\nsecond {line}\r\n");
    // Separators and letter case as the disc data writes them.
    const std::string written = dir.path().toStdString() + "\\databases\\notes.txt";
    ASSERT_TRUE(pane.LoadFromFile(written));
    EXPECT_EQ(pane.PlainText(), "first line\nsecond {line}");
    EXPECT_EQ(pane.Path(), written);
}

TEST_F(ReadmePaneTest, WhatIsNotAReadableFileLeavesThePaneEmpty) {
    const std::string good = Write(QStringLiteral("good.rtf"), kReadme);
    const std::string fifo = dir.filePath(QStringLiteral("pipe.rtf")).toStdString();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string huge = dir.filePath(QStringLiteral("huge.rtf")).toStdString();
    {
        QFile file(QString::fromStdString(huge));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(static_cast<qint64>(ReadmePaneWidget::kMaxFileBytes) + 1));
    }
    // A FIFO with no writer would block an ordinary open for ever: the test would hang.
    for (const std::string& bad :
         {dir.filePath(QStringLiteral("missing.rtf")).toStdString(), dir.path().toStdString(), fifo,
          huge, dir.path().toStdString() + "/"}) {
        ASSERT_TRUE(pane.LoadFromFile(good));
        EXPECT_FALSE(pane.LoadFromFile(bad)) << bad;
        EXPECT_EQ(pane.PlainText(), "") << bad;
        EXPECT_EQ(pane.Path(), "") << bad;
    }
}

// Hostile text that Qt's layout would take minutes over, or never finish: a word of a megabyte,
// one whose every letter has its own format (time grows with the square of a word's length), and
// a megabyte in the largest size (millions of pixels tall). Each shows at least its beginning.
TEST_F(ReadmePaneTest, HostileTextLoadsQuickly) {
    QByteArray formatted("{\\rtf1 ");
    for (int i = 0; i < 40000; ++i) {
        formatted += "{\\b a}{\\i a}";
    }
    formatted += "}";
    const QByteArray plain(1 << 20, 'a');
    QByteArray tall("{\\rtf1\\fs3276 ");
    tall += QByteArray(1 << 19, 'a').replace("a", "a ");
    tall += "}";
    pane.show(); // the lines wrap at the pane's width only once it is on screen
    for (const QByteArray& bytes : {formatted, plain, tall}) {
        QElapsedTimer clock;
        clock.start();
        ASSERT_TRUE(pane.LoadFromFile(Write(QStringLiteral("long.rtf"), bytes)));
        (void)pane.RichEdit()->document()->size(); // lays out the whole document
        EXPECT_LT(clock.elapsed(), 10000);
        const std::string text = pane.PlainText();
        EXPECT_GE(text.size(), 1000u);
        EXPECT_EQ(text.find_first_not_of("a "), std::string::npos); // the breaks do not show
    }
    EXPECT_LT(pane.PlainText().size(), 1u << 20); // the tall one is cut short
}

TEST_F(ReadmePaneTest, PrintConfirmedWritesTheDocumentWithItsTitle) {
    ASSERT_TRUE(pane.LoadFromFile(Write(QStringLiteral("game.rtf"), kReadme)));
    const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
    QString titleSeen;
    pane.confirmPrint = [&](QPrinter& printer) {
        titleSeen = printer.docName();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    };
    EXPECT_TRUE(pane.Print("databases/game.rtf"));
    EXPECT_EQ(titleSeen, QStringLiteral("databases/game.rtf")); // the dialog already shows it

    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    // The document information holds the title as UTF-16 with its byte-order mark.
    QByteArray utf16("\xFE\xFF", 2);
    for (QChar c : QStringLiteral("databases/game.rtf")) {
        utf16.append(static_cast<char>(c.unicode() >> 8));
        utf16.append(static_cast<char>(c.unicode() & 0xFF));
    }
    EXPECT_TRUE(bytes.contains("/Title"));
    EXPECT_TRUE(bytes.contains(utf16));
}

TEST_F(ReadmePaneTest, PrintToAFileThatCannotBeWrittenFailsAndKeepsWhatWasThere) {
    ASSERT_TRUE(pane.LoadFromFile(Write(QStringLiteral("game.rtf"), kReadme)));
    const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
    auto printTo = [&](const QString& file) {
        pane.confirmPrint = [file](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(file);
            return true;
        };
        return pane.Print("databases/game.rtf");
    };
    // A folder where the file should go.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("taken.pdf")));
    EXPECT_FALSE(printTo(dir.filePath(QStringLiteral("taken.pdf"))));
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("taken.pdf"))).isDir());

    // A full disk: an earlier print stays whole and no stray file is left beside it.
    ASSERT_TRUE(printTo(pdf));
    QFile before(pdf);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray earlier = before.readAll();
    before.close();
    const testing::ChildResult child = testing::RunWithFileSizeLimit(
        256, [&] { return std::string(printTo(pdf) ? "printed" : "failed"); });
    ASSERT_TRUE(child.finished) << child.text;
    EXPECT_EQ(child.text, "failed");
    QFile after(pdf);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), earlier);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2) << "game.rtf and out.pdf only";
}

TEST_F(ReadmePaneTest, PrintCancelledWritesNothing) {
    ASSERT_TRUE(pane.LoadFromFile(Write(QStringLiteral("game.rtf"), kReadme)));
    const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
    pane.confirmPrint = [&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return false;
    };
    EXPECT_FALSE(pane.Print("databases/game.rtf"));
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_EQ(pane.PlainText().substr(0, 5), "Title"); // the pane still shows the readme
}

// The print dialog offers a PDF in a folder that is there, named after the readme alone.
TEST(DefaultPrintFile, NamedAfterTheReadmeInTheDocumentsFolderElseHome) {
    QTemporaryDir home;
    const QString documents = home.filePath(QStringLiteral("Documents"));
    EXPECT_EQ(DefaultPrintFile("databases/helix.rtf", documents, home.path()),
              home.filePath(QStringLiteral("helix.pdf")))
        << "no documents folder yet";
    ASSERT_TRUE(QDir(home.path()).mkdir(QStringLiteral("Documents")));
    EXPECT_EQ(DefaultPrintFile("databases/helix.rtf", documents, home.path()),
              documents + QStringLiteral("/helix.pdf"));
    EXPECT_EQ(DefaultPrintFile("databases/helix.rtf", QString(), home.path()),
              home.filePath(QStringLiteral("helix.pdf")));
    // The disc's spellings (decoded to UTF-8): either separator, no extension, a letter past
    // ASCII, nothing at all.
    EXPECT_EQ(DefaultPrintFile("Databases\\Rally.Readme.RTF", documents, home.path()),
              documents + QStringLiteral("/Rally.Readme.pdf"));
    EXPECT_EQ(DefaultPrintFile("databases/notes", documents, home.path()),
              documents + QStringLiteral("/notes.pdf"));
    EXPECT_EQ(DefaultPrintFile("databases/caf\u00e9.rtf", documents, home.path()),
              documents + QStringLiteral("/caf\u00e9.pdf"));
    EXPECT_EQ(DefaultPrintFile("databases/", documents, home.path()),
              documents + QStringLiteral("/readme.pdf"));
    EXPECT_EQ(DefaultPrintFile("databases/..", documents, home.path()),
              documents + QStringLiteral("/readme.pdf"));
}

// Confirmed as offered, the print lands in the user's folder: no folder of the disc's layout is
// needed under the home folder.
TEST_F(ReadmePaneTest, PrintOffersAndWritesThePdfInTheUsersFolder) {
    const QByteArray savedHome = qgetenv("HOME");
    const QByteArray savedConfig = qgetenv("XDG_CONFIG_HOME");
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral(".config")).toUtf8());
    ASSERT_TRUE(pane.LoadFromFile(Write(QStringLiteral("game.rtf"), kReadme)));
    QString offered;
    pane.confirmPrint = [&](QPrinter& printer) {
        offered = printer.outputFileName();
        return true;
    };
    EXPECT_TRUE(pane.Print("databases/game.rtf"));
    EXPECT_EQ(offered, home.filePath(QStringLiteral("game.pdf")));
    EXPECT_TRUE(QFile::exists(offered));

    ASSERT_TRUE(QDir(home.path()).mkdir(QStringLiteral("Documents")));
    EXPECT_TRUE(pane.Print("databases/game.rtf"));
    EXPECT_EQ(offered, home.filePath(QStringLiteral("Documents/game.pdf")));
    EXPECT_TRUE(QFile::exists(offered));
    qputenv("HOME", savedHome);
    if (savedConfig.isNull()) {
        qunsetenv("XDG_CONFIG_HOME");
    } else {
        qputenv("XDG_CONFIG_HOME", savedConfig);
    }
}

} // namespace
} // namespace kestrova
