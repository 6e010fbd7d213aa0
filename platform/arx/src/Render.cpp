// The host's drawing of a space: entities as paths and laid-out text, from the database for what it
// models and from the loaded file's groups for the rest (block references, dimension blocks,
// polylines, arcs, ...), and the SVG writer.
#include "qplatform/Render.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <set>

#include "arx/src/AciPalette.h"
#include "qplatform/Cp1251.h"
#include "arx/src/DbInternals.h"
#include "arx/src/DxfEntities.h"
#include "arx/src/DxfImage.h"
#include "dbdim.h"
#include "dbents.h"
#include "dbmtext.h"
#include "qplatform/MText.h"
#include "qplatform/Script.h"

namespace qhost::render {

void Extent::add(const AcGePoint3d& p) {
  if (!std::isfinite(p.x) || !std::isfinite(p.y)) return;
  minX = std::min(minX, p.x);
  minY = std::min(minY, p.y);
  maxX = std::max(maxX, p.x);
  maxY = std::max(maxY, p.y);
}

namespace {

constexpr int kByBlock = 0;
constexpr int kByLayer = 256;
constexpr int kMaxBlockDepth = 8;
constexpr int kMaxSplineDegree = 11;
// Points a picture holds at most, and entities of blocks it draws at most: nested arrays of block
// references multiply, and a drawing (or a hostile file) can ask for more than any screen shows.
// Past either, references are not expanded.
constexpr size_t kMaxPoints = 200000;
constexpr size_t kMaxBlockEntities = 100000;
constexpr double kPi = 3.14159265358979323846;

using dxf::Upper;

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t"), e = s.find_last_not_of(" \t");
  return b == std::string::npos ? std::string() : s.substr(b, e + 1 - b);
}

uint32_t PaletteRgb(int index) {
  if (index < 1 || index > 255) index = 7;
  const unsigned char* c = arxdetail::kAciPalette[index];
  return (static_cast<uint32_t>(c[0]) << 16) | (static_cast<uint32_t>(c[1]) << 8) | c[2];
}

// Where a block's contents land: x' = a x + b y + e, y' = c x + d y + f.
struct Transform {
  double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
  AcGePoint3d apply(const AcGePoint3d& p) const { return AcGePoint3d(a * p.x + b * p.y + e, c * p.x + d * p.y + f, 0); }
  Transform then(const Transform& outer) const {
    Transform t;
    t.a = outer.a * a + outer.b * c;
    t.b = outer.a * b + outer.b * d;
    t.c = outer.c * a + outer.d * c;
    t.d = outer.c * b + outer.d * d;
    t.e = outer.a * e + outer.b * f + outer.e;
    t.f = outer.c * e + outer.d * f + outer.f;
    return t;
  }
  double scale() const { return std::sqrt(std::fabs(a * d - b * c)); }
  double angle() const { return std::atan2(c, a); }
};

// What an entity inside a block takes from the reference that places it.
struct Context {
  Transform transform;
  uint32_t blockRgb = 0xFFFFFF;  // ByBlock
  std::string blockLayer;        // layer "0" inside a block is the reference's layer
  int depth = 0;
};

// One entity's groups in the loaded file: [first, end), and for POLYLINE and INSERT with
// attributes, the VERTEX and ATTRIB records up to their SEQEND.
struct Record {
  size_t first = 0, end = 0;
  std::vector<std::pair<size_t, size_t>> followers;
  std::string type;
};

struct Block {
  AcGePoint3d base;
  std::vector<Record> records;
};

struct Layer {
  int color = 7;  // negative when the layer is off
  bool frozen = false;
};

// What the loaded file holds beyond the database: layers, blocks and every entity record.
struct FileTables {
  std::map<std::string, Layer> layers;  // by upper-case name
  std::map<std::string, Block> blocks;  // by upper-case name
  std::vector<Record> entities;
};

// The loaded file's groups in order, read once for a picture: records are walked by group index.
struct FileGroups {
  const dxf::Image& image;
  const dxf::Codec& codec;
  std::vector<dxf::Group> groups;
  explicit FileGroups(const dxf::Image& img) : image(img), codec(img.codec) {
    size_t pos = img.bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    uint32_t line = 1;
    while (pos < img.groupsEndOffset) {
      dxf::Group g = img.GroupAt(pos, line);
      if (g.end <= pos) break;
      groups.push_back(g);
      pos = g.end;
      line += 2;
    }
  }
  std::string value(size_t i) const { return image.value(groups[i]); }
  std::string word(size_t i) const { return image.word(groups[i]); }
  // The index of the group that starts at byte `offset`, or of the first one after it.
  size_t IndexAt(size_t offset) const {
    auto it = std::lower_bound(groups.begin(), groups.end(), offset,
                               [](const dxf::Group& g, size_t at) { return g.codeBegin < at; });
    return static_cast<size_t>(it - groups.begin());
  }
};

// The records of [from, to): a group 0 starts each; VERTEX, ATTRIB and SEQEND join the record before.
std::vector<Record> Records(const FileGroups& img, size_t from, size_t to) {
  std::vector<Record> out;
  while (from < to && img.groups[from].code != 0) ++from;
  for (size_t i = from; i < to;) {
    size_t j = i + 1;
    while (j < to && img.groups[j].code != 0) ++j;
    std::string type = img.word(i);
    if ((type == "VERTEX" || type == "ATTRIB" || type == "SEQEND") && !out.empty() &&
        (out.back().type == "POLYLINE" || out.back().type == "INSERT")) {
      if (type != "SEQEND") out.back().followers.emplace_back(i, j);
    } else {
      out.push_back(Record{i, j, {}, type});
    }
    i = j;
  }
  return out;
}

FileTables ReadTables(const FileGroups& img) {
  FileTables t;
  std::string section, table;
  const size_t n = img.groups.size();
  for (size_t i = 0; i < n; ++i) {
    if (img.groups[i].code != 0) continue;
    std::string word = img.word(i);
    if (word == "SECTION" && i + 1 < n && img.groups[i + 1].code == 2) {
      section = img.word(i + 1);
      size_t end = i + 2;
      while (end < n && !(img.groups[end].code == 0 && img.word(end) == "ENDSEC")) ++end;
      if (section == "ENTITIES") t.entities = Records(img, i + 2, end);
      if (section != "TABLES" && section != "BLOCKS") i = end;
    } else if (section == "TABLES" && word == "LAYER") {
      Layer layer;
      std::string name;
      for (size_t k = i + 1; k < n && img.groups[k].code != 0; ++k) {
        int code = img.groups[k].code;
        if (code == 2) name = img.word(k);
        if (code == 62) layer.color = std::atoi(img.value(k).c_str());
        if (code == 70) layer.frozen = (std::atoi(img.value(k).c_str()) & 1) != 0;
      }
      t.layers[name] = layer;
    } else if (section == "BLOCKS" && word == "BLOCK") {
      Block block;
      std::string name;
      size_t k = i + 1;
      for (; k < n && img.groups[k].code != 0; ++k) {
        int code = img.groups[k].code;
        if (code == 2) name = img.word(k);
        if (code == 10) block.base.x = std::strtod(img.value(k).c_str(), nullptr);
        if (code == 20) block.base.y = std::strtod(img.value(k).c_str(), nullptr);
      }
      size_t end = k;
      while (end < n && !(img.groups[end].code == 0 && img.word(end) == "ENDBLK")) ++end;
      block.records = Records(img, k, end);
      t.blocks[name] = std::move(block);
      i = end;
    }
  }
  return t;
}

// Reading one record's groups.
struct Groups {
  const FileGroups& img;
  size_t first, end;
  bool find(int code, size_t& at) const {
    for (size_t i = first + 1; i < end; ++i) {
      if (img.groups[i].code == code) {
        at = i;
        return true;
      }
    }
    return false;
  }
  bool has(int code) const {
    size_t at;
    return find(code, at);
  }
  double real(int code, double fallback = 0.0) const {
    size_t at;
    if (!find(code, at)) return fallback;
    double v = std::strtod(img.value(at).c_str(), nullptr);
    return std::isfinite(v) ? v : fallback;
  }
  long integer(int code, long fallback) const {
    double v = real(code, static_cast<double>(fallback));
    return v > -2147483648.0 && v < 2147483647.0 ? static_cast<long>(v) : fallback;
  }
  AcGePoint3d point(int code) const { return AcGePoint3d(real(code), real(code + 10), 0); }
  std::string text(int code) const {
    size_t at;
    if (!find(code, at)) return std::string();
    std::string memory;
    dxf::DecodeText(img.codec, img.value(at), memory);
    return memory;
  }
  // An MText's contents: groups 3 then the last group 1.
  std::string contents() const {
    std::string out;
    for (size_t i = first + 1; i < end; ++i) {
      int code = img.groups[i].code;
      if (code != 1 && code != 3) continue;
      std::string memory;
      dxf::DecodeText(img.codec, img.value(i), memory);
      out += memory;
    }
    return out;
  }
};

class Painter {
 public:
  Painter(AcDbDatabase& db, const dxf::Image* img) : m_db(db) {
    if (img) {
      m_files.emplace(*img);
      m_img = &*m_files;
      m_tables = ReadTables(*m_img);
    }
  }

