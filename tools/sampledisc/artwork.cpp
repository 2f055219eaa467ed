#include "artwork.h"

#include "paint_kit.h"
#include "scenes.h"

#include "catalogue/disc_layout.h"
#include "engine/main_state.h"

#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <stdexcept>
#include <string>

namespace kestrova::sampledisc {

using namespace layout;
using theme::kFrame;
using theme::kInk;
using theme::kKey;
using theme::kNavy;
using theme::kOrange;
using theme::kPurple;
using theme::kYellow;

namespace {

QImage Blank(int w, int h, const QColor& fill = kInk) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(fill);
    return img;
}

QString Q(const std::string& s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

QColor FromRgb(unsigned rgb) {
    return QColor::fromRgb(static_cast<QRgb>(rgb) | 0xFF000000u);
}

void SmallCaps(QPainter& p, const QRectF& r, const QString& text, const QColor& colour, int px,
               Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter, int weight = QFont::Bold) {
    QFont f = TextFont(px, weight);
    f.setLetterSpacing(QFont::AbsoluteSpacing, px * 0.12);
    p.setFont(f);
    p.setPen(QColor(0, 0, 0, 160));
    p.drawText(r.translated(1, 1), static_cast<int>(align), text);
    p.setPen(colour);
    p.drawText(r, static_cast<int>(align), text);
}

// The metal body shared by the start, demo and database panels: rounded outline keyed to the
// panel's transparent colour, side columns for the action buttons, an art strip at the top and a
// sunken box for the entry's support line and requirements. The front end writes that text onto
// the screen before it draws the panel, so the box is a window keyed to the same colour: the text
// shows through it over the calm middle of the background picture.
// The body ends short of the panel picture's right edge, where the window's client area ends.
constexpr qreal kPanelBodyW = kClientW;

struct PanelParts {
    QRectF art{104, 8, 606, 116};
    QRectF text{104, 128, 606, 104};
    QRectF window{104, 128, 606, 104};
    QRectF left{6, 6, 94, 228};
    QRectF right{714, 6, 76, 228};
};

QImage PanelBody(const QColor& accent, PanelParts& parts) {
    QImage img = Blank(kPanelW, kPanelH);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(img.rect(), Vertical(0, kPanelH, Mix(kPurple, accent, 0.25), kNavy));
    // Fine brushed lines on the metal.
    for (int y = 0; y < kPanelH; y += 3) {
        p.setPen(QColor(255, 255, 255, 10));
        p.drawLine(0, y, kPanelW, y);
    }
    Bevel(p, parts.left, Mix(kPurple, accent, 0.15), 3, true, 10);
    Bevel(p, parts.right, Mix(kPurple, accent, 0.15), 3, true, 10);
    // Art strip frame.
    Bevel(p, parts.art.adjusted(-4, -4, 4, 4), kFrame, 3, true, 6);
    // Text box: deep and quiet so white and orange text read well.
    Bevel(p, parts.text.adjusted(-3, -2, 3, 3), kNavy, 3, false, 6);
    // Outer rim highlight.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 70), 2));
    p.drawRoundedRect(QRectF(1, 1, kPanelBodyW - 2, kPanelH - 2), 16, 16);
    p.setPen(QPen(kOrange, 2));
    p.drawLine(QPointF(104, kPanelH - 4), QPointF(710, kPanelH - 4));
    p.end();
    return img;
}

void FinishPanel(QImage& img, const PanelParts& parts) {
    QPainterPath outline;
    outline.addRoundedRect(QRectF(0, 0, kPanelBodyW, kPanelH), 16, 16);
    QPainterPath window;
    window.addRect(parts.window);
    KeyOutside(img, outline.subtracted(window));
}

void ArtBackdrop(QPainter& p, const QRectF& r, const QColor& accent, uint32_t seed) {
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, accent.darker(300));
    g.setColorAt(0.55, Mix(accent.darker(200), kPurple, 0.5));
    g.setColorAt(1, kInk);
    p.fillRect(r, g);
    p.save();
    p.setClipRect(r);
    Stars(p, r, 60, seed, 1.8);
    // Diagonal speed streaks.
    p.setPen(QPen(QColor(255, 255, 255, 22), 10));
    for (int i = 0; i < 6; ++i) {
        const qreal x = r.left() + 40 + i * 70;
        p.drawLine(QPointF(x, r.bottom()), QPointF(x + 90, r.top()));
    }
    Glow(p, QPointF(r.left() + 120, r.top() + 40), 140,
         QColor(accent.red(), accent.green(), accent.blue(), 70));
    p.restore();
}

void SceneWindow(QPainter& p, const QRectF& r, Scene scene) {
    Bevel(p, r.adjusted(-3, -3, 3, 3), kInk, 2, false, 4);
    PaintScene(p, scene, r);
    p.save();
    p.setClipRect(r);
    ScanLines(p, r, 14);
    p.setPen(QPen(QColor(255, 255, 255, 60), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
    p.restore();
}

void NumberBadge(QPainter& p, const QRectF& column, const QString& small, const QString& big) {
    SmallCaps(p, QRectF(column.left(), column.top() + 30, column.width(), 16), small, kYellow, 11,
              Qt::AlignHCenter | Qt::AlignVCenter);
    LetteringCentred(p, big, TitleFont(46),
                     QRectF(column.left(), column.top() + 44, column.width(), 60),
                     QColor(255, 240, 150), kOrange, kInk, 3, {3, 3});
}

} // namespace

const std::vector<TopZone>& TopZones() {
    // The front end's own top buttons, the top row first, and the section each one opens.
    static const std::vector<TopZone> zones = [] {
        std::vector<TopZone> all;
        for (const kestrova::TopButton& b : kestrova::TopButtons()) {
            const kestrova::Section* section = kestrova::SectionForButton(b.name);
            if (section == nullptr) {
                throw std::logic_error(std::string("no section for the button ") + b.name);
            }
            const int left = kestrova::kButtonPanelLeft + b.bounds.left;
            const int top = kestrova::kButtonPanelTop + b.bounds.top;
            all.push_back(
                {b.caption, section->key, left, left + b.bounds.width, top, top + b.bounds.height});
        }
        return all;
    }();
    return zones;
}

QImage MainBackground() {
    QImage img = Blank(kScreenW, kScreenH);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, kScreenH);
    sky.setColorAt(0, QColor(6, 6, 26));
    sky.setColorAt(0.45, QColor(28, 16, 70));
    sky.setColorAt(0.8, QColor(60, 20, 96));
    sky.setColorAt(1, QColor(14, 8, 36));
    p.fillRect(img.rect(), sky);
    Glow(p, {180, 260}, 260, QColor(110, 30, 170, 90));
    Glow(p, {640, 200}, 220, QColor(30, 70, 190, 80));
    Stars(p, QRectF(0, 0, kScreenW, 420), 220, 1999, 2.6);
    // The middle shows through the panels' text windows and behind the panels while they slide:
    // dark and quiet there, so the white and orange words written on it read well.
    const QRectF middle(0, 137, 800, 209);
    QLinearGradient calm(0, middle.top(), 0, middle.bottom());
    calm.setColorAt(0, QColor(10, 12, 44, 235));
    calm.setColorAt(1, QColor(18, 16, 62, 235));
    p.fillRect(middle, calm);
    p.setPen(QColor(255, 255, 255, 12));
    for (qreal y = middle.top() + 1; y < middle.bottom(); y += 4) {
        p.drawLine(QPointF(0, y), QPointF(800, y));
    }
    p.save();
    p.setOpacity(0.045);
    LetteringCentred(p, QStringLiteral("KESTROVA"), TitleFont(120), QRectF(0, 170, 800, 150),
                     Qt::white, QColor(200, 200, 255), Qt::transparent, 0, {0, 0});
    p.restore();
    // A glowing perspective floor under the thumbnail strip; where the caption panel drops
    // (y 428 to 498) it stays dim so the caption can be read.
    const qreal horizon = 420;
    p.fillRect(QRectF(0, horizon, 800, 80),
               Vertical(horizon, horizon + 80, QColor(30, 10, 56), QColor(12, 6, 30)));
    p.setPen(QPen(QColor(255, 90, 200, 55), 1.2));
    for (int i = -14; i <= 14; ++i) {
        p.drawLine(QPointF(400 + i * 12, horizon), QPointF(400 + i * 80, horizon + 80));
    }
    for (int i = 0; i < 7; ++i) {
        const qreal y = horizon + std::pow(i / 7.0, 1.8) * 80;
        p.drawLine(QPointF(0, y), QPointF(800, y));
    }
    // The banner tray with three sunken slots.
    const QRectF tray(0, 496, 800, 104);
    p.fillRect(tray, Vertical(tray.top(), tray.bottom(), QColor(70, 30, 120), QColor(20, 10, 44)));
    p.setPen(QPen(kOrange, 2));
    p.drawLine(QPointF(0, 497), QPointF(800, 497));
    p.setPen(QPen(QColor(255, 255, 255, 60), 1));
    p.drawLine(QPointF(0, 499), QPointF(800, 499));
    for (QRectF slot : {QRectF(10, kBannerY, 143, kBannerH), QRectF(163, kBannerY, 468, kBannerH),
                        QRectF(640, kBannerY, 143, kBannerH)}) {
        Bevel(p, slot.adjusted(-4, -4, 4, 4), QColor(40, 20, 70), 3, false, 3);
        p.fillRect(slot, kInk);
    }
    // The footer stands on the floor, above the banner tray (below the tray the window ends), and
    // wholly where the web pane covers it (down to y 490) rather than half.
    SmallCaps(p, QRectF(160, 468, kClientW - 170, 12),
              QStringLiteral("KESTROVA CD-ROM  \u00B7  ISSUE 27  \u00B7  JUNE 1999"),
              QColor(200, 180, 255), 8, Qt::AlignHCenter | Qt::AlignVCenter);
    p.end();
    return img;
}

QImage TopPanel(const QString& highlight) {
    QImage img = Blank(kScreenW, kTopH);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, kTopH);
    g.setColorAt(0, QColor(24, 12, 60));
    g.setColorAt(0.6, QColor(52, 20, 100));
    g.setColorAt(1, QColor(16, 10, 44));
    p.fillRect(img.rect(), g);
    Stars(p, QRectF(0, 0, 800, 96), 90, 137, 2.0);
    Glow(p, {150, 40}, 180, QColor(255, 120, 30, 60));
    p.setPen(QPen(QColor(255, 255, 255, 18), 14));
    for (int i = 0; i < 9; ++i) {
        p.drawLine(QPointF(i * 90 - 40, 100), QPointF(i * 90 + 40, 0));
    }
    // The masthead.
    Lettering(p, QStringLiteral("KESTROVA"), TitleFont(58), QPointF(16, 70), QColor(255, 246, 170),
              kOrange, kInk, 4, {4, 4});
    SmallCaps(p, QRectF(22, 78, 300, 16), QStringLiteral("THE GAMES MAGAZINE CD-ROM"),
              QColor(200, 190, 255), 11);
    // The seven buttons.
    p.fillRect(QRectF(322, 12, 478, 80), QColor(10, 8, 30, 200));
    const bool blank = highlight == QStringLiteral("blank");
    for (const TopZone& z : TopZones()) {
        // Buttons whose zones run past the window's edge are drawn short of it.
        const QRectF r(z.left + 2, z.top + 2, std::min(z.right, kClientW - 3) - z.left - 3,
                       z.bottom - z.top - 3);
        const bool lit = highlight == QLatin1String(z.key);
        if (lit) {
            Glow(p, r.center(), r.width() * 0.7, QColor(255, 180, 40, 120));
        }
        Bevel(p, r, lit ? QColor(255, 150, 30) : QColor(70, 40, 140), 2, true, 5);
        if (!blank) {
            const QFont f = TitleFont(19, false);
            if (lit) {
                LetteringCentred(p, QString::fromLatin1(z.caption), f, r, Qt::white,
                                 QColor(255, 250, 200), kInk, 2.5, {2, 2});
            } else {
                LetteringCentred(p, QString::fromLatin1(z.caption), f, r, QColor(255, 236, 160),
                                 kOrange, kInk, 2, {2, 2});
            }
        }
    }
    if (blank) {
        LetteringCentred(p, QStringLiteral("DISC TWO"), TitleFont(36), QRectF(322, 12, 478, 80),
                         QColor(255, 246, 170), kOrange, kInk, 3, {3, 3});
    }
    // The strap under the buttons.
    const QRectF strap(0, 98, 800, 30);
    p.fillRect(strap, Vertical(strap.top(), strap.bottom(), QColor(12, 8, 34), QColor(30, 14, 66)));
    p.setPen(QPen(kOrange, 2));
    p.drawLine(QPointF(0, 97), QPointF(800, 97));
    SmallCaps(p, strap.adjusted(16, 0, -16, 0),
              QStringLiteral("ISSUE 27  \u00B7  JUNE 1999  \u00B7  10 DEMOS  \u00B7  PATCHES  "
                             "\u00B7  ADD-ONS  \u00B7  TOBRIK'S ADVENTURE"),
              kYellow, 12, Qt::AlignLeft | Qt::AlignVCenter);
    p.fillRect(QRectF(0, 128, 800, 9), Vertical(128, 137, QColor(30, 14, 66), QColor(8, 6, 24)));
    p.end();
    return img;
}

