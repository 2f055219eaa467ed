#include "platform/dxdraw.h"

#include "catalogue/text.h"
#include "shell/pictures/picture_collection.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPaintEvent>

// Resources of a static library must be registered by hand, from the global namespace.
static void InitFontResources() {
    Q_INIT_RESOURCE(fonts);
}

namespace kestrova {

namespace {

QColor ToQColor(TColor c) {
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

// The bundled faces, registered once from the program's resources: Liberation Sans stands in for
// the list font, DejaVu Sans Condensed for the small menu font.
struct BundledFonts {
    QString sans = QStringLiteral("Liberation Sans");
    QString small = QStringLiteral("DejaVu Sans Condensed");
    BundledFonts() {
        InitFontResources();
        for (const char* file : {"LiberationSans-Regular.ttf", "LiberationSans-Bold.ttf",
                                 "LiberationSans-Italic.ttf", "LiberationSans-BoldItalic.ttf",
                                 "DejaVuSansCondensed.ttf", "DejaVuSansCondensed-Bold.ttf"}) {
            QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/") + QLatin1String(file));
        }
    }
};

const BundledFonts& Fonts() {
    static const BundledFonts fonts;
    return fonts;
}

} // namespace

QFont FontFor(const FontSpec& spec) {
    QFont f(spec.face == FontFace::Small ? Fonts().small : Fonts().sans);
    f.setPixelSize(std::max(1, spec.pixelHeight));
    f.setBold(spec.bold);
    f.setItalic(spec.italic);
    // Whole-pixel hinting keeps small text crisp, as the original bitmap faces were.
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

ImageCanvas::ImageCanvas(QImage* target) : target_(target) {}

ImageCanvas::~ImageCanvas() {
    Release();
}

QPainter& ImageCanvas::Painter() {
    if (!painter_) {
        painter_ = std::make_unique<QPainter>(target_);
    }
    return *painter_;
}

void ImageCanvas::Release() {
    if (painter_) {
        painter_->end();
        painter_.reset();
    }
}

void ImageCanvas::DrawItem(const PictureCollectionItem& item, int x, int y, int pattern) {
    if (!item.IsBuilt() || item.SurfaceWidth() <= 0 || item.SurfaceHeight() <= 0) {
        return;
    }
    const PatternRect r = item.Pattern(pattern);
    if (r.w <= 0 || r.h <= 0) {
        return;
    }
    // The surface is wrapped, not copied; opaque items take the plain copy path.
    const QImage::Format format =
        item.Transparent ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    const QImage wrapped(reinterpret_cast<const uchar*>(item.Surface().data()), item.SurfaceWidth(),
                         item.SurfaceHeight(), item.SurfaceWidth() * 4, format);
    Painter().drawImage(QPoint(x, y), wrapped, QRect(r.x, r.y, r.w, r.h));
}

void ImageCanvas::TextOut(int x, int y, const std::string& cp1252, const FontSpec& font) {
    QPainter& p = Painter();
    const QFont f = FontFor(font);
    p.setFont(f);
    p.setPen(ToQColor(font.colour));
    const QFontMetrics fm(f);
    p.drawText(QPoint(x, y + fm.ascent()), QString::fromStdString(Cp1252ToUtf8(cp1252)));
}

void ImageCanvas::FrameRect(int left, int top, int right, int bottom, TColor colour) {
    if (right <= left || bottom <= top) {
        return;
    }
    QPainter& p = Painter();
    const QColor c = ToQColor(colour);
    p.fillRect(left, top, right - left, 1, c);
    p.fillRect(left, bottom - 1, right - left, 1, c);
    p.fillRect(left, top, 1, bottom - top, c);
    p.fillRect(right - 1, top, 1, bottom - top, c);
}

void ImageCanvas::FillRect(int left, int top, int right, int bottom, TColor brush) {
    if (right <= left || bottom <= top) {
        return;
    }
    QPainter& p = Painter();
    // The default pen outlines the fill in black, one pixel inside the right and bottom edges.
    p.fillRect(left, top, right - left, bottom - top, Qt::black);
    if (right - left > 2 && bottom - top > 2) {
        p.fillRect(left + 1, top + 1, right - left - 2, bottom - top - 2, ToQColor(brush));
    }
}

int ImageCanvas::FontPixelHeight(const FontSpec& font) const {
    return font.pixelHeight;
}

void ImageCanvas::Flip() {
    Release();
    if (onFlip) {
        onFlip();
    }
}

DxDrawWidget::DxDrawWidget(QWidget* parent)
    : QWidget(parent), backBuffer_(800, 600, QImage::Format_RGB32), canvas_(&backBuffer_) {
    backBuffer_.fill(Qt::black);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    canvas_.onFlip = [this] { update(); };
}

void DxDrawWidget::SetFullScreenScaling(bool on) {
    scaled_ = on;
    update();
}

QRect DxDrawWidget::TargetRect() const {
    if (!scaled_) {
        return QRect(0, 0, backBuffer_.width(), backBuffer_.height());
    }
    const QSize fitted = backBuffer_.size().scaled(size(), Qt::KeepAspectRatio);
    return QRect(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
}

QPoint DxDrawWidget::ToBackBuffer(QPoint pos) const {
    const QRect r = TargetRect();
    if (r.width() <= 0 || r.height() <= 0) {
        return pos;
    }
    return QPoint((pos.x() - r.x()) * backBuffer_.width() / r.width(),
                  (pos.y() - r.y()) * backBuffer_.height() / r.height());
}

void DxDrawWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect r = TargetRect();
    if (scaled_) {
        p.fillRect(rect(), Qt::black);
        p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    }
    p.drawImage(r, backBuffer_);
}

void DxDrawWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = ToBackBuffer(event->position().toPoint());
    Q_EMIT MouseMoved(p.x(), p.y());
}

void DxDrawWidget::mousePressEvent(QMouseEvent* event) {
    const QPoint p = ToBackBuffer(event->position().toPoint());
    Q_EMIT MousePressed(p.x(), p.y(), static_cast<int>(event->button()));
}

} // namespace kestrova
