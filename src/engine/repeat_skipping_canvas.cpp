#include "engine/repeat_skipping_canvas.h"

#include <algorithm>
#include <cstdint>
#include <optional>

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
// A rectangle is cut at the edges of at most this many solid calls spanning it.
constexpr std::size_t kMostCuts = 16;

bool BetterTogether(const Box& a, const Box& b) {
    return a.Meets(b) || AreaOf(Around(a, b)) <= AreaOf(a) + AreaOf(b) + kMergeSlackPixels;
}

bool Covers(const Box& outer, const Box& inner) {
    return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
           outer.bottom >= inner.bottom;
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
    call.solid = Solid(item, pattern, call.pattern);
    calls_.push_back(std::move(call));
}

bool RepeatSkippingCanvas::Solid(const PictureCollectionItem& item, int pattern,
                                 const PatternRect& r) {
    if (!item.IsBuilt() || r.w <= 0 || r.h <= 0 || r.x < 0 || r.y < 0 ||
        int64_t{r.x} + r.w > item.SurfaceWidth() || int64_t{r.y} + r.h > item.SurfaceHeight()) {
        return false;
    }
    const std::optional<uint32_t> key = item.KeyedRgb();
    if (!key) {
        return true;
    }
    constexpr int kMostPatternsKept = 4096;
    if (pattern < 0 || pattern >= kMostPatternsKept) {
        return false; // never drawn by a disc; not worth looking at
    }
    if (solidity_.size() > 1024) {
        solidity_.clear(); // items come and go with pages of the game; a bound on what is kept
    }
    Solidity& known = solidity_[&item];
    if (known.version != item.SurfaceVersion()) {
        known.version = item.SurfaceVersion();
        known.patterns.clear();
    }
    const auto index = static_cast<std::size_t>(pattern);
    if (known.patterns.size() <= index) {
        known.patterns.resize(index + 1, -1);
    }
    if (known.patterns[index] < 0) {
        // A keyed surface may still have no pixel of the key colour in this pattern.
        const std::vector<uint32_t>& px = item.Surface();
        const auto w = static_cast<std::size_t>(item.SurfaceWidth());
        bool solid = true;
        for (int y = r.y; solid && y < r.y + r.h; ++y) {
            const uint32_t* row = px.data() + static_cast<std::size_t>(y) * w;
            for (int x = r.x; x < r.x + r.w; ++x) {
                if ((row[x] & 0xFFFFFFu) == *key) {
                    solid = false;
                    break;
                }
            }
        }
        known.patterns[index] = solid ? 1 : 0;
    }
    return known.patterns[index] == 1;
}

void RepeatSkippingCanvas::TextOut(int x, int y, const std::string& utf8, const FontSpec& font) {
    Call call;
    call.kind = Kind::Text;
    call.a = x;
    call.b = y;
    call.text = utf8;
    call.font = font;
    // How far a line reaches depends on the font's glyphs: the band of rows around it, whole
    // lines of the canvas wide, holds it with room to spare.
    const int64_t h = std::max(font.pixelHeight, 8);
    call.reach = BoxOf(0, int64_t{y} - 2 * h - 4, Width(), int64_t{y} + 3 * h + 8);
    calls_.push_back(std::move(call));
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
    call.solid = kind == Kind::Fill;
    calls_.push_back(std::move(call));
}

RepeatSkippingCanvas::Box RepeatSkippingCanvas::LastDrawnArea() const {
    Box around;
    for (const Box& b : lastAreas_) {
        around.Add(b);
    }
    return around;
}

std::vector<RepeatSkippingCanvas::Box> RepeatSkippingCanvas::Damage() const {
    const Box whole{0, 0, Width(), Height()};
    if (!valid_) {
        return {whole};
    }
    std::vector<Box> areas;
    const auto add = [&](const Box& reach) {
        const Box b{std::max(reach.left, whole.left), std::max(reach.top, whole.top),
                    std::min(reach.right, whole.right), std::min(reach.bottom, whole.bottom)};
        if (!b.Empty()) {
            AddApart(areas, b);
        }
    };
    for (std::size_t i = 0; i < std::max(calls_.size(), previous_.size()); ++i) {
        if (i >= previous_.size()) {
            add(calls_[i].reach);
        } else if (i >= calls_.size()) {
            add(previous_[i].reach);
        } else if (!(calls_[i] == previous_[i])) {
            add(calls_[i].reach);
            add(previous_[i].reach);
        }
    }
    JoinDownToMost(areas);
    return areas;
}

void RepeatSkippingCanvas::DrawArea(const Box& area) {
    // Solid calls spanning the area's whole width cut it into bands; each band is drawn from
    // the last call that hides it all, so what lies under a panel is not drawn only to be
    // covered.
    std::vector<int> cuts{area.top, area.bottom};
    for (const Call& call : calls_) {
        if (cuts.size() >= kMostCuts + 2) {
            break;
        }
        if (call.solid && call.reach.left <= area.left && call.reach.right >= area.right) {
            for (const int y : {call.reach.top, call.reach.bottom}) {
                if (y > area.top && y < area.bottom) {
                    cuts.push_back(y);
                }
            }
        }
    }
    std::sort(cuts.begin(), cuts.end());
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());

    Box pending;
    std::size_t pendingFrom = 0;
    const auto drawPending = [&] {
        if (pending.Empty()) {
            return;
        }
        target_.SetClip(pending.left, pending.top, pending.right, pending.bottom);
        for (std::size_t k = pendingFrom; k < calls_.size(); ++k) {
            const Call& call = calls_[k];
            if (!call.reach.Meets(pending)) {
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
        lastAreas_.push_back(pending);
    };
    for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
        const Box band{area.left, cuts[i], area.right, cuts[i + 1]};
        std::size_t from = 0;
        for (std::size_t k = calls_.size(); k-- > 0;) {
            if (calls_[k].solid && Covers(calls_[k].reach, band)) {
                from = k;
                break;
            }
        }
        if (!pending.Empty() && from == pendingFrom) {
            pending.bottom = band.bottom; // drawn from the same call as the band above
            continue;
        }
        drawPending();
        pending = band;
        pendingFrom = from;
    }
    drawPending();
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