QImage StartPanel() {
    PanelParts parts;
    QImage img = PanelBody(kOrange, parts);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    ArtBackdrop(p, parts.art, QColor(120, 40, 220), 27);
    p.save();
    p.setClipRect(parts.art);
    Glow(p, {640, 60}, 90, QColor(255, 200, 80, 120));
    p.restore();
    Lettering(p, QStringLiteral("WELCOME ABOARD!"), TitleFont(40),
              QPointF(parts.art.left() + 14, 78), QColor(255, 250, 190), kOrange, kInk, 3.5,
              {3, 3});
    SmallCaps(p, QRectF(parts.art.left() + 18, 86, 460, 18),
              QStringLiteral("THE KESTROVA CD-ROM  \u00B7  ISSUE 27  \u00B7  JUNE 1999"),
              QColor(220, 210, 255), 13);
    PaintTobrik(p, QRectF(parts.art.right() - 120, 18, 90, 108));
    // Issue number in the side columns.
    NumberBadge(p, parts.left, QStringLiteral("ISSUE"), QStringLiteral("27"));
    SmallCaps(p, QRectF(parts.left.left(), 150, parts.left.width(), 60),
              QStringLiteral("JUNE\n1999"), QColor(230, 220, 255), 13,
              Qt::AlignHCenter | Qt::AlignVCenter);
    NumberBadge(p, parts.right, QStringLiteral("DEMOS"), QStringLiteral("10"));
    SmallCaps(p, QRectF(parts.right.left(), 150, parts.right.width(), 60),
              QStringLiteral("PLUS\nADD-ONS"), QColor(230, 220, 255), 11,
              Qt::AlignHCenter | Qt::AlignVCenter);
    // The feature text starts lower than a demo's support line, so the start panel's window
    // begins under a heading of its own.
    parts.window = QRectF(104, 156, 606, 76);
    p.fillRect(
        QRectF(parts.text.left(), parts.text.top(), parts.text.width(), 28),
        Vertical(parts.text.top(), parts.text.top() + 28, QColor(40, 20, 90), QColor(20, 14, 56)));
    p.fillRect(QRectF(parts.text.left(), parts.text.top() + 26, parts.text.width(), 2), kOrange);
    SmallCaps(p, QRectF(parts.text.left() + 6, parts.text.top() + 4, 400, 20),
              QStringLiteral("ON THIS MONTH'S DISC"), kYellow, 13);
    p.end();
    FinishPanel(img, parts);
    return img;
}

