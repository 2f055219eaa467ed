#pragma once
// The disc's house style: palette, fonts and the few painting tricks every picture shares
// (chrome lettering, bevels, star fields, hard-edged transparent keys).

#include <QColor>
#include <QFont>
#include <QGradient>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <QString>

#include <cstdint>

namespace kestrova::sampledisc {

namespace theme {
inline const QColor kInk(8, 10, 34);
inline const QColor kNavy(18, 22, 68);
inline const QColor kNavyLight(34, 40, 104);
inline const QColor kPurple(62, 24, 110);
inline const QColor kFrame(104, 30, 190); // thumbnail frames, hover outline, drop-down box
inline const QColor kOrange(255, 122, 24);
inline const QColor kYellow(255, 212, 0);
inline const QColor kCream(255, 240, 210);
inline const QColor kKey(255, 0, 255); // transparent key of shaped pictures
} // namespace theme

QFont Font(const QString& family, int pixelSize, int weight = QFont::Bold, bool italic = false,
           int stretch = 100);
QFont TitleFont(int pixelSize, bool italic = true);
QFont TextFont(int pixelSize, int weight = QFont::Bold);

QColor Mix(const QColor& a, const QColor& b, qreal t);
QColor Lighter(const QColor& c, int percent);

QLinearGradient Vertical(qreal top, qreal bottom, const QColor& a, const QColor& b);

// Bold magazine lettering: a drop shadow, a dark outline and a gradient fill. The text's left
// baseline is at `at`; returns the advance width.
qreal Lettering(QPainter& p, const QString& text, const QFont& font, QPointF at, const QColor& top,
                const QColor& bottom, const QColor& outline = theme::kInk, qreal outlineWidth = 3,
                QPointF shadow = {3, 3});
// The same, centred in a rectangle.
void LetteringCentred(QPainter& p, const QString& text, const QFont& font, const QRectF& box,
                      const QColor& top, const QColor& bottom, const QColor& outline = theme::kInk,
                      qreal outlineWidth = 3, QPointF shadow = {3, 3});
qreal TextWidth(const QString& text, const QFont& font);

// A raised (or sunken) plate: face gradient, light top-left edge, dark bottom-right edge.
void Bevel(QPainter& p, const QRectF& r, const QColor& face, int edge, bool raised,
           qreal radius = 0);
void Stars(QPainter& p, const QRectF& r, int count, uint32_t seed, qreal maxSize = 2.2);
void Glow(QPainter& p, QPointF centre, qreal radius, const QColor& colour);
void ScanLines(QPainter& p, const QRectF& r, int alpha = 18);

// Sets every pixel outside `shape` to the key colour with a hard edge (no blended fringe), and
// nudges pixels inside that happen to equal the key so they stay visible.
void KeyOutside(QImage& img, const QPainterPath& shape, const QColor& key = theme::kKey);

// A small deterministic generator so every build paints the same pictures.
struct Dice {
    uint32_t state;
    explicit Dice(uint32_t seed) : state(seed * 2654435761u + 12345u) {}
    uint32_t Next() {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
    qreal Unit() { return static_cast<qreal>(Next() & 0xFFFF) / 65535.0; }
    qreal Range(qreal lo, qreal hi) { return lo + (hi - lo) * Unit(); }
};

} // namespace kestrova::sampledisc
