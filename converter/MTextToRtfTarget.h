// What MTextToRtf needs of the text being edited: the base height, and a place for the result.
#pragma once

#include <afx.h>

#include <map>

// A text's heights in drawing units, as written in its contents, by the RTF half-point size
// that shows them.
using KnownHeights = std::map<int, CString>;

// A text's font descriptors ("Arial|c0|p0") by the descriptor that the control's font table gives
// RtfToMText for them ("Arial|c0"), where the two differ: the table keeps no pitch field that no
// family word stands for.
using KnownFonts = std::map<CString, CString>;

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
  // Keeps the font descriptors that the document's font table cannot hold, for RtfToMText.
  virtual void SetKnownFonts(const KnownFonts& fonts) = 0;
  // Keeps the view scale the document was made at (half-points per drawing unit), for the
  // editor's height box and for RtfToMText.
  virtual void SetViewScale(double halfPointsPerUnit) = 0;
};
