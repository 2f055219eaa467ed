#include "paint_kit.h"

#include <QFontMetricsF>
#include <QRadialGradient>

#include <algorithm>

namespace kestrova::sampledisc {

QFont Font(const QString& family, int pixelSize, int weight, bool italic, int stretch) {
    QFont f(family);
    f.setPixelSize(pixelSize);
    f.setWeight(static_cast<QFont::Weight>(weight));
    f.setItalic(italic);
    f.setStretch(stretch);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

QFont TitleFont(int pixelSize, bool italic) {
    return Font(QStringLiteral("DejaVu Sans"), pixelSize, QFont::Black, italic, 88);
}

QFont TextFont(int pixelSize, int weight) {
    return Font(QStringLiteral("DejaVu Sans"), pixelSize, weight, false, 100);
}

QColor Mix(const QColor& a, const QColor& b, qreal t) {
    return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * t),
                            static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * t),
                            static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * t),
                            static_cast<float>(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
}

QColor Lighter(const QColor& c, int percent) {
    return c.lighter(percent);
}

QLinearGradient Vertical(qreal top, qreal bottom, const QColor& a, const QColor& b) {
    QLinearGradient g(0, top, 0, bottom);
    g.setColorAt(0, a);
    g.setColorAt(1, b);
    return g;
}

qreal TextWidth(const QString& text, const QFont& font) {
    return QFontMetricsF(font).horizontalAdvance(text);
}

qreal Lettering(QPainter& p, const QString& text, const QFont& font, QPointF at, const QColor& top,
                const QColor& bottom, const QColor& outline, qreal outlineWidth, QPointF shadow) {
    QPainterPath path;
    path.addText(at, font, text);
    const QRectF box = path.boundingRect();
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    if (!shadow.isNull()) {
        p.fillPath(path.translated(shadow), QColor(0, 0, 0, 150));
    }
    if (outlineWidth > 0) {
        p.strokePath(path,
                     QPen(outline, outlineWidth * 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    }
    QLinearGradient fill(0, box.top(), 0, box.bottom());
    fill.setColorAt(0, top);
    fill.setColorAt(0.48, Mix(top, bottom, 0.35));
    fill.setColorAt(0.52, Mix(top, bottom, 0.75));
    fill.setColorAt(1, bottom);
    p.fillPath(path, fill);
    // A thin highlight along the top of the letters.
    p.setClipPath(path);
    p.fillRect(QRectF(box.left(), box.top(), box.width(), box.height() * 0.18),
               QColor(255, 255, 255, 70));
    p.restore();
    return TextWidth(text, font);
}

void LetteringCentred(QPainter& p, const QString& text, const QFont& font, const QRectF& box,
                      const QColor& top, const QColor& bottom, const QColor& outline,
                      qreal outlineWidth, QPointF shadow) {
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF b = path.boundingRect();
    const QPointF at(box.center().x() - b.center().x(), box.center().y() - b.center().y());
    Lettering(p, text, font, at, top, bottom, outline, outlineWidth, shadow);
}

void Bevel(QPainter& p, const QRectF& r, const QColor& face, int edge, bool raised, qreal radius) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QColor light = face.lighter(raised ? 175 : 55);
    const QColor dark = face.darker(raised ? 260 : 120);
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, light);
    g.setColorAt(0.5, face);
    g.setColorAt(1, dark);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(r, radius, radius);
    const QRectF inner = r.adjusted(edge, edge, -edge, -edge);
    QLinearGradient f(0, inner.top(), 0, inner.bottom());
    f.setColorAt(0, raised ? face.lighter(118) : face.darker(130));
    f.setColorAt(1, raised ? face.darker(125) : face.lighter(105));
    p.setBrush(f);
    p.drawRoundedRect(inner, std::max<qreal>(0, radius - edge), std::max<qreal>(0, radius - edge));
    p.restore();
}

void Stars(QPainter& p, const QRectF& r, int count, uint32_t seed, qreal maxSize) {
    Dice dice(seed);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const QPointF at(r.left() + dice.Unit() * r.width(), r.top() + dice.Unit() * r.height());
        const qreal size = 0.5 + dice.Unit() * dice.Unit() * maxSize;
        const int a = 90 + static_cast<int>(dice.Unit() * 165);
        const int tint = static_cast<int>(dice.Next() % 3);
        QColor c = tint == 0   ? QColor(255, 255, 255, a)
                   : tint == 1 ? QColor(255, 230, 170, a)
                               : QColor(190, 210, 255, a);
        p.setBrush(c);
        p.drawEllipse(at, size, size);
        if (size > maxSize * 0.7) {
            p.setPen(QPen(QColor(255, 255, 255, a / 2), 0.8));
            p.drawLine(at - QPointF(size * 3, 0), at + QPointF(size * 3, 0));
            p.drawLine(at - QPointF(0, size * 3), at + QPointF(0, size * 3));
            p.setPen(Qt::NoPen);
        }
    }
    p.restore();
}

void Glow(QPainter& p, QPointF centre, qreal radius, const QColor& colour) {
    QRadialGradient g(centre, radius);
    QColor inner = colour;
    QColor outer = colour;
    outer.setAlpha(0);
    g.setColorAt(0, inner);
    g.setColorAt(1, outer);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(centre, radius, radius);
    p.restore();
}

void ScanLines(QPainter& p, const QRectF& r, int alpha) {
    p.save();
    p.setPen(QColor(0, 0, 0, alpha));
    for (qreal y = r.top(); y < r.bottom(); y += 2) {
        p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
    }
    p.restore();
}

void KeyOutside(QImage& img, const QPainterPath& shape, const QColor& key) {
    QImage mask(img.size(), QImage::Format_ARGB32);
    mask.fill(0);
    {
        QPainter m(&mask);
        m.setRenderHint(QPainter::Antialiasing, false);
        m.fillPath(shape, Qt::white);
    }
    const QRgb keyRgb = key.rgb();
    for (int y = 0; y < img.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        const auto* m = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            if (qAlpha(m[x]) == 0) {
                row[x] = keyRgb;
            } else if ((row[x] | 0xFF000000u) == keyRgb) {
                row[x] = qRgb(qRed(keyRgb) ^ 1, qGreen(keyRgb), qBlue(keyRgb));
            }
        }
    }
}

} // namespace kestrova::sampledisc
