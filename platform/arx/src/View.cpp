// A picture of the current space on a grid of characters, with a coordinate ruler, so that a person
// at a terminal can see what the drawing holds and where to pick it. Made from the renderer's picture.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "qplatform/Host.h"
#include "qplatform/Render.h"

namespace qhost {
namespace {

std::string Label(double v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%g", std::fabs(v) < 1e-9 ? 0.0 : v);
  return buffer;
}

// A ruler step of 1, 2 or 5 times a power of ten, at least `least` drawing units.
double Step(double least) {
  double power = std::pow(10.0, std::floor(std::log10(std::max(least, 1e-12))));
  for (double m : {1.0, 2.0, 5.0, 10.0})
    if (m * power >= least) return m * power;
  return 10 * power;
}

// A cell number; anything far off the grid (or not a number) is one place well off it.
int Cell(double cells) { return cells > -1e6 && cells < 1e6 ? static_cast<int>(std::lround(cells)) : -1000000; }

class Canvas {
 public:
  Canvas(const DrawingWindow& w, int cols, int rows) : m_cols(cols), m_rows(rows), m_cells(rows, std::string(cols, ' ')) {
    // A character cell is about twice as high as it is wide.
    double width = std::max(w.maxX - w.minX, 1e-9), height = std::max(w.maxY - w.minY, 1e-9);
    m_scale = std::min((cols - 1) / width, 2.0 * (rows - 1) / height);
    m_x0 = w.minX;
    m_y0 = w.minY;
  }
  int col(double x) const { return Cell((x - m_x0) * m_scale); }
  int row(double y) const { return m_rows - 1 - Cell((y - m_y0) * m_scale / 2.0); }
  double x(int col) const { return m_x0 + col / m_scale; }
  double y(int row) const { return m_y0 + (m_rows - 1 - row) * 2.0 / m_scale; }
  double scale() const { return m_scale; }
  int rows() const { return m_rows; }
  int cols() const { return m_cols; }

  void put(int c, int r, char ch) {
    if (c >= 0 && c < m_cols && r >= 0 && r < m_rows) m_cells[static_cast<size_t>(r)][static_cast<size_t>(c)] = ch;
  }
  void line(const AcGePoint3d& from, const AcGePoint3d& to) {
    double dx = to.x - from.x, dy = to.y - from.y;
    char c = std::fabs(dy) * 2 < std::fabs(dx) * 0.5 ? '-' : std::fabs(dx) < std::fabs(dy) * 2 * 0.25 ? '|' : dx * dy > 0 ? '/' : '\\';
    // Only the part on the grid is stepped along (Liang-Barsky clipping to the grid's window).
    double t0 = 0, t1 = 1;
    const double x0 = x(-1), x1 = x(m_cols), y0 = y(m_rows), y1 = y(-1);
    const double p[4] = {-dx, dx, -dy, dy}, q[4] = {from.x - x0, x1 - from.x, from.y - y0, y1 - from.y};
    for (int k = 0; k < 4; ++k) {
      if (p[k] == 0) {
        if (!(q[k] >= 0)) return;
      } else {
        double t = q[k] / p[k];
        if (p[k] < 0) t0 = std::max(t0, t);
        else t1 = std::min(t1, t);
      }
    }
    if (!(t0 <= t1)) return;
    AcGePoint3d a(from.x + dx * t0, from.y + dy * t0, 0);
    dx *= t1 - t0;
    dy *= t1 - t0;
    double cells = std::hypot(dx, dy) * m_scale * 2;
    if (!(cells < 1e4)) cells = 1e4;  // a clipped line crosses the grid in fewer; NaN too
    int steps = std::max(1, static_cast<int>(cells));
    for (int i = 0; i <= steps; ++i) put(col(a.x + dx * i / steps), row(a.y + dy * i / steps), c);
  }
  void text(int c, int r, const std::string& s) {
    for (size_t i = 0; i < s.size(); ++i) put(c + static_cast<int>(i), r, s[i]);
  }
  const std::string& cells(int r) const { return m_cells[static_cast<size_t>(r)]; }

