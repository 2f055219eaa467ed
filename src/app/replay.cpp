// The replay harness's one table of script lines, how a line is read and handed to its command,
// and the entry points. The commands live with their families (see replay_runner.h).

#include "app/replay.h"

#include "app/replay_runner.h"
#include "ui/main_form.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <string>

namespace kestrova {

namespace replay {

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

FrontEnd& ReplayRunner::Engine() {
    return form_.Engine();
}

void ReplayRunner::Line(const QString& raw) {
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
                    throw UsageError(std::string(c.name) + " needs " + std::to_string(c.minWords) +
                                     " argument(s)");
                }
                (this->*c.run)(args);
            } catch (const UsageError& e) {
                throw ScriptError(std::string(e.what()) + "\n  usage: " + c.usage);
            }
            return;
        }
    }
    std::string forms;
    for (const Command& c : Commands()) {
        forms += std::string("\n  ") + c.usage;
    }
    throw ScriptError("unknown line: " + name.toStdString() + "\naccepted lines:" + forms);
}

QString ReplayRunner::OutputPath(const LineArgs& a) {
    const QString path = Resolve(baseDir_, a.rest);
    QDir().mkpath(QFileInfo(path).absolutePath());
    return path;
}

const std::vector<Command>& ReplayRunner::Commands() {
    static const std::vector<Command> commands = {
        {"frames", "frames N", 1, &ReplayRunner::Frames},
        {"wait", "wait MS", 1, &ReplayRunner::Wait},
        {"wait-web", "wait-web [MS]", 0, &ReplayRunner::WaitWeb},
        {"wait-log", "wait-log TEXT", 1, &ReplayRunner::WaitLog},
        {"move", "move X Y", 2, &ReplayRunner::Move},
        {"click", "click [X Y]", 0, &ReplayRunner::Click},
        {"click-banner", "click-banner left|centre|right", 1, &ReplayRunner::ClickBanner},
        {"navigate", "navigate URL", 1, &ReplayRunner::Navigate},
        {"click-web", "click-web X Y", 2, &ReplayRunner::ClickWeb},
        {"click-readme", "click-readme", 0, &ReplayRunner::ClickReadme},
        {"click-screen", "click-screen X Y (screen pixels of the window shown; needs xdotool)", 2,
         &ReplayRunner::ClickScreen},
        {"key", "key NAME [alt] [shift] [ctrl]", 1, &ReplayRunner::Key},
        {"type", "type TEXT", 1, &ReplayRunner::Type},
        {"pad", "pad a|b|x|y|back|start|lshoulder|rshoulder|up|down|left|right", 1,
         &ReplayRunner::Pad},
        {"stick", "stick X Y (the left stick, -32768 to 32767, y down)", 2, &ReplayRunner::Stick},
        {"xdotool", "xdotool key|type ... (real keys from the X server; display: xvfb)", 2,
         &ReplayRunner::XdoTool},
        {"set", "set FIELD VALUE", 2, &ReplayRunner::Set},
        {"start-game", "start-game", 0, &ReplayRunner::StartGame},
        {"click-game", "click-game", 0, &ReplayRunner::ClickGame},
        {"close", "close", 0, &ReplayRunner::Close},
        {"activate", "activate", 0, &ReplayRunner::Activate},
        {"deactivate", "deactivate", 0, &ReplayRunner::Deactivate},
        {"snapshot", "snapshot FILE.png", 1, &ReplayRunner::SnapshotLine},
        {"screen-snapshot", "screen-snapshot FILE.png", 1, &ReplayRunner::ScreenSnapshot},
        {"state", "state FILE.json", 1, &ReplayRunner::State},
        {"expect", "expect FIELD [==|!=|<|<=|>|>=] VALUE ({disc}: the disc root)", 2,
         &ReplayRunner::Expect},
        {"expect-pixel", "expect-pixel X Y [!=] #RRGGBB", 3, &ReplayRunner::ExpectPixel},
        {"expect-region", "expect-region X Y W H ==|!= FILE.png", 6, &ReplayRunner::ExpectRegion},
        {"editor-open", "editor-open", 0, &ReplayRunner::EditorOpen},
        {"editor-select", "editor-select N (line N of the title list)", 1,
         &ReplayRunner::EditorSelect},
        {"editor-type", "editor-type BOX TEXT (BOX: title, Edit1 ... Edit9)", 2,
         &ReplayRunner::EditorType},
        {"editor-clear", "editor-clear BOX", 1, &ReplayRunner::EditorClear},
        {"editor-key", "editor-key NAME [alt] [shift] [ctrl]", 1, &ReplayRunner::EditorKey},
        {"editor-press", "editor-press BUTTON (Button1 ... Button6, WriteButton, or a caption)", 1,
         &ReplayRunner::EditorPress},
        {"editor-dialog", "editor-dialog FILE|cancel (the next picture dialog's answer)", 1,
         &ReplayRunner::EditorDialog},
        {"editor-snapshot", "editor-snapshot FILE.png", 1, &ReplayRunner::EditorSnapshot},
        {"editor-answer", "editor-answer write|discard|cancel (the next question on closing)", 1,
         &ReplayRunner::EditorAnswer},
    };
    return commands;
}

} // namespace replay

ReplayResult RunReplayText(TMainForm& form, const QString& text, const QString& name,
                           const QString& baseDir) {
    replay::ReplayRunner runner(form, baseDir);
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
    QFile f(replay::Resolve(baseDir, scriptPath));
    if (!f.open(QIODevice::ReadOnly)) {
        return {false, "cannot read the script " + scriptPath.toStdString()};
    }
    return RunReplayText(form, QString::fromUtf8(f.readAll()), scriptPath, baseDir);
}

} // namespace kestrova
