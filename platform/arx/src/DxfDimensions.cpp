// What the database knows of dimensions, read from the DIMSTYLE table, the dimensions' extended
// data and the BLOCKS section.
#include "arx/src/DxfDimensions.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>

#include "arx/src/DbInternals.h"
#include "arx/src/DxfEntities.h"
#include "dbdim.h"
#include "dbsymtb.h"

namespace qhost::detail {

// The loader's way into a dimension.
struct DimensionLoader {
  static void SetOverride(AcDbDimension& d, int code, double value) { d.m_overrides[code] = value; }
  static void SetTextStyleOverride(AcDbDimension& d, AcDbObjectId id) { d.m_txstyOverride = id; }
  static void SetStyle(AcDbDimension& d, AcDbObjectId id) { d.m_style = id; }
  static void SetBlock(AcDbDimension& d, AcDbObjectId id) { d.m_block = id; }
  static void SetDrawnText(AcDbDimension& d) { d.m_drawnText = d.m_text; }
};

}  // namespace qhost::detail

namespace qhost::dxf {
namespace {

constexpr int kDimtxsty = 340;  // the text style: a handle

double Number(const Image& img, const Group& g) {
  double v = std::strtod(img.trimmed(g).c_str(), nullptr);
  return std::isfinite(v) ? v : 0.0;
}

// An integer value; one that no 16-bit group holds counts as `fallback`.
int Integer(const Image& img, const Group& g, int fallback) {
  double v = Number(img, g);
  return v >= -32768 && v <= 32767 ? static_cast<int>(v) : fallback;
}

uint64_t Handle(const Image& img, const Group& g) { return AcDbHandle(img.trimmed(g).c_str()).value(); }

// The object with handle `h` when it is of class `cls`, else null.
AcDbObjectId ObjectOf(const AcDbDatabase::Impl& impl, uint64_t h, AcRxClass* cls) {
  AcDbStub* stub = impl.find(h);
  return stub && stub->object && stub->object->isKindOf(cls) ? AcDbObjectId(stub) : AcDbObjectId();
}

// The index of a text style name in the names loaded entities resolved to (see EntitySource::style).
uint32_t StyleIndex(Image& img, const std::string& style) {
  auto it = std::find(img.styleNames.begin(), img.styleNames.end(), style);
  if (it != img.styleNames.end()) return static_cast<uint32_t>(it - img.styleNames.begin());
  img.styleNames.push_back(style);
  return static_cast<uint32_t>(img.styleNames.size() - 1);
}

AcDbSymbolTable& Table(AcDbObjectId id) { return *static_cast<AcDbSymbolTable*>(id.stub()->object.get()); }

// One DIMSTYLE record: its name, handle (group 105, or 5 in older files) and the variables modelled.
void AddDimStyle(AcDbDatabase& db, const Image& img, const EntitySource& r, std::vector<uint32_t>& misfits) {
  auto& impl = db.impl();
  auto* rec = new AcDbDimStyleTableRecord();
  std::string name;
  uint64_t handle = 0;
  std::vector<Group> gs;
  img.GroupsOf(r, gs);
  for (size_t i = 1; i < gs.size(); ++i) {
    const Group& k = gs[i];
    switch (k.code) {
      case 2:
        if (!DecodeText(img.codec, img.trimmed(k), name)) misfits.push_back(k.line + 1);
        break;
      case 5:
      case 105: handle = Handle(img, k); break;
      case 140: rec->setDimtxt(Number(img, k)); break;
      case 40: rec->setDimscale(Number(img, k)); break;
      case 147: rec->setDimgap(Number(img, k)); break;
      case kDimtxsty: rec->setDimtxsty(ObjectOf(impl, Handle(img, k), AcDbTextStyleTableRecord::desc())); break;
      case 178: {
        AcCmColor color;
        int index = Integer(img, k, -1);
        if (index >= 0 && color.setColorIndex(static_cast<std::uint16_t>(index))) rec->setDimclrt(color);
        break;
      }
      case 271: rec->setDimdec(Integer(img, k, rec->dimdec())); break;
      case 277: rec->setDimlunit(Integer(img, k, rec->dimlunit())); break;
      default: break;
    }
  }
  if (name.empty() || Table(impl.dimStyleTable).has(name.c_str())) {
    delete rec;
    return;
  }
  detail::AddRecord(db, impl.dimStyleTable, rec, name, UnusedHandle(impl, handle));
}

// The ACAD DSTYLE extended data: 1001 "ACAD", 1000 "DSTYLE", 1002 "{", pairs of a 1070 variable
// code and its value (1040 a real, 1070 an integer, 1005 a handle), 1002 "}".
void ReadOverrides(AcDbDatabase& db, const Image& img, const std::vector<Group>& gs, AcDbDimension& d) {
  const size_t end = gs.size();
  size_t k = 1;
  while (k < end && !(gs[k].code == 1001 && img.trimmed(gs[k]) == "ACAD")) ++k;
  if (k + 2 >= end || gs[k + 1].code != 1000 || img.word(gs[k + 1]) != "DSTYLE" || gs[k + 2].code != 1002)
    return;
  for (k += 3; k + 1 < end && gs[k].code == 1070; k += 2) {
    int code = Integer(img, gs[k], 0);
    const Group& v = gs[k + 1];
    if (v.code == 1005 && code == kDimtxsty)
      detail::DimensionLoader::SetTextStyleOverride(
          d, ObjectOf(db.impl(), Handle(img, v), AcDbTextStyleTableRecord::desc()));
    else if (v.code == 1040 || v.code == 1070)
      detail::DimensionLoader::SetOverride(d, code, Number(img, v));
  }
}

}  // namespace

std::map<std::string, std::vector<EntitySource>> ReadBlockTexts(const Image& img, const EntitySource& section,
                                                                const std::set<std::string>* wanted) {
  std::map<std::string, std::vector<EntitySource>> blocks;
  std::vector<EntitySource>* current = nullptr;
  EntitySource* text = nullptr;  // the text record being read, which ends at the next group 0
  bool blockStarts = false;      // in a BLOCK record, before its name (group 2)
  uint32_t line = section.line;
  for (size_t pos = section.begin; pos < section.end; line += 2) {
    Group g = img.GroupAt(pos, line);
    if (g.end <= pos) break;
    pos = g.end;
    if (g.code != 0) {
      if (blockStarts && g.code == 2) {
        std::string name = img.word(g);
        if (!wanted || wanted->count(name)) current = &blocks[name];
        blockStarts = false;
      }
      if (text != nullptr) text->end = g.end;
      continue;
    }
    text = nullptr;
    blockStarts = false;
    if (img.is(g, "BLOCK")) {
      current = nullptr;
      blockStarts = true;
    } else if (img.is(g, "ENDBLK")) {
      current = nullptr;
    } else if (current != nullptr && (img.is(g, "MTEXT") || img.is(g, "TEXT"))) {
      current->push_back({g.codeBegin, g.end, g.line, 0});
      text = &current->back();
    }
  }
  return blocks;
}

AcDbObjectId AddBlock(AcDbDatabase& db, Image& img, const std::string& name,
                      const std::vector<EntitySource>& entities, std::vector<uint32_t>& misfits) {
  auto& impl = db.impl();
  // A block named twice is one block; model and paper space draw no dimension.
  AcDbObjectId existing;
  if (Table(impl.blockTable).getAt(name.c_str(), existing) == Acad::eOk)
    return existing == impl.modelSpace || existing == impl.paperSpace ? AcDbObjectId() : existing;
  AcDbObjectId id = detail::AddRecord(db, impl.blockTable, new AcDbBlockTableRecord(), name, {});
  StyleLookup styleByName = [&](const std::string& style) {
    AcDbObjectId styleId;
    Table(impl.styleTable).getAt(style.empty() ? "Standard" : style.c_str(), styleId);
    if (styleId.isNull()) Table(impl.styleTable).getAt("Standard", styleId);
    return styleId;
  };
  std::vector<Group> gs;
  for (const EntitySource& e : entities) {
    img.GroupsOf(e, gs);
    EntityReader r{img, img.word(gs[0]), gs, {}, {}};
    AcDbEntity* entity = ReadEntity(r, styleByName);
    // A block's text that cannot be read stays in the file as it is, unmodelled.
    if (entity == nullptr) continue;
    misfits.insert(misfits.end(), r.misfits.begin(), r.misfits.end());
    size_t at;
    AcDbObjectId entityId = impl.add(entity, id, UnusedHandle(impl, r.Find(5, at) ? Handle(img, gs[at]) : 0));
    auto source = std::make_unique<EntitySource>(e);
    source->style = StyleIndex(img, StyleOf(*entity));
    entityId.stub()->source = std::move(source);
    detail::EntityList(*static_cast<AcDbBlockTableRecord*>(id.stub()->object.get())).push_back(entityId);
  }
  return id;
}

void LoadDimensionModel(AcDbDatabase& db, Image& img, const std::vector<EntitySource>& dimStyles,
                        const EntitySource& blocksSection, std::vector<uint32_t>& misfits) {
  auto& impl = db.impl();
  impl.dimStyleTable = impl.add(new AcDbDimStyleTable(), AcDbObjectId(), AcDbHandle(), true);
  for (const EntitySource& r : dimStyles) AddDimStyle(db, img, r, misfits);
  std::vector<Group> gs;

  // Blocks add objects: the dimensions are listed first, with the blocks they name.
  std::vector<AcDbStub*> dimensions;
  std::set<std::string> names;
  for (const auto& stub : impl.stubs) {
    if (!stub->source || !AcDbDimension::cast(stub->object.get())) continue;
    dimensions.push_back(stub.get());
    img.GroupsOf(*stub->source, gs);
    EntityReader r{img, "DIMENSION", gs, {}, {}};
    names.insert(Upper(r.Text(2)));
  }
  std::map<std::string, std::vector<EntitySource>> blocks;
  if (!dimensions.empty()) blocks = ReadBlockTexts(img, blocksSection, &names);
  for (AcDbStub* stub : dimensions) {
    auto* d = AcDbDimension::cast(stub->object.get());
    img.GroupsOf(*stub->source, gs);
    EntityReader r{img, "DIMENSION", gs, {}, {}};
    AcDbObjectId style;
    Table(impl.dimStyleTable).getAt(r.Text(3).c_str(), style);
    detail::DimensionLoader::SetStyle(*d, style);
    ReadOverrides(db, img, gs, *d);
    detail::DimensionLoader::SetDrawnText(*d);
    std::string block = r.Text(2);
    auto it = blocks.find(Upper(block));
    if (!block.empty() && it != blocks.end())
      detail::DimensionLoader::SetBlock(*d, AddBlock(db, img, block, it->second, misfits));
    misfits.insert(misfits.end(), r.misfits.begin(), r.misfits.end());
  }
}

}  // namespace qhost::dxf
