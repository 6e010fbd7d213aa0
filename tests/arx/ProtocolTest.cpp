// Objects are opened and closed by the host's rules; ids and entity names convert both ways.
#include "HostFixture.h"
#include "dbdim.h"

namespace {

using ProtocolTest = HostTest;

TEST_F(ProtocolTest, ReadersShareWriterExcludes) {
  AcDbObjectId id = Add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0)));
  AcDbObject *a = nullptr, *b = nullptr, *w = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenAcDbObject(a, id, AcDb::kForRead));
  ASSERT_EQ(Acad::eOk, acdbOpenAcDbObject(b, id, AcDb::kForRead));
  EXPECT_EQ(Acad::eWasOpenForRead, acdbOpenAcDbObject(w, id, AcDb::kForWrite));
  EXPECT_EQ(nullptr, w);
  a->close();
  b->close();
  ASSERT_EQ(Acad::eOk, acdbOpenAcDbObject(w, id, AcDb::kForWrite));
  EXPECT_EQ(Acad::eWasOpenForWrite, acdbOpenAcDbObject(a, id, AcDb::kForWrite));
  EXPECT_EQ(Acad::eWasOpenForWrite, acdbOpenAcDbObject(a, id, AcDb::kForRead));
  EXPECT_EQ(Acad::eOk, w->close());
  EXPECT_EQ(Acad::eNotOpenForRead, w->close()) << "a second close finds nothing open";
  ASSERT_EQ(Acad::eOk, acdbOpenAcDbObject(a, id, AcDb::kForWrite));
  a->close();
}

TEST_F(ProtocolTest, SettersNeedTheObjectOpenForWrite) {
  AcDbObjectId id = Add(new AcDbMText());
  AcDbMText* m = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(m, id, AcDb::kForRead));
  EXPECT_EQ(Acad::eNotOpenForWrite, m->setContents("x"));
  EXPECT_STREQ("", m->contentsConst());
  m->close();
  ASSERT_EQ(Acad::eOk, acdbOpenObject(m, id, AcDb::kForWrite));
  EXPECT_EQ(Acad::eOk, m->setContents("x"));
  m->close();
}

TEST_F(ProtocolTest, ErasedObjectCannotBeOpened) {
  AcDbObjectId id = Add(new AcDbMText());
  AcDbEntity* e = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(e, id, AcDb::kForRead));
  EXPECT_EQ(Acad::eNotOpenForWrite, e->erase(true));
  e->close();
  ASSERT_EQ(Acad::eOk, acdbOpenObject(e, id, AcDb::kForWrite));
  EXPECT_EQ(Acad::eOk, e->erase(true));
  EXPECT_EQ(Acad::eOk, e->close());
  EXPECT_TRUE(id.isErased());
  EXPECT_EQ(Acad::eWasErased, acdbOpenObject(e, id, AcDb::kForRead));
  ASSERT_EQ(Acad::eOk, acdbOpenObject(e, id, AcDb::kForWrite, true)) << "unless asked for erased objects";
  EXPECT_EQ(Acad::eOk, e->erase(false));
  e->close();
  EXPECT_FALSE(id.isErased());
}

TEST_F(ProtocolTest, OpeningAsTheWrongClassOpensNothing) {
  AcDbObjectId id = Add(new AcDbLine());
  AcDbMText* m = nullptr;
  EXPECT_EQ(Acad::eWrongObjectType, acdbOpenObject(m, id, AcDb::kForWrite));
  AcDbLine* l = nullptr;
  EXPECT_EQ(Acad::eOk, acdbOpenObject(l, id, AcDb::kForWrite)) << "the failed open left it closed";
  l->close();
  AcDbObject* o = nullptr;
  EXPECT_EQ(Acad::eNullObjectId, acdbOpenAcDbObject(o, AcDbObjectId(), AcDb::kForRead));
}

TEST_F(ProtocolTest, EntityNamesAndIdsConvertBothWays) {
  AcDbObjectId id = Add(new AcDbCircle());
  ads_name name;
  ASSERT_EQ(Acad::eOk, acdbGetAdsName(name, id));
  EXPECT_FALSE(ads_name_nil(name));
  AcDbObjectId back;
  ASSERT_EQ(Acad::eOk, acdbGetObjectId(back, name));
  EXPECT_EQ(id, back);
  ads_name bogus = {999999, 0};
  EXPECT_EQ(Acad::eInvalidInput, acdbGetObjectId(back, bogus));
  EXPECT_TRUE(back.isNull());
}

