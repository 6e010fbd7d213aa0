// Host stand-in: database objects, entities, the database, and the open/close protocol.
#pragma once

#include <string>

#include "acadstrc.h"
#include "acarray.h"
#include "adsdef.h"
#include "dbid.h"
#include "gepnt3d.h"
#include "rxobject.h"

namespace AcDb {
enum OpenMode { kForRead = 0, kForWrite = 1, kForNotify = 2 };
enum TextHorzMode { kTextLeft = 0, kTextCenter = 1, kTextRight = 2, kTextAlign = 3, kTextMid = 4, kTextFit = 5 };
enum TextVertMode { kTextBase = 0, kTextBottom = 1, kTextVertMid = 2, kTextTop = 3 };
enum LineSpacingStyle { kAtLeast = 1, kExactly = 2 };
}  // namespace AcDb

typedef AcArray<AcDbObjectId> AcDbObjectIdArray;

class AcDbBlockTable;
class AcDbTextStyleTable;
class AcDbDimStyleTable;

// An object of a database. Opened with acdbOpenAcDbObject and given back with close():
// any number of readers, or one writer; an erased object cannot be opened.
class AcDbObject : public AcRxObject {
 public:
  ACRX_DECLARE_MEMBERS(AcDbObject)
  ~AcDbObject() override;

  AcDbObjectId objectId() const;
  AcDbObjectId ownerId() const { return m_owner; }
  AcDbDatabase* database() const;
  void getAcDbHandle(AcDbHandle& handle) const;
  Adesk::Boolean isErased() const;
  Adesk::Boolean isReadEnabled() const;
  Adesk::Boolean isWriteEnabled() const;
  Adesk::Boolean isNewObject() const { return m_stub == nullptr; }

  // Gives the object back. Not examined by most callers.
  Acad::ErrorStatus close();
  Acad::ErrorStatus erase(Adesk::Boolean erasing = true);

  // Returns eNotOpenForWrite unless the object may be changed; a change marks it modified.
  Acad::ErrorStatus assertWriteEnabled();
  void assertReadEnabled() const {}

  // The stand-in's bookkeeping, used by the database.
  AcDbStub* stub() const { return m_stub; }
  void attach(AcDbStub* stub, AcDbObjectId owner);

 protected:
  AcDbObject() = default;

 private:
  AcDbStub* m_stub = nullptr;
  AcDbObjectId m_owner;
};

// A drawable object of model or paper space.
class AcDbEntity : public AcDbObject {
 public:
  ACRX_DECLARE_MEMBERS(AcDbEntity)
  AcDbObjectId blockId() const { return ownerId(); }
  // The layer name (code page 1251).
  const char* layer() const { return m_layer.c_str(); }
  Acad::ErrorStatus setLayer(const char* name);

 protected:
  AcDbEntity() = default;

 private:
  std::string m_layer = "0";
};

// A drawing: its tables, its objects and its header values. Loaded from and saved to DXF
// through the stand-in's own entry points (qplatform/Drawing.h).
class AcDbDatabase : public AcRxObject {
 public:
  ACRX_DECLARE_MEMBERS(AcDbDatabase)
  // With buildDefaultDrawing, the database holds the host's empty drawing.
  explicit AcDbDatabase(bool buildDefaultDrawing = true, bool noDocument = false);
  ~AcDbDatabase() override;
  AcDbDatabase(const AcDbDatabase&) = delete;
  AcDbDatabase& operator=(const AcDbDatabase&) = delete;

  Acad::ErrorStatus getSymbolTable(AcDbTextStyleTable*& pTable, AcDb::OpenMode mode);
  Acad::ErrorStatus getSymbolTable(AcDbBlockTable*& pTable, AcDb::OpenMode mode);
  Acad::ErrorStatus getTextStyleTable(AcDbTextStyleTable*& pTable, AcDb::OpenMode mode);
  Acad::ErrorStatus getBlockTable(AcDbBlockTable*& pTable, AcDb::OpenMode mode);
  Acad::ErrorStatus getSymbolTable(AcDbDimStyleTable*& pTable, AcDb::OpenMode mode);
  Acad::ErrorStatus getDimStyleTable(AcDbDimStyleTable*& pTable, AcDb::OpenMode mode);
  AcDbObjectId textStyleTableId() const;
  AcDbObjectId blockTableId() const;
  AcDbObjectId dimStyleTableId() const;

  // Looks an object up by its handle.
  Acad::ErrorStatus getAcDbObjectId(AcDbObjectId& retId, bool createIfNotFound, const AcDbHandle& objHandle,
                                    Adesk::UInt32 xRefId = 0);
  AcDbHandle handseed() const;

  // The header values that stand behind the drawing's system variables.
  AcDbObjectId textstyle() const;
  Acad::ErrorStatus setTextstyle(AcDbObjectId id);
  double textsize() const;
  Acad::ErrorStatus setTextsize(double size);
  bool tilemode() const;
  Acad::ErrorStatus setTilemode(bool mode);
  Adesk::Int16 lunits() const;
  Acad::ErrorStatus setLunits(Adesk::Int16 units);
  Adesk::Int16 luprec() const;
  Acad::ErrorStatus setLuprec(Adesk::Int16 prec);

  struct Impl;
  Impl& impl() const { return *m_impl; }

 private:
  Impl* m_impl;
};

Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& pObj, AcDbObjectId id, AcDb::OpenMode mode,
                                     bool openErased = false);

// Opens an object of class T; eWrongObjectType (and nothing open) when it is of another class.
template <class T>
inline Acad::ErrorStatus acdbOpenObject(T*& pObj, AcDbObjectId id, AcDb::OpenMode mode, bool openErased = false) {
  pObj = nullptr;
  AcDbObject* obj = nullptr;
  Acad::ErrorStatus es = acdbOpenAcDbObject(obj, id, mode, openErased);
  if (es != Acad::eOk) return es;
  pObj = T::cast(obj);
  if (pObj == nullptr) {
    obj->close();
    return Acad::eWrongObjectType;
  }
  return Acad::eOk;
}

// Entity names and object ids, both ways.
Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& objId, const ads_name objName);
Acad::ErrorStatus acdbGetAdsName(ads_name& objName, AcDbObjectId objId);

// Frees a string that a getter returned as the caller's copy.
void acutDelString(char*& str);
