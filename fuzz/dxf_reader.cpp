// Fuzz target: any bytes either load as a drawing that saves back to the same bytes, or are refused;
// a loaded drawing whose texts and dimensions are changed saves to a drawing that loads again.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "dbdim.h"
#include "dbmtext.h"
#include "dbsymtb.h"
#include "qplatform/Drawing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  qhost::DrawingLoad load = qhost::LoadDrawingFromBytes(bytes, "fuzz.dxf");
  if (!load.database) {
    if (load.error.empty()) std::abort();
    return 0;
  }
  if (qhost::DrawingToBytes(*load.database) != bytes) std::abort();

  // Change every multiline text and dimension (its block follows) and add a text: the result
  // must load again.
  AcDbBlockTable* table = nullptr;
  if (load.database->getBlockTable(table, AcDb::kForRead) != Acad::eOk) std::abort();
  AcDbBlockTableRecord* space = nullptr;
  table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForWrite);
  table->close();
  if (space == nullptr) std::abort();
  for (AcDbObjectId id : space->entityIds()) {
    AcDbDimension* d = nullptr;
    if (acdbOpenObject(d, id, AcDb::kForWrite) == Acad::eOk) {
      d->setDimensionText("<>^\n\\U+2248x");
      d->recomputeDimBlock();
      d->close();
      continue;
    }
    AcDbMText* m = nullptr;
    if (acdbOpenObject(m, id, AcDb::kForWrite) != Acad::eOk) continue;
    std::string contents = std::string(m->contentsConst()) + "^\n\\U+2248" + std::string(300, 'x');
    m->setContents(contents.c_str());
    m->setRotation(1.0);
    m->close();
  }
  auto* added = new AcDbMText();
  added->setContents("new");
  space->appendAcDbEntity(added);
  added->close();
  space->close();
  qhost::DrawingLoad again = qhost::LoadDrawingFromBytes(qhost::DrawingToBytes(*load.database), "again.dxf");
  if (!again.database) std::abort();
  return 0;
}
