#include "scenes.h"

#include "paint_kit.h"

#include <QPolygonF>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kestrova::sampledisc {

namespace {

using theme::kInk;

void Sky(QPainter& p, const QColor& top, const QColor& bottom, qreal horizon = 200) {
    p.fillRect(QRectF(0, 0, 400, horizon), Vertical(0, horizon, top, bottom));
}

void Poly(QPainter& p, std::initializer_list<QPointF> pts, const QBrush& brush,
          const QPen& pen = Qt::NoPen) {
    p.setPen(pen);
    p.setBrush(brush);
    p.drawPolygon(QPolygonF(QList<QPointF>(pts)));
}

void Spaceship(QPainter& p) {
    Sky(p, QColor(2, 2, 14), QColor(20, 16, 60));
    Glow(p, {110, 60}, 150, QColor(120, 30, 160, 110));
    Glow(p, {300, 150}, 120, QColor(30, 80, 180, 90));
    Stars(p, QRectF(0, 0, 400, 200), 140, 11, 2.4);
    // A ringed planet.
    QRadialGradient planet(QPointF(300, 50), 70, QPointF(280, 30));
    planet.setColorAt(0, QColor(255, 200, 140));
    planet.setColorAt(0.6, QColor(200, 90, 60));
    planet.setColorAt(1, QColor(60, 20, 30));
    p.setPen(Qt::NoPen);
    p.setBrush(planet);
    p.drawEllipse(QPointF(320, 50), 46, 46);
    p.setPen(QPen(QColor(255, 220, 170, 170), 4));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(320, 52), 78, 14);
    // Laser streaks.
    p.setPen(QPen(QColor(255, 80, 40, 220), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(250, 150), QPointF(390, 120));
    p.drawLine(QPointF(240, 160), QPointF(380, 135));
    // The corsair cutter, nose to the right.
    Glow(p, {58, 124}, 38, QColor(255, 140, 30, 230));
    Glow(p, {58, 124}, 16, QColor(255, 250, 200, 255));
    QLinearGradient hull(0, 90, 0, 160);
    hull.setColorAt(0, QColor(230, 236, 255));
    hull.setColorAt(0.5, QColor(120, 140, 190));
    hull.setColorAt(1, QColor(40, 46, 80));
    Poly(p, {{60, 104}, {150, 92}, {250, 118}, {150, 140}, {60, 146}}, hull, QPen(kInk, 2));
    Poly(p, {{110, 96}, {150, 60}, {190, 64}, {170, 104}}, QColor(90, 110, 170), QPen(kInk, 2));
    Poly(p, {{110, 140}, {160, 176}, {196, 172}, {170, 132}}, QColor(70, 86, 140), QPen(kInk, 2));
    QLinearGradient canopy(0, 104, 0, 122);
    canopy.setColorAt(0, QColor(255, 240, 120));
    canopy.setColorAt(1, QColor(255, 140, 0));
    Poly(p, {{170, 110}, {214, 114}, {196, 122}, {168, 121}}, canopy, QPen(kInk, 1.5));
    p.setPen(QPen(QColor(255, 122, 24), 3));
    p.drawLine(QPointF(80, 120), QPointF(220, 120));
}

void RallyCar(QPainter& p) {
    Sky(p, QColor(255, 170, 80), QColor(255, 226, 170), 120);
    Glow(p, {320, 70}, 60, QColor(255, 250, 220, 255));
    // Forest silhouettes.
    Dice dice(7);
    for (int i = 0; i < 22; ++i) {
        const qreal x = i * 19 + dice.Range(-6, 6);
        const qreal h = dice.Range(40, 80);
        Poly(p, {{x - 12, 124}, {x, 124 - h}, {x + 12, 124}}, QColor(40, 60, 40));
    }
    p.fillRect(QRectF(0, 120, 400, 80),
               Vertical(120, 200, QColor(170, 120, 70), QColor(90, 60, 36)));
    // Dust thrown up behind the car.
    for (int i = 0; i < 14; ++i) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(230, 200, 150, 90));
        p.drawEllipse(QPointF(40 + i * 9 + dice.Range(-5, 5), 150 - dice.Range(0, 30)),
                      dice.Range(14, 26), dice.Range(10, 18));
    }
    // Car body.
    QLinearGradient paint(0, 110, 0, 175);
    paint.setColorAt(0, QColor(255, 90, 70));
    paint.setColorAt(0.5, QColor(210, 20, 30));
    paint.setColorAt(1, QColor(110, 0, 10));
    QPainterPath body;
    body.moveTo(140, 168);
    body.lineTo(136, 140);
    body.cubicTo(150, 130, 180, 128, 200, 126);
    body.lineTo(226, 104);
    body.lineTo(290, 104);
    body.lineTo(318, 128);
    body.cubicTo(350, 132, 366, 140, 370, 160);
    body.lineTo(368, 168);
    body.closeSubpath();
    p.setPen(QPen(kInk, 2.5));
    p.setBrush(paint);
    p.drawPath(body);
    Poly(p, {{232, 110}, {258, 110}, {258, 128}, {212, 128}}, QColor(150, 200, 240), QPen(kInk, 2));
    Poly(p, {{264, 110}, {286, 110}, {306, 128}, {264, 128}}, QColor(150, 200, 240), QPen(kInk, 2));
    p.fillRect(QRectF(140, 146, 228, 6), QColor(255, 255, 255));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(250, 148), 12, 12);
    p.setPen(QPen(kInk, 1));
    p.setFont(TextFont(14, QFont::Black));
    p.drawText(QRectF(238, 140, 24, 18), Qt::AlignCenter, QStringLiteral("7"));
    for (qreal wx : {182.0, 326.0}) {
        p.setPen(QPen(kInk, 2));
        p.setBrush(QColor(30, 30, 30));
        p.drawEllipse(QPointF(wx, 168), 19, 19);
        p.setBrush(QColor(200, 200, 210));
        p.drawEllipse(QPointF(wx, 168), 8, 8);
    }
    Glow(p, {368, 146}, 18, QColor(255, 255, 200, 230));
}

