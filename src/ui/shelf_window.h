#pragma once
// The shelf: every disc found in the user's shelf folders, added to it or opened before, each a
// card with its thumbnail, name, issue line and file name. Discs are read and probed off the
// window's thread, a few at a time, and fill in as they come. Opening one starts the front end
// on it as a process of its own; the shelf steps aside until that ends, and shows why it ended
// when it did not start.

#include "platform/disc_probe.h"
#include "platform/shelf_store.h"
#include "shelf/found_disc.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QProgressBar;
class QPushButton;

namespace kestrova {

class FrontEndProcess;
class ShelfModel;
class ShelfScanner;

struct ShelfWindowOptions {
    QString settingsPath;     // the settings file the shelf's settings live in
    QString cacheFolder;      // where the probe keeps what it found of each disc
    QString program;          // the front end started on a disc
    QStringList passOn;       // the user's options handed to it (--scale N, --fullscreen, ...)
    bool fullScreen = false;  // start in full screen whatever was remembered
    bool keepSettings = true; // false: the settings file is read, never written
    int threads = 3;          // discs probed at a time
    QString statePath;        // when set, the shelf's state is written there as JSON on change
    QString snapshotPath;     // when set, a picture of the shelf each time every disc is drawn
};

class ShelfWindow : public QWidget {
    Q_OBJECT
  public:
    explicit ShelfWindow(ShelfWindowOptions options, QWidget* parent = nullptr);
    ~ShelfWindow() override;

    // Shows the shelf as it was left, and starts reading the discs.
    void Start();

    void OpenDisc(const QString& path);
    void RemoveFromShelf(const QString& path);
    void AddFolder(const QString& folder);
    void AddDropped(const QStringList& paths);

    ShelfModel& Model() { return *model_; }
    QListView* View() const { return view_; }
    QString StatusText() const;

  Q_SIGNALS:
    // Every disc is read and probed, and the view has drawn them since.
    void AllDrawn();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildControls();
    void ReadFolders();
    void Remember(const QString& path);
    void Remerge();
    void QueueProbes();
    void WorkDone();
    void ShowProgress();
    void Save();
    // Says what became of one dropped path beside what became of the others of its drop.
    void NoteDrop(const QString& note);
    void SetStatus(const QString& text);
    void ShowAgain();
    void ToggleFullScreen();
    void ChangedState();
    void WriteState();
    void WriteSnapshot();
    QString CurrentPath() const;
    void MakeCurrent(const QString& path);
    void OnFolderRead(const QString& folder, const FindResult& result);
    void OnDescribed(const QString& path, const std::optional<FoundDisc>& disc);
    void OnProbed(const QString& path, const DiscReport& report);

    ShelfWindowOptions options_;
    ShelfSettings settings_;
    ShelfModel* model_ = nullptr;
    QListView* view_ = nullptr;
    QLineEdit* filter_ = nullptr;
    QComboBox* sort_ = nullptr;
    QPushButton* addFolder_ = nullptr;
    QPushButton* remove_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* status_ = nullptr;
    ShelfScanner* scanner_ = nullptr;
    FrontEndProcess* frontEnd_ = nullptr;

    std::map<QString, std::vector<FoundDisc>> foundIn_; // shelf folder -> its discs
    std::map<std::string, FoundDisc> described_;        // remembered discs that are there
    std::set<std::string> absent_;                      // remembered discs that are not
    std::set<std::string> probing_;                     // probes asked for
    std::set<QString> dropped_;                         // dropped paths being looked at
    QStringList dropNotes_; // what became of each path of the last drop, in the order answered
    int pending_ = 0;       // folders, descriptions and probes under way
    int workTotal_ = 0;     // how many since the shelf was last idle
    bool drawPending_ = false;
    bool wasFullScreen_ = false;
    QString statusText_;
    QString saveError_;
    bool stateQueued_ = false;
};

} // namespace kestrova
