// The host stand-in's colour palette: RGB of each AutoCAD Color Index 0 to 255.
#pragma once

namespace arxdetail {

// kAciPalette[index] = {red, green, blue}; entry 0 (ByBlock) is a placeholder.
extern const unsigned char kAciPalette[256][3];

}  // namespace arxdetail
