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

// The temporary wrapper of a handle in one of the temporary maps, made on first use: a `Temp`
// whose handle member (`member`) is set to the handle.
template <typename Temp, typename Map, typename Handle, typename Member>
typename Map::mapped_type::element_type* TempObject(Map& map, Handle handle, Member member) {
  if (!handle) return nullptr;
  auto& temp = map[handle];
  if (!temp) {
    auto made = std::make_unique<Temp>();
    (*made).*member = handle;
    temp = std::move(made);
  }
  return temp.get();
}

}  // namespace afxdetail
