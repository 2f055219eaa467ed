#pragma once
// What the shelf shows of a disc: its label, its issue line, and either the picture of its first
// frame or the reason it would not start. A disc is probed by the front end itself, started in a
// child process (--probe-disc) that runs the ordinary start-up and first frame offscreen, so a
// hostile disc can take down nothing but that child; the answers are cached per path, size and
// modification time.

#include "shelf/found_disc.h"

#include <QImage>
#include <QString>

#include <string>

namespace kestrova {

struct DiscReport {
    std::string label;       // the volume label, or the folder's name
    std::string issueLine;   // from the disc's own texts; may be empty
    std::string fileName;    // the file or folder name of the disc
    std::string fault;       // empty: the disc starts; else start-up's message, word for word
    std::string faultDetail; // the line start-up prints after the message (file and reason)
    QImage thumbnail;        // the first frame's 800 x 600 picture; null when there is a fault
};

// Blocking; safe to call from several threads at once. The answer is read from `cacheFolder`
// when the disc is unchanged since it was last probed, else the disc is probed and the answer
// stored there.
DiscReport ProbeDisc(const FoundDisc& disc, const QString& cacheFolder);

// $XDG_CACHE_HOME/kestrova/shelf/, else ~/.cache/kestrova/shelf/; empty when the user has no
// cache folder of their own (nothing is cached then).
QString ShelfCacheFolder();

// The longest a probe may take before its child is ended and the disc said to be too slow.
inline constexpr int kDiscProbeTimeLimitMs = 20000;

// The program started to probe a disc, with --probe-disc PATH --probe-out FOLDER: this program
// itself unless set (a test names the built front end). `timeLimitMs` 0 keeps the default.
void SetDiscProbeProgram(const QString& program, int timeLimitMs = 0);

} // namespace kestrova
