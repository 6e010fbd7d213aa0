// The find command: a text and its replacement searched in every text of the drawing.
#pragma once

// The host's callback for CQuillonFind: asks for the text and the replacement, lists the matches
// in model space, the paper spaces and the blocks, and then zooms to, replaces one or replaces
// all of them as the user answers.
void FindCommand();
