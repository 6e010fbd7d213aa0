// DXF text encodings: code pages and UTF-8 to and from code page 1251, and the caret escapes.
#include <array>
#include <cctype>
#include <cmath>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "qplatform/Cp1251.h"
#include "arx/src/DxfImage.h"

namespace qhost::dxf {
namespace {

const iconv_t kNoIconv = reinterpret_cast<iconv_t>(-1);

using detail::Cp1251;
using detail::Cp1251Table;
using detail::AppendUnicodeEscape;
using detail::AppendUtf8;

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The code point of the escape "\U+XXXX" at `i`, or -1.
long EscapeAt(const std::string& s, size_t i) {
  if (i + 6 >= s.size() || s[i] != '\\' || (s[i + 1] != 'U' && s[i + 1] != 'u') || s[i + 2] != '+') return -1;
  long cp = 0;
  for (size_t k = i + 3; k < i + 7; ++k) {
    int d = HexDigit(s[k]);
    if (d < 0) return -1;
    cp = cp * 16 + d;
  }
  return cp;
}

// The control character of the escape "\U+00XX" at `i` (NUL's memory form among them), or -1.
long ControlEscapeAt(const std::string& s, size_t i) {
  long cp = i + 1 < s.size() && s[i + 1] == 'U' ? EscapeAt(s, i) : -1;
  return cp < 0x20 ? cp : -1;
}

// Code page 1251 bytes by character; every character it has lies below U+2200. -1: none.
const std::array<int16_t, 0x2200>& Cp1251Bytes() {
  static const std::array<int16_t, 0x2200> bytes = [] {
    std::array<int16_t, 0x2200> b;
    b.fill(-1);
    for (const auto& [cp, byte] : Cp1251().fromUnicode)
      if (cp < b.size()) b[cp] = byte;
    return b;
  }();
  return bytes;
}

// The memory form of one character.
void AppendMemory(std::string& out, uint32_t cp) {
  const auto& bytes = Cp1251Bytes();
  if (cp < bytes.size() && bytes[cp] >= 0)
    out += static_cast<char>(bytes[cp]);
  else
    AppendUnicodeEscape(out, cp);
}

// UTF-8 to memory without iconv, for text made of well-formed characters of the first plane
// (U+FFFE and U+FFFF aside): what nearly every text of a UTF-8 drawing is. False, with `out`
// unspecified, at the first byte sequence that is anything else.
bool DecodeUtf8(const std::string& in, std::string& out) {
  out.clear();
  out.reserve(in.size());
  const auto* p = reinterpret_cast<const unsigned char*>(in.data());
  const unsigned char* end = p + in.size();
  auto continuation = [](unsigned char c) { return (c & 0xC0) == 0x80; };
  while (p < end) {
    const unsigned char* ascii = p;
    while (p < end && *p < 0x80) ++p;
    out.append(reinterpret_cast<const char*>(ascii), static_cast<size_t>(p - ascii));
    if (p == end) break;
    uint32_t cp;
    if (*p >= 0xC2 && *p <= 0xDF && end - p >= 2 && continuation(p[1])) {
      cp = ((p[0] & 0x1Fu) << 6) | (p[1] & 0x3Fu);
      p += 2;
    } else if (*p >= 0xE0 && *p <= 0xEF && end - p >= 3 && continuation(p[1]) && continuation(p[2]) &&
               !(*p == 0xE0 && p[1] < 0xA0) && !(*p == 0xED && p[1] >= 0xA0)) {
      cp = ((p[0] & 0x0Fu) << 12) | ((p[1] & 0x3Fu) << 6) | (p[2] & 0x3Fu);
      if (cp >= 0xFFFE) return false;
      p += 3;
    } else {
      return false;
    }
    AppendMemory(out, cp);
  }
  return true;
}

// The code page that a $DWGCODEPAGE value names, or "" when it names none.
std::string IconvName(const std::string& codePage) {
  std::string cp;
  for (char c : codePage) cp += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (cp.rfind("ANSI_", 0) == 0 && cp.size() > 5) return "CP" + cp.substr(5);
  if (cp.rfind("DOS", 0) == 0 && cp.size() > 3 && std::isdigit(static_cast<unsigned char>(cp[3])))
    return "CP" + cp.substr(3);
  if (cp.rfind("ISO8859-", 0) == 0) return "ISO-8859-" + cp.substr(8);
  if (cp == "BIG5") return "BIG5";
  if (cp == "GB2312") return "GB2312";
  if (cp == "JOHAB") return "JOHAB";
  if (cp == "KSC5601") return "EUC-KR";
  return "";
}

}  // namespace

Codec Codec::ForDrawing(const std::string& version, const std::string& codePage) {
  Codec codec;
  std::string name = version >= "AC1021" ? "UTF-8" : IconvName(codePage);
  if (name.empty()) name = "CP1252";
  codec.m_name = name;
  codec.m_identity = name == "CP1251";
  codec.m_utf8 = name == "UTF-8";
  if (name == "CP932")
    codec.m_leadBytes = LeadBytes::kShiftJis;
  else if (name == "CP936" || name == "CP949" || name == "CP950" || name == "BIG5" || name == "GB2312" ||
           name == "EUC-KR" || name == "JOHAB")
    codec.m_leadBytes = LeadBytes::kOther;
  if (!codec.m_identity) {
    codec.m_toUtf32 = iconv_open("UTF-32LE", name.c_str());
    codec.m_fromUtf32 = iconv_open(name.c_str(), "UTF-32LE");
    if (codec.m_toUtf32 == kNoIconv || codec.m_fromUtf32 == kNoIconv) {
      // A code page this system cannot convert is read as the default one.
      Codec fallback = ForDrawing("AC1015", "ANSI_1252");
      return fallback;
    }
  }
  return codec;
}

Codec::Codec(Codec&& other) noexcept { *this = std::move(other); }

Codec& Codec::operator=(Codec&& other) noexcept {
  if (this != &other) {
    if (m_toUtf32 != kNoIconv) iconv_close(m_toUtf32);
    if (m_fromUtf32 != kNoIconv) iconv_close(m_fromUtf32);
    m_name = std::move(other.m_name);
    m_identity = other.m_identity;
    m_utf8 = other.m_utf8;
    m_leadBytes = other.m_leadBytes;
    m_toUtf32 = other.m_toUtf32;
    m_fromUtf32 = other.m_fromUtf32;
    other.m_toUtf32 = other.m_fromUtf32 = kNoIconv;
    other.m_identity = true;
    other.m_utf8 = false;
    other.m_leadBytes = LeadBytes::kNone;
  }
  return *this;
}

Codec::~Codec() {
  if (m_toUtf32 != kNoIconv) iconv_close(m_toUtf32);
  if (m_fromUtf32 != kNoIconv) iconv_close(m_fromUtf32);
  m_toUtf32 = m_fromUtf32 = kNoIconv;
}

bool Codec::isLeadByte(unsigned char b) const {
  switch (m_leadBytes) {
    case LeadBytes::kShiftJis: return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    case LeadBytes::kOther: return b >= 0x81 && b <= 0xFE;
    case LeadBytes::kNone: break;
  }
  return false;
}

bool Codec::Decode(const std::string& in, std::string& out) const {
  out.clear();
  if (m_identity) {
    out = in;
    return true;
  }
  if (isUtf8() && DecodeUtf8(in, out)) return true;
  out.clear();
  bool fits = true;
  iconv(m_toUtf32, nullptr, nullptr, nullptr, nullptr);
  char* src = const_cast<char*>(in.data());
  size_t srcLeft = in.size();
  unsigned char buf[256];
  while (srcLeft > 0) {
    char* dst = reinterpret_cast<char*>(buf);
    size_t dstLeft = sizeof buf;
    size_t rc = iconv(m_toUtf32, &src, &srcLeft, &dst, &dstLeft);
    for (unsigned char* p = buf; p < reinterpret_cast<unsigned char*>(dst); p += 4)
      AppendMemory(out, p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24));
    if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
      // A byte that does not fit: in a UTF-8 file it is most likely code page 1251 already.
      fits = false;
      unsigned char b = static_cast<unsigned char>(*src);
      if (isUtf8())
        out += static_cast<char>(b);
      else
        AppendUnicodeEscape(out, b);
      ++src;
      --srcLeft;
      iconv(m_toUtf32, nullptr, nullptr, nullptr, nullptr);
    }
  }
  return fits;
}

