// Host stand-in: the document manager and its one document.
#pragma once

#include "actrans.h"
#include "dbmain.h"

class AcApDocument {
 public:
  AcDbDatabase* database() const;
  const char* fileName() const;
  const char* docTitle() const;
  AcTransactionManager* transactionManager() { return &m_transactions; }

 private:
  AcTransactionManager m_transactions;
};

class AcApDocManager {
 public:
  AcApDocument* curDocument() const;
  AcApDocument* mdiActiveDocument() const { return curDocument(); }
  int documentCount() const { return 1; }
  // Runs `pszExecute` as if typed at the command line (a blank or a newline ends each entry).
  Acad::ErrorStatus sendStringToExecute(AcApDocument* pAcTargetDocument, const char* pszExecute,
                                        bool bActivate = true, bool bWrapUpInactiveDoc = false,
                                        bool bEchoString = true);
};

AcApDocManager* acDocManagerPtr();
#define acDocManager acDocManagerPtr()
