// Host stand-in: symbol tables and their records: text styles, blocks (model and paper space, the
// blocks that draw dimensions) and dimension styles.
#pragma once

#include <memory>
#include <vector>

#include "dbcolor.h"
#include "dbmain.h"

class AcDbSymbolTable;
class AcDbBlockTableRecord;
namespace qhost::detail {
// The stand-in's loader fills tables and blocks in file order through these.
std::vector<AcDbObjectId>& RecordList(AcDbSymbolTable& table);
std::vector<AcDbObjectId>& EntityList(AcDbBlockTableRecord& record);
}  // namespace qhost::detail

namespace qhost::detail {
// A walk over object ids that can skip erased ones: what every iterator of the tables does.
class IdWalk {
 public:
  IdWalk(std::vector<AcDbObjectId> ids, bool atBeginning, bool skipDeleted);
  void start(bool atBeginning, bool skipDeleted);
  bool done() const;
  void step(bool forward, bool skipDeleted);
  Acad::ErrorStatus current(AcDbObjectId& id) const;

 private:
  void skip(bool forward, bool skipDeleted);
  std::vector<AcDbObjectId> m_ids;
  int m_at = 0;
};
}  // namespace qhost::detail

#define ACDB_MODEL_SPACE "*Model_Space"
#define ACDB_PAPER_SPACE "*Paper_Space"

class AcDbSymbolTableRecord : public AcDbObject {
 public:
  ACRX_DECLARE_MEMBERS(AcDbSymbolTableRecord)
  // A copy of the name; the caller frees it with delete[] (acutDelString).
  Acad::ErrorStatus getName(char*& pName) const;
  Acad::ErrorStatus getName(const char*& pName) const;
  Acad::ErrorStatus setName(const char* name);

 protected:
  AcDbSymbolTableRecord() = default;

 private:
  std::string m_name;
};

class AcDbSymbolTableIterator;

// Records by name (names compare without regard to case), in the order they were added.
class AcDbSymbolTable : public AcDbObject {
 public:
  ACRX_DECLARE_MEMBERS(AcDbSymbolTable)
  Acad::ErrorStatus getAt(const char* entryName, AcDbObjectId& recordId, bool getErasedRecord = false) const;
  Acad::ErrorStatus getAt(const char* entryName, AcDbSymbolTableRecord*& pRec, AcDb::OpenMode openMode,
                          bool openErasedRec = false) const;
  bool has(const char* name) const;
  Acad::ErrorStatus add(AcDbObjectId& recordId, AcDbSymbolTableRecord* pRecord);
  Acad::ErrorStatus newIterator(AcDbSymbolTableIterator*& pIterator, bool atBeginning = true,
                                bool skipDeleted = true) const;

  // The records' ids in table order (the stand-in's own walk).
  const std::vector<AcDbObjectId>& recordIds() const { return m_records; }

 protected:
  AcDbSymbolTable() = default;

 private:
  friend std::vector<AcDbObjectId>& qhost::detail::RecordList(AcDbSymbolTable&);
  std::vector<AcDbObjectId> m_records;
};

class AcDbSymbolTableIterator {
 public:
  AcDbSymbolTableIterator(std::vector<AcDbObjectId> ids, bool atBeginning, bool skipDeleted)
      : m_walk(std::move(ids), atBeginning, skipDeleted) {}
  virtual ~AcDbSymbolTableIterator() = default;
  void start(bool atBeginning = true, bool skipDeleted = true) { m_walk.start(atBeginning, skipDeleted); }
  bool done() const { return m_walk.done(); }
  void step(bool forward = true, bool skipDeleted = true) { m_walk.step(forward, skipDeleted); }
  Acad::ErrorStatus getRecordId(AcDbObjectId& id) const { return m_walk.current(id); }
  Acad::ErrorStatus getRecord(AcDbSymbolTableRecord*& pRecord, AcDb::OpenMode openMode,
                              bool openErasedRec = false) const;

 private:
  qhost::detail::IdWalk m_walk;
};

// --- Text styles ---------------------------------------------------------------------------

class AcDbTextStyleTableRecord : public AcDbSymbolTableRecord {
 public:
  ACRX_DECLARE_MEMBERS(AcDbTextStyleTableRecord)
  AcDbTextStyleTableRecord() = default;
  Acad::ErrorStatus fileName(const char*& fileName) const;
  Acad::ErrorStatus setFileName(const char* fileName);
  Acad::ErrorStatus bigFontFileName(const char*& fileName) const;
  double textSize() const { return m_textSize; }
  Acad::ErrorStatus setTextSize(double size);
  double xScale() const { return m_xScale; }
  Acad::ErrorStatus setXScale(double scale);

 private:
  std::string m_fileName;
  std::string m_bigFontFileName;
  double m_textSize = 0.0;
  double m_xScale = 1.0;
};

class AcDbTextStyleTableIterator : public AcDbSymbolTableIterator {
 public:
  using AcDbSymbolTableIterator::AcDbSymbolTableIterator;
  using AcDbSymbolTableIterator::getRecord;
  Acad::ErrorStatus getRecord(AcDbTextStyleTableRecord*& pRecord, AcDb::OpenMode openMode,
                              bool openErasedRec = false) const;
};

class AcDbTextStyleTable : public AcDbSymbolTable {
 public:
  ACRX_DECLARE_MEMBERS(AcDbTextStyleTable)
  AcDbTextStyleTable() = default;
  using AcDbSymbolTable::getAt;
  Acad::ErrorStatus getAt(const char* entryName, AcDbTextStyleTableRecord*& pRec, AcDb::OpenMode openMode,
                          bool openErasedRec = false) const;
  using AcDbSymbolTable::newIterator;
  Acad::ErrorStatus newIterator(AcDbTextStyleTableIterator*& pIterator, bool atBeginning = true,
                                bool skipDeleted = true) const;
};

