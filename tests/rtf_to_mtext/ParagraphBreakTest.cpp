// RtfToMText's paragraph rule next to typed backslashes: a "\par " is the paragraph mark unless its
// own backslash is escaped; the fast and the literal RtfToMText agree byte for byte.
#include "converter/MTextRtfConverter.h"
#include "converter/reference/LiteralRtfToMText.h"
#include "host/HostColors.h"
#include "support/Bytes.h"

namespace {

struct ParagraphCase {
  const char* run;
  const char* expected;
};

TEST(ConvertRun, ParagraphMarkBehindTypedBackslashesStaysABreak) {
  const ParagraphCase cases[] = {
      // The user's own backslash-par (one escaped backslash, then "par ") stays text.
      {"\\plain\\f2\\fs20 a\\\\par b", "{\\f2|b0|i0;{\\H1.7;a\\\\par b}}"},
      // A backslash typed at the end of a paragraph: the escaped backslash, then the mark.
      {"\\plain\\f2\\fs20 a\\\\\\par b", "{\\f2|b0|i0;{\\H1.7;a\\\\\\Pb}}"},
      // Two typed backslashes and "par ": text; two typed backslashes and the mark: a break.
      {"\\plain\\f2\\fs20 a\\\\\\\\par b", "{\\f2|b0|i0;{\\H1.7;a\\\\\\\\par b}}"},
      {"\\plain\\f2\\fs20 a\\\\\\\\\\par b", "{\\f2|b0|i0;{\\H1.7;a\\\\\\\\\\Pb}}"},
      // The same at the very start of the run text and at its end.
      {"\\plain\\f2\\fs20 \\\\\\par ", "{\\f2|b0|i0;{\\H1.7;\\\\\\P}}"},
      {"\\plain\\f2\\fs20 x\\par \\\\par ", "{\\f2|b0|i0;{\\H1.7;x\\P\\\\par }}"},
      // A placeholder typed by the user still turns into a backslash-par, as it always did.
      {"\\plain\\f2\\fs20 a//__b", "{\\f2|b0|i0;{\\H1.7;a\\\\par b}}"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testsupport::Readable(c.run));
    HostColors colors;
    MTextRtfConverter fast(colors);
    literal::RtfToMTextConverter reference(colors);
    EXPECT_BYTES_EQ(c.expected, fast.ConvertRun(c.run));
    EXPECT_BYTES_EQ(c.expected, reference.ConvertRun(c.run));
  }
}

TEST(RtfToMText, TypedBackslashEndingAParagraphKeepsTheBreak) {
  // "a\" Enter "b" as the control streams it out.
  const std::string rtf =
      "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fnil MS Sans Serif;}{\\f1\\froman\\fcharset2 Symbol;}"
      "{\\f2\\fswiss\\fcharset204 Arial;}}\r\n{\\colortbl\\red0\\green0\\blue0;}\r\n"
      "\\deflang1049\\pard\\plain\\f2\\fs20 a\\\\\r\n\\par b\r\n\\par }\r\n";
  HostColors colors;
  MTextRtfConverter fast(colors);
  literal::RtfToMTextConverter reference(colors);
  const CString input(rtf.data(), static_cast<int>(rtf.size()));
  const char* expected = "{{\\fArial|c204|p34|b0|i0;{\\H1.7;a\\\\\\Pb}}}";
  EXPECT_BYTES_EQ(expected, fast.RtfToMText(input));
  EXPECT_BYTES_EQ(expected, reference.RtfToMText(input));
}

}  // namespace