void Castle(QPainter& p) {
    Sky(p, QColor(14, 6, 40), QColor(90, 40, 130));
    Stars(p, QRectF(0, 0, 400, 120), 70, 23, 1.8);
    Glow(p, {300, 60}, 70, QColor(255, 240, 200, 90));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 246, 214));
    p.drawEllipse(QPointF(300, 60), 30, 30);
    p.fillRect(QRectF(0, 170, 400, 30), QColor(20, 12, 30));
    const QColor stone(40, 26, 60);
    auto tower = [&](qreal x, qreal w, qreal top) {
        p.fillRect(QRectF(x, top, w, 200 - top), stone);
        Poly(p, {{x - 6, top}, {x + w / 2, top - w * 1.3}, {x + w + 6, top}}, QColor(70, 20, 60));
    };
    p.fillRect(QRectF(90, 110, 220, 90), stone);
    for (int i = 0; i < 11; ++i) {
        p.fillRect(QRectF(90 + i * 20, 100, 11, 12), stone);
    }
    tower(70, 40, 80);
    tower(180, 44, 50);
    tower(290, 40, 90);
    p.setBrush(QColor(255, 200, 60));
    for (QPointF w : {QPointF(84, 110), QPointF(196, 80), QPointF(196, 120), QPointF(304, 120),
                      QPointF(140, 140), QPointF(250, 140)}) {
        Glow(p, w + QPointF(5, 8), 16, QColor(255, 170, 40, 140));
        p.setBrush(QColor(255, 214, 90));
        p.drawRoundedRect(QRectF(w.x(), w.y(), 10, 16), 5, 5);
    }
    p.setPen(QPen(QColor(10, 6, 20), 2));
    for (QPointF b : {QPointF(120, 50), QPointF(150, 34), QPointF(250, 30)}) {
        QPainterPath bat;
        bat.moveTo(b + QPointF(-12, 0));
        bat.quadTo(b + QPointF(-6, -6), b);
        bat.quadTo(b + QPointF(6, -6), b + QPointF(12, 0));
        p.setBrush(Qt::NoBrush);
        p.drawPath(bat);
    }
}

