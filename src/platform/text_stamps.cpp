#include "platform/text_stamps.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRect>

#include <algorithm>

namespace kestrova {

namespace {

// Lines wider or taller than this are drawn through the toolkit: keeping them would cost more
// memory than they save time.
constexpr int kMaxStampWidth = 4096;
constexpr int kMaxStampHeight = 512;
constexpr std::size_t kMaxStamps = 512;

constexpr uint32_t kUnset = 0xFF000000u;
constexpr uint32_t kSet = 0xFFFFFFFFu;

// Draws the line on a scratch image with room on every side and keeps the pixels it sets as runs;
// false when a pixel is neither set nor left alone, or one reaches the scratch image's edge.
bool Record(TextStamps::Stamp& stamp) {
    const QFontMetrics metrics(stamp.font);
    const int size = std::max(1, stamp.font.pixelSize());
    // Leaning letters, accents and descenders stay well inside this margin; the edge check
    // below finds a line that does not.
    const int margin = 2 * size + 4;
    const int width = metrics.horizontalAdvance(stamp.text.text()) + 2 * margin;
    const int height = metrics.height() + 2 * margin;
    if (width > kMaxStampWidth || height > kMaxStampHeight) {
        return false;
    }
    QImage scratch(width, height, QImage::Format_RGB32);
    scratch.fill(kUnset);
    {
        QPainter p(&scratch);
        p.setFont(stamp.font);
        p.setPen(QColor(255, 255, 255));
        p.drawStaticText(QPoint(margin, margin), stamp.text);
    }
    int first = -1;
    int last = -1;
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(scratch.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            if (row[x] == kUnset) {
                continue;
            }
            if (row[x] != kSet || x == 0 || y == 0 || x == width - 1 || y == height - 1) {
                return false;
            }
            first = first < 0 ? y : first;
            last = y;
        }
    }
    stamp.left = -margin;
    stamp.top = first < 0 ? 0 : first - margin;
    stamp.rows = first < 0 ? 0 : last - first + 1;
    stamp.rowStart.assign(static_cast<std::size_t>(stamp.rows) + 1, 0);
    for (int r = 0; r < stamp.rows; ++r) {
        stamp.rowStart[static_cast<std::size_t>(r)] = static_cast<uint32_t>(stamp.runs.size());
        const auto* row = reinterpret_cast<const uint32_t*>(scratch.constScanLine(first + r));
        int x = 0;
        while (x < width) {
            while (x < width && row[x] == kUnset) {
                ++x;
            }
            const int begin = x;
            while (x < width && row[x] == kSet) {
                ++x;
            }
            if (x > begin) {
                stamp.runs.push_back({static_cast<uint16_t>(begin), static_cast<uint16_t>(x)});
            }
        }
    }
    stamp.rowStart.back() = static_cast<uint32_t>(stamp.runs.size());
    return true;
}

} // namespace

const TextStamps::Stamp& TextStamps::Get(int fontKey, const QFont& font, const std::string& utf8) {
    auto [it, added] = stamps_.try_emplace({fontKey, utf8});
    Stamp& stamp = it->second;
    if (added) {
        stamp.font = font;
        stamp.text.setText(QString::fromStdString(utf8));
        stamp.text.setTextFormat(Qt::PlainText);
        stamp.text.setPerformanceHint(QStaticText::AggressiveCaching);
        stamp.text.prepare(QTransform(), font);
        if (!Record(stamp)) {
            stamp.runs.clear();
            stamp.rowStart.clear();
            stamp.rows = 0;
            stamp.drawn = true;
        }
    }
    return stamp;
}

void TextStamps::Trim() {
    if (stamps_.size() > kMaxStamps) {
        stamps_.clear();
    }
}

void TextStamps::Draw(QImage& target, const QRect& clip, const Stamp& stamp, int x, int y,
                      uint32_t argb) {
    const QRect area = clip & target.rect();
    if (area.isEmpty()) {
        return;
    }
    if (stamp.drawn) {
        QPainter p(&target);
        p.setClipRect(area);
        p.setFont(stamp.font);
        p.setPen(QColor::fromRgb(argb));
        p.drawStaticText(QPoint(x, y), stamp.text);
        return;
    }
    const int left = area.left();
    const int right = area.left() + area.width();
    const int top = std::max(area.top(), y + stamp.top);
    const int bottom = std::min(area.top() + area.height(), y + stamp.top + stamp.rows);
    uchar* const bits = target.bits();
    const qsizetype stride = target.bytesPerLine();
    const int x0 = x + stamp.left;
    for (int dy = top; dy < bottom; ++dy) {
        auto* dest = reinterpret_cast<uint32_t*>(bits + static_cast<qsizetype>(dy) * stride);
        const auto r = static_cast<std::size_t>(dy - y - stamp.top);
        for (uint32_t k = stamp.rowStart[r]; k < stamp.rowStart[r + 1]; ++k) {
            const int from = std::max(left, x0 + stamp.runs[k].begin);
            const int to = std::min(right, x0 + stamp.runs[k].end);
            if (to > from) {
                std::fill(dest + from, dest + to, argb);
            }
        }
    }
}

} // namespace kestrova
