#include "app/disc_probe_child.h"

#include "app/disc_start.h"
#include "base/error.h"
#include "base/terminal_text.h"
#include "disc/disc_file_system.h"
#include "disc/image_file_system.h"
#include "platform/disc_report_file.h"
#include "platform/dry_run_launcher.h"
#include "platform/dxdraw.h"
#include "shelf/issue_line.h"
#include "ui/main_form.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <memory>

namespace kestrova {

namespace {

// Frames run at most before the curtain must be down: the first frame takes it down.
constexpr int kMostFramesToFirst = 10;

std::string Trimmed(const std::string& text) {
    const std::size_t begin = text.find_first_not_of(' ');
    if (begin == std::string::npos) {
        return {};
    }
    return text.substr(begin, text.find_last_not_of(' ') - begin + 1);
}

} // namespace

int RunDiscProbeChild(int& argc, char** argv, const CommandLine& cli) {
    // Whatever display the caller has, the child draws into memory only.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    const QFileInfo given(QString::fromStdString(cli.probeDisc));
    DiscReport report;
    report.fileName = given.fileName().toStdString();
    report.label = given.isDir() ? QDir(given.absoluteFilePath()).dirName().toStdString()
                                 : given.completeBaseName().toStdString();

    std::optional<StartFault> fault = PutDiscIn(cli.probeDisc);
    if (!fault) {
        if (const auto* image = dynamic_cast<const ImageFileSystem*>(&CurrentDisc())) {
            const std::string volume = Trimmed(image->Volume().VolumeId());
            if (!volume.empty()) {
                report.label = volume;
            }
        }
        report.issueLine = CurrentDiscIssueLine();
    }

    // The front end as the replay harness builds it: nothing launched, no box shown, the light
    // web pane, no settings of the user's.
    DryRunLauncher launches;
    MainFormOptions options;
    options.replay = true;
    options.lightWebPane = true;
    options.launcher = &launches;
    // Its two hidden windows are never wanted for the first frame, and so never built here.
    std::unique_ptr<TMainForm> form;
    if (!fault) {
        form = std::make_unique<TMainForm>(options);
        try {
            form->Initialize();
        } catch (const Error& e) {
            fault = StartFault{e.what(), e.Detail()};
        }
    }
    if (fault) {
        report.fault = fault->message;
        report.faultDetail = fault->detail;
    } else {
        form->show();
        form->Engine().SetActive(true);
        for (int i = 0; i < kMostFramesToFirst && form->State().curtainUp; ++i) {
            form->Engine().RunOneFrame();
        }
        report.thumbnail = form->Surface()->BackBuffer().convertToFormat(QImage::Format_RGB32);
    }

    const QDir out(QString::fromStdString(cli.probeOut));
    std::string error;
    if (!SaveDiscReport(report, ReportKey{cli.probeDisc, 0, 0},
                        out.filePath(QStringLiteral("facts.json")),
                        out.filePath(QStringLiteral("thumbnail.png")), &error)) {
        std::fprintf(stderr, "%s\n", TerminalSafe(error).c_str());
        return 1;
    }
    return 0;
}

} // namespace kestrova
