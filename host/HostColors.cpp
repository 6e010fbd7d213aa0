// HostColors: ColorLookup on AcCmColor.
#include "host/HostColors.h"

#include <dbcolor.h>

namespace {

// The palette index whose RGB stands for ByLayer on screen (RtfToMText maps it back to 256).
constexpr int kByLayerShownAs = 139;
constexpr int kDefaultColor = 7;
// ByBlock is shown in an RGB next to index 7's white that no palette index has, and only that
// RGB is read back as ByBlock.
constexpr unsigned long kByBlockShownAs = 0xFEFEFE;

}  // namespace

unsigned short HostColors::NearestIndex(int red, int green, int blue) const {
  const unsigned long rgb = static_cast<unsigned long>(red & 0xFF) | static_cast<unsigned long>(green & 0xFF) << 8 |
                            static_cast<unsigned long>(blue & 0xFF) << 16;
  if (rgb == kByBlockShownAs) return AcCmColor::kByBlock;
  AcCmColor color;
  color.setRGB(static_cast<std::uint8_t>(red), static_cast<std::uint8_t>(green), static_cast<std::uint8_t>(blue));
  return color.colorIndex();
}

unsigned long HostColors::RgbOfIndex(int index) const {
  if (index == AcCmColor::kByBlock) return kByBlockShownAs;
  if (index == AcCmColor::kByLayer) index = kByLayerShownAs;
  if (index <= AcCmColor::kByBlock || index > 255) index = kDefaultColor;
  AcCmColor color;
  color.setColorIndex(static_cast<std::uint16_t>(index));
  return static_cast<unsigned long>(color.red()) | static_cast<unsigned long>(color.green()) << 8 |
         static_cast<unsigned long>(color.blue()) << 16;
}
