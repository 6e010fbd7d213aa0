// RtfToMText and its passes: exact MText for the cases the passes are built around, for
// documents in the control's dialect, and for what the control writes that the passes mend.
#include <chrono>
#include <random>

#include "converter/MTextRtfConverter.h"
#include "converter/reference/RtfDocuments.h"
#include "host/HostColors.h"
#include "support/Bytes.h"
#include "tests/rtf_to_mtext/ControlSamples.h"

namespace {

const char kFixedFonts[] = "{\\f0\\fnil MS Sans Serif;}{\\f1\\froman\\fcharset2 Symbol;}";

// A stream laid out as the control writes it: font entries after the two fixed ones, colour
// entries after black, and the body from the first \pard on (CR LF and the closing paragraph
// mark added).
std::string Stream(const std::string& fonts, const std::string& colors, const std::string& body) {
  return "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl" + std::string(kFixedFonts) + fonts + "}\r\n" +
         "{\\colortbl\\red0\\green0\\blue0;" + colors + "}\r\n\\deflang1049\\pard" + body + "\r\n\\par }\r\n";
}

const char kArial[] = "{\\f2\\fswiss\\fcharset204 Arial;}";
const char kCodeFace[] = "{\\f2\\fnil MText Code;}";
const char kArialTimes[] = "{\\f2\\fswiss\\fcharset204 Arial;}{\\f3\\froman\\fcharset204 Times New Roman;}";
// Red, blue and the RGB the host shows ByLayer text in (index 139).
const char kRedBlueByLayer[] = "\\red255\\green0\\blue0;\\red0\\green0\\blue255;\\red19\\green38\\blue38;";

std::string ToMText(const std::string& rtf) {
  HostColors colors;
  MTextRtfConverter converter(colors);
  CString mtext = converter.RtfToMText(CString(rtf.data(), static_cast<int>(rtf.size())));
  return std::string(mtext.GetString(), static_cast<size_t>(mtext.GetLength()));
}

struct DocumentCase {
  const char* what;
  std::string rtf;
  std::string mtext;
};

TEST(RtfToMText, ConvertsTheControlsDialect) {
  const DocumentCase cases[] = {
      // The empty document: one run in the default font, no text.
      {"empty document", Stream("", "", "\\plain\\f0\\fs17 "), "{{{\\H1.4;}}}"},
      {"one word", Stream(kArial, "", "\\plain\\f2\\fs20 Hello"), "{{\\fArial|c204|p34|b0|i0;{\\H1.7;Hello}}}"},
      // Fonts, sizes, colours, bold, italic, underline, run by run.
      {"formats",
       Stream(kArialTimes, kRedBlueByLayer,
              "\\plain\\f2\\fs20\\cf1\\b Red bold \\plain\\f3\\fs30\\i\\ul under\\plain\\f3\\fs24\\cf2\\b\\i blue"
              "\\plain\\f2\\fs20\\cf3  layer"),
       "{{\\fArial|c204|p34|b1|i0;{\\H1.7\\C1;Red bold }}"
       "{\\fTimes New Roman|c204|p18|b0|i1;{\\H2.5;\\Lunder\\l}}"
       "{\\fTimes New Roman|c204|p18|b1|i1;{\\H2.0\\C5;blue}}"
       "{\\fArial|c204|p34|b0|i0;{\\H1.7\\C256; layer}}}"},
      // Explicit black is colour 0 and comes out as 7, like the automatic colour.
      {"explicit black: the nearest index", Stream(kArial, "", "\\plain\\f2\\fs20\\cf0 x"), "{{\\fArial|c204|p34|b0|i0;{\\H1.7\\C18;x}}}"},
      // Paragraphs: CR LF is dropped, every \par with its space is a break; a paragraph that
      // starts in the previous format carries no header.
      {"paragraphs", Stream(kArial, "", "\\plain\\f2\\fs20 one\r\n\\par two\r\n\\par \r\n\\par three"),
       "{{\\fArial|c204|p34|b0|i0;{\\H1.7;one\\Ptwo\\P\\Pthree}}}"},
      // A tab is \tab and its space: one tab character.
      {"tab", Stream(kArial, "", "\\plain\\f2\\fs20 a\\tab b"), "{{\\fArial|c204|p34|b0|i0;{\\H1.7;a\tb}}}"},
      // Escapes: the literals pass through as MText spells them the same way.
      {"escapes", Stream(kArial, "", "\\plain\\f2\\fs20 \\\\ \\{x\\}"),
       "{{\\fArial|c204|p34|b0|i0;{\\H1.7;\\\\ \\{x\\}}}}"},
      {"Cyrillic", Stream(kArial, "", "\\plain\\f2\\fs20 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2, \\'ec\\'e8\\'f0"),
       "{{\\fArial|c204|p34|b0|i0;{\\H1.7;\xCF\xF0\xE8\xE2\xE5\xF2, \xEC\xE8\xF0}}}"},
      // The seven characters the control writes as words.
      {"character words",
       Stream(kArial, "", "\\plain\\f2\\fs20 \\lquote a\\rquote  \\ldblquote b\\rdblquote  \\bullet  1\\endash 2\\emdash 3"),
       "{{\\fArial|c204|p34|b0|i0;{\\H1.7;\x91" "a\x92 \x93" "b\x94 \x95 1\x96" "2\x97" "3}}}"},
      // Bold in the automatic colour keeps its bold and underline.
      {"bold underline in the automatic colour", Stream(kArial, "", "\\plain\\f2\\fs20\\b\\ul Hi"),
       "{{\\fArial|c204|p34|b1|i0;{\\H1.7;\\LHi}\\l}}"},
      // Text in the default font carries no font code, and loses its bold with it.
      {"default font", Stream("", "", "\\plain\\f0\\fs20\\b bold"), "{{{\\H1.7;bold}}}"},
      // The paragraph mark in a format of its own: a run header with no text before it.
      {"a final mark in a format of its own is no text", Stream(kArial, "", "\\plain\\f2\\fs20 a\\plain\\f2\\fs24 "),
       "{{\\fArial|c204|p34|b0|i0;{\\H1.7;a}}}"},
      // Paragraph words after the first \pard go, as do their indents and tab stops.
      {"paragraph format", Stream(kArial, "", "\\plain\\f2\\fs20 a\r\n\\par \\pard\\qc\\plain\\f2\\fs20 b"),
       "{{\\fArial|c204|p34|b0|i0;{\\H1.7;a\\P}}{\\fArial|c204|p34|b0|i0;{\\H1.7;b}}}"},
      // The user's own backslash-par stays as typed.
      {"typed backslash-par", Stream(kArial, "", "\\plain\\f2\\fs20 a\\\\par b"),
       "{{\\fArial|c204|p34|b0|i0;{\\H1.7;a\\\\par b}}}"},
      // A backslash in code text with an empty last line behind it ends no text: it is a
      // backslash of the text, not one bare in front of a brace (which would make it "\{").
      {"a code backslash in front of an empty last line", Stream(kCodeFace, "", "\\plain\\f0\\fs30 a\\plain\\f2\\fs30 \\\\\r\n\\par "),
       "{{{\\H2.5;a}}{{\\H2.5;\\\\}}{{\\H2.5;\\P}}}"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_BYTES_EQ(c.mtext, ToMText(c.rtf));
  }
}

TEST(RtfToMText, BulletParagraphsKeepTheirListWords) {
  // A bulleted paragraph: the list destination and the first-line indent stay in the text (the
  // live update never converts such a stream; what it gives is pinned here).
  std::string rtf = Stream(kArial, "",
                           "\\plain\\f2\\fs20 Text\r\n\\par \\pard\\li200\\fi-200{\\*\\pn\\pnlvlblt\\pnf1\\pnindent200"
                           "{\\pntxtb\\'b7}}\\plain\\f2\\fs20 {\\pntext\\f1\\'b7\\tab}Item");
  EXPECT_BYTES_EQ(
      "{{\\fArial|c204|p34|b0|i0;{\\H1.7;Text\\P\\fi-200{\\*\\pn\\pnlvlblt\\pnf1\\pnindent200{\\pntxtb\xB7}}}}"
      "{\\fArial|c204|p34|b0|i0;{\\H1.7;{\\pntext\\fSymbol\xB7\t}Item}}}",
      ToMText(rtf));
}

TEST(RtfToMText, BuiltDocumentsGiveTheirRuns) {
  rtfdocs::Document doc;
  int arial = doc.AddFont({"fswiss", 204, "Arial"});
  int red = doc.AddColor({255, 0, 0});
  rtfdocs::Format plain;
  plain.font = arial;
  plain.size = 24;
  rtfdocs::Format redItalic = plain;
  redItalic.color = red;
  redItalic.italic = true;
  doc.Add(plain, "\xC0\xE1\xE2\t");
  doc.Add(redItalic, "\x93x\x94\n");
  doc.Add(plain, "end");
  EXPECT_BYTES_EQ(
      "{{\\fArial|c204|p34|b0|i0;{\\H2.0;\xC0\xE1\xE2\t}}{\\fArial|c204|p34|b0|i1;{\\H2.0\\C1;\x93x\x94\\P}}"
      "{\\fArial|c204|p34|b0|i0;{\\H2.0;end}}}",
      ToMText(doc.Rtf()));
}

// The header part: colour and font tables, font and colour references, the final passes.
TEST(RtfToMText, ReplacesFontAndColourReferences) {
  const DocumentCase cases[] = {
      // References are matched whole: font 2 is not found inside font 21, colour 1 not in 12.
      {"colour 12 of 13",
       Stream(kArial,
              "\\red255\\green0\\blue0;\\red1\\green1\\blue1;\\red2\\green2\\blue2;\\red3\\green3\\blue3;"
              "\\red4\\green4\\blue4;\\red5\\green5\\blue5;\\red6\\green6\\blue6;\\red7\\green7\\blue7;"
              "\\red8\\green8\\blue8;\\red9\\green9\\blue9;\\red10\\green10\\blue10;\\red0\\green0\\blue255;",
              "\\plain\\f2\\fs20\\cf1 a\\plain\\f2\\fs20\\cf12 b"),
       "{{\\fArial|c204|p34|b0|i0;{\\H1.7\\C1;a}}{\\fArial|c204|p34|b0|i0;{\\H1.7\\C5;b}}}"},
      // Two entries with one index give equal codes; a code takes the place of the space that
      // ended the word, and the spaces a text starts with stay.
      {"two entries, one index", Stream(kArial, "\\red255\\green0\\blue0;\\red255\\green1\\blue1;",
                                        "\\plain\\f2\\fs20\\cf1  x\\plain\\f2\\fs20\\cf2  y"),
       "{{\\fArial|c204|p34|b0|i0;{\\H1.7\\C1; x}}{\\fArial|c204|p34|b0|i0;{\\H1.7\\C1; y}}}"},
      // Text that spells a colour code keeps the space behind it.
      {"a colour code in the text", Stream(kArial, "\\red255\\green0\\blue0;", "\\plain\\f2\\fs20\\cf1 \\\\C1; y"),
       "{{\\fArial|c204|p34|b0|i0;{\\H1.7\\C1;\\\\C1; y}}}"},
      // "cf" and a number in the user's text is replaced like a reference.
      {"cf in the text", Stream(kArial, "\\red255\\green0\\blue0;", "\\plain\\f2\\fs20 xcf1 y"),
       "{{\\fArial|c204|p34|b0|i0;{\\H1.7;xC1;y}}}"},
      // The Symbol font is named, and its bullet group goes.
      {"Symbol", Stream(kArial, "", "\\plain\\f1\\fs20 a{\\f1\\'b7\\tab}b"),
       "{{\\fSymbol|b0|i0;{\\H1.7;ab}}}"},
      // No colour table and no \deflang: the parts are taken by the absent-marker rule.
      {"no tables", "{\\rtf1\\pard\\plain\\f0\\fs24 x}", "{{{\\H2.0;x}}}"},
      {"no run", Stream(kArial, "", " text"), "{"},
      {"nothing", "", "{"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_BYTES_EQ(c.mtext, ToMText(c.rtf));
  }
}

struct FontTableCase {
  const char* what;
  const char* table;
  std::vector<std::string> descriptors;
};

TEST(ParseFontTable, MakesOneDescriptorPerEntry) {
  const FontTableCase cases[] = {
      {"the control's entries", "{\\f2\\fswiss\\fcharset204 Arial;}{\\f3\\fmodern Courier New;}",
       {"Arial|c204|p34", "Courier New|c0|p49"}},
      {"families", "{\\f2\\froman\\fcharset1 R;}{\\f3\\fscript\\fcharset1 S;}{\\f4\\fdecor\\fcharset1 D;}",
       {"R|c1|p18", "S|c1|p2", "D|c1|p82"}},
      // The name inside an \fname group, the charset digits up to that group.
      {"fname group", "{\\f2\\froman\\fcharset204{\\*\\fname Times New Roman;}Times New Roman Cyr;}",
       {"Times New Roman|c204|p18"}},
      // A family word directly followed by the name ends at the space; no "\\fcharset" is
      // character set 0.
      {"family word before the name", "{\\f2\\fswiss Arial;}{\\f3\\fnil Tahoma;}", {"Arial|c0|p34", "Tahoma|c0"}},
      // A name longer than any face name is cut to 31 bytes.
      {"long name", "{\\f2\\fnil\\fcharset204 ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789;}",
       {"ABCDEFGHIJKLMNOPQRSTUVWXYZ01234|c204"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    HostColors colors;
    MTextRtfConverter converter(colors);
    converter.fontTableText = std::string(kFixedFonts).append(c.table).c_str();
    converter.ParseFontTable();
    std::vector<std::string> got;
    for (int k = 0; k < converter.fontDescriptors.GetSize(); ++k) got.emplace_back(converter.fontDescriptors[k]);
    EXPECT_EQ(c.descriptors, got);
  }
}

TEST(ParseColorTable, MakesOneIndexPerCompleteTriple) {
  HostColors colors;
  MTextRtfConverter converter(colors);
  converter.colorTableText = "\\red0\\green0\\blue0;\\red255\\green0\\blue0;\\red0\\green0\\blue255;\\red9\\green9";
  converter.ParseColorTable();
  ASSERT_EQ(3, converter.colorCodes.GetSize());
  EXPECT_BYTES_EQ("18", converter.colorCodes[0]);
  EXPECT_BYTES_EQ("1", converter.colorCodes[1]);
  EXPECT_BYTES_EQ("5", converter.colorCodes[2]);
}

// The body passes alone.
struct PassCase {
  const char* input;
  const char* expected;
};

// Runs one pass on a fresh converter per case.
template <size_t N>
void ExpectEachCase(const PassCase (&cases)[N], CString (MTextRtfConverter::*pass)(CString)) {
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    HostColors colors;
    MTextRtfConverter converter(colors);
    EXPECT_BYTES_EQ(c.expected, (converter.*pass)(c.input));
  }
}

TEST(ConvertRun, TranslatesTheHeaderAndTheText) {
  const PassCase cases[] = {
      {"\\plain\\f2\\fs20\\cf1\\b\\ul Hello\\par ", "{\\f2|b1|i0;{\\H1.7\\cf1\\L Hello\\P\\l}}"},
      // Without "cf" the run gets colour 0; its size text still ends at the next backslash.
      {"\\plain\\f2\\fs20\\i x", "{\\f2|b0|i1;{\\H1.7;x}}"},
      // A bold-off word still counts as bold.
      {"\\plain\\f2\\fs20\\b0 x", "{\\f2|b1|i0;{\\H1.7;0 x}}"},
      // A \par not followed by a space stays.
      {"\\plain\\f2\\fs20 a\\par", "{\\f2|b0|i0;{\\H1.7;a\\par}}"},
      // No space at all: the whole run is header and, by the absent-marker rule, text.
      {"\\plain\\f2\\fs20", "{\\f2|b0|i0;{\\H1.7;\\plain\\f2\\fs20}}"},
      // Words RtfToMText does not know stay in the header.
      {"\\plain\\f2\\fs16\\dn4 x", "{\\f2|b0|i0;{\\H1.3;\\dn4 x}}"},
  };
  ExpectEachCase(cases, &MTextRtfConverter::ConvertRun);
}

TEST(ConvertRun, RoundsTheHeightToOneDecimal) {
  const PassCase cases[] = {
      {"\\plain\\f2\\fs20 x", "{\\f2|b0|i0;{\\H1.7;x}}"}, {"\\plain\\f2\\fs24 x", "{\\f2|b0|i0;{\\H2.0;x}}"},
      {"\\plain\\f2\\fs30 x", "{\\f2|b0|i0;{\\H2.5;x}}"}, {"\\plain\\f2\\fs25 x", "{\\f2|b0|i0;{\\H2.1;x}}"},
      {"\\plain\\f2\\fs7 x", "{\\f2|b0|i0;{\\H0.6;x}}"},
  };
  ExpectEachCase(cases, &MTextRtfConverter::ConvertRun);
}

TEST(ConvertRun, EveryOneDecimalHeightSurvivesTheWayBack) {
  // MTextToRtf writes a height h as int(h * 12 + 0.5) half-points; RtfToMText must give h back.
  HostColors colors;
  MTextRtfConverter converter(colors);
  for (int tenths = 1; tenths <= 2000; ++tenths) {
    int halfPoints = static_cast<int>(tenths / 10.0 * 12 + 0.5);
    CString run;
    run.Format("\\plain\\f2\\fs%d x", halfPoints);
    CString expected;
    expected.Format("{\\f2|b0|i0;{\\H%d.%d;x}}", tenths / 10, tenths % 10);
    ASSERT_BYTES_EQ(expected, converter.ConvertRun(run)) << tenths;
  }
}

TEST(StripControlWords, RemovesListedWordsWithTheirParameters) {
  const PassCase cases[] = {
      {"a\\lang1049 b", "a b"},
      {"\\li200\\fi-200\\ri10\\plain x", "\\fi-200\\plain x"},
      {"x\\line y\\page z\\sect w", "x y z w"},
      // \v takes every word that begins with v along.
      {"\\plain\\vertalc x", "\\plain x"},
      // The first occurrence fixes the span: here the bare word, so only the bare words go.
      {"\\plain\\v\\vertalc x", "\\plainertalc x"},
      // A listed word spelled by the user behind an escaped backslash goes too.
      {"a\\\\qlb c", "a\\ c"},
      // Words that no list holds stay.
      {"\\plain\\f2\\fs20\\up6 x", "\\plain\\f2\\fs20\\up6 x"},
      // A removal that runs to the end of the text ends the pass.
      {"text\\lang1049", "text"},
      {"\\", ""},
  };
  ExpectEachCase(cases, &MTextRtfConverter::StripControlWords);
}

TEST(ConvertBody, CutsTheBodyIntoRuns) {
  HostColors colors;
  MTextRtfConverter converter(colors);
  converter.bodyText = "1049 ignored\\pard lead\\plain\\f2\\fs20 a\\plain\\f2\\fs20 a\r\n\\par }";
  converter.ConvertBody();
  ASSERT_EQ(2, converter.runTexts.GetSize());
  // The first run also holds what stands before the first \plain (here a space ends its
  // header early); equal runs stay two.
  EXPECT_BYTES_EQ("{ lead\\f2|b0|i0;{\\H1.7;lead\\plain\\f2\\fs20 a}}", converter.runTexts[0]);
  EXPECT_BYTES_EQ("{\\f2|b0|i0;{\\H1.7;a}}}", converter.runTexts[1]);
}

TEST(RtfToMText, ConvertsTheControlsOwnDocuments) {
  REQUIRE_SHARED_DIR(shared);
  ASSERT_FALSE(ControlSamples(shared).empty());
  for (const std::string& path : ControlSamples(shared)) {
    SCOPED_TRACE(path);
    std::string mtext = ToMText(testsupport::ReadFile(path));
    EXPECT_EQ("{{", mtext.substr(0, 2));
    EXPECT_EQ(std::string::npos, mtext.find_first_of("\r\n"));
  }
}

// Bad input: every document gives a string, in bounded time.
TEST(RtfToMText, EndsOnBadInput) {
  std::mt19937 rng(99);
  std::string document = rtfdocs::SizedDocument(8 * 1024, 40, true);
  std::string binary(1 << 20, '\0');
  for (char& c : binary) c = static_cast<char>(rng());
  std::string repeated;
  while (repeated.size() < (1u << 20)) repeated += document;
  const std::pair<const char*, std::string> inputs[] = {
      {"binary MiB", binary},
      {"repeated documents", repeated},
      {"open font table", "fonttbl" + std::string(1 << 20, '{') + " a;"},
      {"only backslashes", std::string(1 << 20, '\\')},
      {"escapes", [] {
         std::string s;
         while (s.size() < (1u << 20)) s += "\\'e0\\'8";
         return s;
       }()},
      {"runs without text", "\\deflang\\pard" + [] {
         std::string s;
         while (s.size() < (1u << 20)) s += "\\plain\\f2\\fs20\\b\\ul";
         return s;
       }()},
  };
  for (const auto& [what, rtf] : inputs) {
    SCOPED_TRACE(what);
    auto start = std::chrono::steady_clock::now();
    std::string mtext = ToMText(rtf);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ('{', mtext[0]);
    EXPECT_LT(seconds, 10.0);
  }
  // Every cut of a document.
  for (size_t length = 0; length <= document.size(); length += 7) {
    EXPECT_EQ('{', ToMText(document.substr(0, length))[0]);
  }
}

}  // namespace

// Bold and italic in the control's default face: on a TrueType text style they are written in the
// style's face; on a shape font (no face given) there is nothing to write them with.
TEST(RtfToMText, BoldAndItalicInTheDefaultFaceTakeTheStylesFace) {
  const std::string rtf = Stream("", "", "\\plain\\f0\\fs30\\b bold\\plain\\f0\\fs30  plain\\plain\\f0\\fs30\\i\\b both");
  HostColors colors;
  MTextRtfConverter converter(colors);
  converter.defaultFace = "arial";
  CString mtext = converter.RtfToMText(CString(rtf.c_str()));
  EXPECT_BYTES_EQ(std::string("{{\\farial|b1|i0;{\\H2.5;bold}}{{\\H2.5; plain}}{\\farial|b1|i1;{\\H2.5;both}}}"),
                  std::string(mtext.GetString()));
  EXPECT_BYTES_EQ(std::string("{{{\\H2.5;bold}}{{\\H2.5; plain}}{{\\H2.5;both}}}"), ToMText(rtf));
}
