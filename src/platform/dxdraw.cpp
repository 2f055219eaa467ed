#include "platform/dxdraw.h"

#include "base/fresh_memory.h"
#include "pictures/picture_collection.h"
#include "platform/bundled_fonts.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QStaticText>

#include <algorithm>
#include <cstring>
#include <optional>

namespace kestrova {

namespace {

QColor ToQColor(TColor c) {
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

} // namespace

QFont FontFor(const FontSpec& wanted) {
    const BundledFontFamilies& families = BundledFonts();
    QFont f(wanted.face == FontFace::Small ? families.small : families.sans);
    f.setPixelSize(std::max(1, wanted.pixelHeight));
    f.setBold(wanted.bold);
    f.setItalic(wanted.italic);
    // Whole-pixel hinting without smoothing keeps small text crisp, as bitmap faces are.
    f.setHintingPreference(QFont::PreferFullHinting);
    f.setStyleStrategy(QFont::NoAntialias);
    return f;
}

ImageCanvas::ImageCanvas(QImage* target) : target_(target) {}

ImageCanvas::~ImageCanvas() {
    Release();
}

QPainter& ImageCanvas::Painter() {
    if (!painter_) {
        painter_ = std::make_unique<QPainter>(target_);
        if (!clip_.isNull()) {
            painter_->setClipRect(clip_);
        }
    }
    return *painter_;
}

QRect ImageCanvas::Area() const {
    return clip_.isNull() ? target_->rect() : clip_;
}

void ImageCanvas::SetClip(int left, int top, int right, int bottom) {
    Release();
    const QRect wanted(QPoint(left, top), QPoint(right - 1, bottom - 1));
    clip_ = wanted.intersected(target_->rect());
    if (clip_.isNull()) {
        clip_ = QRect(0, 0, 0, 0); // nothing to draw, yet not the whole canvas
    }
}

void ImageCanvas::Release() {
    if (painter_) {
        painter_->end();
        painter_.reset();
    }
}

const ImageCanvas::Spans& ImageCanvas::SpansOf(const PictureCollectionItem& item) {
    Spans& spans = spans_[&item];
    if (spans.version == item.SurfaceVersion() && spans.data == item.Surface().data() &&
        spans.width == item.SurfaceWidth() && spans.transparent == item.Transparent &&
        spans.rowStart.size() == static_cast<std::size_t>(item.SurfaceHeight()) + 1) {
        return spans;
    }
    spans.version = item.SurfaceVersion();
    spans.data = item.Surface().data();
    spans.width = item.SurfaceWidth();
    spans.transparent = item.Transparent;
    spans.runs.clear();
    spans.rowStart.assign(static_cast<std::size_t>(item.SurfaceHeight()) + 1, 0);
    const std::vector<uint32_t>& px = item.Surface();
    const int w = item.SurfaceWidth();
    const std::optional<uint32_t> key = item.KeyedRgb();
    spans.runs.reserve(static_cast<std::size_t>(item.SurfaceHeight()));
    for (int y = 0; y < item.SurfaceHeight(); ++y) {
        spans.rowStart[static_cast<std::size_t>(y)] = static_cast<uint32_t>(spans.runs.size());
        const uint32_t* row = px.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(w);
        if (!key) {
            spans.runs.push_back({0, static_cast<uint16_t>(w)}); // nothing is left out
            continue;
        }
        // Keyed pixels are left out and all others are opaque, so a run copies as is.
        const uint32_t k = *key;
        int x = 0;
        while (x < w) {
            while (x < w && (row[x] & 0xFFFFFFu) == k) {
                ++x;
            }
            const int start = x;
            while (x < w && (row[x] & 0xFFFFFFu) != k) {
                ++x;
            }
            if (x > start) {
                spans.runs.push_back({static_cast<uint16_t>(start), static_cast<uint16_t>(x)});
            }
        }
    }
    spans.rowStart.back() = static_cast<uint32_t>(spans.runs.size());
    return spans;
}

void ImageCanvas::DrawItem(const PictureCollectionItem& item, int x, int y, int pattern) {
    if (!item.IsBuilt() || item.SurfaceWidth() <= 0 || item.SurfaceHeight() <= 0 ||
        item.SurfaceWidth() > 65535) {
        return;
    }
    const PatternRect r = item.Pattern(pattern);
    if (r.w <= 0 || r.h <= 0) {
        return;
    }
    // Blits go straight into the buffer with the canvas released, one copy per opaque run.
    Release();
    const Spans& spans = SpansOf(item);
    const QRect area = Area();
    const int dl = area.left();
    const int dr = area.left() + area.width();
    const int dt = area.top();
    const int db = area.top() + area.height();
    const uint32_t* src = item.Surface().data();
    const int sw = item.SurfaceWidth();
    // The buffer's rows, found once: asking the image for each row checks it is not shared
    // every time.
    uchar* const bits = target_->bits();
    const qsizetype stride = target_->bytesPerLine();
    for (int row = 0; row < r.h; ++row) {
        const int dy = y + row;
        const int sy = r.y + row;
        if (dy < dt || dy >= db || sy < 0 || sy >= item.SurfaceHeight()) {
            continue;
        }
        auto* dest = reinterpret_cast<uint32_t*>(bits + static_cast<qsizetype>(dy) * stride);
        const uint32_t* srow = src + static_cast<std::size_t>(sy) * static_cast<std::size_t>(sw);
        const std::size_t sr = static_cast<std::size_t>(sy);
        for (uint32_t k = spans.rowStart[sr]; k < spans.rowStart[sr + 1]; ++k) {
            // The run, limited to the pattern's columns and to the area drawn.
            int sx0 = std::max<int>(spans.runs[k].begin, r.x);
            int sx1 = std::min<int>(spans.runs[k].end, r.x + r.w);
            int dx0 = x + (sx0 - r.x);
            if (dx0 < dl) {
                sx0 += dl - dx0;
                dx0 = dl;
            }
            if (dx0 + (sx1 - sx0) > dr) {
                sx1 = sx0 + (dr - dx0);
            }
            if (sx1 > sx0) {
                std::memcpy(dest + dx0, srow + sx0,
                            static_cast<std::size_t>(sx1 - sx0) * sizeof(uint32_t));
            }
        }
    }
}

void ImageCanvas::TextOut(int x, int y, const std::string& utf8, const FontSpec& font) {
    // A frame draws a dozen lines in four or five fonts: fonts and their ascents are made once.
    const int key = (font.pixelHeight << 4) | (font.face == FontFace::Small ? 1 : 0) |
                    (font.bold ? 2 : 0) | (font.italic ? 4 : 0);
    auto it = fonts_.find(key);
    if (it == fonts_.end()) {
        const QFont f = FontFor(font);
        it = fonts_.emplace(key, CachedFont{f, QFontMetrics(f).ascent()}).first;
    }
    QPainter& p = Painter();
    if (p.font() != it->second.font) {
        p.setFont(it->second.font);
    }
    p.setPen(ToQColor(font.colour));
    // The same lines come back every frame: their layout is kept, within a bound.
    if (texts_.size() > 512) {
        texts_.clear();
    }
    auto [text, added] = texts_.try_emplace({key, utf8});
    if (added) {
        text->second.setText(QString::fromStdString(utf8));
        text->second.setTextFormat(Qt::PlainText);
        text->second.setPerformanceHint(QStaticText::AggressiveCaching);
        text->second.prepare(QTransform(), it->second.font);
    }
    p.drawStaticText(QPoint(x, y), text->second);
}

void ImageCanvas::Fill(int left, int top, int right, int bottom, uint32_t argb) {
    const QRect area = Area();
    left = std::max(left, area.left());
    top = std::max(top, area.top());
    right = std::min(right, area.left() + area.width());
    bottom = std::min(bottom, area.top() + area.height());
    if (right <= left || bottom <= top) {
        return;
    }
    uchar* const bits = target_->bits();
    const qsizetype stride = target_->bytesPerLine();
    for (int y = top; y < bottom; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(bits + static_cast<qsizetype>(y) * stride);
        std::fill(row + left, row + right, argb);
    }
}

void ImageCanvas::FrameRect(int left, int top, int right, int bottom, TColor colour) {
    if (right <= left || bottom <= top) {
        return;
    }
    Release();
    const uint32_t c = ToQColor(colour).rgb();
    Fill(left, top, right, top + 1, c);
    Fill(left, bottom - 1, right, bottom, c);
    Fill(left, top, left + 1, bottom, c);
    Fill(right - 1, top, right, bottom, c);
}

void ImageCanvas::FillRect(int left, int top, int right, int bottom, TColor brush) {
    if (right <= left || bottom <= top) {
        return;
    }
    Release();
    // The default pen outlines the fill in black, one pixel inside the right and bottom edges.
    Fill(left, top, right, bottom, 0xFF000000u);
    Fill(left + 1, top + 1, right - 1, bottom - 1, ToQColor(brush).rgb());
}

int ImageCanvas::FontPixelHeight(const FontSpec& font) const {
    return font.pixelHeight;
}

int ImageCanvas::TextWidth(const std::string& utf8, const FontSpec& font) const {
    return QFontMetrics(FontFor(font)).horizontalAdvance(QString::fromStdString(utf8));
}

void ImageCanvas::Flip() {
    Release();
    if (onFlip) {
        onFlip();
    }
    clip_ = QRect();
}

DxDrawWidget::DxDrawWidget(QWidget* parent)
    : QWidget(parent), backBuffer_(800, 600, QImage::Format_RGB32), canvas_(&backBuffer_) {
    ReadyForWriting(backBuffer_.bits(), static_cast<std::size_t>(backBuffer_.sizeInBytes()));
    backBuffer_.fill(Qt::black);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    canvas_.onFlip = [this] { Present(); };
}

void DxDrawWidget::Present() {
    // A still start screen draws the same picture 60 times a second; showing it again would only
    // cost the display for nothing. Only the rectangle around what changed is shown again: while
    // the strip scrolls that is a band of the window, not all of it. Nothing outside the area the
    // frame was drawn in has changed, so only that area is compared.
    const QRect changed = TakeChanges(canvas_.DrawnArea());
    if (changed.isEmpty()) {
        return;
    }
    ++presented_;
    lastPresented_ = changed;
    update(changed);
}

QRect DxDrawWidget::TakeChanges(QRect area) {
    if (shown_.size() != backBuffer_.size() || shown_.format() != backBuffer_.format()) {
        shown_ = backBuffer_.copy();
        return backBuffer_.rect();
    }
    area = area.intersected(backBuffer_.rect());
    if (area.isEmpty()) {
        return {};
    }
    const int from = area.left();
    const int to = area.left() + area.width();
    const auto rowBytes = static_cast<std::size_t>(to - from) * sizeof(uint32_t);
    int top = -1;
    int bottom = -1;
    int left = to;
    int right = from;
    for (int y = area.top(); y < area.top() + area.height(); ++y) {
        const auto* drawn = reinterpret_cast<const uint32_t*>(backBuffer_.constScanLine(y));
        auto* onScreen = reinterpret_cast<uint32_t*>(shown_.scanLine(y));
        if (std::memcmp(drawn + from, onScreen + from, rowBytes) == 0) {
            continue;
        }
        if (top < 0) {
            top = y;
        }
        bottom = y + 1;
        int first = from;
        while (drawn[first] == onScreen[first]) {
            ++first; // a difference lies ahead: memcmp found one
        }
        int last = to;
        while (drawn[last - 1] == onScreen[last - 1]) {
            --last;
        }
        left = std::min(left, first);
        right = std::max(right, last);
        std::memcpy(onScreen + first, drawn + first,
                    static_cast<std::size_t>(last - first) * sizeof(uint32_t));
    }
    if (top < 0) {
        return {};
    }
    return QRect(left, top, right - left, bottom - top);
}

void DxDrawWidget::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    // Only the part asked for: a present repaints the changed rectangle alone. A window shown at
    // a whole multiple of its pixels enlarges them as blocks, never smoothed.
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QRect part = event->rect() & QRect(QPoint(0, 0), backBuffer_.size());
    p.drawImage(part.topLeft(), backBuffer_, part);
}

void DxDrawWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint(); // widget pixels are back-buffer pixels
    Q_EMIT MouseMoved(p.x(), p.y());
}

void DxDrawWidget::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint(); // widget pixels are back-buffer pixels
    Q_EMIT MousePressed(p.x(), p.y(), static_cast<int>(event->button()));
}

} // namespace kestrova
