#include "ui/shelf_window.h"

#include "base/safe_file_writer.h"
#include "engine/ports.h"
#include "platform/dxdraw.h"
#include "platform/front_end_process.h"
#include "platform/program_icon.h"
#include "platform/shelf_scanner.h"
#include "ui/shelf_card.h"
#include "ui/shelf_model.h"

#include <QAction>
#include <QBuffer>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

namespace kestrova {

namespace {

QString StyleSheet() {
    using namespace shelf_colours;
    return QStringLiteral(
               "QWidget#shelf { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #2b0f52,"
               " stop:0.25 %1, stop:1 #0c0418); color: %2; }"
               "QLabel { color: %2; background: transparent; }"
               "QLabel#shelfTitle { color: %3; font-family: 'Liberation Sans'; font-size: 30px;"
               " font-weight: bold; font-style: italic; }"
               "QLabel#shelfSubtitle { color: %4; font-family: 'DejaVu Sans Condensed';"
               " font-size: 12px; font-weight: bold; letter-spacing: 2px; }"
               "QLabel#shelfStatus { color: %4; font-family: 'DejaVu Sans Condensed';"
               " font-size: 12px; }"
               "QListView { background: transparent; border: none; }"
               "QLineEdit, QComboBox { background: #1f0b40; color: %2; border: 1px solid #6a3fb0;"
               " border-radius: 4px; padding: 4px 6px; font-family: 'Liberation Sans';"
               " font-size: 13px; selection-background-color: %3; selection-color: #14082c; }"
               "QComboBox QAbstractItemView { background: #1f0b40; color: %2;"
               " selection-background-color: %3; selection-color: #14082c; }"
               "QPushButton { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #5a2aa8,"
               " stop:1 #3a1877); color: %3; border: 1px solid #8a5ad8; border-radius: 5px;"
               " padding: 5px 12px; font-family: 'Liberation Sans'; font-size: 13px;"
               " font-weight: bold; }"
               "QPushButton:hover { border-color: %3; }"
               "QPushButton:disabled { color: #7a6a9a; border-color: #4a3a6a; }"
               "QProgressBar { background: #1f0b40; border: 1px solid #6a3fb0; border-radius: 4px;"
               " color: %2; text-align: center; font-size: 11px; max-height: 16px; }"
               "QProgressBar::chunk { background: %3; border-radius: 3px; }"
               "QLineEdit#shelfLabelEdit { background: #14082c; color: %3; border: 1px solid %3;"
               " padding: 0 2px; font-size: 14px; font-weight: bold; }")
        .arg(kBackground.name(), kText.name(), kOrange.name(), kIssue.name());
}

long long Now() {
    return QDateTime::currentSecsSinceEpoch();
}

// A remembered disc's form before it is looked at, from its name.
DiscForm GuessedForm(const std::string& path) {
    const QString lower = QString::fromStdString(path).toLower();
    if (lower.endsWith(QStringLiteral(".iso"))) {
        return DiscForm::Iso;
    }
    if (lower.endsWith(QStringLiteral(".cue"))) {
        return DiscForm::Cue;
    }
    if (lower.endsWith(QStringLiteral(".bin"))) {
        return DiscForm::Bin;
    }
    return DiscForm::Folder;
}

} // namespace

ShelfWindow::ShelfWindow(ShelfWindowOptions options, QWidget* parent)
    : QWidget(parent), options_(std::move(options)) {
    setObjectName(QStringLiteral("shelf"));
    setWindowTitle(QStringLiteral("Kestrova CD-ROM shelf"));
    setWindowIcon(ProgramIcon());
    setAttribute(Qt::WA_StyledBackground);
    setAcceptDrops(true);
    // The bundled faces are registered with the first font asked for.
    FontFor(FontSpec{});
    settings_ = LoadShelfSettings(options_.settingsPath);
    scanner_ = new ShelfScanner(options_.cacheFolder, options_.threads, this);
    frontEnd_ = new FrontEndProcess(options_.program, options_.passOn, this);
    model_ = new ShelfModel(this);
    BuildControls();
    setStyleSheet(StyleSheet());

    connect(scanner_, &ShelfScanner::FolderRead, this, &ShelfWindow::OnFolderRead);
    connect(scanner_, &ShelfScanner::Described, this, &ShelfWindow::OnDescribed);
    connect(scanner_, &ShelfScanner::Probed, this, &ShelfWindow::OnProbed);
    connect(model_, &ShelfModel::LabelEdited, this,
            [this](const QString& path, const QString& label) {
                if (label.isEmpty()) {
                    settings_.labels.erase(path.toStdString());
                } else {
                    settings_.labels[path.toStdString()] = label.toStdString();
                }
                Save();
            });
    connect(frontEnd_, &FrontEndProcess::Started, this, [this](const QString& disc) {
        // The front end is a window of its own, as large as the user asked (or the whole
        // screen): the shelf steps aside so the two are not taken for one, and no second disc is
        // opened while the first runs. It comes back where it was when the front end ends.
        wasFullScreen_ = isFullScreen();
        hide();
        Remember(disc);
        ChangedState();
    });
    connect(frontEnd_, &FrontEndProcess::Ended, this,
            [this](const QString& disc, const QString& fault) {
                model_->SetStartFault(disc, fault);
                ShowAgain();
                MakeCurrent(disc);
                const ShelfDisc* entry = model_->DiscFor(disc);
                const QString name = entry ? QString::fromStdString(ShownName(*entry)) : disc;
                SetStatus(fault.isEmpty() ? QString()
                                          : name + QStringLiteral(" did not start: ") + fault);
            });
}

ShelfWindow::~ShelfWindow() = default;

void ShelfWindow::BuildControls() {
    auto* title = new QLabel(QStringLiteral("KESTROVA"), this);
    title->setObjectName(QStringLiteral("shelfTitle"));
    auto* subtitle = new QLabel(QStringLiteral("THE SHELF OF DISCS"), this);
    subtitle->setObjectName(QStringLiteral("shelfSubtitle"));
    filter_ = new QLineEdit(this);
    filter_->setObjectName(QStringLiteral("shelfFilter"));
    filter_->setPlaceholderText(QStringLiteral("Filter by name, issue or file"));
    filter_->setClearButtonEnabled(true);
    filter_->setMinimumWidth(220);
    sort_ = new QComboBox(this);
    sort_->setObjectName(QStringLiteral("shelfSort"));
    sort_->addItem(QStringLiteral("By name"));
    sort_->addItem(QStringLiteral("Last opened first"));
    addFolder_ = new QPushButton(QStringLiteral("Add Folder\u2026"), this);
    addFolder_->setObjectName(QStringLiteral("shelfAddFolder"));
    remove_ = new QPushButton(QStringLiteral("Remove from shelf"), this);
    remove_->setObjectName(QStringLiteral("shelfRemove"));
    remove_->setToolTip(
        QStringLiteral("Takes the disc off the shelf; its files stay where they are"));

    view_ = new QListView(this);
    view_->setObjectName(QStringLiteral("shelfView"));
    view_->setViewMode(QListView::IconMode);
    view_->setMovement(QListView::Static);
    view_->setResizeMode(QListView::Adjust);
    view_->setUniformItemSizes(true);
    view_->setSpacing(4);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::EditKeyPressed);
    view_->setDragEnabled(false);
    view_->setAcceptDrops(false);
    view_->viewport()->setAcceptDrops(false);
    view_->setMouseTracking(true);
    view_->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    view_->verticalScrollBar()->setSingleStep(24);
    view_->setItemDelegate(new ShelfCard(view_));
    view_->setModel(model_);
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    view_->installEventFilter(this);
    view_->viewport()->installEventFilter(this);
    filter_->installEventFilter(this);

    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("shelfProgress"));
    progress_->setFixedWidth(260);
    progress_->setFormat(QStringLiteral("Reading discs\u2026 %v of %m"));
    progress_->hide();
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("shelfStatus"));
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* heading = new QVBoxLayout;
    heading->setSpacing(0);
    heading->addWidget(title);
    heading->addWidget(subtitle);
    auto* top = new QHBoxLayout;
    top->addLayout(heading);
    top->addStretch(1);
    top->addWidget(filter_);
    top->addWidget(sort_);
    top->addWidget(addFolder_);
    top->addWidget(remove_);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(progress_);
    bottom->addWidget(status_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 10, 14, 8);
    layout->addLayout(top);
    layout->addWidget(view_, 1);
    layout->addLayout(bottom);

    auto* quit = new QShortcut(QKeySequence::Quit, this);
    connect(quit, &QShortcut::activated, this, &QWidget::close);

    connect(filter_, &QLineEdit::textChanged, model_, &ShelfModel::SetFilter);
    connect(sort_, &QComboBox::currentIndexChanged, this, [this](int i) {
        model_->SetOrder(i == 1 ? ShelfOrder::LastOpened : ShelfOrder::Name);
        view_->scrollTo(view_->currentIndex());
    });
    connect(addFolder_, &QPushButton::clicked, this, [this] {
        const QString folder = QFileDialog::getExistingDirectory(
            this, QStringLiteral("Add a folder of discs to the shelf"), QDir::homePath());
        if (!folder.isEmpty()) {
            AddFolder(folder);
        }
    });
    connect(remove_, &QPushButton::clicked, this, [this] {
        if (!CurrentPath().isEmpty()) {
            RemoveFromShelf(CurrentPath());
        }
    });
    connect(view_, &QListView::doubleClicked, this, [this](const QModelIndex& index) {
        OpenDisc(index.data(ShelfModel::PathRole).toString());
    });
    connect(view_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const QModelIndex index = view_->indexAt(at);
        if (!index.isValid()) {
            return;
        }
        view_->setCurrentIndex(index);
        const QString path = index.data(ShelfModel::PathRole).toString();
        QMenu menu(this);
        menu.addAction(QStringLiteral("Open"), this, [this, path] { OpenDisc(path); });
        menu.addAction(QStringLiteral("Rename on the shelf"), this,
                       [this, index] { view_->edit(index); });
        menu.addAction(QStringLiteral("Remove from shelf"), this,
                       [this, path] { RemoveFromShelf(path); });
        menu.exec(view_->viewport()->mapToGlobal(at));
    });
    connect(model_, &QAbstractItemModel::modelReset, this, &ShelfWindow::ChangedState);
    connect(model_, &QAbstractItemModel::layoutChanged, this, &ShelfWindow::ChangedState);
    connect(model_, &QAbstractItemModel::dataChanged, this, &ShelfWindow::ChangedState);
}