  Picture DrawSpace(bool paper);

 private:
  uint32_t LayerRgb(const std::string& layer, const Context& ctx) const {
    std::string name = Upper(layer);
    if (name == "0" && !ctx.blockLayer.empty()) name = Upper(ctx.blockLayer);
    auto it = m_tables.layers.find(name);
    return PaletteRgb(it == m_tables.layers.end() ? 7 : std::abs(it->second.color));
  }
  bool LayerShown(const std::string& layer) const {
    auto it = m_tables.layers.find(Upper(layer));
    return it == m_tables.layers.end() || (it->second.color >= 0 && !it->second.frozen);
  }
  uint32_t Resolve(int color, const std::string& layer, const Context& ctx) const {
    if (color == kByBlock) return ctx.blockRgb;
    if (color == kByLayer || color < 0 || color > 256) return LayerRgb(layer, ctx);
    return PaletteRgb(color);
  }
  uint32_t EntityRgb(const Groups& g, const std::string& layer, const Context& ctx) const {
    if (g.has(420))
      return static_cast<uint32_t>(g.integer(420, 0)) & 0xFFFFFF;
    return Resolve(static_cast<int>(g.integer(62, kByLayer)), layer, ctx);
  }

  std::string StyleFont(const std::string& styleName) const;
  std::string StyleFont(AcDbObjectId style) const;

  void Path(Entity& e, std::vector<AcGePoint3d> points, bool closed, uint32_t rgb, const Context& ctx) {
    m_points += points.size();
    Shape s;
    s.rgb = rgb;
    s.closed = closed;
    for (AcGePoint3d& p : points) s.points.push_back(ctx.transform.apply(p));
    if (!s.points.empty()) e.shapes.push_back(std::move(s));
  }
  void Text(Entity& e, const mtext::Layout& layout, double rotation, const std::string& styleFont, uint32_t rgb,
            const std::string& layer, const Context& ctx);

  // False when the entity is hidden or of a type the host does not draw.
  bool DrawRecord(const Record& r, Entity& e, const Context& ctx);
  void DrawBlock(const std::string& name, const Transform& placement, uint32_t rgb, const std::string& layer,
                 const Context& ctx, Entity& e, bool skipTexts = false);
  bool DrawModelled(const AcDbEntity& entity, const AcDbStub& stub, Entity& e);
  void NotDrawn(const std::string& type) { ++m_notDrawn[type]; }

  AcDbDatabase& m_db;
  std::optional<FileGroups> m_files;
  const FileGroups* m_img = nullptr;
  FileTables m_tables;
  std::map<std::string, int> m_notDrawn;
  std::map<std::string, int> m_hidden;
  size_t m_points = 0;
  size_t m_blockEntities = 0;
  bool Full() const { return m_points > kMaxPoints || m_blockEntities > kMaxBlockEntities; }
};

std::string FontName(const std::string& file) {
  std::string name = file;
  size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot + 4 >= name.size()) name.erase(dot);
  return name;
}

std::string Painter::StyleFont(AcDbObjectId style) const {
  if (style.isNull() || !style.stub() || !style.stub()->object) return std::string();
  const char* file = nullptr;
  static_cast<AcDbTextStyleTableRecord*>(style.stub()->object.get())->fileName(file);
  return FontName(file ? file : "");
}

