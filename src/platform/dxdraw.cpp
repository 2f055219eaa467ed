#include "platform/dxdraw.h"

#include "base/fresh_memory.h"
#include "pictures/picture_collection.h"
#include "platform/bundled_fonts.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

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

// Drawing kept for a frame that never flipped is dropped: its pictures may be gone.
ImageCanvas::~ImageCanvas() = default;

QRect ImageCanvas::Area() const {
    return clip_.isNull() ? target_->rect() : clip_;
}

void ImageCanvas::SetClip(int left, int top, int right, int bottom) {
    Release(); // what was drawn before keeps the clip it was drawn with
    const QRect wanted(QPoint(left, top), QPoint(right - 1, bottom - 1));
    clip_ = wanted.intersected(target_->rect());
    if (clip_.isNull()) {
        clip_ = QRect(0, 0, 0, 0); // nothing to draw, yet not the whole canvas
    } else {
        clips_.push_back(clip_);
    }
}

std::vector<QRect> ImageCanvas::DrawnAreas() const {
    if (clip_.isNull()) {
        return {target_->rect()};
    }
    return clips_;
}

void ImageCanvas::Release() {
    if (!calls_.empty()) {
        DrawKept();
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
    Call call;
    call.kind = Kind::Item;
    call.item = &item;
    call.x = x;
    call.y = y;
    call.pattern = pattern;
    calls_.push_back(call);
}

// The runs of the item's pattern inside `area`, in buffer columns: those no later picture covers
// go to pieces_, and all of them cover what earlier pictures drew.
void ImageCanvas::FindUncovered(Call& call, const QRect& area) {
    call.piecesBegin = call.piecesEnd = pieces_.size();
    const PictureCollectionItem& item = *call.item;
    if (!item.IsBuilt() || item.SurfaceWidth() <= 0 || item.SurfaceHeight() <= 0 ||
        item.SurfaceWidth() > 65535) {
        return;
    }
    const PatternRect r = item.Pattern(call.pattern);
    if (r.w <= 0 || r.h <= 0) {
        return;
    }
    const Spans& spans = SpansOf(item);
    const int dl = area.left();
    const int dr = area.left() + area.width();
    const int dt = area.top();
    const int db = area.top() + area.height();
    const int surfaceHeight = item.SurfaceHeight();
    for (int row = 0; row < r.h; ++row) {
        const int dy = call.y + row;
        const int sy = r.y + row;
        if (dy < dt || dy >= db || sy < 0 || sy >= surfaceHeight) {
            continue;
        }
        const std::size_t sr = static_cast<std::size_t>(sy);
        for (uint32_t k = spans.rowStart[sr]; k < spans.rowStart[sr + 1]; ++k) {
            // The run, limited to the pattern's columns and to the area drawn.
            const int sx0 = std::max<int>(spans.runs[k].begin, r.x);
            const int sx1 = std::min<int>(spans.runs[k].end, r.x + r.w);
            const int dx0 = std::max(call.x + (sx0 - r.x), dl);
            const int dx1 = std::min(call.x + (sx1 - r.x), dr);
            if (dx1 <= dx0) {
                continue;
            }
            cover_.ForUncovered(dy, dx0, dx1, [this, dy](int from, int to) {
                pieces_.push_back({dy, {from, to}});
            });
            cover_.Add(dy, dx0, dx1);
        }
    }
    call.piecesEnd = pieces_.size();
}

void ImageCanvas::CopyPieces(const Call& call) {
    if (call.piecesEnd == call.piecesBegin) {
        return;
    }
    const PictureCollectionItem& item = *call.item;
    const PatternRect r = item.Pattern(call.pattern);
    const uint32_t* src = item.Surface().data();
    const auto sw = static_cast<std::size_t>(item.SurfaceWidth());
    // The buffer's rows, found once: asking the image for each row checks it is not shared
    // every time.
    uchar* const bits = target_->bits();
    const qsizetype stride = target_->bytesPerLine();
    // Buffer pixel (dx, dy) is surface pixel (dx - dx0, dy - dy0).
    const int dx0 = call.x - r.x;
    const int dy0 = call.y - r.y;
    for (std::size_t i = call.piecesBegin; i < call.piecesEnd; ++i) {
        const Piece& p = pieces_[i];
        auto* dest = reinterpret_cast<uint32_t*>(bits + static_cast<qsizetype>(p.row) * stride);
        const uint32_t* srow = src + static_cast<std::size_t>(p.row - dy0) * sw;
        std::memcpy(dest + p.span.begin, srow + (p.span.begin - dx0),
                    static_cast<std::size_t>(p.span.end - p.span.begin) * sizeof(uint32_t));
    }
}

void ImageCanvas::DrawKept() {
    const QRect area = Area();
    // From the last call back: each picture finds what nothing after it covers.
    cover_.Reset(target_->height());
    pieces_.clear();
    for (auto it = calls_.rbegin(); it != calls_.rend(); ++it) {
        if (it->kind == Kind::Item) {
            FindUncovered(*it, area);
        }
    }
    for (const Call& call : calls_) {
        switch (call.kind) {
        case Kind::Item:
            CopyPieces(call);
            break;
        case Kind::Text:
            TextStamps::Draw(*target_, area, *call.stamp, call.x, call.y, call.argb);
            break;
        case Kind::Fill:
            Fill(call.x, call.y, call.right, call.bottom, call.argb);
            break;
        }
    }
    calls_.clear();
    texts_.Trim();
}

const ImageCanvas::CachedFont& ImageCanvas::FontOf(const FontSpec& font, int* key) const {
    // A frame draws a dozen lines in four or five fonts: fonts and their metrics are made once.
    const int k = (font.pixelHeight << 4) | (font.face == FontFace::Small ? 1 : 0) |
                  (font.bold ? 2 : 0) | (font.italic ? 4 : 0);
    if (key) {
        *key = k;
    }
    auto it = fonts_.find(k);
    if (it == fonts_.end()) {
        const QFont f = FontFor(font);
        it = fonts_.emplace(k, CachedFont{f, QFontMetrics(f)}).first;
    }
    return it->second;
}

void ImageCanvas::TextOut(int x, int y, const std::string& utf8, const FontSpec& font) {
    int key = 0;
    const CachedFont& f = FontOf(font, &key);
    // The same lines come back every frame: each is laid out and drawn once.
    Call call;
    call.kind = Kind::Text;
    call.stamp = &texts_.Get(key, f.font, utf8);
    call.x = x;
    call.y = y;
    call.argb = ToQColor(font.colour).rgb();
    calls_.push_back(call);
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
    const uint32_t c = ToQColor(colour).rgb();
    Call call;
    call.kind = Kind::Fill;
    call.argb = c;
    for (const QRect& side : {QRect(QPoint(left, top), QPoint(right - 1, top)),
                              QRect(QPoint(left, bottom - 1), QPoint(right - 1, bottom - 1)),
                              QRect(QPoint(left, top), QPoint(left, bottom - 1)),
                              QRect(QPoint(right - 1, top), QPoint(right - 1, bottom - 1))}) {
        call.x = side.left();
        call.y = side.top();
        call.right = side.left() + side.width();
        call.bottom = side.top() + side.height();
        calls_.push_back(call);
    }
}

void ImageCanvas::FillRect(int left, int top, int right, int bottom, TColor brush) {
    if (right <= left || bottom <= top) {
        return;
    }
    // The default pen outlines the fill in black, one pixel inside the right and bottom edges.
    Call call;
    call.kind = Kind::Fill;
    call.x = left;
    call.y = top;
    call.right = right;
    call.bottom = bottom;
    call.argb = 0xFF000000u;
    calls_.push_back(call);
    call.x = left + 1;
    call.y = top + 1;
    call.right = right - 1;
    call.bottom = bottom - 1;
    call.argb = ToQColor(brush).rgb();
    calls_.push_back(call);
}

int ImageCanvas::FontPixelHeight(const FontSpec& font) const {
    return font.pixelHeight;
}

int ImageCanvas::TextWidth(const std::string& utf8, const FontSpec& font) const {
    return FontOf(font).metrics.horizontalAdvance(QString::fromStdString(utf8));
}

void ImageCanvas::Flip() {
    Release();
    if (onFlip) {
        onFlip();
    }
    clip_ = QRect();
    clips_.clear();
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
    QRegion changed;
    for (const QRect& area : canvas_.DrawnAreas()) {
        changed += TakeChanges(area);
    }
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
        // A difference lies in the row (memcmp found one): its ends are found a block of
        // pixels at a time, then a pixel at a time.
        constexpr int kBlock = 16;
        constexpr std::size_t kBlockBytes = kBlock * sizeof(uint32_t);
        int first = from;
        while (first + kBlock <= to &&
               std::memcmp(drawn + first, onScreen + first, kBlockBytes) == 0) {
            first += kBlock;
        }
        while (drawn[first] == onScreen[first]) {
            ++first;
        }
        int last = to;
        while (last - kBlock > first &&
               std::memcmp(drawn + last - kBlock, onScreen + last - kBlock, kBlockBytes) == 0) {
            last -= kBlock;
        }
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
    // Each changed rectangle on its own: a banner at the top and the strip lower down are not
    // one rectangle around both.
    for (const QRect& asked : event->region()) {
        const QRect part = asked & QRect(QPoint(0, 0), backBuffer_.size());
        p.drawImage(part.topLeft(), backBuffer_, part);
    }
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
