// The host's own reading of MText contents: a tokenizer with a format stack, and a simple layout
// for extents, picking and drawing (stand-in only; the judge of what a text looks like).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gepnt3d.h"

class AcDbMText;

namespace qhost::mtext {

enum class TokenKind {
  kText,           // characters; `text` holds them (code page 1251; "\U+XXXX" stays as written)
  kGroupOpen,      // {
  kGroupClose,     // }
  kFont,           // \f or \F; `arg` is "face|b1|i0|c204|p34" or a font file name
  kHeight,         // \H; `value`, `relative` for the "x" form
  kColor,          // \C; `value` is the colour index
  kTrueColor,      // \c; `value` is the RGB value
  kUnderline,      // \L on, \l off (`value` 1 or 0)
  kOverline,       // \O on, \o off
  kStrike,         // \K on, \k off
  kParagraph,      // \P, or a raw line feed
  kColumnBreak,    // \N
  kNonBreakingSpace,  // \~
  kAlign,          // \A; `value` 0 bottom, 1 centre, 2 top
  kWidthFactor,    // \W
  kTracking,       // \T
  kOblique,        // \Q
  kParagraphProps, // \p...; `arg` as written
  kStack,          // \S; `upper`, `lower`, `separator` ('/', '#' or '^')
  kUnicode,        // \U+XXXX; `value` is the code point, `text` the escape
  kSpecial,        // %%d, %%p, %%c, %%%; `text` as written
  kTab,            // a raw tab
  kUnknown,        // any other backslash code, kept as written in `text`
};

struct Token {
  TokenKind kind;
  std::string text;  // the characters of kText; the code as written for every other kind
  std::string arg;
  double value = 0.0;
  bool relative = false;
  std::string upper, lower;
  char separator = 0;
  size_t begin = 0, end = 0;  // byte offsets in the contents
};

// Every byte of the contents belongs to exactly one token, in order.
std::vector<Token> Tokenize(const std::string& contents);

// The format in force at a character: what the format stack holds there.
struct Format {
  std::string font;  // face or font file; empty for the text style's
  bool bold = false, italic = false;
  double height = 0.0;
  int color = 256;  // colour index; 256 by layer
  uint32_t rgb = 0;
  bool trueColor = false;
  bool underline = false, overline = false, strike = false;
  double widthFactor = 1.0, tracking = 1.0, oblique = 0.0;
  bool operator==(const Format& o) const;
  bool operator!=(const Format& o) const { return !(*this == o); }
};

struct Run {
  std::string text;
  Format format;
  double x = 0.0;  // from the line's left end
  double width = 0.0;
  // A stack (\S) is a run of its own: `text` is "upper/lower", the parts and the separator
  // ('/', '#' or '^') are here; `separator` is 0 for a run of characters.
  std::string upper, lower;
  char separator = 0;
};

struct Line {
  std::vector<Run> runs;
  double width = 0.0;
  double height = 0.0;  // the tallest character
  double y = 0.0;       // baseline, downwards from the top of the text
  double x = 0.0;       // left end, from the left of the box
  std::string text() const;
};

struct LayoutParams {
  double height = 2.5;     // text height
  double width = 0.0;      // reference width; 0 wraps nothing
  double rotation = 0.0;   // radians
  int attachment = 1;      // 1..9: top/middle/bottom by left/centre/right
  AcGePoint3d location;
  double lineSpacingFactor = 1.0;
};

struct Layout {
  std::vector<Line> lines;
  double width = 0.0;   // of the widest line
  double height = 0.0;  // from the top of the first line to the baseline of the last
  AcGePoint3d corners[4];  // the extent in the drawing: bottom left, bottom right, top right, top left
  std::string text() const;  // lines joined by "\n"
  // True when `point` lies within `aperture` of the extent.
  bool contains(const AcGePoint3d& point, double aperture) const;
};

Layout LayOut(const std::string& contents, const LayoutParams& params);
// The layout of a multiline text entity with its own height, width, rotation and attachment.
Layout LayOut(const AcDbMText& mtext);

}  // namespace qhost::mtext
