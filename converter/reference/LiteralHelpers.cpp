// The string helpers exactly as the passes are written: the reference that differential tests
// and fuzz targets hold the fast helpers to. Slow on purpose (every replacement rebuilds the text).
#include "converter/reference/LiteralHelpers.h"

namespace literal {

CString TextBetween(CString source, CString start, CString end) {
  int s = source.Find(start);
  int e = source.Find(end, s + 1);
  if (!end.IsEmpty() && e != -1) return source.Mid(s + start.GetLength(), e - s - start.GetLength());
  return source.Mid(s + start.GetLength());
}

TextReplacer::~TextReplacer() = default;

CString TextReplacer::ReplaceAll(CString source, CString pattern, CString replacement) {
  // The two guards of TextHelpers.h: an empty pattern replaces nothing, and a replacement that
  // ends with its own pattern never starts the scan over.
  if (pattern.IsEmpty()) return source;
  bool mayStartOver = replacement.GetLength() < pattern.GetLength() ||
                      replacement.Right(pattern.GetLength()) != pattern;
  int pos = source.Find(pattern, 0);
  if (pos < 0) return source;
  for (;;) {
    pos = source.Find(pattern, pos);
    if (pos < 0) break;
    CString rest = source.Mid(pos + pattern.GetLength());
    source = source.Left(pos) + replacement + rest;
    // An occurrence that ended the string makes the scan start over from the beginning.
    pos = rest.IsEmpty() && mayStartOver ? 0 : pos + replacement.GetLength();
  }
  return source;
}

CString CutSpans(CString source, CString start, CString end) {
  // The guard of TextHelpers.h: an empty start marker marks no span.
  if (start.IsEmpty()) return source;
  TextReplacer replacer;
  while (source.Find(start) >= 0) {
    CString span = TextBetween(source, start, end);
    source = replacer.ReplaceAll(source, start + span, "");
  }
  return source;
}

CString DecodeHexEscapes(CString text) {
  static const char kDigits[] = "0123456789abcdef";
  TextReplacer replacer;
  int length = text.GetLength();
  for (int i = 0; i < length; ++i) {
    if (text.GetAt(i) != '\\' || text.GetAt(i + 1) != '\'') continue;
    CString escape = text.Mid(i, 4);
    if (escape.GetLength() < 4) continue;
    const char* hi = std::char_traits<char>::find(kDigits + 8, 8, escape.GetAt(2));
    const char* lo = std::char_traits<char>::find(kDigits, 16, escape.GetAt(3));
    if (!hi || !lo) continue;
    char byte = static_cast<char>((hi - kDigits) * 16 + (lo - kDigits));
    text = replacer.ReplaceAll(text, escape, CString(byte));
  }
  return text;
}

namespace {

bool IsLetter(TCHAR c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Whether only braces and control words stand in the text from `from` on.
bool HoldsNoText(const CString& rtf, int from) {
  int i = from;
  while (i < rtf.GetLength()) {
    TCHAR c = rtf.GetAt(i);
    if (c == '{' || c == '}' || c == '\r' || c == '\n') {
      i += 1;
    } else if (c == '\\' && IsLetter(rtf.GetAt(i + 1))) {
      i += 1;
      while (IsLetter(rtf.GetAt(i))) i += 1;
      if (rtf.GetAt(i) == '-') i += 1;
      while (rtf.GetAt(i) >= '0' && rtf.GetAt(i) <= '9') i += 1;
      if (rtf.GetAt(i) == ' ') i += 1;
    } else {
      return false;
    }
  }
  return true;
}

// The last "\par " that no backslash escapes, if only braces and control words follow it.
int TrailingParagraphMark(const CString& rtf) {
  int mark = -1;
  for (int pos = rtf.Find("\\par "); pos >= 0; pos = rtf.Find("\\par ", pos + 1)) {
    int backslashes = 0;
    while (pos - backslashes - 1 >= 0 && rtf.GetAt(pos - backslashes - 1) == '\\') ++backslashes;
    if (backslashes % 2 == 0) mark = pos;
  }
  return mark >= 0 && HoldsNoText(rtf, mark + 5) ? mark : -1;
}

}  // namespace

CString WithFinalEmptyLineKept(CString rtf) {
  int mark = TrailingParagraphMark(rtf);
  if (mark < 0 && HoldsNoText(rtf, 0)) mark = rtf.Find("}");
  return mark < 0 ? rtf : rtf.Left(mark) + "\\par " + rtf.Mid(mark);
}

CString WithoutFinalParagraphMark(CString rtf) {
  int mark = TrailingParagraphMark(rtf);
  return mark < 0 ? rtf : rtf.Left(mark) + rtf.Mid(mark + 5);
}

}  // namespace literal
