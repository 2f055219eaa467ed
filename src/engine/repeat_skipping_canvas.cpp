#include "engine/repeat_skipping_canvas.h"

namespace kestrova {

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
    calls_.push_back(std::move(call));
}

void RepeatSkippingCanvas::TextOut(int x, int y, const std::string& cp1252, const FontSpec& font) {
    Call call;
    call.kind = Kind::Text;
    call.a = x;
    call.b = y;
    call.text = cp1252;
    call.font = font;
    calls_.push_back(std::move(call));
}

void RepeatSkippingCanvas::FrameRect(int left, int top, int right, int bottom, TColor colour) {
    calls_.push_back({Kind::Frame, nullptr, 0, {}, left, top, right, bottom, colour, {}, {}});
}

void RepeatSkippingCanvas::FillRect(int left, int top, int right, int bottom, TColor brush) {
    calls_.push_back({Kind::Fill, nullptr, 0, {}, left, top, right, bottom, brush, {}, {}});
}

void RepeatSkippingCanvas::Flip() {
    if (valid_ && calls_ == previous_) {
        ++skipped_;
        calls_.clear();
        return;
    }
    for (const Call& call : calls_) {
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
    target_.Flip();
    ++passed_;
    valid_ = true;
    previous_.swap(calls_);
    calls_.clear();
}

} // namespace kestrova
