#include "menu_fit.h"

#include "artwork.h"

#include "base/text.h"
#include "catalogue/disc_rules.h"
#include "catalogue/line_list.h"
#include "engine/disc_requirements.h"
#include "engine/menus.h"
#include "platform/dxdraw.h"

#include <QFontMetrics>
#include <QString>

namespace kestrova::sampledisc {

std::vector<MenuOverflow> MenuOverflows(const std::vector<std::string>& lines) {
    LineList list;
    for (const std::string& line : lines) {
        list.Add(line);
    }
    const int panels = StrToInt(list.KeyValue(kSpriteCountKey));
    FontSpec face;
    face.face = FontFace::Small;
    face.pixelHeight = MenuLineHeight();
    const QFontMetrics metrics(FontFor(face));
    std::vector<MenuOverflow> overflows;
    for (const TopZone& zone : TopZones()) {
        // Lines are written 5 pixels into the box, whose outline takes its last pixel column.
        const int room = zone.right - zone.left - 5 - 1;
        for (const std::string& caption : MenuCaptions(list, zone.key, panels)) {
            const std::string shown = caption.substr(0, kMenuCaptionWidth);
            const int width =
                metrics.horizontalAdvance(QString::fromStdString(Cp1252ToUtf8(shown)));
            if (width > room) {
                overflows.push_back({zone.key, caption, width, room});
            }
        }
    }
    return overflows;
}

} // namespace kestrova::sampledisc