QImage DemoPanel(const Demo& demo, int number) {
    PanelParts parts;
    const QColor accent = FromRgb(demo.themeRgb);
    QImage img = PanelBody(accent, parts);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    ArtBackdrop(p, parts.art, accent, static_cast<uint32_t>(number) * 31u);
    const QRectF scene(parts.art.right() - 232, parts.art.top() + 8, 224, 100);
    SceneWindow(p, scene, demo.scene);
    // Title lettering, shrunk to fit beside the scene window.
    const QString title = Q(demo.title);
    int size = 40;
    while (size > 20 && TextWidth(title, TitleFont(size)) > scene.left() - parts.art.left() - 30) {
        --size;
    }
    Lettering(p, title, TitleFont(size), QPointF(parts.art.left() + 14, 74), QColor(255, 250, 200),
              Mix(kOrange, accent, 0.25), kInk, 3.5, {3, 3});
    SmallCaps(p, QRectF(parts.art.left() + 16, 84, 340, 16), Q(demo.maker).toUpper(),
              QColor(230, 220, 255), 12);
    // Genre pill.
    const QString genre = Q(demo.genre).toUpper();
    QFont pillFont = TextFont(10);
    pillFont.setLetterSpacing(QFont::AbsoluteSpacing, 10 * 0.12);
    const qreal pillW = TextWidth(genre, pillFont) + 16;
    Bevel(p, QRectF(parts.art.left() + 16, 104, pillW, 16), kOrange, 1, true, 8);
    SmallCaps(p, QRectF(parts.art.left() + 16, 104, pillW, 16), genre, kInk, 10, Qt::AlignCenter);
    char num[8];
    std::snprintf(num, sizeof num, "%02d", number);
    NumberBadge(p, parts.left, QStringLiteral("DEMO"), QString::fromLatin1(num));
    SmallCaps(p, QRectF(parts.right.left(), 112, parts.right.width(), 30), QStringLiteral("README"),
              QColor(200, 190, 255), 10, Qt::AlignCenter);
    p.end();
    FinishPanel(img, parts);
    return img;
}

