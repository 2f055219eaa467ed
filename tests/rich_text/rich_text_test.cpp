// The readme reader: what common writers put in a file comes out as text with its formatting, and
// broken or hostile files give a bounded, well-formed result instead of a crash or a hang.

#include "rich_text/rich_text.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace kestrova {
namespace {

// The run whose whole text is `text`, in any paragraph.
const RichRun* RunOf(const RichText& doc, std::string_view text) {
    for (const RichParagraph& p : doc.paragraphs) {
        for (const RichRun& r : p.runs) {
            if (r.text == text) {
                return &r;
            }
        }
    }
    return nullptr;
}

std::vector<std::string> Lines(const RichText& doc) {
    std::vector<std::string> lines;
    for (const RichParagraph& p : doc.paragraphs) {
        std::string line;
        for (const RichRun& r : p.runs) {
            line += r.text;
        }
        lines.push_back(line);
    }
    return lines;
}

bool ValidUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        const std::size_t n = b < 0x80         ? 1
                              : (b >> 5) == 6  ? 2
                              : (b >> 4) == 14 ? 3
                              : (b >> 3) == 30 ? 4
                                               : 0;
        if (n == 0 || i + n > s.size()) {
            return false;
        }
        for (std::size_t k = 1; k < n; ++k) {
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += n;
    }
    return true;
}

// Every property a caller relies on, whatever the input.
void ExpectWellFormed(const RichText& doc) {
    EXPECT_LE(doc.paragraphs.size(), kRichTextMaxParagraphs);
    std::size_t bytes = 0;
    std::size_t runs = 0;
    for (const RichParagraph& p : doc.paragraphs) {
        for (const RichRun& r : p.runs) {
            EXPECT_FALSE(r.text.empty());
            EXPECT_TRUE(ValidUtf8(r.text));
            EXPECT_GE(r.size, 0.0);
            EXPECT_LE(r.size, 1638.0);
            bytes += r.text.size();
            ++runs;
        }
    }
    EXPECT_LE(bytes, kRichTextMaxTextBytes);
    EXPECT_LE(runs, kRichTextMaxRuns);
}

TEST(RichTextWriters, PlainDocument) {
    const RichText doc = ParseRtf("{\\rtf1\\ansi Hello\\par World\\par}");
    EXPECT_EQ(Lines(doc), (std::vector<std::string>{"Hello", "World"}));
    EXPECT_EQ(doc.PlainText(), "Hello\nWorld");
    ASSERT_NE(RunOf(doc, "Hello"), nullptr);
    EXPECT_EQ(RunOf(doc, "Hello")->size, 12.0); // the format's own default size
    EXPECT_FALSE(RunOf(doc, "Hello")->colour.has_value());
    EXPECT_FALSE(doc.truncated);
}

// In the manner of a word processor: tables of fonts, colours and styles, document information,
// a generator stamp, code-page escapes and character formatting switched on and off.
constexpr std::string_view kWordProcessor =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033"
    "{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
    "{\\f1\\froman\\fprq2\\fcharset0 Times New Roman{\\*\\falt Times};}}\r\n"
    "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue128;}\r\n"
    "{\\stylesheet{\\s0 Normal;}{\\s1\\b\\fs32 heading 1;}}\r\n"
    "{\\*\\generator Msftedit 5.41.21.2510;}{\\info{\\title Readme}{\\author Someone}}\r\n"
    "\\viewkind4\\uc1\\pard\\qc\\f0\\fs32\\b Caf\\'e9 Racer\\b0\\par\r\n"
    "\\pard\\f1\\fs20 Plain, {\\b bold}, {\\i italic}, \\ul under\\ulnone , \\cf1 red\\cf0  and "
    "\\cf2\\ul navy\\ul0\\cf0 . \\'80 5\\par\r\n"
    "\\pard\\qr\\plain right\\par\r\n"
    "}\r\n";

