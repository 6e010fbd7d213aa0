// RtfToMText pass by pass as written, every replacement rebuilding the whole string.
// Slow on purpose; the fast RtfToMText must give the same bytes for every input.
#include "converter/reference/LiteralRtfToMText.h"

#include <climits>
#include <cstdlib>

#include "converter/RtfToMTextWords.h"
#include "converter/reference/LiteralHelpers.h"

namespace literal {

namespace {

bool IsDigit(TCHAR c) { return c >= '0' && c <= '9'; }

// Every `pattern` (ending in a number) that is not followed by a further digit becomes
// `replacement`: the number is matched whole.
CString ReplaceNumber(CString source, CString replacement, CString pattern) {
  int pos = 0;
  for (;;) {
    pos = source.Find(pattern, pos);
    if (pos < 0) return source;
    if (IsDigit(source.GetAt(pos + pattern.GetLength()))) {
      pos += 1;
      continue;
    }
    source = source.Left(pos) + replacement + source.Mid(pos + pattern.GetLength());
    pos += replacement.GetLength();
  }
}

CString Number(int value) {
  CString text;
  text.Format("%i", value);
  return text;
}

// The standard string-to-integer conversion, kept inside int.
int Atoi(const CString& text) {
  long value = std::strtol(text, nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

}  // namespace

CString RtfToMTextConverter::RtfToMText(CString rtf) {
  TextReplacer replacer;
  rtf = DecodeHexEscapes(rtf);
  colorTableText = TextBetween(rtf, "{\\colortbl", ";}");
  ParseColorTable();
  fontTableText = TextBetween(rtf, "fonttbl", "}}");
  ParseFontTable();
  bodyText = TextBetween(rtf, "\\deflang", "");
  ConvertBody();
  CString body;
  for (int k = 0; k < runTexts.GetSize(); ++k) body += runTexts[k];
  for (const char* code : rtf_to_mtext_words::kDefaultFontCodes) body = replacer.ReplaceAll(body, code, "");
  for (int k = 0; k < fontDescriptors.GetSize(); ++k) {
    body = ReplaceNumber(body, "\\f" + fontDescriptors[k], "\\f" + Number(k + 2));
  }
  // Each "cf" k becomes its colour code, which takes the place of the space behind the word.
  for (int pos = body.Find("cf"); pos >= 0; pos = body.Find("cf", pos + 1)) {
    int end = pos + 2;
    while (IsDigit(body.GetAt(end))) ++end;
    CString digits = body.Mid(pos + 2, end - pos - 2);
    if (digits.IsEmpty() || digits.GetLength() > 9 || (digits.GetAt(0) == '0' && digits.GetLength() > 1)) continue;
    int k = Atoi(digits);
    if (k >= colorCodes.GetSize()) continue;
    if (body.GetAt(end) == ' ') ++end;
    CString code = "C" + colorCodes[k] + ";";
    body = body.Left(pos) + code + body.Mid(end);
    pos += code.GetLength() - 1;
  }
  body = ReplaceNumber(body, "\\fSymbol", "\\f1");
  body = replacer.ReplaceAll(body, rtf_to_mtext_words::kSymbolBulletGroup, "");
  body = replacer.ReplaceAll(body, "C139;", "C256;");
  body = replacer.ReplaceAll(body, "\\L ", "\\L");
  return "{" + body;
}

void RtfToMTextConverter::ParseColorTable() {
  TextReplacer replacer;
  CString text = colorTableText;
  for (const char* word : {"red", "green", "blue", ";"}) text = replacer.ReplaceAll(text, word, "");
  int counter = 0;
  CString channels[3];
  for (int i = 0; i <= text.GetLength(); ++i) {
    if (text.GetAt(i) != '\\') continue;
    ++counter;
    int j = text.Find("\\", i + 1);
    channels[counter - 1] = j < 0 ? text.Mid(i + 1) : text.Mid(i + 1, j - i - 1);
    if (counter == 3) {
      counter = 0;
      colorCodes.Add(Number(m_colors.NearestIndex(Atoi(channels[0]), Atoi(channels[1]), Atoi(channels[2]))));
    }
  }
}

void RtfToMTextConverter::ParseFontTable() {
  TextReplacer replacer;
  CString text = replacer.ReplaceAll(fontTableText + "}", rtf_to_mtext_words::kFixedFontEntries, "");
  for (int i = 0; i <= text.GetLength(); ++i) {
    if (text.GetAt(i) != '{' || text.Mid(i, 4) == "{\\*\\") continue;
    CString tail = text.Mid(i);
    CString charset = "|c";
    if (TextBetween(tail, "\\f", " ").Find("fcharset") >= 0) {
      CString a = TextBetween(tail, "fcharset", "{\\*\\");
      CString b = TextBetween(tail, "fcharset", " ");
      charset += (a.GetLength() <= b.GetLength() ? a : b).Left(rtf_to_mtext_words::kMaxFontField);
    } else {
      charset += "0";
    }
    CString name = TextBetween(tail, " ", ";").Left(rtf_to_mtext_words::kMaxFontField);
    CString pitch;
    int first = text.Find("\\", i + 3);
    int next = first < 0 ? -1 : text.Find("\\", first + 1);
    int blank = first < 0 ? -1 : text.Find(" ", first + 1);
    if (blank >= 0 && (next < 0 || blank < next)) next = blank;
    if (next >= 0) {
      CString word = text.Mid(first + 1, next - first - 1);
      for (const auto& family : rtf_to_mtext_words::kFontFamilies) {
        if (word == family.word) pitch = family.pitch;
      }
    }
    fontDescriptors.Add(name + charset + pitch);
  }
}

void RtfToMTextConverter::ConvertBody() {
  TextReplacer replacer;
  bodyText = replacer.ReplaceAll(bodyText, "\r", "");
  bodyText = replacer.ReplaceAll(bodyText, "\n", "");
  bodyText = WithoutFinalParagraphMark(bodyText);
  bodyText = TextBetween(bodyText, "\\pard", "");
  for (const char* word : rtf_to_mtext_words::kTabWords) bodyText = replacer.ReplaceAll(bodyText, word, "\t");
  for (const auto& word : rtf_to_mtext_words::kCharacterWords) {
    bodyText = replacer.ReplaceAll(bodyText, word.word, CString(word.byte));
  }
  bodyText = StripControlWords(bodyText);
  int runStart = -1;
  for (int i = 0; i < bodyText.GetLength(); ++i) {
    if (bodyText.Mid(i, 6) != "\\plain") continue;
    if (runStart >= 0) runTexts.Add(ConvertRun(bodyText.Mid(runStart, i - runStart)));
    runStart = runStart < 0 ? 0 : i;
  }
  if (runStart < 0) return;
  CString last = bodyText.Mid(runStart);
  CString lastText = TextBetween(last, " ", "");
  bool onlyBraces = true;
  for (int i = 0; i < lastText.GetLength(); ++i) onlyBraces = onlyBraces && lastText.GetAt(i) == '}';
  runTexts.Add(runStart > 0 && onlyBraces ? lastText : ConvertRun(last));
}

CString RtfToMTextConverter::ConvertRun(CString run) {
  TextReplacer replacer;
  CString header = TextBetween(run, "", " ");
  CString text = TextBetween(run, " ", "");
  header = replacer.ReplaceAll(header, "\\plain", "");
  CString font = TextBetween(header, "\\f", "\\");
  CString size = TextBetween(header, "\\fs", "\\");
  CString height;
  height.Format("%.1f", std::strtod(size, nullptr) * rtf_to_mtext_words::kUnitsPerHalfPoint);
  if (header.Find("cf") < 0) height += ";";
  header = replacer.ReplaceAll(header, "\\fs" + size, "{\\H" + height);
  CString bold = header.Find("\\b") >= 0 ? "|b1" : "|b0";
  CString italic = header.Find("\\i") >= 0 ? "|i1" : "|i0";
  header = replacer.ReplaceAll(header, "\\f" + font, "\\f" + font + bold + italic + ";");
  header = replacer.ReplaceAll(header, "\\b", "");
  header = replacer.ReplaceAll(header, "\\i", "");
  // A "\par " is a paragraph break unless its own backslash is escaped by the one before.
  for (int pos = text.Find("\\par "); pos >= 0; pos = text.Find("\\par ", pos + 1)) {
    int backslashes = 0;
    while (pos - backslashes - 1 >= 0 && text.GetAt(pos - backslashes - 1) == '\\') ++backslashes;
    if (backslashes % 2 == 0) text = text.Left(pos) + "\\P" + text.Mid(pos + 5);
  }
  text = replacer.ReplaceAll(text, "//__", "\\\\par ");
  if (header.Find("\\ul") >= 0) {
    header = replacer.ReplaceAll(header, "\\ul", "\\L");
    text += "\\l";
  }
  return "{" + header + (header.Right(1) == ";" ? "" : " ") + text + "}}";
}

CString RtfToMTextConverter::StripControlWords(CString text) {
  for (int i = 0; i < text.GetLength(); ++i) {
    if (text.GetAt(i) != '\\') continue;
    int slash = text.Find("\\", i + 1);
    int space = text.Find(" ", i + 1);
    CString delimiter = (space >= 0 && (slash < 0 || space < slash)) ? " " : "\\";
    for (const auto& list : rtf_to_mtext_words::kSkipLists) {
      CString candidate = text.Mid(i, list.length);
      if (CString(list.words).Find(candidate) >= 0) text = CutSpans(text, candidate, delimiter);
    }
  }
  return text;
}

}  // namespace literal
