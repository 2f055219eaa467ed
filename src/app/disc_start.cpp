#include "app/disc_start.h"

#include "base/error.h"
#include "base/terminal_text.h"
#include "disc/cdio/open_disc.h"
#include "disc/disc_file_system.h"

#include <QDir>
#include <QString>

#include <cstdio>

namespace kestrova {

std::optional<StartFault> PutDiscIn(const std::string& disc) {
    if (IsDiscImageFile(disc)) {
        try {
            UseDisc(OpenDiscImage(disc));
        } catch (const Error& e) {
            return StartFault{e.what(), e.Detail() == e.what() ? std::string() : e.Detail()};
        }
        return std::nullopt;
    }
    if (!QDir::setCurrent(QString::fromStdString(disc))) {
        return StartFault{"Cannot open the disc folder " + disc + ".", {}};
    }
    return std::nullopt;
}

void PrintStartFault(const StartFault& fault) {
    // The message may quote the disc, and the disc must not reach the terminal's controls.
    std::fprintf(stderr, "%s\n", TerminalSafe(fault.message).c_str());
    if (!fault.detail.empty()) {
        std::fprintf(stderr, "%s\n", TerminalSafe(fault.detail).c_str());
    }
}

} // namespace kestrova
