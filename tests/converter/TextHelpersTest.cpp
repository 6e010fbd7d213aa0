// The string helpers: their edge rules, the two guards against endless scans, and the fast
// helpers held to the literal ones on generated texts.
#include "converter/TextHelpers.h"

#include <random>

#include "support/Bytes.h"
#include "converter/reference/LiteralHelpers.h"

namespace {

struct BetweenCase {
  const char* source;
  const char* start;
  const char* end;
  const char* expected;
};

TEST(TextBetween, FollowsTheMarkerRules) {
  const BetweenCase cases[] = {
      // Empty markers: before the first space from position 1, after the first space.
      {"abc def", "", " ", "abc"},
      {"abc def", " ", "", "def"},
      {" abc def", "", " ", " abc"},
      {"\\f2\\fs20", "\\f", "\\", "2"},
      // An absent end marker runs to the end.
      {"x\\lang1049 y", "\\lang", "}", "1049 y"},
      // An absent start marker counts as found at -1: the text from length(start) - 1.
      {"abcdef", "xyz", "", "cdef"},
      {"abc def", "xy", " ", "bc"},
      {"abc", "wxyz", "", ""},
      // The end marker is searched from one byte after the start marker's beginning: found
      // inside the start marker, it gives a negative count and an empty text.
      {"a\\b\\c", "\\b\\", "\\", ""},
      {"", "", "", ""},
      {"", "a", "b", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "TextBetween(" << c.source << ", " << c.start << ", " << c.end << ")");
    EXPECT_BYTES_EQ(c.expected, TextBetween(c.source, c.start, c.end));
    EXPECT_BYTES_EQ(c.expected, literal::TextBetween(c.source, c.start, c.end));
  }
}

struct ReplaceCase {
  const char* source;
  const char* replacement;
  const char* pattern;
  const char* expected;
};

TEST(ReplaceAll, ReplacesWithTheStartOverRule) {
  const ReplaceCase cases[] = {
      {"a-b-c", "", "-", "abc"},
      {"abc", "x", "z", "abc"},
      {"aXbXc", "XY", "X", "aXYbXYc"},
      // An occurrence that ends the string sends the scan back to the beginning.
      {"aab", "b", "ab", "b"},
      {"aaab", "b", "ab", "b"},
      {"xa", "ab", "a", "xabb"},
      // Without one at the end, the scan goes on behind each insertion only.
      {"aabx", "b", "ab", "abx"},
      // A replacement that begins with its pattern ends, but one at the end is met twice.
      {"\\f2\\f2 ", "\\f2|b0|i0;", "\\f2", "\\f2|b0|i0;\\f2|b0|i0; "},
      {"\\f2", "\\f2|b1|i0;", "\\f2", "\\f2|b1|i0;|b1|i0;"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "ReplaceAll(" << c.source << ", " << c.pattern << ", " << c.replacement << ")");
    EXPECT_BYTES_EQ(c.expected, TextReplacer().ReplaceAll(c.source, c.pattern, c.replacement));
    EXPECT_BYTES_EQ(c.expected, literal::TextReplacer().ReplaceAll(c.source, c.pattern, c.replacement));
  }
}

TEST(ReplaceAll, GuardsEndTheScansThatWouldNeverEnd) {
  const ReplaceCase cases[] = {
      // A replacement ending with its own pattern: the occurrence at the end is replaced once.
      {"x}}", "}{\\C7;}}", "}}", "x}{\\C7;}}"},
      {"ab", "ab", "ab", "ab"},
      {"aa", "baa", "aa", "baa"},
      {"aXa", "ba", "a", "baXba"},
      // An empty pattern replaces nothing.
      {"abc", "x", "", "abc"},
      {"", "x", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "ReplaceAll(" << c.source << ", " << c.pattern << ", " << c.replacement << ")");
    EXPECT_BYTES_EQ(c.expected, TextReplacer().ReplaceAll(c.source, c.pattern, c.replacement));
    EXPECT_BYTES_EQ(c.expected, literal::TextReplacer().ReplaceAll(c.source, c.pattern, c.replacement));
  }
}

TEST(CutSpans, RemovesEachMarkerWithItsSpan) {
  const BetweenCase cases[] = {
      {"x\\lang1049 y", "\\lang", " ", "x y"},
      // All identical spans go at once; other spans one after the other.
      {"\\li200\\fi-200\\li200\\li10\\x", "\\li", "\\", "\\fi-200\\x"},
      // A removal with no end marker behind it runs to the end of the text.
      {"ab\\lang1049", "\\lang", " ", "ab"},
      // The span of the first marker is removed wherever it stands, also inside a longer one.
      {"\\li2\\li200 ", "\\li", "\\", "00 "},
      // The end marker found inside the start marker: the span is empty.
      {"a\\brdrdb\\x", "\\brdrdb\\", "\\", "ax"},
      {"abc", "\\v", " ", "abc"},
      // An empty start marker marks nothing.
      {"ab cd", "", " ", "ab cd"},
      {"", "", "\\", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "CutSpans(" << c.source << ", " << c.start << ", " << c.end << ")");
    EXPECT_BYTES_EQ(c.expected, CutSpans(c.source, c.start, c.end));
    EXPECT_BYTES_EQ(c.expected, literal::CutSpans(c.source, c.start, c.end));
  }
}

TEST(DecodeHexEscapes, DecodesLowercaseEscapesFrom80) {
  const struct {
    const char* text;
    std::string expected;
  } cases[] = {
      {"\\'e0\\'e1", "\xE0\xE1"},
      {"a\\'80b\\'ffc", "a\x80" "b\xFF" "c"},
      // Upper-case digits, values below 80 and cut-short escapes stay.
      {"\\'E0\\'41\\'e", "\\'E0\\'41\\'e"},
      {"\\'e", "\\'e"},
      // The user's own backslash before an escape-like text: the four bytes are decoded.
      {"\\\\'e0", "\\\xE0"},
      {"\\'\\'e0", "\\'\xE0"},
      {"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_BYTES_EQ(c.expected, DecodeHexEscapes(c.text));
    EXPECT_BYTES_EQ(c.expected, literal::DecodeHexEscapes(c.text));
  }
}

// Random texts over a small alphabet rich in the bytes the helpers react to.
std::string RandomText(std::mt19937& rng, const std::string& alphabet, int maxLength) {
  std::uniform_int_distribution<int> length(0, maxLength);
  std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
  std::string s(static_cast<size_t>(length(rng)), ' ');
  for (char& c : s) c = alphabet[pick(rng)];
  return s;
}

CString C(const std::string& s) { return CString(s.data(), static_cast<int>(s.size())); }

TEST(TextHelpers, FastHelpersMatchTheLiteralOnes) {
  std::mt19937 rng(1049);
  const std::string alphabet = "ab\\' }{fe0";
  for (int round = 0; round < 20000; ++round) {
    std::string text = RandomText(rng, alphabet, 24);
    std::string first = RandomText(rng, alphabet, 3);
    std::string second = RandomText(rng, alphabet, 3);
    SCOPED_TRACE(testing::Message() << "text " << testsupport::Readable(text) << " / " << testsupport::Readable(first)
                                    << " / " << testsupport::Readable(second));
    ASSERT_BYTES_EQ(literal::TextBetween(C(text), C(first), C(second)), TextBetween(C(text), C(first), C(second)));
    ASSERT_BYTES_EQ(literal::TextReplacer().ReplaceAll(C(text), C(second), C(first)),
                    TextReplacer().ReplaceAll(C(text), C(second), C(first)));
    ASSERT_BYTES_EQ(literal::CutSpans(C(text), C(first), C(second)), CutSpans(C(text), C(first), C(second)));
    std::string escapes = RandomText(rng, "\\'8ae0x", 24);
    ASSERT_BYTES_EQ(literal::DecodeHexEscapes(C(escapes)), DecodeHexEscapes(C(escapes)));
  }
}

TEST(TextHelpers, FastHelpersMatchTheLiteralOnesOnLongTexts) {
  // Long texts take the search's memchr and memmem paths; the alphabet makes the pattern's
  // bytes common enough to switch between them.
  std::mt19937 rng(1251);
  for (int round = 0; round < 3000; ++round) {
    std::string text = RandomText(rng, round % 2 ? "\\\\ab f" : "abcdefghij\\ ", 600);
    std::string pattern = RandomText(rng, "\\ab f", 4);
    if (pattern.empty()) pattern = "\\";
    std::string replacement = RandomText(rng, "xy\\", 3);
    SCOPED_TRACE(testing::Message() << testsupport::Readable(text) << " / " << testsupport::Readable(pattern));
    ASSERT_BYTES_EQ(literal::TextReplacer().ReplaceAll(C(text), C(pattern), C(replacement)),
                    TextReplacer().ReplaceAll(C(text), C(pattern), C(replacement)));
    ASSERT_BYTES_EQ(literal::CutSpans(C(text), C(pattern), " "), CutSpans(C(text), C(pattern), " "));
    ASSERT_BYTES_EQ(literal::TextBetween(C(text), C(pattern), C(replacement)),
                    TextBetween(C(text), C(pattern), C(replacement)));
  }
}

}  // namespace
