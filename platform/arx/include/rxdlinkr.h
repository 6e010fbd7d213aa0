// Host stand-in: the dynamic linker that loads and unloads module files.
#pragma once

#include <windows.h>

#include "accmd.h"
#include "rxregsvc.h"

// Loads a module file, runs its library notification and entry point, and unloads it again.
// A module starts locked: it cannot be unloaded until it calls unlockApplication.
//
// What a module file exports, with C linkage:
//   AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* appId);  // kInitAppMsg, kUnloadAppMsg
//   int acrxGetApiVersion();   // must report ACRX_API_VERSION (0xF0000), checked before anything runs
//   int DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);  // optional library notification:
//                              // reason 1 right after loading, 0 right before unloading
// `appId` is the module's packet, the same for every message.
class AcRxDynamicLinker : public AcRxObject {
 public:
  ACRX_DECLARE_MEMBERS(AcRxDynamicLinker)
  AcRxDynamicLinker();
  ~AcRxDynamicLinker() override;

  Adesk::Boolean loadModule(const char* fileName, Adesk::Boolean printit, Adesk::Boolean asCmd = false);
  Adesk::Boolean unloadModule(const char* fileName, Adesk::Boolean printit);
  Adesk::Boolean unlockApplication(void* appId) const;
  Adesk::Boolean lockApplication(void* appId) const;
  Adesk::Boolean isApplicationLocked(const char* fileName) const;
  Adesk::Boolean registerAppMDIAware(void* appId) const;
  Adesk::Boolean registerAppNotMDIAware(void* appId) const;
  // The application id (the packet) of a loaded module, or null.
  void* getModuleID(const char* fileName) const;
};

typedef AcRx::AppRetCode (*AcRxEntryPointFunc)(AcRx::AppMsgCode msg, void* appId);
typedef int (*AcRxGetApiVersionFunc)();
typedef int (*AcRxDllMainFunc)(HINSTANCE instance, DWORD reason, LPVOID reserved);

#define acrxDynamicLinker AcRxDynamicLinker::cast(acrxSysRegistry()->at(ACRX_DYNAMIC_LINKER))