TEST(RichTextWriters, WordProcessorFormatting) {
    const RichText doc = ParseRtf(kWordProcessor);
    ASSERT_EQ(doc.paragraphs.size(), 3u);
    EXPECT_EQ(Lines(doc)[0], "Café Racer");
    EXPECT_EQ(Lines(doc)[1], "Plain, bold, italic, under, red and navy. € 5");
    EXPECT_EQ(doc.paragraphs[0].alignment, RichAlignment::Centre);
    EXPECT_EQ(doc.paragraphs[1].alignment, RichAlignment::Left);
    EXPECT_EQ(doc.paragraphs[2].alignment, RichAlignment::Right);

    const RichRun* title = RunOf(doc, "Café Racer");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->font, "Arial");
    EXPECT_EQ(title->size, 16.0);
    EXPECT_TRUE(title->bold);

    const RichRun* plain = RunOf(doc, "Plain, ");
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->font, "Times New Roman"); // the alternative name is not part of it
    EXPECT_EQ(plain->size, 10.0);
    EXPECT_FALSE(plain->bold || plain->italic || plain->underline);

    ASSERT_NE(RunOf(doc, "bold"), nullptr);
    EXPECT_TRUE(RunOf(doc, "bold")->bold);
    EXPECT_FALSE(RunOf(doc, "bold")->italic);
    ASSERT_NE(RunOf(doc, "italic"), nullptr);
    EXPECT_TRUE(RunOf(doc, "italic")->italic);
    EXPECT_FALSE(RunOf(doc, "italic")->bold); // the group's end restored the state
    ASSERT_NE(RunOf(doc, "under"), nullptr);
    EXPECT_TRUE(RunOf(doc, "under")->underline);

    ASSERT_NE(RunOf(doc, "red"), nullptr);
    EXPECT_EQ(RunOf(doc, "red")->colour, 0xFF0000u);
    ASSERT_NE(RunOf(doc, "navy"), nullptr);
    EXPECT_EQ(RunOf(doc, "navy")->colour, 0x000080u);
    EXPECT_TRUE(RunOf(doc, "navy")->underline);
    ASSERT_NE(RunOf(doc, " and "), nullptr);
    EXPECT_FALSE(RunOf(doc, " and ")->colour.has_value()); // \cf0 is the "auto" entry

    const RichRun* right = RunOf(doc, "right");
    ASSERT_NE(right, nullptr);
    EXPECT_EQ(right->font, "Arial"); // \plain goes back to the default font and size
    EXPECT_EQ(right->size, 12.0);

    const std::string text = doc.PlainText();
    for (const char* hidden : {"Msftedit", "heading", "Normal", "Readme", "Someone", "Times;"}) {
        EXPECT_EQ(text.find(hidden), std::string::npos) << hidden;
    }
}

// A table, Unicode escapes with their fallbacks, and the special characters.
constexpr std::string_view kTableAndUnicode =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Courier New;}}\n"
    "\\trowd\\trgaph108\\cellx2000\\cellx4000\\cellx6000\n"
    "\\pard\\intbl Item\\cell Price\\cell Note\\cell\\row\n"
    "\\trowd\\cellx2000\\cellx4000\\cellx6000\n"
    "\\pard\\intbl Game\\cell 5\\u8364?\\cell\\cell {\\uc0\\u8212}ok\\u8364?\\cell\\row\n"
    "\\pard\\uc2\\u8220\\'93\\'93quoted\\u8221??\\par\n"
    "\\uc1 Smile \\u-10179?\\u-8704?\\par\n"
    "a\\~b\\-c\\_d\\tab e\\line f\\bullet\\{\\}\\\\\\par\n"
    "}";

TEST(RichTextWriters, TableRowsUnicodeAndSymbols) {
    const RichText doc = ParseRtf(kTableAndUnicode);
    EXPECT_EQ(Lines(doc), (std::vector<std::string>{
                              "Item\tPrice\tNote",
                              "Game\t5€\t\t—ok€", // an empty cell keeps its column
                              "“quoted”",
                              "Smile 😀", // a surrogate pair written as two escapes
                              "a\u00A0bc\u2011d\te\nf•{}\\",
                          }));
    ASSERT_FALSE(doc.paragraphs.empty());
    EXPECT_EQ(doc.paragraphs[0].runs.front().font, "Courier New");
}