// --- Blocks ----------------------------------------------------------------------------------

class AcDbEntity;

class AcDbBlockTableRecordIterator {
 public:
  AcDbBlockTableRecordIterator(std::vector<AcDbObjectId> ids, bool atBeginning, bool skipDeleted)
      : m_walk(std::move(ids), atBeginning, skipDeleted) {}
  void start(bool atBeginning = true, bool skipDeleted = true) { m_walk.start(atBeginning, skipDeleted); }
  bool done() const { return m_walk.done(); }
  void step(bool forward = true, bool skipDeleted = true) { m_walk.step(forward, skipDeleted); }
  Acad::ErrorStatus getEntityId(AcDbObjectId& entityId) const { return m_walk.current(entityId); }
  Acad::ErrorStatus getEntity(AcDbEntity*& pEntity, AcDb::OpenMode openMode, bool openErasedEntity = false) const;

 private:
  qhost::detail::IdWalk m_walk;
};

// A block: *Model_Space and *Paper_Space hold the drawing's entities in drawing order.
class AcDbBlockTableRecord : public AcDbSymbolTableRecord {
 public:
  ACRX_DECLARE_MEMBERS(AcDbBlockTableRecord)
  AcDbBlockTableRecord() = default;
  // Adds a new entity to the database in this block; the entity stays open for write.
  Acad::ErrorStatus appendAcDbEntity(AcDbObjectId& pOutputId, AcDbEntity* pEntity);
  Acad::ErrorStatus appendAcDbEntity(AcDbEntity* pEntity);
  Acad::ErrorStatus newIterator(AcDbBlockTableRecordIterator*& pIterator, bool atBeginning = true,
                                bool skipDeleted = true) const;
  const std::vector<AcDbObjectId>& entityIds() const { return m_entities; }

 private:
  friend std::vector<AcDbObjectId>& qhost::detail::EntityList(AcDbBlockTableRecord&);
  std::vector<AcDbObjectId> m_entities;
};

class AcDbBlockTableIterator : public AcDbSymbolTableIterator {
 public:
  using AcDbSymbolTableIterator::AcDbSymbolTableIterator;
  using AcDbSymbolTableIterator::getRecord;
  Acad::ErrorStatus getRecord(AcDbBlockTableRecord*& pRecord, AcDb::OpenMode openMode,
                              bool openErasedRec = false) const;
};

class AcDbBlockTable : public AcDbSymbolTable {
 public:
  ACRX_DECLARE_MEMBERS(AcDbBlockTable)
  AcDbBlockTable() = default;
  using AcDbSymbolTable::getAt;
  Acad::ErrorStatus getAt(const char* entryName, AcDbBlockTableRecord*& pRec, AcDb::OpenMode openMode,
                          bool openErasedRec = false) const;
  // The spaces and blocks in table order.
  using AcDbSymbolTable::newIterator;
  Acad::ErrorStatus newIterator(AcDbBlockTableIterator*& pIterator, bool atBeginning = true,
                                bool skipDeleted = true) const;
};

// --- Dimension styles ------------------------------------------------------------------------

// A dimension style: the dimension variables that place and format a dimension's text. A variable
// the drawing does not give has the host's default (the imperial drawing's).
class AcDbDimStyleTableRecord : public AcDbSymbolTableRecord {
 public:
  ACRX_DECLARE_MEMBERS(AcDbDimStyleTableRecord)
  AcDbDimStyleTableRecord() = default;
  double dimtxt() const { return m_dimtxt; }        // text height
  double dimscale() const { return m_dimscale; }    // overall scale; 0 scales to the viewport
  double dimgap() const { return m_dimgap; }        // gap around the text
  AcDbObjectId dimtxsty() const { return m_dimtxsty; }  // text style
  AcCmColor dimclrt() const { return m_dimclrt; }   // text colour
  int dimdec() const { return m_dimdec; }           // decimal places of the measurement
  int dimlunit() const { return m_dimlunit; }       // linear unit format: 1 scientific .. 6 Windows desktop
  Acad::ErrorStatus setDimtxt(double value);
  Acad::ErrorStatus setDimscale(double value);
  Acad::ErrorStatus setDimgap(double value);
  Acad::ErrorStatus setDimtxsty(AcDbObjectId value);
  Acad::ErrorStatus setDimclrt(const AcCmColor& value);
  Acad::ErrorStatus setDimdec(int value);
  Acad::ErrorStatus setDimlunit(int value);

 private:
  double m_dimtxt = 0.18;
  double m_dimscale = 1.0;
  double m_dimgap = 0.09;
  AcDbObjectId m_dimtxsty;
  AcCmColor m_dimclrt = [] {
    AcCmColor byBlock;
    byBlock.setColorIndex(AcCmColor::kByBlock);
    return byBlock;
  }();
  int m_dimdec = 4;
  int m_dimlunit = 2;
};

class AcDbDimStyleTable : public AcDbSymbolTable {
 public:
  ACRX_DECLARE_MEMBERS(AcDbDimStyleTable)
  AcDbDimStyleTable() = default;
  using AcDbSymbolTable::getAt;
  Acad::ErrorStatus getAt(const char* entryName, AcDbDimStyleTableRecord*& pRec, AcDb::OpenMode openMode,
                          bool openErasedRec = false) const;
};
