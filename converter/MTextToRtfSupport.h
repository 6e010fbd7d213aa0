// Numbers and fixed tokens of MTextToRtf, shared by its passes and by the literal reference.
#pragma once

#include <afx.h>

#include <cctype>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "converter/DrawingUnits.h"

namespace mtext_to_rtf {

// Stands for "\par" during the colour pass, so that its terminator rule leaves the word alone.
// It carries no backslash and no ";", and it is put back right after the pass.
inline const char kParagraphToken[] = "~~%%par%%~~";

// A kept code stands in MTextToRtf's working text as a token (keptcodes::Token) between these
// bytes. None of its bytes is a code letter, a digit, a ";", a space or a brace, so no pass takes
// a token for part of a code.
inline constexpr char kKeptCodeOpen = '\x01';
inline constexpr char kKeptCodeClose = '\x02';
// Where a height value of RtfToMText's contents ends: at a backslash, at a kept code's token, or
// at its own ";" (RtfToMText ends a height so where no colour code follows it).
inline constexpr char kCodeEnds[] = "\\\x01;";

// The leading decimal number of a text as atof reads it (blanks, sign, digits, point, exponent),
// 0 when there is none. Hexadecimal, "inf" and "nan" are not numbers in MText.
inline double LeadingDecimal(const char* text, int length) {
  int i = 0;
  while (i < length && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  std::string number;
  if (i < length && (text[i] == '+' || text[i] == '-')) number += text[i++];
  bool digits = false;
  while (i < length && std::isdigit(static_cast<unsigned char>(text[i]))) number += text[i++], digits = true;
  if (i < length && text[i] == '.') {
    number += text[i++];
    while (i < length && std::isdigit(static_cast<unsigned char>(text[i]))) number += text[i++], digits = true;
  }
  if (!digits) return 0.0;
  if (i < length && (text[i] == 'e' || text[i] == 'E')) {
    int e = i + 1;
    std::string exponent = "e";
    if (e < length && (text[e] == '+' || text[e] == '-')) exponent += text[e++];
    if (e < length && std::isdigit(static_cast<unsigned char>(text[e]))) {
      while (e < length && std::isdigit(static_cast<unsigned char>(text[e]))) exponent += text[e++];
      number += exponent;
    }
  }
  return std::strtod(number.c_str(), nullptr);
}

inline double LeadingDecimal(const CString& text) { return LeadingDecimal(text.GetString(), text.GetLength()); }

// The leading integer of a text as atoi reads it, 0 when there is none; held to the int range.
inline int LeadingInteger(const char* text, int length) {
  int i = 0;
  while (i < length && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < length && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long value = 0;
  while (i < length && std::isdigit(static_cast<unsigned char>(text[i]))) {
    value = value * 10 + (text[i++] - '0');
    if (value > 1LL + INT_MAX) value = 1LL + INT_MAX;
  }
  if (negative) value = -value;
  if (value > INT_MAX) value = INT_MAX;
  return static_cast<int>(value);
}

inline int LeadingInteger(const CString& text) { return LeadingInteger(text.GetString(), text.GetLength()); }

// The integer part of x in decimal (truncated toward zero). Values beyond the int range are held
// at its ends and a value that is not a number gives 0, so a height never overflows.
inline CString IntegerText(double x) {
  long long value = 0;
  if (std::isnan(x)) value = 0;
  else if (x >= static_cast<double>(INT_MAX)) value = INT_MAX;
  else if (x <= static_cast<double>(INT_MIN)) value = INT_MIN;
  else value = static_cast<long long>(x);
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, "%lld", value);
  return CString(buffer);
}

// A drawing-unit height as RTF half-points at a view scale: int(value x scale + 0.5).
inline CString HalfPointsText(const CString& value, double halfPointsPerUnit) {
  return IntegerText(LeadingDecimal(value) * halfPointsPerUnit + 0.5);
}

// True when the text is a plain unsigned decimal number (digits with at most one point).
inline bool IsPlainDecimal(const char* text, size_t length) {
  int digits = 0, points = 0;
  for (size_t i = 0; i < length; ++i) {
    char c = text[i];
    if (c >= '0' && c <= '9') ++digits;
    else if (c == '.' && points == 0) ++points;
    else return false;
  }
  return digits > 0;
}

inline bool IsPlainDecimal(const CString& text) {
  return IsPlainDecimal(text.GetString(), static_cast<size_t>(text.GetLength()));
}

// Whether a pattern begins with an escaped backslash (the two bytes "\\").
inline bool StartsWithEscapedBackslash(std::string_view pattern) {
  return pattern.size() >= 2 && pattern[0] == '\\' && pattern[1] == '\\';
}

// A font spec with its bold and italic flags ("|b1", "|i0") behind its other fields, each part
// in the order it had.
inline std::string FlagsBehindFields(std::string_view spec) {
  const size_t bar = spec.find('|');
  std::string fields(spec.substr(0, bar)), flags;
  for (size_t at = bar; at != std::string_view::npos;) {
    const size_t next = spec.find('|', at + 1);
    const std::string_view field = spec.substr(at, next == std::string_view::npos ? next : next - at);
    const bool flag = field == "|b0" || field == "|b1" || field == "|i0" || field == "|i1";
    (flag ? flags : fields) += field;
    at = next;
  }
  return fields + flags;
}

// Whether a font spec's field of this flag ("|b1", "|i1") stands in it.
inline bool HasFlagField(std::string_view spec, std::string_view flag) {
  for (size_t at = spec.find(flag); at != std::string_view::npos; at = spec.find(flag, at + 1)) {
    const size_t end = at + flag.size();
    if (end == spec.size() || spec[end] == '|' || spec[end] == ';') return true;
  }
  return false;
}

// The grouped text with "\b0;" and "\i0;" behind each font code without bold or italic whose
// group stands in a group that has them: a font code sets both as its fields say, but an RTF
// group takes them from the group around it.
inline std::string WithInheritedFlagsReset(std::string_view text) {
  struct Flags {
    bool bold = false, italic = false;
  };
  std::vector<Flags> outside;
  Flags now;
  std::string out;
  out.reserve(text.size() + 16);
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '{') outside.push_back(now);
    if (c == '}' && !outside.empty()) {
      now = outside.back();
      outside.pop_back();
    }
    if (c != '\\' || text.compare(i, 2, "\\f") != 0) {
      out += c;
      continue;
    }
    const size_t semicolon = text.find(';', i);
    const size_t end = semicolon == std::string_view::npos ? text.size() : semicolon + 1;
    const std::string_view spec = text.substr(i, end - i);
    const Flags own{HasFlagField(spec, "|b1"), HasFlagField(spec, "|i1")};
    out.append(spec);
    if (now.bold && !own.bold) out += "\\b0;";
    if (now.italic && !own.italic) out += "\\i0;";
    now = own;
    i = end - 1;
  }
  return out;
}