void ShelfWindow::Start() {
    if (settings_.geometry.isEmpty() || !restoreGeometry(settings_.geometry)) {
        resize(1000, 700);
    }
    Remerge();
    MakeCurrent(settings_.lastDisc);
    if (options_.fullScreen || settings_.fullScreen) {
        showFullScreen();
    } else {
        show();
    }
    ReadFolders();
}

void ShelfWindow::ReadFolders() {
    for (const QString& folder : settings_.folders) {
        ++pending_;
        ++workTotal_;
        scanner_->FindIn(folder);
    }
    std::set<std::string> remembered;
    for (const RecentDisc& r : settings_.recent) {
        remembered.insert(r.path);
    }
    for (const QString& d : settings_.discs) {
        remembered.insert(d.toStdString());
    }
    for (const std::string& path : remembered) {
        if (settings_.removed.count(path) == 0) {
            ++pending_;
            ++workTotal_;
            scanner_->Describe(QString::fromStdString(path));
        }
    }
    ShowProgress();
}

void ShelfWindow::OnFolderRead(const QString& folder, const FindResult& result) {
    foundIn_[folder] = result.discs;
    if (!result.error.empty() && QFileInfo::exists(folder)) {
        // A default folder the user never made is no fault; one that cannot be read is.
        SetStatus(QString::fromStdString(result.error));
    }
    Remerge();
    WorkDone();
}

