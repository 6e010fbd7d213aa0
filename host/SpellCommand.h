// The spelling command: the misspelt words of every text of the drawing.
#pragma once

// The host's callback for CQuillonSpell: lists the misspelt words of model space, the paper
// spaces and the blocks, and then zooms to, replaces by a suggestion, skips or adds to the
// personal dictionary each of them as the user answers.
void SpellCommand();
