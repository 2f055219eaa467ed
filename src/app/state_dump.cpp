#include "app/state_dump.h"

#include "engine/handler_variables.h"
#include "engine/keyboard_focus.h"
#include "engine/random.h"
#include "platform/qt_controls.h"
#include "platform/readme_pane.h"
#include "platform/web_pane.h"
#include "ui/editor_form.h"
#include "ui/game_panel.h"
#include "ui/main_form.h"

#include "base/code_page.h"

#include <QJsonArray>
#include <QLineEdit>

#include <optional>
#include <type_traits>
#include <variant>

namespace kestrova {

namespace {

// Every text of the window is the disc's bytes, read in the code page the disc's lines carry.
QString Str(const std::string& bytes, CodePage page) {
    return QString::fromStdString(DecodeText(bytes, page));
}

QJsonObject Sprite(const TSpriteRec& s, CodePage page) {
    QJsonObject o;
    o[QStringLiteral("x")] = s.x;
    o[QStringLiteral("y")] = s.y;
    o[QStringLiteral("dx")] = s.dx;
    o[QStringLiteral("dy")] = s.dy;
    o[QStringLiteral("image")] = s.image ? QJsonValue(Str(s.imageLabel, page)) : QJsonValue();
    if (s.image) {
        o[QStringLiteral("width")] = s.Width();
        o[QStringLiteral("height")] = s.Height();
    }
    return o;
}

QJsonArray LinesOf(const std::vector<std::string>& bytes, CodePage page) {
    QJsonArray a;
    for (const auto& l : bytes) {
        a.append(Str(l, page));
    }
    return a;
}

// The game keeps its transcript as UTF-8 text.
QJsonArray Utf8Lines(const std::vector<std::string>& utf8) {
    QJsonArray a;
    for (const auto& l : utf8) {
        a.append(QString::fromStdString(l));
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
    const CodePage page = s.source.Page();
    QJsonObject o;
    const FrontEnd& engine = form.Engine();
    o[QStringLiteral("frame")] = static_cast<qint64>(engine.FrameCount());
    o[QStringLiteral("clockMs")] = static_cast<qint64>(engine.ClockMs());
    o[QStringLiteral("caption")] = Str(s.caption, page);
    o[QStringLiteral("active")] = engine.IsActive();

    // Every handler variable under its own name.
    for (const HandlerVariable& v : HandlerVariableTable()) {
        const QString name = QString::fromLatin1(v.name);
        std::visit(
            [&](auto member) {
                const auto& value = s.*member;
                using T = std::decay_t<decltype(value)>;
                if constexpr (std::is_same_v<T, std::string>) {
                    o[name] = Str(value, page);
                } else if constexpr (std::is_same_v<T, Lines>) {
                    o[name] = LinesOf(value, page);
                } else {
                    o[name] = value;
                }
            },
            v.member);
    }
    o[QStringLiteral("frameColour")] = ColourText(s.frameColour);
    o[QStringLiteral("randomSeed")] = static_cast<qint64>(ProgramRandom().seed);
    QJsonObject timers;
    for (const TimerSlot& t : s.timers.Slots()) {
        timers[QString::fromLatin1(t.name)] = t.enabled;
    }
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
        slides.append(Sprite(s.slideSprites[static_cast<std::size_t>(k)], page));
        thumbs.append(Sprite(s.thumbSprites[static_cast<std::size_t>(k)], page));
    }
    sprites[QStringLiteral("slideSprites")] = slides;
    sprites[QStringLiteral("thumbSprites")] = thumbs;
    sprites[QStringLiteral("demSprite")] = Sprite(s.demSprite, page);
    sprites[QStringLiteral("infoSprite")] = Sprite(s.infoSprite, page);
    sprites[QStringLiteral("botSprite")] = Sprite(s.botSprite, page);
    sprites[QStringLiteral("topSprite")] = Sprite(s.topSprite, page);
    sprites[QStringLiteral("installSprite")] = Sprite(s.installSprite, page);
    sprites[QStringLiteral("viewSprite")] = Sprite(s.viewSprite, page);
    sprites[QStringLiteral("printSprite")] = Sprite(s.printSprite, page);
    sprites[QStringLiteral("pageSprite")] = Sprite(s.pageSprite, page);
    o[QStringLiteral("sprites")] = sprites;

    QJsonObject menuBounds;
    menuBounds[QStringLiteral("left")] = s.menusourceBounds.left;
    menuBounds[QStringLiteral("top")] = s.menusourceBounds.top;
    menuBounds[QStringLiteral("width")] = s.menusourceBounds.width;
    o[QStringLiteral("menusourceBounds")] = menuBounds;

    // The keyboard's focus: where it is, and the ring's rectangle while it is drawn (right and
    // bottom exclusive).
    QJsonObject focus;
    focus[QStringLiteral("kind")] = s.focus.kind == FocusKind::Zone   ? QStringLiteral("zone")
                                    : s.focus.kind == FocusKind::Line ? QStringLiteral("line")
                                                                      : QStringLiteral("none");
    focus[QStringLiteral("zone")] = QString::fromStdString(s.focus.zone);
    focus[QStringLiteral("line")] = s.focus.line;
    const std::optional<Rect> ring = FocusRingRect(s);
    focus[QStringLiteral("ringShown")] = ring.has_value();
    if (ring) {
        focus[QStringLiteral("left")] = ring->left;
        focus[QStringLiteral("top")] = ring->top;
        focus[QStringLiteral("right")] = ring->left + ring->width;
        focus[QStringLiteral("bottom")] = ring->top + ring->height;
    }
    o[QStringLiteral("focus")] = focus;

    QJsonObject web;
    if (const WebPaneWidget* pane = form.WebBrowser1()) {
        web[QStringLiteral("left")] = pane->Left();
        web[QStringLiteral("url")] = QString::fromStdString(pane->Url());
        web[QStringLiteral("onScreen")] = PaneOnScreen(*pane);
        // The browser engine starts only when a page is wanted; the light pane is always ready.
        web[QStringLiteral("engineStarted")] = pane->EngineStarted();
    }
    o[QStringLiteral("web")] = web;

    QJsonObject readme;
    if (const ReadmePaneWidget* pane = form.Panel4()) {
        readme[QStringLiteral("visible")] = pane->Visible();
        readme[QStringLiteral("path")] = Str(pane->Path(), page);
        readme[QStringLiteral("text")] = QString::fromStdString(pane->PlainText());
    }
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
        const GameConsole& console = engine.Game().Console();
        game[QStringLiteral("gamestate")] = console.game().gamestate;
        game[QStringLiteral("gamestarted")] = console.game().gamestarted;
        game[QStringLiteral("transcript")] = Utf8Lines(console.screenie());
        game[QStringLiteral("lineinput")] = panel->lineinput()->text();
    }
    o[QStringLiteral("game")] = game;

