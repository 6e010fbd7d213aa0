// Code page 1251 as Unicode, read once from iconv.
#include "qplatform/Cp1251.h"

#include <iconv.h>

#include <cstdio>

namespace qhost::detail {

const Cp1251Table& Cp1251() {
  static const Cp1251Table table = [] {
    Cp1251Table t;
    iconv_t cd = iconv_open("UTF-32LE", "CP1251");
    for (int b = 0; b < 256; ++b) {
      char in = static_cast<char>(b);
      unsigned char out[4] = {0, 0, 0, 0};
      char* src = &in;
      size_t srcLeft = 1;
      char* dst = reinterpret_cast<char*>(out);
      size_t dstLeft = 4;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
      if (cd != reinterpret_cast<iconv_t>(-1) && iconv(cd, &src, &srcLeft, &dst, &dstLeft) != static_cast<size_t>(-1) &&
          dstLeft == 0) {
        t.toUnicode[b] = out[0] | (out[1] << 8) | (out[2] << 16) | (static_cast<uint32_t>(out[3]) << 24);
        t.fromUnicode[t.toUnicode[b]] = static_cast<unsigned char>(b);
      } else {
        t.toUnicode[b] = Cp1251Table::kNone;
      }
    }
    if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
    return t;
  }();
  return table;
}

void AppendUnicodeEscape(std::string& out, uint32_t cp) {
  char buf[32];
  if (cp > 0xFFFF && cp <= 0x10FFFF)
    std::snprintf(buf, sizeof buf, "\\U+%04X\\U+%04X", 0xD800 + ((cp - 0x10000) >> 10), 0xDC00 + ((cp - 0x10000) & 0x3FF));
  else
    std::snprintf(buf, sizeof buf, "\\U+%04X", cp);
  out += buf;
}

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace qhost::detail
