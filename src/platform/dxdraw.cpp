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
    return clipped_ ? clip_ : target_->rect();
}

void ImageCanvas::SetClip(int left, int top, int right, int bottom) {
    Release(); // what was drawn before keeps the clip it was drawn with
    const QRect wanted(QPoint(left, top), QPoint(right - 1, bottom - 1));
    // A clip wholly off the buffer leaves nothing to draw, not the whole buffer.
    clipped_ = true;
    clip_ = wanted.intersected(target_->rect());
    if (!clip_.isEmpty()) {
        clips_.push_back(clip_);
    }
}

std::vector<QRect> ImageCanvas::DrawnAreas() const {
    if (!clipped_) {
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
// go to pieces_ (every run, without `cull`), and with `cover` all of them cover what earlier
// pictures drew.
void ImageCanvas::FindUncovered(Call& call, const QRect& area, bool cull, bool cover) {
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
            if (!cull) {
                pieces_.push_back({dy, {dx0, dx1}});
                continue;
            }
            cover_.ForUncovered(dy, dx0, dx1, [this, dy](int from, int to) {
                pieces_.push_back({dy, {from, to}});
            });
            if (cover) {
                cover_.Add(dy, dx0, dx1);
            }
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

namespace {
// Covered pixels are left out of areas of at least a quarter of the buffer, and of smaller ones
// where the pictures would copy half as much again as the area holds.
constexpr int64_t kCullFromQuarters = 4;
constexpr int64_t kCullFromHalves = 3;
} // namespace

bool ImageCanvas::WorthCulling(const QRect& area) const {
    // Finding what later pictures cover pays where much is drawn over: a whole frame, layer on
    // layer (where it also spares laying out lines that never show), or a banner over the
    // background. Where pictures hardly overlap, copying them all costs less.
    const int64_t areaPixels = int64_t{area.width()} * area.height();
    if (areaPixels * kCullFromQuarters >= int64_t{target_->width()} * target_->height()) {
        return true;
    }
    int64_t drawn = 0;
    for (const Call& call : calls_) {
        if (call.kind != Kind::Item || !call.item->IsBuilt()) {
            continue;
        }
        const PatternRect r = call.item->Pattern(call.pattern);
        const QRect shown = QRect(call.x, call.y, std::max(r.w, 0), std::max(r.h, 0)) & area;
        drawn += int64_t{shown.width()} * shown.height();
    }
    return drawn * 2 >= areaPixels * kCullFromHalves;
}

void ImageCanvas::DrawKept() {
    const QRect area = Area();
    // From the last call back: each picture finds what nothing after it covers.
    cover_.Reset(target_->height());
    pieces_.clear();
    const bool cull = WorthCulling(area);
    // The earliest picture or line: nothing before it asks what it covers.
    std::size_t first = 0;
    while (first < calls_.size() && calls_[first].kind == Kind::Fill) {
        ++first;
    }
    for (std::size_t i = calls_.size(); i-- > first;) {
        Call& call = calls_[i];
        if (call.kind == Kind::Item) {
            FindUncovered(call, area, cull, cull && i > first);
        } else if (call.kind == Kind::Text) {
            call.hidden = cull && CoveredText(call, area);
        }
    }
    for (const Call& call : calls_) {
        switch (call.kind) {
        case Kind::Item:
            CopyPieces(call);
            break;
        case Kind::Text:
            if (!call.hidden) {
                int key = 0;
                const CachedFont& f = FontOf(call.font, &key);
                TextStamps::Draw(*target_, area, texts_.Get(key, f.font, call.text), call.x, call.y,
                                 call.argb);
            }
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

Canvas::TextReachBox ImageCanvas::LineBand(const std::string& utf8, const FontSpec& font) {
    const bool plain = std::all_of(utf8.begin(), utf8.end(), [](char c) {
        return static_cast<unsigned char>(c) >= 0x20 && static_cast<unsigned char>(c) < 0x7F;
    });
    if (!plain) {
        return AnyLineReach(font);
    }
    // Printable ASCII is all in the bundled faces, and their letters, accents and descenders
    // included, stand within about 1.2 heights below the line's top.
    const int h = std::max(font.pixelHeight, 1);
    return {-2 * h - 4, -h / 2 - 2, 1 << 20, 2 * h + 2};
}

bool ImageCanvas::CoveredText(const Call& call, const QRect& area) const {
    const TextReachBox band = LineBand(call.text, call.font);
    const int64_t left = std::max<int64_t>(int64_t{call.x} + band.left, area.left());
    const int64_t right =
        std::min<int64_t>(int64_t{call.x} + band.right, int64_t{area.left()} + area.width());
    const int64_t top = std::max<int64_t>(int64_t{call.y} + band.top, area.top());
    const int64_t bottom =
        std::min<int64_t>(int64_t{call.y} + band.bottom, int64_t{area.top()} + area.height());
    if (bottom <= top || right <= left) {
        return true; // wholly outside what is drawn
    }
    return cover_.Covers(static_cast<int>(top), static_cast<int>(bottom), static_cast<int>(left),
                         static_cast<int>(right));
}

void ImageCanvas::TextOut(int x, int y, const std::string& utf8, const FontSpec& font) {
    // The same lines come back every frame: each is laid out and drawn once, when the frame is
    // drawn, and not at all while later pictures hide it (a panel's text under the header it
    // slides in from); so the first frame needs no font at all when it shows no text.
    Call call;
    call.kind = Kind::Text;
    call.text = utf8;
    call.font = font;
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

Canvas::TextReachBox ImageCanvas::TextReach(const std::string& utf8, const FontSpec& font) {
    int key = 0;
    const CachedFont& f = FontOf(font, &key);
    const TextStamps::Stamp& stamp = texts_.Get(key, f.font, utf8);
    if (stamp.drawn) {
        return Canvas::TextReach(utf8, font); // drawn by the toolkit: only a band is sure
    }
    // A stamped line sets exactly its runs' pixels.
    int left = 0;
    int right = 0;
    for (std::size_t k = 0; k < stamp.runs.size(); ++k) {
        left = k == 0 ? stamp.runs[k].begin : std::min<int>(left, stamp.runs[k].begin);
        right = k == 0 ? stamp.runs[k].end : std::max<int>(right, stamp.runs[k].end);
    }
    if (right <= left) {
        return {};
    }
    return {stamp.left + left, stamp.top, stamp.left + right, stamp.top + stamp.rows};
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
    clipped_ = false;
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
    // What a frame repeating the one on screen would show again is dropped before it is drawn
    // (the repeat-skipping canvas in front of this one): a frame reaching here is shown again
    // only where it was drawn. While the strip scrolls that is a band of the window, not all of
    // it, and a banner far above it is a rectangle of its own.
    QRegion drawn;
    for (const QRect& area : canvas_.DrawnAreas()) {
        drawn += area;
    }
    drawn &= backBuffer_.rect();
    if (drawn.isEmpty()) {
        return;
    }
    ++presented_;
    lastPresented_ = drawn;
    update(drawn);
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
