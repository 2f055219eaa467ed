#include "ui/tgame_form.h"

#include "engine/game.h"
#include "ui/game_panel.h"

#include "platform/program_icon.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace kestrova {

namespace {

void PaintWhiteOnNavy(QWidget* w) {
    QPalette p = w->palette();
    p.setColor(QPalette::Base, QColor(0, 0, 128));
    p.setColor(QPalette::Text, Qt::white);
    w->setPalette(p);
    QFont f(QStringLiteral("DejaVu Sans Mono"));
    f.setStyleHint(QFont::Monospace);
    f.setFixedPitch(true);
    f.setPixelSize(27);
    f.setBold(true);
    w->setFont(f);
}

} // namespace

TgameForm::TgameForm(GamePanel& panel, QWidget* parent) : QWidget(parent), panel_(panel) {
    setObjectName(QStringLiteral("game"));
    setWindowTitle(QStringLiteral("game"));
    setWindowIcon(ProgramIcon());
    resize(970, 455);

    screenie_ = new QPlainTextEdit(this);
    screenie_->setGeometry(0, 0, 241, 129);
    screenie_->setReadOnly(true);
    PaintWhiteOnNavy(screenie_);
    screenie_->setPlainText(QString(14, QLatin1Char('\n'))); // fifteen empty lines
    screenie_->installEventFilter(this);
    screenie_->viewport()->installEventFilter(this);

    Edit1_ = new QLineEdit(this);
    Edit1_->setGeometry(0, 112, 241, 36);
    PaintWhiteOnNavy(Edit1_);
    Edit1_->installEventFilter(this);

    hide();
}

void TgameForm::Edit1KeyUp(int key) {
    panel_.lineinputKeyUp(key);
}

void TgameForm::FormActivate() {
    panel_.StartAdventure();
    Edit1_->setFocus();
}

bool TgameForm::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        FormActivate();
    }
    return QWidget::event(event);
}

bool TgameForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Edit1_ && event->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat() && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            Edit1KeyUp(kEnterKey);
        }
    } else if ((watched == screenie_ && event->type() == QEvent::FocusIn) ||
               (watched == screenie_->viewport() && event->type() == QEvent::MouseButtonPress)) {
        // screenieEnter, screenieMouseDown: typing always goes to the command line.
        Edit1_->setFocus();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kestrova
