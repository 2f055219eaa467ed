#include "app/replay.h"

#include "app/state_dump.h"
#include "platform/dxdraw.h"
#include "platform/qt_controls.h"
#include "platform/web_pane.h"
#include "shell/game_console.h"
#include "shell/main_form.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPixmap>

#include <stdexcept>

namespace kestrova {

namespace {

struct ScriptError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

int ToInt(const QString& text) {
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok) {
        throw ScriptError("not a whole number: " + text.toStdString());
    }
    return v;
}

QString Resolve(const QString& baseDir, const QString& path) {
    return QFileInfo(path).isAbsolute() ? path : QDir(baseDir).filePath(path);
}

QImage Snapshot(TMainForm& form) {
    return form.grab().toImage().convertToFormat(QImage::Format_RGB32);
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
    throw ScriptError("unknown key " + name.toStdString());
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

class Runner {
  public:
    Runner(TMainForm& form, QString baseDir) : form_(form), baseDir_(std::move(baseDir)) {}

    void Line(const QString& raw) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) {
            return;
        }
        const int space = line.indexOf(QLatin1Char(' '));
        const QString cmd = space < 0 ? line : line.left(space);
        const QString rest = space < 0 ? QString() : line.mid(space + 1).trimmed();
        const QStringList args = rest.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        auto need = [&](int n) {
            if (args.size() < n) {
                throw ScriptError(cmd.toStdString() + " needs " + std::to_string(n) +
                                  " argument(s)");
            }
        };

        if (cmd == QLatin1String("frames")) {
            need(1);
            const int n = ToInt(args[0]);
            for (int i = 0; i < n; ++i) {
                form_.RunOneFrame();
            }
        } else if (cmd == QLatin1String("wait")) {
            need(1);
            form_.AdvanceTo(form_.ClockMs() + ToInt(args[0]));
        } else if (cmd == QLatin1String("move")) {
            need(2);
            form_.DxDrawMouseMove(ToInt(args[0]), ToInt(args[1]));
        } else if (cmd == QLatin1String("click")) {
            if (args.size() >= 2) {
                form_.DxDrawMouseMove(ToInt(args[0]), ToInt(args[1]));
            }
            form_.DxDrawMouseDown(form_.State().mouseX, form_.State().mouseY);
        } else if (cmd == QLatin1String("click-banner")) {
            need(1);
            const QString which = args[0];
            const int i = which == QLatin1String("left")     ? 0
                          : which == QLatin1String("centre") ? 1
                          : which == QLatin1String("right")  ? 2
                                                             : -1;
            if (i < 0) {
                throw ScriptError("click-banner takes left, centre or right");
            }
            Q_EMIT form_.Banner(i)->Clicked();
        } else if (cmd == QLatin1String("navigate")) {
            need(1);
            form_.WebBrowser1()->FollowLink(rest.toStdString());
        } else if (cmd == QLatin1String("key")) {
            need(1);
            QString text;
            const Qt::Key key = KeyFor(args[0], text);
            Qt::KeyboardModifiers mods;
            for (int i = 1; i < args.size(); ++i) {
                if (args[i] == QLatin1String("alt")) {
                    mods |= Qt::AltModifier;
                } else if (args[i] == QLatin1String("shift")) {
                    mods |= Qt::ShiftModifier;
                } else if (args[i] == QLatin1String("ctrl")) {
                    mods |= Qt::ControlModifier;
                } else {
                    throw ScriptError("unknown modifier " + args[i].toStdString());
                }
            }
            SendKey(form_, key, text, mods);
        } else if (cmd == QLatin1String("type")) {
            // Everything after "type " is typed, blanks included.
            const QString text = raw.mid(raw.indexOf(QLatin1String("type")) + 5);
            for (const QChar ch : text) {
                const Qt::Key key = ch.isLetterOrNumber()
                                        ? static_cast<Qt::Key>(ch.toUpper().unicode())
                                        : static_cast<Qt::Key>(ch.unicode());
                SendKey(form_, key, QString(ch), ch.isUpper() ? Qt::ShiftModifier : Qt::NoModifier);
            }
        } else if (cmd == QLatin1String("set")) {
            // set FIELD VALUE: a handler's variable, for behaviour whose handler is not built yet.
            need(2);
            MainState& st = form_.State();
            const QString field = args[0];
            const QString value = rest.mid(field.size()).trimmed();
            if (field == QLatin1String("targetPanel")) {
                const int v = ToInt(value);
                if (v < 0 || v >= kSpriteSlots) {
                    throw ScriptError("targetPanel outside 0.." + std::to_string(kSpriteSlots - 1));
                }
                st.targetPanel = v;
            } else if (field == QLatin1String("slideState")) {
                st.slideState = ToInt(value);
            } else if (field == QLatin1String("hoverKey")) {
                st.hoverKey = value.toStdString();
            } else if (field == QLatin1String("menuKey")) {
                st.menuKey = value.toStdString();
            } else if (field == QLatin1String("menuHover")) {
                st.menuHover = ToInt(value);
            } else if (field == QLatin1String("menusource")) {
                st.menusource.clear();
                for (const QString& item : value.split(QLatin1Char('|'))) {
                    st.menusource.push_back(item.toStdString());
                }
            } else if (field == QLatin1String("pendingUrl")) {
                st.pendingUrl = value.toStdString();
            } else if (field == QLatin1String("navigatePending")) {
                st.navigatePending = value == QLatin1String("true");
            } else {
                throw ScriptError("cannot set " + field.toStdString());
            }
        } else if (cmd == QLatin1String("start-game")) {
            // The mascot menu's game entry.
            form_.gamepanel()->StartAdventure();
        } else if (cmd == QLatin1String("click-game")) {
            // A click into the game's command line gives it the keyboard.
            form_.gamepanel()->lineinput()->setFocus(Qt::MouseFocusReason);
            QApplication::setActiveWindow(&form_);
        } else if (cmd == QLatin1String("close")) {
            // The window's close button: the closing sequence runs and the script ends.
            form_.close();
        } else if (cmd == QLatin1String("activate")) {
            form_.SetActive(true);
        } else if (cmd == QLatin1String("deactivate")) {
            form_.SetActive(false);
        } else if (cmd == QLatin1String("snapshot")) {
            need(1);
            const QString path = Resolve(baseDir_, rest);
            QDir().mkpath(QFileInfo(path).absolutePath());
            if (!Snapshot(form_).save(path, "PNG")) {
                throw ScriptError("cannot write " + path.toStdString());
            }
        } else if (cmd == QLatin1String("state")) {
            need(1);
            const QString path = Resolve(baseDir_, rest);
            QDir().mkpath(QFileInfo(path).absolutePath());
            QFile f(path);
            if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
                throw ScriptError("cannot write " + path.toStdString());
            }
            f.write(QJsonDocument(StateDump(form_)).toJson(QJsonDocument::Indented));
        } else if (cmd == QLatin1String("expect")) {
            // expect FIELD VALUE | expect FIELD != VALUE | expect FIELD < VALUE | > VALUE
            need(2);
            const QString field = args[0];
            QString op = QStringLiteral("==");
            QString wanted = rest.mid(rest.indexOf(field) + field.size()).trimmed();
            for (const char* o : {"!=", "<=", ">=", "<", ">"}) {
                if (wanted.startsWith(QLatin1String(o) + QLatin1Char(' '))) {
                    op = QLatin1String(o);
                    wanted = wanted.mid(op.size()).trimmed();
                    break;
                }
            }
            if (wanted.size() >= 2 && wanted.startsWith(QLatin1Char('"')) &&
                wanted.endsWith(QLatin1Char('"'))) {
                wanted = wanted.mid(1, wanted.size() - 2);
            }
            const QJsonValue v = Lookup(StateDump(form_), field);
            const QString got = ValueText(v);
            bool pass = false;
            if (op == QLatin1String("==")) {
                pass = got == wanted;
            } else if (op == QLatin1String("!=")) {
                pass = got != wanted;
            } else {
                const double a = v.toDouble();
                const double b = wanted.toDouble();
                pass = op == QLatin1String("<")    ? a < b
                       : op == QLatin1String(">")  ? a > b
                       : op == QLatin1String("<=") ? a <= b
                                                   : a >= b;
            }
            if (!pass) {
                throw ScriptError("expected " + field.toStdString() + " " + op.toStdString() + " " +
                                  wanted.toStdString() + ", got " + got.toStdString());
            }
        } else if (cmd == QLatin1String("expect-pixel")) {
            // expect-pixel X Y #RRGGBB | expect-pixel X Y != #RRGGBB
            need(3);
            const int x = ToInt(args[0]);
            const int y = ToInt(args[1]);
            const bool negate = args[2] == QLatin1String("!=");
            const QString colourText = negate && args.size() > 3 ? args[3] : args[2];
            QRgb wanted = 0;
            if (!ParseColour(colourText, wanted)) {
                throw ScriptError("bad colour " + colourText.toStdString());
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
                    (negate ? ", expected anything else"
                            : ", expected " + colourText.toStdString()));
            }
        } else {
            throw ScriptError("unknown line: " + cmd.toStdString());
        }
    }

  private:
    TMainForm& form_;
    QString baseDir_;
};

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
