#pragma once
// The replay harness's script runner, shared by the files of its command families:
// replay.cpp (the command table, how a line is read, the entry points), replay_input.cpp (time,
// pointer, keys, the panes, the game, the window), replay_controller.cpp (a game controller),
// replay_expect.cpp (snapshots, state dumps and expectations) and replay_editor.cpp (the disc
// editor's controls).

#include "app/replay_log.h"
#include "engine/controller_mapping.h"

#include <QPointF>
#include <QString>
#include <QStringList>

#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

class QLineEdit;
class QWidget;

namespace kestrova {

class FrontEnd;
class TMainForm;
class Tform1;

namespace replay {

// A failed expectation or a line that cannot be carried out.
struct ScriptError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A line that does not have one of its command's forms; the error names the forms.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

int ToInt(const QString& text);
// `path` relative to `baseDir` unless it is absolute.
QString Resolve(const QString& baseDir, const QString& path);
// A left press and release at `local` in `target`, as the pointer delivers them. The press may
// delete the target (a link that closes the window): the release then goes nowhere.
void LeftClick(QWidget* target, const QPointF& local);
// The key a script names ("Enter", "F5", "a"), and the text it types.
Qt::Key KeyFor(const QString& name, QString& text);

// What a line of the script gives its command: the words after the command, and the rest of
// the line as written (for free text such as a URL or typed characters).
struct LineArgs {
    QString raw;
    QString rest;
    QStringList words;
};

class ReplayRunner;

struct Command {
    const char* name;
    const char* usage; // the accepted forms, named in every error about the line
    int minWords;
    void (ReplayRunner::*run)(const LineArgs&);
};

class ReplayRunner {
  public:
    ReplayRunner(TMainForm& form, QString baseDir) : form_(form), baseDir_(std::move(baseDir)) {}
    ReplayRunner(const ReplayRunner&) = delete;
    ReplayRunner& operator=(const ReplayRunner&) = delete;

    // Every line the harness accepts, in one table.
    static const std::vector<Command>& Commands();

    // Runs one line of a script; throws ScriptError.
    void Line(const QString& raw);

  private:
    FrontEnd& Engine();
    // A file the script writes, relative to the base folder; its folder is made.
    QString OutputPath(const LineArgs& a);

    // Time (replay_input.cpp).
    void Frames(const LineArgs& a);
    void Wait(const LineArgs& a);
    void WaitWeb(const LineArgs& a);
    void WaitLog(const LineArgs& a);
    // Pointer, keys, the panes, the game and the window (replay_input.cpp).
    void Move(const LineArgs& a);
    void Click(const LineArgs& a);
    void ClickBanner(const LineArgs& a);
    void Navigate(const LineArgs& a);
    void ClickWeb(const LineArgs& a);
    void ClickReadme(const LineArgs& a);
    void ClickScreen(const LineArgs& a);
    void Key(const LineArgs& a);
    static Qt::KeyboardModifiers Modifiers(const LineArgs& a);
    void Type(const LineArgs& a);
    void XdoTool(const LineArgs& a);
    void Set(const LineArgs& a);
    void StartGame(const LineArgs& a);
    void ClickGame(const LineArgs& a);
    void Close(const LineArgs& a);
    void Activate(const LineArgs& a);
    void Deactivate(const LineArgs& a);

    // A game controller (replay_controller.cpp).
    void ControllerKey(std::optional<NavigationKey> key);
    void Pad(const LineArgs& a);
    void Stick(const LineArgs& a);

    // Snapshots, state dumps and expectations (replay_expect.cpp).
    void SnapshotLine(const LineArgs& a);
    void ScreenSnapshot(const LineArgs& a);
    void State(const LineArgs& a);
    void Expect(const LineArgs& a);
    void ExpectRegion(const LineArgs& a);
    void ExpectPixel(const LineArgs& a);

    // The disc editor (replay_editor.cpp).
    Tform1& EditorWindow();
    Tform1& OpenedEditor();
    QLineEdit* EditorBox(const QString& name);
    void SendEditorKey(QWidget* target, Qt::Key key, const QString& text,
                       Qt::KeyboardModifiers mods);
    void EditorOpen(const LineArgs& a);
    void EditorSelect(const LineArgs& a);
    void EditorType(const LineArgs& a);
    void EditorClear(const LineArgs& a);
    void EditorKey(const LineArgs& a);
    void EditorPress(const LineArgs& a);
    void EditorDialog(const LineArgs& a);
    void EditorAnswer(const LineArgs& a);
    void EditorSnapshot(const LineArgs& a);

    TMainForm& form_;
    QString baseDir_;
    LogRecorder log_;
    ControllerMapping pad_;
};

} // namespace replay
} // namespace kestrova
