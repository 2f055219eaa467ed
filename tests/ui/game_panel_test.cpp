// The game panel as a widget: where it sits, what Enter in its command line does, and where its
// message boxes and the hidden page go.

#include "ui/game_panel.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

namespace kestrova {
namespace {

void PressEnter(QLineEdit* input, const QString& text) {
    input->setText(text);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(input, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(input, &release);
}

QStringList Lines(const GamePanel& panel) {
    return panel.screenie()->toPlainText().split(QLatin1Char('\n'));
}

TEST(GamePanel, HiddenOffScreenUntilTheGameStarts) {
    QWidget window;
    window.resize(792, 573);
    auto* panel = new GamePanel(&window);
    EXPECT_TRUE(panel->isHidden());
    EXPECT_EQ(panel->geometry(), QRect(800, 107, 800, 392));
    panel->StartAdventure();
    EXPECT_FALSE(panel->isHidden());
    EXPECT_EQ(panel->x(), 0);
    EXPECT_TRUE(Lines(*panel).contains(QStringLiteral("Tobrik Adventure")));
}

TEST(GamePanel, EnterEchoesThePlaysAndClearsTheLine) {
    QWidget window;
    auto* panel = new GamePanel(&window);
    std::vector<std::string> boxes;
    panel->SetMessageBox([&](const std::string& text) { boxes.push_back(text); });
    panel->StartAdventure();
    PressEnter(panel->lineinput(), QStringLiteral("Look"));
    EXPECT_TRUE(Lines(*panel).contains(QStringLiteral(">> Look"))) << "capitals echoed as typed";
    EXPECT_EQ(panel->lineinput()->text(), QString());
    EXPECT_EQ(panel->Console().game().gamestate, 0);
    // A deadly move: the story, then the box through the window's hook, and play goes on.
    PressEnter(panel->lineinput(), QStringLiteral("xxx"));
    PressEnter(panel->lineinput(), QStringLiteral("west"));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "GAME OVER");
    // Other keys play nothing.
    panel->lineinput()->setText(QStringLiteral("look"));
    QKeyEvent other(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QApplication::sendEvent(panel->lineinput(), &other);
    EXPECT_EQ(panel->lineinput()->text(), QStringLiteral("look"));
}

TEST(GamePanel, AnEnterPressedElsewherePlaysNothingWhenReleasedHere) {
    QWidget window;
    auto* panel = new GamePanel(&window);
    std::vector<std::string> boxes;
    panel->SetMessageBox([&](const std::string& text) { boxes.push_back(text); });
    panel->StartAdventure();
    for (const char* line :
         {"hop on the lever", "go east", "talk to the aliens", "north", "south"}) {
        PressEnter(panel->lineinput(), QString::fromLatin1(line));
    }
    ASSERT_EQ(panel->Console().game().gamestate, 5);
    const QStringList before = Lines(*panel);
    // The Enter that closed a message box comes up in the command line: no empty line is played,
    // so the device room does not end the game again.
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(panel->lineinput(), &release);
    EXPECT_EQ(Lines(*panel), before);
    EXPECT_TRUE(boxes.empty());
    // The next Enter pressed in the line plays as usual.
    PressEnter(panel->lineinput(), QStringLiteral("look"));
    EXPECT_TRUE(Lines(*panel).contains(QStringLiteral(">> look")));
}

TEST(GamePanel, TheHiddenCommandAsksForItsPage) {
    QWidget window;
    auto* panel = new GamePanel(&window);
    QString asked;
    QObject::connect(panel, &GamePanel::OpenWebPageRequested,
                     [&](const QString& address) { asked = address; });
    panel->StartAdventure();
    PressEnter(panel->lineinput(), QStringLiteral("i need to find a candle"));
    EXPECT_EQ(asked, QStringLiteral("http://www.example.com/tobrik/candle.html"));
}

} // namespace
} // namespace kestrova
