// The two colour look-ups the converters need from the host, as a small interface.
#pragma once

// Colour numbers are AutoCAD Color Index values (0 by block, 256 by layer, 7 the default);
// an RGB value is a Windows COLORREF laid out as 0x00BBGGRR.
class ColorLookup {
 public:
  virtual ~ColorLookup() = default;
  // The nearest colour index of an RGB value (RtfToMText's colour table).
  virtual unsigned short NearestIndex(int red, int green, int blue) const = 0;
  // The RGB value shown for a colour index (MTextToRtf's colour table).
  virtual unsigned long RgbOfIndex(int index) const = 0;
};
