// Fuzz target: whatever drawing loads is drawn, as SVG and on a character grid, in both spaces,
// without a crash or a hang (angles, nested block arrays, spline degrees, huge coordinates).
#include <cstdint>
#include <cstdlib>
#include <string>

#include "qplatform/Drawing.h"
#include "qplatform/Host.h"
#include "qplatform/Render.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  qhost::DrawingLoad load = qhost::LoadDrawingFromBytes(bytes, "fuzz.dxf");
  if (!load.database) return 0;
  for (auto space : {qhost::render::Space::kModel, qhost::render::Space::kPaper}) {
    std::string svg = qhost::render::Svg(qhost::render::Draw(*load.database, space));
    if (svg.find("</svg>") == std::string::npos) std::abort();
  }
  qhost::DrawingPicture(*load.database, 100, 36);
  return 0;
}
