// The command CQuillon: choose a new point or an existing text, then run the editor on it.
#pragma once

// The command's callback: asks for an insertion point (a new text) or, on Enter, for a text to
// edit, then runs the editor dialog modally with the host's main window as parent.
void EditorCommand();

// Results of SelectText.
enum SelectTextResult { kTextSelected = 0, kSelectionStopped = 1, kSelectAgain = 2 };

// Asks for a text: an MText or a dimension is read into theEditTarget, its text converted and
// waiting in rtfText (kTextSelected); cancel or a hard error stops (kSelectionStopped); empty
// space or another kind of object asks again (kSelectAgain).
int SelectText();
