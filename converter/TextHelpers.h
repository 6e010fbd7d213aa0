// The string helpers that both converters build their passes from.
#pragma once

#include <afx.h>

// The text after the first `start` marker up to the next `end` marker. The end marker is
// searched from one byte after the start marker's beginning; an empty or absent end marker
// means: to the end. An absent start marker counts as found at -1.
CString TextBetween(CString source, CString start, CString end);

// Replaces every occurrence of a pattern. Note the argument order: replacement before pattern.
class TextReplacer {
 public:
  virtual ~TextReplacer();
  CString ReplaceAll(CString source, CString replacement, CString pattern);
};

// Removes every `start` marker with the text after it up to the next `end` marker; the end
// marker itself stays.
CString CutSpans(CString source, CString start, CString end);

// Replaces every RTF escape \'80 to \'ff (lowercase digits) by the byte it stands for.
CString DecodeHexEscapes(CString text);
