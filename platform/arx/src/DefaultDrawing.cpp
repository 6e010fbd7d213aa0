// The host's own empty drawing, from the file embedded at build time.
#include "arx/src/DefaultDrawing.h"

namespace qhost::detail {

const std::string& DefaultDrawingBytes() {
  static const std::string bytes = [] {
    auto [data, size] = EmbeddedFile("default-drawing.dxf");
    return std::string(data, size);
  }();
  return bytes;
}

}  // namespace qhost::detail
