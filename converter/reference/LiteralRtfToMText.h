// RtfToMText written step for step on the literal helpers: the reference that tests,
// benchmarks and fuzz targets hold MTextRtfConverter::RtfToMText to.
#pragma once

#include <afx.h>
#include <afxcoll.h>

#include "converter/ColorLookup.h"

namespace literal {

class RtfToMTextConverter {
 public:
  explicit RtfToMTextConverter(const ColorLookup& colors) : m_colors(colors) {}

  CString RtfToMText(CString rtf);
  void ParseColorTable();
  void ParseFontTable();
  void ConvertBody();
  CString ConvertRun(CString run);
  CString StripControlWords(CString text);

  CStringArray fontDescriptors;
  CStringArray colorCodes;
  CStringArray runTexts;
  CString fontTableText;
  CString colorTableText;
  CString bodyText;

 private:
  const ColorLookup& m_colors;
};

}  // namespace literal
