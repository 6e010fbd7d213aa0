// A picture of the current space on a grid of characters, so that a person at a terminal can
// see what the drawing holds and where.
#include <algorithm>
#include <cstdio>
#include <cmath>
#include <vector>

#include "arx/src/DbInternals.h"
#include "dbdim.h"
#include "dbents.h"
#include "dbmtext.h"
#include "qplatform/Host.h"
#include "qplatform/MText.h"

namespace qhost {
namespace {

struct Extent {
  double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
  void add(const AcGePoint3d& p) {
    minX = std::min(minX, p.x);
    minY = std::min(minY, p.y);
    maxX = std::max(maxX, p.x);
    maxY = std::max(maxY, p.y);
  }
  bool empty() const { return minX > maxX; }
};

// The points an entity reaches, for the extent of the picture.
void AddExtent(const AcDbEntity& e, Extent& x) {
  if (auto* m = AcDbMText::cast(&e)) {
    for (const AcGePoint3d& c : mtext::LayOut(*m).corners) x.add(c);
  } else if (auto* l = AcDbLine::cast(&e)) {
    x.add(l->startPoint());
    x.add(l->endPoint());
  } else if (auto* c = AcDbCircle::cast(&e)) {
    x.add(AcGePoint3d(c->center().x - c->radius(), c->center().y - c->radius(), 0));
    x.add(AcGePoint3d(c->center().x + c->radius(), c->center().y + c->radius(), 0));
  } else if (auto* t = AcDbText::cast(&e)) {
    x.add(t->position());
  } else if (auto* d = AcDbDimension::cast(&e)) {
    x.add(d->xLine1Point());
    x.add(d->xLine2Point());
    x.add(d->dimLinePoint());
    x.add(d->textPosition());
  }
}

class Canvas {
 public:
  Canvas(const Extent& x, int cols, int rows) : m_cols(cols), m_rows(rows), m_cells(rows, std::string(cols, ' ')) {
    // A character cell is about twice as high as it is wide.
    double w = std::max(x.maxX - x.minX, 1e-9), h = std::max(x.maxY - x.minY, 1e-9);
    m_scale = std::min((cols - 1) / w, 2.0 * (rows - 1) / h);
    m_x0 = x.minX;
    m_y0 = x.minY;
  }
  void plot(double x, double y, char c) {
    int col = static_cast<int>(std::lround((x - m_x0) * m_scale));
    int row = m_rows - 1 - static_cast<int>(std::lround((y - m_y0) * m_scale / 2.0));
    if (col >= 0 && col < m_cols && row >= 0 && row < m_rows) m_cells[row][col] = c;
  }
  void line(const AcGePoint3d& a, const AcGePoint3d& b) {
    double dx = b.x - a.x, dy = b.y - a.y;
    char c = std::fabs(dy) * 2 < std::fabs(dx) * 0.5 ? '-' : std::fabs(dx) < std::fabs(dy) * 2 * 0.25 ? '|' : dx * dy > 0 ? '/' : '\\';
    int steps = std::max(1, static_cast<int>(std::hypot(dx, dy) * m_scale * 2));
    for (int i = 0; i <= steps; ++i) plot(a.x + dx * i / steps, a.y + dy * i / steps, c);
  }
  // Text laid out along the x axis from (x, y), one character per cell.
  void text(double x, double y, const std::string& s) {
    int col = static_cast<int>(std::lround((x - m_x0) * m_scale));
    int row = m_rows - 1 - static_cast<int>(std::lround((y - m_y0) * m_scale / 2.0));
    if (row < 0 || row >= m_rows) return;
    for (size_t i = 0; i < s.size(); ++i)
      if (col + static_cast<int>(i) >= 0 && col + static_cast<int>(i) < m_cols) m_cells[row][col + i] = s[i];
  }
  double scale() const { return m_scale; }
  std::string str() const {
    std::string s;
    for (const std::string& row : m_cells) {
      size_t end = row.find_last_not_of(' ');
      s += (end == std::string::npos ? std::string() : row.substr(0, end + 1)) + "\n";
    }
    return s;
  }

 private:
  int m_cols, m_rows;
  std::vector<std::string> m_cells;
  double m_scale, m_x0, m_y0;
};

void Draw(const AcDbEntity& e, Canvas& canvas) {
  if (auto* m = AcDbMText::cast(&e)) {
    mtext::Layout layout = mtext::LayOut(*m);
    // The lines of text from the top left corner down, a row (two height units) apart at the least.
    const AcGePoint3d& top = layout.corners[3];
    double step = std::max(m->textHeight() * 5.0 / 3.0, 2.0 / canvas.scale());
    for (size_t i = 0; i < layout.lines.size(); ++i) canvas.text(top.x, top.y - step * static_cast<double>(i), layout.lines[i].text());
  } else if (auto* l = AcDbLine::cast(&e)) {
    canvas.line(l->startPoint(), l->endPoint());
  } else if (auto* c = AcDbCircle::cast(&e)) {
    for (int i = 0; i < 72; ++i) {
      double a = i * M_PI / 36;
      canvas.plot(c->center().x + c->radius() * std::cos(a), c->center().y + c->radius() * std::sin(a), 'o');
    }
  } else if (auto* t = AcDbText::cast(&e)) {
    canvas.text(t->position().x, t->position().y, t->textStringConst());
  } else if (auto* d = AcDbDimension::cast(&e)) {
    AcGePoint3d p1 = d->xLine1Point(), p2 = d->xLine2Point(), d2 = d->dimLinePoint();
    AcGePoint3d d1(p1.x + d2.x - p2.x, p1.y + d2.y - p2.y, p1.z);
    canvas.line(p1, d1);
    canvas.line(p2, d2);
    canvas.line(d1, d2);
    char* text = d->dimensionText();
    std::string shown = *text ? text : "<>";
    delete[] text;
    size_t at = shown.find("<>");
    if (at != std::string::npos) {
      char value[32];
      std::snprintf(value, sizeof value, "%g", d->measurement());
      shown.replace(at, 2, value);
    }
    canvas.text(d->textPosition().x - static_cast<double>(shown.size()) / 2 / canvas.scale(), d->textPosition().y, shown);
  }
}

}  // namespace

std::string DrawingPicture(AcDbDatabase& db, int cols, int rows) {
  AcDbObjectId space = db.tilemode() ? db.impl().modelSpace : db.impl().paperSpace;
  std::vector<const AcDbEntity*> entities;
  if (!space.isNull())
    for (const AcDbObjectId& id : static_cast<AcDbBlockTableRecord*>(space.stub()->object.get())->entityIds())
      if (!id.isErased()) entities.push_back(static_cast<const AcDbEntity*>(id.stub()->object.get()));
  Extent extent;
  for (const AcDbEntity* e : entities) AddExtent(*e, extent);
  if (extent.empty()) return "(nothing in this space)\n";
  Canvas canvas(extent, cols, rows);
  for (const AcDbEntity* e : entities) Draw(*e, canvas);
  return canvas.str();
}

}  // namespace qhost