void ShelfWindow::OnDescribed(const QString& path, const std::optional<FoundDisc>& disc) {
    const std::string key = ShelfKey(path.toStdString());
    if (dropped_.erase(path) != 0) {
        if (disc) {
            settings_.removed.erase(key);
            if (!settings_.discs.contains(QString::fromStdString(key))) {
                settings_.discs.push_back(QString::fromStdString(key));
            }
            described_[key] = *disc;
            described_[key].path = key;
            Save();
            NoteDrop(QStringLiteral("Added ") + path);
            Remerge();
            MakeCurrent(QString::fromStdString(key));
        } else if (QFileInfo(path).isDir()) {
            AddFolder(path);
        } else {
            NoteDrop(path + QStringLiteral(" is not a disc: a disc is a folder or a CD image "
                                           "(.iso, .cue, .bin)"));
        }
        WorkDone();
        return;
    }
    if (disc) {
        described_[key] = *disc;
        described_[key].path = key;
        absent_.erase(key);
    } else {
        absent_.insert(key);
        described_.erase(key);
    }
    Remerge();
    WorkDone();
}

void ShelfWindow::OnProbed(const QString& path, const DiscReport& report) {
    model_->SetProbe(path, report);
    WorkDone();
}

void ShelfWindow::Remerge() {
    std::vector<FoundDisc> found;
    for (const auto& [folder, discs] : foundIn_) {
        if (settings_.folders.contains(folder)) {
            found.insert(found.end(), discs.begin(), discs.end());
        }
    }
    // Discs opened before and discs added one by one: there unless looked at and found missing.
    std::vector<RecentDisc> remembered = settings_.recent;
    for (const QString& d : settings_.discs) {
        remembered.push_back(RecentDisc{d.toStdString(), 0});
    }
    std::vector<FoundDisc> there;
    for (const RecentDisc& r : remembered) {
        if (absent_.count(r.path) != 0) {
            continue;
        }
        auto seen = described_.find(r.path);
        there.push_back(seen != described_.end() ? seen->second
                                                 : FoundDisc{r.path, GuessedForm(r.path)});
    }
    const QString current = CurrentPath();
    model_->SetDiscs(MergeShelf(found, remembered, there, settings_.labels, settings_.removed));
    MakeCurrent(current);
    QueueProbes();
}

