#include "platform/disc_probe.h"

#include "disc/program_cache.h"
#include "platform/disc_report_file.h"
#include "platform/logging.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <algorithm>
#include <mutex>

namespace kestrova {

namespace {

struct ProbeSetup {
    QString program;
    int timeLimitMs = kDiscProbeTimeLimitMs;
};

std::mutex& SetupLock() {
    static std::mutex lock;
    return lock;
}

ProbeSetup& Setup() {
    static ProbeSetup setup;
    return setup;
}

ProbeSetup CurrentSetup() {
    std::lock_guard<std::mutex> hold(SetupLock());
    ProbeSetup setup = Setup();
    if (setup.program.isEmpty()) {
        setup.program = QCoreApplication::applicationFilePath();
    }
    return setup;
}

std::string BaseName(const std::string& path) {
    std::string p = path;
    while (p.size() > 1 && p.back() == '/') {
        p.pop_back();
    }
    const std::size_t slash = p.rfind('/');
    return slash == std::string::npos ? p : p.substr(slash + 1);
}

// The cache's name for a disc as it is now: another path, size or time is another name.
QString CacheName(const FoundDisc& disc) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QByteArray::fromStdString(disc.path));
    hash.addData(QByteArray(1, '\0'));
    const QByteArray facts = QByteArray::number(disc.size) + ' ' +
                             QByteArray::number(disc.modifiedSeconds) + ' ' +
                             QByteArray::number(static_cast<int>(disc.form));
    hash.addData(facts);
    return QString::fromLatin1(hash.result().toHex().left(40));
}

// The cache folder made for the user alone; false when it cannot be.
bool MakeCacheFolder(const QString& folder) {
    if (folder.isEmpty() || !QDir().mkpath(folder)) {
        return false;
    }
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return QFileInfo(folder).isDir() && !QFileInfo(folder).isSymLink();
}

// A report for a disc whose probe gave no answer: the child was ended, or ended by itself.
DiscReport Unanswered(const FoundDisc& disc, const std::string& why) {
    DiscReport report;
    report.label = BaseName(disc.path);
    report.fileName = BaseName(disc.path);
    report.fault = why;
    return report;
}

// Runs the front end on the disc in a child process, offscreen, and reads what it wrote. The
// second member tells whether the answer may be kept (a child that ran out of time may only have
// been slow this once).
std::pair<DiscReport, bool> RunProbeChild(const FoundDisc& disc) {
    const ProbeSetup setup = CurrentSetup();
    QTemporaryDir out;
    if (!out.isValid()) {
        return {Unanswered(disc, "The disc could not be looked at: no folder for the answer."),
                false};
    }
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.setStandardOutputFile(QProcess::nullDevice());
    child.setProgram(setup.program);
    child.setArguments({QStringLiteral("--probe-disc"), QString::fromStdString(disc.path),
                        QStringLiteral("--probe-out"), out.path()});
    child.start();
    if (!child.waitForStarted(setup.timeLimitMs)) {
        qCWarning(lcPlatform) << "disc probe could not start" << setup.program;
        return {Unanswered(disc, "The disc could not be looked at: " +
                                     child.errorString().toStdString() + "."),
                false};
    }
    if (!child.waitForFinished(setup.timeLimitMs)) {
        child.kill();
        child.waitForFinished(-1);
        qCWarning(lcPlatform) << "disc probe ended after" << setup.timeLimitMs << "ms"
                              << QString::fromStdString(disc.path);
        const int seconds = std::max(1, (setup.timeLimitMs + 999) / 1000);
        return {Unanswered(disc, "The disc did not start within " + std::to_string(seconds) +
                                     (seconds == 1 ? " second." : " seconds.")),
                false};
    }
    const QDir dir(out.path());
    auto report = LoadDiscReport(dir.filePath(QStringLiteral("facts.json")),
                                 dir.filePath(QStringLiteral("thumbnail.png")), nullptr);
    if (!report) {
        qCWarning(lcPlatform) << "disc probe gave no answer, exit" << child.exitCode()
                              << QString::fromStdString(disc.path);
        return {Unanswered(disc, "The disc could not be looked at: starting it failed."),
                child.exitStatus() == QProcess::NormalExit};
    }
    return {*report, true};
}

} // namespace

DiscReport ProbeDisc(const FoundDisc& disc, const QString& cacheFolder) {
    const ReportKey key{disc.path, disc.size, disc.modifiedSeconds};
    const QString name = CacheName(disc);
    const QDir cache(cacheFolder);
    const QString facts = cache.filePath(name + QStringLiteral(".json"));
    const QString picture = cache.filePath(name + QStringLiteral(".png"));
    if (!cacheFolder.isEmpty()) {
        if (auto cached = LoadDiscReport(facts, picture, &key)) {
            return *cached;
        }
    }
    auto [report, keep] = RunProbeChild(disc);
    if (keep && MakeCacheFolder(cacheFolder)) {
        std::string error;
        if (!SaveDiscReport(report, key, facts, picture, &error)) {
            qCWarning(lcPlatform) << "shelf cache not written:" << QString::fromStdString(error);
        }
    }
    return report;
}

QString ShelfCacheFolder() {
    const std::string base = UserCacheFolder();
    if (base.empty()) {
        return {};
    }
    return QString::fromStdString(base) + QStringLiteral("/kestrova/shelf/");
}

void SetDiscProbeProgram(const QString& program, int timeLimitMs) {
    std::lock_guard<std::mutex> hold(SetupLock());
    Setup().program = program;
    Setup().timeLimitMs = timeLimitMs > 0 ? timeLimitMs : kDiscProbeTimeLimitMs;
}

} // namespace kestrova