void Submarine(QPainter& p) {
    Sky(p, QColor(20, 150, 170), QColor(2, 20, 40));
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 5; ++i) {
        Poly(p,
             {{40.0 + i * 80, 0}, {70.0 + i * 80, 0}, {20.0 + i * 90, 200}, {-10.0 + i * 90, 200}},
             QColor(200, 255, 255, 26));
    }
    // A sunken liner.
    Poly(p, {{0, 200}, {20, 140}, {200, 150}, {230, 200}}, QColor(30, 40, 40));
    p.setBrush(QColor(50, 60, 55));
    p.drawRect(QRectF(60, 120, 40, 30));
    for (int i = 0; i < 6; ++i) {
        p.setBrush(QColor(90, 110, 80));
        p.drawEllipse(QPointF(40 + i * 28, 170), 5, 5);
    }
    // Headlight beam.
    Poly(p, {{330, 110}, {400, 70}, {400, 170}}, QColor(255, 255, 200, 60));
    QLinearGradient hull(0, 80, 0, 140);
    hull.setColorAt(0, QColor(255, 236, 80));
    hull.setColorAt(1, QColor(200, 120, 0));
    p.setPen(QPen(kInk, 2.5));
    p.setBrush(hull);
    p.drawRoundedRect(QRectF(210, 86, 124, 50), 25, 25);
    p.drawRect(QRectF(250, 68, 36, 22));
    p.drawLine(QPointF(268, 68), QPointF(268, 52));
    p.drawLine(QPointF(268, 52), QPointF(282, 52));
    p.setBrush(QColor(120, 220, 255));
    for (qreal x : {238.0, 268.0, 298.0}) {
        p.drawEllipse(QPointF(x, 110), 8, 8);
    }
    p.setBrush(QColor(80, 80, 80));
    p.drawRect(QRectF(196, 100, 14, 22));
    Dice dice(5);
    p.setPen(QPen(QColor(220, 255, 255, 160), 1.5));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 18; ++i) {
        p.drawEllipse(QPointF(190 - dice.Range(0, 30), 100 - i * 6 + dice.Range(-3, 3)),
                      2 + dice.Range(0, 3), 2 + dice.Range(0, 3));
    }
    Glow(p, {120, 60}, 22, QColor(140, 255, 200, 90));
}

void SteamTank(QPainter& p) {
    Sky(p, QColor(150, 190, 210), QColor(230, 220, 170), 130);
    p.fillRect(QRectF(0, 125, 400, 75),
               Vertical(125, 200, QColor(120, 170, 60), QColor(50, 90, 30)));
    Dice dice(9);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 60; ++i) {
        p.setBrush(i % 3 ? QColor(250, 240, 90) : QColor(240, 120, 160));
        p.drawEllipse(QPointF(dice.Range(0, 400), dice.Range(140, 200)), 2, 2);
    }
    // Smoke.
    for (int i = 0; i < 8; ++i) {
        p.setBrush(QColor(90, 90, 90, 120 - i * 12));
        p.drawEllipse(QPointF(236 + i * 14, 40 - i * 5), 12 + i * 3, 10 + i * 2);
    }
    const QColor brass(200, 150, 60);
    const QColor iron(70, 60, 56);
    // Four jointed legs: far pair darker, near pair in front of the hull.
    auto leg = [&](QPointF hip, QPointF knee, QPointF foot, const QColor& c) {
        p.setPen(QPen(theme::kInk, 13, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF(QList<QPointF>{hip, knee, foot}));
        p.setPen(QPen(c, 8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF(QList<QPointF>{hip, knee, foot}));
        p.setPen(QPen(theme::kInk, 2));
        p.setBrush(brass);
        p.drawEllipse(knee, 6, 6);
        p.setBrush(c);
        p.drawRoundedRect(QRectF(foot.x() - 12, foot.y() - 3, 24, 8), 3, 3);
    };
    leg({184, 122}, {160, 150}, {168, 182}, iron.darker(140));
    leg({268, 122}, {292, 150}, {284, 182}, iron.darker(140));
    p.setPen(QPen(kInk, 2.5));
    QLinearGradient body(0, 70, 0, 140);
    body.setColorAt(0, brass.lighter(150));
    body.setColorAt(0.5, brass);
    body.setColorAt(1, brass.darker(200));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(140, 78, 170, 58), 14, 14);
    // Boiler dome, funnel and gun.
    p.drawChord(QRectF(180, 56, 70, 48), 0, 180 * 16);
    p.setBrush(iron);
    p.drawRect(QRectF(236, 36, 16, 40));
    p.drawRect(QRectF(230, 32, 28, 8));
    p.drawRect(QRectF(308, 96, 56, 12));
    p.drawRect(QRectF(360, 92, 8, 20));
    // Rivets and a porthole with the driver's lamp behind it.
    p.setBrush(QColor(255, 220, 120));
    for (int i = 0; i < 8; ++i) {
        p.drawEllipse(QPointF(152 + i * 21, 128), 2.5, 2.5);
        p.drawEllipse(QPointF(152 + i * 21, 86), 2.5, 2.5);
    }
    p.setBrush(QColor(140, 220, 255));
    p.drawEllipse(QPointF(172, 106), 12, 11);
    Glow(p, {172, 106}, 14, QColor(255, 255, 200, 120));
    // A big cog on the flank.
    p.setBrush(iron.lighter(130));
    QPainterPath cog;
    for (int k = 0; k < 16; ++k) {
        const qreal a = k * std::numbers::pi / 8;
        const qreal r = k % 2 ? 15 : 19;
        const QPointF pt(250 + std::cos(a) * r, 108 + std::sin(a) * r);
        k == 0 ? cog.moveTo(pt) : cog.lineTo(pt);
    }
    cog.closeSubpath();
    p.drawPath(cog);
    p.setBrush(brass);
    p.drawEllipse(QPointF(250, 108), 6, 6);
    leg({170, 126}, {146, 156}, {150, 188}, iron);
    leg({282, 126}, {306, 156}, {300, 188}, iron);
}