    QJsonArray launches;
    const auto* recorded = dynamic_cast<const RecordingLauncher*>(&form.Launches());
    for (const auto& l : recorded ? recorded->launches : std::vector<LaunchRecord>{}) {
        QJsonObject r;
        r[QStringLiteral("file")] = Str(l.file, page);
        r[QStringLiteral("parameters")] = Str(l.parameters, page);
        r[QStringLiteral("directory")] = Str(l.directory, page);
        r[QStringLiteral("showCommand")] = l.showCommand;
        launches.append(r);
    }
    o[QStringLiteral("launches")] = launches;
    // The notice of the last program start over the menu (already UTF-8): empty while none is up.
    o[QStringLiteral("notice")] = QString::fromStdString(s.notice.text);
    o[QStringLiteral("noticeFailure")] = s.notice.failure;
    o[QStringLiteral("messages")] = LinesOf(form.Messages().messages, page);
    o[QStringLiteral("sounds")] = LinesOf(form.SoundsPlayed(), page);
    o[QStringLiteral("fullScreen")] = s.fullScreen;
    // Screen pixels per window pixel: --scale, or the screen's density made whole.
    o[QStringLiteral("windowScale")] = form.devicePixelRatioF();

    // The disc editor: its window, title list and entry numbers, and what its boxes and working
    // copy of the lines hold.
    QJsonObject editor;
    if (const Tform1* window = form.Editor()) {
        const EditorState& e = window->State();
        editor[QStringLiteral("visible")] = window->isVisible();
        editor[QStringLiteral("caption")] = window->windowTitle();
        QJsonArray features;
        QJsonArray featureEntries;
        for (const TitleLine& line : e.features) {
            features.append(Str(line.text, page));
            featureEntries.append(line.entry);
        }
        editor[QStringLiteral("features")] = features;
        editor[QStringLiteral("featureEntries")] = featureEntries;
        editor[QStringLiteral("selected")] = e.selected;
        editor[QStringLiteral("currentEntry")] = e.currentEntry;
        editor[QStringLiteral("lastEntry")] = e.lastEntry;
        QJsonObject boxes;
        for (std::size_t i = 0; i < e.boxes.size(); ++i) {
            boxes[QString::fromLatin1(RecordBoxes()[i].control)] = Str(e.boxes[i], page);
        }
        editor[QStringLiteral("boxes")] = boxes;
        editor[QStringLiteral("source")] = LinesOf(e.source.Lines(), page);
        editor[QStringLiteral("messages")] = Utf8Lines(e.messages);
    }
    o[QStringLiteral("editor")] = editor;
    return o;
}

} // namespace kestrova
