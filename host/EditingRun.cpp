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

void ConvertAndWrite(MTextEditorDialog& dialog, const CString& rtf) {
  HostColors colors;
  MTextRtfConverter converter(colors);
  converter.knownHeights = theEditTarget.knownHeights;
  dialog.m_mtextContents = converter.RtfToMText(rtf);
  WriteTarget(&dialog);
}

}  // namespace

void LoadTargetIntoDialog(MTextEditorDialog& dialog) {
  EditTarget& target = theEditTarget;
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

  double height = target.textHeight;
  if (height == 0.0) GetVarReal("TEXTSIZE", height);
  char formatted[64] = "";
  acdbRToS(height, -1, -1, formatted);
  dialog.m_heightText = formatted;
  if (dialog.m_heightText.Find('.') < 0) dialog.m_heightText += ".0";

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
  dialog.ApplyColourAction();
}

void CommitEditor(MTextEditorDialog& dialog) { ConvertAndWrite(dialog, dialog.m_richEdit.GetRtf()); }

void LiveUpdate(MTextEditorDialog& dialog) {
  CString rtf = dialog.m_richEdit.GetRtf();
  // A list's numbering text would reach the MText as plain characters.
  if (rtf.Find("\\pntext") < 0 && rtf != theLastRtfSeen) ConvertAndWrite(dialog, rtf);
  theLastRtfSeen = rtf;
}

void RichTextChanged(MTextEditorDialog& dialog) {
  if (theEditTarget.liveUpdate) LiveUpdate(dialog);
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
  theEditTarget.width = std::atof(text);
  CommitEditor(dialog);
  dialog.EndWaitCursor();
}

void HeightEdited(MTextEditorDialog& dialog) {
  CString text;
  dialog.m_heightCombo.GetWindowText(text);
  const double height = std::atof(text);
  dialog.m_richEdit.SetSize(height * kPointsPerUnit);
  theEditTarget.textHeight = height;
}