std::string Painter::StyleFont(const std::string& styleName) const {
  AcDbObjectId id;
  auto* styles = static_cast<AcDbTextStyleTable*>(m_db.impl().styleTable.stub()->object.get());
  if (styles) styles->getAt(styleName.empty() ? "Standard" : styleName.c_str(), id);
  return StyleFont(id);
}

void Painter::Text(Entity& e, const mtext::Layout& layout, double rotation, const std::string& styleFont,
                   uint32_t rgb, const std::string& layer, const Context& ctx) {
  m_points += layout.lines.size() + 1;
  Shape s;
  s.kind = Shape::Kind::kText;
  s.rgb = rgb;
  const double scale = ctx.transform.scale();
  s.rotation = rotation + ctx.transform.angle();
  const double c = std::cos(rotation), n = std::sin(rotation);
  const AcGePoint3d& top = layout.corners[3];
  for (const mtext::Line& line : layout.lines) {
    TextLine out;
    // Down the text from its top left corner, then along the line.
    out.start = ctx.transform.apply(AcGePoint3d(top.x + line.x * c + line.y * n, top.y + line.x * n - line.y * c, 0));
    for (const mtext::Run& run : line.runs) {
      TextRun r;
      r.text = run.text;
      r.font = run.format.font.empty() ? styleFont : FontName(run.format.font);
      r.bold = run.format.bold;
      r.italic = run.format.italic;
      r.underline = run.format.underline;
      r.overline = run.format.overline;
      r.strike = run.format.strike;
      r.height = run.format.height * scale;
      r.rgb = run.format.trueColor ? run.format.rgb & 0xFFFFFF
              : run.format.color == kByLayer || run.format.color == kByBlock ? rgb
                                                                            : Resolve(run.format.color, layer, ctx);
      r.x = run.x * scale;
      r.width = run.width * scale;
      r.upper = run.upper;
      r.lower = run.lower;
      r.separator = run.separator;
      out.runs.push_back(std::move(r));
    }
    s.lines.push_back(std::move(out));
  }
  e.shapes.push_back(std::move(s));
}

// The points of an arc from `start` to `end` (radians, counter-clockwise), a chord every 5 degrees at most.
std::vector<AcGePoint3d> ArcPoints(const AcGePoint3d& centre, double radius, double start, double end) {
  if (!std::isfinite(start) || !std::isfinite(end)) return {};
  // The sweep, counter-clockwise, more than 0 and at most a full turn (any angle a file gives).
  double sweep = std::fmod(end - start, 2 * kPi);
  if (!std::isfinite(sweep)) sweep = 0;
  if (!(sweep > 1e-12)) sweep += 2 * kPi;
  end = start + sweep;
  int steps = std::max(2, static_cast<int>(std::ceil((end - start) / (kPi / 36))));
  std::vector<AcGePoint3d> out;
  for (int i = 0; i <= steps; ++i) {
    double a = start + (end - start) * i / steps;
    out.emplace_back(centre.x + radius * std::cos(a), centre.y + radius * std::sin(a), 0);
  }
  return out;
}

// A polyline segment from `a` to `b` with a bulge (the tangent of a quarter of its angle).
void AddBulge(std::vector<AcGePoint3d>& out, const AcGePoint3d& a, const AcGePoint3d& b, double bulge) {
  double chord = std::hypot(b.x - a.x, b.y - a.y);
  if (std::fabs(bulge) < 1e-9 || chord < 1e-12 || !std::isfinite(bulge)) {
    out.push_back(b);
    return;
  }
  double theta = 4 * std::atan(bulge);
  double radius = chord / (2 * std::sin(theta / 2));
  double mx = (a.x + b.x) / 2, my = (a.y + b.y) / 2;
  double h = radius * std::cos(theta / 2);  // from the chord's middle to the centre, to the left
  AcGePoint3d centre(mx - h * (b.y - a.y) / chord, my + h * (b.x - a.x) / chord, 0);
  double start = std::atan2(a.y - centre.y, a.x - centre.x);
  std::vector<AcGePoint3d> arc = ArcPoints(centre, std::fabs(radius), bulge > 0 ? start : start + theta,
                                           bulge > 0 ? start + theta : start);
  // Points too far apart for an arc to be computed (a centre beyond the doubles) give none: a chord.
  if (arc.size() < 2) {
    out.push_back(b);
    return;
  }
  if (bulge < 0) std::reverse(arc.begin(), arc.end());
  out.insert(out.end(), arc.begin() + 1, arc.end());
}

// A B-spline of `degree` over its control points and knots, or the control polygon when the
// knots do not fit.
std::vector<AcGePoint3d> SplinePoints(const std::vector<AcGePoint3d>& ctrl, const std::vector<double>& knots, int degree) {
  size_t n = ctrl.size();
  if (degree < 1 || degree > kMaxSplineDegree || n < static_cast<size_t>(degree) + 1 || knots.size() != n + static_cast<size_t>(degree) + 1)
    return ctrl;
  std::vector<AcGePoint3d> out;
  double lo = knots[static_cast<size_t>(degree)], hi = knots[n];
  const int steps = static_cast<int>(std::min<size_t>(n * 8, 2000));
  size_t k = static_cast<size_t>(degree);  // the knot span of u, which only grows
  for (int s = 0; s <= steps; ++s) {
    double u = lo + (hi - lo) * s / steps;
    while (k + 1 < n && knots[k + 1] <= u) ++k;
    std::vector<AcGePoint3d> d(ctrl.begin() + static_cast<long>(k) - degree, ctrl.begin() + static_cast<long>(k) + 1);
    for (int r = 1; r <= degree; ++r) {
      for (int j = degree; j >= r; --j) {
        size_t i = k - static_cast<size_t>(degree) + static_cast<size_t>(j);
        double span = knots[i + static_cast<size_t>(degree) + 1 - static_cast<size_t>(r)] - knots[i];
        double alpha = span > 0 ? (u - knots[i]) / span : 0;
        d[static_cast<size_t>(j)] = AcGePoint3d((1 - alpha) * d[static_cast<size_t>(j) - 1].x + alpha * d[static_cast<size_t>(j)].x,
                                                (1 - alpha) * d[static_cast<size_t>(j) - 1].y + alpha * d[static_cast<size_t>(j)].y, 0);
      }
    }
    out.push_back(d[static_cast<size_t>(degree)]);
  }
  return out;
}