TEST(RichTextWriters, SkippedDestinationsAndFields) {
    const RichText doc =
        ParseRtf("{\\rtf1{\\header Page 1\\par}{\\footer Footer\\par}"
                 "See {\\field{\\*\\fldinst HYPERLINK \"http://x.example\"}{\\fldrslt the site}}."
                 "{\\pict\\wmetafile8\\picw10 0123abcd}{\\pict\\bin4 {}}}}x"
                 "{\\*\\unknownthing hidden}{\\unknownword shown}{\\v secret} end\\par}");
    EXPECT_EQ(doc.PlainText(), "See the site.xshown end");
}

TEST(RichTextWriters, SampleReadmeBulletsAndLineBreaks) {
    const RichText doc = ParseRtf("{\\rtf1{\\colortbl;\\red10\\green12\\blue42;}\\cf1 \\bullet  "
                                  "One\\line\n\\bullet  Two\\line\n\\par}");
    ASSERT_EQ(doc.paragraphs.size(), 1u);
    EXPECT_EQ(doc.PlainText(), "• One\n• Two\n"); // the space after a word is its end
    EXPECT_EQ(doc.paragraphs[0].runs.front().colour, 0x0A0C2Au);
}

TEST(RichTextPlain, NonRtfIsShownAsItIs) {
    EXPECT_EQ(Lines(ParseRtf("Hello\r\nWorld\rThird\n\nFifth\n")),
              (std::vector<std::string>{"Hello", "World", "Third", "", "Fifth"}));
    EXPECT_EQ(ParseRtf("Caf\xE9 \x80").PlainText(), "Café €"); // the discs' code page
    EXPECT_EQ(ParseRtf("\xEF\xBB\xBF"
                       "Café")
                  .PlainText(),
              "Café"); // UTF-8 stays
    EXPECT_EQ(ParseRtf("a\x01\x7F"
                       "b\tc")
                  .PlainText(),
              "ab\tc");
    const RichText plain = ParseRtf("text");
    ASSERT_EQ(plain.paragraphs.size(), 1u);
    EXPECT_EQ(plain.paragraphs[0].runs[0].size, 0.0); // the pane's own size
    EXPECT_TRUE(ParseRtf("").paragraphs.empty());
    EXPECT_EQ(ParseRtf("  {\\rtf1 spaced}").PlainText(), "spaced");
}

TEST(RichTextHostile, UnbalancedAndTruncated) {
    const RichText open = ParseRtf("{\\rtf1 {\\b bold");
    ASSERT_NE(RunOf(open, "bold"), nullptr);
    EXPECT_TRUE(RunOf(open, "bold")->bold);
    EXPECT_EQ(ParseRtf("{\\rtf1 a}} b}").PlainText(), "a");
    EXPECT_EQ(ParseRtf("{\\rtf1 a}}}}}").PlainText(), "a");
    // Cut short anywhere inside an escape or a table.
    for (std::string_view cut :
         {"{\\rtf1 abc\\'e", "{\\rtf1 abc\\", "{\\rtf1 abc\\u", "{\\rtf1 abc\\u-",
          "{\\rtf1 abc\\u8364", "{\\rtf1 abc{\\fonttbl{\\f0 Ari", "{\\rtf1 abc{\\colortbl;\\red255",
          "{\\rtf1 abc\\bin99"}) {
        const RichText doc = ParseRtf(cut);
        ExpectWellFormed(doc);
        EXPECT_EQ(doc.PlainText().substr(0, 3), "abc") << cut;
    }
    // Every prefix of a real document.
    for (std::size_t n = 0; n <= kWordProcessor.size(); ++n) {
        ExpectWellFormed(ParseRtf(kWordProcessor.substr(0, n)));
    }
}

