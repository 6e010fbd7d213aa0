// Host stand-in: AcCmColor, a colour given by AutoCAD Color Index or by RGB.
#pragma once

#include <cstdint>

// Index 0 is ByBlock, 256 ByLayer, 1 to 255 the palette colours. The palette is one-to-one:
// every index from 1 to 255 has an RGB value of its own, so setColorIndex(i) followed by
// setRGB(red(), green(), blue()) gives colorIndex() == i again.
class AcCmColor {
 public:
  static constexpr std::uint16_t kByBlock = 0;
  static constexpr std::uint16_t kByLayer = 256;

  AcCmColor() = default;

  // An RGB colour; its index becomes the nearest palette index (squared distance over the
  // three channels, indexes 1 to 255, the lowest index on ties).
  void setRGB(std::uint8_t red, std::uint8_t green, std::uint8_t blue);
  // The colour index: the one set, or the nearest to the RGB value set.
  std::uint16_t colorIndex() const { return m_index; }

  // A colour by index 0 to 256; any other index is refused (false) and changes nothing.
  bool setColorIndex(std::uint16_t index);
  // The RGB channels: the value set by setRGB, or the palette's value of the index set.
  // ByBlock and ByLayer carry no colour of their own: their channels read 0.
  std::uint8_t red() const { return m_red; }
  std::uint8_t green() const { return m_green; }
  std::uint8_t blue() const { return m_blue; }

  bool isByBlock() const { return m_index == kByBlock; }
  bool isByLayer() const { return m_index == kByLayer; }

 private:
  std::uint16_t m_index = kByLayer;
  std::uint8_t m_red = 0;
  std::uint8_t m_green = 0;
  std::uint8_t m_blue = 0;
};
