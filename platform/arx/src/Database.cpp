// The database: objects and their open/close protocol, ids, entity names, symbol tables.
#include <cctype>
#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "arx/src/DbInternals.h"
#include "arx/src/DxfImage.h"
#include "arx/src/RxDefine.h"
#include "dbapserv.h"
#include "dbsymtb.h"
#include "qplatform/Drawing.h"

namespace {

// Entity names resolve through this table: the first word is the index of the stub.
std::vector<AcDbStub*>& StubsBySerial() {
  static std::vector<AcDbStub*> table{nullptr};
  return table;
}

bool SameName(const std::string& a, const char* b) {
  if (b == nullptr || a.size() != std::strlen(b)) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

char* CopyString(const std::string& s) {
  char* copy = new char[s.size() + 1];
  std::memcpy(copy, s.c_str(), s.size() + 1);
  return copy;
}

}  // namespace

// Opens the record `name` of a table as class T.
template <class T>
static Acad::ErrorStatus OpenRecord(const AcDbSymbolTable& table, const char* name, T*& rec, AcDb::OpenMode mode,
                                    bool openErased) {
  rec = nullptr;
  AcDbObjectId id;
  if (auto es = table.getAt(name, id, openErased); es != Acad::eOk) return es;
  return acdbOpenObject(rec, id, mode, openErased);
}

// Opens the iterator's current object as class T.
template <class T, class Iterator, class GetId>
static Acad::ErrorStatus OpenCurrent(const Iterator& it, GetId getId, T*& obj, AcDb::OpenMode mode, bool openErased) {
  obj = nullptr;
  AcDbObjectId id;
  if (auto es = (it.*getId)(id); es != Acad::eOk) return es;
  return acdbOpenObject(obj, id, mode, openErased);
}

AcDbStub::AcDbStub() {
  auto& table = StubsBySerial();
  serial = static_cast<long>(table.size());
  table.push_back(this);
}

AcDbStub::~AcDbStub() { StubsBySerial()[static_cast<size_t>(serial)] = nullptr; }

// --- Handles and ids ------------------------------------------------------------------

AcDbHandle::AcDbHandle(const char* hex) {
  uint64_t v = 0;
  if (hex == nullptr || *hex == '\0') return;
  for (const char* p = hex; *p; ++p) {
    int c = std::toupper(static_cast<unsigned char>(*p));
    int d = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    if (d < 0 || v > (UINT64_MAX >> 4)) return;
    v = (v << 4) | static_cast<uint64_t>(d);
  }
  m_value = v;
}

void AcDbHandle::getIntoAsciiBuffer(char* buffer) const { std::sprintf(buffer, "%" PRIX64, m_value); }

bool AcDbObjectId::isErased() const { return m_stub != nullptr && m_stub->erased; }
AcDbHandle AcDbObjectId::handle() const { return m_stub ? m_stub->handle : AcDbHandle(); }
AcDbDatabase* AcDbObjectId::database() const { return m_stub ? m_stub->db : nullptr; }

Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& objId, const ads_name objName) {
  objId.setNull();
  auto& table = StubsBySerial();
  if (objName[0] <= 0 || static_cast<size_t>(objName[0]) >= table.size() || objName[1] != 0) return Acad::eInvalidInput;
  AcDbStub* stub = table[static_cast<size_t>(objName[0])];
  if (stub == nullptr) return Acad::eInvalidInput;
  objId = AcDbObjectId(stub);
  return Acad::eOk;
}

Acad::ErrorStatus acdbGetAdsName(ads_name& objName, AcDbObjectId objId) {
  ads_name_clear(objName);
  if (objId.isNull()) return Acad::eNullObjectId;
  objName[0] = objId.stub()->serial;
  return Acad::eOk;
}

void acutDelString(char*& str) {
  delete[] str;
  str = nullptr;
}

// --- Open and close ---------------------------------------------------------------

Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& pObj, AcDbObjectId id, AcDb::OpenMode mode, bool openErased) {
  pObj = nullptr;
  AcDbStub* stub = id.stub();
  if (stub == nullptr) return Acad::eNullObjectId;
  if (stub->object == nullptr) return Acad::eWasErased;
  if (stub->erased && !openErased) return Acad::eWasErased;
  if (stub->writer) return Acad::eWasOpenForWrite;
  if (mode == AcDb::kForWrite) {
    if (stub->readers > 0) return Acad::eWasOpenForRead;
    stub->writer = true;
  } else {
    ++stub->readers;
  }
  pObj = stub->object.get();
  return Acad::eOk;
}