// Every disc on the shelf that is there is probed once, the ones in view first.
void ShelfWindow::QueueProbes() {
    std::map<std::string, FoundDisc> known = described_;
    for (const auto& [folder, discs] : foundIn_) {
        for (const FoundDisc& d : discs) {
            FoundDisc keyed = d;
            keyed.path = ShelfKey(d.path);
            known.emplace(keyed.path, keyed);
        }
    }
    for (int row = 0; row < model_->rowCount(); ++row) {
        const ShelfDisc* disc = model_->DiscAt(row);
        if (disc->probed || !disc->present || probing_.count(disc->path) != 0) {
            continue;
        }
        auto it = known.find(disc->path);
        if (it == known.end()) {
            continue; // a remembered disc not yet looked at
        }
        probing_.insert(disc->path);
        ++pending_;
        ++workTotal_;
        scanner_->Probe(it->second);
    }
    ShowProgress();
}

void ShelfWindow::WorkDone() {
    pending_ = std::max(0, pending_ - 1);
    ShowProgress();
    if (pending_ == 0) {
        workTotal_ = 0;
        drawPending_ = true;
        view_->viewport()->update();
    }
}

void ShelfWindow::ShowProgress() {
    progress_->setVisible(pending_ > 0);
    progress_->setMaximum(std::max(1, workTotal_));
    progress_->setValue(workTotal_ - pending_);
    ChangedState();
}