void Pinball(QPainter& p) {
    p.fillRect(QRectF(0, 0, 400, 200), Vertical(0, 200, QColor(30, 6, 50), QColor(90, 20, 100)));
    Glow(p, {200, 40}, 160, QColor(255, 60, 180, 70));
    p.setPen(QPen(QColor(255, 80, 200), 3));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(40, -60, 320, 200), 200 * 16, 140 * 16);
    for (QPointF b : {QPointF(140, 70), QPointF(200, 50), QPointF(260, 70), QPointF(200, 100)}) {
        Glow(p, b, 34, QColor(255, 220, 60, 160));
        p.setPen(QPen(kInk, 2));
        p.setBrush(QColor(255, 120, 24));
        p.drawEllipse(b, 18, 18);
        p.setBrush(QColor(255, 230, 120));
        p.drawEllipse(b, 9, 9);
    }
    p.setPen(QPen(kInk, 2));
    QLinearGradient flip(0, 160, 0, 180);
    flip.setColorAt(0, Qt::white);
    flip.setColorAt(1, QColor(160, 160, 200));
    Poly(p, {{120, 160}, {190, 182}, {186, 190}, {116, 172}}, flip, QPen(kInk, 2));
    Poly(p, {{280, 160}, {210, 182}, {214, 190}, {284, 172}}, flip, QPen(kInk, 2));
    QRadialGradient ball(QPointF(236, 134), 14, QPointF(230, 128));
    ball.setColorAt(0, Qt::white);
    ball.setColorAt(0.5, QColor(190, 190, 210));
    ball.setColorAt(1, QColor(60, 60, 80));
    p.setBrush(ball);
    p.drawEllipse(QPointF(236, 134), 10, 10);
    for (int i = 0; i < 9; ++i) {
        p.setPen(Qt::NoPen);
        p.setBrush(i % 2 ? QColor(80, 255, 255) : QColor(255, 255, 120));
        p.drawEllipse(QPointF(40 + i * 40, 188), 4, 4);
    }
}

