// What a pick hits, and how the host describes entities (LIST) and the whole drawing.
#include <cmath>
#include <cstdio>

#include "arx/src/DbInternals.h"
#include "dbdim.h"
#include "dbents.h"
#include "dbmtext.h"
#include "dbsymtb.h"
#include "qplatform/Drawing.h"
#include "qplatform/Host.h"
#include "qplatform/MText.h"

namespace qhost {
namespace {

double& Aperture() {
  static double aperture = 0.5;
  return aperture;
}

double DistanceToSegment(const AcGePoint3d& p, const AcGePoint3d& a, const AcGePoint3d& b) {
  double dx = b.x - a.x, dy = b.y - a.y;
  double len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0.0;
  t = std::max(0.0, std::min(1.0, t));
  return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// A single-line text's extent: the host's layout of its string at its height.
mtext::Layout TextLayout(const AcDbText& t) {
  mtext::LayoutParams p;
  p.height = t.height() > 0 ? t.height() : 2.5;
  p.rotation = t.rotation();
  p.attachment = 7;  // bottom left: the position is on the baseline
  p.location = t.position();
  return mtext::LayOut(t.textStringConst(), p);
}

bool Hits(const AcDbEntity& e, const AcGePoint3d& p, double aperture) {
  if (auto* m = AcDbMText::cast(&e)) return mtext::LayOut(*m).contains(p, aperture);
  if (auto* l = AcDbLine::cast(&e)) return DistanceToSegment(p, l->startPoint(), l->endPoint()) <= aperture;
  if (auto* c = AcDbCircle::cast(&e))
    return std::fabs(std::hypot(p.x - c->center().x, p.y - c->center().y) - c->radius()) <= aperture;
  if (auto* t = AcDbText::cast(&e)) return TextLayout(*t).contains(p, aperture);
  if (auto* d = AcDbDimension::cast(&e)) {
    // Its text, its extension lines and its dimension line (through the point it keeps, parallel
    // to the extension line origins).
    AcGePoint3d tp = d->textPosition();
    if (std::hypot(p.x - tp.x, p.y - tp.y) <= aperture + 2.5) return true;
    AcGePoint3d p1 = d->xLine1Point(), p2 = d->xLine2Point(), d2 = d->dimLinePoint();
    AcGePoint3d d1(p1.x + d2.x - p2.x, p1.y + d2.y - p2.y, p1.z);
    return DistanceToSegment(p, p1, d1) <= aperture || DistanceToSegment(p, p2, d2) <= aperture ||
           DistanceToSegment(p, d1, d2) <= aperture;
  }
  return false;
}

std::string Real(double v) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.6g", v);
  return buf;
}

std::string Point(const AcGePoint3d& p) { return "(" + Real(p.x) + ", " + Real(p.y) + ", " + Real(p.z) + ")"; }

std::string StyleName(AcDbObjectId id) {
  if (id.isNull() || id.stub()->object == nullptr) return "Standard";
  const char* name = nullptr;
  static_cast<AcDbSymbolTableRecord*>(id.stub()->object.get())->getName(name);
  return name;
}

std::string Indented(const std::string& text) {
  std::string out = "    ";
  for (char c : text) {
    out += c;
    if (c == '\n') out += "    ";
  }
  return out;
}

}  // namespace

double PickAperture() { return Aperture(); }
void SetPickAperture(double units) { Aperture() = units; }

AcDbObjectId EntityAt(AcDbDatabase& db, const AcGePoint3d& point, double aperture) {
  AcDbObjectId space = db.tilemode() ? db.impl().modelSpace : db.impl().paperSpace;
  if (space.isNull()) return AcDbObjectId();
  const auto& ids = static_cast<AcDbBlockTableRecord*>(space.stub()->object.get())->entityIds();
  // The entity drawn last lies on top.
  for (auto it = ids.rbegin(); it != ids.rend(); ++it) {
    if (it->isErased()) continue;
    if (Hits(*static_cast<AcDbEntity*>(it->stub()->object.get()), point, aperture)) return *it;
  }
  return AcDbObjectId();
}

// A dimension's block: its name and what its text shows.
std::string BlockTextDescription(AcDbObjectId block) {
  if (block.isNull() || block.stub()->object == nullptr) return "none";
  auto* record = static_cast<AcDbBlockTableRecord*>(block.stub()->object.get());
  const char* name = nullptr;
  record->getName(name);
  std::string s = "\"" + std::string(name) + "\"  Text: ";
  for (const AcDbObjectId& id : record->entityIds()) {
    AcDbObject* object = id.stub()->object.get();
    if (auto* m = AcDbMText::cast(object)) return s + m->contentsConst();
    if (auto* t = AcDbText::cast(object)) return s + t->textStringConst();
  }
  return s + "none";
}

std::string DescribeEntity(AcDbObjectId id) {
  if (id.isNull() || id.stub()->object == nullptr) return "";
  auto* e = AcDbEntity::cast(id.stub()->object.get());
  if (e == nullptr) return "";
  char handle[24];
  id.handle().getIntoAsciiBuffer(handle);
  AcDbDatabase* db = id.database();
  std::string space = db && e->ownerId() == db->impl().paperSpace ? "Paper space" : "Model space";
  std::string s = std::string(e->isA()->name()) + "  Layer: \"" + e->layer() + "\"  Space: " + space +
                  "  Handle = " + handle + "\n";
  if (auto* m = AcDbMText::cast(e)) {
    s += "  Location: " + Point(m->location()) + "  Height: " + Real(m->textHeight()) + "  Width: " + Real(m->width()) +
         "\n  Rotation: " + Real(m->rotation()) + "  Attachment: " + std::to_string(m->attachment()) + "  Style: \"" +
         StyleName(m->textStyle()) + "\"\n  Line spacing: style " + std::to_string(m->lineSpacingStyle()) +
         ", factor " + Real(m->lineSpacingFactor()) + "\n  Contents: " + m->contentsConst() + "\n  Text:\n" +
         Indented(mtext::LayOut(*m).text()) + "\n";
  } else if (auto* l = AcDbLine::cast(e)) {
    s += "  From: " + Point(l->startPoint()) + "  To: " + Point(l->endPoint()) + "\n";
  } else if (auto* c = AcDbCircle::cast(e)) {
    s += "  Center: " + Point(c->center()) + "  Radius: " + Real(c->radius()) + "\n";
  } else if (auto* t = AcDbText::cast(e)) {
    s += "  Position: " + Point(t->position()) + "  Height: " + Real(t->height()) + "  Style: \"" +
         StyleName(t->textStyle()) + "\"\n  Text: " + t->textStringConst() + "\n";
  } else if (auto* d = AcDbDimension::cast(e)) {
    char* text = d->dimensionText();
    s += "  Text position: " + Point(d->textPosition()) + "  Measurement: " + Real(d->measurement()) +
         "\n  Override text: " + text + "\n";
    delete[] text;
    s += "  Dimension style: \"" + StyleName(d->dimensionStyle()) +
         "\"  Text height: " + Real(d->dimtxt()) + "  Scale: " + Real(d->dimscale()) + "\n";
    s += "  Block: " + BlockTextDescription(d->dimBlockId()) + "\n";
  }
  return s;
}

std::string DrawingSnapshot(AcDbDatabase& db) {
  std::string s = "Drawing " + DrawingPath(db) + " (" + DrawingVersion(db) + ", " + DrawingEncoding(db) + ")\n";
  for (AcDbObjectId space : {db.impl().modelSpace, db.impl().paperSpace}) {
    if (space.isNull()) continue;
    for (const AcDbObjectId& id : static_cast<AcDbBlockTableRecord*>(space.stub()->object.get())->entityIds())
      if (!id.isErased()) s += DescribeEntity(id);
  }
  return s;
}

}  // namespace qhost