// The head of the wrapping step's groups around the text between groups: the byte behind the "{"
// marks the group as the step's own until WithWrappersReachingOn has read it. No byte of
// contents is this one by then (control characters are kept codes).
inline constexpr char kWrapMark = '\x05';
inline constexpr char kWrapHead[] = "}{\x05";

// The wrapped text with the step's marks taken out, and each of the step's groups whose text
// holds a height, colour or font code kept open up to the "}" that closes the group around it
// (to the end of the text outside every group): the code reaches as far as it reached. Closed
// behind its text, the group ended the code there ("{}\\fA;a{b}c" showed b and c in the default
// face).
inline std::string WithWrappersReachingOn(std::string_view text) {
  struct Group {
    bool wrapper = false, reaches = false;
    size_t kept = 0;  // the step's groups inside it kept open, closed in front of its "}"
  };
  std::vector<Group> open;
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == kWrapMark) continue;
    if (c == '{') {
      open.push_back(Group{i + 1 < text.size() && text[i + 1] == kWrapMark});
    } else if (c == '}' && !open.empty()) {
      const Group group = open.back();
      open.pop_back();
      if (group.wrapper && group.reaches) {
        if (!open.empty()) ++open.back().kept;
        continue;
      }
      out.append(group.kept, '}');
    } else if (c == '\\' && i + 1 < text.size() && std::strchr("HCf", text[i + 1]) && !open.empty()) {
      open.back().reaches = open.back().reaches || open.back().wrapper;
    }
    out += c;
  }
  return out;
}

// One rewrite of a pass: every occurrence of `from` becomes `to`.
struct Rewrite {
  const char* from;
  const char* to;
};

