// The spelling marks of the terminal's picture: the rich edit's text checked as MText would show
// it, so that a word is what the drawing-wide check calls a word.
#include "SpellMarks.h"

#include "spell/Spelling.h"

namespace qhostui {

namespace {

// The text as MText contents that display it character for character: each escape shows one
// character and a paragraph one line break.
std::string AsContents(const std::string& shown) {
  std::string contents;
  for (char c : shown) {
    if (c == '\n')
      contents += "\\P";
    else if (c == '\\' || c == '{' || c == '}')
      contents += std::string("\\") + c;
    else
      contents += c;
  }
  return contents;
}

}  // namespace

std::vector<bool> MisspeltChars(const std::string& shown) {
  std::vector<bool> marked(shown.size(), false);
  if (shown.find_first_not_of(" \n") == std::string::npos) return marked;
  static const spelling::Checker checker(spelling::LoadSettings(spelling::ConfigFolder()));
  const spelling::Checked checked = checker.Check(AsContents(shown), mtextsearch::TextKind::kMText);
  for (const spelling::Misspelling& word : checked.misspelt)
    for (size_t c = word.begin; c < word.end && c < marked.size(); ++c) marked[c] = true;
  return marked;
}

}  // namespace qhostui
