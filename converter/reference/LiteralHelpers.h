// The string helpers written step for step: the reference for the fast helpers of TextHelpers.h.
#pragma once

#include <afx.h>

namespace literal {

CString TextBetween(CString source, CString start, CString end);

class TextReplacer {
 public:
  virtual ~TextReplacer();
  CString ReplaceAll(CString source, CString pattern, CString replacement);
};

CString CutSpans(CString source, CString start, CString end);
CString DecodeHexEscapes(CString text);
// The rich edit control's last paragraph mark: one more behind a text that ends with an empty
// line, and the final mark of a streamed-out document taken away.
CString WithFinalEmptyLineKept(CString rtf);
CString WithoutFinalParagraphMark(CString rtf);

}  // namespace literal
