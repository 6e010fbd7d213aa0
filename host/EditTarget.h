// The record of the text being edited and of its properties: one for the whole module.
#pragma once

#include <adsdef.h>
#include <afx.h>
#include <dbid.h>
#include <gepnt3d.h>

#include "converter/DrawingUnits.h"
#include "converter/MTextToRtfTarget.h"

// How the text lines up at its location: the drawing's horizontal mode, of which the editor
// offers the first three (a text of the drawing may bring another, which is kept).
enum class Justification { kLeft = 0, kCentre = 1, kRight = 2 };
// The line spacing style as the drawing stores it; kUnset until a text or the user sets one.
enum class SpacingStyle { kUnset = 0, kAtLeast = 1, kExactly = 2 };
// Which way the nudge buttons move the text; the dialog sets it when it opens.
enum class OffsetMode { kUnset = 0, kPositive = 1, kNegative = 2 };

// Filled by the command, shown and changed by the dialog, written to the entity by the drawing
// adapter. Never reset between runs, so a new text starts with what the last one left.
struct EditTarget {
  AcGePoint3d location;         // insertion point, also written as the alignment point
  double textHeight = 0.0;      // 0: not set, the dialog shows TEXTSIZE
  Justification justification = Justification::kLeft;
  double rotation = 0.0;        // radians
  CString currentContents;      // the contents last written to the target
  CString textStyleName;
  double width = 0.0;
  ads_name entityName = {0, 0};
  bool rtfPending = false;      // rtfText waits to be streamed into the editor
  double lineSpacingFactor = 0.0;
  CString rtfText;              // MTextToRtf's document of the target's text
  SpacingStyle lineSpacingStyle = SpacingStyle::kUnset;
  OffsetMode offsetMode = OffsetMode::kUnset;
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
  KnownHeights knownHeights;    // the loaded text's heights, given back by RtfToMText as they were
  KnownFonts knownFonts;        // the loaded text's font fields that the control's table cannot hold
  double halfPointsPerUnit = kHalfPointsPerDrawingUnit;  // the view scale of the text in the editor
};

// The module's one record, constructed when the module is loaded.
extern EditTarget theEditTarget;

// The half-point size a height the user typed in drawing units is shown at, known by its text so
// that it comes back as typed: its own size, unless a height of another value holds that.
int KnowTypedHeight(EditTarget& target, const CString& text);
// The height box's text for a size the control shows: at today's scale its units with one decimal
// (truncated); at another the height the text had or the user typed there, otherwise its units
// to four significant digits.
CString HeightBoxText(const EditTarget& target, int halfPoints);

// MTextToRtf's view of a record: its text height in, the RTF document kept in rtfText.
class MTextToRtfEditTarget : public MTextToRtfTarget {
 public:
  explicit MTextToRtfEditTarget(EditTarget& target) : m_target(target) {}
  double TextHeight() const override;
  void SetRtfText(const CString& rtf) override;
  void SetKnownHeights(const KnownHeights& heights) override;
  void SetKnownFonts(const KnownFonts& fonts) override;
  void SetViewScale(double halfPointsPerUnit) override;

 private:
  EditTarget& m_target;
};