QImage NextMonthPanel() {
    PanelParts parts;
    QImage img = PanelBody(QColor(60, 160, 230), parts);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    ArtBackdrop(p, parts.art, QColor(60, 160, 230), 28);
    SceneWindow(p, QRectF(parts.art.right() - 232, parts.art.top() + 8, 224, 100), Scene::Mountain);
    Lettering(p, QStringLiteral("NEXT MONTH"), TitleFont(40), QPointF(parts.art.left() + 14, 74),
              QColor(230, 250, 255), QColor(80, 170, 255), kInk, 3.5, {3, 3});
    SmallCaps(p, QRectF(parts.art.left() + 16, 84, 340, 16),
              QStringLiteral("ISSUE 28 \u00B7 ON SALE 15 JULY"), QColor(230, 220, 255), 12);
    NumberBadge(p, parts.left, QStringLiteral("ISSUE"), QStringLiteral("28"));
    p.end();
    FinishPanel(img, parts);
    return img;
}

QImage DatabasePanel(int which) {
    static const char* titles[] = {"REVIEWS", "CHEATS", "BACK ISSUES", "READERS' CHARTS"};
    static const char* straps[] = {"Three years of verdicts, searchable",
                                   "Codes, passwords and level skips",
                                   "Every cover and contents page", "The games you voted for"};
    PanelParts parts;
    const QColor accent = QColor::fromHsv(260 + which * 25, 170, 220);
    QImage img = PanelBody(accent, parts);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    ArtBackdrop(p, parts.art, accent, 40u + static_cast<uint32_t>(which));
    // A stack of magazine spines as the database's emblem.
    for (int i = 0; i < 7; ++i) {
        const QRectF spine(parts.art.right() - 200 + i * 24, parts.art.top() + 14 + (i % 2) * 6, 20,
                           92 - (i % 2) * 6);
        Bevel(p, spine, QColor::fromHsv((i * 47 + which * 30) % 360, 190, 230), 2, true, 2);
        p.save();
        p.translate(spine.center());
        p.rotate(-90);
        SmallCaps(p, QRectF(-44, -8, 88, 16), QStringLiteral("KESTROVA"), kInk, 9, Qt::AlignCenter);
        p.restore();
    }
    SmallCaps(p, QRectF(parts.art.left() + 16, 20, 300, 16),
              QStringLiteral("THE KESTROVA DATABASE"), kYellow, 12);
    Lettering(p, QString::fromLatin1(titles[which]), TitleFont(38),
              QPointF(parts.art.left() + 14, 78), QColor(255, 250, 200), kOrange, kInk, 3.5,
              {3, 3});
    SmallCaps(p, QRectF(parts.art.left() + 16, 88, 340, 16), QString::fromLatin1(straps[which]),
              QColor(230, 220, 255), 12);
    NumberBadge(p, parts.left, QStringLiteral("DATA"), QString::number(which + 1));
    p.end();
    FinishPanel(img, parts);
    return img;
}

