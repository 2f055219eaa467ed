#include "engine/repeat_skipping_canvas.h"

#include <algorithm>
#include <cstdint>

namespace kestrova {

namespace {

int Clamped(int64_t v) {
    return static_cast<int>(std::clamp<int64_t>(v, INT32_MIN / 2, INT32_MAX / 2));
}

RepeatSkippingCanvas::Box BoxOf(int64_t left, int64_t top, int64_t right, int64_t bottom) {
    return {Clamped(left), Clamped(top), Clamped(right), Clamped(bottom)};
}

using Box = RepeatSkippingCanvas::Box;

int64_t AreaOf(const Box& b) {
    return b.Empty() ? 0 : int64_t{b.right - b.left} * (b.bottom - b.top);
}

Box Around(Box a, const Box& b) {
    a.Add(b);
    return a;
}

// Two changed areas are drawn as one when the rectangle around both costs little more than the
// two apart: a pass over another rectangle has its own cost (a clip, every call tested again).
constexpr int64_t kMergeSlackPixels = 4096;
// More areas than this are joined, the pair that grows least first.
constexpr std::size_t kMostAreas = 6;

bool BetterTogether(const Box& a, const Box& b) {
    return a.Meets(b) || AreaOf(Around(a, b)) <= AreaOf(a) + AreaOf(b) + kMergeSlackPixels;
}

// Adds an area to a list of areas that stay apart: it swallows every area it belongs with.
void AddApart(std::vector<Box>& areas, Box b) {
    for (bool joined = true; joined;) {
        joined = false;
        for (std::size_t i = 0; i < areas.size(); ++i) {
            if (BetterTogether(areas[i], b)) {
                b.Add(areas[i]);
                areas.erase(areas.begin() + static_cast<std::ptrdiff_t>(i));
                joined = true;
                break;
            }
        }
    }
    areas.push_back(b);
}

// Joins areas, the pair whose rectangle grows least first, until at most kMostAreas are left.
void JoinDownToMost(std::vector<Box>& areas) {
    while (areas.size() > kMostAreas) {
        std::size_t bestI = 0;
        std::size_t bestJ = 1;
        int64_t bestGrowth = INT64_MAX;
        for (std::size_t i = 0; i < areas.size(); ++i) {
            for (std::size_t j = i + 1; j < areas.size(); ++j) {
                const int64_t growth =
                    AreaOf(Around(areas[i], areas[j])) - AreaOf(areas[i]) - AreaOf(areas[j]);
                if (growth < bestGrowth) {
                    bestGrowth = growth;
                    bestI = i;
                    bestJ = j;
                }
            }
        }
        const Box joined = Around(areas[bestI], areas[bestJ]);
        areas.erase(areas.begin() + static_cast<std::ptrdiff_t>(bestJ));
        areas.erase(areas.begin() + static_cast<std::ptrdiff_t>(bestI));
        AddApart(areas, joined);
    }
}

} // namespace

void RepeatSkippingCanvas::Box::Add(const Box& b) {
    if (b.Empty()) {
        return;
    }
    if (Empty()) {
        *this = b;
        return;
    }
    left = std::min(left, b.left);
    top = std::min(top, b.top);
    right = std::max(right, b.right);
    bottom = std::max(bottom, b.bottom);
}

bool RepeatSkippingCanvas::Box::Meets(const Box& b) const {
    return !Empty() && !b.Empty() && left < b.right && b.left < right && top < b.bottom &&
           b.top < bottom;
}

bool RepeatSkippingCanvas::Call::operator==(const Call& o) const {
    return kind == o.kind && item == o.item && version == o.version && pattern == o.pattern &&
           a == o.a && b == o.b && c == o.c && d == o.d && colour == o.colour && text == o.text &&
           font.face == o.font.face && font.pixelHeight == o.font.pixelHeight &&
           font.bold == o.font.bold && font.italic == o.font.italic && font.colour == o.font.colour;
}

void RepeatSkippingCanvas::DrawItem(const PictureCollectionItem& item, int x, int y, int pattern) {
    Call call;
    call.item = &item;
    call.version = item.SurfaceVersion();
    call.a = x;
    call.b = y;
    call.c = pattern;
    call.pattern = item.Pattern(pattern);
    call.reach = BoxOf(x, y, int64_t{x} + call.pattern.w, int64_t{y} + call.pattern.h);
    calls_.push_back(std::move(call));
}

void RepeatSkippingCanvas::TextOut(int x, int y, const std::string& utf8, const FontSpec& font) {
    Call call;
    call.kind = Kind::Text;
    call.a = x;
    call.b = y;
    call.text = utf8;
    call.font = font;
    // The same line in the same place as in the frame before reaches where it reached then: it
    // is measured only when it is new.
    const std::size_t at = calls_.size();
    if (at < previous_.size() && previous_[at] == call) {
        call.reach = previous_[at].reach;
        call.reachKnown = previous_[at].reachKnown;
    } else {
        const TextReachBox r = AnyLineReach(font);
        call.reach = BoxOf(int64_t{x} + r.left, int64_t{y} + r.top, int64_t{x} + r.right,
                           int64_t{y} + r.bottom);
        call.reachKnown = false;
    }
    calls_.push_back(std::move(call));
}

void RepeatSkippingCanvas::KnowReach(Call& call) {
    if (call.reachKnown) {
        return;
    }
    const TextReachBox r = KeptTextReach(call.text, call.font);
    call.reach = BoxOf(int64_t{call.a} + r.left, int64_t{call.b} + r.top, int64_t{call.a} + r.right,
                       int64_t{call.b} + r.bottom);
    call.reachKnown = true;
}

Canvas::TextReachBox RepeatSkippingCanvas::KeptTextReach(const std::string& utf8,
                                                         const FontSpec& font) {
    // A caption moving with the strip is the same line in a new place every frame: where its
    // pixels fall is asked once, not found again each time.
    std::string key = utf8;
    key += '\0';
    key += static_cast<char>(font.face == FontFace::Small ? 1 : 0);
    key += static_cast<char>((font.bold ? 1 : 0) | (font.italic ? 2 : 0));
    key.append(reinterpret_cast<const char*>(&font.pixelHeight), sizeof font.pixelHeight);
    if (const auto it = reaches_.find(key); it != reaches_.end()) {
        return it->second;
    }
    if (reaches_.size() >= 1024) {
        reaches_.clear(); // a bound on what is kept; the lines of a screen come back at once
    }
    const TextReachBox reach = target_.TextReach(utf8, font);
    reaches_.emplace(std::move(key), reach);
    return reach;
}

void RepeatSkippingCanvas::FrameRect(int left, int top, int right, int bottom, TColor colour) {
    AddRectangle(Kind::Frame, left, top, right, bottom, colour);
}

void RepeatSkippingCanvas::FillRect(int left, int top, int right, int bottom, TColor brush) {
    AddRectangle(Kind::Fill, left, top, right, bottom, brush);
}

void RepeatSkippingCanvas::AddRectangle(Kind kind, int left, int top, int right, int bottom,
                                        TColor colour) {
    Call call;
    call.kind = kind;
    call.a = left;
    call.b = top;
    call.c = right;
    call.d = bottom;
    call.colour = colour;
    call.reach = BoxOf(left, top, right, bottom);
    calls_.push_back(std::move(call));
}

RepeatSkippingCanvas::Box RepeatSkippingCanvas::LastDrawnArea() const {
    Box around;
    for (const Box& b : lastAreas_) {
        around.Add(b);
    }
    return around;
}

std::vector<RepeatSkippingCanvas::Box> RepeatSkippingCanvas::Damage() {
    const Box whole{0, 0, Width(), Height()};
    if (!valid_) {
        return {whole};
    }
    std::vector<Box> areas;
    const auto add = [&](Call& call) {
        KnowReach(call);
        const Box& reach = call.reach;
        const Box b{std::max(reach.left, whole.left), std::max(reach.top, whole.top),
                    std::min(reach.right, whole.right), std::min(reach.bottom, whole.bottom)};
        if (!b.Empty()) {
            AddApart(areas, b);
        }
    };
    for (std::size_t i = 0; i < std::max(calls_.size(), previous_.size()); ++i) {
        if (i >= previous_.size()) {
            add(calls_[i]);
        } else if (i >= calls_.size()) {
            add(previous_[i]);
        } else if (!(calls_[i] == previous_[i])) {
            add(calls_[i]);
            add(previous_[i]);
        }
    }
    JoinDownToMost(areas);
    return areas;
}

void RepeatSkippingCanvas::DrawArea(const Box& area) {
    target_.SetClip(area.left, area.top, area.right, area.bottom);
    for (const Call& call : calls_) {
        if (!call.reach.Meets(area)) {
            continue; // it writes nothing inside the area drawn again
        }
        switch (call.kind) {
        case Kind::Item:
            target_.DrawItem(*call.item, call.a, call.b, call.c);
            break;
        case Kind::Text:
            target_.TextOut(call.a, call.b, call.text, call.font);
            break;
        case Kind::Frame:
            target_.FrameRect(call.a, call.b, call.c, call.d, call.colour);
            break;
        case Kind::Fill:
            target_.FillRect(call.a, call.b, call.c, call.d, call.colour);
            break;
        }
    }
    lastAreas_.push_back(area);
}

void RepeatSkippingCanvas::Flip() {
    const std::vector<Box> damage = Damage();
    if (damage.empty()) {
        ++skipped_;
        calls_.clear();
        return;
    }
    lastAreas_.clear();
    for (const Box& area : damage) {
        DrawArea(area);
    }
    target_.Flip();
    ++passed_;
    valid_ = true;
    previous_.swap(calls_);
    calls_.clear();
}

} // namespace kestrova