// Single-line text as MText contents: its backslashes and braces are characters, and its
// toggles %%u, %%o and %%k (either case) switch underline, overline and strike-through as MText's
// \L \O \K and \l \o \k do. "%%%" is a percent sign, so the letter after it is no toggle.
std::string AsMTextContents(const std::string& text) {
  static const char kToggles[] = "uok";
  static const char kCodes[] = "LOK";
  bool on[3] = {false, false, false};
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    char ch = text[i];
    if (text.compare(i, 2, "%%") == 0 && i + 2 < text.size()) {
      char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i + 2])));
      const char* toggle = letter != 0 ? std::strchr(kToggles, letter) : nullptr;
      if (toggle) {
        size_t k = static_cast<size_t>(toggle - kToggles);
        out += '\\';
        out += on[k] ? static_cast<char>(std::tolower(kCodes[k])) : kCodes[k];
        on[k] = !on[k];
        i += 2;
        continue;
      }
      if (letter == '%') {
        out += "%%%";
        i += 2;
        continue;
      }
    }
    if (ch == '\\' || ch == '{' || ch == '}') out += '\\';
    out += ch;
  }
  return out;
}

// The layout of single-line text: alignment 72 (left, centre, right, aligned, middle, fit) and
// 73 (baseline, bottom, middle, top) become the attachment of an MText of one line.
mtext::Layout SingleLineLayout(const std::string& text, const AcGePoint3d& position, const AcGePoint3d& alignment,
                               double height, double rotation, int horizontal, int vertical) {
  mtext::LayoutParams p;
  p.height = height > 0 ? height : 2.5;
  p.rotation = rotation;
  int column = horizontal == 1 || horizontal == 4 ? 1 : horizontal == 2 ? 2 : 0;
  int row = horizontal == 4 || vertical == 2 ? 1 : vertical == 3 ? 0 : 2;
  p.attachment = row * 3 + column + 1;
  p.location = horizontal == 0 && vertical == 0 ? position : horizontal == 3 || horizontal == 5 ? position : alignment;
  return mtext::LayOut(AsMTextContents(text), p);
}

