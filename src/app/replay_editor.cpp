// The replay lines of the disc editor: they drive its real controls, as the user's pointer and
// keys would.

#include "app/replay_runner.h"

#include "ui/editor_form.h"
#include "ui/main_form.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <string>

namespace kestrova::replay {

Tform1& ReplayRunner::EditorWindow() {
    Tform1* editor = form_.Editor();
    if (editor == nullptr) {
        throw ScriptError("the program has no disc editor");
    }
    return *editor;
}

Tform1& ReplayRunner::OpenedEditor() {
    Tform1& editor = EditorWindow();
    if (!editor.isVisible()) {
        throw ScriptError("the disc editor is not open (editor-open, or --editor)");
    }
    return editor;
}

QLineEdit* ReplayRunner::EditorBox(const QString& name) {
    QLineEdit* box = OpenedEditor().Box(BoxByName(name.toStdString()));
    if (box == nullptr) {
        throw UsageError("no editor box " + name.toStdString() + " (title, Edit1 ... Edit9)");
    }
    return box;
}

// Key press and release to one control of the editor, which has the keyboard.
void ReplayRunner::SendEditorKey(QWidget* target, Qt::Key key, const QString& text,
                                 Qt::KeyboardModifiers mods) {
    QApplication::setActiveWindow(target->window());
    target->setFocus(Qt::OtherFocusReason);
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(target, &release);
    QApplication::processEvents();
}

void ReplayRunner::EditorOpen(const LineArgs&) {
    EditorWindow();
    form_.OpenEditor();
    QApplication::processEvents();
}

// A click on line N of the title list.
void ReplayRunner::EditorSelect(const LineArgs& a) {
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
void ReplayRunner::EditorType(const LineArgs& a) {
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
void ReplayRunner::EditorClear(const LineArgs& a) {
    QLineEdit* box = EditorBox(a.words[0]);
    SendEditorKey(box, Qt::Key_A, QStringLiteral("a"), Qt::ControlModifier);
    SendEditorKey(box, Qt::Key_Backspace, QStringLiteral("\b"), Qt::NoModifier);
}

// A key to the editor's focused control (or the window), e.g. "editor-key S ctrl".
void ReplayRunner::EditorKey(const LineArgs& a) {
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

void ReplayRunner::EditorPress(const LineArgs& a) {
    QPushButton* button = OpenedEditor().ButtonNamed(a.rest);
    if (button == nullptr) {
        throw UsageError("no editor button " + a.rest.toStdString());
    }
    button->click();
    QApplication::processEvents();
}

// The answer the next picture dialog gives: a file (relative to the script's folder) or none.
void ReplayRunner::EditorDialog(const LineArgs& a) {
    if (a.rest == QLatin1String("cancel")) {
        EditorWindow().QueueDialogCancel();
    } else {
        EditorWindow().QueueDialogAnswer(Resolve(baseDir_, a.rest).toStdString());
    }
}

// The answer the next question about unwritten edits gets when something closes.
void ReplayRunner::EditorAnswer(const LineArgs& a) {
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

void ReplayRunner::EditorSnapshot(const LineArgs& a) {
    const QString path = OutputPath(a);
    if (!OpenedEditor().grab().toImage().save(path, "PNG")) {
        throw ScriptError("cannot write " + path.toStdString());
    }
}

} // namespace kestrova::replay
