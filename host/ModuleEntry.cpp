// The module's exports and its registration with the host.
#include "host/ModuleEntry.h"

#include <accmd.h>
#include <aced.h>
#include <afxdllx.h>
#include <afxwin.h>
#include <rxdlinkr.h>
#include <rxregsvc.h>

#include "host/EditorCommand.h"
#include "host/EditorContextMenu.h"
#include "host/FindCommand.h"
#include "host/SpellCommand.h"

namespace {

const char kGroup[] = "Quillon";
const char kCommand[] = "CQuillon";
const char kFindCommand[] = "CQuillonFind";
const char kSpellCommand[] = "CQuillonSpell";
const char kMenuTitle[] = "МТекст редактор";
// The library notification's reasons.
constexpr DWORD kProcessAttach = 1;
constexpr DWORD kProcessDetach = 0;

bool g_extensionInitialized = false;
AFX_EXTENSION_MODULE g_extensionModule;
EditorContextMenu* g_contextMenu = nullptr;

AcRxClass* LookUpClass(const char* name) {
  AcRxDictionary* classes = acrxClassDictionary;
  return classes ? AcRxClass::cast(classes->at(name)) : nullptr;
}

// The registry's command stack, when it is one.
AcEdCommandStack* CommandStack() {
  AcRxObject* entry = acrxSysRegistry()->at("ACAD_REGISTERED_COMMANDS");
  AcRxClass* stackClass = CommandStackClass();
  return entry && stackClass && entry->isKindOf(stackClass) ? static_cast<AcEdCommandStack*>(entry) : nullptr;
}

AcRxDynamicLinker* DynamicLinker() { return AcRxDynamicLinker::cast(acrxSysRegistry()->at(ACRX_DYNAMIC_LINKER)); }

}  // namespace

AcRxClass* CommandStackClass() {
  static AcRxClass* const stackClass = LookUpClass("AcEdCommandStack");
  return stackClass;
}

AcRxClass* ContextClass() {
  static AcRxClass* const contextClass = LookUpClass("AcEdUIContext");
  return contextClass;
}

BOOL ModuleNotification(HINSTANCE instance, DWORD reason) {
  if (reason == kProcessAttach) {
    if (g_extensionInitialized) return TRUE;
    if (AfxInitExtensionModule(g_extensionModule, instance)) {
      g_extensionInitialized = true;
      new CDynLinkLibrary(g_extensionModule);  // MFC keeps it in its list of libraries
    }
  } else if (reason == kProcessDetach && g_extensionInitialized) {
    AfxTermExtensionModule(g_extensionModule);
    g_extensionInitialized = false;
  }
  return TRUE;
}

void InitApplication(void* appId) {
  if (AcRxDynamicLinker* linker = DynamicLinker()) linker->unlockApplication(appId);
  if (AcRxDynamicLinker* linker = DynamicLinker()) linker->registerAppMDIAware(appId);
  static const BOOL richEdit = AfxInitRichEdit();
  (void)richEdit;
  if (AcEdCommandStack* stack = CommandStack())
    stack->addCommand(kGroup, kCommand, kCommand, 0, EditorCommand, nullptr, -1, nullptr, nullptr);
  if (AcEdCommandStack* stack = CommandStack())
    stack->addCommand(kGroup, kFindCommand, kFindCommand, 0, FindCommand, nullptr, -1, nullptr, nullptr);
  if (AcEdCommandStack* stack = CommandStack())
    stack->addCommand(kGroup, kSpellCommand, kSpellCommand, 0, SpellCommand, nullptr, -1, nullptr, nullptr);
  g_contextMenu = new EditorContextMenu;
  acedAddDefaultContextMenu(g_contextMenu, appId, kMenuTitle);
}

void UnloadApplication() {
  if (AcEdCommandStack* stack = CommandStack()) stack->removeGroup(kGroup);
  acedRemoveDefaultContextMenu(g_contextMenu);
  delete g_contextMenu;
  g_contextMenu = nullptr;
}

extern "C" int DllMain(HINSTANCE instance, DWORD reason, LPVOID) { return ModuleNotification(instance, reason); }

extern "C" int acrxGetApiVersion() { return ACRX_API_VERSION; }

extern "C" AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode message, void* appId) {
  if (message == AcRx::kInitAppMsg) {
    InitApplication(appId);
  } else if (message == AcRx::kUnloadAppMsg) {
    UnloadApplication();
  }
  return AcRx::kRetOK;
}
