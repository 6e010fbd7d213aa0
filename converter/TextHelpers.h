// The string helpers that both converters build their passes from.
#pragma once

#include <afx.h>

#include <string>
#include <string_view>

// The text after the first `start` marker up to the next `end` marker. The end marker is
// searched from one byte after the start marker's beginning; an empty or absent end marker
// means: to the end. An absent start marker counts as found at -1.
CString TextBetween(CString source, CString start, CString end);

// Replaces every occurrence of `pattern` by `replacement`, as every replace helper orders them.
// The scan goes on just behind each inserted replacement; an occurrence that ends the string
// makes it start over from the beginning. Two inputs would make that scan endless, so:
//  - an empty pattern replaces nothing (the source comes back unchanged);
//  - a replacement that ends with its own pattern never starts the scan over: the start-over
//    would meet the inserted pattern at the end again and (but for a few patterns that overlap
//    themselves) again for ever. Such an occurrence simply ends the scan.
// Every other input gives exactly the result of the start-over rule.
class TextReplacer {
 public:
  virtual ~TextReplacer();
  CString ReplaceAll(CString source, CString pattern, CString replacement);
};

// Removes every `start` marker with the text after it up to the next `end` marker; the end
// marker itself stays. Works span by span: the first marker's span is removed everywhere at
// once, then the next first marker's, until no marker is left. An empty start marker marks no
// span (it would be "found" for ever): the source comes back unchanged.
CString CutSpans(CString source, CString start, CString end);

// Replaces every RTF escape \'80 to \'ff (lowercase digits) by the byte it stands for.
CString DecodeHexEscapes(CString text);

// The same helpers on plain byte strings, for passes that chain many of them without going
// through CString copies. Results are byte for byte those of the CString forms above.
namespace detail {

inline std::string_view View(const CString& text) {
  return std::string_view(text.GetString(), static_cast<size_t>(text.GetLength()));
}
inline CString ToCString(std::string_view text) {
  return CString(text.data(), static_cast<int>(text.size()));
}

// std::string_view::find, through memmem: texts dense in backslashes make the first-byte scan
// of find stop at every backslash.
size_t Find(std::string_view text, std::string_view pattern, size_t from = 0);

std::string ReplaceAll(std::string_view source, std::string_view pattern, std::string_view replacement);
// ReplaceAll into `out`, whose buffer is reused; `source` must not view `out`.
void ReplaceAllInto(std::string& out, std::string_view source, std::string_view pattern, std::string_view replacement);
std::string CutSpans(std::string_view source, std::string_view start, std::string_view end);
std::string DecodeHexEscapes(std::string_view text);
// TextBetween's result once the start marker is found at `s` and the end marker, searched from
// s + 1, at `e` (-1 for either: absent).
std::string_view TextBetweenFound(std::string_view source, long s, size_t startLength, long e, bool endEmpty);
// TextBetween for a start marker already found at `s` (-1: absent).
std::string_view TextBetweenAt(std::string_view source, long s, std::string_view start, std::string_view end);
std::string_view TextBetween(std::string_view source, std::string_view start, std::string_view end);

// Whether an odd number of backslashes stands right before `pos`: then a backslash at `pos` is
// the second half of an escaped pair ("\\"), not the start of a control word or code.
inline bool Escaped(std::string_view text, size_t pos) {
  size_t run = pos;
  while (run > 0 && text[run - 1] == '\\') --run;
  return (pos - run) % 2 == 1;
}

// A height in drawing units as MText writes it: plain decimal, no exponent, no trailing zeros
// ("2.5", "1000000", "0.0001").
std::string HeightNumber(double units);

// Where the last paragraph mark ("\\par " with its own backslash) of an RTF body stands when
// nothing but group braces and control words follows it, or npos. The rich edit control drops
// such a mark when it reads a document (its last paragraph then ends at its own final mark), and
// writes its final mark as one when it streams out.
size_t TrailingParagraphMark(std::string_view rtf);
// Whether an RTF body holds nothing but group braces and control words.
bool HoldsNoText(std::string_view rtf);
// A body whose text ends with a paragraph mark gets one more, which the control drops when it
// reads it: the empty last line stays a line of its own. A body without text gets one too.
std::string WithFinalEmptyLineKept(std::string_view rtf);
// The control's final paragraph mark taken out of a streamed-out body: it is no line of the text.
std::string WithoutFinalParagraphMark(std::string_view rtf);

}  // namespace detail
