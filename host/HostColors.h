// The converters' colour look-ups answered by the host's colour object AcCmColor.
#pragma once

#include "converter/ColorLookup.h"

class HostColors : public ColorLookup {
 public:
  // Channels outside 0 to 255 reach the host's 8-bit parameters as their low byte.
  unsigned short NearestIndex(int red, int green, int blue) const override;
  // ByLayer (256) is shown in the RGB of index 139, which RtfToMText turns back into ByLayer;
  // ByBlock (0) in an RGB of its own next to white, which RtfToMText reads back as ByBlock; any
  // number outside 0 to 256 in the RGB of index 7.
  unsigned long RgbOfIndex(int index) const override;
};
