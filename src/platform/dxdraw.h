#pragma once
// The drawing surface: an 800 x 600 back buffer shown 1:1 in the window (which shows its top-left
// 792 x 573; a window the toolkit shows N times as large gets N x N blocks, unsmoothed). Full
// screen shows a picture of the window elsewhere, so the surface itself is never scaled.

#include "engine/ports.h"
#include "pictures/row_cover.h"
#include "platform/text_stamps.h"

#include <QElapsedTimer>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QRegion>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kestrova {

// Fonts bundled with the program stand in for the original faces, so text looks the same on
// every machine.
QFont FontFor(const FontSpec& wanted);

// A canvas on a QImage back buffer. A frame's drawing is kept until the flip (or Release) and
// then done in order. Where a large area is drawn (a quarter of the buffer or more) or pictures
// overlap much (a banner over the background), each picture copies only the pixels no later
// picture covers, and a line hidden under later pictures is not laid out.
class ImageCanvas : public Canvas {
  public:
    explicit ImageCanvas(QImage* target);
    ~ImageCanvas() override;

    bool CanDraw() const override { return canDraw_ && target_ && !target_->isNull(); }
    void SetCanDraw(bool on) { canDraw_ = on; }
    int Width() const override { return target_->width(); }
    int Height() const override { return target_->height(); }
    void DrawItem(const PictureCollectionItem& item, int x, int y, int pattern) override;
    void TextOut(int x, int y, const std::string& utf8, const FontSpec& font) override;
    void FrameRect(int left, int top, int right, int bottom, TColor colour) override;
    void FillRect(int left, int top, int right, int bottom, TColor brush) override;
    int FontPixelHeight(const FontSpec& font) const override;
    int TextWidth(const std::string& utf8, const FontSpec& font) const override;
    TextReachBox TextReach(const std::string& utf8, const FontSpec& font) override;
    void Flip() override;
    // Drawing until the next clip or the flip reaches only inside this rectangle, right and
    // bottom exclusive.
    void SetClip(int left, int top, int right, int bottom) override;
    // Where the frame being flipped was drawn: what it can have changed. The whole buffer when
    // no clip was set.
    std::vector<QRect> DrawnAreas() const;
    // Does the drawing kept so far, without presenting (before reading the buffer).
    void Release();
    // A band a line drawn with its top-left at (0, 0) stays inside, found without laying it out:
    // close around a line of printable ASCII, in the bundled faces; else the band any line stays
    // in.
    static TextReachBox LineBand(const std::string& utf8, const FontSpec& font);
    // The lines laid out and kept as pixels.
    std::size_t LinesKept() const { return texts_.Count(); }

    std::function<void()> onFlip;

  private:
    QRect Area() const;
    void Fill(int left, int top, int right, int bottom, uint32_t argb);

    // Opaque runs of each item's built surface, made again when the surface changes.
    struct Run {
        uint16_t begin;
        uint16_t end;
    };
    struct Spans {
        uint64_t version = ~0ull;
        const uint32_t* data = nullptr;
        int width = 0;
        bool transparent = false;
        std::vector<uint32_t> rowStart; // first run of each row; one more entry at the end
        std::vector<Run> runs;
    };
    const Spans& SpansOf(const PictureCollectionItem& item);

    struct CachedFont {
        QFont font;
        QFontMetrics metrics;
    };
    const CachedFont& FontOf(const FontSpec& font, int* key = nullptr) const;

    // A drawing call kept until the frame is drawn.
    enum class Kind : uint8_t { Item, Text, Fill };
    struct Call {
        Kind kind = Kind::Item;
        const PictureCollectionItem* item = nullptr;
        std::string text; // Text: the line, laid out only if some of it may show
        FontSpec font;
        int x = 0, y = 0;          // Item, Text: where; Fill: left and top
        int right = 0, bottom = 0; // Fill
        int pattern = 0;
        uint32_t argb = 0; // Text, Fill
        // Item: the pieces of its runs no later picture covers, in pieces_.
        std::size_t piecesBegin = 0, piecesEnd = 0;
        bool hidden = false; // Text: later pictures cover every pixel it could set
    };
    // A piece of an item's run, in buffer columns, on a buffer row.
    struct Piece {
        int row;
        RowCover::Span span;
    };
    void DrawKept();
    // Whether leaving out covered pixels pays: the pictures overlap enough in `area`.
    bool WorthCulling(const QRect& area) const;
    // With `cull` off every run inside the area is a piece; with `cover` off (or `cull`) the
    // item's runs are not added to the cover, for no earlier call will ask.
    void FindUncovered(Call& call, const QRect& area, bool cull, bool cover);
    void CopyPieces(const Call& call);
    // Whether the pictures after it cover every pixel a line could set, without laying it out.
    bool CoveredText(const Call& call, const QRect& area) const;

    QImage* target_;
    mutable std::map<int, CachedFont> fonts_;
    std::map<const PictureCollectionItem*, Spans> spans_;
    TextStamps texts_;
    std::vector<Call> calls_;
    std::vector<Piece> pieces_;
    RowCover cover_;
    bool canDraw_ = false;
    bool clipped_ = false;     // else the whole buffer is drawn
    QRect clip_;               // where drawing reaches while clipped
    std::vector<QRect> clips_; // every clip set since the last flip
};

class DxDrawWidget : public QWidget {
    Q_OBJECT
  public:
    explicit DxDrawWidget(QWidget* parent = nullptr);

    QImage& BackBuffer() { return backBuffer_; }
    ImageCanvas& GetCanvas() { return canvas_; }
    // Frames put on screen: every flip that drew anything.
    long long PresentedFrames() const { return presented_; }
    // The part of the back buffer the last present showed again: where that frame was drawn
    // (the rectangle around it, and the rectangles themselves).
    QRect LastPresentedArea() const { return lastPresented_.boundingRect(); }
    const QRegion& LastPresentedRegion() const { return lastPresented_; }

  Q_SIGNALS:
    void MouseMoved(int x, int y);
    void MousePressed(int x, int y, int button);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    void Present();

    QImage backBuffer_;
    long long presented_ = 0;
    QRegion lastPresented_;
    ImageCanvas canvas_;
};

} // namespace kestrova
