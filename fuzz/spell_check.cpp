// Fuzz target: the words of any contents lie in order inside it, and a check after any change
// finds what a whole check of the changed contents finds.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "spell/Spelling.h"
#include "spell/Words.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  // The first byte chooses the kind; the second where the change goes, the third how many bytes
  // of the rest it replaces with "x-\P".
  auto kind = static_cast<mtextsearch::TextKind>(data[0] % 3);
  std::string before(reinterpret_cast<const char*>(data) + 3, size - 3);
  size_t at = before.empty() ? 0 : data[1] % before.size();
  std::string after = before;
  after.replace(at, std::min<size_t>(data[2] % 4, before.size() - at), "x-\\P");

  mtextsearch::DisplayedText shown = mtextsearch::Display(before, kind);
  size_t end = 0, sourceEnd = 0;
  for (const auto& w : spelling::detail::Words(shown, (data[0] & 4) != 0)) {
    if (w.begin < end || w.end <= w.begin || w.end > shown.chars.size()) std::abort();
    if (w.sourceBegin < sourceEnd || w.sourceEnd <= w.sourceBegin || w.sourceEnd > before.size()) std::abort();
    end = w.end;
    sourceEnd = w.sourceEnd;
  }

  static const spelling::Checker checker{spelling::Settings{}};
  spelling::Checked whole = checker.Check(after, kind);
  spelling::Checked changed = checker.Recheck(checker.Check(before, kind), after);
  if (whole.misspelt.size() != changed.misspelt.size()) std::abort();
  for (size_t k = 0; k < whole.misspelt.size(); ++k) {
    const auto& a = whole.misspelt[k];
    const auto& b = changed.misspelt[k];
    if (a.word != b.word || a.sourceBegin != b.sourceBegin || a.sourceEnd != b.sourceEnd) std::abort();
  }
  return 0;
}