 private:
  int m_cols, m_rows;
  std::vector<std::string> m_cells;
  double m_scale, m_x0, m_y0;
};

void Draw(const render::Entity& e, Canvas& canvas) {
  for (const render::Shape& s : e.shapes) {
    if (s.kind == render::Shape::Kind::kPath) {
      if (s.points.size() == 1) canvas.put(canvas.col(s.points[0].x), canvas.row(s.points[0].y), '.');
      for (size_t i = 1; i < s.points.size(); ++i) canvas.line(s.points[i - 1], s.points[i]);
      if (s.closed && s.points.size() > 2) canvas.line(s.points.back(), s.points.front());
      continue;
    }
    // Lines of text along the x axis from their starts, each on a row of its own.
    int lastRow = 0;
    for (size_t i = 0; i < s.lines.size(); ++i) {
      std::string chars;
      for (const render::TextRun& run : s.lines[i].runs) chars += run.text;
      int r = canvas.row(s.lines[i].start.y);
      if (i > 0) r = std::max(r, lastRow + 1);
      canvas.text(canvas.col(s.lines[i].start.x), r, chars);
      lastRow = r;
    }
  }
}

// Each entity's middle: the middle of the box round the points and text starts of its shapes.
std::vector<AcGePoint3d> Middles(const render::Picture& picture) {
  std::vector<AcGePoint3d> middles;
  for (const render::Entity& e : picture.entities) {
    render::Extent box;
    for (const render::Shape& s : e.shapes) {
      for (const AcGePoint3d& p : s.points) box.add(p);
      for (const render::TextLine& line : s.lines) box.add(line.start);
    }
    if (!box.empty()) middles.emplace_back((box.minX + box.maxX) / 2, (box.minY + box.maxY) / 2, 0.0);
  }
  return middles;
}

bool Inside(const AcGePoint3d& p, const DrawingWindow& w) {
  return p.x >= w.minX && p.x <= w.maxX && p.y >= w.minY && p.y <= w.maxY;
}

// Where the entities crowd: while one block of 3 by 3 cells of a 10 by 10 grid over the window
// holds at least four fifths of the entities in it, the window narrows to that block; then it is
// the box round the entities' middles left in it, with a margin. Nullopt when it never narrows:
// the extents show the entities spread well enough.
std::optional<DrawingWindow> CrowdedWindow(const std::vector<AcGePoint3d>& middles, const DrawingWindow& extents) {
  constexpr int kGrid = 10;
  DrawingWindow w = extents;
  bool narrowed = false;
  for (int round = 0; round < 40; ++round) {
    const double cellX = (w.maxX - w.minX) / kGrid, cellY = (w.maxY - w.minY) / kGrid;
    if (!(cellX > 0) || !(cellY > 0)) break;
    int counts[kGrid][kGrid] = {};
    int inside = 0;
    for (const AcGePoint3d& p : middles) {
      if (!Inside(p, w)) continue;
      ++inside;
      int cx = std::clamp(static_cast<int>((p.x - w.minX) / cellX), 0, kGrid - 1);
      int cy = std::clamp(static_cast<int>((p.y - w.minY) / cellY), 0, kGrid - 1);
      ++counts[cx][cy];
    }
    int best = 0, bestX = 0, bestY = 0;
    for (int x = 0; x + 3 <= kGrid; ++x)
      for (int y = 0; y + 3 <= kGrid; ++y) {
        int n = 0;
        for (int i = 0; i < 3; ++i)
          for (int j = 0; j < 3; ++j) n += counts[x + i][y + j];
        if (n > best) {
          best = n;
          bestX = x;
          bestY = y;
        }
      }
    if (inside < 2 || best * 5 < inside * 4) break;
    DrawingWindow block{w.minX + bestX * cellX, w.minY + bestY * cellY, w.minX + (bestX + 3) * cellX,
                        w.minY + (bestY + 3) * cellY};
    // Entities all at one spot: the narrowing would go on without end.
    if (!(block.maxX - block.minX > 1e-9 * std::max(1.0, std::fabs(block.minX)))) break;
    w = block;
    narrowed = true;
  }
  if (!narrowed) return std::nullopt;
  render::Extent box;
  for (const AcGePoint3d& p : middles)
    if (Inside(p, w)) box.add(p);
  const double margin = std::max({box.maxX - box.minX, box.maxY - box.minY, 1.0}) * 0.15;
  return DrawingWindow{box.minX - margin, box.minY - margin, box.maxX + margin, box.maxY + margin};
}

}  // namespace

std::string DrawingPicture(AcDbDatabase& db, int cols, int rows, const DrawingWindow* window, ViewFraming framing) {
  render::Picture picture = render::Draw(db);
  if (picture.extent.empty() && !window) return "(nothing in this space)\n";
  const DrawingWindow extents{picture.extent.minX, picture.extent.minY, picture.extent.maxX, picture.extent.maxY};
  DrawingWindow shown = window ? *window : extents;
  std::string note;
  if (!window && framing == ViewFraming::kCrowded) {
    std::vector<AcGePoint3d> middles = Middles(picture);
    if (auto crowded = CrowdedWindow(middles, extents)) {
      shown = *crowded;
      long framed = std::count_if(middles.begin(), middles.end(), [&](const AcGePoint3d& p) { return Inside(p, shown); });
      note = "This view frames where the entities crowd (" + std::to_string(framed) + " of " +
             std::to_string(middles.size()) + "); the drawing reaches from " + Label(extents.minX) + "," +
             Label(extents.minY) + " to " + Label(extents.maxX) + "," + Label(extents.maxY) +
             ": ZOOM E shows it all.\n";
    }
  }
  // The y labels on the left, the x axis and its labels below.
  // (A tick's label may be a character longer than the window's ends: "-2.5" below "0".)
  std::string lowest = Label(shown.minY), highest = Label(shown.maxY);
  const int labelWidth = static_cast<int>(std::max(lowest.size(), highest.size())) + 4;
  Canvas canvas(shown, std::max(cols - labelWidth, 8), std::max(rows - 2, 4));
  for (const render::Entity& e : picture.entities) Draw(e, canvas);

  const double yStep = Step(4 * 2.0 / canvas.scale());
  const double xStep = Step(12 / canvas.scale());
  // Ticks are counted, not stepped to the end: at coordinates far from 0 a step may be lost in
  // the rounding of the sum.
  std::vector<std::string> yLabels(static_cast<size_t>(canvas.rows()));
  const double yFirst = std::ceil(canvas.y(canvas.rows() - 1) / yStep) * yStep;
  for (int k = 0; k <= canvas.rows(); ++k) {
    double v = yFirst + k * yStep;
    int r = canvas.row(v);
    if (r >= 0 && r < canvas.rows()) yLabels[static_cast<size_t>(r)] = Label(v);
  }
  std::string out;
  for (int r = 0; r < canvas.rows(); ++r) {
    const std::string& label = yLabels[static_cast<size_t>(r)];
    std::string row = std::string(static_cast<size_t>(std::max(0, labelWidth - 2 - static_cast<int>(label.size()))), ' ') + label +
                      (label.empty() ? " | " : " + ") + canvas.cells(r);
    out += row.substr(0, row.find_last_not_of(' ') + 1) + "\n";
  }
  std::string axis(static_cast<size_t>(canvas.cols()), '-'), labels(static_cast<size_t>(canvas.cols()) + 16, ' ');
  const double xFirst = std::ceil(canvas.x(0) / xStep) * xStep;
  for (int k = 0; k <= canvas.cols(); ++k) {
    double v = xFirst + k * xStep;
    int c = canvas.col(v);
    if (c < 0 || c >= canvas.cols()) continue;
    axis[static_cast<size_t>(c)] = '+';
    labels.replace(static_cast<size_t>(c), Label(v).size(), Label(v));
  }
  out += std::string(static_cast<size_t>(labelWidth - 1), ' ') + "+" + axis + "\n";
  labels = std::string(static_cast<size_t>(labelWidth), ' ') + labels;
  out += labels.substr(0, labels.find_last_not_of(' ') + 1) + "\n";
  return out + note;
}

}  // namespace qhost
