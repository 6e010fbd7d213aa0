// The difference format of the golden drawings: what Diff writes, Apply turns back into the
// exact bytes, and Apply refuses differences that do not fit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LineDiff.h"
#include "support/Bytes.h"

namespace {

TEST(LineDiff, EqualTextsGiveNoDifferences) {
  EXPECT_EQ("", linediff::Diff("", ""));
  EXPECT_EQ("", linediff::Diff("  0\r\nEOF\r\n", "  0\r\nEOF\r\n"));
  EXPECT_BYTES_EQ("a\r\nb\r\n", linediff::Apply("a\r\nb\r\n", ""));
}

TEST(LineDiff, AHunkNamesItsLinesAndKeepsTheirCarriageReturns) {
  EXPECT_BYTES_EQ("@@ -2,1 +2,2\n-b\r\n+B\r\n+C\r\n", linediff::Diff("a\r\nb\r\nc\r\n", "a\r\nB\r\nC\r\nc\r\n"));
  EXPECT_BYTES_EQ("@@ -1,0 +1,1\n+z\n", linediff::Diff("a\n", "z\na\n"));
  EXPECT_BYTES_EQ("@@ -2,1 +2,0\n-b\n", linediff::Diff("a\nb\nc", "a\nc"));
}

// Every pair of these texts goes through Diff and Apply back to its exact bytes: edits at the
// start, in the middle and at the end, a missing last line end, repeated lines, CR inside lines.
TEST(LineDiff, ApplyGivesBackTheExactBytesOfEveryPair) {
  const std::vector<std::string> texts = {
      "",           "\n",          "a",          "a\n",         "a\r\n",        "a\r\nb\r\nc\r\n",
      "b\r\nc\r\n", "a\r\nc\r\n",  "a\r\nb\r\n", "x\r\na\r\nb\r\nc\r\ny\r\n", "c\nb\na\n", "a\na\na\nb\na\n",
      "a\nb\na\nb", "a\r\r\nb\n", "\n\n\n",      "  0\r\nMTEXT\r\n  1\r\nold\r\n  0\r\nEOF\r\n",
      "  0\r\nMTEXT\r\n  1\r\nnew\r\n  0\r\nMTEXT\r\n  1\r\nmore\r\n  0\r\nEOF\r\n"};
  for (const std::string& from : texts)
    for (const std::string& to : texts) {
      std::string diff = linediff::Diff(from, to);
      EXPECT_BYTES_EQ(to, linediff::Apply(from, diff)) << "from " << testsupport::Readable(from) << "\ndiff " << testsupport::Readable(diff);
    }
}

TEST(LineDiff, DifferencesThatDoNotFitAreRefused) {
  const std::string input = "a\nb\nc\n";
  EXPECT_THROW(linediff::Apply(input, "@@ -2,1 +2,1\n-x\n+y\n"), std::runtime_error);  // b is not x
  EXPECT_THROW(linediff::Apply(input, "@@ -3,3 +3,0\n-c\n-\n-d\n"), std::runtime_error);  // past the end
  EXPECT_THROW(linediff::Apply(input, "@@ -2,0 +2,1\n+y\n@@ -1,1 +1,0\n-a\n"), std::runtime_error);  // out of order
  EXPECT_THROW(linediff::Apply(input, "@@ -0,0 +1,1\n+y\n"), std::runtime_error);
  EXPECT_THROW(linediff::Apply(input, "@@ -2,1 +2,2\n-b\n+y\n"), std::runtime_error);  // an added line missing
  EXPECT_THROW(linediff::Apply(input, "-b\n"), std::runtime_error);
  EXPECT_THROW(linediff::Apply(input, "@@ -2,1 +2,1 x\n-b\n+y\n"), std::runtime_error);
}

}  // namespace
