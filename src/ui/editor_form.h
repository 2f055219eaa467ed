#pragma once
// The hidden disc editor window. It holds the editor's state and, once its controls are built,
// forwards each of them to the editor's logic.

#include "editor/editor_state.h"

#include <QWidget>

namespace kestrova {

class Tform1 : public QWidget {
    Q_OBJECT
  public:
    explicit Tform1(QWidget* parent = nullptr);

    EditorState& State() { return state_; }
    const EditorState& State() const { return state_; }

  private:
    EditorState state_;
};

} // namespace kestrova
