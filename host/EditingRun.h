// The editing run: filling the editor from the target, writing its text back, and live update.
#pragma once

#include <afx.h>

class EditorWindow;

// The last RTF that LiveUpdate read from the editor; each load starts it at the loaded text.
extern CString theLastRtfSeen;

// A number as "%f" shows it, cut after the first digit behind the point (12.345678 -> 12.3).
CString OneDecimal(double value);

// Shows theEditTarget's properties in the editor and streams a pending RTF into its text area.
void LoadTargetIntoEditor(EditorWindow& editor);
// Converts the editor's RTF into MText contents and writes the target.
void CommitEditor(EditorWindow& editor);
// As CommitEditor, but only when the RTF changed since the last call and holds no list text.
// CommitEditor and LiveUpdate convert only a text that differs from the one loaded.
void LiveUpdate(EditorWindow& editor);
// The text area changed: live update, unless it is off or the editor is being filled.
void RichTextChanged(EditorWindow& editor);
// The width box's text: the target's width unless it is the width as the box shows it, so that
// passing through the box never rounds the width.
void TakeWidthText(const CString& text);