void Biplane(QPainter& p) {
    Sky(p, QColor(60, 140, 230), QColor(190, 230, 255));
    p.setPen(Qt::NoPen);
    Dice dice(3);
    for (int c = 0; c < 4; ++c) {
        const QPointF at(dice.Range(20, 380), dice.Range(30, 170));
        for (int i = 0; i < 5; ++i) {
            p.setBrush(QColor(255, 255, 255, 200));
            p.drawEllipse(at + QPointF(i * 14 - 28, (i % 2) * -8), 20, 14);
        }
    }
    // Floating island.
    Poly(p, {{40, 140}, {160, 140}, {120, 196}, {90, 200}, {70, 180}}, QColor(120, 80, 50));
    p.setBrush(QColor(80, 170, 60));
    p.drawRoundedRect(QRectF(36, 132, 128, 14), 7, 7);
    p.setBrush(QColor(60, 130, 50));
    p.drawEllipse(QPointF(70, 120), 16, 18);
    p.setBrush(QColor(240, 240, 240));
    p.drawRect(QRectF(120, 108, 10, 26));
    p.setBrush(QColor(220, 40, 40));
    p.drawRect(QRectF(118, 102, 14, 8));
    // The biplane.
    p.setPen(QPen(kInk, 2.5));
    QLinearGradient wing(0, 60, 0, 120);
    wing.setColorAt(0, QColor(255, 110, 90));
    wing.setColorAt(1, QColor(180, 20, 20));
    p.setBrush(wing);
    p.drawRoundedRect(QRectF(220, 62, 110, 12), 6, 6);
    p.drawRoundedRect(QRectF(226, 104, 104, 12), 6, 6);
    p.setBrush(QColor(255, 236, 170));
    p.drawRoundedRect(QRectF(200, 82, 150, 22), 11, 11);
    p.drawLine(QPointF(250, 74), QPointF(250, 104));
    p.drawLine(QPointF(300, 74), QPointF(300, 104));
    Poly(p, {{200, 86}, {180, 70}, {188, 100}}, QColor(180, 20, 20), QPen(kInk, 2));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 110));
    p.drawEllipse(QPointF(354, 93), 5, 26);
    p.setPen(QPen(QColor(255, 255, 255, 160), 2, Qt::DashLine));
    p.drawLine(QPointF(30, 40), QPointF(190, 90));
}

void Market(QPainter& p) {
    Sky(p, QColor(60, 30, 90), QColor(250, 140, 70), 150);
    p.fillRect(QRectF(0, 150, 400, 50), QColor(90, 60, 40));
    for (int i = 0; i < 8; ++i) {
        p.fillRect(QRectF(i * 52, 150, 48, 50), QColor(110, 74, 50));
    }
    // Stall with a striped awning.
    p.setPen(QPen(kInk, 2));
    p.setBrush(QColor(140, 90, 50));
    p.drawRect(QRectF(90, 110, 220, 60));
    for (int i = 0; i < 11; ++i) {
        Poly(p,
             {{80.0 + i * 22, 70},
              {102.0 + i * 22, 70},
              {102.0 + i * 22, 100},
              {80.0 + i * 22, 100}},
             i % 2 ? QColor(255, 240, 210) : QColor(210, 40, 50), QPen(kInk, 1));
    }
    p.setPen(QPen(kInk, 3));
    p.drawLine(QPointF(90, 100), QPointF(90, 170));
    p.drawLine(QPointF(310, 100), QPointF(310, 170));
    // Wares.
    Dice dice(8);
    p.setPen(QPen(kInk, 1));
    for (int i = 0; i < 12; ++i) {
        p.setBrush(QColor::fromHsv(static_cast<int>(dice.Next() % 360), 200, 240));
        p.drawRoundedRect(QRectF(100 + i * 17, 104, 14, 8), 3, 3);
    }
    // The goblin trader.
    p.setPen(QPen(kInk, 2));
    p.setBrush(QColor(120, 190, 70));
    Poly(p, {{168, 116}, {140, 100}, {172, 130}}, QColor(120, 190, 70), QPen(kInk, 2));
    Poly(p, {{232, 116}, {260, 100}, {228, 130}}, QColor(120, 190, 70), QPen(kInk, 2));
    p.setBrush(QColor(120, 190, 70));
    p.drawEllipse(QPointF(200, 130), 32, 28);
    p.setBrush(QColor(255, 240, 90));
    p.drawEllipse(QPointF(188, 124), 7, 7);
    p.drawEllipse(QPointF(212, 124), 7, 7);
    p.setBrush(kInk);
    p.drawEllipse(QPointF(189, 125), 3, 3);
    p.drawEllipse(QPointF(211, 125), 3, 3);
    p.setBrush(Qt::white);
    p.drawChord(QRectF(184, 132, 32, 18), 180 * 16, 180 * 16);
    for (QPointF l : {QPointF(60, 60), QPointF(340, 60)}) {
        Glow(p, l, 24, QColor(255, 200, 80, 200));
        p.setBrush(QColor(255, 160, 40));
        p.drawEllipse(l, 7, 9);
    }
}

