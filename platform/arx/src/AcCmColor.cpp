// AcCmColor: nearest palette index of an RGB value, and the palette value of an index.
#include "dbcolor.h"

#include "arx/src/AciPalette.h"

void AcCmColor::setRGB(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  m_red = red;
  m_green = green;
  m_blue = blue;
  long best = -1;
  for (int i = 1; i <= 255; ++i) {
    const unsigned char* rgb = arxdetail::kAciPalette[i];
    long dr = long{red} - rgb[0], dg = long{green} - rgb[1], db = long{blue} - rgb[2];
    long distance = dr * dr + dg * dg + db * db;
    if (best < 0 || distance < best) {  // strictly less: the lowest index wins a tie
      best = distance;
      m_index = static_cast<std::uint16_t>(i);
    }
  }
}

bool AcCmColor::setColorIndex(std::uint16_t index) {
  if (index > kByLayer) return false;
  m_index = index;
  bool palette = index != kByBlock && index != kByLayer;
  m_red = palette ? arxdetail::kAciPalette[index][0] : 0;
  m_green = palette ? arxdetail::kAciPalette[index][1] : 0;
  m_blue = palette ? arxdetail::kAciPalette[index][2] : 0;
  return true;
}