bool Painter::DrawRecord(const Record& r, Entity& e, const Context& ctx) {
  Groups g{*m_img, r.first, r.end};
  std::string layer = g.text(8);
  if (layer.empty()) layer = "0";
  if (!LayerShown(layer == "0" && !ctx.blockLayer.empty() ? ctx.blockLayer : layer) || g.integer(60, 0) != 0) {
    if (ctx.depth == 0) ++m_hidden[r.type];
    return false;  // on a layer turned off or frozen, or invisible (60)
  }
  const uint32_t rgb = EntityRgb(g, layer, ctx);
  const std::string& t = r.type;
  if (t == "LINE") {
    Path(e, {g.point(10), g.point(11)}, false, rgb, ctx);
  } else if (t == "CIRCLE") {
    Path(e, ArcPoints(g.point(10), g.real(40), 0, 2 * kPi), true, rgb, ctx);
  } else if (t == "ARC") {
    Path(e, ArcPoints(g.point(10), g.real(40), g.real(50) * kPi / 180, g.real(51) * kPi / 180), false, rgb, ctx);
  } else if (t == "ELLIPSE") {
    AcGePoint3d c = g.point(10), major = g.point(11);
    double ratio = g.real(40, 1), start = g.real(41, 0), sweep = std::fmod(g.real(42, 2 * kPi) - start, 2 * kPi);
    if (!(sweep > 1e-12)) sweep += 2 * kPi;
    std::vector<AcGePoint3d> pts;
    for (int i = 0; i <= 72; ++i) {
      double a = start + sweep * i / 72;
      double u = std::cos(a), v = std::sin(a) * ratio;
      pts.emplace_back(c.x + major.x * u - major.y * v, c.y + major.y * u + major.x * v, 0);
    }
    Path(e, pts, false, rgb, ctx);
  } else if (t == "LWPOLYLINE") {
    std::vector<AcGePoint3d> vertices;
    std::vector<double> bulges;
    for (size_t i = r.first + 1; i < r.end; ++i) {
      int code = m_img->groups[i].code;
      double v = std::strtod(m_img->value(i).c_str(), nullptr);
      if (code == 10) {
        vertices.emplace_back(v, 0, 0);
        bulges.push_back(0);
      }
      if (code == 20 && !vertices.empty()) vertices.back().y = v;
      if (code == 42 && !bulges.empty()) bulges.back() = v;
    }
    bool closed = (g.integer(70, 0) & 1) != 0;
    std::vector<AcGePoint3d> pts;
    for (size_t i = 0; i < vertices.size(); ++i) {
      if (i == 0) pts.push_back(vertices[0]);
      size_t next = i + 1 < vertices.size() ? i + 1 : closed ? 0 : SIZE_MAX;
      if (next != SIZE_MAX && (next != 0 || vertices.size() > 1)) AddBulge(pts, vertices[i], vertices[next], bulges[i]);
    }
    Path(e, pts, false, rgb, ctx);
  } else if (t == "POLYLINE") {
    // 70: 1 closed, 16 a polygon mesh (M by N vertices, 71 and 72), 64 a polyface mesh (vertices,
    // then face records of 1-based vertex numbers in 71 to 74, negative for a hidden edge).
    long flags = g.integer(70, 0);
    std::vector<AcGePoint3d> vertices;
    std::vector<double> bulges;
    std::vector<std::vector<long>> faces;
    for (const auto& [first, end] : r.followers) {
      Groups v{*m_img, first, end};
      if (m_img->word(first) != "VERTEX") continue;
      long vertexFlags = v.integer(70, 0);
      if ((vertexFlags & 128) && !(vertexFlags & 64)) {
        faces.push_back({v.integer(71, 0), v.integer(72, 0), v.integer(73, 0), v.integer(74, 0)});
        continue;
      }
      vertices.push_back(v.point(10));
      bulges.push_back(v.real(42));
    }
    if (flags & 64) {
      for (const auto& face : faces) {
        std::vector<long> corners;
        for (long n : face)
          if (n != 0) corners.push_back(n);
        for (size_t i = 0; i < corners.size(); ++i) {
          long a = corners[i], b = corners[(i + 1) % corners.size()];
          size_t ia = static_cast<size_t>(std::labs(a)) - 1, ib = static_cast<size_t>(std::labs(b)) - 1;
          if (a > 0 && ia < vertices.size() && ib < vertices.size()) Path(e, {vertices[ia], vertices[ib]}, false, rgb, ctx);
        }
      }
      return true;
    }
    long m = g.integer(71, 0), n = g.integer(72, 0);
    if ((flags & 16) && m > 0 && n > 0 && static_cast<size_t>(m) * static_cast<size_t>(n) <= vertices.size()) {
      auto at = [&](long i, long j) { return vertices[static_cast<size_t>(i * n + j)]; };
      for (long i = 0; i < m; ++i)
        for (long j = 0; j + 1 < n; ++j) Path(e, {at(i, j), at(i, j + 1)}, false, rgb, ctx);
      for (long j = 0; j < n; ++j)
        for (long i = 0; i + 1 < m; ++i) Path(e, {at(i, j), at(i + 1, j)}, false, rgb, ctx);
      return true;
    }
    bool closed = (flags & 1) != 0;
    std::vector<AcGePoint3d> pts;
    for (size_t i = 0; i < vertices.size(); ++i) {
      if (i == 0) pts.push_back(vertices[0]);
      size_t next = i + 1 < vertices.size() ? i + 1 : closed ? 0 : SIZE_MAX;
      if (next != SIZE_MAX && vertices.size() > 1) AddBulge(pts, vertices[i], vertices[next], bulges[i]);
    }
    Path(e, pts, false, rgb, ctx);
  } else if (t == "SOLID" || t == "TRACE" || t == "3DFACE") {
    AcGePoint3d p3 = g.point(13);
    if (!g.has(13)) p3 = g.point(12);
    // A solid's third and fourth points are in zig-zag order.
    if (t == "3DFACE")
      Path(e, {g.point(10), g.point(11), g.point(12), p3}, true, rgb, ctx);
    else
      Path(e, {g.point(10), g.point(11), p3, g.point(12)}, true, rgb, ctx);
  } else if (t == "POINT") {
    Path(e, {g.point(10)}, false, rgb, ctx);
  } else if (t == "SPLINE" || t == "LEADER") {
    std::vector<AcGePoint3d> ctrl, fit;
    std::vector<double> knots;
    for (size_t i = r.first + 1; i < r.end; ++i) {
      int code = m_img->groups[i].code;
      double v = std::strtod(m_img->value(i).c_str(), nullptr);
      if (code == 10) ctrl.emplace_back(v, 0, 0);
      if (code == 20 && !ctrl.empty()) ctrl.back().y = v;
      if (code == 11) fit.emplace_back(v, 0, 0);
      if (code == 21 && !fit.empty()) fit.back().y = v;
      if (code == 40 && t == "SPLINE") knots.push_back(v);
    }
    if (t == "LEADER")
      Path(e, ctrl, false, rgb, ctx);
    else
      Path(e, ctrl.empty() ? fit : SplinePoints(ctrl, knots, static_cast<int>(g.integer(71, 3))), false, rgb, ctx);
  } else if (t == "TEXT" || t == "ATTRIB" || t == "ATTDEF") {
    // An attribute's vertical alignment is group 74; a definition outside a block shows its tag (2).
    if (t != "TEXT" && (g.integer(70, 0) & 1)) return true;  // an invisible attribute
    double rotation = g.real(50) * kPi / 180;
    mtext::Layout layout = SingleLineLayout(g.text(t == "ATTDEF" ? 2 : 1), g.point(10), g.point(11), g.real(40, 2.5),
                                            rotation, static_cast<int>(g.integer(72, 0)),
                                            static_cast<int>(g.integer(t == "TEXT" ? 73 : 74, 0)));
    Text(e, layout, rotation, StyleFont(g.text(7)), rgb, layer, ctx);
  } else if (t == "MTEXT") {
    mtext::LayoutParams p;
    p.height = g.real(40, 2.5);
    p.width = g.real(41, 0);
    p.attachment = static_cast<int>(std::clamp<long>(g.integer(71, 1), 1, 9));
    p.location = g.point(10);
    p.lineSpacingFactor = g.real(44, 1.0);
    size_t at;
    p.rotation = g.find(50, at) ? g.real(50) : std::atan2(g.real(21), g.real(11, 1));  // 50: radians
    Text(e, mtext::LayOut(g.contents(), p), p.rotation, StyleFont(g.text(7)), rgb, layer, ctx);
  } else if (t == "INSERT") {
    if (ctx.depth >= kMaxBlockDepth) return true;
    if (Full()) {
      NotDrawn("INSERT (the picture is full)");
      return false;
    }
    AcGePoint3d at = g.point(10);
    double sx = g.real(41, 1), sy = g.real(42, 1), angle = g.real(50) * kPi / 180;
    long columns = std::clamp<long>(g.integer(70, 1), 1, 100), rows = std::clamp<long>(g.integer(71, 1), 1, 100);
    double dx = g.real(44), dy = g.real(45);
    std::string name = Upper(g.text(2));
    auto block = m_tables.blocks.find(name);
    for (long row = 0; row < rows; ++row) {
      for (long col = 0; col < columns; ++col) {
        Transform place;
        double ca = std::cos(angle), sa = std::sin(angle);
        double ox = col * dx, oy = row * dy;
        place.a = ca * sx;
        place.b = -sa * sy;
        place.c = sa * sx;
        place.d = ca * sy;
        AcGePoint3d base = block == m_tables.blocks.end() ? AcGePoint3d() : block->second.base;
        place.e = at.x + ca * (ox - base.x * sx) - sa * (oy - base.y * sy);
        place.f = at.y + sa * (ox - base.x * sx) + ca * (oy - base.y * sy);
        DrawBlock(name, place, rgb, layer, ctx, e);
      }
    }
    for (const auto& [first, end] : r.followers) {
      Record attrib{first, end, {}, "ATTRIB"};
      DrawRecord(attrib, e, ctx);
    }
  } else if (t == "ACAD_TABLE") {
    // A table's cells and texts are the lines and texts of its anonymous block, at its point 10.
    Transform place;
    AcGePoint3d at = g.point(10);
    auto block = m_tables.blocks.find(Upper(g.text(2)));
    AcGePoint3d base = block == m_tables.blocks.end() ? AcGePoint3d() : block->second.base;
    place.e = at.x - base.x;
    place.f = at.y - base.y;
    DrawBlock(Upper(g.text(2)), place, rgb, layer, ctx, e);
  } else if (t == "DIMENSION" || t == "ARC_DIMENSION") {
    Transform place;
    AcGePoint3d at = g.point(12);
    place.e = at.x;
    place.f = at.y;
    DrawBlock(Upper(g.text(2)), place, rgb, layer, ctx, e);
  } else {
    NotDrawn(t);
    return false;
  }
  return true;
}

