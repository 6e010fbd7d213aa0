// The host's MText reader: tokens, the format stack, and line layout for extents and drawing.
#include "qplatform/MText.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <cmath>
#include <cstdlib>
#include <deque>
#include <string_view>

#include "dbmtext.h"

namespace qhost::mtext {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Where the arguments of codes end: at the next ";" (or at the end of the contents). Codes are
// asked about from left to right, so the ";" found last is searched again only once passed:
// contents with many codes and no ";" behind them are read once, not once per code.
class ArgumentEnds {
 public:
  explicit ArgumentEnds(const std::string& s) : m_s(s) {}
  size_t From(size_t from) {
    if (!m_searched || (m_semicolon != std::string::npos && m_semicolon < from)) {
      m_semicolon = m_s.find(';', from);
      m_searched = true;
    }
    return m_semicolon == std::string::npos ? m_s.size() : m_semicolon;
  }

 private:
  const std::string& m_s;
  size_t m_semicolon = std::string::npos;
  bool m_searched = false;
};

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
  ArgumentEnds argumentEnds(s);
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
          size_t argEnd = argumentEnds.From(i + 2);
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
double Advance(std::string_view ch) {
  if (ch.empty()) return 0.65;
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
  std::string_view text;  // in a token's text, or one of the texts the layout holds itself
  size_t format = 0;  // in the layout's list of formats
  double width = 0.0;
  bool space = false;
  bool breakAfter = false;  // a paragraph or column break follows
  const Token* stack = nullptr;  // the stack (\S) this item shows; null for a character
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
  Format base;
  base.height = params.height > 0 ? params.height : 2.5;
  Layout layout;
  double y = 0.0;
  // Formats are listed once each time the stack's top changes, so that a character costs no
  // copy of its format.
  std::vector<Format> formats;
  std::vector<Format> stack{base};
  bool listed = false;  // whether formats.back() is the stack's top

  // Lines: a break ends one; past the width, the line wraps after its last blank. Only the line
  // being filled is held; its width and its last blank are kept as items arrive, and a line is
  // laid out as soon as it is complete, so that a long paragraph lays out in linear time and
  // little memory (the width is summed in item order from the line's start, as it always was).
  std::vector<Item> line;
  double width = 0.0;
  size_t afterSpace = 0;  // one past the line's last blank; 0 when it has none
  // Lays out the first `count` items of the line being filled as the next line of the text.
  auto lineDone = [&](size_t count) {
    Line done;
    done.height = 0.0;
    size_t runFormat = 0;
    for (size_t i = 0; i < count; ++i) {
      const Item& it = line[i];
      const Format& format = formats[it.format];
      done.height = std::max(done.height, format.height);
      if (it.breakAfter) continue;
      // A stack is a run of its own, so that a drawing can set its parts one above the other.
      if (done.runs.empty() || (runFormat != it.format && formats[runFormat] != format) || it.stack ||
          done.runs.back().separator) {
        done.runs.push_back(Run{"", format, done.width, 0.0, {}, {}, 0});
        if (it.stack) {
          done.runs.back().upper = it.stack->upper;
          done.runs.back().lower = it.stack->lower;
          done.runs.back().separator = it.stack->separator;
        }
      }
      runFormat = it.format;
      done.runs.back().text += it.text;
      done.runs.back().width += it.width;
      done.width += it.width;
    }
    // Blanks at the end of a wrapped line take no room.
    for (size_t k = count; k-- > 0 && line[k].space;) done.width -= line[k].width;
    if (done.height == 0.0) done.height = base.height;
    double pitch = std::max(done.height, base.height) * 5.0 / 3.0 * params.lineSpacingFactor;
    y = layout.lines.empty() ? done.height : y + pitch;
    done.y = y;
    layout.width = std::max(layout.width, done.width);
    layout.lines.push_back(std::move(done));
    line.erase(line.begin(), line.begin() + static_cast<long>(count));
  };
  auto add = [&](std::string_view text, bool space, double itemWidth, bool breakAfter,
                 const Token* stackToken = nullptr) {
    if (!listed) formats.push_back(stack.back());
    listed = true;
    Item item{text, formats.size() - 1, itemWidth, space, breakAfter, stackToken};
    if (breakAfter) {
      line.push_back(item);
      lineDone(line.size());
      width = 0.0;
      afterSpace = 0;
      return;
    }
    if (params.width > 0 && !space && width + itemWidth > params.width && afterSpace > 0) {
      lineDone(afterSpace);  // the rest holds no blank
      width = 0.0;
      for (const Item& it : line) width += it.width;
      afterSpace = 0;
    }
    width += itemWidth;
    line.push_back(item);
    if (space) afterSpace = line.size();
  };
  auto addChar = [&](std::string_view ch, bool space) {
    const Format& f = stack.back();
    add(ch, space, Advance(ch) * f.height * f.widthFactor * f.tracking, false);
  };

  const std::vector<Token> tokens = Tokenize(contents);
  std::deque<std::string> stacks;  // the shown texts of stacks, which no token holds
  for (const Token& t : tokens) {
    const std::string_view text(t.text);
    switch (t.kind) {
      case TokenKind::kText:
        for (size_t k = 0; k < text.size(); ++k) addChar(text.substr(k, 1), text[k] == ' ');
        break;
      case TokenKind::kUnicode:
      case TokenKind::kSpecial:
        addChar(text, false);
        break;
      case TokenKind::kNonBreakingSpace:
        addChar(" ", false);
        break;
      case TokenKind::kTab:
        add(" ", true, 4 * stack.back().height, false);
        break;
      case TokenKind::kStack: {
        const Format& f = stack.back();
        size_t longer = std::max(t.upper.size(), t.lower.size());
        add(stacks.emplace_back(t.upper + "/" + t.lower), false,
            0.65 * 0.7 * f.height * f.widthFactor * static_cast<double>(longer), false, &t);
        break;
      }
      case TokenKind::kParagraph:
      case TokenKind::kColumnBreak:
        add("", false, 0.0, true);
        break;
      case TokenKind::kGroupOpen:
        stack.push_back(stack.back());
        break;
      case TokenKind::kGroupClose:
        if (stack.size() > 1) stack.pop_back();
        listed = false;
        break;
      default:
        Apply(stack.back(), t, base.height);
        listed = false;
        break;
    }
  }
  lineDone(line.size());  // the last line, empty after a break
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
