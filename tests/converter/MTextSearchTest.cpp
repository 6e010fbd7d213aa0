// The search in MText: the displayed text of codes, and replacements held as exact bytes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "converter/MTextSearch.h"
#include "tests/support/Bytes.h"

namespace {

using mtextsearch::TextKind;

// Contents are code page 1251 (plain literals); displayed text, patterns and replacements UTF-8 (u8).
struct DisplayCase {
  const char* contents;
  TextKind kind;
  const char* shown;
};

TEST(MTextSearchDisplay, ShowsTheTextAReaderSees) {
  const DisplayCase cases[] = {
      // Paragraphs, spaces, escapes
      {"a\\Pb\\Nc", TextKind::kMText, u8"a\nb\nc"},
      {"a\\~b", TextKind::kMText, u8"a b"},
      {"\\\\ \\{ \\}", TextKind::kMText, u8"\\ { }"},
      {"a\nb\tc", TextKind::kMText, u8"a\nb\tc"},
      // Formatting codes show nothing
      {"{\\fArial|b1;\\C1;\\H2.5x;\\W0.8;\\T1.1;\\Q15;\\A1;\\pxqc;\\L\\l\\O\\o\\K\\kx}", TextKind::kMText, u8"x"},
      {"\\C1red", TextKind::kMText, u8"red"},
      {"\\H2.5xy", TextKind::kMText, u8"y"},
      {"\\Xa", TextKind::kMText, u8"a"},
      {"end\\", TextKind::kMText, u8"end"},
      // Symbols and characters
      {"%%d %%P %%c %%%", TextKind::kMText, u8"° ± Ø %%%"},
      {"%%065%%192", TextKind::kMText, u8"AА"},
      {"\\U+00D8 \\U+2205 \\u+0041 \\U+D83D\\U+DE00 \\U+D800", TextKind::kMText, u8"Ø ∅ A 😀 \uFFFD"},
      {"Привет", TextKind::kMText, u8"Привет"},
      // Stacks: the upper part, the divider, the lower part
      {"\\S1/2;", TextKind::kMText, u8"1/2"},
      {"x\\S1#2;y", TextKind::kMText, u8"x1#2y"},
      {"\\Sa\\^b^c\\;d;e", TextKind::kMText, u8"a^b^c;de"},
      {"\\Sabc", TextKind::kMText, u8"abc"},
      // Unknown codes show as written
      {"\\Mx\\Zy", TextKind::kMText, u8"\\Mx\\Zy"},
      // Single-line text: only %%-codes and \U+XXXX
      {"%%uA%%u {b} \\P %%d \\U+0416", TextKind::kSingleLine, u8"A {b} \\P ° Ж"},
      // A dimension's measurement is a code
      {"<> mm \\Pmax", TextKind::kDimension, u8" mm \nmax"},
  };
  for (const auto& c : cases) {
    EXPECT_BYTES_EQ(c.shown, mtextsearch::Display(c.contents, c.kind).utf8) << "contents: " << testsupport::Readable(c.contents);
  }
}

TEST(MTextSearchDisplay, MapsEachCharacterToTheBytesThatWriteIt) {
  auto shown = mtextsearch::Display("{\\C1;a}\\Pb%%d\\S1/2;", TextKind::kMText);
  struct Span {
    uint32_t begin, end;
  };
  const Span expected[] = {{5, 6}, {7, 9}, {9, 10}, {10, 13}, {15, 16}, {16, 17}, {17, 18}};
  ASSERT_EQ(std::size(expected), shown.chars.size());
  for (size_t k = 0; k < shown.chars.size(); ++k) {
    EXPECT_EQ(expected[k].begin, shown.chars[k].sourceBegin) << "character " << k;
    EXPECT_EQ(expected[k].end, shown.chars[k].sourceEnd) << "character " << k;
  }
  ASSERT_EQ(1u, shown.stacks.size());
  EXPECT_EQ(13u, shown.stacks[0].sourceBegin);
  EXPECT_EQ(19u, shown.stacks[0].sourceEnd);
}

struct ReplaceCase {
  const char* contents;
  TextKind kind;
  const char* pattern;
  mtextsearch::SearchOptions options;
  const char* replacement;
  const char* expected;
  size_t count;
};

constexpr mtextsearch::SearchOptions kLiteral{};
constexpr mtextsearch::SearchOptions kIgnoreCase{true, false, false};
constexpr mtextsearch::SearchOptions kWholeWord{false, true, false};
constexpr mtextsearch::SearchOptions kRegex{false, false, true};

TEST(MTextSearchReplace, ChangesOnlyTheCharactersReplaced) {
  const ReplaceCase cases[] = {
      // Inside one run: the run's codes stay around it
      {"{\\C1;room} 12", TextKind::kMText, u8"room", kLiteral, u8"hall", "{\\C1;hall} 12", 1},
      {"\\fArial;Kitchen\\PKitchen", TextKind::kMText, u8"Kitchen", kLiteral, u8"Bath", "\\fArial;Bath\\PBath", 2},
      // Across runs: the replacement takes the first character's place, the codes between stay
      {"ro{\\C1;om} 12", TextKind::kMText, u8"room", kLiteral, u8"hall", "hall{\\C1;} 12", 1},
      {"a\\Pb", TextKind::kMText, u8"a\nb", kLiteral, u8"c", "c", 1},
      {"a\\Lb\\lc", TextKind::kMText, u8"abc", kLiteral, u8"X", "X\\L\\l", 1},
      // Typed text is text: braces, backslashes, line breaks escaped
      {"x", TextKind::kMText, u8"x", kLiteral, u8"{a}\\b\nc", "\\{a\\}\\\\b\\Pc", 1},
      {"x", TextKind::kSingleLine, u8"x", kLiteral, u8"{a}\\b", "{a}\\b", 1},
      {"x", TextKind::kMText, u8"x", kLiteral, u8"50%%d", "50\\U+0025%d", 1},
      // Characters code page 1251 lacks
      {"d=10", TextKind::kMText, u8"d", kLiteral, u8"⌀", "\\U+2300=10", 1},
      {"x", TextKind::kMText, u8"x", kLiteral, u8"😀", "\\U+D83D\\U+DE00", 1},
      // Codes and escapes match as the characters they show
      {"10%%d", TextKind::kMText, u8"10°", kLiteral, u8"ten degrees", "ten degrees", 1},
      {"\\U+0416ук", TextKind::kMText, u8"Жук", kLiteral, u8"Жаба", "Жаба", 1},
      {"a\\~b", TextKind::kMText, u8"a b", kLiteral, u8"c", "c", 1},
      {"\\\\server", TextKind::kMText, u8"\\server", kLiteral, u8"\\host", "\\\\host", 1},
      // Codes are never matched
      {"\\C1;C1", TextKind::kMText, u8"C1", kLiteral, u8"C2", "\\C1;C2", 1},
      {"{\\fArial;Arial}", TextKind::kMText, u8"Arial", kLiteral, u8"Times", "{\\fArial;Times}", 1},
      {"<> mm", TextKind::kDimension, u8"<>", kLiteral, u8"x", "<> mm", 0},
      // Stacks: one part, or the whole stack; never a cut
      {"\\S1/2;", TextKind::kMText, u8"1", kLiteral, u8"3", "\\S3/2;", 1},
      {"\\S1/2;", TextKind::kMText, u8"2", kLiteral, u8"a/b", "\\S1/a\\/b;", 1},
      {"x \\S1/2; y", TextKind::kMText, u8"1/2", kLiteral, u8"half", "x half y", 1},
      {"x \\S1/2; y", TextKind::kMText, u8"x 1", kLiteral, u8"z", "x \\S1/2; y", 0},
      {"x \\S1/2; y", TextKind::kMText, u8"/", kLiteral, u8"z", "x \\S1/2; y", 0},
      // Cyrillic and other case folding
      {"Комната КОМНАТА комната", TextKind::kMText, u8"комната", kIgnoreCase, u8"зал", "зал зал зал", 3},
      {"Ёлка ёлка", TextKind::kMText, u8"ЁЛКА", kIgnoreCase, u8"ель", "ель ель", 2},
      {"Stra\\U+00DFe STRASSE", TextKind::kMText, u8"STRAßE", kIgnoreCase, u8"x", "x STRASSE", 1},
      // Whole words, in any script
      {"кот котел кот", TextKind::kMText, u8"кот", kWholeWord, u8"пёс", "пёс котел пёс", 2},
      {"room rooms", TextKind::kMText, u8"room", kWholeWord, u8"hall", "hall rooms", 1},
      // Regular expressions, groups
      {"A-12 B-7", TextKind::kMText, u8"([A-Z])-(\\d+)", kRegex, u8"$2${1}$$", "12A$ 7B$", 2},
      {"Этаж 1\\PЭтаж 2", TextKind::kMText, u8"^Этаж (\\d)$", kRegex, u8"Уровень $1", "Уровень 1\\PУровень 2", 2},
      {"abc", TextKind::kMText, u8"x*", kRegex, u8"y", "abc", 0},
      // Single-line text: its own codes
      {"%%uNote%%u 5%%d", TextKind::kSingleLine, u8"Note 5°", kLiteral, u8"N", "%%uN%%u", 1},
      // A replacement that would join what is left into a code is refused whole
      {"%%xd", TextKind::kMText, u8"x", kLiteral, u8"", "%%xd", 0},
  };
  for (const auto& c : cases) {
    auto pattern = mtextsearch::Pattern::FromUtf8(c.pattern, c.options);
    ASSERT_TRUE(pattern.valid()) << c.pattern << ": " << pattern.error();
    auto replaced = mtextsearch::ReplaceAll(pattern, c.contents, c.kind, c.replacement);
    EXPECT_BYTES_EQ(c.expected, replaced.contents) << "contents: " << testsupport::Readable(c.contents)
                                                   << " pattern: " << c.pattern;
    EXPECT_EQ(c.count, replaced.count) << "contents: " << testsupport::Readable(c.contents) << " pattern: " << c.pattern;
  }
}

TEST(MTextSearchFind, ReportsMatchesInDisplayedCharactersAndSourceBytes) {
  auto pattern = mtextsearch::Pattern::FromUtf8(u8"b°", {});
  auto matches = mtextsearch::Find(pattern, "a\\Pb%%d b%%d", TextKind::kMText);
  ASSERT_EQ(2u, matches.size());
  EXPECT_EQ(2u, matches[0].begin);
  EXPECT_EQ(4u, matches[0].end);
  EXPECT_EQ(3u, matches[0].sourceBegin);
  EXPECT_EQ(7u, matches[0].sourceEnd);
  EXPECT_EQ(8u, matches[1].sourceBegin);
}

TEST(MTextSearchPattern, ReportsBadPatterns) {
  struct Case {
    const char* pattern;
    mtextsearch::SearchOptions options;
    bool valid;
  } const cases[] = {
      {u8"a(b", kRegex, false}, {u8"a(b", kLiteral, true}, {u8"", kLiteral, false},
      {u8"[", kRegex, false},   {u8"\\", kLiteral, true},  {u8"\xFF", kLiteral, false},
  };
  for (const auto& c : cases) {
    auto pattern = mtextsearch::Pattern::FromUtf8(c.pattern, c.options);
    EXPECT_EQ(c.valid, pattern.valid()) << testsupport::Readable(c.pattern);
    EXPECT_EQ(c.valid, pattern.error().empty()) << testsupport::Readable(c.pattern);
  }
  // The editor's patterns are code page 1251.
  auto cp1251 = mtextsearch::Pattern::FromCp1251("ДОМ", kIgnoreCase);
  EXPECT_EQ(1u, mtextsearch::Find(cp1251, "дом", TextKind::kMText).size());
}

}  // namespace
