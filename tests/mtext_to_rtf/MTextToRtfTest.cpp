// MTextToRtf: whole documents for the edge cases of escapes, paragraphs, fonts and colours.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "MTextToRtfFixture.h"
#include "converter/DrawingUnits.h"
#include "converter/MTextRtfConverter.h"
#include "host/HostColors.h"
#include "support/Bytes.h"

using mtext_to_rtf_test::Read;

namespace {

const std::string kWhite = "\\red255\\green255\\blue255;";  // colour 7
const std::string kAuto = ";";  // the automatic colour of text without a colour code
const std::string kRed = "\\red255\\green0\\blue0;";        // colour 1
const std::string kYellow = "\\red255\\green255\\blue0;";   // colour 2
const std::string kColour12 = "\\red165\\green0\\blue0;";
const std::string kByLayer = "\\red19\\green38\\blue38;";  // 256 is shown as 139
const std::string kByBlock = "\\red254\\green254\\blue254;";  // 0: next to white
const std::string kArial204 = "{\\f1\\fswiss\\fcharset204 Arial;}";

std::string Doc(const std::string& fonts, const std::string& colours, const std::string& body) {
  return "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fnil MS Sans Serif;}" + fonts + "}" +
         "{\\colortbl\\red0\\green0\\blue0;" + colours + "}" + body;
}

struct Case {
  const char* mtext;
  std::string expected;
};

void ExpectReads(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(testsupport::Readable(c.mtext));
    EXPECT_BYTES_EQ(c.expected, Read(c.mtext));
  }
}

}  // namespace

TEST(MTextToRtf, EscapesParagraphsAndUnderline) {
  ExpectReads({
      // The empty text is one group with the base height and colour 7, and a paragraph mark
      // that the control takes for its final one: it keeps that height and colour.
      {"", Doc("", kAuto, "{\\fs30\\cf1 \\par }")},
      {"Hello\\PWorld", Doc("", kAuto, "{\\fs30\\cf1 Hello\\par World}")},
      // A text that ends with an empty line gets one mark more: the control drops the last.
      {"Hello\\P", Doc("", kAuto, "{\\fs30\\cf1 Hello\\par \\par }")},
      {"Hello\\P\\P", Doc("", kAuto, "{\\fs30\\cf1 Hello\\par \\par \\par }")},
      {"Hello\\\\P", Doc("", kAuto, "{\\fs30\\cf1 Hello\\\\P}")},
      // Escaped backslashes before code letters, and escaped braces, stay as they are. The
      // colour keys are collected before "\\C" is protected: the escaped one adds an entry.
      {"a\\\\Pb\\\\fc\\\\Hd\\\\Ce", Doc("", kAuto, "{\\fs30\\cf1 a\\\\Pb\\\\fc\\\\Hd\\\\Ce}")},
      {"\\{x\\}", Doc("", kAuto, "{\\fs30\\cf1 \\{x\\}}")},
      // A typed backslash right before a code: the escaped pair is text, the code is read.
      {"a\\\\\\Pb", Doc("", kAuto, "{\\fs30\\cf1 a\\\\\\par b}")},
      {"a\\\\\\Lb\\\\\\\\Lc", Doc("", kAuto, "{\\fs30\\cf1 a\\\\\\ul b\\\\\\\\Lc}")},
      {"\\\\\\H5;x", Doc("", kAuto, "{\\fs30 \\cf1 \\\\\\fs60 x}")},
      // Underline on and off, on plain-text contents too.
      {"\\Lword\\l", Doc("", kAuto, "{\\fs30\\cf1 \\ul word\\ulnone }")},
      {"A\\LB\\lCD", Doc("", kAuto, "{\\fs30\\cf1 A\\ul B\\ulnone CD}")},
      // Codes the control cannot show keep their place as code text in the reserved face.
      {"\\A1;x", Doc("{\\f1 MText Code;}", kAuto, "{\\fs30\\cf1 {\\f1 \\\\A1;}x}")},
  });
}

TEST(MTextToRtf, WritersOwnContentsKeepTheirGroups) {
  ExpectReads({
      {"{{\\fArial|c204|p34|b1|i0;{\\H1.6\\C1;\\LHello\\P\\l}}}",
       Doc(kArial204, kRed, "{{\\f1\\b {\\fs19\\cf1 \\ul Hello\\par \\par \\ulnone }}}")},
      // No brace escapes and no underline removal on this path: "\L" becomes "\ul ".
      {"{{{\\H2.5;\\L x}}}", Doc("", "", "{{{\\fs30 \\ul  x}}}")},
      // Contents that only begin with two braces are plain text: their text gets the base height.
      {"{{K}}", Doc("", kAuto, "{\\fs30\\cf1 {{K}}}")},
      {"{{\\fSymbol|b0|i0;{\\H2.5\\C1;a}}}", Doc("{\\f1 Symbol;}", kRed, "{{\\f1 {\\fs30\\cf1 a}}}")},
  });
}

