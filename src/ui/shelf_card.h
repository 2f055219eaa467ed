#pragma once
// How one disc looks on the shelf: a card in the menu's colours with the thumbnail, the name
// (editable in place), the issue line and the file's name. A disc that would not start is drawn
// grey, its reason where the picture would be.

#include <QColor>
#include <QStyledItemDelegate>

namespace kestrova {

namespace shelf_colours {
inline const QColor kBackground{0x14, 0x08, 0x2c};
inline const QColor kCard{0x2a, 0x12, 0x55};
inline const QColor kCardHover{0x3a, 0x1c, 0x70};
inline const QColor kOrange{0xff, 0xa5, 0x1e};
inline const QColor kText{0xf2, 0xec, 0xff};
inline const QColor kIssue{0xc8, 0xb4, 0xff};
inline const QColor kFile{0x96, 0x88, 0xbe};
inline const QColor kGrey{0x80, 0x78, 0x90};
inline const QColor kFault{0xff, 0x8c, 0x69};
} // namespace shelf_colours

class ShelfCard : public QStyledItemDelegate {
    Q_OBJECT
  public:
    static constexpr int kWidth = 220;
    static constexpr int kHeight = 232;

    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

    // Where the name stands inside a card at `card`.
    static QRect NameRect(const QRect& card);
    static QRect ThumbnailRect(const QRect& card);
};

} // namespace kestrova
