// MTextToRtf step for step: every replacement is a literal ReplaceAll over the whole text and
// every scan looks at each position afresh. Slow on purpose; only the reference uses it.
#include "converter/reference/LiteralMTextToRtf.h"

#include <afxcoll.h>

#include <vector>

#include "converter/MTextToRtfSupport.h"
#include "converter/reference/LiteralHelpers.h"

namespace literal {
namespace {

using mtext_to_rtf::HalfPointsText;
using mtext_to_rtf::IntegerText;
using mtext_to_rtf::LeadingDecimal;

bool IsFontCode(const CString& two) { return two == "\\f" || two == "\\F"; }

// The last position before `limit` at which `code` (two bytes) begins, or -1.
int LastCodeBefore(const CString& text, const CString& code, int limit) {
  for (int i = limit - 1; i >= 0; --i) {
    if (text.Mid(i, 2) == code) return i;
  }
  return -1;
}

// The runs, one after another, as font groups. Each opens in front of its font code and closes at
// the first place behind it where the groups the text opened since then are all closed again:
// in front of a "}" that closes a group opened in front of the run, or at the end of a run (its
// own or a later one); at the end of the text without one. The inner of two groups closes first.
CString FontGroupsOf(const CStringArray& runs) {
  CString all;
  std::vector<int> starts;
  for (int k = 0; k < runs.GetSize(); ++k) {
    starts.push_back(all.GetLength());
    all += runs[k];
  }
  const int length = all.GetLength();
  std::vector<bool> isStart(static_cast<size_t>(length) + 1, false);
  for (int s : starts) isStart[s] = true;
  std::vector<int> closes(static_cast<size_t>(length) + 1, 0);
  for (int s : starts) {
    int depth = 0, at = length;
    for (int i = s; i < length; ++i) {
      if (i > s && isStart[i] && depth == 0) {
        at = i;
        break;
      }
      if (all.GetAt(i) == '{') ++depth;
      if (all.GetAt(i) == '}' && depth-- == 0) {
        at = i;
        break;
      }
    }
    ++closes[at];
  }
  CString out;
  for (int i = 0; i <= length; ++i) {
    for (int n = 0; n < closes[i]; ++n) out += "}";
    if (i < length && isStart[i]) out += "{";
    if (i < length) out += all.Mid(i, 1);
  }
  return out;
}

// A carried value ends at its own ";" or where another code begins.
CString UpToCode(const CString& value) {
  int end = value.FindOneOf(";\\");
  return end < 0 ? value : value.Left(end);
}

// The run with the carried code behind its first ";" (at its start without one), unless the
// run's own code of that kind stands right there.
CString WithCarried(const CString& run, const CString& code, const CString& carried) {
  if (run.Find(code) >= 0 && TextBetween(run, ";", code).IsEmpty()) return run;
  int semi = run.Find(';');
  return run.Left(semi + 1) + carried + run.Mid(semi + 1);
}

// The text without the "}" that close no group. A font code runs to its ";", braces and all.
CString WithoutStrayClosings(const CString& text) {
  CString out;
  int depth = 0;
  for (int i = 0; i < text.GetLength(); ++i) {
    const char c = text.GetAt(i);
    int end = i + 1;
    if (c == '\\' && i + 1 < text.GetLength()) {
      end = i + 2;
      if (IsFontCode(text.Mid(i, 2))) {
        const int semicolon = text.Find(';', i + 2);
        end = semicolon < 0 ? text.GetLength() : semicolon + 1;
      }
    } else if (c == '{') {
      ++depth;
    } else if (c == '}') {
      if (depth == 0) continue;
      --depth;
    }
    out += text.Mid(i, end - i);
    i = end - 1;
  }
  return out;
}

int IndexOf(const CStringArray& list, const CString& item) {
  for (int k = 0; k < list.GetSize(); ++k) {
    if (list[k] == item) return k;
  }
  return -1;
}

CString Decimal(int n) {
  CString text;
  text.Format("%d", n);
  return text;
}

class Reader {
 public:
  Reader(double textHeight, const ColorLookup& colors)
      : m_height(textHeight), m_scale(ViewHalfPointsPerUnit(textHeight)), m_colors(colors) {}

