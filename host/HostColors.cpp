// HostColors: ColorLookup on AcCmColor.
#include "host/HostColors.h"

#include <dbcolor.h>

namespace {

// The palette index whose RGB stands for ByLayer on screen (the writer maps it back to 256).
constexpr int kByLayerShownAs = 139;
constexpr int kDefaultColor = 7;

}  // namespace

unsigned short HostColors::NearestIndex(int red, int green, int blue) const {
  AcCmColor color;
  color.setRGB(static_cast<std::uint8_t>(red), static_cast<std::uint8_t>(green), static_cast<std::uint8_t>(blue));
  return color.colorIndex();
}

unsigned long HostColors::RgbOfIndex(int index) const {
  if (index == AcCmColor::kByLayer) index = kByLayerShownAs;
  if (index <= AcCmColor::kByBlock || index > 255) index = kDefaultColor;
  AcCmColor color;
  color.setColorIndex(static_cast<std::uint16_t>(index));
  return static_cast<unsigned long>(color.red()) | static_cast<unsigned long>(color.green()) << 8 |
         static_cast<unsigned long>(color.blue()) << 16;
}