bool Codec::EncodeCodePoint(uint32_t cp, std::string& out) const {
  if (isUtf8()) {
    // What iconv writes, without a call per character.
    if ((cp >= 0xD800 && cp < 0xE000) || cp > 0x10FFFF) return false;
    AppendUtf8(out, cp);
    return true;
  }
  unsigned char in[4] = {static_cast<unsigned char>(cp), static_cast<unsigned char>(cp >> 8),
                         static_cast<unsigned char>(cp >> 16), static_cast<unsigned char>(cp >> 24)};
  char buf[16];
  char* src = reinterpret_cast<char*>(in);
  size_t srcLeft = 4;
  char* dst = buf;
  size_t dstLeft = sizeof buf;
  iconv(m_fromUtf32, nullptr, nullptr, nullptr, nullptr);
  if (iconv(m_fromUtf32, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1)) return false;
  out.append(buf, static_cast<size_t>(dst - buf));
  return true;
}

std::string Codec::Encode(const std::string& memory) const {
  if (m_identity) return memory;
  std::string out;
  out.reserve(memory.size());
  const auto& table = Cp1251();
  for (size_t i = 0; i < memory.size(); ++i) {
    unsigned char b = static_cast<unsigned char>(memory[i]);
    if (b == '\\' && i + 1 < memory.size() && memory[i + 1] == '\\') {
      out += "\\\\";
      ++i;
      continue;
    }
    long escaped = EscapeAt(memory, i);
    if (escaped >= 0) {
      uint32_t cp = static_cast<uint32_t>(escaped);
      size_t length = 7;
      long low = EscapeAt(memory, i + 7);
      if (cp >= 0xD800 && cp < 0xDC00 && low >= 0xDC00 && low < 0xE000) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (static_cast<uint32_t>(low) - 0xDC00);
        length = 14;
      }
      // Only a character that code page 1251 lacks was escaped on load; it goes back as itself.
      if (table.fromUnicode.count(cp) == 0 && cp != 0 && (cp < 0xD800 || cp >= 0xE000) && EncodeCodePoint(cp, out)) {
        i += length - 1;
        continue;
      }
      out.append(memory, i, 7);
      i += 6;
      continue;
    }
    uint32_t cp = table.toUnicode[b];
    if (cp == Cp1251Table::kNone) {
      out += static_cast<char>(b);
    } else if (!EncodeCodePoint(cp, out)) {
      AppendUnicodeEscape(out, cp);
    }
  }
  return out;
}