  CString Run(CString contents) {
    text = WithoutStrayClosings(contents);
    Apply(mtext_to_rtf::kProtectEscapedFontLetters);
    bool preGrouped = text.Left(3) == "{{{" || text.Left(4) == "{{\\f";
    if (!preGrouped) {
      Apply(mtext_to_rtf::kProtectEscapedBraces);
      Apply(mtext_to_rtf::kDelimitOneLetterCodes);
      Group();
      const std::string reset = mtext_to_rtf::WithInheritedFlagsReset(std::string_view(text.GetString(), text.GetLength()));
      text = CString(reset.data(), static_cast<int>(reset.size()));
    } else {
      PreGroupedHeights();
    }
    CollectFontKeys();
    Apply(mtext_to_rtf::kConvertUnderline);
    ReorderFontSpecs();
    Apply(mtext_to_rtf::kDropOffFlags);
    ReplaceFontCodes();
    Apply(mtext_to_rtf::kConvertBoldItalic);
    Apply(mtext_to_rtf::kConvertParagraphs);
    Apply(mtext_to_rtf::kConvertHeightCodes);
    CString fontTable = FontTable();
    Apply(mtext_to_rtf::kProtectBeforeColourPass);
    CString colourTable = ColourPass();
    Apply(mtext_to_rtf::kRestoreAfterColourPass);
    R("\\\\C", "//__");
    ColourCodes();
    R("//__", "\\\\C");
    Apply(mtext_to_rtf::kRestoreEscapedFontLetters);
    text = WithFinalEmptyLineKept(text);
    return fontTable + colourTable + text;
  }

 private:
  // X -> Y: every occurrence of X in the text becomes Y.
  // An escaped-backslash pattern ("\\P") matches only where its first backslash is preceded by
  // an even number of backslashes, as the fast MTextToRtf's rewrites do.
  void R(const CString& from, const CString& to) {
    if (from.Left(2) != "\\\\") {
      text = m_replacer.ReplaceAll(text, from, to);
      return;
    }
    for (int pos = text.Find(from); pos >= 0; pos = text.Find(from, pos)) {
      int before = 0;
      while (pos - before > 0 && text.GetAt(pos - before - 1) == '\\') ++before;
      if (before % 2 == 1) {
        ++pos;
        continue;
      }
      text = text.Left(pos) + to + text.Mid(pos + from.GetLength());
      pos += to.GetLength();
    }
  }

  template <size_t N>
  void Apply(const mtext_to_rtf::Rewrite (&rewrites)[N]) {
    for (const mtext_to_rtf::Rewrite& r : rewrites) R(r.from, r.to);
  }

  double Base() const { return m_height * m_scale + 0.5; }

  void PreGroupedHeights() {
    R("\\\\H", "//__");
    for (int i = 0; i < text.GetLength(); ++i) {
      if (text.Mid(i, 2) != "\\H") continue;
      int end = text.Find('\\', i + 2);
      int semicolon = text.Find(';', i + 2);
      if (semicolon >= 0 && (end < 0 || semicolon < end)) end = semicolon;
      if (end < 0) end = i + 2;
      CString value = text.Mid(i + 2, end - i - 2);
      text = text.Left(i + 2) + HalfPointsText(value, m_scale) + text.Mid(end);
    }
    R("//__", "\\\\H");
  }

  void Group() {
    R("\\\\H", "//__");
    double v = Base();
    bool hasH = text.Find("\\H") >= 0;
    bool hasFont = text.Find("\\f") >= 0 || text.Find("\\F") >= 0;
    if (!hasH && !hasFont) {
      text = "{\\H" + IntegerText(v) + mtext_to_rtf::kAutoColour + text + "}";
      R("//__", "\\\\H");
      return;
    }
    if (!hasH) {
      R("\\F", "\\f");
      R(".shx", "");
      Scopes();
      Wrap(mtext_to_rtf::kWrapHead);
      KeepWrappersOpen();
      CarryColours();
      FontGroups(v);
      R("//__", "\\\\H");
      return;
    }
    ContentHeights();
    Scopes();
    Wrap(mtext_to_rtf::kWrapHead);
    KeepWrappersOpen();
    RunningHeights(v);
    R("//__", "\\\\H");
    if (text.Find("\\f") < 0) {
      text = "{\\H" + IntegerText(Base()) + ";" + mtext_to_rtf::kAutoColour + text + "}";
      return;
    }
    CarryHeights();
    if (text.Find("\\C") >= 0) CarryColours();
    text = "{\\H" + IntegerText(Base()) + ";" + mtext_to_rtf::kAutoColour + text + "}";
  }