void NeonAlley(QPainter& p) {
    Sky(p, QColor(10, 4, 30), QColor(50, 10, 70));
    Dice dice(13);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 9; ++i) {
        const qreal x = i * 46 - 10;
        const qreal top = dice.Range(20, 90);
        p.setBrush(QColor(20 + i % 3 * 6, 14, 40));
        p.drawRect(QRectF(x, top, 44, 200 - top));
        for (int wy = static_cast<int>(top) + 8; wy < 150; wy += 14) {
            for (int wx = 6; wx < 40; wx += 12) {
                if (dice.Unit() < 0.45) {
                    p.setBrush(QColor(255, 220, 120, 180));
                    p.drawRect(QRectF(x + wx, wy, 6, 8));
                }
            }
        }
    }
    p.fillRect(QRectF(0, 150, 400, 50), Vertical(150, 200, QColor(30, 10, 50), QColor(10, 4, 20)));
    auto neon = [&](const QRectF& r, const QColor& c, const QString& word) {
        Glow(p, r.center(), r.width() * 0.8, QColor(c.red(), c.green(), c.blue(), 90));
        p.setPen(QPen(c, 3));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(r, 6, 6);
        p.setPen(QPen(c.lighter(150), 1));
        p.setFont(TextFont(static_cast<int>(r.height() * 0.55), QFont::Black));
        p.drawText(r, Qt::AlignCenter, word);
        // Its reflection in the wet street.
        p.setPen(QPen(QColor(c.red(), c.green(), c.blue(), 80), 3));
        p.drawLine(QPointF(r.left() + 6, 160 + (150 - r.bottom()) * 0.2),
                   QPointF(r.right() - 6, 160 + (150 - r.bottom()) * 0.2));
    };
    neon(QRectF(40, 60, 90, 30), QColor(255, 60, 200), QStringLiteral("BAR"));
    neon(QRectF(260, 40, 110, 34), QColor(60, 240, 255), QStringLiteral("NOODLE"));
    p.setPen(QPen(QColor(180, 200, 255, 90), 1));
    for (int i = 0; i < 70; ++i) {
        const QPointF a(dice.Range(0, 400), dice.Range(0, 200));
        p.drawLine(a, a + QPointF(-4, 12));
    }
    // The brawler, mid-kick, rim-lit by the signs so he stands out against the street.
    const QList<QLineF> limbs{{{200, 110}, {196, 150}},
                              {{196, 150}, {184, 186}},
                              {{196, 150}, {238, 140}},
                              {{200, 118}, {226, 108}},
                              {{200, 118}, {178, 128}}};
    Glow(p, {204, 140}, 60, QColor(255, 60, 200, 70));
    p.setPen(QPen(QColor(255, 90, 210, 230), 14, Qt::SolidLine, Qt::RoundCap));
    p.drawLines(limbs);
    p.setBrush(QColor(255, 90, 210, 230));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(201, 98), 13, 14);
    p.setPen(QPen(QColor(8, 4, 16), 9, Qt::SolidLine, Qt::RoundCap));
    p.drawLines(limbs);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(8, 4, 16));
    p.drawEllipse(QPointF(201, 98), 10, 11);
    p.setPen(QPen(QColor(60, 240, 255), 2));
    p.drawLine(QPointF(192, 96), QPointF(176, 100));
}

