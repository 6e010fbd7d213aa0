// The string helpers of both converters: one pass over the text each where the step-by-step
// form would rebuild the whole string at every replacement, with the same results.
#include "converter/TextHelpers.h"

#include <string.h>

#include <algorithm>

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

size_t Find(std::string_view text, std::string_view pattern, size_t from) {
  if (from > text.size()) return std::string_view::npos;
  if (pattern.empty()) return from;
  // memmem pays a set-up per call that only long texts earn back.
  if (text.size() - from < 256 || pattern.size() == 1) return text.find(pattern, from);
  const void* hit = memmem(text.data() + from, text.size() - from, pattern.data(), pattern.size());
  return hit ? static_cast<size_t>(static_cast<const char*>(hit) - text.data()) : std::string_view::npos;
}

std::string_view TextBetweenAt(std::string_view source, long s, std::string_view start, std::string_view end) {
  long ls = static_cast<long>(start.size());
  long from = s + 1;
  long e = -1;
  if (from <= static_cast<long>(source.size())) {
    size_t hit = Find(source, end, static_cast<size_t>(from));
    if (hit != std::string_view::npos) e = static_cast<long>(hit);
  }
  if (!end.empty() && e != -1) return Mid(source, s + ls, e - s - ls);
  return Mid(source, s + ls, static_cast<long>(source.size()));
}

std::string_view TextBetween(std::string_view source, std::string_view start, std::string_view end) {
  size_t s = Find(source, start);
  return TextBetweenAt(source, s == std::string_view::npos ? -1 : static_cast<long>(s), start, end);
}

std::string ReplaceAll(std::string_view source, std::string_view replacement, std::string_view pattern) {
  if (pattern.empty()) return std::string(source);
  const bool mayStartOver = !EndsWith(replacement, pattern);
  // One sweep replaces the occurrences left to right, going on behind each insertion, which is
  // the step-by-step scan; only an occurrence that ends the text sends it round once more.
  std::string text;
  std::string_view current = source;
  for (;;) {
    size_t hit = Find(current, pattern);
    if (hit == std::string::npos) return std::string(current);
    std::string out;
    out.reserve(current.size() + replacement.size());
    size_t from = 0;
    bool endedText = false;
    while (hit != std::string::npos) {
      out.append(current, from, hit - from);
      out.append(replacement);
      from = hit + pattern.size();
      if (from == current.size()) {
        endedText = true;
        break;
      }
      hit = Find(current, pattern, from);
    }
    out.append(current, from, std::string::npos);
    if (!endedText || !mayStartOver) return out;
    text.swap(out);
    current = text;
  }
}

std::string CutSpans(std::string_view source, std::string_view start, std::string_view end) {
  std::string text(source);
  if (start.empty()) return text;
  std::string marked;
  for (size_t s = Find(text, start); s != std::string::npos; s = Find(text, start)) {
    marked.assign(start);
    marked.append(TextBetweenAt(text, static_cast<long>(s), start, end));
    text = ReplaceAll(text, std::string_view(), marked);
  }
  return text;
}

std::string DecodeHexEscapes(std::string_view text) {
  // A decoded byte is never a backslash, an apostrophe or a digit, so no escape is ever formed
  // or split by decoding another: one left-to-right sweep decodes what escape-by-escape
  // replacement over the whole text decodes.
  auto digit = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    size_t slash = text.find('\\', i);
    if (slash == std::string_view::npos) break;
    out.append(text, i, slash - i);
    i = slash;
    if (i + 3 < text.size() && text[i + 1] == '\'') {
      int hi = digit(text[i + 2]), lo = digit(text[i + 3]);
      if (hi >= 8 && lo >= 0) {
        out += static_cast<char>(hi * 16 + lo);
        i += 4;
        continue;
      }
    }
    out += text[i++];
  }
  out.append(text, std::min(i, text.size()), std::string_view::npos);
  return out;
}

}  // namespace detail

CString TextBetween(CString source, CString start, CString end) {
  return detail::ToCString(detail::TextBetween(detail::View(source), detail::View(start), detail::View(end)));
}

TextReplacer::~TextReplacer() = default;

CString TextReplacer::ReplaceAll(CString source, CString replacement, CString pattern) {
  return detail::ToCString(detail::ReplaceAll(detail::View(source), detail::View(replacement), detail::View(pattern)));
}

CString CutSpans(CString source, CString start, CString end) {
  return detail::ToCString(detail::CutSpans(detail::View(source), detail::View(start), detail::View(end)));
}

CString DecodeHexEscapes(CString text) {
  return detail::ToCString(detail::DecodeHexEscapes(detail::View(text)));
}
