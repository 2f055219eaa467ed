#pragma once
// The hidden disc editor window. It is an empty shell until the editor is built.

#include <QWidget>

namespace kestrova {

class Tform1 : public QWidget {
    Q_OBJECT
  public:
    explicit Tform1(QWidget* parent = nullptr);
};

} // namespace kestrova