  // Absolute heights written by the host ("\H2.5;") in drawing units become half-points.
  void ContentHeights() {
    CString out;
    int from = 0;
    for (int h = text.Find("\\H"); h >= 0; h = text.Find("\\H", h + 2)) {
      int semi = text.Find(';', h + 2);
      if (semi < 0) break;
      CString value = text.Mid(h + 2, semi - h - 2);
      if (!mtext_to_rtf::IsPlainDecimal(value)) continue;
      out += text.Mid(from, h + 2 - from) + HalfPointsText(value, m_scale);
      from = semi;
    }
    text = out + text.Mid(from);
  }

  void KeepWrappersOpen() {
    const std::string kept = mtext_to_rtf::WithWrappersReachingOn(std::string_view(text.GetString(), text.GetLength()));
    text = CString(kept.data(), static_cast<int>(kept.size()));
  }

  void Wrap(const CString& head) {
    CString copy = text;
    for (int j = 0; j < copy.GetLength(); ++j) {
      CString t = TextBetween(copy.Mid(j), "}", "{");
      // The text up to the next "}" only: a group around more would close with that "}".
      if (t.Find('}') >= 0) t = t.Left(t.Find('}'));
      if (t.IsEmpty()) break;
      if (text.Find("}" + t + "{") >= 0) {
        text = m_replacer.ReplaceAll(text, "}" + t + "{", head + t + "}{");
      } else {
        text = m_replacer.ReplaceAll(text, "}" + t, head + t + "}");
      }
    }
  }

  // For each height code and each font code, the height code in force in front of it: the last
  // one before it whose group is still open, -1 for the base; for each font code the colour value
  // in force ("" for none, "\" for one that runs into another code).
  void Scopes() {
    m_heightScope.clear();
    m_fontScope.clear();
    m_colourScope.RemoveAll();
    std::vector<int> open;
    CStringArray openColours;
    int inForce = -1;
    CString colour;
    for (int i = 0; i < text.GetLength(); ++i) {
      if (text.Mid(i, 2) == "\\f") {
        m_fontScope.push_back(inForce);
        m_colourScope.Add(colour);
      }
      if (text.GetAt(i) == '{') {
        open.push_back(inForce);
        openColours.Add(colour);
      } else if (text.GetAt(i) == '}' && !open.empty()) {
        inForce = open.back();
        open.pop_back();
        colour = openColours[openColours.GetSize() - 1];
        openColours.RemoveAt(openColours.GetSize() - 1);
      } else if (text.Mid(i, 2) == "\\H") {
        m_heightScope.push_back(inForce);
        inForce = static_cast<int>(m_heightScope.size()) - 1;
      } else if (text.Mid(i, 2) == "\\C") {
        int semi = text.Find(';', i + 2);
        CString value = semi < 0 ? text.Mid(i + 2) : text.Mid(i + 2, semi - i - 2);
        colour = value.Find('\\') < 0 ? value : CString("\\");
      }
    }
  }

  void RunningHeights(double& v) {
    text = m_replacer.ReplaceAll(text, "\\H", "{\\H");
    std::vector<double> behind;
    m_heightTexts.RemoveAll();
    int s = text.Find("{\\H");
    CString out = s < 0 ? text : text.Left(s);
    while (s >= 0) {
      int n = static_cast<int>(behind.size());
      int scope = n < static_cast<int>(m_heightScope.size()) ? m_heightScope[n] : n - 1;
      v = scope < 0 ? Base() : behind[scope];
      int end = text.Find("{\\", s + 1);
      CString segment = text.Mid(s + 1, (end < 0 ? text.GetLength() : end) - s - 1);
      CString value = TextBetween(segment, "\\H", ";");
      if (value.Find('x') >= 0) {
        v = LeadingDecimal(value.Left(value.GetLength() - 1)) * v;
        segment = "\\H" + IntegerText(v) + segment.Mid(2 + value.GetLength());
        m_heightTexts.Add(IntegerText(v));
      } else {
        v = LeadingDecimal(value) + 0.5;
        m_heightTexts.Add(value.Find('\\') < 0 ? UpToCode(value) : CString());
      }
      behind.push_back(v);
      out += segment;
      if (end < 0) break;
      s = text.Find("{\\H", end);
      out += text.Mid(end, (s < 0 ? text.GetLength() : s) - end);
    }
    text = out;
  }