void Painter::DrawBlock(const std::string& name, const Transform& placement, uint32_t rgb, const std::string& layer,
                        const Context& ctx, Entity& e, bool skipTexts) {
  auto block = m_tables.blocks.find(name);
  if (block == m_tables.blocks.end() || ctx.depth >= kMaxBlockDepth || Full()) return;
  Context inner;
  inner.transform = placement.then(ctx.transform);
  inner.blockRgb = rgb;
  inner.blockLayer = layer == "0" && !ctx.blockLayer.empty() ? ctx.blockLayer : layer;
  inner.depth = ctx.depth + 1;
  for (const Record& r : block->second.records) {
    if (skipTexts && (r.type == "MTEXT" || r.type == "TEXT")) continue;
    if (r.type == "ATTDEF") continue;  // definitions show through their references' ATTRIBs
    if (++m_blockEntities > kMaxBlockEntities) return;
    DrawRecord(r, e, inner);
  }
}

bool Painter::DrawModelled(const AcDbEntity& entity, const AcDbStub& stub, Entity& e) {
  Context ctx;
  std::string layer = entity.layer();
  if (!LayerShown(layer)) {
    ++m_hidden[dxf::TypeName(entity)];
    return false;
  }
  uint32_t rgb = LayerRgb(layer, ctx);
  if (stub.source && m_img) {
    Groups g{*m_img, m_img->IndexAt(stub.source->begin), m_img->IndexAt(stub.source->end)};
    rgb = EntityRgb(g, layer, ctx);
  }
  if (auto* m = AcDbMText::cast(&entity)) {
    Text(e, mtext::LayOut(*m), m->rotation(), StyleFont(m->textStyle()), rgb, layer, ctx);
  } else if (auto* l = AcDbLine::cast(&entity)) {
    Path(e, {l->startPoint(), l->endPoint()}, false, rgb, ctx);
  } else if (auto* c = AcDbCircle::cast(&entity)) {
    Path(e, ArcPoints(c->center(), c->radius(), 0, 2 * kPi), true, rgb, ctx);
  } else if (auto* t = AcDbText::cast(&entity)) {
    int horizontal = static_cast<int>(t->horizontalMode()), vertical = 0;
    if (stub.source && m_img) vertical = static_cast<int>(Groups{*m_img, m_img->IndexAt(stub.source->begin), m_img->IndexAt(stub.source->end)}.integer(73, 0));
    mtext::Layout layout = SingleLineLayout(t->textStringConst(), t->position(), t->alignmentPoint(), t->height(),
                                            t->rotation(), horizontal, vertical);
    Text(e, layout, t->rotation(), StyleFont(t->textStyle()), rgb, layer, ctx);
  } else if (auto* d = AcDbDimension::cast(&entity)) {
    std::string block;
    AcGePoint3d at;
    if (stub.source && m_img) {
      Groups g{*m_img, m_img->IndexAt(stub.source->begin), m_img->IndexAt(stub.source->end)};
      block = Upper(g.text(2));
      at = g.point(12);
    }
    const bool fromBlock = m_tables.blocks.count(block) != 0;
    Transform place;
    place.e = at.x;
    place.f = at.y;
    // A dimension whose text changed since loading shows its new text; its block still holds the old one.
    if (fromBlock) DrawBlock(block, place, rgb, layer, ctx, e, stub.modified);
    if (!fromBlock) {
      AcGePoint3d p1 = d->xLine1Point(), p2 = d->xLine2Point(), d2 = d->dimLinePoint();
      AcGePoint3d d1(p1.x + d2.x - p2.x, p1.y + d2.y - p2.y, 0);
      Path(e, {p1, d1}, false, rgb, ctx);
      Path(e, {p2, d2}, false, rgb, ctx);
      Path(e, {d1, d2}, false, rgb, ctx);
    }
    if (!fromBlock || stub.modified) {
      char* text = d->dimensionText();
      std::string shown = *text ? text : "<>";
      delete[] text;
      size_t marker = shown.find("<>");
      if (marker != std::string::npos) {
        char value[32];
        std::snprintf(value, sizeof value, "%g", d->measurement());
        shown.replace(marker, 2, value);
      }
      mtext::LayoutParams p;
      p.height = m_db.impl().textsize;
      p.attachment = 5;
      p.location = d->textPosition();
      Text(e, mtext::LayOut(shown, p), 0.0, StyleFont(std::string()), rgb, layer, ctx);
    }
  }
  return true;
}