QHOST_DEFINE_MEMBERS(AcDbObject, AcRxObject)
QHOST_DEFINE_MEMBERS(AcDbEntity, AcDbObject)

AcDbObject::~AcDbObject() = default;

AcDbObjectId AcDbObject::objectId() const { return AcDbObjectId(m_stub); }
AcDbDatabase* AcDbObject::database() const { return m_stub ? m_stub->db : nullptr; }
void AcDbObject::getAcDbHandle(AcDbHandle& handle) const { handle = m_stub ? m_stub->handle : AcDbHandle(); }
Adesk::Boolean AcDbObject::isErased() const { return m_stub != nullptr && m_stub->erased; }
Adesk::Boolean AcDbObject::isReadEnabled() const { return m_stub == nullptr || m_stub->readers > 0 || m_stub->writer; }
Adesk::Boolean AcDbObject::isWriteEnabled() const { return m_stub == nullptr || m_stub->writer; }

void AcDbObject::attach(AcDbStub* stub, AcDbObjectId owner) {
  m_stub = stub;
  m_owner = owner;
}

Acad::ErrorStatus AcDbObject::close() {
  if (m_stub == nullptr) return Acad::eNotInDatabase;
  if (m_stub->writer) {
    m_stub->writer = false;
    return Acad::eOk;
  }
  if (m_stub->readers > 0) {
    --m_stub->readers;
    return Acad::eOk;
  }
  return Acad::eNotOpenForRead;
}