void Mountain(QPainter& p) {
    Sky(p, QColor(40, 80, 170), QColor(200, 225, 250));
    p.setPen(Qt::NoPen);
    Poly(p, {{-20, 160}, {80, 50}, {170, 150}}, QColor(90, 110, 160));
    Poly(p, {{100, 170}, {250, 20}, {420, 170}}, QColor(70, 90, 140));
    Poly(p, {{250, 20}, {214, 58}, {232, 54}, {250, 66}, {268, 52}, {286, 58}}, Qt::white);
    Poly(p, {{80, 50}, {56, 76}, {72, 72}, {86, 80}, {104, 74}}, Qt::white);
    p.fillRect(QRectF(0, 140, 400, 60),
               Vertical(140, 200, QColor(235, 245, 255), QColor(190, 210, 235)));
    p.setPen(QPen(QColor(160, 180, 210), 2));
    p.drawLine(QPointF(40, 200), QPointF(210, 140));
    p.drawLine(QPointF(80, 200), QPointF(220, 140));
    for (int i = 0; i < 4; ++i) {
        const QPointF f(120 + i * 60, 150 + i * 10);
        p.setPen(QPen(kInk, 1.5));
        p.drawLine(f, f + QPointF(0, -22));
        Poly(p, {f + QPointF(0, -22), f + QPointF(14, -17), f + QPointF(0, -12)},
             i % 2 ? QColor(220, 30, 40) : QColor(30, 60, 220), QPen(kInk, 1));
    }
    // The skier.
    p.setPen(QPen(kInk, 2));
    p.setBrush(QColor(255, 122, 24));
    Poly(p, {{196, 150}, {214, 140}, {222, 158}, {204, 166}}, QColor(255, 122, 24), QPen(kInk, 2));
    p.setBrush(QColor(255, 212, 0));
    p.drawEllipse(QPointF(214, 134), 6, 6);
    p.setPen(QPen(kInk, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(186, 176), QPointF(232, 164));
    p.setPen(QPen(QColor(255, 255, 255, 200), 3));
    for (int i = 0; i < 6; ++i) {
        p.drawPoint(QPointF(180 - i * 8, 172 + i * 3));
    }
}

} // namespace

void PaintScene(QPainter& p, Scene scene, const QRectF& target) {
    p.save();
    p.setClipRect(target);
    const qreal scale = std::max(target.width() / 400.0, target.height() / 200.0);
    p.translate(target.center());
    p.scale(scale, scale);
    p.translate(-200, -100);
    p.setRenderHint(QPainter::Antialiasing);
    switch (scene) {
    case Scene::Spaceship:
        Spaceship(p);
        break;
    case Scene::RallyCar:
        RallyCar(p);
        break;
    case Scene::Castle:
        Castle(p);
        break;
    case Scene::Submarine:
        Submarine(p);
        break;
    case Scene::SteamTank:
        SteamTank(p);
        break;
    case Scene::Pinball:
        Pinball(p);
        break;
    case Scene::Biplane:
        Biplane(p);
        break;
    case Scene::Market:
        Market(p);
        break;
    case Scene::NeonAlley:
        NeonAlley(p);
        break;
    case Scene::Mountain:
        Mountain(p);
        break;
    }
    p.restore();
}

void PaintTobrik(QPainter& p, const QRectF& target, bool waving) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(target.topLeft());
    p.scale(target.width() / 100.0, target.height() / 120.0);
    const QPen ink(theme::kInk, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    // Feet and body: a round orange critter with a purple cap and an antenna.
    p.setPen(ink);
    p.setBrush(QColor(120, 40, 200));
    p.drawEllipse(QPointF(36, 112), 12, 6);
    p.drawEllipse(QPointF(64, 112), 12, 6);
    QRadialGradient body(QPointF(50, 70), 44, QPointF(36, 54));
    body.setColorAt(0, QColor(255, 214, 120));
    body.setColorAt(0.6, QColor(255, 122, 24));
    body.setColorAt(1, QColor(190, 60, 0));
    p.setBrush(body);
    p.drawEllipse(QPointF(50, 72), 38, 38);
    p.setPen(QPen(theme::kInk, 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(16, 80), QPointF(4, 92));
    if (waving) {
        p.drawLine(QPointF(84, 62), QPointF(98, 40));
    } else {
        p.drawLine(QPointF(84, 80), QPointF(96, 92));
    }
    p.setPen(ink);
    p.setBrush(QColor(124, 40, 210));
    p.drawChord(QRectF(18, 28, 64, 40), 0, 180 * 16);
    p.drawLine(QPointF(50, 28), QPointF(56, 8));
    p.setBrush(theme::kYellow);
    p.drawEllipse(QPointF(57, 7), 6, 6);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(38, 64), 11, 13);
    p.drawEllipse(QPointF(62, 64), 11, 13);
    p.setBrush(theme::kInk);
    p.drawEllipse(QPointF(41, 66), 5, 6);
    p.drawEllipse(QPointF(59, 66), 5, 6);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(34, 76, 32, 20), 200 * 16, 140 * 16);
    p.restore();
}

} // namespace kestrova::sampledisc
