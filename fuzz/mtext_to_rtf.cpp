// MTextToRtf on any bytes: it must end, without a crash or a sanitizer report, and give a
// document that begins with the font table. Inputs run to 1 MiB (texts that large are in
// drawings), so that a pass that turns quadratic times out.
#include <cstddef>
#include <cstdint>

#include "converter/MTextRtfConverter.h"
#include "host/EditTarget.h"
#include "host/HostColors.h"

namespace {
constexpr size_t kMaxInput = 1024 * 1024;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > kMaxInput || size < 1) return -1;
  // The first byte picks the base height, so the height passes see several values.
  EditTarget target;
  target.textHeight = data[0] / 16.0;
  MTextToRtfEditTarget link(target);
  HostColors colors;
  MTextRtfConverter converter(colors, link);
  CString rtf = converter.MTextToRtf(CString(reinterpret_cast<const char*>(data) + 1, static_cast<int>(size - 1)));
  if (rtf.Find("{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fnil MS Sans Serif;}") != 0) __builtin_trap();
  if (target.rtfText != rtf) __builtin_trap();
  return 0;
}
