// The grouping of plain-text contents and the carrying of heights and colours into font runs:
// whole documents' bodies, and single passes run alone.
#include <algorithm>
#include <string>
#include <vector>

#include "MTextToRtfFixture.h"
#include "converter/MTextRtfConverter.h"
#include "host/HostColors.h"
#include "support/Bytes.h"

using mtext_to_rtf_test::Read;

namespace {

// The body of the document: what follows the colour table.
std::string Body(const std::string& mtext, double height = 2.5) {
  std::string rtf = Read(mtext, height);
  return rtf.substr(rtf.find("}", rtf.find("{\\colortbl")) + 1);
}

struct Case {
  const char* mtext;
  const char* body;
};

void ExpectBodies(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(testsupport::Readable(c.mtext));
    EXPECT_BYTES_EQ(c.body, Body(c.mtext));
  }
}

// Runs one pass alone on a working text, at base height 2.5.
class OnePass : public ::testing::Test {
 protected:
  OnePass() : converter(m_colors, m_target) {}

  HostColors m_colors;
  mtext_to_rtf_test::Target m_target{2.5};

 public:
  MTextRtfConverter converter;
};

}  // namespace

TEST(GroupPlainText, HeightsOfTheWrappers) {
  ExpectBodies({
      // No codes: one group, base 2.5 gives int(30.5 + 0.5) = 31.
      {"text", "{\\fs30\\cf1 text}"},
      // A font code and no height: the wrapper, the group's own "{", then a font group, closed in
      // front of the group's "}"; the document has one more opening brace than closing ones.
      {"{\\fArial;word}", "{\\fs30\\cf1 {{\\f1 \\cf1 word}}"},
      // Relative heights chain: 0.5 x 30.5 gives 15, then 2 x 15.25 gives 30, which the base
      // height holds: the height "0.5x;\H2x" is shown at the next size, to come back as written.
      {"a\\H0.5x;b\\H2x;c", "{\\fs30 \\cf1 a\\fs15 b\\fs31 c}"},
      // An absolute code between them is what the next one refers to (2 x 36.5); the text in
      // front of the first code stays at the base height.
      {"a\\H0.5x;b\\H3;c\\H2x;d", "{\\fs30 \\cf1 a\\fs15 b\\fs36 c\\fs73 d}"},
  });
}

TEST(GroupPlainText, WrapsTheTextBetweenGroups) {
  ExpectBodies({
      // The text behind a group gets a group of its own; its height and colour are the ones in
      // force outside the groups.
      {"\\H2.5;a{\\H1.5;b}c", "{\\fs30 \\cf1 \\fs30 a{\\fs18 b}{c}}"},
      {"{\\C3;{\\H2;F}\\P}", "{\\fs30 \\cf1 {\\cf2 {\\fs24 F}{\\par \\par }}}"},
      // The text between groups reaches to the next "}" only: "v" stands behind the outer group.
      {"{\\H3;x{\\H2;y}z}v", "{\\fs30 \\cf1 {\\fs36 x{\\fs24 y}{z}}{v}}"},
      // Two groups back to back: the step ends at the first "}{", the word behind is left.
      {"{\\H2;a}{\\H3;b}c", "{\\fs30 \\cf1 {\\fs24 a}{\\fs36 b}c}"},
      // The same text between two pairs of groups is wrapped everywhere at once.
      {"\\H1;{\\C1;a} {\\C2;b} {\\C3;c}", "{\\fs30 \\cf1 \\fs12 {\\cf2 a}{ }{\\cf3 b}{ }{\\cf4 c}}"},
  });
}

TEST(GroupPlainText, HostHeightsBecomeHalfPoints) {
  ExpectBodies({
      {"\\H2.5;abc", "{\\fs30 \\cf1 \\fs30 abc}"},
      {"\\H10;a\\H.5;b", "{\\fs30 \\cf1 \\fs120 a\\fs6 b}"},
      // Only plain numbers: relative codes chain, anything else is kept as code text.
      {"\\H2x;a\\Hbig;b", "{\\fs30 \\cf1 \\fs61 a{\\f1 \\\\Hbig;}b}"},
  });
}

