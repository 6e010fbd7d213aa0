// The host's MText reader: tokens, the format stack, and line layout for extents and drawing.
#include "qplatform/MText.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <cmath>
#include <cstdlib>

#include "dbmtext.h"

namespace qhost::mtext {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The argument of a code that ends at ";" (or at the end of the contents).
size_t ArgumentEnd(const std::string& s, size_t from) {
  size_t semi = s.find(';', from);
  return semi == std::string::npos ? s.size() : semi;
}

double Number(const std::string& arg, bool* relative) {
  std::string a = arg;
  if (relative) *relative = !a.empty() && (a.back() == 'x' || a.back() == 'X');
  if (relative && *relative) a.pop_back();
  return std::strtod(a.c_str(), nullptr);
}

// A stack's parts: the first separator that is not escaped splits upper from lower.
void SplitStack(Token& t, const std::string& arg) {
  std::string* part = &t.upper;
  for (size_t i = 0; i < arg.size(); ++i) {
    char c = arg[i];
    if (c == '\\' && i + 1 < arg.size()) {
      *part += arg[++i];
      continue;
    }
    if (part == &t.upper && (c == '/' || c == '#' || c == '^')) {
      t.separator = c;
      part = &t.lower;
      continue;
    }
    *part += c;
  }
  // "1^ 2": the blank after a caret only separates.
  if (t.separator == '^' && !t.lower.empty() && t.lower[0] == ' ') t.lower.erase(0, 1);
}

}  // namespace

std::vector<Token> Tokenize(const std::string& s) {
  std::vector<Token> tokens;
  auto add = [&](TokenKind kind, size_t begin, size_t end) -> Token& {
    tokens.push_back(Token{kind, s.substr(begin, end - begin), {}, 0.0, false, {}, {}, 0, begin, end});
    return tokens.back();
  };
  auto addText = [&](size_t begin, size_t end, const std::string& chars) {
    if (!tokens.empty() && tokens.back().kind == TokenKind::kText && tokens.back().end == begin) {
      tokens.back().text += chars;
      tokens.back().end = end;
    } else {
      Token& t = add(TokenKind::kText, begin, end);
      t.text = chars;
    }
  };
  size_t i = 0;
  while (i < s.size()) {
    char c = s[i];
    if (c == '{') {
      add(TokenKind::kGroupOpen, i, i + 1);
      ++i;
    } else if (c == '}') {
      add(TokenKind::kGroupClose, i, i + 1);
      ++i;
    } else if (c == '\n') {
      add(TokenKind::kParagraph, i, i + 1);
      ++i;
    } else if (c == '\t') {
      add(TokenKind::kTab, i, i + 1);
      ++i;
    } else if (c == '%' && i + 2 < s.size() && s[i + 1] == '%' &&
               std::strchr("dDpPcC%", s[i + 2]) != nullptr) {
      add(TokenKind::kSpecial, i, i + 3);
      i += 3;
    } else if (c != '\\' || i + 1 >= s.size()) {
      addText(i, i + 1, std::string(1, c));
      ++i;
    } else {
      char code = s[i + 1];
      size_t start = i;
      switch (code) {
        case '\\':
        case '{':
        case '}':
          addText(i, i + 2, std::string(1, code));
          i += 2;
          break;
        case 'P':
          add(TokenKind::kParagraph, i, i + 2);
          i += 2;
          break;
        case 'N':
          add(TokenKind::kColumnBreak, i, i + 2);
          i += 2;
          break;
        case '~':
          add(TokenKind::kNonBreakingSpace, i, i + 2);
          i += 2;
          break;
        case 'L':
        case 'l':
        case 'O':
        case 'o':
        case 'K':
        case 'k': {
          TokenKind kind = code == 'L' || code == 'l' ? TokenKind::kUnderline
                           : code == 'O' || code == 'o' ? TokenKind::kOverline
                                                        : TokenKind::kStrike;
          add(kind, i, i + 2).value = std::isupper(static_cast<unsigned char>(code)) ? 1 : 0;
          i += 2;
          break;
        }
        case 'U':
        case 'u': {
          int d[4] = {-1, -1, -1, -1};
          bool plus = i + 2 < s.size() && s[i + 2] == '+';
          for (int k = 0; k < 4 && plus && i + 3 + static_cast<size_t>(k) < s.size(); ++k)
            d[k] = HexDigit(s[i + 3 + static_cast<size_t>(k)]);
          if (plus && d[0] >= 0 && d[1] >= 0 && d[2] >= 0 && d[3] >= 0) {
            add(TokenKind::kUnicode, i, i + 7).value = (d[0] << 12) | (d[1] << 8) | (d[2] << 4) | d[3];
            i += 7;
          } else {
            add(TokenKind::kUnknown, i, i + 2);
            i += 2;
          }
          break;
        }
        case 'f':
        case 'F':
        case 'H':
        case 'C':
        case 'c':
        case 'A':
        case 'W':
        case 'T':
        case 'Q':
        case 'p':
        case 'S': {
          size_t argEnd = ArgumentEnd(s, i + 2);
          size_t end = argEnd < s.size() ? argEnd + 1 : argEnd;
          // A number that runs into the next code ("\H2.5\C7;") ends there, without a ";" of
          // its own; font names, stacks and paragraph properties take everything up to the ";".
          const bool numeric = code != 'f' && code != 'F' && code != 'p' && code != 'S';
          const size_t nextCode = s.find('\\', i + 2);
          if (numeric && nextCode < argEnd) argEnd = end = nextCode;
          std::string arg = s.substr(i + 2, argEnd - (i + 2));
          TokenKind kind = code == 'f' || code == 'F' ? TokenKind::kFont
                           : code == 'H' ? TokenKind::kHeight
                           : code == 'C' ? TokenKind::kColor
                           : code == 'c' ? TokenKind::kTrueColor
                           : code == 'A' ? TokenKind::kAlign
                           : code == 'W' ? TokenKind::kWidthFactor
                           : code == 'T' ? TokenKind::kTracking
                           : code == 'Q' ? TokenKind::kOblique
                           : code == 'p' ? TokenKind::kParagraphProps
                                         : TokenKind::kStack;
          Token& t = add(kind, start, end);
          t.arg = arg;
          if (kind == TokenKind::kStack)
            SplitStack(t, arg);
          else if (kind != TokenKind::kFont && kind != TokenKind::kParagraphProps)
            t.value = Number(arg, &t.relative);
          i = end;
          break;
        }
        default:
          add(TokenKind::kUnknown, i, i + 2);
          i += 2;
          break;
      }
    }
  }
  return tokens;
}

