// The fast writer against the literal one: the same MText for every input. Inputs are kept
// small, as the literal RtfToMText rebuilds the whole string at every replacement.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "converter/KeptCodes.h"
#include "converter/MTextRtfConverter.h"
#include "converter/reference/LiteralRtfToMText.h"
#include "host/HostColors.h"

namespace {
constexpr size_t kMaxInput = 4096;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > kMaxInput) return -1;
  CString rtf(reinterpret_cast<const char*>(data), static_cast<int>(size));
  // Marked code text and literal backslashes follow rules the literal RtfToMText does not know.
  if (keptcodes::HoldsMarkedText(std::string_view(reinterpret_cast<const char*>(data), size))) return 0;
  HostColors colors;
  MTextRtfConverter fast(colors);
  literal::RtfToMTextConverter reference(colors);
  CString expected = reference.RtfToMText(rtf);
  CString actual = fast.RtfToMText(rtf);
  if (expected != actual) {
    std::fprintf(stderr, "literal: %s\nfast:    %s\n", expected.GetString(), actual.GetString());
    __builtin_trap();
  }
  return 0;
}
