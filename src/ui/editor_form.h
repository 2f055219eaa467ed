#pragma once
// The disc editor window `form1`: the title list, the record's boxes, the working copy of the
// lines and the entry's pictures. Each control forwards what the user does to the editor's
// logic, and the window then shows the editor's state again.

#include "editor/disc_editor.h"
#include "ui/editor_files.h"

#include <QWidget>

#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace kestrova {

struct MainState;

class Tform1 : public QWidget {
    Q_OBJECT
  public:
    // Under the harness the picture dialog takes scripted answers and messages are not shown.
    explicit Tform1(bool replay = false, QWidget* parent = nullptr);
    ~Tform1() override;

    DiscEditor& Editor() { return editor_; }
    EditorState& State() { return editor_.State(); }
    const EditorState& State() const { return editor_.State(); }

    // Shows the window beside the front end with a fresh copy of its lines; the front end's lines
    // and entry pictures are what SAVE and the picture buttons change.
    void OpenEditor(MainState& frontEnd);

    // For the harness: the controls by name, and the answer for the next picture dialog.
    QLineEdit* Box(int box) const;
    QPushButton* ButtonNamed(const QString& nameOrCaption) const;
    QListWidget* features() const { return features_; }
    void QueueDialogAnswer(const std::string& file) { dialog_.QueueAnswer(file); }
    void QueueDialogCancel() { dialog_.QueueCancel(); }
    void QueueUnwrittenAnswer(UnwrittenAnswer answer) { messages_.QueueAnswer(answer); }

    // Before the editor or the front end closes: with edits the disc data file lacks, asks
    // whether to write them, discard them or not close. True when closing may go on.
    bool ConfirmClose();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildControls();
    // Runs a handler of the editor and shows the state it leaves.
    template <typename Handler> void Run(Handler handler);
    void ShowState();

    EditorPictureDialog dialog_;
    EditorPictureFiles pictures_;
    DiscFileWriter files_;
    EditorMessageBox messages_;
    DiscEditor editor_;

    QListWidget* features_ = nullptr;
    QListWidget* source_ = nullptr;
    QLabel* Label2_ = nullptr;
    QLabel* subz_ = nullptr;
    QLabel* imagez_ = nullptr;
    QLineEdit* boxes_[kBoxCount] = {};
    QPushButton* buttons_[7] = {};
};

} // namespace kestrova
