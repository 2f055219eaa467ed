#pragma once
// A canvas in front of the real one that holds a frame's drawing until its flip and passes it on
// only when it differs from the frame before it. A still screen then costs neither the drawing
// nor the showing, while the frame logic still runs every tick.
//
// Why a repeated frame may be dropped: every drawing call writes pixels whatever was under them
// (pictures are copied with their keyed pixels left out, rectangles are solid, text is drawn
// without smoothing), so drawing the same calls again over their own result changes nothing. A
// picture is named by its item's surface version, which no other surface ever has, so the same
// calls mean the same pixels. Whoever writes into the back buffer other than through this canvas
// calls Invalidate().

#include "engine/ports.h"
#include "pictures/picture_collection.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kestrova {

class RepeatSkippingCanvas : public Canvas {
  public:
    explicit RepeatSkippingCanvas(Canvas& target) : target_(target) {}

    bool CanDraw() const override { return target_.CanDraw(); }
    int Width() const override { return target_.Width(); }
    int Height() const override { return target_.Height(); }
    int FontPixelHeight(const FontSpec& font) const override {
        return target_.FontPixelHeight(font);
    }
    void DrawItem(const PictureCollectionItem& item, int x, int y, int pattern) override;
    void TextOut(int x, int y, const std::string& cp1252, const FontSpec& font) override;
    void FrameRect(int left, int top, int right, int bottom, TColor colour) override;
    void FillRect(int left, int top, int right, int bottom, TColor brush) override;
    void Flip() override;

    // The next frame is passed on even when it repeats the last one.
    void Invalidate() { valid_ = false; }
    // Frames passed on to the real canvas, and frames dropped as repeats.
    long long PassedFrames() const { return passed_; }
    long long SkippedFrames() const { return skipped_; }

  private:
    enum class Kind : uint8_t { Item, Text, Frame, Fill };
    struct Call {
        Kind kind = Kind::Item;
        // The item is only used while its frame is being passed on; between frames the
        // surface version tells pictures apart.
        const PictureCollectionItem* item = nullptr;
        uint64_t version = 0;
        // The pattern's place follows the item's pattern fields, which may change without a new
        // surface.
        PatternRect pattern;
        int a = 0, b = 0, c = 0, d = 0;
        TColor colour = 0;
        std::string text;
        FontSpec font;
        bool operator==(const Call& o) const;
    };

    Canvas& target_;
    std::vector<Call> calls_;    // the frame being drawn
    std::vector<Call> previous_; // the frame last passed on
    bool valid_ = false;
    long long passed_ = 0;
    long long skipped_ = 0;
};

} // namespace kestrova
