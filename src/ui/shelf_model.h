#pragma once
// The shelf's discs as the list view shows them: every entry of the shelf (shelf/shelf_list.h),
// what probing told of each and its small thumbnail, in the chosen order and through the filter.
// The name is editable: what is typed becomes the disc's label on the shelf.

#include "platform/disc_probe.h"
#include "shelf/shelf_list.h"

#include <QAbstractListModel>
#include <QHash>
#include <QImage>

#include <vector>

namespace kestrova {

class ShelfModel : public QAbstractListModel {
    Q_OBJECT
  public:
    enum Role {
        PathRole = Qt::UserRole + 1,
        IssueLineRole,
        FileNameRole,
        FaultRole,     // why the disc would not start; empty when it would
        ThumbnailRole, // QImage; null until probed, and for a disc that would not start
        ProbedRole,
    };

    explicit ShelfModel(QObject* parent = nullptr);

    // The shelf's entries afresh; what was probed of a disc already on it is kept.
    void SetDiscs(std::vector<ShelfDisc> discs);
    void SetProbe(const QString& path, const DiscReport& report);
    void SetStartFault(const QString& path, const QString& fault);
    void SetLastOpened(const QString& path, long long when);
    void SetOrder(ShelfOrder order);
    void SetFilter(const QString& filter);

    const std::vector<ShelfDisc>& Discs() const { return discs_; }
    const ShelfDisc* DiscAt(int row) const;
    const ShelfDisc* DiscFor(const QString& path) const;
    QModelIndex IndexOf(const QString& path) const;
    QImage Thumbnail(const QString& path) const { return thumbnails_.value(path); }
    bool AllProbed() const;
    int ProbedCount() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  Q_SIGNALS:
    // The user named the disc on the shelf; an empty label gives it back its own name.
    void LabelEdited(const QString& path, const QString& label);

  private:
    ShelfDisc* Find(const QString& path);
    void ChangedAt(const QString& path);
    // Puts the rows in order again, keeping the view's selection and current disc.
    void Reshow();

    std::vector<ShelfDisc> discs_;
    std::vector<std::size_t> shown_;
    QHash<QString, QImage> thumbnails_;
    ShelfOrder order_ = ShelfOrder::Name;
    std::string filter_;
};

} // namespace kestrova