Picture Painter::DrawSpace(bool paper) {
  Picture picture;
  AcDbObjectId spaceId = paper ? m_db.impl().paperSpace : m_db.impl().modelSpace;
  std::map<size_t, const AcDbStub*> bySource;  // loaded entities of the database by their first group
  std::vector<const AcDbStub*> added;
  std::set<size_t> elsewhere;  // modelled entities of the other space
  for (AcDbObjectId space : {m_db.impl().modelSpace, m_db.impl().paperSpace}) {
    if (space.isNull()) continue;
    for (const AcDbObjectId& id : static_cast<AcDbBlockTableRecord*>(space.stub()->object.get())->entityIds()) {
      const AcDbStub* stub = id.stub();
      if (space != spaceId) {
        if (stub->source) elsewhere.insert(m_img->IndexAt(stub->source->begin));
      } else if (stub->source) {
        bySource[m_img->IndexAt(stub->source->begin)] = stub;
      } else if (!stub->erased) {
        added.push_back(stub);
      }
    }
  }
  auto modelled = [&](const AcDbStub* stub) {
    Entity e;
    auto* entity = static_cast<const AcDbEntity*>(stub->object.get());
    e.type = dxf::TypeName(*entity);
    char handle[32] = "";
    if (!stub->handle.isNull()) stub->handle.getIntoAsciiBuffer(handle);
    e.handle = handle;
    if (DrawModelled(*entity, *stub, e)) picture.entities.push_back(std::move(e));
  };
  for (const Record& r : m_tables.entities) {
    auto it = bySource.find(r.first);
    if (it != bySource.end()) {
      if (!it->second->erased) modelled(it->second);
      continue;
    }
    if (elsewhere.count(r.first)) continue;
    Groups g{*m_img, r.first, r.end};
    if ((g.integer(67, 0) != 0) != paper) continue;
    Entity e;
    e.type = r.type;
    e.handle = Upper(Trim(g.text(5)));
    if (DrawRecord(r, e, Context())) picture.entities.push_back(std::move(e));
  }
  for (const AcDbStub* stub : added) modelled(stub);
  picture.notDrawn = m_notDrawn;
  picture.hidden = m_hidden;
  for (const Entity& e : picture.entities) {
    for (const Shape& s : e.shapes) {
      for (const AcGePoint3d& p : s.points) picture.extent.add(p);
      for (const TextLine& line : s.lines) {
        picture.extent.add(line.start);
        double c = std::cos(s.rotation), n = std::sin(s.rotation);
        for (const TextRun& r : line.runs) {
          double x = r.x + r.width;
          picture.extent.add(AcGePoint3d(line.start.x + x * c - r.height * n, line.start.y + x * n + r.height * c, 0));
        }
      }
    }
  }
  return picture;
}

// ---- SVG ----

// A character of a text as XML can carry it: controls, surrogates, U+FFFE and U+FFFF, and bytes
// code page 1251 leaves undefined, become the replacement character.
void AppendCharacter(std::string& out, uint32_t cp) {
  bool carried = cp >= 0x20 && cp != detail::Cp1251Table::kNone && !(cp >= 0xD800 && cp < 0xE000) && cp != 0xFFFE &&
                 cp != 0xFFFF;
  detail::AppendUtf8(out, carried ? cp : 0xFFFD);
}

std::string Number(double v) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.4f", v);
  std::string s = buffer;
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
  return s == "-0" ? "0" : s;
}

std::string Colour(uint32_t rgb) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "#%06x", rgb & 0xFFFFFF);
  return buffer;
}

// The font of a run: its face, then a face with the Chinese, Japanese and Korean characters that
// drawings' faces rarely have (Debian's fonts-noto-cjk, which the set-up installs), then a generic family.
std::string FontFamily(const std::string& font) {
  static const std::string kFallback = "'Noto Sans CJK SC', sans-serif";
  std::string face = Escaped(ShownText(font));
  for (char& c : face)
    if (c == '\'') c = ' ';
  return face.empty() ? kFallback : "'" + face + "', " + kFallback;
}

class SvgWriter {
 public:
  explicit SvgWriter(const Picture& p) : m_picture(p) {}
  std::string str();

 private:
  double X(double x) const { return x - m_originX; }
  double m_pixel = 1;  // a screen pixel in drawing units
  double Y(double y) const { return m_originY - y; }
  void Path(const Shape& s);
  void Text(const Shape& s);

  const Picture& m_picture;
  double m_originX = 0, m_originY = 0;
  std::string m_out;
};

void SvgWriter::Path(const Shape& s) {
  if (s.points.size() == 1) {
    m_out += "<circle cx=\"" + Number(X(s.points[0].x)) + "\" cy=\"" + Number(Y(s.points[0].y)) +
             "\" r=\"" + Number(1.5 * m_pixel) + "\" fill=\"" + Colour(s.rgb) + "\"/>";
    return;
  }
  std::string d;
  for (size_t i = 0; i < s.points.size(); ++i)
    d += (i == 0 ? "M" : " L") + Number(X(s.points[i].x)) + " " + Number(Y(s.points[i].y));
  if (s.closed) d += " Z";
  m_out += "<path d=\"" + d + "\" stroke=\"" + Colour(s.rgb) + "\"/>";
}

void SvgWriter::Text(const Shape& s) {
  // The text's own axes: rotated about each line's start, so runs sit at x offsets along the line.
  const double degrees = -s.rotation * 180 / kPi;
  for (const TextLine& line : s.lines) {
    if (line.runs.empty()) continue;
    double x0 = X(line.start.x), y0 = Y(line.start.y);
    m_out += "<text x=\"" + Number(x0) + "\" y=\"" + Number(y0) + "\"";
    if (std::fabs(degrees) > 1e-9) m_out += " transform=\"rotate(" + Number(degrees) + " " + Number(x0) + " " + Number(y0) + ")\"";
    m_out += ">";
    for (const TextRun& r : line.runs) {
      std::string attributes = " font-family=\"" + FontFamily(r.font) + "\" fill=\"" + Colour(r.rgb) + "\"";
      if (r.bold) attributes += " font-weight=\"bold\"";
      if (r.italic) attributes += " font-style=\"italic\"";
      std::string decoration = std::string(r.underline ? " underline" : "") + (r.overline ? " overline" : "") +
                               (r.strike ? " line-through" : "");
      if (!decoration.empty()) attributes += " text-decoration=\"" + decoration.substr(1) + "\"";
      std::string x = Number(x0 + r.x);
      if (r.separator) {
        // A stack: the upper part raised, the lower part lowered, smaller, with a bar for '/'.
        std::string size = Number(r.height * 0.7);
        m_out += "<tspan class=\"stack\" x=\"" + x + "\" y=\"" + Number(y0 - r.height * 0.55) + "\" font-size=\"" + size +
                 "\"" + attributes + ">" + Escaped(ShownText(r.upper)) + "</tspan>";
        m_out += "<tspan class=\"stack\" x=\"" + x + "\" y=\"" + Number(y0 + r.height * 0.25) + "\" font-size=\"" + size +
                 "\"" + attributes + ">" + Escaped(ShownText(r.lower)) + "</tspan>";
        if (r.separator == '/') {
          m_out += "<tspan class=\"stack\" x=\"" + x + "\" y=\"" + Number(y0 - r.height * 0.35) + "\" font-size=\"" + size + "\"" +
                   attributes + " textLength=\"" + Number(r.width) + "\" lengthAdjust=\"spacingAndGlyphs\">\xE2\x80\x94</tspan>";
        }
        continue;
      }
      // The text height as the font size: a common face's letters then take about the room
      // the host's layout gives them; textLength holds the run to that width where the viewer
      // honours it.
      m_out += "<tspan x=\"" + x + "\" y=\"" + Number(y0) + "\" font-size=\"" + Number(r.height) + "\"" +
               attributes;
      if (r.width > 0) m_out += " textLength=\"" + Number(r.width) + "\" lengthAdjust=\"spacingAndGlyphs\"";
      m_out += ">" + Escaped(ShownText(r.text)) + "</tspan>";
    }
    m_out += "</text>";
  }
}