  void CarryHeights() {
    int first = text.Find("\\f");
    if (first < 0) return;
    CString carried = "\\H" + IntegerText(Base()) + ";";
    CString before = text.Mid(first), after;
    CStringArray runs;
    int number = 1;
    for (int start = first; start >= 0; ++number) {
      int next = text.Find("\\f", start + 1);
      CString run = next < 0 ? text.Mid(start) : text.Mid(start, next - start);
      if (number <= static_cast<int>(m_fontScope.size())) {
        int code = m_fontScope[number - 1];
        if (code < 0) carried = "\\H" + IntegerText(Base()) + ";";
        else if (code < m_heightTexts.GetSize() && !m_heightTexts[code].IsEmpty()) carried = "\\H" + m_heightTexts[code] + ";";
      }
      run = WithCarried(run, "\\H", carried);
      int last = run.ReverseFind(';');
      int h = LastCodeBefore(run, "\\H", last);
      if (h >= 0) carried = "\\H" + UpToCode(run.Mid(h + 2, run.Find(';', h + 2) - h - 2)) + ";";
      runs.Add(run);
      start = next;
    }
    after = FontGroupsOf(runs);
    if (after != before) text = m_replacer.ReplaceAll(text, before, after);
  }

  void CarryColours() {
    int first = text.Find("\\f");
    if (first < 0) return;
    CString carried = mtext_to_rtf::kAutoColour;
    int c = LastCodeBefore(text.Left(first), "\\C", first);
    if (c >= 0) carried = "\\C" + UpToCode(TextBetween(text.Mid(c), "\\C", ";")) + ";";
    CString before = text.Mid(first), after;
    for (int start = first, number = 0; start >= 0; ++number) {
      int next = text.Find("\\f", start + 1);
      CString run = next < 0 ? text.Mid(start) : text.Mid(start, next - start);
      if (number < m_colourScope.GetSize() && m_colourScope[number] != "\\") {
        carried = m_colourScope[number].IsEmpty() ? CString(mtext_to_rtf::kAutoColour) : "\\C" + m_colourScope[number] + ";";
      }
      run = WithCarried(run, "\\C", carried);
      int last = run.ReverseFind(';');
      int code = LastCodeBefore(run, "\\C", last);
      if (code >= 0) {
        int h = run.Find("\\H", code + 2);
        int end = (h >= 0 && h < last) ? run.Find(';', code + 2) : last;
        carried = "\\C" + UpToCode(run.Mid(code + 2, end - code - 2)) + ";";
      }
      after += run;
      start = next;
    }
    if (after != before) text = m_replacer.ReplaceAll(text, before, after);
  }

  void FontGroups(double v) {
    int first = text.Find("\\f");
    CStringArray runs;
    for (int start = first; start >= 0;) {
      int next = text.Find("\\f", start + 1);
      runs.Add(next < 0 ? text.Mid(start) : text.Mid(start, next - start));
      start = next;
    }
    text = "{\\H" + IntegerText(v) + mtext_to_rtf::kAutoColour + (first < 0 ? text : text.Left(first)) + FontGroupsOf(runs);
  }

  // The font description behind a font code: up to its ";", and no further than the next font code.
  CString FontSpecAt(int i) {
    CString spec = TextBetween(text.Mid(i), text.Mid(i, 2), ";");
    for (int k = 0; k + 1 < spec.GetLength(); ++k) {
      if (IsFontCode(spec.Mid(k, 2))) return spec.Left(k);
    }
    return spec;
  }

  void CollectFontKeys() {
    for (int i = 0; i <= text.GetLength(); ++i) {
      if (!IsFontCode(text.Mid(i, 2))) continue;
      CString key = FontSpecAt(i);
      key = m_replacer.ReplaceAll(key, "|b1", "");
      key = m_replacer.ReplaceAll(key, "|i1", "");
      key = m_replacer.ReplaceAll(key, "|b0", "");
      key = m_replacer.ReplaceAll(key, "|i0", "");
      if (IndexOf(m_fontKeys, key) < 0) m_fontKeys.Add(key);
    }
  }

