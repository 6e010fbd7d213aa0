// Choosing a text of the drawing to edit.
#pragma once

// Results of SelectText.
enum SelectTextResult { kTextSelected = 0, kSelectionStopped = 1, kSelectAgain = 2 };

// Asks for a text: an MText or a dimension is read into theEditTarget, its text converted and
// waiting in rtfText (kTextSelected); cancel or a hard error stops (kSelectionStopped); empty
// space or another kind of object asks again (kSelectAgain).
int SelectText();
