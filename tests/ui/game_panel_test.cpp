// The game panel as a widget: where it sits, what Enter in its command line does, and where its
// message boxes and the hidden page go.

#include "ui/game_panel.h"

#include "engine/front_end.h"

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

// A panel in a window, showing the game of a front end that records its message boxes.
struct Played {
    QWidget window;
    GamePanel* panel = new GamePanel(&window);
    RecordingMessages boxes;
    FrontEnd engine{[this] {
        Ports p;
        p.game = panel;
        p.messages = &boxes;
        return p;
    }()};
    Played() { panel->Attach(engine); }
};

TEST(GamePanel, HiddenOffScreenUntilTheGameStarts) {
    Played g;
    g.window.resize(792, 573);
    GamePanel* panel = g.panel;
    EXPECT_TRUE(panel->isHidden());
    EXPECT_EQ(panel->geometry(), QRect(800, 107, 800, 392));
    panel->StartAdventure();
    EXPECT_FALSE(panel->isHidden());
    EXPECT_EQ(panel->x(), 0);
    EXPECT_TRUE(Lines(*panel).contains(QStringLiteral("Tobrik Adventure")));
}

TEST(GamePanel, EnterEchoesThePlaysAndClearsTheLine) {
    Played g;
    GamePanel* panel = g.panel;
    const std::vector<std::string>& boxes = g.boxes.messages;
    panel->StartAdventure();
    PressEnter(panel->lineinput(), QStringLiteral("Look"));
    EXPECT_TRUE(Lines(*panel).contains(QStringLiteral(">> Look"))) << "capitals echoed as typed";
    EXPECT_EQ(panel->lineinput()->text(), QString());
    EXPECT_EQ(g.engine.Game().Console().game().gamestate, 0);
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
    Played g;
    GamePanel* panel = g.panel;
    const std::vector<std::string>& boxes = g.boxes.messages;
    panel->StartAdventure();
    for (const char* line :
         {"hop on the lever", "go east", "talk to the aliens", "north", "south"}) {
        PressEnter(panel->lineinput(), QString::fromLatin1(line));
    }
    ASSERT_EQ(g.engine.Game().Console().game().gamestate, 5);
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
    Played g;
    g.panel->StartAdventure();
    PressEnter(g.panel->lineinput(), QStringLiteral("i need to find a candle"));
    EXPECT_TRUE(g.engine.State().navigatePending);
    EXPECT_EQ(g.engine.State().pendingUrl, "http://www.example.com/tobrik/candle.html");
}

} // namespace
} // namespace kestrova