// The passes that are fixed lists of rewrites, in the order each list is applied. An escaped form
// ("\\L", a literal backslash before a code letter) is hidden as "//__" around the one rewrite
// that would take it for a code.
inline constexpr Rewrite kProtectEscapedFontLetters[] = {{"\\\\f", "__##"}, {"\\\\F", "__$$"}};
inline constexpr Rewrite kProtectEscapedBraces[] = {{"\\}", "$$$###"}, {"\\{", "#__$"}};
// Overline, strike-through and the column and line breaks of dimension text carry no ";": a
// space behind each ends the control word, which the control would otherwise read on into the
// letters of the text behind it and lose them.
inline constexpr Rewrite kDelimitOneLetterCodes[] = {
    {"\\\\O", "//__"}, {"\\O", "\\O "}, {"//__", "\\\\O"},
    {"\\\\o", "//__"}, {"\\o", "\\o "}, {"//__", "\\\\o"},
    {"\\\\K", "//__"}, {"\\K", "\\K "}, {"//__", "\\\\K"},
    {"\\\\k", "//__"}, {"\\k", "\\k "}, {"//__", "\\\\k"},
    {"\\\\N", "//__"}, {"\\N", "\\N "}, {"//__", "\\\\N"},
    {"\\\\X", "//__"}, {"\\X", "\\X "}, {"//__", "\\\\X"}};
// Underline on and off, on both paths.
inline constexpr Rewrite kConvertUnderline[] = {{"\\\\L", "//__"}, {"\\L", "\\ul;"},     {"//__", "\\\\L"},
                                                {"\\\\l", "//__"}, {"\\l", "\\ulnone;"}, {"//__", "\\\\l"}};
inline constexpr Rewrite kDropOffFlags[] = {{"|b0", ""}, {"|i0", ""}};
inline constexpr Rewrite kConvertBoldItalic[] = {{"|b1", "\\b"}, {"|i1", "\\i"}};
inline constexpr Rewrite kConvertParagraphs[] = {{"\\\\P", "//__"}, {"\\P", "\\par "}, {"//__", "\\\\P"}};
inline constexpr Rewrite kConvertHeightCodes[] = {{"\\\\H", "//__"}, {"\\H", "\\fs"}, {"//__", "\\\\H"}};
inline constexpr Rewrite kProtectBeforeColourPass[] = {{"\\\\;", "//__"}, {"\\}", "$$$###"}, {"\\{", "#__$"}};
inline constexpr Rewrite kRestoreAfterColourPass[] = {{"$$$###", "\\}"}, {"#__$", "\\{"}, {"//__", "\\\\;"}};
inline constexpr Rewrite kRestoreEscapedFontLetters[] = {{"__##", "\\\\f"}, {"__$$", "\\\\F"}};

// The font table's head; the entries and a closing brace follow.
inline const char kFontTableHead[] = "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fnil MS Sans Serif;}";
// The colour table's head with the fixed black entry 0; the entries and a closing brace follow.
inline const char kColourTableHead[] = "{\\colortbl\\red0\\green0\\blue0;";

// The font table entry of a font key as RTF font `number`. A key holds a brace only when its
// code had no ";" (it then runs to the end of the text); the brace is escaped so that it cannot
// close the font table, and with it the document, early.
inline CString FontTableEntry(CString key, int number) {
  key.Replace("{", "\\{");
  key.Replace("}", "\\}");
  CString head;
  head.Format("{\\f%d", number);
  int bar = key.Find('|');
  if (bar < 0 && key.Right(4) == ".shx") return head + "\\fnil\\fprg2 " + key.Left(key.GetLength() - 4) + ";}";
  if (bar < 0) return head + " " + key + ";}";
  CString name = key.Left(bar), rest = key.Mid(bar);
  int c = rest.Find('c'), p = rest.Find('p');
  CString charset = p < 0 ? rest.Mid(c + 1) : rest.Mid(c + 1, p - c - 2);
  CString pitch = rest.Mid(p + 1);
  const char* family = "\\fnil";
  if (pitch == "2") family = "\\fscript";
  else if (pitch == "33" || pitch == "34") family = "\\fswiss";
  else if (pitch == "17" || pitch == "18") family = "\\froman";
  else if (pitch == "49") family = "\\fmodern";
  return head + family + "\\fcharset" + charset + " " + name + ";}";
}

// The colour table entry of a colour key: the RGB of the index its leading number gives.
// The colour code that the grouping gives text without a colour code of its own. Its key holds
// a letter, which no colour code MTextToRtf reads can: its entry is the empty one of RTF, the
// control's automatic colour.
inline constexpr char kAutoColour[] = "\\Ca;";
inline constexpr char kAutoColourKey[] = "a";

inline CString ColourTableEntry(unsigned long rgb) {
  CString entry;
  entry.Format("\\red%lu\\green%lu\\blue%lu;", rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
  return entry;
}

template <class Colors>
CString ColourTableEntryOfKey(const CString& key, const Colors& colors) {
  if (key == kAutoColourKey) return CString(";");
  return ColourTableEntry(colors.RgbOfIndex(LeadingInteger(key)));
}

}  // namespace mtext_to_rtf