QImage Thumbnail(const Demo& demo) {
    QImage img = Blank(kThumbW, kThumbH);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    PaintScene(p, demo.scene, QRectF(0, 0, kThumbW, kThumbH));
    p.fillRect(QRectF(0, 33, kThumbW, 12), QColor(8, 10, 34, 190));
    SmallCaps(p, QRectF(3, 33, kThumbW - 4, 12), Q(demo.tag), kYellow, 9);
    p.setPen(QColor(255, 255, 255, 90));
    p.drawLine(QPointF(1, 1), QPointF(kThumbW - 2, 1));
    p.end();
    return img;
}

QImage SpareThumbnail(const QString& word) {
    QImage img = Blank(kThumbW, kThumbH);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(img.rect(), Vertical(0, kThumbH, kPurple, kInk));
    Stars(p, QRectF(img.rect()), 20, 5, 1.5);
    LetteringCentred(p, word, TitleFont(15), QRectF(img.rect()), QColor(255, 246, 170), kOrange,
                     kInk, 2, {1.5, 1.5});
    p.end();
    return img;
}

QImage DemLabel() {
    QImage img = Blank(kDemW, kDemH);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.moveTo(0, 0);
    shape.lineTo(132, 0);
    shape.lineTo(kDemW, kDemH / 2.0);
    shape.lineTo(132, kDemH);
    shape.lineTo(0, kDemH);
    shape.closeSubpath();
    p.fillPath(shape, Vertical(0, kDemH, QColor(90, 40, 170), QColor(24, 12, 60)));
    p.setPen(QPen(QColor(255, 255, 255, 50), 1));
    p.drawLine(QPointF(0, 5), QPointF(130, 5));
    LetteringCentred(p, QStringLiteral("DEMOS"), TitleFont(26), QRectF(4, 6, 124, 32),
                     QColor(255, 246, 170), kOrange, kInk, 2.5, {2, 2});
    SmallCaps(p, QRectF(8, 36, 124, 12), QStringLiteral("\u25C0  SCROLL  \u25B6"),
              QColor(200, 190, 255), 8, Qt::AlignHCenter | Qt::AlignVCenter);
    // The top edge carries the frame colour the front end reads at (10, 0).
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRectF(0, 0, 132, 3), kFrame);
    p.end();
    KeyOutside(img, shape);
    return img;
}

