#include "platform/launch_check.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace kestrova {

namespace {

bool IsAddress(const std::string& target) {
    const QString text = QString::fromStdString(target);
    for (const char* scheme : {"http:", "https:", "mailto:", "ftp:"}) {
        if (text.startsWith(QLatin1String(scheme), Qt::CaseInsensitive)) {
            return true;
        }
    }
    return false;
}

} // namespace

QString FindWine(const QString& configured) {
    QString named = qEnvironmentVariable("KESTROVA_WINE");
    if (named.isEmpty()) {
        named = configured.isEmpty() ? QStringLiteral("wine") : configured;
    }
    const QFileInfo info(named);
    if (info.isAbsolute()) {
        return info.isFile() && info.isExecutable() ? info.absoluteFilePath() : QString();
    }
    return QStandardPaths::findExecutable(named);
}

LaunchCheck CheckLaunch(const DiscFileSystem& disc, const std::string& file,
                        const QString& wineCommand) {
    LaunchCheck check;
    check.resolved = file;
    if (file.empty()) {
        check.reason = "the file name is empty";
        return check;
    }
    if (IsAddress(file)) {
        check.target = LaunchTarget::Address;
        check.result = LaunchResult::Started;
        return check;
    }
    check.resolved = disc.Resolve(file);
    const DiscEntryInfo entry = disc.Stat(file);
    if (entry.kind == DiscEntryKind::None) {
        check.reason = "no such file";
        return check;
    }
    if (entry.kind != DiscEntryKind::File) {
        // A folder of a folder disc opens in the file manager; nothing else is started.
        const bool opens = entry.kind == DiscEntryKind::Folder && disc.LocalPath(file);
        check.target = opens ? LaunchTarget::Folder : LaunchTarget::Nothing;
        check.result = opens ? LaunchResult::Started : LaunchResult::NotAFile;
        check.reason = opens ? "" : "not a regular file";
        return check;
    }
    check.target = LaunchTarget::File;
    check.kind = KindOfProgram(disc.ReadHead(file, kProgramHeadBytes), entry.executable);
    if (check.kind == ProgramKind::Windows) {
        check.wine = FindWine(wineCommand);
        if (check.wine.isEmpty()) {
            check.result = LaunchResult::NeedsWine;
            check.reason = "it is a Windows program and Wine is needed to start it (install wine, "
                           "or name its program in KESTROVA_WINE or in the settings file's "
                           "[wine] command)";
            return check;
        }
    }
    check.result = LaunchResult::Started;
    return check;
}

} // namespace kestrova