TEST(RichTextHostile, DeepNestingIsCapped) {
    auto nested = [](std::size_t depth) {
        return "{\\rtf1 " + std::string(depth, '{') + "deep" + std::string(depth, '}') + " after}";
    };
    EXPECT_EQ(ParseRtf(nested(200)).PlainText(), "deep after");
    const RichText deep = ParseRtf(nested(200000));
    EXPECT_EQ(deep.PlainText(), " after"); // too deep to read, but the rest still is
    // Deeply nested skipped groups do not leak their destination.
    EXPECT_EQ(ParseRtf("{\\rtf1 " + std::string(300, '{') + "\\*x" + std::string(300, '}') + "y}")
                  .PlainText(),
              "y");
}

TEST(RichTextHostile, HugeNumbersSaturate) {
    const RichText doc = ParseRtf(
        "{\\rtf1{\\colortbl;\\red99999999999\\green-5\\blue300;}\\fs99999999999999999999 big\\par"
        "\\f-99999999999\\fs-4 x\\cf4294967296 y\\cf1 z\\u99999999999 ?w\\u-99999999999 ?"
        "\\uc99999999999 \\u65 abc\\bin99999999999999 }");
    ExpectWellFormed(doc);
    ASSERT_NE(RunOf(doc, "big"), nullptr);
    EXPECT_EQ(RunOf(doc, "big")->size, 1638.0);
    ASSERT_NE(RunOf(doc, "x"), nullptr);
    EXPECT_EQ(RunOf(doc, "x")->size, 12.0);
    EXPECT_FALSE(RunOf(doc, "x")->colour.has_value());
    ASSERT_EQ(Lines(doc).size(), 2u);
    EXPECT_EQ(Lines(doc)[1], "xyz\uFFFDw\uFFFDA");
    EXPECT_EQ(doc.paragraphs[1].runs.back().colour, 0xFF00FFu); // components clamp to 0..255
}

TEST(RichTextHostile, GarbageGivesWellFormedText) {
    std::mt19937 random(27);
    for (int round = 0; round < 200; ++round) {
        std::string bytes(static_cast<std::size_t>(random() % 2000), '\0');
        for (char& c : bytes) {
            // Lean on the characters that mean something to the reader.
            const char specials[] = "{}\\'*;0123456789-ubfscl ";
            c = random() % 3 == 0 ? specials[random() % (sizeof specials - 1)]
                                  : static_cast<char>(random());
        }
        ExpectWellFormed(ParseRtf(bytes));
        ExpectWellFormed(ParseRtf("{\\rtf1 " + bytes));
    }
}

TEST(RichTextHostile, OutputIsBounded) {
    std::string pars = "{\\rtf1 ";
    for (std::size_t i = 0; i < kRichTextMaxParagraphs + 10; ++i) {
        pars += "\\par ";
    }
    const RichText many = ParseRtf(pars + "}");
    EXPECT_TRUE(many.truncated);
    EXPECT_EQ(many.paragraphs.size(), kRichTextMaxParagraphs);

    const RichText long_text = ParseRtf("{\\rtf1 " + std::string(kRichTextMaxTextBytes + 10, 'a'));
    EXPECT_TRUE(long_text.truncated);
    EXPECT_EQ(long_text.PlainText().size(), kRichTextMaxTextBytes);

    std::string runs = "{\\rtf1 ";
    for (std::size_t i = 0; i < kRichTextMaxRuns / 2 + 10; ++i) {
        runs += "{\\b a}{\\i a}";
    }
    const RichText many_runs = ParseRtf(runs + "}");
    EXPECT_TRUE(many_runs.truncated);
    ExpectWellFormed(many_runs);

    const RichText plain = ParseRtf(std::string(kRichTextMaxTextBytes + 10, 'a'));
    EXPECT_TRUE(plain.truncated);
    ExpectWellFormed(plain);
}

} // namespace
} // namespace kestrova