Acad::ErrorStatus AcDbObject::erase(Adesk::Boolean erasing) {
  if (m_stub == nullptr) return Acad::eNotInDatabase;
  if (!m_stub->writer) return Acad::eNotOpenForWrite;
  if (erasing == m_stub->erased) return erasing ? Acad::eWasErased : Acad::eWasNotErased;
  m_stub->erased = erasing;
  m_stub->modified = true;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::assertWriteEnabled() {
  if (m_stub == nullptr) return Acad::eOk;
  if (!m_stub->writer) return Acad::eNotOpenForWrite;
  m_stub->modified = true;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setLayer(const char* name) {
  if (auto es = assertWriteEnabled(); es != Acad::eOk) return es;
  m_layer = name ? name : "";
  return Acad::eOk;
}

// --- The database ----------------------------------------------------------------------

QHOST_DEFINE_MEMBERS(AcDbDatabase, AcRxObject)

AcDbDatabase::AcDbDatabase(bool buildDefaultDrawing, bool) : m_impl(new Impl(this)) {
  if (buildDefaultDrawing) qhost::LoadDefaultDrawing(*this);
}

AcDbDatabase::~AcDbDatabase() {
  if (acdbHostApplicationServices()->workingDatabase() == this) acdbHostApplicationServices()->setWorkingDatabase(nullptr);
  delete m_impl;
}

AcDbDatabase::Impl::Impl(AcDbDatabase* db) : self(db) {}
AcDbDatabase::Impl::~Impl() = default;

AcDbHandle AcDbDatabase::Impl::issueHandle() {
  while (byHandle.count(nextHandle)) ++nextHandle;
  return AcDbHandle(nextHandle++);
}

AcDbObjectId AcDbDatabase::Impl::add(AcDbObject* obj, AcDbObjectId owner, AcDbHandle handle, bool internal) {
  auto stub = std::make_unique<AcDbStub>();
  stub->db = self;
  stub->handle = !handle.isNull() ? handle : internal ? AcDbHandle(nextInternalHandle--) : issueHandle();
  stub->object.reset(obj);
  obj->attach(stub.get(), owner);
  byHandle[stub->handle.value()] = stub.get();
  if (!internal && stub->handle.value() >= nextHandle) nextHandle = stub->handle.value() + 1;
  stubs.push_back(std::move(stub));
  return AcDbObjectId(stubs.back().get());
}

AcDbStub* AcDbDatabase::Impl::find(uint64_t handle) const {
  auto it = byHandle.find(handle);
  return it == byHandle.end() ? nullptr : it->second;
}

template <class T>
static Acad::ErrorStatus OpenTable(AcDbObjectId id, T*& table, AcDb::OpenMode mode) {
  return acdbOpenObject(table, id, mode);
}

Acad::ErrorStatus AcDbDatabase::getSymbolTable(AcDbTextStyleTable*& t, AcDb::OpenMode m) { return OpenTable(m_impl->styleTable, t, m); }
Acad::ErrorStatus AcDbDatabase::getSymbolTable(AcDbBlockTable*& t, AcDb::OpenMode m) { return OpenTable(m_impl->blockTable, t, m); }
Acad::ErrorStatus AcDbDatabase::getTextStyleTable(AcDbTextStyleTable*& t, AcDb::OpenMode m) { return getSymbolTable(t, m); }
Acad::ErrorStatus AcDbDatabase::getBlockTable(AcDbBlockTable*& t, AcDb::OpenMode m) { return getSymbolTable(t, m); }
Acad::ErrorStatus AcDbDatabase::getSymbolTable(AcDbDimStyleTable*& t, AcDb::OpenMode m) {
  return OpenTable(m_impl->dimStyleTable, t, m);
}
Acad::ErrorStatus AcDbDatabase::getDimStyleTable(AcDbDimStyleTable*& t, AcDb::OpenMode m) { return getSymbolTable(t, m); }
AcDbObjectId AcDbDatabase::textStyleTableId() const { return m_impl->styleTable; }
AcDbObjectId AcDbDatabase::blockTableId() const { return m_impl->blockTable; }
AcDbObjectId AcDbDatabase::dimStyleTableId() const { return m_impl->dimStyleTable; }

Acad::ErrorStatus AcDbDatabase::getAcDbObjectId(AcDbObjectId& retId, bool, const AcDbHandle& objHandle, Adesk::UInt32) {
  AcDbStub* stub = m_impl->find(objHandle.value());
  retId = AcDbObjectId(stub);
  return stub ? Acad::eOk : Acad::eKeyNotFound;
}

AcDbHandle AcDbDatabase::handseed() const { return AcDbHandle(m_impl->nextHandle); }

AcDbObjectId AcDbDatabase::textstyle() const { return m_impl->textstyle; }
Acad::ErrorStatus AcDbDatabase::setTextstyle(AcDbObjectId id) {
  AcDbTextStyleTableRecord* rec = nullptr;
  if (acdbOpenObject(rec, id, AcDb::kForRead) != Acad::eOk) return Acad::eInvalidInput;
  rec->close();
  m_impl->textstyle = id;
  return Acad::eOk;
}
double AcDbDatabase::textsize() const { return m_impl->textsize; }
Acad::ErrorStatus AcDbDatabase::setTextsize(double size) {
  if (!(size > 0.0)) return Acad::eInvalidInput;
  m_impl->textsize = size;
  return Acad::eOk;
}
bool AcDbDatabase::tilemode() const { return m_impl->tilemode; }
Acad::ErrorStatus AcDbDatabase::setTilemode(bool mode) {
  m_impl->tilemode = mode;
  return Acad::eOk;
}
Adesk::Int16 AcDbDatabase::lunits() const { return m_impl->lunits; }
Acad::ErrorStatus AcDbDatabase::setLunits(Adesk::Int16 units) {
  if (units < 1 || units > 5) return Acad::eInvalidInput;
  m_impl->lunits = units;
  return Acad::eOk;
}
Adesk::Int16 AcDbDatabase::luprec() const { return m_impl->luprec; }
Acad::ErrorStatus AcDbDatabase::setLuprec(Adesk::Int16 prec) {
  if (prec < 0 || prec > 8) return Acad::eInvalidInput;
  m_impl->luprec = prec;
  return Acad::eOk;
}

AcDbHostApplicationServices* acdbHostApplicationServices() {
  static AcDbHostApplicationServices services;
  return &services;
}

// --- Symbol tables ---------------------------------------------------------------------

QHOST_DEFINE_MEMBERS(AcDbSymbolTableRecord, AcDbObject)
QHOST_DEFINE_MEMBERS(AcDbSymbolTable, AcDbObject)
QHOST_DEFINE_MEMBERS(AcDbTextStyleTableRecord, AcDbSymbolTableRecord)
QHOST_DEFINE_MEMBERS(AcDbTextStyleTable, AcDbSymbolTable)
QHOST_DEFINE_MEMBERS(AcDbBlockTableRecord, AcDbSymbolTableRecord)
QHOST_DEFINE_MEMBERS(AcDbBlockTable, AcDbSymbolTable)
QHOST_DEFINE_MEMBERS(AcDbDimStyleTableRecord, AcDbSymbolTableRecord)
QHOST_DEFINE_MEMBERS(AcDbDimStyleTable, AcDbSymbolTable)

Acad::ErrorStatus AcDbSymbolTableRecord::getName(char*& pName) const {
  pName = CopyString(m_name);
  return Acad::eOk;
}
Acad::ErrorStatus AcDbSymbolTableRecord::getName(const char*& pName) const {
  pName = m_name.c_str();
  return Acad::eOk;
}
Acad::ErrorStatus AcDbSymbolTableRecord::setName(const char* name) {
  if (name == nullptr || *name == '\0') return Acad::eInvalidInput;
  if (auto es = assertWriteEnabled(); es != Acad::eOk) return es;
  m_name = name;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTable::getAt(const char* entryName, AcDbObjectId& recordId, bool getErasedRecord) const {
  recordId.setNull();
  for (const AcDbObjectId& id : m_records) {
    if (id.isErased() && !getErasedRecord) continue;
    const char* name = nullptr;
    static_cast<AcDbSymbolTableRecord*>(id.stub()->object.get())->getName(name);
    if (SameName(name, entryName)) {
      recordId = id;
      return Acad::eOk;
    }
  }
  return Acad::eKeyNotFound;
}

Acad::ErrorStatus AcDbSymbolTable::getAt(const char* entryName, AcDbSymbolTableRecord*& pRec, AcDb::OpenMode openMode,
                                         bool openErasedRec) const {
  return OpenRecord(*this, entryName, pRec, openMode, openErasedRec);
}

bool AcDbSymbolTable::has(const char* name) const {
  AcDbObjectId id;
  return getAt(name, id) == Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTable::add(AcDbObjectId& recordId, AcDbSymbolTableRecord* pRecord) {
  if (pRecord == nullptr) return Acad::eNullObjectPointer;
  if (stub() == nullptr) return Acad::eNotInDatabase;
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  const char* name = nullptr;
  pRecord->getName(name);
  if (*name == '\0') return Acad::eInvalidInput;
  if (has(name)) return Acad::eDuplicateKey;
  // The drawing keeps its tables as the file had them: a record added here is not saved.
  recordId = stub()->db->impl().add(pRecord, objectId(), AcDbHandle());
  recordId.stub()->writer = true;
  recordId.stub()->modified = true;
  m_records.push_back(recordId);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTable::newIterator(AcDbSymbolTableIterator*& pIterator, bool atBeginning, bool skipDeleted) const {
  pIterator = new AcDbSymbolTableIterator(m_records, atBeginning, skipDeleted);
  return Acad::eOk;
}

namespace qhost::detail {

IdWalk::IdWalk(std::vector<AcDbObjectId> ids, bool atBeginning, bool skipDeleted) : m_ids(std::move(ids)) {
  start(atBeginning, skipDeleted);
}
void IdWalk::start(bool atBeginning, bool skipDeleted) {
  m_at = atBeginning ? 0 : static_cast<int>(m_ids.size()) - 1;
  skip(atBeginning, skipDeleted);
}
bool IdWalk::done() const { return m_at < 0 || m_at >= static_cast<int>(m_ids.size()); }
void IdWalk::step(bool forward, bool skipDeleted) {
  m_at += forward ? 1 : -1;
  skip(forward, skipDeleted);
}
void IdWalk::skip(bool forward, bool skipDeleted) {
  while (skipDeleted && !done() && m_ids[static_cast<size_t>(m_at)].isErased()) m_at += forward ? 1 : -1;
}
Acad::ErrorStatus IdWalk::current(AcDbObjectId& id) const {
  if (done()) return Acad::eInvalidIndex;
  id = m_ids[static_cast<size_t>(m_at)];
  return Acad::eOk;
}

}  // namespace qhost::detail

Acad::ErrorStatus AcDbSymbolTableIterator::getRecord(AcDbSymbolTableRecord*& pRecord, AcDb::OpenMode openMode,
                                                     bool openErasedRec) const {
  return OpenCurrent(*this, &AcDbSymbolTableIterator::getRecordId, pRecord, openMode, openErasedRec);
}

Acad::ErrorStatus AcDbTextStyleTableRecord::fileName(const char*& name) const {
  name = m_fileName.c_str();
  return Acad::eOk;
}
Acad::ErrorStatus AcDbTextStyleTableRecord::setFileName(const char* name) {
  if (auto es = assertWriteEnabled(); es != Acad::eOk) return es;
  m_fileName = name ? name : "";
  return Acad::eOk;
}
Acad::ErrorStatus AcDbTextStyleTableRecord::bigFontFileName(const char*& name) const {
  name = m_bigFontFileName.c_str();
  return Acad::eOk;
}
Acad::ErrorStatus AcDbTextStyleTableRecord::setTextSize(double size) {
  if (auto es = assertWriteEnabled(); es != Acad::eOk) return es;
  m_textSize = size;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbTextStyleTableRecord::setXScale(double scale) {
  if (auto es = assertWriteEnabled(); es != Acad::eOk) return es;
  m_xScale = scale;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbTextStyleTableIterator::getRecord(AcDbTextStyleTableRecord*& pRecord, AcDb::OpenMode openMode,
                                                        bool openErasedRec) const {
  return OpenCurrent(*this, &AcDbSymbolTableIterator::getRecordId, pRecord, openMode, openErasedRec);
}

Acad::ErrorStatus AcDbTextStyleTable::getAt(const char* entryName, AcDbTextStyleTableRecord*& pRec,
                                            AcDb::OpenMode openMode, bool openErasedRec) const {
  return OpenRecord(*this, entryName, pRec, openMode, openErasedRec);
}

Acad::ErrorStatus AcDbTextStyleTable::newIterator(AcDbTextStyleTableIterator*& pIterator, bool atBeginning,
                                                  bool skipDeleted) const {
  pIterator = new AcDbTextStyleTableIterator(recordIds(), atBeginning, skipDeleted);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTable::getAt(const char* entryName, AcDbBlockTableRecord*& pRec, AcDb::OpenMode openMode,
                                        bool openErasedRec) const {
  return OpenRecord(*this, entryName, pRec, openMode, openErasedRec);
}

Acad::ErrorStatus AcDbBlockTable::newIterator(AcDbBlockTableIterator*& pIterator, bool atBeginning,
                                              bool skipDeleted) const {
  pIterator = new AcDbBlockTableIterator(recordIds(), atBeginning, skipDeleted);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableIterator::getRecord(AcDbBlockTableRecord*& pRecord, AcDb::OpenMode openMode,
                                                    bool openErasedRec) const {
  return OpenCurrent(*this, &AcDbSymbolTableIterator::getRecordId, pRecord, openMode, openErasedRec);
}

Acad::ErrorStatus AcDbDimStyleTable::getAt(const char* entryName, AcDbDimStyleTableRecord*& pRec,
                                           AcDb::OpenMode openMode, bool openErasedRec) const {
  return OpenRecord(*this, entryName, pRec, openMode, openErasedRec);
}

Acad::ErrorStatus AcDbBlockTableRecord::appendAcDbEntity(AcDbObjectId& pOutputId, AcDbEntity* pEntity) {
  pOutputId.setNull();
  if (pEntity == nullptr) return Acad::eNullObjectPointer;
  if (stub() == nullptr) return Acad::eNotInDatabase;
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (pEntity->stub() != nullptr) return Acad::eAlreadyInDb;
  pOutputId = stub()->db->impl().add(pEntity, objectId(), AcDbHandle());
  // A new entity stays open for write until its caller closes it.
  pOutputId.stub()->writer = true;
  pOutputId.stub()->modified = true;
  m_entities.push_back(pOutputId);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecord::appendAcDbEntity(AcDbEntity* pEntity) {
  AcDbObjectId id;
  return appendAcDbEntity(id, pEntity);
}

Acad::ErrorStatus AcDbBlockTableRecord::newIterator(AcDbBlockTableRecordIterator*& pIterator, bool atBeginning,
                                                    bool skipDeleted) const {
  pIterator = new AcDbBlockTableRecordIterator(m_entities, atBeginning, skipDeleted);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecordIterator::getEntity(AcDbEntity*& pEntity, AcDb::OpenMode openMode,
                                                          bool openErasedEntity) const {
  return OpenCurrent(*this, &AcDbBlockTableRecordIterator::getEntityId, pEntity, openMode, openErasedEntity);
}

namespace qhost::detail {

std::vector<AcDbObjectId>& EntityList(AcDbBlockTableRecord& record) { return record.m_entities; }
std::vector<AcDbObjectId>& RecordList(AcDbSymbolTable& table) { return table.m_records; }

AcDbObjectId AddRecord(AcDbDatabase& db, AcDbObjectId table, AcDbSymbolTableRecord* record, const std::string& name,
                       AcDbHandle handle) {
  AcDbObjectId id = db.impl().add(record, table, handle, handle.isNull());
  id.stub()->writer = true;
  record->setName(name.c_str());
  id.stub()->writer = false;
  id.stub()->modified = false;
  RecordList(*static_cast<AcDbSymbolTable*>(table.stub()->object.get())).push_back(id);
  return id;
}

}  // namespace qhost::detail

namespace qhost {

std::vector<AcDbObjectId> EntityIds(AcDbDatabase& db, const char* space) {
  AcDbBlockTable* table = nullptr;
  if (db.getBlockTable(table, AcDb::kForRead) != Acad::eOk) return {};
  AcDbBlockTableRecord* record = nullptr;
  const Acad::ErrorStatus found = table->getAt(space, record, AcDb::kForRead);
  table->close();
  if (found != Acad::eOk) return {};
  std::vector<AcDbObjectId> ids = record->entityIds();
  record->close();
  return ids;
}

}  // namespace qhost
