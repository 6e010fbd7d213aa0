// The fast reader against the literal one: the same document for every input. Inputs are kept
// small, as the literal MTextToRtf rebuilds the whole string at every replacement.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "converter/KeptCodes.h"
#include "converter/MTextRtfConverter.h"
#include "converter/reference/LiteralMTextToRtf.h"
#include "host/EditTarget.h"
#include "host/HostColors.h"

namespace {
constexpr size_t kMaxInput = 2048;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > kMaxInput || size < 1) return -1;
  EditTarget target;
  target.textHeight = data[0] / 16.0;
  MTextToRtfEditTarget link(target);
  HostColors colors;
  CString mtext(reinterpret_cast<const char*>(data) + 1, static_cast<int>(size - 1));
  // Kept codes and literal backslashes follow rules the literal MTextToRtf does not know; so do
  // relative heights on RtfToMText's own contents or with a capital X, heights shown at a size
  // not their own, and faces spelled with "\U+" codes.
  const std::string_view text(mtext.GetString(), static_cast<size_t>(mtext.GetLength()));
  if (keptcodes::HoldsKeptCode(text)) return 0;
  // Closing braces in front of every group close nothing and are left out before the contents are told.
  const size_t lead = std::min(text.find_first_not_of('}'), text.size());
  if (text.compare(lead, 2, "{{") == 0 && text.find('x') != std::string_view::npos) return 0;
  if (text.find('X') != std::string_view::npos) return 0;  // "\H2X;" is relative, to the literal one no number
  if (text.find("\\U+") != std::string_view::npos || text.find("\\u+") != std::string_view::npos) return 0;  // stand-in faces
  CString expected = literal::MTextToRtf(mtext, target.textHeight, colors);
  MTextRtfConverter fast(colors, link);
  CString actual = fast.MTextToRtf(mtext);
  if (fast.movedSizes > 0) return 0;
  if (expected != actual) {
    std::fprintf(stderr, "literal: %s\nfast:    %s\n", expected.GetString(), actual.GetString());
    __builtin_trap();
  }
  return 0;
}
