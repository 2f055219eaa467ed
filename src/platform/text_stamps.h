#pragma once
// Lines of text laid out and drawn once, kept as the runs of pixels they set: drawing a line again
// stamps those runs in its colour. Text is drawn without smoothing, so a pixel is either the
// pen's colour or left alone, and a line drawn at another whole-pixel place sets the same
// pixels moved there; a line for which that does not hold is drawn through the toolkit each time.

#include <QFont>
#include <QStaticText>

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

class QImage;
class QRect;

namespace kestrova {

class TextStamps {
  public:
    struct Stamp {
        // Where the runs stand from the point the line is drawn at (its top-left).
        int left = 0;
        int top = 0;
        int rows = 0;
        std::vector<uint32_t> rowStart; // first run of each row; one more entry at the end
        struct Run {
            uint16_t begin;
            uint16_t end;
        };
        std::vector<Run> runs;
        // Not stamped: drawn through the toolkit (a line too long to keep, or one that smooths).
        bool drawn = false;
        QStaticText text;
        QFont font;
    };

    // The line in a font, made the first time it is asked for. `fontKey` names the font.
    const Stamp& Get(int fontKey, const QFont& font, const std::string& utf8);
    // The lines kept now.
    std::size_t Count() const { return stamps_.size(); }
    // Keeps the kept lines within a bound; stamps handed out before are gone afterwards.
    void Trim();
    // Draws the line with its top-left at (x, y) in an opaque colour, only inside `clip`.
    static void Draw(QImage& target, const QRect& clip, const Stamp& stamp, int x, int y,
                     uint32_t argb);

  private:
    std::map<std::pair<int, std::string>, Stamp> stamps_;
};

} // namespace kestrova
