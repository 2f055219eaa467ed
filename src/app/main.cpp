// The program entry: the command line, the three windows in their order, and the message loop
// or the replay harness.

#include "adventure/terminal.h"
#include "app/cli.h"
#include "app/disc_probe_child.h"
#include "app/disc_start.h"
#include "app/list_discs.h"
#include "app/replay.h"
#include "app/shelf_start.h"
#include "app/window_scale.h"
#include "base/code_page.h"
#include "base/error.h"
#include "base/terminal_text.h"
#include "disc/cdio/open_disc.h"
#include "disc/disc_file_system.h"
#include "engine/pictures_ahead.h"
#include "platform/controller_service.h"
#include "platform/desktop_launcher.h"
#include "platform/desktop_pacer.h"
#include "platform/desktop_settings.h"
#include "platform/dry_run_launcher.h"
#include "platform/fonts_ahead.h"
#include "platform/logging.h"
#include "platform/program_icon.h"
#include "platform/qt_pace_clock.h"
#include "platform/web_pane.h"
#include "ui/editor_form.h"
#include "ui/full_screen_view.h"
#include "ui/game_panel.h"
#include "ui/main_form.h"
#include "ui/tgame_form.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QScopeGuard>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <iostream>
#include <optional>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

using namespace kestrova;

namespace {

QElapsedTimer& ProcessClock() {
    static QElapsedTimer clock;
    return clock;
}

// Milliseconds since the process was launched: from the launcher's time stamp when the
// measurement script gives one (so loading the program counts too), else since main().
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

// The browser engine's own logging to standard error stays off unless the user asks for it.
void QuietBrowserEngine() {
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS")) {
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--log-level=3 --disable-logging");
    }
}

