// The disc editor window on a running front end: typing in its boxes and its buttons reach the
// front end's lines and picture files as the user works them.

#include "support/fixture_disc.h"
#include "ui/editor_form.h"
#include "ui/main_form.h"

#include "base/error.h"
#include "engine/main_state.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>

#include <memory>

#include <gtest/gtest.h>

namespace kestrova {
namespace {

MainFormOptions Headless() {
    MainFormOptions o;
    o.lightWebPane = true;
    o.replay = true;
    return o;
}

void ClickLine(QListWidget* list, int row) {
    QWidget* view = list->viewport();
    const QPointF at = list->visualItemRect(list->item(row)).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, view->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, view->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view, &release);
}

void TypeInto(QLineEdit* box, const QString& text) {
    box->end(false);
    for (const QChar ch : text) {
        const auto key = static_cast<Qt::Key>(ch.toUpper().unicode());
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(box, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(box, &release);
    }
}

struct EditorWindow : ::testing::Test {
    FixtureDiscFolder disc;
    TMainForm form{Headless()};
    Tform1 editor{true};

    void SetUp() override {
        form.Initialize();
        form.SetEditor(&editor);
        form.OpenEditor();
    }
};

// The program builds the editor when it is first wanted, after the first frame.
TEST(LateEditor, IsBuiltOnceWhenFirstOpenedAndOpensWithTheFrontEndsTitles) {
    FixtureDiscFolder disc;
    TMainForm form{Headless()};
    int built = 0;
    form.SetEditorMaker([&built] {
        ++built;
        return std::make_unique<Tform1>(true);
    });
    form.Initialize();
    form.show();
    form.Engine().SetActive(true);
    form.Engine().RunOneFrame();
    EXPECT_FALSE(form.EditorBuilt());
    EXPECT_EQ(built, 0);

    form.OpenEditor();
    ASSERT_TRUE(form.EditorBuilt());
    Tform1* editor = form.Editor();
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("Disc editor"));
    ASSERT_EQ(editor->features()->count(), 5);
    EXPECT_EQ(editor->features()->item(0)->text(), QStringLiteral("Welcome to the fixture disc"));
    EXPECT_EQ(editor->State().lastEntry, 4);

    editor->hide();
    form.OpenEditor();
    EXPECT_EQ(form.Editor(), editor);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(built, 1);
}

TEST(LateEditor, ReadingItsStateBuildsItClosedAsTheProgramWouldHaveIt) {
    FixtureDiscFolder disc;
    TMainForm form{Headless()};
    form.SetEditorMaker([] { return std::make_unique<Tform1>(true); });
    form.Initialize();
    const Tform1* editor = static_cast<const TMainForm&>(form).Editor();
    ASSERT_NE(editor, nullptr);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("Disc editor"));
    EXPECT_EQ(editor->features()->count(), 0);
}

TEST_F(EditorWindow, OpensWithTheFrontEndsTitlesAndItsCaption) {
    EXPECT_TRUE(editor.isVisible());
    EXPECT_EQ(editor.windowTitle(), QStringLiteral("Disc editor"));
    ASSERT_EQ(editor.features()->count(), 5);
    EXPECT_EQ(editor.features()->item(0)->text(), QStringLiteral("Welcome to the fixture disc"));
    EXPECT_EQ(editor.features()->item(4)->text(), QStringLiteral("Fixture Demo 4"));
    EXPECT_EQ(editor.State().lastEntry, 4);
}

TEST_F(EditorWindow, ATitleTypedAndSavedReachesTheFrontEnd) {
    ClickLine(editor.features(), 3);
    EXPECT_EQ(editor.Box(kTitleBox)->text(), QStringLiteral("Fixture Demo 3"));
    EXPECT_EQ(editor.Box(kEdit4)->text(), QStringLiteral("demo3/setup.exe"));
    TypeInto(editor.Box(kTitleBox), QStringLiteral("x"));
    EXPECT_EQ(editor.windowTitle(), QStringLiteral("Entry 3 \u2014 Disc editor"));
    EXPECT_EQ(editor.features()->item(3)->text(), QStringLiteral("Fixture Demo 3x"));
    EXPECT_EQ(form.State().source.EntryLine(3, 1), "Fixture Demo 3");
    editor.ButtonNamed(QStringLiteral("SAVE"))->click();
    EXPECT_EQ(form.State().source.EntryLine(3, 1), "Fixture Demo 3x");
}

TEST_F(EditorWindow, FillingTheBoxesStoresNothing) {
    const std::vector<std::string> before = form.State().source.Lines();
    ClickLine(editor.features(), 2);
    editor.Box(kTitleBox)->setText(QStringLiteral("set by the program"));
    editor.ButtonNamed(QStringLiteral("SAVE"))->click();
    EXPECT_EQ(form.State().source.Lines(), before);
}