void ShelfWindow::Remember(const QString& path) {
    const long long now = Now();
    RememberOpened(settings_.recent, path.toStdString(), now);
    settings_.lastDisc = path;
    model_->SetLastOpened(path, now);
    Save();
}

void ShelfWindow::OpenDisc(const QString& path) {
    if (path.isEmpty() || frontEnd_->Running()) {
        return;
    }
    SetStatus(QString());
    frontEnd_->Start(path);
}

void ShelfWindow::RemoveFromShelf(const QString& path) {
    const std::string key = path.toStdString();
    const ShelfDisc* disc = model_->DiscFor(path);
    const QString name = disc ? QString::fromStdString(ShownName(*disc)) : path;
    settings_.removed.insert(key);
    settings_.discs.removeAll(path);
    settings_.labels.erase(key);
    std::erase_if(settings_.recent, [&](const RecentDisc& r) { return r.path == key; });
    Save();
    Remerge();
    if (saveError_.isEmpty()) {
        SetStatus(name + QStringLiteral(" is off the shelf; its files stay where they are."));
    }
}

void ShelfWindow::AddFolder(const QString& folder) {
    const QString key = QString::fromStdString(ShelfKey(folder.toStdString()));
    if (!settings_.folders.contains(key)) {
        settings_.folders.push_back(key);
        Save();
    }
    ++pending_;
    ++workTotal_;
    scanner_->FindIn(key);
    ShowProgress();
}

void ShelfWindow::AddDropped(const QStringList& paths) {
    dropNotes_.clear();
    for (const QString& path : paths) {
        dropped_.insert(path);
        ++pending_;
        ++workTotal_;
        scanner_->Describe(path);
    }
    ShowProgress();
}

void ShelfWindow::Save() {
    if (!options_.keepSettings) {
        return;
    }
    saveError_ = SaveShelfSettings(settings_, options_.settingsPath);
    SetStatus(statusText_);
}

void ShelfWindow::NoteDrop(const QString& note) {
    dropNotes_.push_back(note);
    SetStatus(dropNotes_.join(QStringLiteral(" \u00b7 ")));
}

void ShelfWindow::SetStatus(const QString& text) {
    statusText_ = text;
    // A settings file that could not be written is said until a write succeeds.
    QString shown = text;
    if (!saveError_.isEmpty()) {
        shown = saveError_ + (text.isEmpty() ? QString() : QStringLiteral(" \u00b7 ") + text);
    }
    status_->setText(shown);
    ChangedState();
}

QString ShelfWindow::StatusText() const {
    return status_->text();
}

void ShelfWindow::ShowAgain() {
    if (wasFullScreen_) {
        showFullScreen();
    } else {
        showNormal();
    }
    raise();
    activateWindow();
    view_->setFocus();
    ChangedState();
}

void ShelfWindow::ToggleFullScreen() {
    if (isFullScreen()) {
        showNormal();
    } else {
        showFullScreen();
    }
}

QString ShelfWindow::CurrentPath() const {
    return view_->currentIndex().data(ShelfModel::PathRole).toString();
}

void ShelfWindow::MakeCurrent(const QString& path) {
    const QModelIndex at = path.isEmpty() ? QModelIndex() : model_->IndexOf(path);
    if (at.isValid()) {
        view_->setCurrentIndex(at);
        view_->scrollTo(at);
    }
}

void ShelfWindow::closeEvent(QCloseEvent* event) {
    settings_.fullScreen = isFullScreen();
    if (!isFullScreen()) {
        settings_.geometry = saveGeometry();
    }
    Save();
    event->accept();
}

void ShelfWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void ShelfWindow::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            paths.push_back(url.toLocalFile());
        }
    }
    if (!paths.isEmpty()) {
        AddDropped(paths);
        event->acceptProposedAction();
    }
}

