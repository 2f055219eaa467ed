#include "app/state_dump.h"

#include "platform/qt_controls.h"
#include "platform/web_pane.h"
#include "shell/frame.h"
#include "shell/game_console.h"
#include "shell/main_form.h"

#include "catalogue/text.h"

#include <QJsonArray>
#include <QLineEdit>
#include <QTextEdit>

namespace kestrova {

namespace {

QString Str(const std::string& cp1252) {
    return QString::fromStdString(Cp1252ToUtf8(cp1252));
}

QJsonObject Sprite(const TSpriteRec& s) {
    QJsonObject o;
    o[QStringLiteral("x")] = s.x;
    o[QStringLiteral("y")] = s.y;
    o[QStringLiteral("dx")] = s.dx;
    o[QStringLiteral("dy")] = s.dy;
    o[QStringLiteral("image")] = s.image ? QJsonValue(Str(s.imageLabel)) : QJsonValue();
    if (s.image) {
        o[QStringLiteral("width")] = s.Width();
        o[QStringLiteral("height")] = s.Height();
    }
    return o;
}

QJsonArray Lines(const std::vector<std::string>& lines) {
    QJsonArray a;
    for (const auto& l : lines) {
        a.append(Str(l));
    }
    return a;
}

QString ColourText(TColor c) {
    return QStringLiteral("#%1%2%3")
        .arg(c & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((c >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((c >> 16) & 0xFF, 2, 16, QLatin1Char('0'))
        .toUpper();
}

} // namespace

QJsonObject StateDump(const TMainForm& form) {
    const MainState& s = form.State();
    QJsonObject o;
    o[QStringLiteral("frame")] = static_cast<qint64>(form.FrameCount());
    o[QStringLiteral("clockMs")] = static_cast<qint64>(form.ClockMs());
    o[QStringLiteral("caption")] = Str(s.caption);
    o[QStringLiteral("active")] = form.IsActive();

    o[QStringLiteral("spriteCount")] = s.spriteCount;
    o[QStringLiteral("targetPanel")] = s.targetPanel;
    o[QStringLiteral("shownPanel")] = s.shownPanel;
    o[QStringLiteral("slideState")] = s.slideState;
    o[QStringLiteral("textFirst")] = s.textFirst;
    o[QStringLiteral("textLast")] = s.textLast;
    o[QStringLiteral("captionLine")] = s.captionLine;
    o[QStringLiteral("mouseX")] = s.mouseX;
    o[QStringLiteral("mouseY")] = s.mouseY;
    o[QStringLiteral("hoverThumb")] = s.hoverThumb;
    o[QStringLiteral("prevHoverThumb")] = s.prevHoverThumb;
    o[QStringLiteral("stripSpeed")] = s.stripSpeed;
    o[QStringLiteral("spreadStep")] = s.spreadStep;
    o[QStringLiteral("spreading")] = s.spreading;
    o[QStringLiteral("infoRestY")] = s.infoRestY;
    o[QStringLiteral("menuHeight")] = s.menuHeight;
    o[QStringLiteral("menuHover")] = s.menuHover;
    o[QStringLiteral("menuLeft")] = s.menuLeft;
    o[QStringLiteral("menuButtonTop")] = s.menuButtonTop;
    o[QStringLiteral("menuWidth")] = s.menuWidth;
    o[QStringLiteral("menuTop")] = s.menuTop;
    o[QStringLiteral("hoverKey")] = Str(s.hoverKey);
    o[QStringLiteral("menuKey")] = Str(s.menuKey);
    o[QStringLiteral("pendingUrl")] = Str(s.pendingUrl);
    o[QStringLiteral("navigatePending")] = s.navigatePending;
    o[QStringLiteral("pendingLaunch")] = Str(s.pendingLaunch);
    o[QStringLiteral("curtainUp")] = s.curtainUp;
    o[QStringLiteral("firstText")] = s.firstText;
    o[QStringLiteral("noPanelYet")] = s.noPanelYet;
    o[QStringLiteral("pageSliding")] = s.pageSliding;
    o[QStringLiteral("discTwo")] = s.discTwo;
    o[QStringLiteral("topPanelDefault")] = s.topPanelDefault;
    o[QStringLiteral("sysReqLabel")] = Str(s.sysReqLabel);
    o[QStringLiteral("techSupportLabel")] = Str(s.techSupportLabel);
    o[QStringLiteral("timerActivated")] = s.timerActivated;
    o[QStringLiteral("altHeld")] = s.altHeld;
    o[QStringLiteral("typedText")] = Str(s.typedText);
    o[QStringLiteral("bannerNumber")] = s.bannerNumber;
    o[QStringLiteral("frameColour")] = ColourText(s.frameColour);
    o[QStringLiteral("lastCaptionThumb")] = s.lastCaptionThumb;
    o[QStringLiteral("randomSeed")] = static_cast<qint64>(ProgramRandom().seed);
    QJsonObject timers;
    timers[QStringLiteral("DXTimer")] = s.dxTimerEnabled;
    timers[QStringLiteral("Timer1")] = s.Timer1.enabled;
    timers[QStringLiteral("bannerpush")] = s.bannerpush.enabled;
    timers[QStringLiteral("launchit")] = s.launchit.enabled;
    timers[QStringLiteral("decellerator")] = s.decellerator.enabled;
    o[QStringLiteral("timers")] = timers;

    QJsonArray homes;
    for (int i = 0; i < kThumbHomeSlots; ++i) {
        homes.append(s.thumbHomeX[static_cast<std::size_t>(i)]);
    }
    o[QStringLiteral("thumbHomeX")] = homes;

    QJsonObject sprites;
    QJsonArray slides;
    QJsonArray thumbs;
    for (int k = 0; k < kSpriteSlots; ++k) {
        slides.append(Sprite(s.slideSprites[static_cast<std::size_t>(k)]));
        thumbs.append(Sprite(s.thumbSprites[static_cast<std::size_t>(k)]));
    }
    sprites[QStringLiteral("slideSprites")] = slides;
    sprites[QStringLiteral("thumbSprites")] = thumbs;
    sprites[QStringLiteral("demSprite")] = Sprite(s.demSprite);
    sprites[QStringLiteral("infoSprite")] = Sprite(s.infoSprite);
    sprites[QStringLiteral("botSprite")] = Sprite(s.botSprite);
    sprites[QStringLiteral("topSprite")] = Sprite(s.topSprite);
    sprites[QStringLiteral("installSprite")] = Sprite(s.installSprite);
    sprites[QStringLiteral("viewSprite")] = Sprite(s.viewSprite);
    sprites[QStringLiteral("printSprite")] = Sprite(s.printSprite);
    sprites[QStringLiteral("pageSprite")] = Sprite(s.pageSprite);
    o[QStringLiteral("sprites")] = sprites;

    o[QStringLiteral("menusource")] = Lines(s.menusource);
    QJsonObject menuBounds;
    menuBounds[QStringLiteral("left")] = s.menusourceBounds.left;
    menuBounds[QStringLiteral("top")] = s.menusourceBounds.top;
    menuBounds[QStringLiteral("width")] = s.menusourceBounds.width;
    o[QStringLiteral("menusourceBounds")] = menuBounds;

    QJsonObject web;
    if (const WebPaneWidget* pane = form.WebBrowser1()) {
        web[QStringLiteral("left")] = pane->Left();
        web[QStringLiteral("url")] = QString::fromStdString(pane->Url());
        web[QStringLiteral("onScreen")] = pane->Left() == -3;
    }
    o[QStringLiteral("web")] = web;

    QJsonObject readme;
    readme[QStringLiteral("visible")] =
        form.RichEdit1() && !form.RichEdit1()->parentWidget()->isHidden();
    readme[QStringLiteral("path")] = QString();
    o[QStringLiteral("readme")] = readme;

    QJsonObject banners;
    const char* names[] = {"GIFImage1", "adbanner", "GIFImage2"};
    for (int i = 0; i < 3; ++i) {
        const GifLabel* g = form.Banner(i);
        banners[QString::fromLatin1(names[i])] =
            g ? QString::fromStdString(g->FileName()) : QString();
    }
    o[QStringLiteral("banners")] = banners;

    QJsonObject game;
    if (const GamePanel* panel = form.gamepanel()) {
        game[QStringLiteral("visible")] = !panel->isHidden();
        game[QStringLiteral("left")] = panel->x();
        game[QStringLiteral("gamestate")] = panel->Console().game().gamestate;
        game[QStringLiteral("gamestarted")] = panel->Console().game().gamestarted;
        game[QStringLiteral("transcript")] = Lines(panel->Console().screenie());
        game[QStringLiteral("lineinput")] = panel->lineinput()->text();
    }
    o[QStringLiteral("game")] = game;

    QJsonArray launches;
    for (const auto& l : form.Launches().launches) {
        QJsonObject r;
        r[QStringLiteral("file")] = Str(l.file);
        r[QStringLiteral("parameters")] = Str(l.parameters);
        r[QStringLiteral("directory")] = Str(l.directory);
        r[QStringLiteral("showCommand")] = l.showCommand;
        launches.append(r);
    }
    o[QStringLiteral("launches")] = launches;
    o[QStringLiteral("messages")] = Lines(form.Messages().messages);
    o[QStringLiteral("fullScreen")] = s.fullScreen;
    return o;
}

} // namespace kestrova
