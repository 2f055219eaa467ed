// The replay lines that drive the front end: time, the pointer, keys, the banners, the web and
// readme panes, the game and the window.

#include "app/replay_runner.h"

#include "engine/handler_variables.h"
#include "platform/qt_controls.h"
#include "platform/readme_pane.h"
#include "platform/web_pane.h"
#include "ui/full_screen_view.h"
#include "ui/game_panel.h"
#include "ui/main_form.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QProcess>
#include <QTextEdit>

#include <string>

namespace kestrova::replay {

namespace {

QWidget* KeyTarget(TMainForm& form) {
    QWidget* w = QApplication::focusWidget();
    return w ? w : &form;
}

void SendKey(TMainForm& form, Qt::Key key, const QString& text, Qt::KeyboardModifiers mods) {
    QWidget* target = KeyTarget(form);
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(KeyTarget(form), &release);
    QApplication::processEvents();
}

} // namespace

// A left press and release at `local` in `target`, as the pointer delivers them. The press may
// delete the target (a link that closes the window): the release then goes nowhere.
void LeftClick(QWidget* target, const QPointF& local) {
    const QPointF global = target->mapToGlobal(local);
    const QPointer<QWidget> alive(target);
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    if (alive) {
        QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(target, &release);
    }
    QApplication::processEvents();
}

Qt::Key KeyFor(const QString& name, QString& text) {
    static const struct {
        const char* name;
        Qt::Key key;
        const char* text;
    } keys[] = {{"Enter", Qt::Key_Return, "\r"},
                {"Return", Qt::Key_Return, "\r"},
                {"Up", Qt::Key_Up, ""},
                {"Down", Qt::Key_Down, ""},
                {"Left", Qt::Key_Left, ""},
                {"Right", Qt::Key_Right, ""},
                {"Escape", Qt::Key_Escape, "\x1b"},
                {"Tab", Qt::Key_Tab, "\t"},
                {"Backspace", Qt::Key_Backspace, "\b"},
                {"Space", Qt::Key_Space, " "},
                {"Home", Qt::Key_Home, ""},
                {"End", Qt::Key_End, ""}};
    for (const auto& k : keys) {
        if (name.compare(QLatin1String(k.name), Qt::CaseInsensitive) == 0) {
            text = QString::fromLatin1(k.text);
            return k.key;
        }
    }
    if (name.size() == 1) {
        text = name;
        const QChar c = name.at(0).toUpper();
        return static_cast<Qt::Key>(c.unicode());
    }
    if (name.size() >= 2 && name.at(0) == QLatin1Char('F')) {
        bool ok = false;
        const int n = name.mid(1).toInt(&ok);
        if (ok && n >= 1 && n <= 12) {
            text.clear();
            return static_cast<Qt::Key>(Qt::Key_F1 + n - 1);
        }
    }
    throw UsageError("unknown key " + name.toStdString());
}

void ReplayRunner::Frames(const LineArgs& a) {
    const int n = ToInt(a.words[0]);
    for (int i = 0; i < n; ++i) {
        Engine().RunOneFrame();
    }
}

void ReplayRunner::Wait(const LineArgs& a) {
    Engine().AdvanceTo(Engine().ClockMs() + ToInt(a.words[0]));
}

// Real time, not the front end's clock: the browser engine loads pages on its own threads.
// Real time, until the program logs a line holding the rest of the line: what the browser engine
// does on its own clock and the front end answers with a log line (a refused page). The window
// may close meanwhile (a page's command): the wait is over then.
void ReplayRunner::WaitLog(const LineArgs& a) {
    constexpr int kLimitMs = 20000;
    QElapsedTimer waited;
    waited.start();
    while (!LogRecorder::Take(a.rest)) {
        if (form_.State().closed) {
            return;
        }
        if (waited.elapsed() > kLimitMs) {
            throw ScriptError("no line holding \"" + a.rest.toStdString() +
                              "\" was logged within " + std::to_string(kLimitMs) + " ms");
        }
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

void ReplayRunner::WaitWeb(const LineArgs& a) {
    const int limitMs = a.words.empty() ? 20000 : ToInt(a.words[0]);
    // The page may be a command that ends the program: the window then destroys its pane,
    // and the wait is over.
    const auto loading = [this] {
        const WebPaneWidget* pane = form_.WebBrowser1();
        return !form_.State().closed && pane && !pane->PageLoaded();
    };
    QElapsedTimer waited;
    waited.start();
    while (loading()) {
        if (waited.elapsed() > limitMs) {
            throw ScriptError("the web pane's page did not load within " + std::to_string(limitMs) +
                              " ms");
        }
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    // The page is loaded; give the engine a moment to lay it out and draw.
    QElapsedTimer settle;
    settle.start();
    while (!form_.State().closed && settle.elapsed() < 300) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

void ReplayRunner::Move(const LineArgs& a) {
    Engine().DxDrawMouseMove(ToInt(a.words[0]), ToInt(a.words[1]));
}

void ReplayRunner::Click(const LineArgs& a) {
    if (a.words.size() == 1) {
        throw UsageError("click takes no position or both X and Y");
    }
    if (a.words.size() >= 2) {
        Engine().DxDrawMouseMove(ToInt(a.words[0]), ToInt(a.words[1]));
    }
    Engine().DxDrawMouseDown(form_.State().mouseX, form_.State().mouseY);
}

void ReplayRunner::ClickBanner(const LineArgs& a) {
    const QString& which = a.words[0];
    const int i = which == QLatin1String("left")     ? 0
                  : which == QLatin1String("centre") ? 1
                  : which == QLatin1String("right")  ? 2
                                                     : -1;
    if (i < 0) {
        throw UsageError("no banner " + which.toStdString());
    }
    Q_EMIT form_.Banner(i)->Clicked();
}

void ReplayRunner::Navigate(const LineArgs& a) {
    form_.WebBrowser1()->FollowLink(a.rest.toStdString());
}

// A click that lands on the web pane at window position (X, Y): a left press and release
// go to the pane's widget under that point, as the pointer would deliver them, so a link
// there is followed by whichever engine shows the page.
void ReplayRunner::ClickWeb(const LineArgs& a) {
    const QPoint at(ToInt(a.words[0]), ToInt(a.words[1]));
    WebPaneWidget* pane = form_.WebBrowser1();
    if (!pane || !pane->isVisible() || !pane->geometry().contains(at)) {
        throw ScriptError("the web pane is not under " + std::to_string(at.x()) + ", " +
                          std::to_string(at.y()));
    }
    QPoint local;
    QWidget* target = pane->ContentAt(pane->mapFrom(&form_, at), &local);
    LeftClick(target, QPointF(local));
}

// A click into the readme pane goes to its rich-text control, not to the surface below.
void ReplayRunner::ClickReadme(const LineArgs&) {
    ReadmePaneWidget* pane = form_.Panel4();
    if (!pane || !pane->Visible()) {
        throw ScriptError("the readme pane is not on screen");
    }
    QWidget* target = pane->RichEdit()->viewport();
    LeftClick(target, QPointF(target->width() / 2.0, target->height() / 2.0));
}

namespace {

// Counts the pointer's button presses that reach any widget of the program.
class PressCounter : public QObject {
  public:
    int presses = 0;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonPress && watched->isWidgetType()) {
            ++presses;
        }
        return false;
    }
};

} // namespace

// A real click through the display: xdotool moves the pointer to screen pixel (X, Y) of the
// window the reader sees (the full-screen view while it is up) and clicks, and the press comes
// back through the window system as any reader's would, so the toolkit's scaling and the view's
// placement are part of what is tested.
void ReplayRunner::ClickScreen(const LineArgs& a) {
    const int x = ToInt(a.words[0]);
    const int y = ToInt(a.words[1]);
    QWidget* shown = form_.FullScreen() ? static_cast<QWidget*>(form_.FullScreen()) : &form_;
    QApplication::processEvents();
    PressCounter counter;
    qApp->installEventFilter(&counter);
    const int status = QProcess::execute(
        QStringLiteral("xdotool"),
        {QStringLiteral("mousemove"), QStringLiteral("--sync"), QStringLiteral("--window"),
         QString::number(shown->winId()), QString::number(x), QString::number(y),
         QStringLiteral("click"), QStringLiteral("1")});
    if (status != 0) {
        qApp->removeEventFilter(&counter);
        throw ScriptError("xdotool could not click (status " + std::to_string(status) +
                          "): it needs an X display");
    }
    QElapsedTimer waited;
    waited.start();
    while (counter.presses == 0 && waited.elapsed() < 5000) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    // The release follows the press in the same batch.
    QApplication::processEvents();
    qApp->removeEventFilter(&counter);
    if (counter.presses == 0) {
        throw ScriptError("the click at " + std::to_string(x) + ", " + std::to_string(y) +
                          " did not reach the program");
    }
}

void ReplayRunner::Key(const LineArgs& a) {
    QString text;
    const Qt::Key key = KeyFor(a.words[0], text);
    SendKey(form_, key, text, Modifiers(a));
}

// The modifier words after a key's name: alt, shift, ctrl.
Qt::KeyboardModifiers ReplayRunner::Modifiers(const LineArgs& a) {
    Qt::KeyboardModifiers mods;
    for (int i = 1; i < a.words.size(); ++i) {
        if (a.words[i] == QLatin1String("alt")) {
            mods |= Qt::AltModifier;
        } else if (a.words[i] == QLatin1String("shift")) {
            mods |= Qt::ShiftModifier;
        } else if (a.words[i] == QLatin1String("ctrl")) {
            mods |= Qt::ControlModifier;
        } else {
            throw UsageError("unknown modifier " + a.words[i].toStdString());
        }
    }
    return mods;
}

void ReplayRunner::Type(const LineArgs& a) {
    // Everything after "type " is typed, blanks included.
    const QString text = a.raw.mid(a.raw.indexOf(QLatin1String("type")) + 5);
    for (const QChar ch : text) {
        const Qt::Key key = ch.isLetterOrNumber() ? static_cast<Qt::Key>(ch.toUpper().unicode())
                                                  : static_cast<Qt::Key>(ch.unicode());
        SendKey(form_, key, QString(ch), ch.isUpper() ? Qt::ShiftModifier : Qt::NoModifier);
    }
}

// Real keys from the X server: the window takes the input focus, xdotool sends what the line
// names through the server's test extension, and the events are handled as they arrive, in real
// time. Only on a real display (a script with "display: xvfb").
void ReplayRunner::XdoTool(const LineArgs& a) {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        throw ScriptError("xdotool needs an X display (display: xvfb)");
    }
    const auto run = [](const QStringList& args) {
        QProcess xdotool;
        xdotool.start(QStringLiteral("xdotool"), args);
        if (!xdotool.waitForFinished(10000) || xdotool.exitStatus() != QProcess::NormalExit ||
            xdotool.exitCode() != 0) {
            throw ScriptError("xdotool " + args.join(QLatin1Char(' ')).toStdString() +
                              " failed: " + xdotool.readAllStandardError().toStdString());
        }
    };
    form_.activateWindow();
    QApplication::processEvents();
    run({QStringLiteral("windowfocus"), QStringLiteral("--sync"), QString::number(form_.winId())});
    QApplication::processEvents();
    run(a.words);
    // The server has the keys; they reach the window over its connection.
    QElapsedTimer settle;
    settle.start();
    while (!form_.State().closed && settle.elapsed() < 300) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

// A handler's variable, for behaviour whose handler is not built yet.
void ReplayRunner::Set(const LineArgs& a) {
    const QString& field = a.words[0];
    const QString value = a.rest.mid(field.size()).trimmed();
    if (auto error = SetHandlerVariable(form_.State(), field.toStdString(), value.toStdString())) {
        throw UsageError(*error);
    }
}

// The mascot menu's game entry.
void ReplayRunner::StartGame(const LineArgs&) {
    form_.gamepanel()->StartAdventure();
}

// A click into the game's command line gives it the keyboard.
void ReplayRunner::ClickGame(const LineArgs&) {
    form_.gamepanel()->lineinput()->setFocus(Qt::MouseFocusReason);
    QApplication::setActiveWindow(&form_);
}

// The window's close button: the closing sequence runs and the script ends.
void ReplayRunner::Close(const LineArgs&) {
    form_.close();
}

void ReplayRunner::Activate(const LineArgs&) {
    Engine().SetActive(true);
}

void ReplayRunner::Deactivate(const LineArgs&) {
    Engine().SetActive(false);
}

} // namespace kestrova::replay
