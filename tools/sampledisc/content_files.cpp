// The disc's pages, readmes and stand-in programs.

#include "content.h"

#include "catalogue/disc_rules.h"

#include <cctype>
#include <cstdio>
#include <set>

namespace kestrova::sampledisc {

namespace {

std::string Lower(std::string s) {
    for (char& c : s) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return s;
}

std::string Html(const std::string& s) {
    std::string out;
    for (char c : s) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string DemoPageName(size_t index) {
    char name[32];
    std::snprintf(name, sizeof name, "demo%02zu.html", index + 1);
    return name;
}

// The front end reads a command prefix only where a link to a name in the disc root puts it, so
// every command link names the disc root; the pages live one folder below it.
std::string Command(const std::string& rest) {
    return "../" + rest;
}

std::string Launch(const std::string& path) {
    return Command("claunch_" + Lower(path));
}

const char* kStyle = R"(<style type="text/css">
body { font-family: Verdana, Helvetica, sans-serif; font-size: 12px; color: #FFFFFF;
       background-color: #0A0C2A; }
a { color: #FF7A18; }
p { color: #FFFFFF; }
h1 { font-size: 22px; color: #FFD400; letter-spacing: 2px; }
h2 { font-size: 15px; color: #FF7A18; }
td { font-size: 12px; vertical-align: top; }
.box { border: 2px solid #7C28D2; background-color: #161A4A; padding: 6px; }
.small { font-size: 10px; color: #B8B8E0; }
a.button { background-color: #FF7A18; color: #0A0C2A; font-weight: bold; padding: 2px 8px;
           text-decoration: none; border: 2px outset #FFB070; }
</style>
)";

std::string PageHead(const std::string& title) {
    return "<html>\n<head>\n<title>" + Html(title) +
           "</title>\n<meta http-equiv=\"Content-Type\" content=\"text/html; "
           "charset=windows-1252\">\n" +
           kStyle +
           "</head>\n<body bgcolor=\"#0A0C2A\" text=\"#FFFFFF\" link=\"#FF7A18\" "
           "vlink=\"#FFB070\" alink=\"#FFD400\" leftmargin=\"12\" topmargin=\"8\">\n";
}

std::string NavBar() {
    return "<table width=\"100%\" cellspacing=\"0\" cellpadding=\"4\"><tr bgcolor=\"#2A1460\">"
           "<td><img src=\"images/masthead.gif\" width=\"200\" height=\"40\" "
           "alt=\"Kestrova CD-ROM\"></td>"
           "<td align=\"right\"><a href=\"demos.html\">Demos</a> | "
           "<a href=\"add-ons.html\">Add-Ons</a> | <a href=\"utilities.html\">Utilities</a> | "
           "<a href=\"support.html\">Support</a> | <a href=\"tobrik.html\">Tobrik</a> | "
           "<a href=\"database.html\">Database</a> | "
           "<a href=\"" +
           Command("command_exit") + "\">Quit the disc</a></td></tr></table>\n";
}

std::string PageFoot() {
    const auto& issue = Issue();
    return "<p class=\"small\">Kestrova issue " + std::to_string(issue.number) + ", " +
           issue.month +
           ". All games and companies on this page are inventions of the sample disc.</p>\n"
           "</body>\n</html>\n";
}

std::string MenuPage(const std::string& title, const std::string& intro,
                     const std::vector<MenuTarget>& items) {
    std::string page = PageHead(title) + NavBar() + "<h1>" + Html(title) + "</h1>\n<p>" +
                       Html(intro) + "</p>\n<table class=\"box\" width=\"96%\">\n";
    for (const MenuTarget& item : items) {
        if (item.target.empty()) {
            // A page sets its headings apart by itself: the menu's dashes and blank lines go.
            const std::string heading = MenuHeadingWords(item.caption);
            if (!heading.empty()) {
                page += "<tr><td colspan=\"2\"><h2>" + Html(heading) + "</h2></td></tr>\n";
            }
        } else {
            page += "<tr><td>" + Html(item.caption) +
                    "</td><td align=\"right\"><a class=\"button\" "
                    "href=\"" +
                    Launch(item.target) + "\">Install</a></td></tr>\n";
        }
    }
    return page + "</table>\n" + PageFoot();
}

} // namespace

std::vector<TextFile> Pages() {
    std::vector<TextFile> pages;
    const auto& demos = Demos();
    const auto& issue = Issue();

    pages.push_back(
        {"engine/loading.html",
         PageHead("Kestrova CD-ROM") +
             "<table width=\"100%\" height=\"300\"><tr><td align=\"center\" valign=\"middle\">\n"
             "<img src=\"../pages/images/masthead.gif\" width=\"400\" height=\"80\" "
             "alt=\"KESTROVA CD-ROM\">\n<p>Issue " +
             std::to_string(issue.number) + " &middot; " + issue.month +
             "</p>\n<p class=\"small\">Loading the page you asked for&hellip;</p>\n"
             "<p><a href=\"../pages/demos.html\">All the demos</a> | "
             "<a href=\"../pages/support.html\">Disc help</a> | "
             "<a href=\"" +
             Command("command_exit") +
             "\">Quit the disc</a></p>\n"
             "</td></tr></table>\n" +
             PageFoot()});

    std::string list = PageHead("Demos") + NavBar() + "<h1>THIS MONTH'S DEMOS</h1>\n" +
                       "<p>Click a title for the full story, or install straight away.</p>\n" +
                       "<table class=\"box\" width=\"96%\" cellpadding=\"4\">\n";
    for (size_t i = 0; i < demos.size(); ++i) {
        const Demo& d = demos[i];
        list += "<tr><td><a href=\"" + DemoPageName(i) + "\"><b>" + Html(d.title) +
                "</b></a><br><span class=\"small\">" + Html(d.maker) + " &middot; " +
                Html(d.genre) + "</span></td><td align=\"right\">";
        if (d.install != kRecordNone) {
            list += "<a class=\"button\" href=\"" + Launch(d.install) + "\">Install</a>";
        } else {
            list += "<span class=\"small\">preview only</span>";
        }
        list += "</td></tr>\n";
    }
    list += "</table>\n" + PageFoot();
    pages.push_back({"pages/demos.html", list});

    for (size_t i = 0; i < demos.size(); ++i) {
        const Demo& d = demos[i];
        std::string page = PageHead(d.title) + NavBar() + "<h1>" + Html(d.title) + "</h1>\n" +
                           "<p class=\"small\">" + Html(d.maker) + " &middot; " + Html(d.genre) +
                           "</p>\n<table width=\"96%\"><tr><td width=\"60%\">\n<img src=\"images/" +
                           DemoPageName(i).substr(0, 6) +
                           ".gif\" width=\"320\" height=\"160\" alt=\"" + Html(d.title) +
                           "\">\n<p>";
        for (const auto& line : d.blurb) {
            page += Html(line) + "\n";
        }
        page += "</p>\n<p>";
        if (d.install != kRecordNone) {
            page += "<a class=\"button\" href=\"" + Launch(d.install) + "\">Install the demo</a> ";
        }
        if (d.secondExe != kRecordNone) {
            page += "<a class=\"button\" href=\"" + Launch(kSecondProgramFolder + d.secondExe) +
                    "\">Run from the disc</a>";
        }
        page += "</p>\n</td><td class=\"box\">\n<h2>You will need</h2>\n<p>";
        for (const auto& line : d.requirements) {
            page += Html(line) + "<br>\n";
        }
        page += "</p>\n<h2>Support</h2>\n<p>" + Html(d.support) +
                "</p>\n</td></tr></table>\n<p><a href=\"demos.html\">Back to the demos</a></p>\n" +
                PageFoot();
        pages.push_back({"pages/" + DemoPageName(i), page});
    }

    pages.push_back(
        {"pages/add-ons.html", MenuPage("Add-Ons",
                                        "Extra missions, stages and maps for the games you "
                                        "already own, plus the best of our readers' work.",
                                        AddOns())});
    pages.push_back(
        {"pages/utilities.html", MenuPage("Utilities",
                                          "Handy tools and this month's patches. Each one "
                                          "installs from the disc.",
                                          Utilities())});

    pages.push_back(
        {"pages/support.html",
         PageHead("Disc help") + NavBar() +
             "<h1>DISC HELP</h1>\n<div class=\"box\">\n"
             "<h2>The disc will not start</h2>\n<p>Open the disc in your file manager and run "
             "the front end from its root folder.</p>\n"
             "<h2>A demo will not install</h2>\n<p>Check the free space on your hard disk "
             "against the panel's requirements, then try the disc doctor:</p>\n"
             "<p><a class=\"button\" href=\"" +
             Launch("Utils/DiscDoctor/discdoc.exe") +
             "\">Run the disc doctor</a></p>\n"
             "<h2>Still stuck?</h2>\n<p>Each demo panel shows its maker's support line. For "
             "problems with the disc itself see <a href=\"contact.html\">contacting the CD "
             "editor</a>.</p>\n</div>\n" +
             PageFoot()});

    pages.push_back(
        {"pages/contact.html",
         PageHead("Contact the CD editor") + NavBar() +
             "<h1>CONTACT THE CD EDITOR</h1>\n<div class=\"box\">\n<p>Write to the CD editor at "
             "<b>cd@kestrova.example.com</b> or call the disc helpline on "
             "<b>01632 960300</b>, weekdays 10am to 4pm.</p>\n<p>Please tell us the issue "
             "number, what you clicked and what happened.</p>\n</div>\n" +
             PageFoot()});

    pages.push_back(
        {"pages/tobrik.html",
         PageHead("Tobrik") + NavBar() +
             "<h1>TOBRIK'S CORNER</h1>\n<div class=\"box\">\n<img src=\"images/tobrik.gif\" "
             "width=\"120\" height=\"140\" align=\"right\" alt=\"Tobrik\">\n"
             "<p>Tobrik, our mascot, has "
             "wandered off into his own text adventure again. Open the <b>Tobrik</b> menu at "
             "the top of the screen and choose <i>Play Tobrik's adventure</i> to help him "
             "home.</p>\n<p>Type short commands such as <b>look</b>, <b>go north</b> or "
             "<b>take lamp</b>.</p>\n<p><a class=\"button\" href=\"" +
             Launch("Exes/tobrik_desktop.exe") +
             "\">Install the Tobrik desktop pack</a></p>\n</div>\n" + PageFoot()});

    pages.push_back(
        {"pages/database.html",
         PageHead("Database") + NavBar() +
             "<h1>THE KESTROVA DATABASE</h1>\n<div class=\"box\">\n<p>Every review, cheat and "
             "tip from the last three years of the magazine, searchable by game and by "
             "platform.</p>\n<p><a class=\"button\" href=\"" +
             Launch(kDatabaseProgram) + "\">Open the database</a></p>\n</div>\n" + PageFoot()});
    return pages;
}

namespace {

std::string Rtf(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '\\' || c == '{' || c == '}') {
            out += '\\';
        }
        out += c;
    }
    return out;
}

} // namespace

std::vector<TextFile> Readmes() {
    std::vector<TextFile> files;
    const auto& issue = Issue();
    for (const Demo& d : Demos()) {
        std::string r;
        r += "{\\rtf1\\ansi\\ansicpg1252\\deff0\n";
        r += "{\\fonttbl{\\f0\\fswiss\\fcharset0 Sans;}{\\f1\\froman\\fcharset0 Serif;}"
             "{\\f2\\fmodern\\fcharset0 Mono;}}\n";
        r += "{\\colortbl;\\red10\\green12\\blue42;\\red230\\green96\\blue16;"
             "\\red124\\green40\\blue210;\\red90\\green90\\blue90;}\n";
        r += "\\viewkind4\\uc1\\pard\\sa120\\f0\\fs32\\cf3\\b " + Rtf(d.title) + "\\b0\\par\n";
        r += "\\fs18\\cf4\\i " + Rtf(d.maker) + " - " + Rtf(d.genre) + " - demo version\\i0\\par\n";
        r += "\\pard\\sa80\\fs20\\cf1\\f1 ";
        for (const auto& line : d.blurb) {
            r += Rtf(line) + " ";
        }
        r += "\\par\n";
        r += "\\f0\\fs22\\cf2\\b Installing\\b0\\par\n\\fs20\\cf1\\f1 ";
        if (d.install != kRecordNone) {
            r += "Click \\b Install now\\b0  on the demo's panel, or run \\f2 " + Rtf(d.install) +
                 "\\f1  from the disc. The installer asks for a folder and copies the demo "
                 "there.\\par\n";
        } else {
            r += "Nothing to install: this preview plays from the disc's pages.\\par\n";
        }
        r += "\\f0\\fs22\\cf2\\b You will need\\b0\\par\n\\fs20\\cf1\\f1 ";
        for (const auto& line : d.requirements) {
            r += "\\bullet  " + Rtf(line) + "\\line\n";
        }
        r += "\\par\n\\f0\\fs22\\cf2\\b Controls\\b0\\par\n\\fs20\\cf1\\f1 ";
        r += "Arrow keys move, \\b Space\\b0  fires or jumps, \\b Esc\\b0  opens the demo's menu. "
             "\\i Joypads are supported where the requirements say so.\\i0\\par\n";
        r += "\\f0\\fs22\\cf2\\b Support\\b0\\par\n\\fs20\\cf1\\f1 " + Rtf(d.support) + "\\par\n";
        r += "\\pard\\qc\\fs16\\cf4\\i Kestrova issue " + std::to_string(issue.number) + ", " +
             Rtf(issue.month) +
             ". This demo and its maker are inventions of the sample disc.\\i0\\par\n}\n";
        files.push_back({kReadmeFolder + d.readme, r});
    }
    return files;
}

namespace {

std::string Script(const std::string& name, const std::string& title) {
    return "#!/bin/sh\n"
           "# Stand-in for \"" +
           name +
           "\" on the Kestrova sample disc: it records that it ran and, where it can,\n"
           "# says so on screen. It changes nothing else.\n"
           "log=\"${KESTROVA_RUN_LOG:-/tmp/kestrova-ran.log}\"\n"
           "echo \"" +
           name +
           " ran with: $*\" >> \"$log\" 2>/dev/null\n"
           "if [ -n \"$DISPLAY\" ] && command -v xmessage >/dev/null 2>&1; then\n"
           "    xmessage -center -timeout 5 \"" +
           title + " (" + name +
           "): the sample disc's stand-in program ran.\" >/dev/null 2>&1 &\n"
           "fi\n"
           "exit 0\n";
}

} // namespace

std::vector<TextFile> Programs() {
    std::vector<TextFile> files;
    std::set<std::string> done;
    auto add = [&](const std::string& path, const std::string& title) {
        if (path.empty() || path == kRecordNone || !done.insert(Lower(path)).second) {
            return;
        }
        const std::string name = path.substr(path.find_last_of('/') + 1);
        files.push_back({path, Script(name, title), true});
    };
    for (const Demo& d : Demos()) {
        add(d.install, d.title + " setup");
        if (d.secondExe != kRecordNone) {
            add(kSecondProgramFolder + d.secondExe, d.title);
        }
    }
    for (const auto* block : {&Utilities(), &AddOns()}) {
        for (const MenuTarget& item : *block) {
            add(item.target, item.caption);
        }
    }
    for (const auto* block : {&SupportLinks(), &TobrikLinks()}) {
        for (const MenuTarget& item : *block) {
            if (ClassifyTarget(item.target) == TargetKind::Program) {
                add(std::string(ProgramOfTarget(item.target)), item.caption);
            }
        }
    }
    for (const BannerTarget& b : Banners()) {
        if (!IsWebAddress(b.target)) {
            add(b.target, b.headline);
        }
    }
    // The database zone starts this program; "databases/" and "Databases/" are one folder on
    // the systems discs are made for, and it is kept in the one the readmes use.
    const std::string_view database = kDatabaseProgram;
    add(kReadmeFolder + std::string(database.substr(database.find('/') + 1)), "Kestrova database");
    return files;
}

} // namespace kestrova::sampledisc