// Inputs on which a step of the passes would scan for ever: each now ends.
TEST(GroupPlainText, EndsWhereAScanWouldNot) {
  ExpectBodies({
      // Text between groups that is closing braces only is left unwrapped.
      {"x{{\\H2;a}}", "{\\fs30 \\cf1 x{{\\fs24 a}}}"},
      // Height carrying on a single run that holds a "}". The run's font group closes in front of
      // it; the carried run holds the old run once more, which the replacement takes once more.
      {"{\\fArial;\\H2;x}", "{\\fs30 \\cf1 {{{\\f1 \\fs24 x}}}}"},
      // A font code without its ";" is kept as code text: no font run to carry a colour into.
      {"\\C2;\\fArial", "{\\fs30\\cf1 \\cf2 {\\f1 \\\\fArial}}"},
      // A text that ends in "\H": a height code with no value is kept as code text.
      {"abc\\H", "{\\fs30\\cf1 abc{\\f1 \\\\H}}"},
  });
}

TEST(CarryIntoFontRuns, HeightsAndColoursInForce) {
  ExpectBodies({
      // One colour in front of two runs: both get it behind their font codes (12 stays 12).
      {"\\C3;\\fA;x\\fB;y", "{\\fs30\\cf1 \\cf2 {\\f1 \\cf2 x}{\\f2 \\cf2 y}"},
      {"\\C12;\\fA;x\\fB;y", "{\\fs30\\cf1 \\cf2 {\\f1 \\cf2 x}{\\f2 \\cf2 y}"},
      // A run's own colour is carried on into the next run.
      {"\\fA;x\\fB;\\C1;y\\fA;z", "{\\fs30\\cf1 {\\f1 \\cf1 x}{\\f2 \\cf2 y}{\\f1 \\cf2 z}"},
      // A height directly behind the font code: nothing carried in; the next run gets it.
      // Each run is a group of its own.
      {"\\fA;\\H2;x\\fB;y", "{\\fs30 \\cf1 {\\f1 \\fs24 x}{\\f2 \\fs24 y}}"},
      // Text between the font code and its height: the base height (30) goes in front of it.
      {"\\fA;z\\H2;x", "{\\fs30 \\cf1 {\\f1 \\fs30 z\\fs24 x}}"},
      // A carried value ends at its own ";" or at the next code: other codes behind a colour
      // code, and the codes behind one cut short, are not carried along.
      {"\\fA;\\C1;\\A1;x\\fB;y", "{\\fs30\\cf1 {\\f1 \\cf2 {\\f3 \\\\A1;}x}{\\f2 \\cf2 y}"},
      {"\\C1\\fA;x\\fB;y", "{\\fs30\\cf1 \\cf2\\f1 \\cf3 x}{\\f2 \\cf3 y}"},
      {"\\fA;\\H2\\fB;y\\fC;z", "{\\fs30 \\cf1 {\\f1 \\fs2}{\\f2 \\fs30 y}{\\f3 \\fs30 z}}"},
  });
}

// A font run's group closes in front of the "}" that closes the group its font code stands in:
// the group's height and colour end there, and the text behind it is in those outside it.
TEST(CarryIntoFontRuns, FontGroupsEndWithTheGroupTheyStandIn) {
  ExpectBodies({
      {"{\\C1;\\fArial;a}{\\fArial;b}c", "{\\fs30\\cf1 {\\cf2 {\\f1 \\cf2 a}}{{\\f1 \\cf1 b}}c"},
      {"{\\C1;\\H2;\\fArial;a}{\\fArial;b}c",
       "{\\fs30 \\cf1 {\\cf2 \\fs24 {\\f1 \\cf2 \\fs24 a}}{{\\f1 \\cf1 \\fs30 b}}c}"},
      {"{\\C1;\\H3;\\fArial;a}b{\\C2;c}d",
       "{\\fs30 \\cf1 {\\cf2 \\fs36 {\\f1 \\cf2 \\fs36 a}}{b}{\\cf3 c}{d}}"},
      // The first font run in a group closes in front of the next run, not the group with it.
      {"{\\C1;\\H3;a\\fA;x\\fB;y}z",
       "{\\fs30 \\cf1 {\\cf2 \\fs36 a{\\f1 \\cf2 \\fs36 x}{\\f2 \\cf2 \\fs36 y}}{z}}"},
      // The wrapping gives "z" and the run behind it a group, which the first run opens and
      // leaves open: the second run's font group stands inside it, and the first's closes behind
      // it. The wrapping's group stays open to the end, where the font code in it reaches.
      {"\\fA;x{\\C2;y}z\\fB;w", "{\\fs30\\cf1 {\\f1 \\cf1 x{\\cf2 y}{z{\\f2 \\cf1 w}}"},
  });
}

