// RtfToMText on any bytes: it must give a string, without a crash, a sanitizer report or a hang.
#include <cstddef>
#include <cstdint>

#include "converter/MTextRtfConverter.h"
#include "host/HostColors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  HostColors colors;
  MTextRtfConverter converter(colors);
  CString mtext = converter.RtfToMText(CString(reinterpret_cast<const char*>(data), static_cast<int>(size)));
  if (mtext.IsEmpty() || mtext.GetAt(0) != '{') __builtin_trap();
  return 0;
}
