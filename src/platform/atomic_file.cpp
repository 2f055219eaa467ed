#include "platform/atomic_file.h"

#include <QSaveFile>
#include <QString>

namespace kestrova {

bool ReplaceFileAtomically(const std::string& path, std::span<const uint8_t> bytes,
                           std::string& reason) {
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) {
        reason = file.errorString().toStdString();
        return false;
    }
    const auto size = static_cast<qint64>(bytes.size());
    if (file.write(reinterpret_cast<const char*>(bytes.data()), size) != size) {
        reason = file.errorString().toStdString();
        file.cancelWriting();
        return false;
    }
    // The rename happens only here, after the last byte reached the disc.
    if (!file.commit()) {
        reason = file.errorString().toStdString();
        return false;
    }
    return true;
}

} // namespace kestrova
