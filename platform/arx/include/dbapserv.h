// Host stand-in: the host application's services to the database layer.
#pragma once

#include "dbmain.h"

class AcDbHostApplicationServices {
 public:
  AcDbDatabase* workingDatabase() const { return m_working; }
  void setWorkingDatabase(AcDbDatabase* db) { m_working = db; }

 private:
  AcDbDatabase* m_working = nullptr;
};

AcDbHostApplicationServices* acdbHostApplicationServices();