// A font run that leaves groups of its own open keeps its font group open over the runs behind
// it, up to the "}" that closes the group its font code stands in or the end of the text: the
// text behind a later run's group is in the first run's font, at the height and colour of the
// groups still open.
TEST(CarryIntoFontRuns, RunsThatLeaveGroupsOpenHoldTheRunsBehindThem) {
  ExpectBodies({
      {"\\fA;{\\H2x;a{\\fA;}b", "{\\fs30 \\cf1 {\\f1 \\fs30 {\\fs61 a{{\\f1 \\fs61 }}{b}}}"},
      // A relative height behind the later run multiplies the height of the open group (at the
      // size next to the base's, which it comes to).
      {"\\fA;{\\H2x;a{\\fB;b}\\H0.5x;c", "{\\fs30 \\cf1 {\\f1 \\fs30 {\\fs61 a{{\\f2 \\fs61 b}}{\\fs31 c}}"},
      // Two runs left open, one inside the other, each closing with its own group.
      {"\\fA;{\\H2x;a{\\fB;{\\H3x;b{\\fC;c}d}e}f",
       "{\\fs30 \\cf1 {\\f1 \\fs30 {\\fs61 a{{\\f2 \\fs61 {\\fs183 b{{\\f3 \\fs183 c}}{d}}{e}}}{f}}}"},
      {"{\\fA;{\\H2x;a{\\fB;b}c}d", "{\\fs30 \\cf1 {{\\f1 \\fs30 {\\fs61 a{{\\f2 \\fs61 b}}{c}}{d}}}"},
      // Without heights: the font and the colour of the open group reach the text behind.
      {"\\fA;a{\\fB;b}c", "{\\fs30\\cf1 {\\f1 \\cf1 a{{\\f2 \\cf1 b}}{c}}"},
      {"\\fA;{\\C1;a{\\fB;b}c", "{\\fs30\\cf1 {\\f1 \\cf1 {\\cf2 a{{\\f2 \\cf2 b}}{c}}"},
  });
}

TEST_F(OnePass, WrapBetweenGroupsWrapsEveryMatchingGap) {
  // t "b" first wraps "}b{", then every other "}b" as well; at the end each shorter tail of
  // the last gap is tried, and "}c" (left behind by the second wrap) is wrapped too.
  converter.workText = "{a}b{c}bc";
  converter.WrapBetweenGroups("}{\\C7;");
  EXPECT_BYTES_EQ("{a}{\\C7;b}{c}{\\C7;b}{\\C7;c}", converter.workText.GetString());
}

// A gap reaches to the next "}" only: its group closes in front of the "}" of the group it stands
// in, and "}}" (no gap) ends the step.
TEST_F(OnePass, WrapBetweenGroupsOnNestedGroups) {
  converter.workText = "{a{b}c}d";
  converter.WrapBetweenGroups("}{\\C7;");
  EXPECT_BYTES_EQ("{a{b}{\\C7;c}}{\\C7;d}", converter.workText.GetString());
  converter.workText = "a}}x{";
  converter.WrapBetweenGroups("}{\\C7;");
  EXPECT_BYTES_EQ("a}}x{", converter.workText.GetString());
}

TEST_F(OnePass, CarryColoursAddsTheCodeInForce) {
  converter.workText = "\\C5;a\\fX;b\\fY;\\C6;c";
  converter.CarryColoursIntoFontRuns();
  EXPECT_BYTES_EQ("\\C5;a\\fX;\\C5;b\\fY;\\C6;c", converter.workText.GetString());
}

TEST_F(OnePass, TerminatorsFollowEveryCodeWithASpace) {
  converter.workText = "\\fs30\\C7;a; b\\A1;";
  converter.TerminateCodesWithSpaces();
  EXPECT_BYTES_EQ("\\fs30\\C7 a; b\\A1 ", converter.workText.GetString());
  // A recorded code that also stands across a ";" already turned reaches the ";" behind it.
  converter.workText = "\\a;b;\\a b;";
  converter.TerminateCodesWithSpaces();
  EXPECT_BYTES_EQ("\\a b \\a b ", converter.workText.GetString());
}

TEST(RewritePreGroupedHeights, ValuesRunToTheNextBackslash) {
  ExpectBodies({
      {"{{{\\H2.5\\C1;a}}}", "{{{\\fs30\\cf1 a}}}"},
      {"{{{\\H10\\C1;a}}}", "{{{\\fs120\\cf1 a}}}"},
      // A height with nothing behind it is kept as code text.
      {"{{{\\H2", "{{{{\\f1 \\\\H2}"},
  });
}
