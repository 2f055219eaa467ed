#pragma once
// The shelf's slow work, off the window's thread: reading the shelf folders for discs, asking
// whether a path is a disc, and probing each disc for its name, issue line, fault and thumbnail.
// A pool of a few threads does it; each answer comes back on the window's thread as a signal.
// Destroying the scanner waits for the work under way and drops what was still queued.

#include "platform/disc_probe.h"
#include "shelf/found_disc.h"

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <QThreadPool>

#include <optional>

namespace kestrova {

// The size the shelf shows a thumbnail at: a quarter of the 800 x 600 first frame.
inline constexpr QSize kShelfThumbnailSize{200, 150};

class ShelfScanner : public QObject {
    Q_OBJECT
  public:
    explicit ShelfScanner(QString cacheFolder, int threads = 3, QObject* parent = nullptr);
    ~ShelfScanner() override;

    void FindIn(const QString& folder);
    void Describe(const QString& path);
    void Probe(const FoundDisc& disc);

  Q_SIGNALS:
    void FolderRead(const QString& folder, const kestrova::FindResult& result);
    void Described(const QString& path, const std::optional<kestrova::FoundDisc>& disc);
    // The report's thumbnail is already made small (kShelfThumbnailSize).
    void Probed(const QString& path, const kestrova::DiscReport& report);

  private:
    QString cacheFolder_;
    QThreadPool pool_;
};

} // namespace kestrova
