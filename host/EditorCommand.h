// The command CQuillon: choose a new point or an existing text, then run the editor on it.
#pragma once

// The command's callback: asks for an insertion point (a new text) or, on Enter, for a text to
// edit, then runs the editor dialog modally with the host's main window as parent.
void EditorCommand();
