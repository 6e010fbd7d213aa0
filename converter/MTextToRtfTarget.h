// What MTextToRtf needs of the text being edited: the base height, and a place for the result.
#pragma once

#include <afx.h>

#include <map>

// A text's heights in drawing units, as written in its contents, by the RTF half-point size
// that shows them.
using KnownHeights = std::map<int, CString>;

// The host implements this on its record of the edit target; the converter knows nothing more of it.
class MTextToRtfTarget {
 public:
  virtual ~MTextToRtfTarget() = default;
  // The text height in drawing units that plain runs are shown at (0 when none is set).
  virtual double TextHeight() const = 0;
  // Keeps the RTF document that a conversion made, for the editor to stream in.
  virtual void SetRtfText(const CString& rtf) = 0;
  // Keeps the heights that the document shows, for RtfToMText to give back as they were.
  virtual void SetKnownHeights(const KnownHeights& heights) = 0;
};
