// A tiny module for the dynamic linker's tests: it reports every call on the command line.
#include <windows.h>

#include "accmd.h"
#include "acedads.h"
#include "rxdlinkr.h"

namespace {
void Hello() { acutPrintf("\nhello from the module"); }
}  // namespace

extern "C" int DllMain(HINSTANCE, DWORD reason, LPVOID) {
  acutPrintf("\n[DllMain %u]", static_cast<unsigned>(reason));
  return 1;
}

extern "C" int acrxGetApiVersion() {
#ifdef TEST_MODULE_badversion
  return 0xE0000;
#else
  return ACRX_API_VERSION;
#endif
}

extern "C" AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* appId) {
  acutPrintf("\n[acrxEntryPoint %d]", static_cast<int>(msg));
  if (msg == AcRx::kInitAppMsg) {
#ifndef TEST_MODULE_locked
    acrxDynamicLinker->unlockApplication(appId);
#endif
    acrxDynamicLinker->registerAppMDIAware(appId);
    acedRegCmds->addCommand("TESTMODULE", "HELLO", "HELLO", ACRX_CMD_MODAL, Hello);
  } else if (msg == AcRx::kUnloadAppMsg) {
    acedRegCmds->removeGroup("TESTMODULE");
  }
  return AcRx::kRetOK;
}
