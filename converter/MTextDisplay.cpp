// The text of MText contents as a reader sees it, each character with the bytes of the contents that write it.
#include <cctype>

#include "converter/KeptCodes.h"
#include "converter/MTextSearch.h"
#include "converter/MTextSearchDetail.h"

namespace mtextsearch {
namespace detail {

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

uint32_t Utf8At(std::string_view s, size_t i, size_t& length) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  const auto continuation = [&](size_t k) { return k < s.size() && (byte(k) & 0xC0) == 0x80; };
  unsigned char b = byte(i);
  length = 1;
  if (b < 0x80) return b;
  size_t n = b >= 0xC2 && b <= 0xDF ? 2 : b >= 0xE0 && b <= 0xEF ? 3 : b >= 0xF0 && b <= 0xF4 ? 4 : 0;
  if (n == 0) return kReplacementChar;
  uint32_t cp = b & (0x7F >> n);
  for (size_t k = 1; k < n; ++k) {
    if (!continuation(i + k)) return kReplacementChar;
    cp = (cp << 6) | (byte(i + k) & 0x3F);
  }
  // Overlong forms, surrogates and code points beyond Unicode are no characters.
  if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp < 0xE000))
    return kReplacementChar;
  length = n;
  return cp;
}

namespace {

long HexEscapeAt(std::string_view s, size_t i) {
  if (i + 7 > s.size() || s[i] != '\\' || (s[i + 1] != 'U' && s[i + 1] != 'u') || s[i + 2] != '+') return -1;
  long cp = 0;
  for (size_t k = i + 3; k < i + 7; ++k) {
    if (!std::isxdigit(static_cast<unsigned char>(s[k]))) return -1;
    char c = static_cast<char>(std::toupper(static_cast<unsigned char>(s[k])));
    cp = cp * 16 + (c <= '9' ? c - '0' : c - 'A' + 10);
  }
  return cp;
}

}  // namespace

long UnicodeEscapeAt(std::string_view s, size_t i, size_t& length) {
  long cp = HexEscapeAt(s, i);
  if (cp < 0) return -1;
  length = 7;
  if (cp < 0xD800 || cp >= 0xE000) return cp;
  long low = cp < 0xDC00 ? HexEscapeAt(s, i + 7) : -1;
  if (low < 0xDC00 || low >= 0xE000) return kReplacementChar;
  length = 14;
  return 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
}

}  // namespace detail

namespace {

using detail::AppendUtf8;
using detail::UnicodeEscapeAt;

// The displayed character of a byte of the contents: control characters but the tab and the line
// feed show as a space, as readers draw them.
uint32_t ByteChar(unsigned char b) {
  if (b < 0x20 && b != '\t' && b != '\n') return ' ';
  uint32_t cp = keptcodes::Cp1251CodePoint(b);
  return cp == 0 && b != 0 ? detail::kReplacementChar : cp;
}

class Builder {
 public:
  Builder(std::string_view s, DisplayedText& out) : m_s(s), m_out(out) {}

  void Add(uint32_t cp, size_t begin, size_t end) {
    m_out.chars.push_back({static_cast<uint32_t>(m_out.utf8.size()), static_cast<uint32_t>(begin),
                           static_cast<uint32_t>(end), m_stack, m_part});
    AppendUtf8(m_out.utf8, cp);
  }

  // A %%-code at `i`: %%d %%p %%c a symbol, %%nnn a byte's character; in single-line text also
  // %%u %%o %%k, which switch underline, overline and strike-through. The length read, or 0.
  size_t PercentCode(size_t i, bool singleLine) {
    if (i + 2 >= m_s.size() || m_s[i] != '%' || m_s[i + 1] != '%') return 0;
    char c = static_cast<char>(std::tolower(static_cast<unsigned char>(m_s[i + 2])));
    static constexpr struct {
      char code;
      uint32_t cp;
    } kSymbols[] = {{'d', 0x00B0}, {'p', 0x00B1}, {'c', 0x00D8}};
    for (const auto& symbol : kSymbols) {
      if (c == symbol.code) {
        Add(symbol.cp, i, i + 3);
        return 3;
      }
    }
    if (singleLine && (c == 'u' || c == 'o' || c == 'k')) return 3;
    if (i + 4 < m_s.size() && std::isdigit(static_cast<unsigned char>(m_s[i + 2])) &&
        std::isdigit(static_cast<unsigned char>(m_s[i + 3])) && std::isdigit(static_cast<unsigned char>(m_s[i + 4]))) {
      int value = (m_s[i + 2] - '0') * 100 + (m_s[i + 3] - '0') * 10 + (m_s[i + 4] - '0');
      if (value < 256) {
        Add(ByteChar(static_cast<unsigned char>(value)), i, i + 5);
        return 5;
      }
    }
    return 0;
  }

  // A \U+XXXX escape at `i` as its character; the length read, or 0.
  size_t Escape(size_t i) {
    size_t length = 0;
    long cp = UnicodeEscapeAt(m_s, i, length);
    if (cp < 0) return 0;
    Add(static_cast<uint32_t>(cp), i, i + length);
    return length;
  }

  void SingleLine() {
    for (size_t i = 0; i < m_s.size();) {
      size_t n = PercentCode(i, true);
      if (n == 0) n = Escape(i);
      if (n == 0) {
        Add(ByteChar(static_cast<unsigned char>(m_s[i])), i, i + 1);
        n = 1;
      }
      i += n;
    }
  }

