// The database's inner bookkeeping: object stubs and the database's own record (private).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "dbmain.h"
#include "dbsymtb.h"

namespace qhost::dxf {
struct EntitySource;
struct Image;
}  // namespace qhost::dxf

// What an object id points at: the object, its handle, its open state and where it came from.
class AcDbStub {
 public:
  AcDbStub();
  ~AcDbStub();
  AcDbDatabase* db = nullptr;
  std::unique_ptr<AcDbObject> object;
  AcDbHandle handle;
  long serial = 0;  // the first word of the entity name
  int readers = 0;
  bool writer = false;
  bool erased = false;
  bool modified = false;
  // The entity's groups in the loaded file; null for objects added since.
  std::unique_ptr<qhost::dxf::EntitySource> source;
};

struct AcDbDatabase::Impl {
  explicit Impl(AcDbDatabase* db);
  ~Impl();

  // Makes `obj` a resident of the database with `handle` (a fresh one when null). Objects the
  // file does not hold (tables, records made up for a file that lacks them) are `internal`:
  // their handles come from the top of the range, so the file's next handle stays free.
  AcDbObjectId add(AcDbObject* obj, AcDbObjectId owner, AcDbHandle handle, bool internal = false);
  AcDbHandle issueHandle();
  AcDbStub* find(uint64_t handle) const;

  AcDbDatabase* self;
  std::vector<std::unique_ptr<AcDbStub>> stubs;
  std::unordered_map<uint64_t, AcDbStub*> byHandle;
  AcDbObjectId styleTable, blockTable, modelSpace, paperSpace;
  AcDbObjectId dimStyleTable;
  uint64_t nextHandle = 1;
  uint64_t nextInternalHandle = UINT64_MAX;

  // Header values behind the system variables.
  AcDbObjectId textstyle;
  double textsize = 2.5;
  bool tilemode = true;
  short lunits = 2;
  short luprec = 4;

  // The file the drawing was loaded from, kept for saving it back.
  std::unique_ptr<qhost::dxf::Image> image;
};

// Sets one field of an object open for write (or not yet in a database).
#define QHOST_SET(field, value)                                       \
  if (auto es = assertWriteEnabled(); es != Acad::eOk) return es; \
  field = value;                                                      \
  return Acad::eOk

namespace qhost::detail {
// Adds a record named `name` to a table (the loader's way in, whatever the open state).
AcDbObjectId AddRecord(AcDbDatabase& db, AcDbObjectId table, AcDbSymbolTableRecord* record, const std::string& name,
                       AcDbHandle handle);
}  // namespace qhost::detail
