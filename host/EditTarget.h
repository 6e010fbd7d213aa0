// The record of the text being edited and of its properties: one for the whole module.
#pragma once

#include <adsdef.h>
#include <afx.h>
#include <dbid.h>
#include <gepnt3d.h>

#include "converter/ReaderTarget.h"

// Filled by the command, shown and changed by the dialog, written to the entity by the drawing
// adapter. Never reset between runs, so a new text starts with what the last one left.
struct EditTarget {
  AcGePoint3d location;         // insertion point, also written as the alignment point
  double textHeight = 0.0;      // 0: not set, the dialog shows TEXTSIZE
  int justification = 0;        // 0 left, 1 centre, 2 right
  double rotation = 0.0;        // radians
  CString currentContents;      // the contents last written to the target
  CString textStyleName;
  double width = 0.0;
  ads_name entityName = {0, 0};
  bool rtfPending = false;      // rtfText waits to be streamed into the editor
  double lineSpacingFactor = 0.0;
  CString rtfText;              // the reader's document of the target's text
  int lineSpacingStyle = 0;     // 1 at least, 2 exactly
  int offsetMode = 0;           // nudge direction: 1 positive, 2 negative
  bool liveUpdate = false;      // dynamic mode
  bool isDimension = false;     // only the override text is written
  CString dimensionText;        // a dimension's override text as it was selected
  double dimensionHeight = 0.0; // a dimension's own text height, as the editor shows it
  AcDbObjectId textStyleId;     // null until a style is chosen
  // Nothing is written until the user changes something: the text the target held when it was
  // chosen, the editor's RTF once it was loaded, and whether the editor's text differs from it.
  CString loadedContents;       // MText contents, or a dimension's override text
  CString baselineRtf;
  bool textEdited = false;
  bool created = false;         // a new text of this run, not one the drawing had
  bool loading = false;         // the editor is being filled: its changes are not the user's
  KnownHeights knownHeights;    // the loaded text's heights, given back by the writer as they were
};

// The module's one record, constructed when the module is loaded.
extern EditTarget theEditTarget;

// The MText reader's view of a record: its text height in, the RTF document kept in rtfText.
class EditTargetReader : public ReaderTarget {
 public:
  explicit EditTargetReader(EditTarget& target) : m_target(target) {}
  double TextHeight() const override;
  void SetRtfText(const CString& rtf) override;
  void SetKnownHeights(const KnownHeights& heights) override;

 private:
  EditTarget& m_target;
};
