#pragma once
// A canvas in front of the real one that holds a frame's drawing until its flip and passes on
// only what differs from the frame before it. A still screen then costs neither the drawing nor
// the showing, while the frame logic still runs every tick; while the strip scrolls, only the
// band it moves in is drawn again.
//
// Why this gives the same pixels as drawing everything: every drawing call writes pixels whatever
// was under them (pictures are copied with their keyed pixels left out, rectangles are solid,
// text is drawn without smoothing), so a pixel ends as the last call reaching it left it. The
// calls of two frames are matched by their place in the frame; a picture is named by its item's
// surface version, which no other surface ever has, so equal calls write equal pixels. Outside
// every call that differs, the same calls reach each pixel in the same order: it keeps its
// colour. So the frame is drawn again only inside the rectangles around the calls that differ (in
// both frames), and not at all when none does. Changes far apart (a banner at the top, the strip
// lower down) are drawn again as separate rectangles, not as one around both. Whoever writes
// into the back buffer other than through this canvas calls Invalidate().

#include "engine/ports.h"
#include "pictures/picture_collection.h"

#include <cstdint>
#include <string>
#include <unordered_map>
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
    int TextWidth(const std::string& utf8, const FontSpec& font) const override {
        return target_.TextWidth(utf8, font);
    }
    TextReachBox TextReach(const std::string& utf8, const FontSpec& font) override {
        return target_.TextReach(utf8, font);
    }
    void DrawItem(const PictureCollectionItem& item, int x, int y, int pattern) override;
    void TextOut(int x, int y, const std::string& utf8, const FontSpec& font) override;
    void FrameRect(int left, int top, int right, int bottom, TColor colour) override;
    void FillRect(int left, int top, int right, int bottom, TColor brush) override;
    void Flip() override;

    // The next frame is passed on even when it repeats the last one.
    void Invalidate() { valid_ = false; }
    // Frames passed on to the real canvas, and frames dropped as repeats.
    long long PassedFrames() const { return passed_; }
    long long SkippedFrames() const { return skipped_; }

    // A rectangle, right and bottom exclusive.
    struct Box {
        int left = 0, top = 0, right = 0, bottom = 0;
        bool Empty() const { return right <= left || bottom <= top; }
        void Add(const Box& b);
        bool Meets(const Box& b) const;
        friend bool operator==(const Box&, const Box&) = default;
    };
    // The rectangle around the areas the last frame passed on was drawn in, and those areas.
    Box LastDrawnArea() const;
    const std::vector<Box>& LastDrawnAreas() const { return lastAreas_; }

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
        Box reach; // every pixel the call can write lies inside
        // A line's reach is first the band any line may reach, and is narrowed to where its
        // pixels fall only when a change must be bounded by it: the first frame, drawn whole,
        // lays out no line just to measure it.
        bool reachKnown = true;
        bool operator==(const Call& o) const;
    };
    // The areas that differ between the frame on screen and the one drawn now, apart from each
    // other.
    std::vector<Box> Damage();
    // Narrows a line's reach to where the real canvas says its pixels fall.
    void KnowReach(Call& call);
    // Passes on the calls reaching `area`, clipped to it.
    void DrawArea(const Box& area);
    // Where the real canvas says a line can set pixels, asked once for each line and font.
    TextReachBox KeptTextReach(const std::string& utf8, const FontSpec& font);
    void AddRectangle(Kind kind, int left, int top, int right, int bottom, TColor colour);

    Canvas& target_;
    std::vector<Call> calls_;    // the frame being drawn
    std::vector<Call> previous_; // the frame last passed on
    bool valid_ = false;
    std::vector<Box> lastAreas_;
    std::unordered_map<std::string, TextReachBox> reaches_;
    long long passed_ = 0;
    long long skipped_ = 0;
};

} // namespace kestrova