TEST_F(ProtocolTest, NewEntityStaysOpenForWriteUntilClosed) {
  AcDbBlockTable* table = nullptr;
  ASSERT_EQ(Acad::eOk, db().getBlockTable(table, AcDb::kForRead));
  AcDbBlockTableRecord* space = nullptr;
  ASSERT_EQ(Acad::eOk, table->getAt(ACDB_PAPER_SPACE, space, AcDb::kForWrite));
  table->close();
  auto* m = new AcDbMText();
  AcDbObjectId id;
  ASSERT_EQ(Acad::eOk, space->appendAcDbEntity(id, m));
  EXPECT_EQ(Acad::eAlreadyInDb, space->appendAcDbEntity(id, m));
  space->close();
  EXPECT_TRUE(m->isWriteEnabled());
  EXPECT_EQ(Acad::eOk, m->setContents("new"));
  EXPECT_EQ(Acad::eOk, m->close());
  AcDbBlockTable* blocks = nullptr;
  db().getBlockTable(blocks, AcDb::kForRead);
  AcDbObjectId paper;
  blocks->getAt(ACDB_PAPER_SPACE, paper);
  blocks->close();
  EXPECT_EQ(paper, m->ownerId());
}

TEST_F(ProtocolTest, TextStyleTableFindsNamesAndWalksRecords) {
  AcDbTextStyleTable* table = nullptr;
  ASSERT_EQ(Acad::eOk, db().getTextStyleTable(table, AcDb::kForRead));
  AcDbObjectId id;
  EXPECT_EQ(Acad::eOk, table->getAt("STANDARD", id)) << "names compare without case";
  EXPECT_EQ(Acad::eKeyNotFound, table->getAt("None", id));
  EXPECT_TRUE(id.isNull());
  AcDbTextStyleTableIterator* it = nullptr;
  table->newIterator(it);
  std::vector<std::string> names;
  for (; !it->done(); it->step()) {
    AcDbTextStyleTableRecord* rec = nullptr;
    ASSERT_EQ(Acad::eOk, it->getRecord(rec, AcDb::kForRead));
    char* name = nullptr;
    rec->getName(name);
    names.push_back(name);
    acutDelString(name);
    rec->close();
  }
  delete it;
  table->close();
  EXPECT_EQ(std::vector<std::string>{"Standard"}, names);
}

TEST_F(ProtocolTest, MTextHorizontalModeIsTheAttachmentColumn) {
  auto* m = new AcDbMText();
  m->setAttachment(AcDbMText::kMiddleLeft);
  m->setHorizontalMode(AcDb::kTextRight);
  EXPECT_EQ(AcDbMText::kMiddleRight, m->attachment());
  EXPECT_EQ(AcDb::kTextRight, m->horizontalMode());
  m->setAlignmentPoint(AcGePoint3d(1, 2, 3));
  EXPECT_EQ(AcGePoint3d(1, 2, 3), m->location());
  delete m;
}

TEST_F(ProtocolTest, ClassDescriptionsAnswerKindOfAndCast) {
  auto* dim = new AcDbAlignedDimension();
  EXPECT_STREQ("AcDbAlignedDimension", dim->isA()->name());
  EXPECT_TRUE(dim->isKindOf(AcDbDimension::desc()));
  EXPECT_TRUE(dim->isKindOf(AcDbEntity::desc()));
  EXPECT_EQ(nullptr, AcDbMText::cast(dim));
  EXPECT_EQ(dim, AcDbDimension::cast(dim));
  EXPECT_EQ(AcDbEntity::desc(), AcRxClass::cast(acrxClassDictionary->at("AcDbEntity")));
  EXPECT_NE(nullptr, acrxClassDictionary->at("AcEdCommandStack"));
  EXPECT_NE(nullptr, acrxClassDictionary->at("AcEdUIContext"));
  delete dim;
}

}  // namespace
