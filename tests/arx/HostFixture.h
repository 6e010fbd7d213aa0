// A fresh host session with the default drawing for each test.
#pragma once

#include <gtest/gtest.h>

#include "dbapserv.h"
#include "dbents.h"
#include "dbmtext.h"
#include "dbsymtb.h"
#include "qplatform/Host.h"
#include "qplatform/InputQueue.h"
#include "qplatform/Transcript.h"

class HostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qhost::ResetSession();
    qhost::OpenDocument(std::make_unique<AcDbDatabase>());
  }
  void TearDown() override {
    qhost::CloseDocument();
    qhost::ResetSession();
  }
  AcDbDatabase& db() { return *qhost::CurrentDatabase(); }

  // Appends an entity to model space and closes it.
  AcDbObjectId Add(AcDbEntity* entity, const char* space = ACDB_MODEL_SPACE) {
    AcDbBlockTable* table = nullptr;
    db().getBlockTable(table, AcDb::kForRead);
    AcDbBlockTableRecord* record = nullptr;
    table->getAt(space, record, AcDb::kForWrite);
    table->close();
    AcDbObjectId id;
    record->appendAcDbEntity(id, entity);
    record->close();
    entity->close();
    return id;
  }

  static void Queue(std::initializer_list<qhost::InputEvent> events) {
    for (const auto& e : events) qhost::InputQueue::Instance().Push(e);
  }

  static std::string Transcript() { return qhost::Transcript::Instance().Text(); }
};
