// The browser pane starts its engine only when a page is wanted: a page asked for before then is
// recorded, nothing of the engine is loaded (no library, no OpenGL context) and nothing counts as
// loading; the pane coming on screen wants the engine, and its page is under way from then on.

#include "platform/web_pane.h"

#include <QApplication>
#include <QFile>
#include <QOpenGLContext>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace kestrova {
namespace {

// Whether a library whose path holds `name` is mapped into this process.
bool Mapped(const char* name) {
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly)) {
        return false;
    }
    return maps.readAll().contains(name);
}

void RunEvents() {
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
    }
}

TEST(WebPaneEngineStart, APageAskedForOffScreenIsRecordedAndNothingOfTheEngineIsMade) {
    auto window = std::make_unique<QWidget>();
    window->resize(792, 573);
    auto* pane = new WebPaneWidget(WebPaneWidget::Engine::Browser, window.get());
    pane->setGeometry(800, 130, 798, 360);
    pane->SetLeft(800);
    window->show();
    pane->Navigate("engine/loading.html");
    RunEvents();
    EXPECT_EQ(pane->Url(), "engine/loading.html");
    EXPECT_FALSE(pane->EngineStarted());
    EXPECT_TRUE(pane->PageLoaded()) << "nothing is under way";
    EXPECT_FALSE(Mapped("kestrova_browser"));
    EXPECT_FALSE(Mapped("WebEngine"));
    EXPECT_EQ(QOpenGLContext::globalShareContext(), nullptr);
    EXPECT_FALSE(QCoreApplication::testAttribute(Qt::AA_ShareOpenGLContexts));

    // On screen the page is wanted: it is under way until the engine has loaded it. (The
    // window goes before the event loop would start the engine.)
    pane->SetLeft(-3);
    EXPECT_FALSE(pane->PageLoaded());
    EXPECT_FALSE(pane->EngineStarted()) << "started from the event loop, after the frame";
    window.reset();
    RunEvents();
    EXPECT_FALSE(Mapped("kestrova_browser"));
}

TEST(WebPaneEngineStart, TheLightPaneNeedsNoStart) {
    QWidget window;
    window.resize(792, 573);
    auto* pane = new WebPaneWidget(WebPaneWidget::Engine::Light, &window);
    pane->setGeometry(800, 130, 798, 360);
    pane->SetLeft(-3);
    pane->WarmUp();
    RunEvents();
    EXPECT_TRUE(pane->EngineStarted());
    EXPECT_TRUE(pane->PageLoaded());
    EXPECT_FALSE(Mapped("kestrova_browser"));
}

} // namespace
} // namespace kestrova
