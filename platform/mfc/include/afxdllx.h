// MFC stand-in: extension libraries: the module state that makes a library's resources searchable.
#pragma once

#include <afxwin.h>

struct AFX_EXTENSION_MODULE {
  BOOL bInitialized = FALSE;
  HMODULE hModule = nullptr;
  HMODULE hResource = nullptr;
  CRuntimeClass* pFirstSharedClass = nullptr;
  void* pFirstSharedFactory = nullptr;
};

// Records the library's handle in `state` (its resources are searched once a CDynLinkLibrary exists).
BOOL AFXAPI AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE module);
// Deletes the CDynLinkLibrary objects of this library (all of them when `all`).
void AFXAPI AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL all = FALSE);

// An extension library in MFC's resource search, from construction to destruction.
class CDynLinkLibrary : public CCmdTarget {
 public:
  explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL system = FALSE);
  ~CDynLinkLibrary() override;
  HMODULE m_hModule;
  HMODULE m_hResource;
  BOOL m_bSystem;
};