std::string SvgWriter::str() {
  Extent x = m_picture.extent;
  if (x.empty()) x = Extent{0, 0, 100, 100};
  double margin = std::max({x.maxX - x.minX, x.maxY - x.minY, 1e-6}) * 0.02;
  m_originX = x.minX - margin;
  m_originY = x.maxY + margin;
  double width = x.maxX - x.minX + 2 * margin, height = x.maxY - x.minY + 2 * margin;
  double pixels = 1600 / std::max(width, height);
  m_pixel = 1 / pixels;
  m_out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  m_out += "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " + Number(width) + " " + Number(height) +
           "\" width=\"" + Number(width * pixels) + "\" height=\"" + Number(height * pixels) + "\" data-origin-x=\"" +
           Number(m_originX) + "\" data-origin-y=\"" + Number(m_originY) + "\">\n";
  if (!m_picture.notDrawn.empty()) {
    std::string list;
    for (const auto& [type, count] : m_picture.notDrawn) list += " " + Escaped(PlainText(type)) + " " + std::to_string(count);
    // Type names come from the file: no "--" may end the comment early (nor is one allowed in it).
    for (size_t at = list.find("--"); at != std::string::npos; at = list.find("--", at)) list.replace(at + 1, 1, "&#45;");
    m_out += "<!-- not drawn:" + list + " -->\n";
  }
  m_out += "<rect x=\"0\" y=\"0\" width=\"" + Number(width) + "\" height=\"" + Number(height) + "\" fill=\"#1e2228\"/>\n";
  m_out += "<g fill=\"none\" stroke-width=\"" + Number(1.2 * m_pixel) +
           "\" stroke-linecap=\"round\" stroke-linejoin=\"round\" xml:space=\"preserve\">\n";
  for (const Entity& e : m_picture.entities) {
    m_out += "<g data-type=\"" + Escaped(PlainText(e.type)) + "\" data-handle=\"" + Escaped(PlainText(e.handle)) + "\">";
    for (const Shape& s : e.shapes) {
      if (s.kind == Shape::Kind::kPath)
        Path(s);
      else
        Text(s);
    }
    m_out += "</g>\n";
  }
  m_out += "</g>\n</svg>\n";
  return m_out;
}

}  // namespace

std::string ShownText(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 2, "%%") == 0 && i + 2 < text.size()) {
      char code = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i + 2])));
      const char* special = code == 'd' ? "\xC2\xB0" : code == 'p' ? "\xC2\xB1" : code == 'c' ? "\xE2\x8C\x80" : code == '%' ? "%" : nullptr;
      if (special) {
        out += special;
        i += 2;
        continue;
      }
    }
    if ((text.compare(i, 3, "\\U+") == 0 || text.compare(i, 3, "\\u+") == 0) && i + 7 <= text.size() &&
        std::all_of(text.begin() + static_cast<long>(i) + 3, text.begin() + static_cast<long>(i) + 7,
                    [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; })) {
      AppendCharacter(out, static_cast<uint32_t>(std::strtoul(text.substr(i + 3, 4).c_str(), nullptr, 16)));
      i += 6;
      continue;
    }
    AppendCharacter(out, detail::Cp1251().toUnicode[static_cast<unsigned char>(text[i])]);
  }
  return out;
}

std::string PlainText(const std::string& cp1251) {
  std::string out;
  for (char c : cp1251) AppendCharacter(out, detail::Cp1251().toUnicode[static_cast<unsigned char>(c)]);
  return out;
}

Picture Draw(AcDbDatabase& db, Space space) {
  bool paper = space == Space::kPaper || (space == Space::kCurrent && !db.tilemode());
  Painter painter(db, db.impl().image.get());
  return painter.DrawSpace(paper);
}

std::string Svg(const Picture& picture) { return SvgWriter(picture).str(); }

std::string WriteSvg(AcDbDatabase& db, Space space, const std::string& path, bool& ok) {
  Picture picture = Draw(db, space);
  std::string svg = Svg(picture);
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ok = f != nullptr && std::fwrite(svg.data(), 1, svg.size(), f) == svg.size();
  if (f != nullptr && std::fclose(f) != 0) ok = false;
  if (!ok) return "cannot write " + path + ": " + std::strerror(errno);
  std::string line = std::to_string(picture.entities.size()) + " entities drawn to " + path;
  if (!picture.notDrawn.empty()) {
    line += "; not drawn:";
    for (const auto& [type, count] : picture.notDrawn) line += " " + type + " " + std::to_string(count);
  }
  int hidden = 0;
  for (const auto& [type, count] : picture.hidden) hidden += count;
  if (hidden) line += "; " + std::to_string(hidden) + " on layers turned off or frozen";
  return line;
}

std::string Escaped(const std::string& utf8) {
  std::string out;
  for (char c : utf8) {
    if (c == '&') out += "&amp;";
    else if (c == '<') out += "&lt;";
    else if (c == '>') out += "&gt;";
    else if (c == '"') out += "&quot;";
    else if (static_cast<unsigned char>(c) < 0x20) detail::AppendUtf8(out, 0xFFFD);  // no XML character
    else out += c;
  }
  return out;
}

}  // namespace qhost::render