  void ReorderFontSpecs() {
    for (int i = 0; i <= text.GetLength(); ++i) {
      if (!IsFontCode(text.Mid(i, 2))) continue;
      CString spec = FontSpecAt(i);
      std::string ordered = mtext_to_rtf::FlagsBehindFields(std::string_view(spec.GetString(), spec.GetLength()));
      text = text.Left(i + 2) + CString(ordered.data(), static_cast<int>(ordered.size())) + text.Mid(i + 2 + spec.GetLength());
    }
  }

  // Longer keys first (keys of one length in the table's order), so that no key takes the start
  // of another's codes.
  void ReplaceFontCodes() {
    R("\\\\f", "//__");
    std::vector<bool> done(static_cast<size_t>(m_fontKeys.GetSize()), false);
    for (int n = 0; n < m_fontKeys.GetSize(); ++n) {
      int k = -1;
      for (int j = 0; j < m_fontKeys.GetSize(); ++j) {
        if (!done[j] && (k < 0 || m_fontKeys[j].GetLength() > m_fontKeys[k].GetLength())) k = j;
      }
      done[k] = true;
      const CString& key = m_fontKeys[k];
      CString number = Decimal(k + 1);
      if (key.Right(4) == ".shx") {
        R("\\F" + key, "\\f" + number);
      } else if (key.Find('|') >= 0) {
        R("\\f" + key, "\\f" + number);
      } else {
        R("\\f" + key + ";", "\\f" + number + ";");
        R("\\f" + key + "|", "\\f" + number + "|");
      }
    }
    R("//__", "\\\\f");
  }

  CString FontTable() {
    CString table = mtext_to_rtf::kFontTableHead;
    for (int k = 0; k < m_fontKeys.GetSize(); ++k) table += mtext_to_rtf::FontTableEntry(m_fontKeys[k], k + 1);
    return table + "}";
  }

  CString ColourKeyAt(int i) {
    CString tail = text.Mid(i);
    CString a = TextBetween(tail, "\\C", " ");
    CString b = TextBetween(tail, "\\C", "\\");
    return b.GetLength() < a.GetLength() ? b : a;
  }

  CString ColourPass() {
    R("\\par", mtext_to_rtf::kParagraphToken);
    CStringArray recorded;
    for (int i = 0; i <= text.GetLength(); ++i) {
      if (text.GetAt(i) != '\\') continue;
      int semi = text.Find(';', i);
      if (semi >= 0) recorded.Add(text.Mid(i, semi - i));
    }
    for (int k = 0; k < recorded.GetSize(); ++k) R(recorded[k] + ";", recorded[k] + " ");
    for (int i = 0; i <= text.GetLength(); ++i) {
      if (text.Mid(i, 2) != "\\C") continue;
      CString key = ColourKeyAt(i);
      if (IndexOf(m_colourKeys, key) < 0) m_colourKeys.Add(key);
    }
    CString table = mtext_to_rtf::kColourTableHead;
    for (int k = 0; k < m_colourKeys.GetSize(); ++k) {
      table += mtext_to_rtf::ColourTableEntryOfKey(m_colourKeys[k], m_colors);
    }
    R(mtext_to_rtf::kParagraphToken, "\\par");
    return table + "}";
  }

  void ColourCodes() {
    for (int i = 0; i <= text.GetLength(); ++i) {
      if (text.Mid(i, 2) != "\\C") continue;
      CString key = ColourKeyAt(i);
      int k = IndexOf(m_colourKeys, key);
      if (k < 0) continue;
      text = text.Left(i) + "\\cf" + Decimal(k + 1) + text.Mid(i + 2 + key.GetLength());
    }
  }

  CString text;
  double m_height;
  double m_scale;  // half-points per drawing unit
  const ColorLookup& m_colors;
  TextReplacer m_replacer;
  CStringArray m_fontKeys;
  CStringArray m_colourKeys;
  std::vector<int> m_heightScope;  // per height code, the code in force in front of it
  std::vector<int> m_fontScope;    // per font code, the height code in force there
  CStringArray m_colourScope;      // per font code, the colour value in force there
  CStringArray m_heightTexts;  // per height code, its value as rewritten
};

}  // namespace

CString MTextToRtf(CString contents, double textHeight, const ColorLookup& colors) {
  Reader reader(textHeight, colors);
  return reader.Run(contents);
}

}  // namespace literal
