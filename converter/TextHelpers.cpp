// The string helpers of both converters: one pass over the text each where the step-by-step
// form would rebuild the whole string at every replacement, with the same results.
#include "converter/TextHelpers.h"

#include <cstdio>

#include <string.h>

#include <algorithm>
#include <array>

namespace detail {

namespace {

// CString::Mid's clamping on a view.
std::string_view Mid(std::string_view text, long first, long count) {
  size_t from = first < 0 ? 0 : std::min(static_cast<size_t>(first), text.size());
  size_t n = count < 0 ? 0 : std::min(static_cast<size_t>(count), text.size() - from);
  return text.substr(from, n);
}

bool EndsWith(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

}  // namespace

// How common a byte is in the converters' texts (RTF words, Latin and code page 1251 prose),
// roughly: the search below scans for the pattern's least common byte.
const std::array<unsigned char, 256> kCommonness = [] {
  std::array<unsigned char, 256> rank{};
  for (int c = 0; c < 256; ++c) {
    rank[c] = (c >= 'a' && c <= 'z') || c >= 0xE0 ? 6 : c >= '0' && c <= '9' ? 5 : 1;
  }
  for (unsigned char c : std::string_view("srhldf")) rank[c] = 7;
  for (unsigned char c : std::string_view("\\etaoin")) rank[c] = 8;
  rank[' '] = 9;
  return rank;
}();

size_t Find(std::string_view text, std::string_view pattern, size_t from) {
  if (from > text.size()) return std::string_view::npos;
  if (pattern.empty()) return from;
  if (pattern.size() > text.size() - from) return std::string_view::npos;
  if (text.size() - from < 64) {  // a run header or a short run: a plain loop beats the calls
    const size_t end = text.size() - pattern.size();
    for (size_t i = from; i <= end; ++i) {
      if (text[i] != pattern[0]) continue;
      size_t k = 1;
      while (k < pattern.size() && text[i + k] == pattern[k]) ++k;
      if (k == pattern.size()) return i;
    }
    return std::string_view::npos;
  }
  // memchr to the pattern's least common byte, then a comparison of the whole pattern; where
  // that byte turns out to be common after all, memmem's scan takes over.
  size_t key = 0;
  for (size_t k = 1; k < pattern.size(); ++k) {
    if (kCommonness[static_cast<unsigned char>(pattern[k])] < kCommonness[static_cast<unsigned char>(pattern[key])]) key = k;
  }
  const char* const begin = text.data();
  const char* const last = begin + (text.size() - pattern.size());  // the last place a match can begin
  const char* at = begin + from;
  for (int misses = 0; misses < 32; ++misses) {
    const char* keyAt = static_cast<const char*>(memchr(at + key, pattern[key], static_cast<size_t>(last - at) + 1));
    if (!keyAt) return std::string_view::npos;
    at = keyAt - key;
    if (memcmp(at, pattern.data(), pattern.size()) == 0) return static_cast<size_t>(at - begin);
    if (at++ == last) return std::string_view::npos;
  }
  const void* hit = memmem(at, static_cast<size_t>(text.size() - (at - begin)), pattern.data(), pattern.size());
  return hit ? static_cast<size_t>(static_cast<const char*>(hit) - begin) : std::string_view::npos;
}

std::string_view TextBetweenFound(std::string_view source, long s, size_t startLength, long e, bool endEmpty) {
  long first = s + static_cast<long>(startLength);
  if (!endEmpty && e != -1) return Mid(source, first, e - first);
  return Mid(source, first, static_cast<long>(source.size()));
}

std::string_view TextBetweenAt(std::string_view source, long s, std::string_view start, std::string_view end) {
  long from = s + 1;
  long e = -1;
  if (from <= static_cast<long>(source.size())) {
    size_t hit = Find(source, end, static_cast<size_t>(from));
    if (hit != std::string_view::npos) e = static_cast<long>(hit);
  }
  return TextBetweenFound(source, s, start.size(), e, end.empty());
}

std::string_view TextBetween(std::string_view source, std::string_view start, std::string_view end) {
  size_t s = Find(source, start);
  return TextBetweenAt(source, s == std::string_view::npos ? -1 : static_cast<long>(s), start, end);
}

void ReplaceAllInto(std::string& out, std::string_view source, std::string_view pattern,
                    std::string_view replacement) {
  if (pattern.empty()) {
    out.assign(source);
    return;
  }
  const bool mayStartOver = !EndsWith(replacement, pattern);
  // One sweep replaces the occurrences left to right, going on behind each insertion, which is
  // the step-by-step scan; only an occurrence that ends the text sends it round once more. A
  // round that finds nothing leaves the text as it is: the source, or the last round's output.
  std::string previous;
  for (bool firstRound = true;; firstRound = false) {
    size_t hit = Find(source, pattern);
    if (hit == std::string::npos) {
      if (firstRound) out.assign(source);
      return;
    }
    out.clear();
    out.reserve(source.size());
    size_t from = 0;
    bool endedText = false;
    while (hit != std::string::npos) {
      out.append(source, from, hit - from);
      out.append(replacement);
      from = hit + pattern.size();
      if (from == source.size()) {
        endedText = true;
        break;
      }
      hit = Find(source, pattern, from);
    }
    out.append(source, from, std::string::npos);
    if (!endedText || !mayStartOver) return;
    previous = out;
    source = previous;
  }
}

std::string ReplaceAll(std::string_view source, std::string_view pattern, std::string_view replacement) {
  std::string out;
  ReplaceAllInto(out, source, pattern, replacement);
  return out;
}

std::string CutSpans(std::string_view source, std::string_view start, std::string_view end) {
  std::string text(source);
  if (start.empty()) return text;
  std::string marked;
  for (size_t s = Find(text, start); s != std::string::npos; s = Find(text, start)) {
    marked.assign(start);
    marked.append(TextBetweenAt(text, static_cast<long>(s), start, end));
    text = ReplaceAll(text, marked, std::string_view());
  }
  return text;
}

std::string DecodeHexEscapes(std::string_view text) {
  // A decoded byte is never a backslash, an apostrophe or a digit, so no escape is ever formed
  // or split by decoding another: one left-to-right sweep decodes what escape-by-escape
  // replacement over the whole text decodes.
  static const auto kDigitValues = [] {
    std::array<signed char, 256> values{};
    values.fill(-1);
    for (int d = 0; d < 10; ++d) values['0' + d] = static_cast<signed char>(d);
    for (int d = 0; d < 6; ++d) values['a' + d] = static_cast<signed char>(10 + d);
    return values;
  }();
  std::string out(text.size(), '\0');
  size_t n = 0;
  const size_t size = text.size();
  for (size_t i = 0; i < size;) {
    char c = text[i];
    if (c == '\\' && i + 3 < size && text[i + 1] == '\'') {
      int hi = kDigitValues[static_cast<unsigned char>(text[i + 2])];
      int lo = kDigitValues[static_cast<unsigned char>(text[i + 3])];
      if (hi >= 8 && lo >= 0) {
        out[n++] = static_cast<char>(hi * 16 + lo);
        i += 4;
        continue;
      }
    }
    out[n++] = c;
    ++i;
  }
  out.resize(n);
  return out;
}

bool HoldsNoText(std::string_view rtf) {
  auto isLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
  auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
  for (size_t i = 0; i < rtf.size();) {
    char c = rtf[i];
    if (c == '{' || c == '}' || c == '\r' || c == '\n') {
      ++i;
      continue;
    }
    if (c != '\\' || i + 1 >= rtf.size() || !isLetter(rtf[i + 1])) return false;
    for (++i; i < rtf.size() && isLetter(rtf[i]); ++i) {
    }
    if (i < rtf.size() && rtf[i] == '-') ++i;
    while (i < rtf.size() && isDigit(rtf[i])) ++i;
    if (i < rtf.size() && rtf[i] == ' ') ++i;  // the control word's delimiter
  }
  return true;
}

size_t TrailingParagraphMark(std::string_view rtf) {
  constexpr std::string_view kPar = "\\par ";
  size_t mark = rtf.rfind(kPar);
  while (mark != std::string_view::npos && Escaped(rtf, mark)) mark = rtf.rfind(kPar, mark - 1);
  if (mark == std::string_view::npos || !HoldsNoText(rtf.substr(mark + kPar.size()))) return std::string_view::npos;
  return mark;
}

std::string WithFinalEmptyLineKept(std::string_view rtf) {
  std::string out(rtf);
  size_t mark = TrailingParagraphMark(rtf);
  // A body without any text gets the mark in its first group that closes, so that the final
  // mark keeps the height and colour written there.
  if (mark == std::string_view::npos && HoldsNoText(rtf)) mark = rtf.find('}');
  if (mark != std::string_view::npos) out.insert(mark, "\\par ");
  return out;
}

std::string WithoutFinalParagraphMark(std::string_view rtf) {
  std::string out(rtf);
  size_t mark = TrailingParagraphMark(rtf);
  if (mark != std::string_view::npos) out.erase(mark, 5);
  return out;
}

}  // namespace detail

CString TextBetween(CString source, CString start, CString end) {
  return detail::ToCString(detail::TextBetween(detail::View(source), detail::View(start), detail::View(end)));
}

TextReplacer::~TextReplacer() = default;

CString TextReplacer::ReplaceAll(CString source, CString pattern, CString replacement) {
  return detail::ToCString(detail::ReplaceAll(detail::View(source), detail::View(pattern), detail::View(replacement)));
}

CString CutSpans(CString source, CString start, CString end) {
  return detail::ToCString(detail::CutSpans(detail::View(source), detail::View(start), detail::View(end)));
}

CString DecodeHexEscapes(CString text) {
  return detail::ToCString(detail::DecodeHexEscapes(detail::View(text)));
}

std::string detail::HeightNumber(double units) {
  char text[400];
  std::snprintf(text, sizeof text, "%.10f", units);
  std::string number = text;
  if (number.find('.') != std::string::npos) {
    number.erase(number.find_last_not_of('0') + 1);
    if (number.back() == '.') number.pop_back();
  }
  return number;
}