// The caption's words are written before the panel is drawn, so the panel is a frame: a bevelled
// rim and a rule between the title and the description, keyed everywhere else.
QImage CaptionPanel() {
    QImage img = Blank(kInfoW, kInfoH);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath outline;
    outline.addRoundedRect(QRectF(0, 0, kInfoW, kInfoH), 9, 9);
    p.fillPath(outline, Vertical(0, kInfoH, QColor(150, 80, 255), kFrame.darker(160)));
    p.setPen(QPen(QColor(255, 255, 255, 110), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(0.5, 0.5, kInfoW - 1, kInfoH - 1), 9, 9);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRectF(4, 22, kInfoW - 8, 2), kOrange);
    p.end();
    QPainterPath window;
    window.addRoundedRect(QRectF(4, 4, kInfoW - 8, kInfoH - 8), 5, 5);
    QPainterPath rule;
    rule.addRect(QRectF(4, 22, kInfoW - 8, 2));
    KeyOutside(img, outline.subtracted(window.subtracted(rule)));
    img.setPixel(3, 0, kKey.rgb());
    return img;
}

QImage StripHolder() {
    QImage img = Blank(kScreenW, kBotH);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRectF(0, 0, 800, 32), Vertical(0, 32, QColor(80, 36, 150), QColor(30, 14, 70)));
    p.setPen(QPen(QColor(255, 255, 255, 80), 1));
    p.drawLine(QPointF(0, 0.5), QPointF(800, 0.5));
    SmallCaps(p, QRectF(160, 6, 624, 20),
              QStringLiteral("POINT LEFT OR RIGHT TO SCROLL  \u00B7  CLICK A GAME FOR ITS PANEL"),
              QColor(220, 210, 255), 10, Qt::AlignRight | Qt::AlignVCenter);
    p.fillRect(QRectF(0, 29, 800, 3), kOrange);
    // The channel the thumbnails ride in.
    p.fillRect(QRectF(0, 32, 800, 48), Vertical(32, 80, QColor(6, 6, 20), QColor(20, 14, 50)));
    p.setPen(QColor(255, 255, 255, 12));
    for (int y = 36; y < 80; y += 4) {
        p.drawLine(0, y, 800, y);
    }
    p.fillRect(QRectF(0, 80, 800, 2), QColor(120, 70, 200));
    p.end();
    return img;
}

