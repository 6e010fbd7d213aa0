// Internals of the MFC stand-in: the one thread's state (handle maps, the creation hook, the message
// being handled, the application and its resource search).
#pragma once

#include <afxwin.h>

#include <map>
#include <memory>
#include <vector>

class CDynLinkLibrary;

namespace afxdetail {

struct AfxState {
  CWnd* wndInit = nullptr;
  HHOOK hook = nullptr;
  MSG lastSent{};
  std::map<HWND, CWnd*> permanent;
  std::map<HWND, std::unique_ptr<CWnd>> tempWindows;
  std::map<HDC, std::unique_ptr<CDC>> tempDcs;
  std::map<HGDIOBJ, std::unique_ptr<CGdiObject>> tempObjects;
  std::map<HMENU, std::unique_ptr<CMenu>> tempMenus;
  const void* modalTemplate = nullptr;
  CWinApp* app = nullptr;
  HINSTANCE resource = nullptr;
  std::vector<CDynLinkLibrary*> libraries;
};

AfxState& State();
void ForgetTempDc(HDC dc);

}  // namespace afxdetail
