#include "app/replay.h"

#include "app/state_dump.h"
#include "engine/handler_variables.h"
#include "platform/banner_clock.h"
#include "platform/dxdraw.h"
#include "platform/qt_controls.h"
#include "platform/readme_pane.h"
#include "platform/web_pane.h"
#include "ui/editor_form.h"
#include "ui/full_screen_view.h"
#include "ui/game_panel.h"
#include "ui/main_form.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QTextEdit>

#include <mutex>
#include <stdexcept>

namespace kestrova {

namespace {

struct ScriptError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A line that does not have one of its command's forms; the error names the forms.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

int ToInt(const QString& text) {
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok) {
        throw UsageError("not a whole number: " + text.toStdString());
    }
    return v;
}

QString Resolve(const QString& baseDir, const QString& path) {
    return QFileInfo(path).isAbsolute() ? path : QDir(baseDir).filePath(path);
}

// What the reader sees: the window, or the full-screen view while it is up.
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

QImage Snapshot(TMainForm& form) {
    if (form.FullScreen()) {
        return form.FullScreen()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    QImage picture = form.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QPainter painter(&picture);
    form.WebBrowser1()->DrawFloating(painter, QPoint(0, 0));
    return picture;
}

// A value of the state dump by a dotted path with [index] parts: "sprites.slideSprites[3].y".
QJsonValue Lookup(const QJsonObject& root, const QString& path) {
    QJsonValue v = root;
    const QStringList parts = path.split(QLatin1Char('.'));
    for (QString part : parts) {
        bool indexed = false;
        int index = 0;
        const int bracket = part.indexOf(QLatin1Char('['));
        if (bracket >= 0 && part.endsWith(QLatin1Char(']'))) {
            indexed = true;
            index = part.mid(bracket + 1, part.size() - bracket - 2).toInt();
            part = part.left(bracket);
        }
        if (!part.isEmpty()) {
            if (!v.isObject() || !v.toObject().contains(part)) {
                throw ScriptError("no field " + path.toStdString());
            }
            v = v.toObject().value(part);
        }
        if (indexed) {
            // A negative index counts from the end.
            const int size = v.isArray() ? static_cast<int>(v.toArray().size()) : 0;
            if (index < 0) {
                index += size;
            }
            if (!v.isArray() || index < 0 || index >= size) {
                throw ScriptError("no element " + path.toStdString());
            }
            v = v.toArray().at(index);
        }
    }
    return v;
}

QString ValueText(const QJsonValue& v) {
    switch (v.type()) {
    case QJsonValue::Bool:
        return v.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Double: {
        const double d = v.toDouble();
        if (d == static_cast<double>(static_cast<long long>(d))) {
            return QString::number(static_cast<long long>(d));
        }
        return QString::number(d);
    }
    case QJsonValue::String:
        return v.toString();
    case QJsonValue::Null:
        return QStringLiteral("null");
    default:
        return QString::fromUtf8(
            QJsonDocument(v.isArray() ? QJsonDocument(v.toArray()) : QJsonDocument(v.toObject()))
                .toJson(QJsonDocument::Compact));
    }
}

bool ParseColour(const QString& text, QRgb& out) {
    if (!text.startsWith(QLatin1Char('#')) || text.size() != 7) {
        return false;
    }
    bool ok = false;
    const uint v = text.mid(1).toUInt(&ok, 16);
    out = qRgb(static_cast<int>((v >> 16) & 0xFF), static_cast<int>((v >> 8) & 0xFF),
               static_cast<int>(v & 0xFF));
    return ok;
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

// What a line of the script gives its command: the words after the command, and the rest of
// the line as written (for free text such as a URL or typed characters).
struct LineArgs {
    QString raw;
    QString rest;
    QStringList words;
};

// The lines the program logs while a script runs, for "wait-log": each still goes where it went.
class LogRecorder {
  public:
    LogRecorder() {
        std::lock_guard lock(mutex_);
        previous_ = qInstallMessageHandler(&LogRecorder::Record);
    }
    ~LogRecorder() {
        std::lock_guard lock(mutex_);
        qInstallMessageHandler(previous_);
        previous_ = nullptr;
        lines_.clear();
    }
    LogRecorder(const LogRecorder&) = delete;
    LogRecorder& operator=(const LogRecorder&) = delete;

    // Takes the first line logged so far that holds `text`, so that one line answers one wait.
    static bool Take(const QString& text) {
        std::lock_guard lock(mutex_);
        for (auto it = lines_.begin(); it != lines_.end(); ++it) {
            if (it->contains(text)) {
                lines_.erase(it);
                return true;
            }
        }
        return false;
    }

  private:
    // The browser engine may log from threads of its own.
    static void Record(QtMsgType type, const QMessageLogContext& context, const QString& message) {
        QtMessageHandler previous = nullptr;
        {
            std::lock_guard lock(mutex_);
            lines_.append(message);
            previous = previous_;
        }
        if (previous) {
            previous(type, context, message);
        }
    }

    static inline std::mutex mutex_;
    static inline QStringList lines_;
    static inline QtMessageHandler previous_ = nullptr;
};

class Runner;

struct Command {
    const char* name;
    const char* usage; // the accepted forms, named in every error about the line
    int minWords;
    void (Runner::*run)(const LineArgs&);
};

class Runner {
  public:
    // The banners, when they play, step on the harness's clock like everything else.
    Runner(TMainForm& form, QString baseDir) : form_(form), baseDir_(std::move(baseDir)) {
        BannerClock::Shared().UseSteppedTime(Engine().ClockMs());
    }
    ~Runner() { BannerClock::Shared().UseWallTime(); }
    Runner(const Runner&) = delete;
    Runner& operator=(const Runner&) = delete;

    static const std::vector<Command>& Commands();

    void Line(const QString& raw) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) {
            return;
        }
        const int space = line.indexOf(QLatin1Char(' '));
        const QString name = space < 0 ? line : line.left(space);
        LineArgs args;
        args.raw = raw;
        args.rest = space < 0 ? QString() : line.mid(space + 1).trimmed();
        args.words = args.rest.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (const Command& c : Commands()) {
            if (name == QLatin1String(c.name)) {
                try {
                    if (args.words.size() < c.minWords) {
                        throw UsageError(std::string(c.name) + " needs " +
                                         std::to_string(c.minWords) + " argument(s)");
                    }
                    (this->*c.run)(args);
                } catch (const UsageError& e) {
                    throw ScriptError(std::string(e.what()) + "\n  usage: " + c.usage);
                }
                BannerClock::Shared().AdvanceTo(Engine().ClockMs());
                return;
            }
        }
        std::string forms;
        for (const Command& c : Commands()) {
            forms += std::string("\n  ") + c.usage;
        }
        throw ScriptError("unknown line: " + name.toStdString() + "\naccepted lines:" + forms);
    }

  private:
    FrontEnd& Engine() { return form_.Engine(); }

    void Frames(const LineArgs& a) {
        const int n = ToInt(a.words[0]);
        for (int i = 0; i < n; ++i) {
            Engine().RunOneFrame();
        }
    }

    void Wait(const LineArgs& a) { Engine().AdvanceTo(Engine().ClockMs() + ToInt(a.words[0])); }

    // Real time, not the front end's clock: the browser engine loads pages on its own threads.
    void WaitWeb(const LineArgs& a) {
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
                throw ScriptError("the web pane's page did not load within " +
                                  std::to_string(limitMs) + " ms");
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

    // Real time, until the program logs a line holding the rest of the line: what the browser
    // engine does on its own clock and the front end answers with a log line (a refused page).
    // The window may close meanwhile (a page's command): the wait is over then.
    void WaitLog(const LineArgs& a) {
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

    // Real time, for what runs on its own clocks (the browser engine).
    void WaitReal(const LineArgs& a) {
        QElapsedTimer waited;
        waited.start();
        const int ms = ToInt(a.words[0]);
        while (waited.elapsed() < ms) {
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        }
    }

    // The harness steps the banners itself; "banners play" lets them animate by themselves, as
    // on the desktop, on the harness's clock.
    void Banners(const LineArgs& a) {
        const bool play = a.words[0] == QLatin1String("play");
        if (!play && a.words[0] != QLatin1String("pause")) {
            throw UsageError("banners play or banners pause");
        }
        for (int i = 0; i < 3; ++i) {
            form_.Banner(i)->SetPaused(!play);
        }
    }

    void Move(const LineArgs& a) { Engine().DxDrawMouseMove(ToInt(a.words[0]), ToInt(a.words[1])); }

    void Click(const LineArgs& a) {
        if (a.words.size() == 1) {
            throw UsageError("click takes no position or both X and Y");
        }
        if (a.words.size() >= 2) {
            Engine().DxDrawMouseMove(ToInt(a.words[0]), ToInt(a.words[1]));
        }
        Engine().DxDrawMouseDown(form_.State().mouseX, form_.State().mouseY);
    }

    void ClickBanner(const LineArgs& a) {
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

    void Navigate(const LineArgs& a) { form_.WebBrowser1()->FollowLink(a.rest.toStdString()); }

    // A click that lands on the web pane at window position (X, Y): a left press and release
    // go to the pane's widget under that point, as the pointer would deliver them, so a link
    // there is followed by whichever engine shows the page.
    void ClickWeb(const LineArgs& a) {
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
    void ClickReadme(const LineArgs&) {
        ReadmePaneWidget* pane = form_.Panel4();
        if (!pane || !pane->Visible()) {
            throw ScriptError("the readme pane is not on screen");
        }
        QWidget* target = pane->RichEdit()->viewport();
        LeftClick(target, QPointF(target->width() / 2.0, target->height() / 2.0));
    }

    void Key(const LineArgs& a) {
        QString text;
        const Qt::Key key = KeyFor(a.words[0], text);
        SendKey(form_, key, text, Modifiers(a));
    }

    // The modifier words after a key's name: alt, shift, ctrl.
    static Qt::KeyboardModifiers Modifiers(const LineArgs& a) {
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

    void Type(const LineArgs& a) {
        // Everything after "type " is typed, blanks included.
        const QString text = a.raw.mid(a.raw.indexOf(QLatin1String("type")) + 5);
        for (const QChar ch : text) {
            const Qt::Key key = ch.isLetterOrNumber() ? static_cast<Qt::Key>(ch.toUpper().unicode())
                                                      : static_cast<Qt::Key>(ch.unicode());
            SendKey(form_, key, QString(ch), ch.isUpper() ? Qt::ShiftModifier : Qt::NoModifier);
        }
    }

    // A handler's variable, for behaviour whose handler is not built yet.
    void Set(const LineArgs& a) {
        const QString& field = a.words[0];
        const QString value = a.rest.mid(field.size()).trimmed();
        if (auto error =
                SetHandlerVariable(form_.State(), field.toStdString(), value.toStdString())) {
            throw UsageError(*error);
        }
    }

    // The mascot menu's game entry.
    void StartGame(const LineArgs&) { form_.gamepanel()->StartAdventure(); }

    // A click into the game's command line gives it the keyboard.
    void ClickGame(const LineArgs&) {
        form_.gamepanel()->lineinput()->setFocus(Qt::MouseFocusReason);
        QApplication::setActiveWindow(&form_);
    }

    // The window's close button: the closing sequence runs and the script ends.
    void Close(const LineArgs&) { form_.close(); }
    void Activate(const LineArgs&) { Engine().SetActive(true); }
    void Deactivate(const LineArgs&) { Engine().SetActive(false); }

    QString OutputPath(const LineArgs& a) {
        const QString path = Resolve(baseDir_, a.rest);
        QDir().mkpath(QFileInfo(path).absolutePath());
        return path;
    }

    void SnapshotLine(const LineArgs& a) {
        const QString path = OutputPath(a);
        if (!Snapshot(form_).save(path, "PNG")) {
            throw ScriptError("cannot write " + path.toStdString());
        }
    }

    void State(const LineArgs& a) {
        const QString path = OutputPath(a);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            throw ScriptError("cannot write " + path.toStdString());
        }
        f.write(QJsonDocument(StateDump(form_)).toJson(QJsonDocument::Indented));
    }

    void Expect(const LineArgs& a) {
        const QString& field = a.words[0];
        QString op = QStringLiteral("==");
        QString wanted = a.rest.mid(field.size()).trimmed();
        for (const char* o : {"==", "!=", "<=", ">=", "<", ">"}) {
            if (wanted == QLatin1String(o) ||
                wanted.startsWith(QLatin1String(o) + QLatin1Char(' '))) {
                op = QLatin1String(o);
                wanted = wanted.mid(op.size()).trimmed();
                break;
            }
        }
        if (wanted.isEmpty()) {
            throw UsageError("expect " + field.toStdString() + " " + op.toStdString() +
                             " has no value to compare with");
        }
        if (wanted.size() >= 2 && wanted.startsWith(QLatin1Char('"')) &&
            wanted.endsWith(QLatin1Char('"'))) {
            wanted = wanted.mid(1, wanted.size() - 2);
        }
        // Paths the front end makes absolute start with the disc root, which differs from run
        // to run: "{disc}" stands for the current directory string.
        wanted.replace(QLatin1String("{disc}"),
                       QString::fromStdString(FrontEnd::CurrentDirectory()));
        const QJsonValue v = Lookup(StateDump(form_), field);
        const QString got = ValueText(v);
        bool pass = false;
        if (op == QLatin1String("==")) {
            pass = got == wanted;
        } else if (op == QLatin1String("!=")) {
            pass = got != wanted;
        } else {
            const double x = v.toDouble();
            const double y = wanted.toDouble();
            pass = op == QLatin1String("<")    ? x < y
                   : op == QLatin1String(">")  ? x > y
                   : op == QLatin1String("<=") ? x <= y
                                               : x >= y;
        }
        if (!pass) {
            throw ScriptError("expected " + field.toStdString() + " " + op.toStdString() + " " +
                              wanted.toStdString() + ", got " + got.toStdString());
        }
    }

    // A rectangle of the window as it is now against the same rectangle of a snapshot taken
    // before.
    void ExpectRegion(const LineArgs& a) {
        const QRect r(ToInt(a.words[0]), ToInt(a.words[1]), ToInt(a.words[2]), ToInt(a.words[3]));
        const bool negate = a.words[4] == QLatin1String("!=");
        if (!negate && a.words[4] != QLatin1String("==")) {
            throw UsageError("expect-region X Y W H ==|!= FILE.png");
        }
        if (a.words.size() < 6) {
            throw UsageError("expect-region X Y W H ==|!= FILE.png");
        }
        const QString path = Resolve(baseDir_, a.words[5]);
        const QImage before(path);
        if (before.isNull()) {
            throw ScriptError("cannot read " + path.toStdString());
        }
        const QImage now = Snapshot(form_);
        if (!now.rect().contains(r) || !before.rect().contains(r)) {
            throw ScriptError("the region is outside the window");
        }
        const bool same = now.copy(r) == before.convertToFormat(now.format()).copy(r);
        if (same == negate) {
            throw ScriptError(same ? "the region has not changed" : "the region has changed");
        }
    }

    void ExpectPixel(const LineArgs& a) {
        const int x = ToInt(a.words[0]);
        const int y = ToInt(a.words[1]);
        const bool negate = a.words[2] == QLatin1String("!=");
        if (negate && a.words.size() < 4) {
            throw UsageError("expect-pixel X Y != needs a colour");
        }
        const QString colourText = negate ? a.words[3] : a.words[2];
        QRgb wanted = 0;
        if (!ParseColour(colourText, wanted)) {
            throw UsageError("bad colour " + colourText.toStdString());
        }
        const QImage img = Snapshot(form_);
        if (!img.valid(x, y)) {
            throw ScriptError("pixel outside the window");
        }
        const QRgb got = img.pixel(x, y) & 0xFFFFFF;
        const bool same = got == (wanted & 0xFFFFFF);
        if (same == negate) {
            throw ScriptError(
                QStringLiteral("pixel %1,%2 is #%3")
                    .arg(x)
                    .arg(y)
                    .arg(QString::number(got, 16).rightJustified(6, QLatin1Char('0')).toUpper())
                    .toStdString() +
                (negate ? ", expected anything else" : ", expected " + colourText.toStdString()));
        }
    }

    // The disc editor's lines: they drive its real controls, as the user's pointer and keys would.
    Tform1& EditorWindow() {
        Tform1* editor = form_.Editor();
        if (editor == nullptr) {
            throw ScriptError("the program has no disc editor");
        }
        return *editor;
    }

    Tform1& OpenedEditor() {
        Tform1& editor = EditorWindow();
        if (!editor.isVisible()) {
            throw ScriptError("the disc editor is not open (editor-open, or --editor)");
        }
        return editor;
    }

    QLineEdit* EditorBox(const QString& name) {
        QLineEdit* box = OpenedEditor().Box(BoxByName(name.toStdString()));
        if (box == nullptr) {
            throw UsageError("no editor box " + name.toStdString() + " (title, Edit1 ... Edit9)");
        }
        return box;
    }

    // Key press and release to one control of the editor, which has the keyboard.
    void SendEditorKey(QWidget* target, Qt::Key key, const QString& text,
                       Qt::KeyboardModifiers mods) {
        QApplication::setActiveWindow(target->window());
        target->setFocus(Qt::OtherFocusReason);
        QKeyEvent press(QEvent::KeyPress, key, mods, text);
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, mods, text);
        QApplication::sendEvent(target, &release);
        QApplication::processEvents();
    }

    void EditorOpen(const LineArgs&) {
        EditorWindow();
        form_.OpenEditor();
        QApplication::processEvents();
    }

    // A click on line N of the title list.
    void EditorSelect(const LineArgs& a) {
        QListWidget* list = OpenedEditor().features();
        const int n = ToInt(a.words[0]);
        if (n < 0 || n >= list->count()) {
            throw ScriptError("the title list has no line " + std::to_string(n));
        }
        QListWidgetItem* item = list->item(n);
        list->scrollToItem(item);
        LeftClick(list->viewport(), list->visualItemRect(item).center());
    }

    // Each character of TEXT typed at the end of the box's text.
    void EditorType(const LineArgs& a) {
        QLineEdit* box = EditorBox(a.words[0]);
        const QString text = a.rest.mid(a.words[0].size() + 1);
        box->end(false);
        for (const QChar ch : text) {
            const Qt::Key key = ch.isLetterOrNumber() ? static_cast<Qt::Key>(ch.toUpper().unicode())
                                                      : static_cast<Qt::Key>(ch.unicode());
            SendEditorKey(box, key, QString(ch), ch.isUpper() ? Qt::ShiftModifier : Qt::NoModifier);
        }
    }

    // Select all, then Backspace: the box is emptied as the user would empty it.
    void EditorClear(const LineArgs& a) {
        QLineEdit* box = EditorBox(a.words[0]);
        SendEditorKey(box, Qt::Key_A, QStringLiteral("a"), Qt::ControlModifier);
        SendEditorKey(box, Qt::Key_Backspace, QStringLiteral("\b"), Qt::NoModifier);
    }

    // A key to the editor's focused control (or the window), e.g. "editor-key S ctrl".
    void EditorKey(const LineArgs& a) {
        Tform1& editor = OpenedEditor();
        QString text;
        const Qt::Key key = KeyFor(a.words[0], text);
        const Qt::KeyboardModifiers mods = Modifiers(a);
        if (mods & Qt::ControlModifier) {
            text.clear(); // a control chord types nothing
        }
        QWidget* focus = editor.focusWidget();
        SendEditorKey(focus ? focus : &editor, key, text, mods);
    }

    void EditorPress(const LineArgs& a) {
        QPushButton* button = OpenedEditor().ButtonNamed(a.rest);
        if (button == nullptr) {
            throw UsageError("no editor button " + a.rest.toStdString());
        }
        button->click();
        QApplication::processEvents();
    }

    // The answer the next picture dialog gives: a file (relative to the script's folder) or none.
    void EditorDialog(const LineArgs& a) {
        if (a.rest == QLatin1String("cancel")) {
            EditorWindow().QueueDialogCancel();
        } else {
            EditorWindow().QueueDialogAnswer(Resolve(baseDir_, a.rest).toStdString());
        }
    }

    // The answer the next question about unwritten edits gets when something closes.
    void EditorAnswer(const LineArgs& a) {
        const QString word = a.words[0].toLower();
        if (word == QLatin1String("write")) {
            EditorWindow().QueueUnwrittenAnswer(UnwrittenAnswer::Write);
        } else if (word == QLatin1String("discard")) {
            EditorWindow().QueueUnwrittenAnswer(UnwrittenAnswer::Discard);
        } else if (word == QLatin1String("cancel")) {
            EditorWindow().QueueUnwrittenAnswer(UnwrittenAnswer::Cancel);
        } else {
            throw UsageError("editor-answer write|discard|cancel");
        }
    }

    void EditorSnapshot(const LineArgs& a) {
        const QString path = OutputPath(a);
        if (!OpenedEditor().grab().toImage().save(path, "PNG")) {
            throw ScriptError("cannot write " + path.toStdString());
        }
    }

    TMainForm& form_;
    QString baseDir_;
    LogRecorder log_;
};

const std::vector<Command>& Runner::Commands() {
    static const std::vector<Command> commands = {
        {"frames", "frames N", 1, &Runner::Frames},
        {"wait", "wait MS", 1, &Runner::Wait},
        {"wait-web", "wait-web [MS]", 0, &Runner::WaitWeb},
        {"wait-real", "wait-real MS", 1, &Runner::WaitReal},
        {"wait-log", "wait-log TEXT", 1, &Runner::WaitLog},
        {"banners", "banners play|pause", 1, &Runner::Banners},
        {"move", "move X Y", 2, &Runner::Move},
        {"click", "click [X Y]", 0, &Runner::Click},
        {"click-banner", "click-banner left|centre|right", 1, &Runner::ClickBanner},
        {"navigate", "navigate URL", 1, &Runner::Navigate},
        {"click-web", "click-web X Y", 2, &Runner::ClickWeb},
        {"click-readme", "click-readme", 0, &Runner::ClickReadme},
        {"key", "key NAME [alt] [shift] [ctrl]", 1, &Runner::Key},
        {"type", "type TEXT", 1, &Runner::Type},
        {"set", "set FIELD VALUE", 2, &Runner::Set},
        {"start-game", "start-game", 0, &Runner::StartGame},
        {"click-game", "click-game", 0, &Runner::ClickGame},
        {"close", "close", 0, &Runner::Close},
        {"activate", "activate", 0, &Runner::Activate},
        {"deactivate", "deactivate", 0, &Runner::Deactivate},
        {"snapshot", "snapshot FILE.png", 1, &Runner::SnapshotLine},
        {"state", "state FILE.json", 1, &Runner::State},
        {"expect", "expect FIELD [==|!=|<|<=|>|>=] VALUE ({disc}: the disc root)", 2,
         &Runner::Expect},
        {"expect-pixel", "expect-pixel X Y [!=] #RRGGBB", 3, &Runner::ExpectPixel},
        {"expect-region", "expect-region X Y W H ==|!= FILE.png", 6, &Runner::ExpectRegion},
        {"editor-open", "editor-open", 0, &Runner::EditorOpen},
        {"editor-select", "editor-select N (line N of the title list)", 1, &Runner::EditorSelect},
        {"editor-type", "editor-type BOX TEXT (BOX: title, Edit1 ... Edit9)", 2,
         &Runner::EditorType},
        {"editor-clear", "editor-clear BOX", 1, &Runner::EditorClear},
        {"editor-key", "editor-key NAME [alt] [shift] [ctrl]", 1, &Runner::EditorKey},
        {"editor-press", "editor-press BUTTON (Button1 ... Button6, WriteButton, or a caption)", 1,
         &Runner::EditorPress},
        {"editor-dialog", "editor-dialog FILE|cancel (the next picture dialog's answer)", 1,
         &Runner::EditorDialog},
        {"editor-snapshot", "editor-snapshot FILE.png", 1, &Runner::EditorSnapshot},
        {"editor-answer", "editor-answer write|discard|cancel (the next question on closing)", 1,
         &Runner::EditorAnswer},
    };
    return commands;
}

} // namespace

ReplayResult RunReplayText(TMainForm& form, const QString& text, const QString& name,
                           const QString& baseDir) {
    Runner runner(form, baseDir);
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r'))) {
            line.chop(1);
        }
        try {
            runner.Line(line);
        } catch (const std::exception& e) {
            return {false, name.toStdString() + ":" + std::to_string(i + 1) + ": " + e.what()};
        }
        if (form.State().closed) {
            break;
        }
    }
    return {};
}

ReplayResult RunReplay(TMainForm& form, const QString& scriptPath, const QString& baseDir) {
    QFile f(Resolve(baseDir, scriptPath));
    if (!f.open(QIODevice::ReadOnly)) {
        return {false, "cannot read the script " + scriptPath.toStdString()};
    }
    return RunReplayText(form, QString::fromUtf8(f.readAll()), scriptPath, baseDir);
}

} // namespace kestrova