QImage ActionButton(Action action, bool highlighted) {
    static const char* top[] = {"INSTALL", "VIEW", "PRINT"};
    static const char* bottom[] = {"NOW", "README", "README"};
    const int i = static_cast<int>(action);
    QImage img = Blank(kButtonW, kButtonH);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(0, 0, kButtonDrawnW, kButtonH);
    if (highlighted) {
        Bevel(p, r, QColor(255, 150, 30), 3, true, 8);
        Glow(p, r.center(), 30, QColor(255, 255, 180, 120));
    } else {
        Bevel(p, r, QColor(74, 40, 150), 3, true, 8);
    }
    const QColor text = highlighted ? kInk : QColor(255, 236, 160);
    const QColor shadow = highlighted ? QColor(255, 240, 200) : kInk;
    QFont f = TextFont(action == Action::Install ? 12 : 13, QFont::Black);
    f.setStretch(action == Action::Install ? 76 : 82);
    p.setFont(f);
    for (int pass = 0; pass < 2; ++pass) {
        p.setPen(pass == 0 ? shadow : text);
        const QPointF o = pass == 0 ? QPointF(1, 1) : QPointF(0, 0);
        p.drawText(QRectF(0, 5, kButtonDrawnW, 16).translated(o), Qt::AlignCenter,
                   QString::fromLatin1(top[i]));
    }
    QFont g = TextFont(9, QFont::Bold);
    g.setLetterSpacing(QFont::AbsoluteSpacing, 1);
    p.setFont(g);
    p.setPen(highlighted ? kInk : QColor(200, 190, 255));
    p.drawText(QRectF(0, 21, kButtonDrawnW, 13), Qt::AlignCenter, QString::fromLatin1(bottom[i]));
    p.end();
    QPainterPath shape;
    shape.addRoundedRect(r, 8, 8);
    KeyOutside(img, shape);
    return img;
}

