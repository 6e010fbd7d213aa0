// Code page 1251 as Unicode and back, for every conversion at the edges (private).
#pragma once

#include <cstdint>
#include <map>

namespace qhost::detail {

struct Cp1251Table {
  static constexpr uint32_t kNone = 0xFFFFFFFF;  // a byte that stands for no character (0x98)
  uint32_t toUnicode[256];
  std::map<uint32_t, unsigned char> fromUnicode;
};

const Cp1251Table& Cp1251();

}  // namespace qhost::detail
