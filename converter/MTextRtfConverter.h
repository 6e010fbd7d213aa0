// The converter between MText contents and the rich edit control's RTF; one object per conversion.
#pragma once

#include <afx.h>
#include <afxcoll.h>

#include "converter/ColorLookup.h"

class MTextRtfConverter {
 public:
  explicit MTextRtfConverter(const ColorLookup& colors);
  virtual ~MTextRtfConverter();

  // The writer: the control's whole RTF document in, MText contents out. Never fails.
  CString RtfToMText(CString rtf);

  // The writer's passes, public so that a test can run one alone.
  void ParseColorTable();
  void ParseFontTable();
  void ConvertBody();
  CString ConvertRun(CString run);
  CString StripControlWords(CString text);

  // The writer's lists and texts. They start empty and no step clears them.
  CStringArray fontDescriptors;
  CStringArray colorCodes;
  CStringArray runTexts;
  CString fontTableText;
  CString colorTableText;
  CString bodyText;

  // The reader's working string and lists (MText to RTF).
  CString workText;
  CStringArray fontKeys;
  CStringArray colourKeys;

 private:
  const ColorLookup& m_colors;
};
