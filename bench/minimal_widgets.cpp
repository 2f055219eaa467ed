// The start-up and memory baseline: the least a Qt Widgets program does to put a window of the
// front end's size on screen. One 792 x 573 window, one paint, linked to Qt Widgets only.
//
//   minimal_widgets [--first-frame-exit]
//
// With --first-frame-exit it prints the time from process start to its first painted frame as
// the front end does ("first frame after N ms", from KESTROVA_LAUNCH_NS when the launcher sets
// it) and quits; without, it stays open so its memory can be read.

#include <QApplication>
#include <QElapsedTimer>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

QElapsedTimer& ProcessClock() {
    static QElapsedTimer clock;
    return clock;
}

// Milliseconds since the launcher's time stamp (so loading the program counts too), else since
// main(); the same clock the front end reads.
double SinceLaunchMs() {
    const QByteArray launch = qgetenv("KESTROVA_LAUNCH_NS");
    if (!launch.isEmpty()) {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        const long long nowNs = static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
        return static_cast<double>(nowNs - launch.toLongLong()) / 1e6;
    }
    return static_cast<double>(ProcessClock().nsecsElapsed()) / 1e6;
}

class Window : public QWidget {
  protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter p(this);
        p.fillRect(event->rect(), Qt::black);
    }
};

} // namespace

int main(int argc, char** argv) {
    ProcessClock().start();
    bool exitAfterPaint = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--first-frame-exit") == 0) {
            exitAfterPaint = true;
        }
    }
    QApplication app(argc, argv);
    Window w;
    w.setFixedSize(792, 573);
    w.show();
    if (exitAfterPaint) {
        QTimer::singleShot(0, &app, [&] {
            w.repaint();
            std::printf("first frame after %.1f ms\n", SinceLaunchMs());
            app.quit();
        });
    }
    return app.exec();
}
