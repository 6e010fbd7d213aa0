// The editor dialog as the editing run reaches it. The run lives in host/, below the dialog: it
// fills the editor from the target and writes what the user typed back, through this interface
// alone, which the dialog implements.
#pragma once

#include <afx.h>

#include "host/EditTarget.h"

// The target's properties as the dialog shows them.
struct ShownTarget {
  Justification justification = Justification::kLeft;  // the button to check
  CString rotationText;                                 // whole degrees
  CString styleName;
  CString heightText;                                   // as the height box shows it
  double pointSize = 0.0;                               // the size the text area shows that height at
  const CString* rtf = nullptr;                         // a document to load, or none
  CString widthText;
};

class EditorWindow {
 public:
  // Shows the properties, sets the text area's size to `pointSize`, and loads `rtf`.
  virtual void ShowTarget(const ShownTarget& shown) = 0;
  // The text area's contents as one RTF document.
  virtual CString EditorRtf() = 0;
  // Keeps the MText contents converted from the text area, which the next write takes.
  virtual void KeepConverted(const CString& contents) = 0;
  // Writes the target with the dialog's current values.
  virtual void WriteTarget() = 0;

 protected:
  ~EditorWindow() = default;
};
