// Host stand-in: the document's transaction manager, here only its graphics flush.
#pragma once

#include "acadstrc.h"

class AcTransactionManager {
 public:
  // Marks the changed entities for redraw; flushGraphics then redraws them.
  Acad::ErrorStatus queueForGraphicsFlush();
  Acad::ErrorStatus flushGraphics();
  Acad::ErrorStatus enableGraphicsFlush(bool doEnable);
  virtual ~AcTransactionManager() = default;

 private:
  bool m_enabled = true;
  bool m_queued = false;
};