TEST(MTextToRtf, FontCodesAndTheFontTable) {
  ExpectReads({
      // Bold and italic flags in front of the charset are put behind it; bold and regular
      // Arial share one font number.
      {"\\fArial|b1|i0|c204|p34;A\\fArial|b0|i0|c204|p34;B",
       Doc(kArial204, kAuto, "{\\fs30\\cf1 {\\f1\\b \\cf1 A}{\\f1 \\cf1 B}")},
      {"\\fArial;abc", Doc("{\\f1 Arial;}", kAuto, "{\\fs30\\cf1 {\\f1 \\cf1 abc}")},
      {"\\fCourier|c0|p49;a\\fScript|c0|p2;b\\fTimes|c204|p18;c\\fOdd|c1|p7;d",
       Doc("{\\f1\\fmodern\\fcharset0 Courier;}{\\f2\\fscript\\fcharset0 Script;}"
           "{\\f3\\froman\\fcharset204 Times;}{\\f4\\fnil\\fcharset1 Odd;}",
           kAuto, "{\\fs30\\cf1 {\\f1 \\cf1 a}{\\f2 \\cf1 b}{\\f3 \\cf1 c}{\\f4 \\cf1 d}")},
      // A shape font code is code text, and the text behind it is in the default face.
      {"\\Ftxt.shx;abc\\H2;d", Doc("{\\f1 MText Code;}", kAuto, "{\\fs30 \\cf1 {\\f1 \\\\Ftxt.shx;}\\f0 abc\\fs24 d}")},
      {"\\Ftxt.shx;abc", Doc("{\\f1 MText Code;}", kAuto, "{\\fs30\\cf1 {\\f1 \\\\Ftxt.shx;}\\f0 abc}")},
      // A font code without its ";" at the end of the text is kept as code text.
      {"a\\fArial", Doc("{\\f1 MText Code;}", kAuto, "{\\fs30\\cf1 a{\\f1 \\\\fArial}}")},
      // A code cut short ends at the next font code: each gets a key of its own.
      {"{{\\fA\\fB;x}}", Doc("{\\f1 A;}{\\f2 B;}", "", "{{\\fA\\f2 x}}")},
  });
}

TEST(MTextToRtf, ColourCodesAndTheColourTable) {
  ExpectReads({
      // Keys 1 and 12 are two entries; "\C12" is never read as "\C1" and a 2.
      // Text without a colour code is in the automatic colour: the empty entry.
      {"\\C1;x\\C12;y", Doc("", kAuto + kRed + kColour12, "{\\fs30\\cf1 \\cf2 x\\cf3 y}")},
      // By block is shown next to white, by layer in the colour of index 139.
      {"\\C0;z", Doc("", kAuto + kByBlock, "{\\fs30\\cf1 \\cf2 z}")},
      {"\\C256;z", Doc("", kAuto + kByLayer, "{\\fs30\\cf1 \\cf2 z}")},
      {"\\C2;a\\C2;b", Doc("", kAuto + kYellow, "{\\fs30\\cf1 \\cf2 a\\cf2 b}")},
  });
}

TEST(MTextToRtf, BaseHeightComesFromTheTarget) {
  EXPECT_BYTES_EQ(Doc("", kAuto, "{\\fs60\\cf1 x}"), Read("x", 5.0));
  EXPECT_BYTES_EQ(Doc("", kAuto, "{\\fs0\\cf1 x}"), Read("x", 0.0));
}

