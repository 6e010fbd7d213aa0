// CString: the clamping rules of Find, Mid, Left and Right that the converters depend on,
// and the rest of the byte-string surface the module uses.
#include <afx.h>

#include "support/Bytes.h"

namespace {

struct Case {
  const char* what;
  CString actual;
  const char* expected;
};

void ExpectCases(const std::vector<Case>& cases) {
  for (const auto& c : cases) {
    EXPECT_BYTES_EQ(c.expected, std::string(c.actual, c.actual.GetLength())) << c.what;
  }
}

}  // namespace

TEST(CStringFind, ClampsTheStartAndFindsEmptyAtStart) {
  CString s("abcabc");
  EXPECT_EQ(s.Find("bc"), 1);
  EXPECT_EQ(s.Find("bc", 2), 4);
  EXPECT_EQ(s.Find("bc", 5), -1);
  EXPECT_EQ(s.Find("", 3), 3);
  EXPECT_EQ(s.Find("", 6), 6) << "an empty pattern is found at the end itself";
  EXPECT_EQ(s.Find("", 7), -1) << "a start beyond the length finds nothing";
  EXPECT_EQ(s.Find("a", -5), 0) << "a negative start counts as 0";
  EXPECT_EQ(s.Find('c', 3), 5);
  EXPECT_EQ(s.Find("abcabcd"), -1);
  EXPECT_EQ(CString().Find(""), 0);
}

TEST(CStringMid, ClampsFirstAndCount) {
  CString s("abcdef");
  ExpectCases({
      // first and count inside the string
      {"plain", s.Mid(1, 3), "bcd"},
      {"without count", s.Mid(2), "cdef"},
      // clamping
      {"negative first counts as 0", s.Mid(-3, 2), "ab"},
      {"negative count counts as 0", s.Mid(2, -1), ""},
      {"count cut at the end", s.Mid(4, 100), "ef"},
      {"first at the end", s.Mid(6), ""},
      {"first beyond the end", s.Mid(9, 2), ""},
  });
}

TEST(CStringLeftRight, ClampCount) {
  CString s("abcdef");
  ExpectCases({
      {"left", s.Left(2), "ab"},
      {"left longer than the string", s.Left(10), "abcdef"},
      {"left negative", s.Left(-1), ""},
      {"right", s.Right(2), "ef"},
      {"right longer than the string", s.Right(10), "abcdef"},
      {"right negative", s.Right(-4), ""},
  });
}

TEST(CStringBytes, KeepsNulAndHighBytes) {
  CString s("a\0b\xE0", 4);
  EXPECT_EQ(s.GetLength(), 4);
  EXPECT_EQ(s.Find("b"), 2);
  EXPECT_EQ(static_cast<unsigned char>(s.GetAt(3)), 0xE0);
  EXPECT_EQ(s.GetAt(4), '\0') << "reading past the end gives NUL";
  CString joined = s + CString("\0c", 2);
  EXPECT_EQ(joined.GetLength(), 6);
  EXPECT_TRUE(s != CString("a"));
}

TEST(CStringFormat, FormatsLikePrintf) {
  CString s;
  s.Format("%i|%s|%.1f", 204, "Arial", 2.45);
  EXPECT_EQ(s, "204|Arial|2.5");
  s.Format("%f", 1.0 / 6.0);
  EXPECT_EQ(s, "0.166667");
  std::string big(5000, 'x');
  s.Format("%s!", big.c_str());
  EXPECT_EQ(s.GetLength(), 5001);
}

TEST(CStringCompare, IsBytewiseAndCaseSensitive) {
  EXPECT_EQ(CString("abc"), "abc");
  EXPECT_NE(CString("abc"), "ABC");
  EXPECT_LT(CString("ab"), CString("abc"));
  EXPECT_LT(CString("z"), CString("\xE0")) << "bytes compare unsigned";
  EXPECT_EQ(CString("Abc").CompareNoCase("aBC"), 0);
  EXPECT_GT(CString("abd").Compare("abc"), 0);
}

TEST(CStringEdit, ReplaceInsertDeleteTrim) {
  CString s("a--b--c");
  EXPECT_EQ(s.Replace("--", "+"), 2);
  EXPECT_EQ(s, "a+b+c");
  EXPECT_EQ(s.Replace("", "x"), 0);
  s.Insert(1, "XY");
  EXPECT_EQ(s, "aXY+b+c");
  s.Insert(100, '!');
  EXPECT_EQ(s, "aXY+b+c!");
  s.Delete(1, 2);
  EXPECT_EQ(s, "a+b+c!");
  s.Delete(4, 50);
  EXPECT_EQ(s, "a+b+");
  EXPECT_EQ(s.Remove('+'), 2);
  EXPECT_EQ(s, "ab");
  CString t("  x y \r\n");
  t.TrimLeft();
  t.TrimRight();
  EXPECT_EQ(t, "x y");
  CString u("Aa\xC0");
  u.MakeUpper();
  EXPECT_BYTES_EQ("AA\xC0", std::string(u));
  EXPECT_EQ(CString("a.b.c").ReverseFind('.'), 3);
  EXPECT_EQ(CString("abc").FindOneOf("xc"), 2);
}

TEST(CStringBuffer, GetBufferAndRelease) {
  CString s("abc");
  char* p = s.GetBuffer(10);
  p[3] = 'd';
  p[4] = '\0';
  s.ReleaseBuffer();
  EXPECT_EQ(s, "abcd");
  p = s.GetBufferSetLength(2);
  EXPECT_EQ(p[0], 'a');
  s.ReleaseBuffer(2);
  EXPECT_EQ(s, "ab");
}
