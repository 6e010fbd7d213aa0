// The host's own drawing of a space: what each entity looks like, in drawing units, from the
// database and the MText layout, and that picture as SVG (stand-in only).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "gepnt3d.h"

class AcDbDatabase;

namespace qhost::render {

enum class Space { kCurrent, kModel, kPaper };  // kCurrent: the one TILEMODE names

// A run of characters of one format on a line of text.
struct TextRun {
  std::string text;  // code page 1251; special characters as the MText layout keeps them (%%d, \U+XXXX)
  std::string font;  // the face or font file of the run, else of the text style
  bool bold = false, italic = false, underline = false, overline = false, strike = false;
  double height = 0.0;
  uint32_t rgb = 0xFFFFFF;  // 0xRRGGBB
  double x = 0.0;           // along the line from its start
  double width = 0.0;       // as the layout measured it
  std::string upper, lower;  // a stack's parts, when `separator` is not 0
  char separator = 0;
};

struct TextLine {
  AcGePoint3d start;  // the left end of the baseline
  std::vector<TextRun> runs;
};

// One stroke of an entity: a path of points (arcs and curves come as short chords), or text.
struct Shape {
  enum class Kind { kPath, kText };
  Kind kind = Kind::kPath;
  uint32_t rgb = 0xFFFFFF;
  std::vector<AcGePoint3d> points;  // kPath; one point is a dot
  bool closed = false;
  double rotation = 0.0;        // kText: radians, counter-clockwise
  std::vector<TextLine> lines;  // kText
};

struct Entity {
  std::string type;    // DXF type name: "MTEXT", "LWPOLYLINE", ...
  std::string handle;  // hexadecimal, "" for an entity without one
  std::vector<Shape> shapes;
};

struct Extent {
  double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
  void add(const AcGePoint3d& p);
  bool empty() const { return minX > maxX; }
};

struct Picture {
  std::vector<Entity> entities;         // in drawing order
  std::map<std::string, int> notDrawn;  // types the host does not draw, with their counts
  std::map<std::string, int> hidden;    // entities on layers turned off or frozen, by type
  Extent extent;
};

// The entities of a space as the host draws them: modelled ones from the database as they are
// now, the others from the loaded file; block references and dimensions from their blocks.
Picture Draw(AcDbDatabase& db, Space space = Space::kCurrent);

// The picture as an SVG document in UTF-8 on a dark ground (colour 7 is white, as on the host's
// screen). Each entity is a group with data-type and data-handle; each line of text a <text>
// element with a <tspan> per run. The root's data-origin-x and data-origin-y are the drawing
// point at the document's (0, 0); the document's y runs down.
std::string Svg(const Picture& picture);

// Writes the SVG of a space to the file `path` (a UTF-8 file name). Returns a line for the person
// who asked: how many entities were drawn and which types were not, or why nothing was written
// (`ok` false).
std::string WriteSvg(AcDbDatabase& db, Space space, const std::string& path, bool& ok);

// A text of the picture in UTF-8: the layout's codes of special characters resolved (%%d is a
// degree sign, \U+XXXX its character).
std::string ShownText(const std::string& cp1251);
// A name from the drawing (a type, a handle) in UTF-8, each byte a code page 1251 character.
std::string PlainText(const std::string& cp1251);
// A UTF-8 text as SVG character data or an attribute value: &, <, > and " escaped, controls
// replaced (XML has no character for them).
std::string Escaped(const std::string& utf8);

}  // namespace qhost::render
