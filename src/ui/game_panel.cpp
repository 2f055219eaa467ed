#include "ui/game_panel.h"

#include "engine/front_end.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>

namespace kestrova {

namespace {

const QColor kPanelBlue(0, 0, 255);

// The console's fixed-pitch face at a pixel height; the disc ships no bitmap font of its own.
QFont ConsoleFont(int pixelHeight, bool bold) {
    QFont f(QStringLiteral("DejaVu Sans Mono"));
    f.setStyleHint(QFont::Monospace);
    f.setFixedPitch(true);
    f.setPixelSize(pixelHeight);
    f.setBold(bold);
    return f;
}

void PaintWhiteOnBlue(QWidget* w) {
    QPalette p = w->palette();
    for (QPalette::ColorRole role : {QPalette::Base, QPalette::Window}) {
        p.setColor(role, kPanelBlue);
    }
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText}) {
        p.setColor(role, Qt::white);
    }
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

QLineEdit* MakeLine(QWidget* parent, const QRect& bounds, bool bold) {
    auto* edit = new QLineEdit(parent);
    edit->setGeometry(bounds);
    edit->setFrame(false);
    edit->setFont(ConsoleFont(20, bold));
    PaintWhiteOnBlue(edit);
    return edit;
}

} // namespace

GamePanel::GamePanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("gamepanel"));
    setGeometry(800, 107, 800, 392);
    PaintWhiteOnBlue(this);

    screenie_ = new QPlainTextEdit(this);
    screenie_->setObjectName(QStringLiteral("screenie"));
    screenie_->setGeometry(5, 0, 795, 369);
    screenie_->setFrameShape(QFrame::NoFrame);
    screenie_->setReadOnly(true);
    screenie_->setFont(ConsoleFont(13, false));
    screenie_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    screenie_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    screenie_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    PaintWhiteOnBlue(screenie_);
    PaintWhiteOnBlue(screenie_->viewport());

    lineinput_ = MakeLine(this, QRect(32, 367, 753, 26), false);
    lineinput_->setObjectName(QStringLiteral("lineinput"));
    lineinput_->installEventFilter(this);

    DummyLabel_ = MakeLine(this, QRect(0, 367, 33, 26), true);
    DummyLabel_->setObjectName(QStringLiteral("DummyLabel"));
    DummyLabel_->setReadOnly(true);
    DummyLabel_->setText(QStringLiteral(">>"));

    hide();
}

void GamePanel::StartAdventure() {
    if (engine_) {
        engine_->Game().StartAdventure();
    }
}

void GamePanel::lineinputKeyUp(int key) {
    if (key != kEnterKey || !engine_) {
        return;
    }
    const std::string after = engine_->Game().lineinputKeyUp(key, lineinput_->text().toStdString());
    lineinput_->setText(QString::fromStdString(after));
}

bool GamePanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lineinput_ &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && event->type() == QEvent::KeyPress) {
            enterPressed_ = true;
        }
        // A held key repeats its release in Qt; the line is played once, when Enter comes up.
        // An Enter pressed elsewhere (the one that closed a message box) plays nothing when it
        // comes up here.
        if (enter && event->type() == QEvent::KeyRelease && !key->isAutoRepeat() && enterPressed_) {
            enterPressed_ = false;
            lineinputKeyUp(kEnterKey);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void GamePanel::ShowTranscript(const std::vector<std::string>& lines) {
    QStringList text;
    for (const std::string& line : lines) {
        text << QString::fromStdString(line);
    }
    screenie_->setPlainText(text.join(QLatin1Char('\n')));
}

void GamePanel::AppendLine(const std::string& line) {
    screenie_->appendPlainText(QString::fromStdString(line));
    // The insertion point follows the newest line so it stays in view.
    screenie_->moveCursor(QTextCursor::End);
    screenie_->ensureCursorVisible();
}

void GamePanel::ShowPanel() {
    move(0, y());
    show();
}

void GamePanel::HidePanel() {
    const bool hadKeyboard = isAncestorOf(window()->focusWidget());
    hide();
    if (hadKeyboard && parentWidget()) {
        parentWidget()->setFocus(Qt::OtherFocusReason);
    }
}

void GamePanel::FocusCommandLine() {
    lineinput_->setFocus(Qt::OtherFocusReason);
}

} // namespace kestrova
