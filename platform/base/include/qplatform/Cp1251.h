// Code page 1251 as Unicode and back, for every conversion at the edges (the DXF codec, scripts, the renderer).
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace qhost::detail {

struct Cp1251Table {
  static constexpr uint32_t kNone = 0xFFFFFFFF;  // a byte that stands for no character (0x98)
  uint32_t toUnicode[256];
  std::map<uint32_t, unsigned char> fromUnicode;
};

const Cp1251Table& Cp1251();

// The MText escape "\U+XXXX" of a character; beyond the first plane, the escapes of its
// surrogate pair, since the escape holds four digits.
void AppendUnicodeEscape(std::string& out, uint32_t cp);

// The UTF-8 bytes of a character.
void AppendUtf8(std::string& out, uint32_t cp);

}  // namespace qhost::detail
