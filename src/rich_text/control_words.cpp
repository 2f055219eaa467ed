#include "rich_text/control_words.h"

#include <utility>

namespace kestrova::rtf {

const std::unordered_map<std::string_view, Word>& Words() {
    static const std::unordered_map<std::string_view, Word> words = [] {
        std::unordered_map<std::string_view, Word> w;
        // Groups whose content is not text of the document. (Any group opened with "\*" is
        // skipped too, unless it is known, and none of those hold text that is shown.)
        for (std::string_view name : {"aftncn",
                                      "aftnsep",
                                      "aftnsepc",
                                      "annotation",
                                      "atnauthor",
                                      "atnid",
                                      "author",
                                      "bkmkend",
                                      "bkmkstart",
                                      "buptim",
                                      "colorschememapping",
                                      "comment",
                                      "company",
                                      "creatim",
                                      "datastore",
                                      "doccomm",
                                      "docvar",
                                      "falt",
                                      "fchars",
                                      "filetbl",
                                      "fldinst",
                                      "footer",
                                      "footerf",
                                      "footerl",
                                      "footerr",
                                      "footnote",
                                      "ftncn",
                                      "ftnsep",
                                      "ftnsepc",
                                      "generator",
                                      "header",
                                      "headerf",
                                      "headerl",
                                      "headerr",
                                      "info",
                                      "keywords",
                                      "latentstyles",
                                      "lchars",
                                      "listoverridetable",
                                      "listtable",
                                      "mmathPr",
                                      "nonesttables",
                                      "nonshppict",
                                      "objclass",
                                      "objdata",
                                      "objname",
                                      "operator",
                                      "panose",
                                      "pgdsctbl",
                                      "pict",
                                      "pn",
                                      "pntxta",
                                      "pntxtb",
                                      "printim",
                                      "private",
                                      "revtbl",
                                      "revtim",
                                      "rsidtbl",
                                      "rxe",
                                      "stylesheet",
                                      "subject",
                                      "tc",
                                      "template",
                                      "themedata",
                                      "title",
                                      "txe",
                                      "userprops",
                                      "wgrffmtfilter",
                                      "xe",
                                      "xmlnstbl"}) {
            w.emplace(name, Word{Op::SkipDestination});
        }
        w.emplace("fonttbl", Word{Op::FontTable});
        w.emplace("ansi", Word{Op::CharacterSet, 0});
        w.emplace("mac", Word{Op::CharacterSet, 10000});
        w.emplace("pc", Word{Op::CharacterSet, 437});
        w.emplace("pca", Word{Op::CharacterSet, 850});
        w.emplace("ansicpg", Word{Op::AnsiCodePage});
        w.emplace("fcharset", Word{Op::FontCharset});
        w.emplace("cpg", Word{Op::FontCodePage});
        w.emplace("colortbl", Word{Op::ColourTable});
        w.emplace("f", Word{Op::Font});
        w.emplace("deff", Word{Op::DefaultFont});
        w.emplace("fs", Word{Op::Size});
        w.emplace("b", Word{Op::Bold});
        w.emplace("i", Word{Op::Italic});
        for (std::string_view name :
             {"ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave", "ulldash", "ulth",
              "ulthd", "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash", "ululdbwave", "ulw",
              "ulwave"}) {
            w.emplace(name, Word{Op::Underline});
        }
        w.emplace("ulnone", Word{Op::UnderlineNone});
        w.emplace("cf", Word{Op::Colour});
        w.emplace("v", Word{Op::Hidden});
        w.emplace("plain", Word{Op::Plain});
        w.emplace("pard", Word{Op::Pard});
        w.emplace("ql", Word{Op::Align, 0, RichAlignment::Left});
        w.emplace("qc", Word{Op::Align, 0, RichAlignment::Centre});
        w.emplace("qr", Word{Op::Align, 0, RichAlignment::Right});
        w.emplace("qj", Word{Op::Align, 0, RichAlignment::Justify});
        w.emplace("qd", Word{Op::Align, 0, RichAlignment::Justify});
        w.emplace("par", Word{Op::Par});
        w.emplace("sect", Word{Op::Par});
        w.emplace("page", Word{Op::Par});
        w.emplace("cell", Word{Op::Cell});
        w.emplace("nestcell", Word{Op::Cell});
        w.emplace("row", Word{Op::Row});
        w.emplace("nestrow", Word{Op::Row});
        w.emplace("red", Word{Op::Red});
        w.emplace("green", Word{Op::Green});
        w.emplace("blue", Word{Op::Blue});
        w.emplace("u", Word{Op::Unicode});
        w.emplace("uc", Word{Op::UnicodeSkip});
        const std::pair<std::string_view, char32_t> characters[] = {
            {"line", '\n'},        {"tab", '\t'},       {"bullet", 0x2022},  {"endash", 0x2013},
            {"emdash", 0x2014},    {"lquote", 0x2018},  {"rquote", 0x2019},  {"ldblquote", 0x201C},
            {"rdblquote", 0x201D}, {"enspace", 0x2002}, {"emspace", 0x2003}, {"qmspace", 0x2005},
            {"zwj", 0x200D},       {"zwnj", 0x200C},
        };
        for (const auto& [name, cp] : characters) {
            w.emplace(name, Word{Op::Character, cp});
        }
        return w;
    }();
    return words;
}

} // namespace kestrova::rtf