bool Format::operator==(const Format& o) const {
  return font == o.font && bold == o.bold && italic == o.italic && height == o.height && color == o.color &&
         rgb == o.rgb && trueColor == o.trueColor && underline == o.underline && overline == o.overline &&
         strike == o.strike && widthFactor == o.widthFactor && tracking == o.tracking && oblique == o.oblique;
}

std::string Line::text() const {
  std::string s;
  for (const Run& r : runs) s += r.text;
  return s;
}

std::string Layout::text() const {
  std::string s;
  for (size_t i = 0; i < lines.size(); ++i) s += (i ? "\n" : "") + lines[i].text();
  return s;
}

namespace {

// A character's advance as a share of the text height: a rough proportional font.
double Advance(const std::string& ch) {
  if (ch.size() > 1) return 0.7;  // an escaped character
  unsigned char c = static_cast<unsigned char>(ch[0]);
  if (c == ' ') return 0.5;
  if (std::strchr("il.,:;'!|`", c) != nullptr && c != 0) return 0.3;
  if (std::strchr("MWmw@", c) != nullptr && c != 0) return 0.9;
  if (c == 0xC6 || c == 0xD8 || c == 0xD9 || c == 0xDE || c == 0xD4 || c == 0xDB || c == 0xE6 || c == 0xF8 ||
      c == 0xF9 || c == 0xFE)
    return 0.9;  // Ж Ш Щ Ю Ф Ы and their small letters
  return 0.65;
}

struct Item {
  std::string text;
  Format format;
  double width = 0.0;
  bool space = false;
  bool breakAfter = false;  // a paragraph or column break follows
  std::string upper, lower;  // a stack's parts
  char separator = 0;        // a stack's separator; 0 for a character
};

void Apply(Format& f, const Token& t, double baseHeight) {
  switch (t.kind) {
    case TokenKind::kFont: {
      size_t bar = t.arg.find('|');
      f.font = t.arg.substr(0, bar);
      f.bold = t.arg.find("|b1") != std::string::npos;
      f.italic = t.arg.find("|i1") != std::string::npos;
      break;
    }
    case TokenKind::kHeight:
      // Heights out of any sensible range are ignored, as a code the host cannot use.
      if (t.value > 0 && t.value < 1e6) f.height = std::min(1e9, t.relative ? f.height * t.value : t.value);
      break;
    case TokenKind::kColor:
      if (t.value >= 0 && t.value <= 256) {
        f.color = static_cast<int>(t.value);
        f.trueColor = false;
      }
      break;
    case TokenKind::kTrueColor:
      if (t.value >= 0 && t.value <= 0xFFFFFF) {
        f.rgb = static_cast<uint32_t>(t.value);
        f.trueColor = true;
      }
      break;
    case TokenKind::kUnderline: f.underline = t.value != 0; break;
    case TokenKind::kOverline: f.overline = t.value != 0; break;
    case TokenKind::kStrike: f.strike = t.value != 0; break;
    case TokenKind::kWidthFactor: if (t.value > 0 && t.value < 1e3) f.widthFactor = t.value; break;
    case TokenKind::kTracking: if (t.value > 0 && t.value < 1e3) f.tracking = t.value; break;
    case TokenKind::kOblique: f.oblique = t.value; break;
    default: break;
  }
  (void)baseHeight;
}

}  // namespace

