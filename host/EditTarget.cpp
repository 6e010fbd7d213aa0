// The module's edit target record and MTextToRtf's view of it.
#include "host/EditTarget.h"

#include "host/DrawingAdapter.h"

EditTarget theEditTarget;

// A height of 0 is not set: the dialog then shows the system variable TEXTSIZE, and the text it
// loads is read at that height too (a dimension's text would otherwise come back at height 0).
double EditTargetReader::TextHeight() const {
  if (m_target.textHeight != 0.0) return m_target.textHeight;
  double textSize = 0.0;
  return GetVarReal("TEXTSIZE", textSize) == 0 ? textSize : 0.0;
}

void EditTargetReader::SetRtfText(const CString& rtf) { m_target.rtfText = rtf; }
void EditTargetReader::SetKnownHeights(const KnownHeights& heights) { m_target.knownHeights = heights; }
void EditTargetReader::SetKnownFonts(const KnownFonts& fonts) { m_target.knownFonts = fonts; }