bool ShelfWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_->viewport() && event->type() == QEvent::Paint && drawPending_) {
        // Told once this paint is done.
        drawPending_ = false;
        QTimer::singleShot(0, this, [this] {
            WriteSnapshot();
            ChangedState();
            Q_EMIT AllDrawn();
        });
    }
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && key->modifiers().testFlag(Qt::AltModifier)) {
            ToggleFullScreen();
            return true;
        }
        if (key->key() == Qt::Key_F11) {
            ToggleFullScreen();
            return true;
        }
        if (watched == view_) {
            if (enter) {
                OpenDisc(CurrentPath());
                return true;
            }
            if (key->key() == Qt::Key_Delete && !CurrentPath().isEmpty()) {
                RemoveFromShelf(CurrentPath());
                return true;
            }
        }
        if (watched == filter_) {
            if (enter) {
                // The filter's Enter opens the disc it leaves, or the chosen one among several.
                const QModelIndex current = view_->currentIndex();
                OpenDisc((current.isValid() ? current : model_->index(0))
                             .data(ShelfModel::PathRole)
                             .toString());
                return true;
            }
            if (key->key() == Qt::Key_Down) {
                view_->setFocus();
                if (!view_->currentIndex().isValid()) {
                    view_->setCurrentIndex(model_->index(0));
                }
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ShelfWindow::ChangedState() {
    remove_->setEnabled(!CurrentPath().isEmpty());
    if (options_.statePath.isEmpty() || stateQueued_) {
        return;
    }
    stateQueued_ = true;
    QTimer::singleShot(20, this, [this] {
        stateQueued_ = false;
        WriteState();
    });
}

// For tests: what the shelf shows, and where each card is in the window.
void ShelfWindow::WriteState() {
    QJsonArray discs;
    for (int row = 0; row < model_->rowCount(); ++row) {
        const ShelfDisc* d = model_->DiscAt(row);
        const QRect at = view_->visualRect(model_->index(row));
        const QPoint topLeft = view_->viewport()->mapTo(this, at.topLeft());
        discs.append(QJsonObject{
            {QStringLiteral("path"), QString::fromStdString(d->path)},
            {QStringLiteral("name"), QString::fromStdString(ShownName(*d))},
            {QStringLiteral("issueLine"), QString::fromStdString(d->issueLine)},
            {QStringLiteral("fileName"), QString::fromStdString(d->fileName)},
            {QStringLiteral("fault"), QString::fromStdString(Fault(*d))},
            {QStringLiteral("startFault"), QString::fromStdString(d->startFault)},
            {QStringLiteral("probed"), d->probed},
            {QStringLiteral("thumbnail"),
             !model_->Thumbnail(QString::fromStdString(d->path)).isNull()},
            {QStringLiteral("x"), topLeft.x() + at.width() / 2},
            {QStringLiteral("y"), topLeft.y() + at.height() / 2},
        });
    }
    const QJsonObject state{
        {QStringLiteral("visible"), isVisible()},
        {QStringLiteral("window"), QString::number(winId())},
        {QStringLiteral("frontEnd"), frontEnd_->Running() ? frontEnd_->Pid() : 0},
        {QStringLiteral("pending"), pending_},
        {QStringLiteral("status"), status_->text()},
        {QStringLiteral("current"), CurrentPath()},
        {QStringLiteral("discs"), discs},
    };
    const QByteArray json = QJsonDocument(state).toJson();
    WriteFileSafely(options_.statePath.toStdString(),
                    std::span(reinterpret_cast<const uint8_t*>(json.constData()),
                              static_cast<std::size_t>(json.size())));
}

void ShelfWindow::WriteSnapshot() {
    if (options_.snapshotPath.isEmpty()) {
        return;
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    grab().toImage().save(&buffer, "PNG");
    WriteFileSafely(options_.snapshotPath.toStdString(),
                    std::span(reinterpret_cast<const uint8_t*>(png.constData()),
                              static_cast<std::size_t>(png.size())));
}

} // namespace kestrova
