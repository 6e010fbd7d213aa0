// What the MText reader needs of the text being edited: the base height, and a place for the result.
#pragma once

#include <afx.h>

// The host implements this on its record of the edit target; the converter knows nothing more of it.
class ReaderTarget {
 public:
  virtual ~ReaderTarget() = default;
  // The text height in drawing units that plain runs are shown at (0 when none is set).
  virtual double TextHeight() const = 0;
  // Keeps the RTF document that a conversion made, for the editor to stream in.
  virtual void SetRtfText(const CString& rtf) = 0;
};