TEST_F(EditorWindow, AThumbnailLoadedFromAPngIsThereAfterARestart) {
    QImage png(20, 10, QImage::Format_RGB32);
    png.fill(qRgb(200, 10, 30));
    const QString path = QString::fromStdString((disc.Path() / "new-thumb.png").string());
    ASSERT_TRUE(png.save(path, "PNG"));
    ClickLine(editor.features(), 2);
    editor.QueueDialogAnswer(path.toStdString());
    editor.ButtonNamed(QStringLiteral("Load Thumbnail"))->click();
    EXPECT_TRUE(editor.State().messages.empty());
    EXPECT_EQ(form.State().SubSliderA.Items(1).GetPicture().width, 20);

    TMainForm restarted(Headless());
    restarted.Initialize();
    const Picture& loaded = restarted.State().SubSliderA.Items(1).GetPicture();
    ASSERT_EQ(loaded.width, 20);
    ASSERT_EQ(loaded.height, 10);
    EXPECT_EQ(loaded.PixelColour(5, 5), RgbToColour(0xC80A1E));
}

TEST_F(EditorWindow, TheTitleNamesTheEntryTheBoxesEdit) {
    ClickLine(editor.features(), 2);
    EXPECT_EQ(editor.windowTitle(), QStringLiteral("Entry 2 \u2014 Disc editor"));
    ClickLine(editor.features(), 0);
    EXPECT_EQ(editor.windowTitle(), QStringLiteral("Feature demo \u2014 Disc editor"));
    EXPECT_EQ(editor.State().caption, "0") << "the editor's own caption is still the number";
}

TEST_F(EditorWindow, ALongValueShowsItsBeginningAndTheWholeOfItOnHover) {
    const std::string contact =
        "Tel 01632 960412 (weekdays 10am-6pm) or write to help@example.com with your order";
    LineList& lines = editor.State().source;
    lines.Put(lines.IndexOf("*BEGIN2") + 9, contact);
    ClickLine(editor.features(), 2);
    QLineEdit* box = editor.Box(kEdit6);
    ASSERT_EQ(box->text(), QString::fromStdString(contact));
    EXPECT_EQ(box->cursorPosition(), 0);
    EXPECT_EQ(box->toolTip(), QString::fromStdString(contact));
    TypeInto(box, QStringLiteral("!"));
    EXPECT_EQ(box->toolTip(), QString::fromStdString(contact + "!"))
        << "the tooltip follows typing";
}

TEST_F(EditorWindow, TheWorkingCopyShowsItsLinesWhole) {
    auto* source = editor.findChild<QListWidget*>(QStringLiteral("source"));
    ASSERT_NE(source, nullptr);
    // A support line as long as the sample disc's reads without scrolling.
    const QString typical = QStringLiteral("Tel 01632 960877 or help@deepcurrent.example.com");
    EXPECT_GE(source->viewport()->width(), source->fontMetrics().horizontalAdvance(typical));
    EXPECT_LE(editor.geometry().right(), 1280) << "the window still fits a 1280-pixel screen";
}

TEST_F(EditorWindow, ThePanelPreviewLeavesOutItsKeyColour) {
    ClickLine(editor.features(), 1);
    auto* imagez = editor.findChild<QLabel*>(QStringLiteral("imagez"));
    auto* subz = editor.findChild<QLabel*>(QStringLiteral("subz"));
    ASSERT_NE(imagez, nullptr);
    ASSERT_NE(subz, nullptr);
    const QImage panel = imagez->pixmap().toImage();
    const QImage thumb = subz->pixmap().toImage();
    ASSERT_FALSE(panel.isNull());
    ASSERT_FALSE(thumb.isNull());
    // The menu keys a panel by its corner pixel and draws a thumbnail whole.
    EXPECT_EQ(qAlpha(panel.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(thumb.pixel(0, 0)), 255);
}

TEST(EditorFiles, TheDialogFilterInQtsForm) {
    const QString filter = QtFileFilter(kPictureFilter);
    EXPECT_TRUE(filter.startsWith(
        QStringLiteral("All (*.dib *.bmp *.ico *.emf *.wmf *.png *.jpg *.jpeg *.gif);;"
                       "Device Independent Bitmap (*.dib);;Bitmaps (*.bmp);;")))
        << filter.toStdString();
    EXPECT_EQ(filter.count(QStringLiteral(";;")), 8);
}

TEST(EditorFiles, PicturesTheProgramCannotReadAreRefusedWithTheirReason) {
    FixtureDiscFolder disc;
    EditorPictureFiles files;
    try {
        files.Load((disc.Path() / "drawing.wmf").string());
        ADD_FAILURE() << "a metafile was read";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Unknown picture file extension (.wmf)");
    }
    QFile bad(QString::fromStdString((disc.Path() / "bad.png").string()));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("not a png at all");
    bad.close();
    try {
        files.Load((disc.Path() / "bad.png").string());
        ADD_FAILURE() << "a broken PNG was read";
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()).rfind("The picture bad.png cannot be read", 0), 0u)
            << e.what();
    }
}

} // namespace
} // namespace kestrova