// The wrapper's height is rounded once, so a plain text keeps its height through the editor:
// RtfToMText's height of the half-points that MTextToRtf made, at the view scale, is the height it
// started with. Outside 8 to 36 points the scale shows the base at 12.
TEST(MTextToRtf, PlainTextKeepsItsHeightThroughTheWriter) {
  for (double height : {0.0001, 0.7, 1.8, 2.5, 3.5, 5.0, 7.0, 10.0, 18.0, 273.0, 274.0, 500.0, 1e6}) {
    std::string rtf = Read("x", height);
    size_t at = rtf.find("\\fs");
    ASSERT_NE(at, std::string::npos) << rtf;
    int halfPoints = std::atoi(rtf.c_str() + at + 3);
    const bool today = height * kPointsPerDrawingUnit >= 8 && height * kPointsPerDrawingUnit <= 36;
    EXPECT_EQ(today ? static_cast<int>(height * 12 + 0.5) : 24, halfPoints) << "height " << height;
    char back[32];
    std::snprintf(back, sizeof back, "%.1f", halfPoints / ViewHalfPointsPerUnit(height));
    char want[32];
    std::snprintf(want, sizeof want, "%.1f", height);
    EXPECT_STREQ(want, back) << "height " << height << " became " << halfPoints << " half-points";
  }
}

TEST(MTextToRtf, LeavesEachDocumentInTheTarget) {
  HostColors colors;
  mtext_to_rtf_test::Target target(2.5);
  MTextRtfConverter first(colors, target);
  CString rtf = first.MTextToRtf("one");
  EXPECT_BYTES_EQ(rtf.GetString(), target.rtf.GetString());
  MTextRtfConverter second(colors, target);
  second.MTextToRtf("two");
  EXPECT_BYTES_EQ(Doc("", kAuto, "{\\fs30\\cf1 two}"), target.rtf.GetString());
}

// Known quirks: plain text that spells what a pass looks for is rewritten as if it were a code.
// These are the rules of the passes, kept as they are; each changes what the editor shows.
TEST(MTextToRtf, PlainTextThatSpellsACodeIsRewritten) {
  ExpectReads({
      // A placeholder token typed as text comes back as what it stands for.
      {"a__##b", Doc("", kAuto, "{\\fs30\\cf1 a\\\\fb}")},
      {"//__x", Doc("", kAuto, "{\\fs30\\cf1 \\\\Ox}")},
      {"$$$###", Doc("", kAuto, "{\\fs30\\cf1 \\}}")},
      // Font flags in the text become bold and italic words; the "y" is read into the word.
      {"x|b1y|i0z", Doc("", kAuto, "{\\fs30\\cf1 x\\byz}")},
      // ".shx" is dropped from the whole text of contents with a font code and no height.
      {"file.shx \\fA;x", Doc("{\\f1 A;}", kAuto, "{\\fs30\\cf1 file {\\f1 \\cf1 x}")},
      // A ";" behind a literal backslash is text like any other.
      {"p\\\\q;r", Doc("", kAuto, "{\\fs30\\cf1 p\\\\q;r}")},
      {"a\\\\;b", Doc("", kAuto, "{\\fs30\\cf1 a\\\\;b}")},
  });
}

std::string Repeat(const std::string& piece, int times) {
  std::string text;
  for (int k = 0; k < times; ++k) text += piece;
  return text;
}

// Input that is not MText at all still gives a document, in bounded time.
TEST(MTextToRtf, BadInputGivesADocument) {
  const std::string head = "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fnil MS Sans Serif;}";
  std::string binary;
  for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 7919) % 256);
  const std::string mib(1 << 20, '{');
  const std::vector<std::string> inputs = {
      "{{{a", "a}}}}", "{\\H2;a", "\\H2;a}}}", "\\", "abc\\", "\\f", "\\F", "\\H", "\\C", "\\H2.5x", "\\C12",
      "\\fArial|b1", "{{\\H", "{{\\fArial|c204|p34|b1|i0;{\\H1", binary, std::string("a\0b\\H2;\0", 9),
      mib, std::string(1 << 20, '}'), "\\H2;" + std::string(1 << 20, '}'), "\\fA;" + std::string(1 << 20, '{'),
      "\\H1;" + std::string(1 << 19, '{') + std::string(1 << 19, '}'), Repeat("\\H", 1 << 19) + ";",
      "{{" + Repeat("\\fA", 1 << 18), Repeat("\\C", 1 << 19), Repeat("\\;", 1 << 19) + ";",
      Repeat("\\fx|y|b1|c2;", 1 << 16), Repeat("\\H2;{a}", 1 << 16), Repeat("\\H2;a}", 1 << 10),
      "\\C1" + Repeat("\\fA", 1 << 14), "\\H1;\\fA\\H1" + Repeat("\\fA", 1 << 14),
  };
  for (const std::string& input : inputs) {
    SCOPED_TRACE(testsupport::Readable(input.substr(0, 40)));
    std::string rtf = Read(input);
    EXPECT_EQ(0u, rtf.find(head));
  }
}
