// The replay lines that look: snapshots, state dumps, and expectations on the state, on a pixel
// and on a region of the window.

#include "app/replay_runner.h"

#include "app/state_dump.h"
#include "engine/front_end.h"
#include "platform/web_pane.h"
#include "ui/full_screen_view.h"
#include "ui/main_form.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QThread>

#include <string>

namespace kestrova::replay {

namespace {

// What the reader sees: the window, or the full-screen view while it is up.
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

} // namespace

void ReplayRunner::SnapshotLine(const LineArgs& a) {
    const QString path = OutputPath(a);
    if (!Snapshot(form_).save(path, "PNG")) {
        throw ScriptError("cannot write " + path.toStdString());
    }
}

// The window's pixels as the display holds them (under a virtual X server, what the server
// shows; offscreen, the window's backing store), in screen pixels: the full-screen view while it
// is up. The browser engine's own window is not part of it offscreen.
void ReplayRunner::ScreenSnapshot(const LineArgs& a) {
    const QString path = OutputPath(a);
    QWidget* shown = form_.FullScreen() ? static_cast<QWidget*>(form_.FullScreen()) : &form_;
    shown->repaint();
    QApplication::processEvents();
    // A window just made full screen is mapped and resized by the display in its own time (on a
    // loaded machine, after the first grab): the picture is taken once two grabs a moment apart
    // agree, or after two seconds.
    QImage picture;
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        QScreen* screen = shown->screen();
        const QImage grabbed =
            screen
                ? screen->grabWindow(shown->winId()).toImage().convertToFormat(QImage::Format_RGB32)
                : QImage();
        if (grabbed.isNull() || grabbed == picture || waited.elapsed() > 2000) {
            picture = grabbed;
            break;
        }
        picture = grabbed;
        QThread::msleep(50);
        QApplication::processEvents();
    }
    if (picture.isNull() || !picture.save(path, "PNG")) {
        throw ScriptError("cannot grab the window into " + path.toStdString());
    }
}

void ReplayRunner::State(const LineArgs& a) {
    const QString path = OutputPath(a);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        throw ScriptError("cannot write " + path.toStdString());
    }
    f.write(QJsonDocument(StateDump(form_)).toJson(QJsonDocument::Indented));
}

void ReplayRunner::Expect(const LineArgs& a) {
    const QString& field = a.words[0];
    QString op = QStringLiteral("==");
    QString wanted = a.rest.mid(field.size()).trimmed();
    for (const char* o : {"==", "!=", "<=", ">=", "<", ">"}) {
        if (wanted == QLatin1String(o) || wanted.startsWith(QLatin1String(o) + QLatin1Char(' '))) {
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
    wanted.replace(QLatin1String("{disc}"), QString::fromStdString(FrontEnd::CurrentDirectory()));
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
void ReplayRunner::ExpectRegion(const LineArgs& a) {
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

void ReplayRunner::ExpectPixel(const LineArgs& a) {
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

} // namespace kestrova::replay
