// The host's own empty drawing, what a new drawing starts from: platform/arx/data/default-drawing.dxf
// (DXF R2000, code page 1251, CRLF lines), embedded at build time.
#pragma once

#include <cstddef>
#include <string>
#include <utility>

namespace qhost::detail {

// The bytes of a file embedded from platform/arx/data by name; {nullptr, 0} for any other name.
std::pair<const char*, size_t> EmbeddedFile(const std::string& name);

// The default drawing's bytes.
const std::string& DefaultDrawingBytes();

}  // namespace qhost::detail
