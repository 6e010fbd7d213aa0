// Fuzz target: the displayed text of any contents maps each character to bytes in order, and a
// replacement of any pattern either displays as the text with the matches replaced or is refused.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "converter/MTextSearch.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  // The first byte chooses the options and the kind; the second how much of the rest is the pattern.
  mtextsearch::SearchOptions options{(data[0] & 1) != 0, (data[0] & 2) != 0, (data[0] & 4) != 0};
  auto kind = static_cast<mtextsearch::TextKind>((data[0] >> 3) % 3);
  size_t patternSize = data[1] % 8 + 1;
  if (size < 2 + patternSize) return 0;
  std::string pattern(reinterpret_cast<const char*>(data) + 2, patternSize);
  std::string contents(reinterpret_cast<const char*>(data) + 2 + patternSize, size - 2 - patternSize);

  mtextsearch::DisplayedText shown = mtextsearch::Display(contents, kind);
  uint32_t at = 0;
  for (const auto& c : shown.chars) {
    if (c.sourceBegin < at || c.sourceEnd <= c.sourceBegin || c.sourceEnd > contents.size()) std::abort();
    at = c.sourceEnd;
  }
  auto compiled = mtextsearch::Pattern::FromCp1251(pattern, options);
  auto matches = mtextsearch::Find(compiled, shown);
  for (size_t k = 0; k < matches.size(); ++k) {
    if (matches[k].begin >= matches[k].end || matches[k].end > shown.chars.size()) std::abort();
    if (k > 0 && matches[k].begin < matches[k - 1].end) std::abort();
  }
  auto replaced = mtextsearch::Replace(contents, kind, shown, matches, "{x}\\%%", options.regex);
  if (replaced.count + replaced.refused != matches.size()) std::abort();
  if (replaced.refused > 0 && replaced.contents != contents) std::abort();
  return 0;
}
