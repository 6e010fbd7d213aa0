// The host's MText reader: tokens with the format stack, and the layout that picking uses.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "qplatform/MText.h"
#include "qplatform/Script.h"
#include "support/Bytes.h"

namespace {

using qhost::mtext::Layout;
using qhost::mtext::LayoutParams;
using qhost::mtext::Token;
using qhost::mtext::TokenKind;
using qhost::mtext::Tokenize;

// Tokens written out compactly: "T(abc) H(2.5x) P ...".
std::string Describe(const std::vector<Token>& tokens) {
  std::string s;
  for (const Token& t : tokens) {
    if (!s.empty()) s += ' ';
    switch (t.kind) {
      case TokenKind::kText: s += "T(" + t.text + ")"; break;
      case TokenKind::kGroupOpen: s += "{"; break;
      case TokenKind::kGroupClose: s += "}"; break;
      case TokenKind::kFont: s += "F(" + t.arg + ")"; break;
      case TokenKind::kHeight: s += "H(" + t.arg + (t.relative ? ",rel" : "") + ")"; break;
      case TokenKind::kColor: s += "C(" + std::to_string(static_cast<int>(t.value)) + ")"; break;
      case TokenKind::kTrueColor: s += "c(" + std::to_string(static_cast<long>(t.value)) + ")"; break;
      case TokenKind::kUnderline: s += t.value ? "L" : "l"; break;
      case TokenKind::kOverline: s += t.value ? "O" : "o"; break;
      case TokenKind::kStrike: s += t.value ? "K" : "k"; break;
      case TokenKind::kParagraph: s += "P"; break;
      case TokenKind::kColumnBreak: s += "N"; break;
      case TokenKind::kNonBreakingSpace: s += "~"; break;
      case TokenKind::kAlign: s += "A(" + t.arg + ")"; break;
      case TokenKind::kWidthFactor: s += "W(" + t.arg + ")"; break;
      case TokenKind::kTracking: s += "Tr(" + t.arg + ")"; break;
      case TokenKind::kOblique: s += "Q(" + t.arg + ")"; break;
      case TokenKind::kParagraphProps: s += "p(" + t.arg + ")"; break;
      case TokenKind::kStack: s += "S(" + t.upper + std::string(1, t.separator) + t.lower + ")"; break;
      case TokenKind::kUnicode: s += "U(" + std::to_string(static_cast<int>(t.value)) + ")"; break;
      case TokenKind::kSpecial: s += "%(" + t.text + ")"; break;
      case TokenKind::kTab: s += "Tab"; break;
      case TokenKind::kUnknown: s += "?(" + t.text + ")"; break;
    }
  }
  return s;
}

TEST(MTextTokens, EveryCodeOfTheFormat) {
  const std::pair<std::string, std::string> cases[] = {
      // Fonts, heights, colours.
      {"\\fArial|b1|i0|c204|p34;Ab", "F(Arial|b1|i0|c204|p34) T(Ab)"},
      {"\\Ftxt.shx;x", "F(txt.shx) T(x)"},
      {"\\H2.5;a\\H1.5x;b", "H(2.5) T(a) H(1.5x,rel) T(b)"},
      {"\\C1;r\\c16711680;b", "C(1) T(r) c(16711680) T(b)"},
      // Switches and breaks.
      {"\\La\\l\\Ob\\o\\Kc\\k", "L T(a) l O T(b) o K T(c) k"},
      {"a\\Pb\\Nc\nd", "T(a) P T(b) N T(c) P T(d)"},
      {"1\\~2\t3", "T(1) ~ T(2) Tab T(3)"},
      // Groups, stacks, paragraph properties.
      {"{\\H2;x}y", "{ H(2) T(x) } T(y)"},
      {"\\S1/2;\\S3#4;\\S0.01^ 0.02;", "S(1/2) S(3#4) S(0.01^0.02)"},
      {"\\pxi-3,l4t4;\\A1;\\W0.8;\\T1.2;\\Q15;", "p(xi-3,l4t4) A(1) W(0.8) Tr(1.2) Q(15)"},
      // Escapes, Unicode, specials, unknown codes (kept).
      {"\\\\\\{\\}", "T(\\{})"},
      {"\\U+0416x\\U+12", "U(1046) T(x) ?(\\U) T(+12)"},
      {"94%%d %%c5", "T(94) %(%%d) T( ) %(%%c) T(5)"},
      {"\\M+1C3A4\\X", "?(\\M) T(+1C3A4) ?(\\X)"},
      // Unfinished codes end with the contents.
      {"\\H2", "H(2)"},
      {"a\\", "T(a\\)"},
  };
  for (const auto& [contents, expected] : cases) EXPECT_EQ(expected, Describe(Tokenize(contents))) << contents;
}

TEST(MTextTokens, RealStringsAreCoveredByteForByte) {
  REQUIRE_SHARED_DIR(shared);
  std::ifstream in(shared + "/corpus/mtext_strings.txt", std::ios::binary);
  std::string utf8;
  int lines = 0;
  while (std::getline(in, utf8)) {
    std::string contents;
    ASSERT_TRUE(qhost::Utf8ToCp1251(utf8, contents)) << utf8;
    auto tokens = Tokenize(contents);
    size_t at = 0;
    for (const Token& t : tokens) {
      ASSERT_EQ(at, t.begin) << utf8;
      ASSERT_GT(t.end, t.begin) << utf8;
      at = t.end;
    }
    EXPECT_EQ(contents.size(), at) << utf8;
    LayoutParams p;
    p.width = 50;
    Layout layout = qhost::mtext::LayOut(contents, p);
    EXPECT_FALSE(layout.lines.empty());
    EXPECT_GE(layout.height, 0.0);
    ++lines;
  }
  EXPECT_GT(lines, 500);
}

// --- Layout ----------------------------------------------------------------------------

TEST(MTextLayout, FormatStackAppliesAndRestores) {
  Layout layout = qhost::mtext::LayOut("a{\\H2x;\\C1;\\fArial|b1;b}c", LayoutParams{});
  ASSERT_EQ(1u, layout.lines.size());
  const auto& runs = layout.lines[0].runs;
  ASSERT_EQ(3u, runs.size());
  EXPECT_EQ("b", runs[1].text);
  EXPECT_EQ(5.0, runs[1].format.height);
  EXPECT_EQ(1, runs[1].format.color);
  EXPECT_EQ("Arial", runs[1].format.font);
  EXPECT_TRUE(runs[1].format.bold);
  EXPECT_EQ(runs[0].format, runs[2].format);
  EXPECT_EQ(5.0, layout.lines[0].height);
}

// The editor's contents put the colour and underline codes straight behind a height's number.
TEST(MTextLayout, ANumberEndsAtTheNextCodeWithoutItsSemicolon) {
  Layout layout = qhost::mtext::LayOut("{{\\fArial|b0|i0;{\\H1.7\\L\\C1;u\\l}}{{\\H3.5\\C5;v}}}", LayoutParams{});
  ASSERT_EQ(1u, layout.lines.size());
  const auto& runs = layout.lines[0].runs;
  ASSERT_EQ(2u, runs.size());
  EXPECT_EQ("u", runs[0].text);
  EXPECT_DOUBLE_EQ(1.7, runs[0].format.height);
  EXPECT_EQ(1, runs[0].format.color);
  EXPECT_TRUE(runs[0].format.underline);
  EXPECT_EQ("v", runs[1].text);
  EXPECT_DOUBLE_EQ(3.5, runs[1].format.height);
  EXPECT_EQ(5, runs[1].format.color);
  EXPECT_FALSE(runs[1].format.underline);
}

TEST(MTextLayout, LinesBreakAtParagraphsAndAtTheWidth) {
  LayoutParams p;
  p.height = 1.0;
  EXPECT_EQ("one\ntwo\n", qhost::mtext::LayOut("one\\Ptwo\\P", p).text());
  p.width = 6.0;  // about nine characters of height 1
  EXPECT_EQ("aaaa bbbb \ncccc", qhost::mtext::LayOut("aaaa bbbb cccc", p).text());
  EXPECT_EQ("aaaaaaaaaaaaaaaa", qhost::mtext::LayOut("aaaaaaaaaaaaaaaa", p).text()) << "a long word overflows";
  EXPECT_EQ("1/2 \\U+0416%%d", qhost::mtext::LayOut("\\S1/2; \\U+0416%%d", LayoutParams{}).text());
}

// Wrapping keeps the lines the host has always made: layouts of generated paragraphs (words,
// blanks, tabs, stacks, height groups, paragraph breaks) at several widths, each line's text and
// measures written exactly, against the file recorded from the line breaker that summed each
// line afresh for every item.
std::string WrappedLayouts() {
  static const char* const kPieces[] = {"word", " ",  "  ",       "\\P",       "{\\H2x;tall}", "\\S1/2;", "\t",
                                        "\\~",  "x", "longerword", "{\\W2;w}", "\\U+0416",     "%%d",     " \\P "};
  std::string out;
  unsigned seed = 12345;
  auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
  for (int n = 0; n < 64; ++n) {
    std::string contents;
    const int pieces = 1 + static_cast<int>(next() % (n < 60 ? 30 : 1000));
    for (int k = 0; k < pieces; ++k) contents += kPieces[next() % (sizeof kPieces / sizeof *kPieces)];
    LayoutParams p;
    p.width = (next() % 5) * 7.5;
    Layout layout = qhost::mtext::LayOut(contents, p);
    char measures[96];
    std::snprintf(measures, sizeof measures, "case %d width %.17g: %.17g x %.17g\n", n, p.width, layout.width,
                  layout.height);
    out += measures;
    for (const auto& line : layout.lines) {
      std::snprintf(measures, sizeof measures, "%.17g %.17g %.17g|", line.width, line.height, line.y);
      out += measures + line.text() + "\n";
    }
  }
  return out;
}

TEST(MTextLayout, WrappingMakesTheRecordedLines) {
  const std::string path = std::string(TEST_DATA_DIR) + "/wrapped-layouts.txt";
  const std::string made = WrappedLayouts();
  if (std::getenv("QUILLON_UPDATE_GOLDEN")) std::ofstream(path, std::ios::binary) << made;
  EXPECT_BYTES_EQ(testsupport::ReadFile(path), made);
}

// A megabyte of words wrapped every few words, a megabyte of backslashes, a megabyte of codes
// with no ";" behind them: a line breaker that sums each line afresh for every item, or a
// reader that looks for the ";" afresh for every code, takes minutes here (bench/scaling
// measures the time).
TEST(MTextLayout, AMegabyteParagraphWrapsInOneSweep) {
  std::string words, codes;
  while (words.size() < (1u << 20)) words += "word ";
  while (codes.size() < (1u << 20)) codes += "\\H2x";
  LayoutParams p;
  p.width = 20;
  EXPECT_GT(qhost::mtext::LayOut(words, p).lines.size(), 10000u);
  p.width = 0;
  EXPECT_EQ(1u, qhost::mtext::LayOut(std::string(1u << 20, '\\'), p).lines.size());
  EXPECT_EQ(codes.size() / 4, Tokenize(codes).size()) << "one height code each";
}

TEST(MTextLayout, AttachmentAndRotationPlaceTheExtent) {
  LayoutParams p;
  p.height = 2.0;
  p.location = AcGePoint3d(10, 10, 0);
  Layout topLeft = qhost::mtext::LayOut("ab", p);
  double w = topLeft.width, h = topLeft.height;
  EXPECT_EQ(2.0, h);
  EXPECT_EQ(AcGePoint3d(10, 8, 0), topLeft.corners[0]);
  EXPECT_EQ(AcGePoint3d(10 + w, 10, 0), topLeft.corners[2]);
  p.attachment = 9;  // bottom right
  Layout bottomRight = qhost::mtext::LayOut("ab", p);
  EXPECT_EQ(AcGePoint3d(10 - w, 10, 0), bottomRight.corners[0]);
  EXPECT_EQ(AcGePoint3d(10, 12, 0), bottomRight.corners[2]);
  p.attachment = 5;  // middle centre, turned a quarter
  p.rotation = M_PI / 2;
  Layout turned = qhost::mtext::LayOut("ab", p);
  EXPECT_TRUE(turned.contains(AcGePoint3d(10, 10 + w / 2 - 0.01, 0), 0));
  EXPECT_FALSE(turned.contains(AcGePoint3d(10 + w / 2, 10, 0), 0));
}

}  // namespace
