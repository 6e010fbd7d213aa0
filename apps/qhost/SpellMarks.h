// Which characters of a rich edit's text belong to misspelt words, for the terminal's picture.
#pragma once

#include <string>
#include <vector>

namespace qhostui {

// One flag for each character of `shown` (code page 1251, a paragraph as '\n'): true inside a
// word the spelling checker rejects. The checker reads the options and personal dictionary of the
// configuration folder once, on the first call with text.
std::vector<bool> MisspeltChars(const std::string& shown);

}  // namespace qhostui
