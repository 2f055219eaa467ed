#include "ui/shelf_model.h"

#include <algorithm>

namespace kestrova {

ShelfModel::ShelfModel(QObject* parent) : QAbstractListModel(parent) {}

void ShelfModel::SetDiscs(std::vector<ShelfDisc> discs) {
    for (ShelfDisc& fresh : discs) {
        if (const ShelfDisc* old = DiscFor(QString::fromStdString(fresh.path))) {
            fresh.discLabel = old->discLabel;
            fresh.issueLine = old->issueLine;
            fresh.probeFault = old->probeFault;
            fresh.startFault = old->startFault;
            fresh.probed = old->probed;
            fresh.lastOpened = std::max(fresh.lastOpened, old->lastOpened);
        }
    }
    beginResetModel();
    discs_ = std::move(discs);
    shown_ = ShownOrder(discs_, order_, filter_);
    endResetModel();
}

ShelfDisc* ShelfModel::Find(const QString& path) {
    const std::string key = path.toStdString();
    for (ShelfDisc& d : discs_) {
        if (d.path == key) {
            return &d;
        }
    }
    return nullptr;
}

const ShelfDisc* ShelfModel::DiscFor(const QString& path) const {
    return const_cast<ShelfModel*>(this)->Find(path);
}

const ShelfDisc* ShelfModel::DiscAt(int row) const {
    if (row < 0 || row >= static_cast<int>(shown_.size())) {
        return nullptr;
    }
    return &discs_[shown_[static_cast<std::size_t>(row)]];
}

QModelIndex ShelfModel::IndexOf(const QString& path) const {
    for (std::size_t row = 0; row < shown_.size(); ++row) {
        if (QString::fromStdString(discs_[shown_[row]].path) == path) {
            return index(static_cast<int>(row));
        }
    }
    return {};
}

void ShelfModel::ChangedAt(const QString& path) {
    const QModelIndex at = IndexOf(path);
    if (at.isValid()) {
        Q_EMIT dataChanged(at, at);
    }
    Reshow();
}

void ShelfModel::SetProbe(const QString& path, const DiscReport& report) {
    ShelfDisc* disc = Find(path);
    if (disc == nullptr) {
        return;
    }
    disc->probed = true;
    disc->discLabel = report.label;
    disc->issueLine = report.issueLine;
    disc->probeFault = report.fault;
    if (!report.fileName.empty()) {
        disc->fileName = report.fileName;
    }
    if (report.thumbnail.isNull()) {
        thumbnails_.remove(path);
    } else {
        thumbnails_.insert(path, report.thumbnail);
    }
    ChangedAt(path);
}

void ShelfModel::SetStartFault(const QString& path, const QString& fault) {
    if (ShelfDisc* disc = Find(path)) {
        disc->startFault = fault.toStdString();
        ChangedAt(path);
    }
}

void ShelfModel::SetLastOpened(const QString& path, long long when) {
    if (ShelfDisc* disc = Find(path)) {
        disc->lastOpened = when;
        ChangedAt(path);
    }
}

void ShelfModel::SetOrder(ShelfOrder order) {
    order_ = order;
    Reshow();
}

void ShelfModel::SetFilter(const QString& filter) {
    filter_ = filter.toStdString();
    Reshow();
}

void ShelfModel::Reshow() {
    std::vector<std::size_t> next = ShownOrder(discs_, order_, filter_);
    if (next == shown_) {
        return;
    }
    Q_EMIT layoutAboutToBeChanged();
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    for (const QModelIndex& old : before) {
        const std::size_t disc = shown_[static_cast<std::size_t>(old.row())];
        const auto at = std::find(next.begin(), next.end(), disc);
        after.push_back(at == next.end() ? QModelIndex()
                                         : createIndex(static_cast<int>(at - next.begin()), 0));
    }
    shown_ = std::move(next);
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged();
}

bool ShelfModel::AllProbed() const {
    return std::all_of(discs_.begin(), discs_.end(),
                       [](const ShelfDisc& d) { return d.probed || !d.present; });
}

int ShelfModel::ProbedCount() const {
    return static_cast<int>(
        std::count_if(discs_.begin(), discs_.end(), [](const ShelfDisc& d) { return d.probed; }));
}

int ShelfModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

QVariant ShelfModel::data(const QModelIndex& index, int role) const {
    const ShelfDisc* disc = DiscAt(index.row());
    if (disc == nullptr) {
        return {};
    }
    const QString path = QString::fromStdString(disc->path);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return QString::fromStdString(ShownName(*disc));
    case Qt::ToolTipRole:
        return path;
    case PathRole:
        return path;
    case IssueLineRole:
        return QString::fromStdString(disc->issueLine);
    case FileNameRole:
        return QString::fromStdString(disc->fileName);
    case FaultRole:
        return QString::fromStdString(Fault(*disc));
    case ThumbnailRole:
        return thumbnails_.value(path);
    case ProbedRole:
        return disc->probed || !disc->present;
    default:
        return {};
    }
}

bool ShelfModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    const ShelfDisc* shown = DiscAt(index.row());
    if (shown == nullptr || role != Qt::EditRole) {
        return false;
    }
    const QString path = QString::fromStdString(shown->path);
    ShelfDisc* disc = Find(path);
    QString label = value.toString().simplified();
    // Typing the disc's own name back, or nothing, takes the label away.
    if (label == QString::fromStdString(disc->discLabel) ||
        (disc->discLabel.empty() && label == QString::fromStdString(disc->fileName))) {
        label.clear();
    }
    if (label.toStdString() == disc->label) {
        return true;
    }
    disc->label = label.toStdString();
    Q_EMIT LabelEdited(path, label);
    ChangedAt(path);
    return true;
}

Qt::ItemFlags ShelfModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

} // namespace kestrova
