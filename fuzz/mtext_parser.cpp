// Fuzz target: the host's MTextToRtf tokenizes every byte of any contents and lays it out.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "qplatform/MText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  std::string contents(reinterpret_cast<const char*>(data) + 2, size - 2);
  size_t at = 0;
  for (const auto& token : qhost::mtext::Tokenize(contents)) {
    if (token.begin != at || token.end <= token.begin) std::abort();
    at = token.end;
  }
  if (at != contents.size()) std::abort();
  qhost::mtext::LayoutParams params;
  params.width = data[0] % 4 == 0 ? 0.0 : data[0] / 8.0;
  params.attachment = data[1] % 9 + 1;
  params.rotation = data[1] / 40.0;
  qhost::mtext::Layout layout = qhost::mtext::LayOut(contents, params);
  if (layout.lines.empty()) std::abort();
  layout.contains(AcGePoint3d(1, -1, 0), 0.5);
  return 0;
}
