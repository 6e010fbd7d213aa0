// The entities the database models, read from their DXF groups and turned back into values.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "arx/src/DbInternals.h"
#include "arx/src/DxfEntities.h"
#include "dbdim.h"
#include "dbents.h"
#include "dbmtext.h"

namespace qhost::dxf {
namespace {

constexpr int kText = 1;
constexpr int kChunked = 2;

std::string Int(long v) { return std::to_string(v); }

std::string StyleName(AcDbObjectId id) {
  if (id.isNull() || id.stub()->object == nullptr) return "Standard";
  const char* name = nullptr;
  static_cast<AcDbSymbolTableRecord*>(id.stub()->object.get())->getName(name);
  return name;
}

void Point(std::vector<Field>& f, int code, const AcGePoint3d& p, int after) {
  f.push_back({code, FormatReal(p.x), after, 0});
  f.push_back({code + 10, FormatReal(p.y), code, 0});
  f.push_back({code + 20, FormatReal(p.z), code + 10, 0});
}

}  // namespace

bool EntityReader::Find(int code, size_t& at) const {
  for (size_t i = 1; i < groups.size(); ++i) {
    int c = groups[i].code;
    if (c == 101 || c >= 1000) break;
    if (c == code) {
      at = i;
      return true;
    }
  }
  return false;
}

bool EntityReader::Has(int code) const {
  size_t at;
  return Find(code, at);
}

double EntityReader::Real(int code, double fallback) {
  size_t at;
  if (!Find(code, at)) return fallback;
  std::string v = image.value(groups[at]);
  double d = 0.0;
  if (!ParseReal(v, d)) {
    if (error.empty())
      error = "line " + std::to_string(groups[at].line + 1) + ": a number was expected for group " +
              std::to_string(code) + " of " + type + ", found \"" + Shown(v.substr(0, 40)) + "\"";
    return fallback;
  }
  return d;
}

long EntityReader::Integer(int code, long fallback) {
  double d = Real(code, static_cast<double>(fallback));
  // A value no 16-bit or 32-bit group can hold means nothing: the default stands.
  return d >= -2147483648.0 && d <= 2147483647.0 ? static_cast<long>(d) : fallback;
}

AcGePoint3d EntityReader::Point(int code) { return AcGePoint3d(Real(code, 0), Real(code + 10, 0), Real(code + 20, 0)); }

std::string EntityReader::Text(size_t at) {
  std::string memory;
  if (!DecodeText(image.codec, image.value(groups[at]), memory)) misfits.push_back(groups[at].line + 1);
  return memory;
}

std::string EntityReader::Text(int code) {
  size_t at;
  return Find(code, at) ? Text(at) : std::string();
}

// Multiline text: every group 3 and then the group 1, in file order. Caret escapes are decoded
// in the whole text, as it is read: a caret that ends a group 3 pairs with what follows.
std::string EntityReader::Contents() {
  std::string contents;
  for (size_t i = 1; i < groups.size(); ++i) {
    int c = groups[i].code;
    if (c == 101 || c >= 1000) break;
    if (c != 1 && c != 3) continue;
    std::string converted;
    if (!image.codec.Decode(image.value(groups[i]), converted)) misfits.push_back(groups[i].line + 1);
    contents += converted;
    if (c == 1) break;
  }
  return NulsEscaped(DecodeCarets(contents));
}

AcDbEntity* ReadEntity(EntityReader& r, const StyleLookup& styleByName) {
  AcDbEntity* entity = nullptr;
  if (r.type == "MTEXT") {
    auto* m = new AcDbMText();
    m->setLocation(r.Point(10));
    m->setTextHeight(r.Real(40, 2.5) > 0 ? r.Real(40, 2.5) : 2.5);
    m->setWidth(r.Real(41, 0.0));
    long att = r.Integer(71, 1);
    m->setAttachment(static_cast<AcDbMText::AttachmentPoint>(att >= 1 && att <= 9 ? att : 1));
    m->setContents(r.Contents().c_str());
    m->setTextStyle(styleByName(r.Text(7)));
    if (r.Has(50))
      m->setRotation(r.Real(50, 0.0));
    else if (r.Has(11))
      m->setRotation(std::atan2(r.Real(21, 0.0), r.Real(11, 1.0)));
    long lss = r.Integer(73, 1);
    m->setLineSpacingStyle(lss == 2 ? AcDb::kExactly : AcDb::kAtLeast);
    double lsf = r.Real(44, 1.0);
    m->setLineSpacingFactor(lsf >= 0.25 && lsf <= 4.0 ? lsf : 1.0);
    entity = m;
  } else if (r.type == "LINE") {
    entity = new AcDbLine(r.Point(10), r.Point(11));
  } else if (r.type == "CIRCLE") {
    auto* c = new AcDbCircle();
    c->setCenter(r.Point(10));
    double radius = r.Real(40, 0.0);
    if (radius > 0) c->setRadius(radius);
    entity = c;
  } else if (r.type == "TEXT") {
    auto* t = new AcDbText();
    t->setPosition(r.Point(10));
    t->setAlignmentPoint(r.Point(11));
    t->setHeight(r.Real(40, 2.5));
    t->setTextString(r.Text(1).c_str());
    t->setRotation(r.Real(50, 0.0) * M_PI / 180.0);
    t->setWidthFactor(r.Real(41, 1.0));
    long h = r.Integer(72, 0);
    t->setHorizontalMode(static_cast<AcDb::TextHorzMode>(h >= 0 && h <= 5 ? h : 0));
    t->setTextStyle(styleByName(r.Text(7)));
    entity = t;
  } else if (r.type == "DIMENSION") {
    AcDbDimension* d = nullptr;
    switch (r.Integer(70, 0) & 7) {
      case 1: d = new AcDbAlignedDimension(); break;
      case 2: d = new AcDb2LineAngularDimension(); break;
      case 3: d = new AcDbDiametricDimension(); break;
      case 4: d = new AcDbRadialDimension(); break;
      case 5: d = new AcDb3PointAngularDimension(); break;
      case 6: d = new AcDbOrdinateDimension(); break;
      default: d = new AcDbRotatedDimension(); break;
    }
    d->setDimLinePoint(r.Point(10));
    d->setTextPosition(r.Point(11));
    d->setXLine1Point(r.Point(13));
    d->setXLine2Point(r.Point(14));
    d->setMeasurement(r.Real(42, 0.0));
    d->setDimensionText(r.Text(1).c_str());
    entity = d;
  }
  if (entity != nullptr) {
    entity->setLayer(r.Text(8).c_str());
    if (!r.error.empty()) {
      delete entity;
      return nullptr;
    }
  }
  return entity;
}

bool IsPaperSpace(EntityReader& r) { return r.Integer(67, 0) == 1; }

std::vector<Field> FieldsOf(const AcDbEntity& entity, bool directionVector) {
  std::vector<Field> f;
  if (auto* m = AcDbMText::cast(&entity)) {
    Point(f, 10, m->location(), 0);
    f.push_back({40, FormatReal(m->textHeight()), 30, 0});
    f.push_back({41, FormatReal(m->width()), 40, 0});
    f.push_back({71, Int(m->attachment()), 41, 0});
    f.push_back({1, m->contentsConst(), 71, kChunked});
    f.push_back({7, StyleName(m->textStyle()), 1, kText});
    if (directionVector) {
      f.push_back({11, FormatReal(std::cos(m->rotation())), 7, 0});
      f.push_back({21, FormatReal(std::sin(m->rotation())), 11, 0});
    } else {
      f.push_back({50, FormatReal(m->rotation()), 7, 0});
    }
    f.push_back({73, Int(m->lineSpacingStyle()), directionVector ? 21 : 50, 0});
    f.push_back({44, FormatReal(m->lineSpacingFactor()), 73, 0});
  } else if (auto* l = AcDbLine::cast(&entity)) {
    Point(f, 10, l->startPoint(), 0);
    Point(f, 11, l->endPoint(), 30);
  } else if (auto* c = AcDbCircle::cast(&entity)) {
    Point(f, 10, c->center(), 0);
    f.push_back({40, FormatReal(c->radius()), 30, 0});
  } else if (auto* t = AcDbText::cast(&entity)) {
    Point(f, 10, t->position(), 0);
    f.push_back({40, FormatReal(t->height()), 30, 0});
    f.push_back({1, t->textStringConst(), 40, kText});
    f.push_back({50, FormatReal(t->rotation() * 180.0 / M_PI), 1, 0});
    f.push_back({41, FormatReal(t->widthFactor()), 50, 0});
    f.push_back({7, StyleName(t->textStyle()), 41, kText});
    f.push_back({72, Int(t->horizontalMode()), 7, 0});
    Point(f, 11, t->alignmentPoint(), 72);
  } else if (auto* d = AcDbDimension::cast(&entity)) {
    char* text = d->dimensionText();
    f.push_back({1, text, 70, kText});
    delete[] text;
  }
  return f;
}

std::vector<Field> LoadedFields(const Image& image, const EntitySource& source, const std::vector<Group>& groups) {
  EntityReader r{image, image.word(groups[0]), groups, {}, {}};
  // The style as the entity resolved it when loaded: the style table may have changed since.
  std::unique_ptr<AcDbEntity> entity(ReadEntity(r, [](const std::string&) { return AcDbObjectId(); }));
  if (!entity) return {};
  std::vector<Field> fields = FieldsOf(*entity, r.type == "MTEXT" && !r.Has(50) && r.Has(11));
  for (Field& f : fields)
    if (f.code == 7) f.value = image.styleNames[source.style];
  return fields;
}

std::string StyleOf(const AcDbEntity& entity) {
  if (auto* m = AcDbMText::cast(&entity)) return StyleName(m->textStyle());
  if (auto* t = AcDbText::cast(&entity)) return StyleName(t->textStyle());
  return "";
}

const char* TypeName(const AcDbEntity& entity) {
  if (AcDbMText::cast(&entity)) return "MTEXT";
  if (AcDbLine::cast(&entity)) return "LINE";
  if (AcDbCircle::cast(&entity)) return "CIRCLE";
  if (AcDbText::cast(&entity)) return "TEXT";
  if (AcDbDimension::cast(&entity)) return "DIMENSION";
  return nullptr;
}

const char* SubclassName(const AcDbEntity& entity) {
  if (AcDbMText::cast(&entity)) return "AcDbMText";
  if (AcDbLine::cast(&entity)) return "AcDbLine";
  if (AcDbCircle::cast(&entity)) return "AcDbCircle";
  if (AcDbText::cast(&entity)) return "AcDbText";
  return "AcDbDimension";
}

}  // namespace qhost::dxf
