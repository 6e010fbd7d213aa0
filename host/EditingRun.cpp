// The editing run: filling the editor from the target, writing its text back, and live update.
#include "host/EditingRun.h"

#include <acedads.h>

#include <cstdlib>

#include "converter/MTextRtfConverter.h"
#include "dialog/MTextEditorDialog.h"
#include "host/DrawingAdapter.h"
#include "host/EditTarget.h"
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

constexpr double kDegreesPerRadian = 57.29577951308232;
// The rich edit shows a text height h as 6h points.
constexpr double kPointsPerUnit = 6.0;

// Only a text the user changed is converted: while the editor holds what was loaded, the
// target keeps (or gets back) the text it had.
void ConvertAndWrite(MTextEditorDialog& dialog, const CString& rtf) {
  theEditTarget.textEdited = rtf != theEditTarget.baselineRtf;
  if (theEditTarget.textEdited) {
    HostColors colors;
    MTextRtfConverter converter(colors);
    converter.knownHeights = theEditTarget.knownHeights;
    converter.defaultFace = StyleTrueTypeFace(theEditTarget.textStyleId);
    dialog.m_mtextContents = converter.RtfToMText(rtf);
  }
  WriteTarget(&dialog);
}

}  // namespace

CString HeightText(double height) {
  if (height == 0.0) GetVarReal("TEXTSIZE", height);
  char formatted[64] = "";
  acdbRToS(height, -1, -1, formatted);
  CString text = formatted;
  if (text.Find('.') < 0) text += ".0";
  return text;
}

void LoadTargetIntoDialog(MTextEditorDialog& dialog) {
  EditTarget& target = theEditTarget;
  // The control reports every step of filling it as a change; none of them is the user's.
  target.loading = true;
  switch (target.justification) {
    case 0: dialog.m_justifyLeftButton.SetCheck(1); break;
    case 1: dialog.m_justifyCentreButton.SetCheck(1); break;
    case 2: dialog.m_justifyRightButton.SetCheck(1); break;
    default: break;
  }
  dialog.m_rotationText.Format("%i", static_cast<int>(target.rotation * kDegreesPerRadian));

  target.textStyleId = StyleIdByName(target.textStyleName);
  if (target.textStyleId.isNull()) {
    GetVarString("TEXTSTYLE", target.textStyleName);
    target.textStyleId = StyleIdByName(target.textStyleName);
  }
  dialog.m_styleText = target.textStyleName;
  dialog.m_styleCombo.SelectString(-1, target.textStyleName);

  dialog.m_heightText = HeightText(target.textHeight);

  dialog.UpdateData(FALSE);
  const double points = std::atof(dialog.m_heightText) * kPointsPerUnit;
  dialog.m_richEdit.SetSize(points);
  dialog.m_richEdit.SetSize(points, TRUE);
  dialog.m_richEdit.SetSel(0, dialog.m_richText.GetLength());
  dialog.m_richEdit.SetBackgroundColor(FALSE, dialog.m_colorCombo.GetColorFromIndex(0));
  if (target.rtfPending) {
    dialog.m_richEdit.SetRtf(target.rtfText);
    target.rtfPending = false;
  }
  dialog.m_widthEdit.SetWindowText(OneDecimal(target.width));
  target.baselineRtf = dialog.m_richEdit.GetRtf();
  theLastRtfSeen = target.baselineRtf;
  target.textEdited = false;
  target.loading = false;
}

void CommitEditor(MTextEditorDialog& dialog) { ConvertAndWrite(dialog, dialog.m_richEdit.GetRtf()); }

void LiveUpdate(MTextEditorDialog& dialog) {
  CString rtf = dialog.m_richEdit.GetRtf();
  // A list's numbering text would reach the MText as plain characters.
  if (rtf.Find("\\pntext") < 0 && rtf != theLastRtfSeen) ConvertAndWrite(dialog, rtf);
  theLastRtfSeen = rtf;
}

void RichTextChanged(MTextEditorDialog& dialog) {
  if (theEditTarget.liveUpdate && !theEditTarget.loading) LiveUpdate(dialog);
}

void DynamicModeToggled(MTextEditorDialog& dialog) {
  dialog.UpdateData(TRUE);
  if (dialog.m_dynamicMode == 1) {
    theEditTarget.liveUpdate = true;
    CommitEditor(dialog);
  } else {
    theEditTarget.liveUpdate = false;
  }
  dialog.m_richEdit.SetFocus();
}

void WidthEditLeft(MTextEditorDialog& dialog) {
  dialog.BeginWaitCursor();
  CString text;
  dialog.m_widthEdit.GetWindowText(text);
  // The box shows the width to one decimal: passing through it must not round the width.
  if (text != OneDecimal(theEditTarget.width)) theEditTarget.width = std::atof(text);
  CommitEditor(dialog);
  dialog.EndWaitCursor();
}

void HeightEdited(MTextEditorDialog& dialog) {
  CString text;
  dialog.m_heightCombo.GetWindowText(text);
  dialog.ApplyHeightAction(std::atof(text));
}