// Says once when a window is first exposed.
class ExposeWatch : public QObject {
  public:
    explicit ExposeWatch(std::function<void()> exposed) : exposed_(std::move(exposed)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && exposed_) {
            const auto exposed = std::move(exposed_);
            exposed_ = nullptr;
            exposed();
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    std::function<void()> exposed_;
};

void Trace(bool on, const char* what) {
    if (on) {
        std::fprintf(stderr, "%6.1f ms  %s\n", SinceLaunchMs(), what);
    }
}

int RunEmptyWindow(QApplication& app, bool exitAfterPaint) {
    QWidget w;
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

// A player at a terminal gets a prompt, and story texts broken at the terminal's width; a file
// piped in or out gets no prompt and lines of 80 columns (or $COLUMNS).
TerminalOptions TerminalAdventureOptions() {
    TerminalOptions options;
    options.width = 80;
    if (const char* columns = std::getenv("COLUMNS")) {
        const long n = std::strtol(columns, nullptr, 10);
        if (n >= 20 && n <= 1000) {
            options.width = static_cast<size_t>(n);
        }
    }
    winsize size{};
    if (isatty(STDOUT_FILENO) && ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 &&
        size.ws_col >= 20) {
        options.width = size.ws_col;
    }
    if (isatty(STDIN_FILENO)) {
        options.prompt = "> ";
    }
    // A terminal that echoes what is typed has shown the command after the prompt already; a
    // command read from a file, or shown nowhere the output goes, is printed back.
    termios input{};
    if (isatty(STDIN_FILENO) && isatty(STDOUT_FILENO) && tcgetattr(STDIN_FILENO, &input) == 0 &&
        (input.c_lflag & ECHO) != 0) {
        options.echoCommands = false;
    }
    return options;
}

} // namespace

int main(int argc, char** argv) {
    ProcessClock().start();
    std::vector<std::string> args(argv + 1, argv + argc);
    CommandLine cli;
    if (auto error = ParseCommandLine(args, cli)) {
        std::fprintf(stderr, "kestrova: %s\n\n%s", error->c_str(), UsageText().c_str());
        return 2;
    }
    if (cli.help) {
        std::fputs(UsageText().c_str(), stdout);
        return 0;
    }
    if (cli.version) {
        std::fputs(VersionText().c_str(), stdout);
        return 0;
    }

    if (cli.adventure) {
        return RunTerminalAdventure(std::cin, std::cout, TerminalAdventureOptions());
    }
    if (cli.listDiscs) {
        return RunListDiscs(argc, argv, cli);
    }

    const QString startDir = QDir::currentPath();
    const bool replay = !cli.replay.empty();
    if (replay && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        // The harness runs headless unless told which display to use (a test under a virtual
        // X server): no window reaches a screen.
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        // A private runtime folder, so standard error holds only the program's own messages.
        const QByteArray dir = QDir::tempPath().toUtf8() + "/kestrova-runtime-" +
                               QByteArray::number(static_cast<qint64>(getuid()));
        QDir().mkpath(QString::fromUtf8(dir));
        QFile::setPermissions(QString::fromUtf8(dir),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", dir);
    }
    const bool verbose = cli.verbose || qgetenv("KESTROVA_VERBOSE") == "1";
    if (!verbose) {
        QuietBrowserEngine();
        QuietMissingSoundDevice();
    }
    if (!cli.probeDisc.empty()) {
        return RunDiscProbeChild(argc, argv, cli);
    }

    if (getuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
        // The browser engine refuses to start its sandbox as root (a container, a test machine)
        // and would end the program; there it runs without one.
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    // The disc is chosen before the toolkit starts, and its pictures are read and decoded on
    // threads of their own while it starts and the windows are built; start-up takes them in their
    // place. A disc that cannot be opened is told once the application exists, as before. An image
    // is read in place; the current directory stays.
    // Started with no disc, the shelf of the user's discs opens; each is opened from there.
    const bool shelf = cli.disc.empty() && !replay && !cli.emptyWindow && !cli.firstFrameExit;
    std::optional<StartFault> discFault;
    if (!cli.disc.empty()) {
        discFault = PutDiscIn(cli.disc);
    }
    std::optional<PicturesAhead> pictures;
    // The fonts too are made ready on a thread of their own while the toolkit starts.
    std::optional<FontsAhead> fonts;
    if (!discFault && !shelf && !cli.emptyWindow) {
        pictures.emplace();
        fonts.emplace();
    }
    // The user's settings shape the desktop; a replay runs the same on every machine, so it reads
    // none of them.
    const DesktopSettings settings = replay ? DesktopSettings() : LoadDesktopSettings();
    ApplyToolkitScale(ToolkitScaleFor(ChosenWindowScale(cli.scale, settings.windowScale)));
    QApplication app(argc, argv);
    // The fonts' thread is done before the application goes, however main() ends.
    const auto fontsDone = qScopeGuard([&fonts] { fonts.reset(); });
    // Under the harness the bundled faces are registered at once; on the desktop once the first
    // frame is out (below).
    if (fonts && replay) {
        fonts->ApplicationStarted();
    }
    if (shelf) {
        QApplication::setApplicationName(QStringLiteral("Kestrova CD-ROM"));
        QApplication::setWindowIcon(ProgramIcon());
        return RunShelf(cli);
    }
    // A disc that cannot be opened is told like every other fault of the disc at start: on
    // standard error and in a box.
    if (discFault) {
        PrintStartFault(*discFault);
        if (!replay) {
            QMessageBox::critical(nullptr, QStringLiteral("Kestrova CD-ROM"),
                                  QString::fromStdString(discFault->message));
        }
        return 1;
    }
    if (!verbose) {
        // The browser engine reports its set-up, and that its sandbox is off, on every start; a
        // user's own logging rules (QT_LOGGING_RULES) still win over these.
        QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false\n"
                                                        "qt.webenginecontext.debug=false\n"
                                                        "js.info=false\njs.warning=false\n"
                                                        "default.info=false"));
    }
    // The name message boxes carry. No display name is set: the window system would add it to
    // every window's title, and the disc editor's names the entry it edits instead.
    QApplication::setApplicationName(QStringLiteral("Kestrova CD-ROM"));
    // Every window and dialog carries the program's icon, when the toolkit can draw it: the
    // front end's from its first frame on (see TMainForm::ShowProgramIcon).
    const auto showProgramIcon = [] { QApplication::setWindowIcon(ProgramIcon()); };
    if (cli.emptyWindow) {
        showProgramIcon();
        return RunEmptyWindow(app, cli.firstFrameExit);
    }

    // Program starts are recorded under the harness and with --no-launch, performed otherwise;
    // either way they are judged alike, with the settings file's Wine (none under a replay). With
    // --no-launch each recorded start is printed too.
    const WineSetup wine{settings.wineCommand, settings.winePrefix};
    DryRunLauncher recordedLaunches(wine, cli.noLaunch ? stdout : nullptr);
    DesktopLauncher desktopLauncher(UserCacheFolder(), wine);
    MainFormOptions options;
    options.replay = replay;
    options.editorStation = cli.editorStation;
    options.launcher =
        (cli.noLaunch || replay) ? static_cast<Launcher*>(&recordedLaunches) : &desktopLauncher;
    options.lightWebPane = (replay && !cli.webEngine) || cli.lightWeb;
    options.smoothFullScreen = settings.smoothFullScreen;
    // The disc's code page: the option, else what the settings remember for this disc.
    // (The folder disc is the current folder by now: a relative --disc is read from where the
    // program started.)
    const QString discPath = QDir(startDir).absoluteFilePath(QString::fromStdString(cli.disc));
    const std::optional<int> codePage =
        cli.codePage ? cli.codePage : DiscCodePage(settings, discPath);
    options.codePage =
        CodePage::FromNumber(codePage.value_or(CodePage::kDefaultNumber)).value_or(CodePage{});

    // The windows in their order: the main window, the adventure's holder, the disc editor. The
    // two hidden ones wait: the holder, and with it the main window's hidden readme pane and game
    // panel, is built once the first frame is drawn (under the harness, before the script runs),
    // the editor when it is first wanted.
    const bool trace = cli.firstFrameExit;
    Trace(trace, "application");
    TMainForm form(options);
    Trace(trace, "main window");
    std::unique_ptr<TgameForm> game;
    const auto buildGameHolder = [&game, &form] {
        if (!game) {
            game = std::make_unique<TgameForm>(*form.gamepanel());
        }
    };
    form.SetEditorMaker([replay] { return std::make_unique<Tform1>(replay); });
    try {
        form.Initialize(pictures ? &*pictures : nullptr);
        Trace(trace, "disc loaded");
    } catch (const Error& e) {
        PrintStartFault(StartFault{e.what(), e.Detail()});
        // Without --disc the folder the program was started in is the disc: say so, since that
        // is seldom what the user meant.
        std::string hint;
        if (cli.disc.empty()) {
            hint = "No disc was given, so the folder " + startDir.toStdString() +
                   " was read as one. Name a disc folder or CD image with --disc.";
            std::fprintf(stderr, "%s\n", TerminalSafe(hint).c_str());
        }
        if (!replay) {
            showProgramIcon();
            QMessageBox box(QMessageBox::Critical, QStringLiteral("Kestrova CD-ROM"),
                            QString::fromStdString(e.what()));
            box.setInformativeText(QString::fromStdString(hint));
            box.exec();
        }
        return 1;
    }

    if (replay) {
        buildGameHolder();
        showProgramIcon();
        form.ShowProgramIcon();
        form.show();
        form.Engine().SetActive(true);
        if (cli.fullScreen) {
            form.StartFullScreen();
        }
        if (cli.editor) {
            form.OpenEditor();
        }
        const ReplayResult result = RunReplay(form, QString::fromStdString(cli.replay), startDir);
        if (!result.ok) {
            std::fprintf(stderr, "%s\n", result.error.c_str());
            return 3;
        }
        return 0;
    }

    QObject::connect(&form, &TMainForm::CaptionChanged, &form,
                     [&form](const QString& caption) { form.setWindowTitle(caption); });
    form.show();
    form.activateWindow();
    if (cli.fullScreen) {
        form.StartFullScreen();
    }
    if (cli.editor) {
        form.OpenEditor();
    }
    Trace(trace, "shown");

    // Frames follow the wall clock at a fixed 60 per second; the window is active only while the
    // application is.
    QtPaceClock paceClock;
    DesktopPacer pacer(form.Engine(), paceClock, cli.firstFrameExit,
                       [&form] { return form.FramesShown(); });
    pacer.Start();
    const auto runPass = [&] {
        const bool active =
            QApplication::applicationState() == Qt::ApplicationActive || form.isActiveWindow();
        const DesktopPacer::Pass pass = pacer.Run(active);
        if (pass.firstFrame) {
            if (cli.firstFrameExit) {
                form.repaint();
                std::printf("first frame after %.1f ms\n", SinceLaunchMs());
            }
            // The bundled faces, which the first frame did not need (see fonts_ahead.h).
            if (fonts) {
                fonts->ApplicationStarted();
            }
            // What the first frame did not wait for: the icon, the adventure's holder.
            QTimer::singleShot(0, &form, [&form, &showProgramIcon, &buildGameHolder] {
                showProgramIcon();
                form.ShowProgramIcon();
                buildGameHolder();
            });
        }
        if (pass.quit) {
            app.quit();
        }
    };
    // The first frame is drawn as the window (or the full-screen view) first comes on screen,
    // before the window paints what it is exposed with: its first paint shows the frame, and the
    // curtain under it never has to be painted.
    ExposeWatch exposed([&pacer, &runPass] {
        if (pacer.WindowExposed()) {
            runPass();
        }
    });
    QWidget* onScreen = form.FullScreen() ? static_cast<QWidget*>(form.FullScreen()) : &form;
    if (QWindow* shown = onScreen->windowHandle()) {
        shown->installEventFilter(&exposed);
        if (shown->isExposed()) {
            pacer.WindowExposed();
        }
    }
    QObject::connect(&paceClock.Timer(), &QTimer::timeout, &form, runPass);
    // Input wakes a loop resting on a still screen before the input reaches the front end.
    const auto input = [&pacer, &runPass] {
        if (pacer.Input()) {
            runPass();
        }
    };
    QtInputWatch inputWatch(input);
    app.installEventFilter(&inputWatch);
    QObject::connect(&app, &QGuiApplication::applicationStateChanged, &paceClock.Timer(),
                     [&pacer](Qt::ApplicationState) { pacer.ActivationChanged(); });

    // A game controller works the menu as the navigation keys do. SDL starts once the loop runs,
    // after the window is up; a start-up measurement leaves it out.
    std::unique_ptr<ControllerService> controller;
    if (settings.controllerEnabled && !cli.noController && !cli.firstFrameExit &&
        ControllerSupportBuilt()) {
        QTimer::singleShot(0, &form, [&controller, &form, &input] {
            std::string whyNot;
            auto source = OpenControllerEventSource(&whyNot);
            if (!source) {
                qCWarning(lcPlatform).noquote()
                    << "Game controllers are not read:" << QString::fromStdString(whyNot);
                return;
            }
            controller = std::make_unique<ControllerService>(
                std::move(source), [&form, &input](NavigationKey key, bool repeat) {
                    input();
                    form.ControllerKeyDown(key, repeat);
                });
            controller->Start();
        });
    }
    return app.exec();
}
