// Cutting MText into pieces as the host reads it, and the rules for the codes kept as code text.
#include "converter/KeptCodes.h"

#include <cstring>

namespace keptcodes {
namespace {

// The Unicode code points of the bytes 0x80 to 0xFF of code page 1251 (0x98 is unassigned).
constexpr unsigned short kUpperHalf[128] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0000, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, 0x0410,
    0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D,
    0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A,
    0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444,
    0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F};

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The end of a code with an argument, as the host reads it: at its ";" (included) or at the end
// of the contents; a number ("\A1", "\W0.8") also ends where the next code or a brace begins.
size_t ArgumentCodeEnd(std::string_view s, size_t i, bool numeric) {
  size_t semi = s.find(';', i + 2);
  size_t end = semi == std::string_view::npos ? s.size() : semi + 1;
  // A brace ends a number too: "\H15.5{" is a height and a group, not a height of "15.5{".
  size_t nextCode = s.find_first_of("\\{}", i + 2);
  if (numeric && nextCode != std::string_view::npos && nextCode < end) end = nextCode;
  return end;
}

// The end of a stack: at its ";" (included) or at the end of the contents. An escaped character
// in it ("\;", "\/") is part of it: "\S3\;/4;" is one stack.
size_t StackEnd(std::string_view s, size_t i) {
  for (size_t k = i + 2; k < s.size(); ++k) {
    if (s[k] == '\\' && k + 1 < s.size()) ++k;
    else if (s[k] == ';') return k + 1;
  }
  return s.size();
}

// Whether the value of a height or colour code is one MTextToRtf shows exactly: a plain decimal
// number (a height also as a factor, "0.5x") ended by its ";", by the next code (as RtfToMText
// writes "{\H2.5\C7;") or by a brace. Any other form is kept as written.
bool ReadableValue(std::string_view value, bool height, bool endedByCode) {
  if (!value.empty() && value.back() == ';') value.remove_suffix(1);
  else if (!endedByCode) return false;
  if (height && !value.empty() && (value.back() == 'x' || value.back() == 'X')) value.remove_suffix(1);
  int digits = 0, points = 0;
  for (char c : value) {
    if (c >= '0' && c <= '9') ++digits;
    else if (c == '.' && height && points == 0) ++points;
    else return false;
  }
  return digits > 0;
}

// The bytes that MTextToRtf's stand-in tokens are made of.
bool IsTokenByte(char c) { return c == '\x01' || c == '\x02'; }

// A control character but the tab: the control cannot hold it, and the passes' tokens are made of
// some of them, so in contents it is kept as code (shown as the escape of its code point).
bool IsControlByte(char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\t'; }

bool HoldsControlByte(std::string_view bytes) {
  for (char c : bytes)
    if (IsControlByte(c)) return true;
  return false;
}

}  // namespace

char Cp1251Byte(unsigned codePoint) {
  if (codePoint >= 0x20 && codePoint < 0x80) return static_cast<char>(codePoint);
  for (unsigned k = 0; k < 128; ++k) {
    if (kUpperHalf[k] != 0 && kUpperHalf[k] == codePoint) return static_cast<char>(0x80 + k);
  }
  return 0;
}

unsigned Cp1251CodePoint(unsigned char byte) { return byte < 0x80 ? byte : kUpperHalf[byte - 0x80]; }

std::vector<Piece> Scan(std::string_view s) {
  std::vector<Piece> pieces;
  auto add = [&](PieceKind kind, size_t begin, size_t end, char byte = 0) {
    if (kind == PieceKind::kText && !pieces.empty() && pieces.back().kind == PieceKind::kText) {
      pieces.back().end = end;
      return;
    }
    pieces.push_back(Piece{kind, begin, end, byte});
  };
  size_t i = 0;
  while (i < s.size()) {
    const char c = s[i];
    if (c == '{' || c == '}') {
      add(c == '{' ? PieceKind::kOpen : PieceKind::kClose, i, i + 1);
      ++i;
      continue;
    }
    if (IsControlByte(c)) {
      add(PieceKind::kInlineCode, i, i + 1);
      ++i;
      continue;
    }
    // A caret that ends the contents is a caret; behind it a brace would read as a caret code
    // ("^}"), so it is kept, like a backslash there, to come back at the very end.
    if (c == '^' && i + 1 == s.size()) {
      add(PieceKind::kLoneEnd, i, i + 1);
      ++i;
      continue;
    }
    if (c != '\\') {
      add(PieceKind::kText, i, i + 1);
      ++i;
      continue;
    }
    if (i + 1 >= s.size()) {
      add(PieceKind::kLoneEnd, i, i + 1);
      ++i;
      continue;
    }
    const char code = s[i + 1];
    size_t end = i + 2;
    PieceKind kind = PieceKind::kBareCode;
    char byte = 0;
    switch (code) {
      case '\\':
      case '{':
      case '}':
        kind = PieceKind::kEscape;
        break;
      case 'P':
      case 'L':
      case 'l':
        kind = PieceKind::kMTextToRtfCode;
        break;
      case 'f':
      case 'F': {
        end = ArgumentCodeEnd(s, i, false);
        // A font code naming the reserved face is code text of its own.
        std::string_view face = s.substr(i + 2, end - i - 2);
        face = face.substr(0, face.find_first_of("|;"));
        // A shape font code is not one the control can show: it comes back as written, and the
        // text behind it is shown in the default face, which writes no font code of its own.
        const bool shape = code == 'F';
        // Nor is one without its ";": it runs to the end of the text, and MTextToRtf's passes
        // would make a font name of all of it.
        const bool open = s[end - 1] != ';';
        // Nor one without a name ("\\f;"), which names no font.
        kind = face == kCodeFace || face.empty() || shape || open ? PieceKind::kBareCode : PieceKind::kMTextToRtfCode;
        break;
      }
      case 'H':
      case 'C':
        end = ArgumentCodeEnd(s, i, true);
        kind = ReadableValue(s.substr(i + 2, end - i - 2), code == 'H', end < s.size() && std::strchr("\\{}", s[end]))
                   ? PieceKind::kMTextToRtfCode
                   : PieceKind::kBareCode;
        break;
      case 'S':
        kind = PieceKind::kInlineCode;
        end = StackEnd(s, i);
        break;
      case 'p':
        end = ArgumentCodeEnd(s, i, false);
        break;
      case 'A':
      case 'W':
      case 'T':
      case 'Q':
      case 'c':
        end = ArgumentCodeEnd(s, i, true);
        break;
      case '~':
      case 'X':
        kind = PieceKind::kInlineCode;
        break;
      case 'U':
      case 'u': {
        unsigned value = 0;
        bool hex = i + 6 < s.size() && s[i + 2] == '+';
        for (size_t k = 3; hex && k < 7; ++k) {
          int d = HexDigit(s[i + k]);
          hex = d >= 0;
          value = value * 16 + static_cast<unsigned>(d);
        }
        if (!hex) break;
        end = i + 7;
        byte = Cp1251Byte(value);
        // A backslash or a brace would read as MText syntax once it stood there as a byte.
        kind = byte && !std::strchr("\\{}", byte) ? PieceKind::kCharacter : PieceKind::kInlineCode;
        break;
      }
      default:
        break;
    }
    // A code with a control byte in it is kept whole: the passes' tokens are made of such bytes.
    if (HoldsControlByte(s.substr(i, end - i))) kind = PieceKind::kBareCode;
    add(kind, i, end, byte);
    i = end;
  }
  return pieces;
}

bool HoldsKeptCode(std::string_view mtext) {
  for (const Piece& p : Scan(mtext)) {
    if (p.kind == PieceKind::kEscape && mtext[p.begin + 1] == '\\') return true;
    if (EndedByBrace(mtext, p)) return true;
    if (p.kind != PieceKind::kText && p.kind != PieceKind::kEscape && p.kind != PieceKind::kMTextToRtfCode &&
        p.kind != PieceKind::kOpen && p.kind != PieceKind::kClose) {
      return true;
    }
  }
  return false;
}

bool HoldsMarkedText(std::string_view rtf) {
  return rtf.find(kCodeFace) != std::string_view::npos || rtf.find("\\\\") != std::string_view::npos ||
         rtf.find('\x01') != std::string_view::npos;
}

bool EndedByBrace(std::string_view mtext, const Piece& p) {
  return p.kind == PieceKind::kMTextToRtfCode && (mtext[p.begin + 1] == 'H' || mtext[p.begin + 1] == 'C') &&
         mtext[p.end - 1] != ';' && p.end < mtext.size() && (mtext[p.end] == '{' || mtext[p.end] == '}');
}

bool NeedsTerminator(std::string_view piece) {
  if (piece.size() < 2 || piece[0] != '\\' || !std::strchr("SpfF", piece[1])) return false;
  // A stack's escaped ";" ("\S3\;") is no end of it.
  return piece[1] == 'S' ? StackEnd(piece, 0) == piece.size() && (piece.back() != ';' || piece[piece.size() - 2] == '\\')
                         : piece.back() != ';';
}

bool ReadsAsKeptCodes(std::string_view code, std::vector<Piece>& pieces) {
  pieces = Scan(code);
  if (pieces.empty()) return false;
  for (const Piece& p : pieces) {
    switch (p.kind) {
      case PieceKind::kOpen:
      case PieceKind::kClose:
      case PieceKind::kCharacter:
      case PieceKind::kLoneEnd:  // complete only at the end of the text, as NeedsTerminator's codes
        break;
      case PieceKind::kInlineCode:
      case PieceKind::kBareCode:
        if (IsTokenByte(code[p.begin])) return false;
        break;
      case PieceKind::kMTextToRtfCode:
        // A colour code is kept where it ends a true colour's reach, a font code where its run
        // holds kept codes only.
        if (code.compare(p.begin, 2, "\\C") != 0 && code.compare(p.begin, 2, "\\f") != 0) return false;
        break;
      default:
        return false;
    }
  }
  return true;
}

std::string Token(char open, size_t n, char close) {
  std::string token(1, open);
  for (;; n /= 16) {
    token += static_cast<char>('a' + n % 16);
    if (n < 16) break;
  }
  return token + close;
}

size_t TokenNumber(std::string_view letters) {
  if (letters.empty() || letters.size() > 8) return std::string_view::npos;
  size_t n = 0;
  for (size_t d = letters.size(); d-- > 0;) {
    if (letters[d] < 'a' || letters[d] > 'p') return std::string_view::npos;
    n = n * 16 + static_cast<size_t>(letters[d] - 'a');
  }
  return n;
}

std::string RtfEscaped(std::string_view code) {
  std::string out;
  out.reserve(code.size() + 8);
  for (char c : code) {
    if (IsControlByte(c)) {
      // The control cannot hold it: the code text shows its escape, which reads as the character.
      static const char digits[] = "0123456789ABCDEF";
      out += "\\\\U+00";
      out += digits[c >> 4];
      out += digits[c & 15];
      continue;
    }
    if (c == '\\' || c == '{' || c == '}') out += '\\';
    out += c;
  }
  return out;
}

}  // namespace keptcodes