Layout LayOut(const std::string& contents, const LayoutParams& params) {
  // Characters with the format the stack gives them.
  std::vector<Item> items;
  Format base;
  base.height = params.height > 0 ? params.height : 2.5;
  std::vector<Format> stack{base};
  auto addChar = [&](const std::string& ch, bool space) {
    const Format& f = stack.back();
    items.push_back({ch, f, Advance(ch) * f.height * f.widthFactor * f.tracking, space, false, {}, {}, 0});
  };
  for (const Token& t : Tokenize(contents)) {
    switch (t.kind) {
      case TokenKind::kText:
        for (size_t k = 0; k < t.text.size(); ++k) addChar(t.text.substr(k, 1), t.text[k] == ' ');
        break;
      case TokenKind::kUnicode:
      case TokenKind::kSpecial:
        addChar(t.text, false);
        break;
      case TokenKind::kNonBreakingSpace:
        addChar(" ", false);
        break;
      case TokenKind::kTab:
        addChar(" ", true);
        items.back().width = 4 * stack.back().height;
        break;
      case TokenKind::kStack: {
        std::string shown = t.upper + "/" + t.lower;
        const Format& f = stack.back();
        size_t longer = std::max(t.upper.size(), t.lower.size());
        items.push_back({shown, f, 0.65 * 0.7 * f.height * f.widthFactor * static_cast<double>(longer), false, false,
                         t.upper, t.lower, t.separator});
        break;
      }
      case TokenKind::kParagraph:
      case TokenKind::kColumnBreak:
        items.push_back({"", stack.back(), 0.0, false, true, {}, {}, 0});
        break;
      case TokenKind::kGroupOpen:
        stack.push_back(stack.back());
        break;
      case TokenKind::kGroupClose:
        if (stack.size() > 1) stack.pop_back();
        break;
      default:
        Apply(stack.back(), t, base.height);
        break;
    }
  }

  // Lines: a break ends one; past the width, the line wraps after its last blank.
  Layout layout;
  std::vector<std::vector<Item>> lines(1);
  for (Item& item : items) {
    if (item.breakAfter) {
      lines.back().push_back(item);
      lines.emplace_back();
      continue;
    }
    auto& line = lines.back();
    double width = 0.0;
    for (const Item& it : line) width += it.width;
    if (params.width > 0 && !item.space && width + item.width > params.width && !line.empty()) {
      size_t lastSpace = line.size();
      for (size_t k = line.size(); k-- > 0;)
        if (line[k].space) {
          lastSpace = k;
          break;
        }
      if (lastSpace < line.size()) {
        std::vector<Item> rest(line.begin() + static_cast<long>(lastSpace) + 1, line.end());
        line.resize(lastSpace + 1);
        lines.push_back(std::move(rest));
      }
    }
    lines.back().push_back(item);
  }

  double y = 0.0;
  for (size_t n = 0; n < lines.size(); ++n) {
    Line line;
    line.height = 0.0;
    for (const Item& it : lines[n]) {
      if (it.breakAfter) {
        line.height = std::max(line.height, it.format.height);
        continue;
      }
      line.height = std::max(line.height, it.format.height);
      // A stack is a run of its own, so that a drawing can set its parts one above the other.
      if (line.runs.empty() || line.runs.back().format != it.format || it.separator || line.runs.back().separator)
        line.runs.push_back(Run{"", it.format, line.width, 0.0, it.upper, it.lower, it.separator});
      line.runs.back().text += it.text;
      line.runs.back().width += it.width;
      line.width += it.width;
    }
    // Blanks at the end of a wrapped line take no room.
    for (size_t k = lines[n].size(); k-- > 0 && lines[n][k].space;) line.width -= lines[n][k].width;
    if (line.height == 0.0) line.height = base.height;
    double pitch = std::max(line.height, base.height) * 5.0 / 3.0 * params.lineSpacingFactor;
    y = n == 0 ? line.height : y + pitch;
    line.y = y;
    layout.width = std::max(layout.width, line.width);
    layout.lines.push_back(std::move(line));
  }
  layout.height = y;

  // Where the box lies: the attachment point is the location; then the rotation.
  int column = (params.attachment - 1) % 3;  // 0 left, 1 centre, 2 right
  int row = (params.attachment - 1) / 3;     // 0 top, 1 middle, 2 bottom
  for (Line& line : layout.lines) line.x = (layout.width - line.width) * column / 2.0;
  double left = -layout.width * column / 2.0;
  double top = layout.height * row / 2.0;
  double c = std::cos(params.rotation), s = std::sin(params.rotation);
  const double local[4][2] = {{left, top - layout.height}, {left + layout.width, top - layout.height},
                              {left + layout.width, top}, {left, top}};
  for (int k = 0; k < 4; ++k) {
    layout.corners[k] = AcGePoint3d(params.location.x + local[k][0] * c - local[k][1] * s,
                                    params.location.y + local[k][0] * s + local[k][1] * c, params.location.z);
  }
  return layout;
}