std::string DecodeCarets(const std::string& raw) {
  if (raw.find('^') == std::string::npos) return raw;
  const auto& table = Cp1251();
  std::string out;
  out.reserve(raw.size());
  for (size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '^' && i + 1 < raw.size() && raw[i + 1] != '\n') {
      // The character 64 below the one after the caret, counted modulo 126: "^@".."^_" are the
      // control characters, "^ " the caret itself, and "^a" is "!" (as drawings are read).
      unsigned char b = static_cast<unsigned char>(raw[i + 1]);
      long cp = b < 0x80 || table.toUnicode[b] == Cp1251Table::kNone ? b : static_cast<long>(table.toUnicode[b]);
      out += static_cast<char>(((cp - 64) % 126 + 126) % 126);
      ++i;
      continue;
    }
    out += raw[i];
  }
  return out;
}

std::string NulsEscaped(std::string text) {
  for (size_t at = text.find('\0'); at != std::string::npos; at = text.find('\0', at + 7))
    text.replace(at, 1, kNulEscape);
  return text;
}

bool DecodeText(const Codec& codec, const std::string& raw, std::string& memory) {
  std::string converted;
  bool fits = codec.Decode(raw, converted);
  memory = NulsEscaped(DecodeCarets(converted));
  return fits;
}

std::string EncodeCarets(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned char b = static_cast<unsigned char>(text[i]);
    if (b == '\\' && i + 1 < text.size() && text[i + 1] == '\\') {
      out += "\\\\";
      ++i;
    } else if (ControlEscapeAt(text, i) >= 0) {
      out += '^';
      out += static_cast<char>(ControlEscapeAt(text, i) + '@');
      i += 6;
    } else if (b == '^') {
      out += "^ ";
    } else if (b < 0x20) {
      out += '^';
      out += static_cast<char>(b + '@');
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string FormatReal(double v) {
  char buf[40];
  for (int prec = 15; prec <= 17; ++prec) {
    std::snprintf(buf, sizeof buf, "%.*g", prec, v);
    if (std::strtod(buf, nullptr) == v) break;
  }
  std::string s = buf;
  if (s.find_first_of(".eEn") == std::string::npos) s += ".0";
  return s;
}

bool ParseReal(const std::string& text, double& value) {
  size_t i = text.find_first_not_of(" \t");
  if (i == std::string::npos) return false;
  const size_t start = i;
  if (text[i] == '+' || text[i] == '-') ++i;
  size_t digits = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) ++digits;
  if (i < text.size() && text[i] == '.')
    for (++i; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) ++digits;
  if (digits == 0) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    size_t exponent = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) ++exponent;
    if (exponent == 0) return false;
  }
  const size_t end = i;
  if (text.find_first_not_of(" \t", end) != std::string::npos) return false;
  value = std::strtod(text.substr(start, end - start).c_str(), nullptr);
  return std::isfinite(value);
}

std::string Shown(const std::string& bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    if (c >= 0x20 && c < 0x7f && c != '"' && c != '\\') {
      out += static_cast<char>(c);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02x", c);
      out += hex;
    }
  }
  return out;
}

std::string Image::codeLine(int code) const {
  char buf[16];
  std::snprintf(buf, sizeof buf, leftAlignedCodes ? "%d" : "%3d", code);
  return buf + eol;
}

}  // namespace qhost::dxf
