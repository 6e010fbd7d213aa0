// Host stand-in: the editor's services to modules: commands, context menus, windows, redraw.
#pragma once

#include <windows.h>

#include "acarray.h"
#include "accmd.h"
#include "dbid.h"
#include "rxregsvc.h"

class CView;
typedef AcArray<AcDbObjectId> AcDbObjectIdArray;

// A module's contribution to the drawing area's default context menu.
class AcEdUIContext : public AcRxObject {
 public:
  ACRX_DECLARE_MEMBERS(AcEdUIContext)
  // The menu to show for objects of class `cls` (the selected ids): a pointer to a menu handle.
  virtual void* getMenuContext(const AcRxClass* cls, const AcDbObjectIdArray& ids) = 0;
  virtual void onCommand(Adesk::UInt32 cmdIndex) = 0;
  virtual void OnUpdateMenu() {}
};

Adesk::Boolean acedAddDefaultContextMenu(AcEdUIContext* pContext, const void* appId, const char* appName = nullptr);
Adesk::Boolean acedRemoveDefaultContextMenu(AcEdUIContext* pContext);

// The host's windows and resources.
HWND adsw_acadMainWnd();
CView* acedGetAcadDwgView();
HINSTANCE acedGetAcadResourceInstance();

// Redraws what changed in the drawing.
void acedUpdateDisplay();