bool Layout::contains(const AcGePoint3d& p, double aperture) const {
  // In the box's own axes: along the bottom edge and up the left edge.
  double ux = corners[1].x - corners[0].x, uy = corners[1].y - corners[0].y;
  double vx = corners[3].x - corners[0].x, vy = corners[3].y - corners[0].y;
  double lu = std::hypot(ux, uy), lv = std::hypot(vx, vy);
  double dx = p.x - corners[0].x, dy = p.y - corners[0].y;
  double a = lu > 0 ? (dx * ux + dy * uy) / lu : dx;
  double b = lv > 0 ? (dx * vx + dy * vy) / lv : dy;
  return a >= -aperture && a <= lu + aperture && b >= -aperture && b <= lv + aperture;
}

}  // namespace qhost::mtext

// The extent of a multiline text as the host lays it out.
qhost::mtext::Layout qhost::mtext::LayOut(const AcDbMText& m) {
  LayoutParams p;
  p.height = m.textHeight();
  p.width = m.width();
  p.rotation = m.rotation();
  p.attachment = m.attachment();
  p.location = m.location();
  p.lineSpacingFactor = m.lineSpacingFactor();
  return LayOut(m.contentsConst(), p);
}

double AcDbMText::actualHeight() const { return qhost::mtext::LayOut(*this).height; }
double AcDbMText::actualWidth() const { return qhost::mtext::LayOut(*this).width; }
