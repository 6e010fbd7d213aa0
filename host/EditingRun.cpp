// The editing run: filling the editor from the target, writing its text back, and live update.
#include "host/EditingRun.h"

#include <cstdlib>

#include "converter/DrawingUnits.h"
#include "converter/MTextRtfConverter.h"
#include "host/Angles.h"
#include "host/DrawingAdapter.h"
#include "host/EditTarget.h"
#include "host/EditorWindow.h"
#include "host/HostColors.h"

CString theLastRtfSeen;

CString OneDecimal(double value) {
  CString text;
  text.Format("%f", value);
  int point = text.Find('.');
  if (point >= 0) text = text.Left(point + 2);
  return text;
}

namespace {

// Only a text the user changed is converted: while the editor holds what was loaded, the
// target keeps (or gets back) the text it had.
void ConvertAndWrite(EditorWindow& editor, const CString& rtf) {
  theEditTarget.textEdited = rtf != theEditTarget.baselineRtf;
  if (theEditTarget.textEdited) {
    HostColors colors;
    MTextRtfConverter converter(colors);
    converter.knownHeights = theEditTarget.knownHeights;
    converter.knownFonts = theEditTarget.knownFonts;
    converter.halfPointsPerUnit = theEditTarget.halfPointsPerUnit;
    converter.defaultFace = StyleTrueTypeFace(theEditTarget.textStyleId);
    editor.KeepConverted(converter.RtfToMText(rtf));
  }
  editor.WriteTarget();
}

}  // namespace

void LoadTargetIntoEditor(EditorWindow& editor) {
  EditTarget& target = theEditTarget;
  // The control reports every step of filling it as a change; none of them is the user's.
  target.loading = true;
  ShownTarget shown;
  shown.justification = target.justification;
  shown.rotationText.Format("%i", static_cast<int>(Degrees(target.rotation)));

  target.textStyleId = StyleIdByName(target.textStyleName);
  if (target.textStyleId.isNull()) {
    GetVarString("TEXTSTYLE", target.textStyleName);
    target.textStyleId = StyleIdByName(target.textStyleName);
  }
  shown.styleName = target.textStyleName;
  // A dimension is shown at its own height and without a width; the record keeps the text's.
  double height = target.isDimension ? target.dimensionHeight : target.textHeight;
  if (height == 0.0) GetVarReal("TEXTSIZE", height);
  shown.heightText = HeightText(height);
  shown.pointSize = height * target.halfPointsPerUnit / 2;
  if (target.rtfPending) shown.rtf = &target.rtfText;
  shown.widthText = OneDecimal(target.isDimension ? 0.0 : target.width);
  editor.ShowTarget(shown);
  target.rtfPending = false;
  target.baselineRtf = editor.EditorRtf();
  theLastRtfSeen = target.baselineRtf;
  target.textEdited = false;
  target.loading = false;
}

void CommitEditor(EditorWindow& editor) { ConvertAndWrite(editor, editor.EditorRtf()); }

void LiveUpdate(EditorWindow& editor) {
  CString rtf = editor.EditorRtf();
  // A list's numbering text would reach the MText as plain characters.
  if (rtf.Find("\\pntext") < 0 && rtf != theLastRtfSeen) ConvertAndWrite(editor, rtf);
  theLastRtfSeen = rtf;
}

void RichTextChanged(EditorWindow& editor) {
  if (theEditTarget.liveUpdate && !theEditTarget.loading) LiveUpdate(editor);
}

void TakeWidthText(const CString& text) {
  if (theEditTarget.isDimension) return;  // a dimension has no width: the box shows none
  if (text != OneDecimal(theEditTarget.width)) theEditTarget.width = std::atof(text);
}
