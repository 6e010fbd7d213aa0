// The module's life in the host: attach and detach of the library, the entry point's messages.
#pragma once

#include <rxobject.h>
#include <windows.h>

// Library attach (reason 1) and detach (reason 0): the MFC extension module that makes the
// module's resources searchable. Always TRUE.
BOOL ModuleNotification(HINSTANCE instance, DWORD reason);
// The initialisation message: unlock, MDI-aware, rich edit, command CQuillon, context-menu item.
void InitApplication(void* appId);
// The unload message: the command group and the context-menu item go.
void UnloadApplication();

// The host's command-stack and context classes, looked up once in its class dictionary.
AcRxClass* CommandStackClass();
AcRxClass* ContextClass();
