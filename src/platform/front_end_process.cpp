#include "platform/front_end_process.h"

#include "platform/logging.h"
#include "shelf/shelf_list.h"

#include <cstdio>

namespace kestrova {

namespace {

// What is kept of the front end's standard error: its first lines say why it did not start.
constexpr qsizetype kKeptErrorBytes = 64 * 1024;

} // namespace

FrontEndProcess::FrontEndProcess(QString program, QStringList passOn, QObject* parent)
    : QObject(parent), program_(std::move(program)), passOn_(std::move(passOn)) {
    process_.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    connect(&process_, &QProcess::readyReadStandardError, this, [this] {
        const QByteArray bytes = process_.readAllStandardError();
        std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
        if (standardError_.size() < kKeptErrorBytes) {
            standardError_ += bytes.left(kKeptErrorBytes - standardError_.size());
        }
    });
    connect(&process_, &QProcess::started, this, [this] { Q_EMIT Started(disc_); });
    connect(&process_, &QProcess::finished, this,
            [this](int exitCode, QProcess::ExitStatus status) {
                standardError_ += process_.readAllStandardError();
                if (status == QProcess::CrashExit) {
                    Finish(QStringLiteral("The front end stopped unexpectedly."));
                    return;
                }
                if (exitCode == 0) {
                    Finish(QString());
                    return;
                }
                const std::string reason = StartFailureReason(standardError_.toStdString());
                Finish(reason.empty()
                           ? QStringLiteral("The front end ended with status %1.").arg(exitCode)
                           : QString::fromStdString(reason));
            });
    connect(&process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            Finish(QStringLiteral("The front end could not be started: ") + process_.errorString());
        }
    });
}

FrontEndProcess::~FrontEndProcess() {
    // The front end outlives no shelf: closing the shelf while it runs would leave a window the
    // shelf no longer answers for.
    if (Running()) {
        process_.disconnect(this);
        process_.terminate();
        if (!process_.waitForFinished(3000)) {
            process_.kill();
            process_.waitForFinished(1000);
        }
    }
}

bool FrontEndProcess::Start(const QString& disc) {
    if (Running()) {
        return false;
    }
    disc_ = disc;
    standardError_.clear();
    finished_ = false;
    process_.setProgram(program_);
    process_.setArguments(QStringList{QStringLiteral("--disc"), disc} + passOn_);
    qCDebug(lcPlatform) << "starting" << program_ << process_.arguments();
    process_.start();
    return true;
}

void FrontEndProcess::Finish(const QString& fault) {
    if (finished_) {
        return;
    }
    finished_ = true;
    Q_EMIT Ended(disc_, fault);
}

} // namespace kestrova