  void MText(bool dimension) {
    for (size_t i = 0; i < m_s.size();) {
      char c = m_s[i];
      if (c == '{' || c == '}') {
        ++i;
      } else if (dimension && c == '<' && i + 1 < m_s.size() && m_s[i + 1] == '>') {
        i += 2;
      } else if (c == '\\') {
        i = Code(i);
      } else if (size_t n = PercentCode(i, false)) {
        i += n;
      } else {
        Add(ByteChar(static_cast<unsigned char>(c)), i, i + 1);
        ++i;
      }
    }
  }

 private:
  // A number at `i` ([+-]digits[.digits][e[+-]digits], with `factor` an "x" after it); its end.
  size_t NumberEnd(size_t i, bool factor) const {
    auto digits = [&](size_t k) {
      while (k < m_s.size() && std::isdigit(static_cast<unsigned char>(m_s[k]))) ++k;
      return k;
    };
    size_t k = i < m_s.size() && (m_s[i] == '+' || m_s[i] == '-') ? i + 1 : i;
    size_t end = digits(k);
    if (end == k) return i;
    if (end < m_s.size() && m_s[end] == '.') end = digits(end + 1);
    if (end < m_s.size() && (m_s[end] == 'e' || m_s[end] == 'E')) {
      size_t e = end + 1 < m_s.size() && (m_s[end + 1] == '+' || m_s[end + 1] == '-') ? end + 2 : end + 1;
      size_t exponent = digits(e);
      if (exponent > e) end = exponent;
    }
    if (factor && end < m_s.size() && m_s[end] == 'x') ++end;
    return end;
  }
  size_t OptionalSemicolon(size_t i) const { return i < m_s.size() && m_s[i] == ';' ? i + 1 : i; }
  size_t ToSemicolon(size_t i) const {
    size_t semi = m_s.find(';', i);
    return semi == std::string_view::npos ? m_s.size() : semi + 1;
  }

  // The backslash code at `i`; returns where it ends. The arguments are read as ezdxf's MText
  // parser reads them: a number and an optional ";" for \H \W \T \Q \C \c, one character and an
  // optional ";" for \A, everything up to ";" for \f \F \p.
  size_t Code(size_t i) {
    if (i + 1 >= m_s.size()) return i + 1;  // a backslash that ends the contents shows nothing
    char cmd = m_s[i + 1];
    size_t at = i + 2;
    switch (cmd) {
      case '\\':
      case '{':
      case '}': Add(static_cast<unsigned char>(cmd), i, at); return at;
      case 'P':
      case 'N': Add('\n', i, at); return at;
      case '~': Add(' ', i, at); return at;
      case 'X':
      case 'L':
      case 'l':
      case 'O':
      case 'o':
      case 'K':
      case 'k': return at;
      case 'A': return OptionalSemicolon(at < m_s.size() ? at + 1 : at);
      case 'H':
      case 'W':
      case 'T': return OptionalSemicolon(NumberEnd(at, true));
      case 'Q': return OptionalSemicolon(NumberEnd(at, false));
      case 'C':
      case 'c': {
        size_t end = at;
        while (end < m_s.size() && std::isdigit(static_cast<unsigned char>(m_s[end]))) ++end;
        return OptionalSemicolon(end);
      }
      case 'f':
      case 'F':
      case 'p': return ToSemicolon(at);
      case 'S': return Stack(i);
      default: break;
    }
    if (size_t n = Escape(i)) return i + n;
    // An unknown code shows as written, as ezdxf's parser shows it.
    Add('\\', i, i + 1);
    Add(ByteChar(static_cast<unsigned char>(cmd)), i + 1, at);
    return at;
  }

  // A stack "\Supper^lower;" (or / or #) at `i`: its upper part, divider and lower part. A
  // backslash takes the character after it as it is; "\;" does not end the stack.
  size_t Stack(size_t i) {
    size_t end = i + 2;
    while (end < m_s.size() && m_s[end] != ';') end += m_s[end] == '\\' && end + 1 < m_s.size() && m_s[end + 1] == ';' ? 2 : 1;
    size_t codeEnd = end < m_s.size() ? end + 1 : end;
    m_stack = static_cast<int32_t>(m_out.stacks.size());
    m_out.stacks.push_back({static_cast<uint32_t>(i), static_cast<uint32_t>(codeEnd),
                            static_cast<uint32_t>(m_out.chars.size()), 0});
    m_part = 1;
    for (size_t k = i + 2; k < end;) {
      if (size_t n = Escape(k)) {
        k += n;
        continue;
      }
      size_t begin = k;
      bool escaped = m_s[k] == '\\' && k + 1 < end;
      if (escaped) ++k;
      char c = m_s[k++];
      bool divider = !escaped && m_part == 1 && (c == '^' || c == '/' || c == '#');
      if (divider) m_part = 2;
      uint32_t cp = ByteChar(static_cast<unsigned char>(c));
      Add(cp < 0x20 ? ' ' : cp, begin, k);
      if (divider) m_part = 3;
    }
    m_out.stacks.back().endChar = static_cast<uint32_t>(m_out.chars.size());
    m_stack = -1;
    m_part = 0;
    return codeEnd;
  }

  std::string_view m_s;
  DisplayedText& m_out;
  int32_t m_stack = -1;
  uint8_t m_part = 0;
};

}  // namespace

DisplayedText Display(std::string_view contents, TextKind kind) {
  DisplayedText out;
  out.utf8.reserve(contents.size());
  out.chars.reserve(contents.size());
  Builder builder(contents, out);
  if (kind == TextKind::kSingleLine)
    builder.SingleLine();
  else
    builder.MText(kind == TextKind::kDimension);
  return out;
}

}  // namespace mtextsearch
