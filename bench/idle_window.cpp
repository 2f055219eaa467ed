// The idle baseline: an empty Qt Widgets window of the front end's size that repaints itself 60
// times a second, as the least a program drawing at the front end's frame rate costs.
//
//   idle_window

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>

namespace {

class Window : public QWidget {
  protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter p(this);
        p.fillRect(event->rect(), Qt::black);
    }
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Window w;
    w.setFixedSize(792, 573);
    w.show();
    QTimer frame;
    frame.setTimerType(Qt::PreciseTimer);
    QObject::connect(&frame, &QTimer::timeout, &w, [&w] { w.update(); });
    frame.start(1000 / 60);
    return app.exec();
}
