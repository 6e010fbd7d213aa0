// The editing run: filling the editor from the target, writing its text back, and live update.
#pragma once

#include <afx.h>

class MTextEditorDialog;

// The last RTF that LiveUpdate read from the editor; each load starts it at the loaded text.
extern CString theLastRtfSeen;

// A number as "%f" shows it, cut after the first digit behind the point (12.345678 -> 12.3).
CString OneDecimal(double value);
// A text height as the height box shows it: in current units, TEXTSIZE for 0, at least one decimal.
CString HeightText(double height);

// Shows theEditTarget's properties in the dialog and streams a pending RTF into its text area.
void LoadTargetIntoDialog(MTextEditorDialog& dialog);
// Converts the editor's RTF into the dialog's MText contents and writes the target.
void CommitEditor(MTextEditorDialog& dialog);
// As CommitEditor, but only when the RTF changed since the last call and holds no list text.
// CommitEditor and LiveUpdate convert only a text that differs from the one loaded.
void LiveUpdate(MTextEditorDialog& dialog);

// The dialog's handlers of the editing run.
void RichTextChanged(MTextEditorDialog& dialog);     // text area, code 1
void DynamicModeToggled(MTextEditorDialog& dialog);  // dynamic-mode toggle clicked
void WidthEditLeft(MTextEditorDialog& dialog);       // width edit lost the focus
void HeightEdited(MTextEditorDialog& dialog);        // height box text edited
