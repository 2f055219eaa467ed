#include "ui/shelf_card.h"

#include "ui/shelf_model.h"

#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>

namespace kestrova {

namespace {

QFont CardFont(int pixels, bool bold, bool condensed = false) {
    QFont f(condensed ? QStringLiteral("DejaVu Sans Condensed")
                      : QStringLiteral("Liberation Sans"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

QImage Greyed(const QImage& picture) {
    QImage grey = picture.convertToFormat(QImage::Format_Grayscale8);
    return grey.convertToFormat(QImage::Format_RGB32);
}

} // namespace

QRect ShelfCard::ThumbnailRect(const QRect& card) {
    return {card.left() + 10, card.top() + 10, 200, 150};
}

QRect ShelfCard::NameRect(const QRect& card) {
    return {card.left() + 8, card.top() + 166, card.width() - 16, 20};
}

QSize ShelfCard::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const {
    return {kWidth, kHeight};
}

void ShelfCard::paint(QPainter* painter, const QStyleOptionViewItem& option,
                      const QModelIndex& index) const {
    using namespace shelf_colours;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const QRect card = option.rect.adjusted(3, 3, -3, -3);
    const bool selected = (option.state & QStyle::State_Selected) != 0;
    const bool hovered = (option.state & QStyle::State_MouseOver) != 0;
    const QString fault = index.data(ShelfModel::FaultRole).toString();
    const bool faulty = !fault.isEmpty();
    QPainterPath outline;
    outline.addRoundedRect(QRectF(card), 6, 6);
    painter->fillPath(outline, hovered || selected ? kCardHover : kCard);
    if (selected) {
        painter->setPen(QPen(kOrange, 2));
        painter->drawPath(outline);
    }

    const QRect thumb = ThumbnailRect(option.rect);
    const QImage picture = index.data(ShelfModel::ThumbnailRole).value<QImage>();
    if (!picture.isNull()) {
        const QImage shown = faulty ? Greyed(picture) : picture;
        const QRect at(thumb.left() + (thumb.width() - shown.width()) / 2,
                       thumb.top() + (thumb.height() - shown.height()) / 2, shown.width(),
                       shown.height());
        painter->drawImage(at, shown);
        if (faulty) {
            painter->fillRect(at, QColor(0x14, 0x08, 0x2c, 150));
        }
    } else {
        painter->fillRect(thumb, kBackground);
    }
    painter->setFont(CardFont(12, false));
    if (faulty) {
        painter->setPen(kFault);
        painter->drawText(thumb.adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap, fault);
    } else if (!index.data(ShelfModel::ProbedRole).toBool()) {
        painter->setPen(kGrey);
        painter->drawText(thumb, Qt::AlignCenter, QStringLiteral("Reading the disc\u2026"));
    }

    const int textWidth = card.width() - 16;
    auto line = [&](const QString& text, const QFont& font, const QColor& colour, int top) {
        painter->setFont(font);
        painter->setPen(faulty ? kGrey : colour);
        const QString elided = QFontMetrics(font).elidedText(text, Qt::ElideRight, textWidth);
        painter->drawText(QRect(card.left() + 8, option.rect.top() + top, textWidth, 20),
                          Qt::AlignLeft | Qt::AlignVCenter, elided);
    };
    line(index.data(Qt::DisplayRole).toString(), CardFont(14, true), kOrange, 166);
    line(index.data(ShelfModel::IssueLineRole).toString(), CardFont(11, false, true), kIssue, 186);
    line(index.data(ShelfModel::FileNameRole).toString(), CardFont(10, false, true), kFile, 204);
    painter->restore();
}

QWidget* ShelfCard::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                 const QModelIndex&) const {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QStringLiteral("shelfLabelEdit"));
    edit->setFont(CardFont(14, true));
    edit->setFrame(false);
    return edit;
}

void ShelfCard::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                     const QModelIndex&) const {
    editor->setGeometry(NameRect(option.rect));
}

} // namespace kestrova