QImage PageScreenshot(const Demo& demo) {
    QImage img = Blank(320, 160);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    PaintScene(p, demo.scene, QRectF(0, 0, 320, 160));
    ScanLines(p, QRectF(0, 0, 320, 160), 16);
    p.fillRect(QRectF(0, 138, 320, 22), QColor(8, 10, 34, 200));
    SmallCaps(p, QRectF(8, 138, 304, 22), Q(demo.title).toUpper(), kYellow, 11);
    p.setPen(QPen(kFrame, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(1, 1, 318, 158));
    p.end();
    return img;
}

QImage PageMasthead() {
    QImage img = Blank(400, 80, QColor(10, 12, 42));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(img.rect(), Vertical(0, 80, QColor(24, 12, 60), QColor(10, 12, 42)));
    Stars(p, QRectF(0, 0, 400, 80), 40, 77, 1.8);
    LetteringCentred(p, QStringLiteral("KESTROVA"), TitleFont(56), QRectF(0, 0, 400, 66),
                     QColor(255, 246, 170), kOrange, kInk, 3.5, {3, 3});
    SmallCaps(p, QRectF(0, 62, 400, 16), QStringLiteral("THE GAMES MAGAZINE CD-ROM"),
              QColor(200, 190, 255), 10, Qt::AlignHCenter | Qt::AlignVCenter);
    p.end();
    return img;
}

QImage PagePortrait() {
    QImage img = Blank(120, 140, QColor(10, 12, 42));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    Glow(p, {60, 80}, 70, QColor(124, 40, 210, 150));
    PaintTobrik(p, QRectF(10, 10, 100, 120));
    p.end();
    return img;
}

namespace {

QImage BannerBase(int w, int h, const QColor& a, const QColor& b) {
    QImage img = Blank(w, h);
    QPainter p(&img);
    QLinearGradient g(0, 0, w, h);
    g.setColorAt(0, a);
    g.setColorAt(1, b);
    p.fillRect(img.rect(), g);
    p.setPen(QPen(kOrange, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(1, 1, w - 2, h - 2));
    p.end();
    return img;
}

} // namespace

std::vector<GifFrame> BannerFrames(const BannerTarget& banner) {
    std::vector<GifFrame> frames;
    const QString head = Q(banner.headline);
    const QString strap = Q(banner.strap);
    const int w = 468, h = kBannerH;
    const int count = 8;
    Scene scene = Scene::Spaceship;
    QColor a(40, 14, 90), b(10, 10, 40);
    if (banner.number == 2) {
        scene = Scene::RallyCar;
        a = QColor(120, 40, 10);
        b = QColor(30, 10, 4);
    } else if (banner.number == 5) {
        a = QColor(90, 30, 150);
        b = QColor(20, 10, 50);
    }
    for (int f = 0; f < count; ++f) {
        QImage img = BannerBase(w, h, a, b);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        const qreal t = static_cast<qreal>(f) / count;
        if (banner.number == 1) {
            // Subscription offer: sweeping shine and a flashing price burst.
            Stars(p, QRectF(0, 0, w, h), 30, 3 + static_cast<uint32_t>(f), 1.6);
            LetteringCentred(p, head, TitleFont(26), QRectF(10, 2, 330, 34), QColor(255, 250, 200),
                             kOrange, kInk, 2.5, {2, 2});
            SmallCaps(p, QRectF(14, 36, 330, 18), strap, f % 2 ? kYellow : Qt::white, 11,
                      Qt::AlignHCenter | Qt::AlignVCenter);
            const QPointF c(404, 30);
            const qreal spin = f * 9.0;
            QPainterPath burst;
            for (int k = 0; k < 24; ++k) {
                const qreal ang = (spin + k * 15.0) * 3.14159265 / 180.0;
                const qreal rad = k % 2 ? 22 : 30;
                const QPointF pt = c + QPointF(std::cos(ang) * rad, std::sin(ang) * rad);
                k == 0 ? burst.moveTo(pt) : burst.lineTo(pt);
            }
            burst.closeSubpath();
            p.fillPath(burst, f % 2 ? kYellow : kOrange);
            p.setPen(QPen(kInk, 1.5));
            p.drawPath(burst);
            p.setFont(TextFont(13, QFont::Black));
            p.setPen(kInk);
            p.drawText(QRectF(c.x() - 24, c.y() - 10, 48, 20), Qt::AlignCenter,
                       QStringLiteral("SAVE!"));
            p.setPen(QPen(QColor(255, 255, 255, 60), 18));
            const qreal sx = -60 + t * 560;
            p.drawLine(QPointF(sx, h + 4), QPointF(sx + 40, -4));
        } else if (banner.number == 5) {
            Stars(p, QRectF(0, 0, w, h), 30, 9, 1.6);
            PaintTobrik(p, QRectF(14, 6 - std::abs(std::sin(t * 6.2832)) * 4, 40, 48), f % 2 == 0);
            LetteringCentred(p, head, TitleFont(24), QRectF(60, 2, 400, 34), QColor(255, 250, 200),
                             kOrange, kInk, 2.5, {2, 2});
            SmallCaps(p, QRectF(60, 36, 400, 18), strap, kYellow, 11,
                      Qt::AlignHCenter | Qt::AlignVCenter);
        } else {
            // Scene banners: the game's art slides past behind the title.
            const qreal top = scene == Scene::RallyCar ? -54 : -30;
            PaintScene(p, scene, QRectF(-70 + t * 30, top, 240, 120));
            p.fillRect(QRectF(180, 0, w - 180, h), QColor(8, 8, 30, 200));
            LetteringCentred(p, head, TitleFont(24), QRectF(186, 2, 276, 34), QColor(255, 250, 200),
                             kOrange, kInk, 2.5, {2, 2});
            SmallCaps(p, QRectF(186, 36, 276, 18), strap, f < count / 2 ? kYellow : Qt::white, 11,
                      Qt::AlignHCenter | Qt::AlignVCenter);
        }
        p.setPen(QPen(kOrange, 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(1, 1, w - 2, h - 2));
        p.end();
        frames.push_back({img, f == 0 ? 120 : 12});
    }
    return frames;
}

std::vector<GifFrame> FreeIssueFrames() {
    std::vector<GifFrame> frames;
    const int w = 143, h = kBannerH;
    for (int f = 0; f < 4; ++f) {
        QImage img = BannerBase(w, h, f % 2 ? QColor(200, 40, 20) : QColor(120, 20, 140), kInk);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        LetteringCentred(p, QStringLiteral("FREE"), TitleFont(24), QRectF(0, 2, w, 28),
                         f % 2 ? Qt::white : QColor(255, 250, 200), f % 2 ? kYellow : kOrange, kInk,
                         2.5, {2, 2});
        SmallCaps(p, QRectF(0, 30, w, 14), QStringLiteral("ISSUE FOR YOU"), Qt::white, 10,
                  Qt::AlignHCenter | Qt::AlignVCenter);
        SmallCaps(p, QRectF(0, 44, w, 12), QStringLiteral("click to subscribe"),
                  f == 3 ? kYellow : QColor(220, 210, 255), 9, Qt::AlignHCenter | Qt::AlignVCenter);
        p.end();
        frames.push_back({img, f == 0 ? 100 : 35});
    }
    return frames;
}

} // namespace kestrova::sampledisc
