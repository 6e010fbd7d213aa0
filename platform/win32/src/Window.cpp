// Windows stand-in: window classes, creation and destruction, the tree, geometry, visibility, focus.
// The rectangle helpers are in Rect.cpp, the system metrics and window frames in Metrics.cpp.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <set>

#include "win32/src/Internal.h"

namespace qwin::detail {
namespace {

struct ClassInfo {
  std::string name;
  WNDCLASS wc{};
};

struct State {
  std::map<std::string, ClassInfo> classes;  // key: lower-case name
  std::map<HWND, std::unique_ptr<Window>> windows;
  std::vector<HWND> topLevel;
  uintptr_t nextHandle = 0x10010;
  HWND focus = nullptr;
  HWND active = nullptr;
  HWND capture = nullptr;
  bool builtInsRegistered = false;
};

State& S() {
  static State s;
  return s;
}

ClassInfo* FindClass(LPCSTR name) {
  RegisterBuiltInClasses();
  if (!name) return nullptr;
  std::string key = IS_INTRESOURCE(name) ? "#" + std::to_string(LOWORD(name)) : Lower(name);
  auto it = S().classes.find(key);
  return it == S().classes.end() ? nullptr : &it->second;
}

// Screen position of a window's client origin.
POINT ClientOrigin(HWND h) {
  POINT p{0, 0};
  while (Window* w = Find(h)) {
    RECT frame = FrameOf(w->style, w->exStyle);
    p.x += w->rect.left + frame.left;
    p.y += w->rect.top + frame.top;
    h = (w->style & WS_CHILD) ? w->parent : nullptr;
  }
  return p;
}

bool InSubtree(HWND root, HWND h) {
  for (HWND cur = h; cur; cur = GetParent(cur)) {
    if (cur == root) return true;
  }
  return false;
}

void SendDestroy(HWND h) {
  Window* w = Find(h);
  if (!w) return;
  w->destroying = true;
  Deliver(h, WM_DESTROY, 0, 0);
  if ((w = Find(h)) == nullptr) return;
  for (HWND child : std::vector<HWND>(w->children)) SendDestroy(child);
}

void FreeWindow(HWND h) {
  Window* w = Find(h);
  if (!w) return;
  for (HWND child : std::vector<HWND>(w->children)) FreeWindow(child);
  Deliver(h, WM_NCDESTROY, 0, 0);
  w = Find(h);
  if (!w) return;
  if (Window* parent = Find(w->parent)) {
    auto& list = parent->children;
    list.erase(std::remove(list.begin(), list.end(), h), list.end());
  }
  auto& top = S().topLevel;
  top.erase(std::remove(top.begin(), top.end(), h), top.end());
  if (S().focus == h) S().focus = nullptr;
  if (S().active == h) S().active = nullptr;
  if (S().capture == h) S().capture = nullptr;
  S().windows.erase(h);
}

}  // namespace

Window* Find(HWND window) {
  auto it = S().windows.find(window);
  return it == S().windows.end() ? nullptr : it->second.get();
}

std::vector<HWND> TopLevelWindows() { return S().topLevel; }

std::string Label(HWND window) {
  Window* w = Find(window);
  if (!w) return "(no window)";
  if (w->style & WS_CHILD) return std::to_string(w->id);
  return w->className;
}

RECT ClientRectOf(const Window& w) {
  if (w.style & WS_MINIMIZE) return RECT{0, 0, 0, 0};
  RECT f = FrameOf(w.style, w.exStyle);
  LONG width = std::max<LONG>(0, w.rect.right - w.rect.left - f.left - f.right);
  LONG height = std::max<LONG>(0, w.rect.bottom - w.rect.top - f.top - f.bottom);
  return RECT{0, 0, width, height};
}

void NotifyParent(HWND control, UINT code) {
  Window* w = Find(control);
  if (!w || !w->parent) return;
  SendMessage(w->parent, WM_COMMAND, MAKEWPARAM(w->id, code), reinterpret_cast<LPARAM>(control));
}

void RegisterSystemClass(const char* name, WNDPROC proc) {
  ClassInfo info;
  info.name = name;
  info.wc.lpfnWndProc = proc;
  info.wc.lpszClassName = nullptr;
  S().classes[Lower(name)] = info;
}

void MarkDirty(HWND window, bool children) {
  Window* w = Find(window);
  if (!w) return;
  w->dirty = true;
  if (children) {
    for (HWND child : w->children) MarkDirty(child, true);
  }
}

namespace {
unsigned g_inputRound = 1;

HWND FirstDirty(HWND window) {
  Window* w = Find(window);
  if (!w || !(w->style & WS_VISIBLE)) return nullptr;
  if (w->dirty && w->paintedInRound != g_inputRound) return window;
  for (HWND child : w->children) {
    if (HWND found = FirstDirty(child)) return found;
  }
  return nullptr;
}
}  // namespace

HWND TakeDirtyWindow() {
  for (HWND top : S().topLevel) {
    if (HWND found = FirstDirty(top)) {
      Window* w = Find(found);
      w->dirty = false;
      w->paintedInRound = g_inputRound;
      return found;
    }
  }
  return nullptr;
}

void BeginInputRound() { ++g_inputRound; }

void ResetWindows() {
  for (HWND h : std::vector<HWND>(S().topLevel)) DestroyWindow(h);
  S().focus = S().active = S().capture = nullptr;
}

}  // namespace qwin::detail

using namespace qwin::detail;

ATOM RegisterClass(const WNDCLASS* windowClass) {
  if (!windowClass || !windowClass->lpszClassName || !windowClass->lpfnWndProc) return 0;
  RegisterBuiltInClasses();
  std::string key = Lower(windowClass->lpszClassName);
  if (S().classes.count(key)) {
    SetLastError(1410);  // ERROR_CLASS_ALREADY_EXISTS
    return 0;
  }
  ClassInfo info;
  info.name = windowClass->lpszClassName;
  info.wc = *windowClass;
  info.wc.lpszClassName = nullptr;
  info.wc.lpszMenuName = nullptr;
  S().classes[key] = info;
  return static_cast<ATOM>(0xC000 + S().classes.size());
}

BOOL GetClassInfo(HINSTANCE, LPCSTR className, WNDCLASS* windowClass) {
  ClassInfo* info = FindClass(className);
  if (!info) return FALSE;
  if (windowClass) *windowClass = info->wc;
  return TRUE;
}

int GetClassName(HWND window, LPSTR className, int size) {
  Window* w = Find(window);
  if (!w || !className || size <= 0) return 0;
  lstrcpyn(className, w->className.c_str(), size);
  return lstrlen(className);
}

HWND CreateWindowEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                    int height, HWND parent, HMENU menuOrId, HINSTANCE instance, LPVOID param) {
  ClassInfo* cls = FindClass(className);
  if (!cls) {
    SetLastError(1407);  // ERROR_CANNOT_FIND_WND_CLASS
    return nullptr;
  }
  if ((style & WS_CHILD) && !Find(parent)) {
    SetLastError(1406);  // ERROR_TLW_WITH_WSCHILD
    return nullptr;
  }
  if (x == CW_USEDEFAULT) x = y = 0;
  if (width == CW_USEDEFAULT) {
    width = 300;
    height = 200;
  }
  x = static_cast<int>(ClampCoordinate(x));
  y = static_cast<int>(ClampCoordinate(y));
  width = ClampSize(width);
  height = ClampSize(height);
  auto window = std::make_unique<Window>();
  HWND h = reinterpret_cast<HWND>(S().nextHandle);
  S().nextHandle += 0x10;
  window->handle = h;
  window->className = cls->name;
  window->proc = cls->wc.lpfnWndProc;
  window->style = style;
  window->exStyle = exStyle;
  window->rect = RECT{x, y, x + width, y + height};
  window->text = windowName && !IS_INTRESOURCE(windowName) ? windowName : "";
  window->instance = instance;
  if (style & WS_CHILD) {
    window->parent = parent;
    window->id = static_cast<int>(reinterpret_cast<intptr_t>(menuOrId));
    Find(parent)->children.push_back(h);
  } else {
    window->owner = parent;
    S().topLevel.push_back(h);
  }
  S().windows[h] = std::move(window);

  CREATESTRUCT cs{param, instance, menuOrId, parent, height, width, y, x, static_cast<LONG>(style), windowName,
                  className, exStyle};
  CBT_CREATEWND cbt{&cs, nullptr};
  if (RunCbtHooks(HCBT_CREATEWND, reinterpret_cast<WPARAM>(h), reinterpret_cast<LPARAM>(&cbt)) != 0 ||
      !Deliver(h, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs)) ||
      Deliver(h, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    if (Find(h)) DestroyWindow(h);
    return nullptr;
  }
  Window* w = Find(h);
  if (!w) return nullptr;
  RECT client = ClientRectOf(*w);
  Deliver(h, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
  Deliver(h, WM_MOVE, 0, MAKELPARAM(w->rect.left, w->rect.top));
  if ((w = Find(h)) != nullptr && (w->style & WS_VISIBLE)) {
    w->style &= ~WS_VISIBLE;
    ShowWindow(h, SW_SHOW);
  }
  return Find(h) ? h : nullptr;
}

HWND CreateWindow(LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width, int height,
                  HWND parent, HMENU menuOrId, HINSTANCE instance, LPVOID param) {
  return CreateWindowEx(0, className, windowName, style, x, y, width, height, parent, menuOrId, instance, param);
}

BOOL DestroyWindow(HWND window) {
  Window* w = Find(window);
  if (!w || w->destroying) return w != nullptr;
  // Owned windows go first, as on the real system.
  for (HWND top : std::vector<HWND>(S().topLevel)) {
    if (Window* t = Find(top); t && t->owner == window) DestroyWindow(top);
  }
  if (S().focus && InSubtree(window, S().focus)) {
    HWND owner = (w->style & WS_CHILD) ? nullptr : w->owner;
    SetFocus(owner && IsWindow(owner) ? owner : nullptr);
  }
  if ((w = Find(window)) == nullptr) return TRUE;
  w->style &= ~WS_VISIBLE;
  if (S().active == window) SetActiveWindow(IsWindowVisible(w->owner) ? w->owner : nullptr);
  if ((w = Find(window)) == nullptr) return TRUE;
  SendDestroy(window);
  FreeWindow(window);
  return TRUE;
}

BOOL IsWindow(HWND window) { return Find(window) != nullptr; }

BOOL IsChild(HWND parent, HWND window) { return window != parent && Find(window) && InSubtree(parent, window); }

LRESULT DefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(window);
  if (!w) return 0;
  switch (message) {
    case WM_NCCREATE:
      return TRUE;
    case WM_SETTEXT:
      w->text = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
      w->dirty = true;
      return TRUE;
    case WM_GETTEXT: {
      if (wParam == 0 || !lParam) return 0;
      lstrcpyn(reinterpret_cast<LPSTR>(lParam), w->text.c_str(), static_cast<int>(wParam));
      return lstrlen(reinterpret_cast<LPSTR>(lParam));
    }
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(w->text.size());
    case WM_SETFONT:
      w->font = reinterpret_cast<HFONT>(wParam);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(w->font);
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_CLOSE:
          SendMessage(window, WM_CLOSE, 0, 0);
          return 0;
        case SC_MINIMIZE:
          ShowWindow(window, SW_MINIMIZE);
          return 0;
        case SC_RESTORE:
          ShowWindow(window, SW_RESTORE);
          return 0;
        default:
          Unimplemented("WM_SYSCOMMAND " + Hex(wParam & 0xFFF0));
          return 0;
      }
    case WM_NCHITTEST: {
      POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      RECT r;
      GetWindowRect(window, &r);
      if (!PtInRect(&r, p)) return HTNOWHERE;
      ScreenToClient(window, &p);
      RECT c = ClientRectOf(*w);
      return PtInRect(&c, p) ? HTCLIENT : HTCAPTION;
    }
    case WM_SETCURSOR:
      if (w->parent && SendMessage(w->parent, WM_SETCURSOR, wParam, lParam)) return TRUE;
      SetCursor(LoadCursor(nullptr, IDC_ARROW));
      return FALSE;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMIN), GetSystemMetrics(SM_CYMIN)};
      info->ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXSCREEN) + 8, GetSystemMetrics(SM_CYSCREEN) + 8};
      return 0;
    }
    case WM_RBUTTONUP: {
      POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ClientToScreen(window, &p);
      SendMessage(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), MAKELPARAM(p.x, p.y));
      return 0;
    }
    case WM_CONTEXTMENU:
      if (w->parent) SendMessage(w->parent, WM_CONTEXTMENU, wParam, lParam);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(window, &ps);
      EndPaint(window, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_SETICON: {
      int which = wParam == ICON_BIG ? 1 : 0;
      HICON old = w->icons[which];
      w->icons[which] = reinterpret_cast<HICON>(lParam);
      return reinterpret_cast<LRESULT>(old);
    }
    case WM_GETICON:
      return reinterpret_cast<LRESULT>(w->icons[wParam == ICON_BIG ? 1 : 0]);
    case WM_QUERYDRAGICON:
      return 0;
    default:
      if (IsCtlColor(message)) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        bool window = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
        SetBkColor(dc, GetSysColor(window ? COLOR_WINDOW : COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(window ? COLOR_WINDOW : COLOR_BTNFACE));
      }
      return 0;
  }
}

HWND GetParent(HWND window) {
  Window* w = Find(window);
  if (!w) return nullptr;
  return (w->style & WS_CHILD) ? w->parent : w->owner;
}

HWND SetParent(HWND window, HWND parent) {
  Window* w = Find(window);
  if (!w) return nullptr;
  HWND old = GetParent(window);
  if (!(w->style & WS_CHILD)) {
    w->owner = parent;
    return old;
  }
  Window* p = Find(parent);
  if (!p) return nullptr;
  if (Window* o = Find(w->parent)) o->children.erase(std::remove(o->children.begin(), o->children.end(), window), o->children.end());
  w->parent = parent;
  p->children.push_back(window);
  return old;
}

HWND GetWindow(HWND window, UINT relation) {
  Window* w = Find(window);
  if (!w) return nullptr;
  if (relation == GW_CHILD) return w->children.empty() ? nullptr : w->children.front();
  if (relation == GW_OWNER) return (w->style & WS_CHILD) ? nullptr : w->owner;
  const std::vector<HWND>& siblings = (w->style & WS_CHILD) ? Find(w->parent)->children : S().topLevel;
  auto it = std::find(siblings.begin(), siblings.end(), window);
  size_t i = static_cast<size_t>(it - siblings.begin());
  switch (relation) {
    case GW_HWNDFIRST: return siblings.front();
    case GW_HWNDLAST: return siblings.back();
    case GW_HWNDNEXT: return i + 1 < siblings.size() ? siblings[i + 1] : nullptr;
    case GW_HWNDPREV: return i > 0 ? siblings[i - 1] : nullptr;
    default: return nullptr;
  }
}

HWND GetTopWindow(HWND window) {
  if (!window) return S().topLevel.empty() ? nullptr : S().topLevel.front();
  return GetWindow(window, GW_CHILD);
}

HWND GetDesktopWindow() { return nullptr; }
HWND GetActiveWindow() { return S().active; }
HWND SetActiveWindow(HWND window) {
  HWND old = S().active;
  if (window == old) return old;
  if (old && IsWindow(old)) Deliver(old, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(window));
  S().active = window;
  if (window) Deliver(window, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(old));
  return old;
}
HWND GetForegroundWindow() { return S().active; }
BOOL SetForegroundWindow(HWND window) {
  SetActiveWindow(window);
  return TRUE;
}

HWND GetDlgItem(HWND dialog, int id) {
  Window* w = Find(dialog);
  if (!w) return nullptr;
  for (HWND child : w->children) {
    if (Find(child)->id == id) return child;
  }
  return nullptr;
}

int GetDlgCtrlID(HWND window) {
  Window* w = Find(window);
  return w && (w->style & WS_CHILD) ? w->id : 0;
}

LRESULT SendDlgItemMessage(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND item = GetDlgItem(dialog, id);
  return item ? SendMessage(item, message, wParam, lParam) : 0;
}

BOOL SetDlgItemText(HWND dialog, int id, LPCSTR text) {
  HWND item = GetDlgItem(dialog, id);
  return item ? SetWindowText(item, text) : FALSE;
}

UINT GetDlgItemText(HWND dialog, int id, LPSTR text, int size) {
  HWND item = GetDlgItem(dialog, id);
  if (!item) {
    if (text && size > 0) text[0] = 0;
    return 0;
  }
  return static_cast<UINT>(GetWindowText(item, text, size));
}

BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, isSigned ? "%d" : "%u", value);
  return SetDlgItemText(dialog, id, buffer);
}

UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned) {
  char buffer[64];
  GetDlgItemText(dialog, id, buffer, sizeof buffer);
  char* end = nullptr;
  long value = std::strtol(buffer, &end, 10);
  bool ok = end != buffer && (isSigned || value >= 0);
  if (translated) *translated = ok;
  return ok ? static_cast<UINT>(value) : 0;
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
  SendDlgItemMessage(dialog, id, BM_SETCHECK, check, 0);
  return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
  return static_cast<UINT>(SendDlgItemMessage(dialog, id, BM_GETCHECK, 0, 0));
}

BOOL CheckRadioButton(HWND dialog, int firstId, int lastId, int checkId) {
  for (int id = firstId; id <= lastId; ++id) CheckDlgButton(dialog, id, id == checkId ? BST_CHECKED : BST_UNCHECKED);
  return TRUE;
}

BOOL SetWindowText(HWND window, LPCSTR text) {
  return IsWindow(window) && SendMessage(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : ""));
}

int GetWindowText(HWND window, LPSTR text, int size) {
  if (!text || size <= 0) return 0;
  text[0] = 0;
  if (!IsWindow(window)) return 0;
  return static_cast<int>(SendMessage(window, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(text)));
}

int GetWindowTextLength(HWND window) {
  return IsWindow(window) ? static_cast<int>(SendMessage(window, WM_GETTEXTLENGTH, 0, 0)) : 0;
}

BOOL ShowWindow(HWND window, int showCommand) {
  Window* w = Find(window);
  if (!w) return FALSE;
  bool wasVisible = (w->style & WS_VISIBLE) != 0;
  switch (showCommand) {
    case SW_HIDE:
      if (!wasVisible) return FALSE;
      Deliver(window, WM_SHOWWINDOW, FALSE, 0);
      if ((w = Find(window)) == nullptr) return TRUE;
      w->style &= ~WS_VISIBLE;
      if (!(w->style & WS_CHILD) && S().focus && InSubtree(window, S().focus)) SetFocus(w->owner);
      if (S().active == window) SetActiveWindow(IsWindowVisible(w->owner) ? w->owner : nullptr);
      return TRUE;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
      if (!wasVisible) {
        Deliver(window, WM_SHOWWINDOW, TRUE, 0);
        if ((w = Find(window)) == nullptr) return FALSE;
        w->style |= WS_VISIBLE;
      }
      if (!(w->style & WS_MINIMIZE)) {
        w->restoredRect = w->rect;
        w->style |= WS_MINIMIZE;
        Deliver(window, WM_SIZE, SIZE_MINIMIZED, 0);
      }
      return wasVisible;
    case SW_MAXIMIZE:
      Unimplemented("ShowWindow(SW_MAXIMIZE)");
      [[fallthrough]];
    default:
      if (!wasVisible) {
        Deliver(window, WM_SHOWWINDOW, TRUE, 0);
        if ((w = Find(window)) == nullptr) return FALSE;
        w->style |= WS_VISIBLE;
        MarkDirty(window, true);
        // A top-level window shown the ordinary way becomes the active window.
        if (!(w->style & WS_CHILD) && showCommand != SW_SHOWNA && showCommand != SW_SHOWNOACTIVATE &&
            showCommand != SW_SHOWMINNOACTIVE) {
          SetActiveWindow(window);
        }
      }
      if ((w->style & WS_MINIMIZE) && (showCommand == SW_RESTORE || showCommand == SW_SHOWNORMAL)) {
        w->style &= ~WS_MINIMIZE;
        w->rect = w->restoredRect;
        MarkDirty(window, true);
        RECT client = ClientRectOf(*w);
        Deliver(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
      }
      return wasVisible;
  }
}

BOOL IsWindowVisible(HWND window) {
  for (HWND h = window; h; h = GetParent(h)) {
    Window* w = Find(h);
    if (!w || !(w->style & WS_VISIBLE)) return FALSE;
    if (!(w->style & WS_CHILD)) break;
  }
  return window != nullptr;
}

BOOL IsIconic(HWND window) {
  Window* w = Find(window);
  return w && (w->style & WS_MINIMIZE);
}

BOOL IsZoomed(HWND window) {
  Window* w = Find(window);
  return w && (w->style & WS_MAXIMIZE);
}

BOOL EnableWindow(HWND window, BOOL enable) {
  Window* w = Find(window);
  if (!w) return FALSE;
  bool wasDisabled = (w->style & WS_DISABLED) != 0;
  if (wasDisabled == !enable) return wasDisabled;
  if (enable) {
    w->style &= ~WS_DISABLED;
  } else {
    w->style |= WS_DISABLED;
    if (S().focus == window) SetFocus(nullptr);
  }
  Deliver(window, WM_ENABLE, enable ? TRUE : FALSE, 0);
  return wasDisabled;
}

BOOL IsWindowEnabled(HWND window) {
  Window* w = Find(window);
  return w && !(w->style & WS_DISABLED);
}

HWND SetFocus(HWND window) {
  HWND old = S().focus;
  if (window && (!IsWindow(window) || !IsWindowEnabled(window))) return nullptr;
  if (window == old) return old;
  S().focus = window;
  if (old && IsWindow(old)) Deliver(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window), 0);
  if (S().focus == window && window && IsWindow(window)) {
    Deliver(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
  }
  return old;
}

HWND GetFocus() { return S().focus; }

HWND SetCapture(HWND window) {
  HWND old = S().capture;
  S().capture = window;
  return old;
}
HWND GetCapture() { return S().capture; }
BOOL ReleaseCapture() {
  S().capture = nullptr;
  return TRUE;
}

BOOL GetWindowRect(HWND window, LPRECT rect) {
  Window* w = Find(window);
  if (!w || !rect) return FALSE;
  *rect = w->rect;
  if (w->style & WS_CHILD) {
    POINT origin = ClientOrigin(w->parent);
    OffsetRect(rect, origin.x, origin.y);
  }
  return TRUE;
}

BOOL GetClientRect(HWND window, LPRECT rect) {
  Window* w = Find(window);
  if (!w || !rect) return FALSE;
  *rect = ClientRectOf(*w);
  return TRUE;
}

BOOL SetWindowPos(HWND window, HWND, int x, int y, int width, int height, UINT flags) {
  Window* w = Find(window);
  if (!w) return FALSE;
  // SetWindowPos shows and hides without WM_SHOWWINDOW, as on the real system.
  if (flags & SWP_HIDEWINDOW) {
    w->style &= ~WS_VISIBLE;
    if (!(w->style & WS_CHILD) && S().focus && InSubtree(window, S().focus)) SetFocus(w->owner);
    if (S().active == window) SetActiveWindow(IsWindowVisible(w->owner) ? w->owner : nullptr);
  }
  if ((w = Find(window)) == nullptr) return FALSE;
  RECT old = w->rect;
  RECT next = old;
  if (!(flags & SWP_NOMOVE)) OffsetRect(&next, ClampCoordinate(x) - old.left, ClampCoordinate(y) - old.top);
  if (!(flags & SWP_NOSIZE)) {
    next.right = next.left + ClampSize(width);
    next.bottom = next.top + ClampSize(height);
  }
  bool moved = next.left != old.left || next.top != old.top;
  bool sized = (next.right - next.left) != (old.right - old.left) || (next.bottom - next.top) != (old.bottom - old.top);
  if (w->style & WS_MINIMIZE) {
    w->restoredRect = next;
  } else {
    w->rect = next;
  }
  if (moved || sized) {
    WINDOWPOS pos{window, nullptr, static_cast<int>(next.left), static_cast<int>(next.top),
                  static_cast<int>(next.right - next.left), static_cast<int>(next.bottom - next.top), flags};
    Deliver(window, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
  }
  if ((w = Find(window)) == nullptr) return TRUE;
  if (sized && !(w->style & WS_MINIMIZE)) {
    w->dirty = true;
    RECT client = ClientRectOf(*w);
    Deliver(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
  }
  if (moved && (w = Find(window)) != nullptr) Deliver(window, WM_MOVE, 0, MAKELPARAM(w->rect.left, w->rect.top));
  if ((flags & SWP_SHOWWINDOW) && (w = Find(window)) != nullptr && !(w->style & WS_VISIBLE)) {
    w->style |= WS_VISIBLE;
    MarkDirty(window, true);
  }
  return TRUE;
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint) {
  BOOL ok = SetWindowPos(window, nullptr, x, y, width, height, SWP_NOZORDER);
  if (ok && repaint) InvalidateRect(window, nullptr, TRUE);
  return ok;
}

BOOL ClientToScreen(HWND window, LPPOINT point) {
  if (!IsWindow(window) || !point) return FALSE;
  POINT origin = ClientOrigin(window);
  point->x += origin.x;
  point->y += origin.y;
  return TRUE;
}

BOOL ScreenToClient(HWND window, LPPOINT point) {
  if (!IsWindow(window) || !point) return FALSE;
  POINT origin = ClientOrigin(window);
  point->x -= origin.x;
  point->y -= origin.y;
  return TRUE;
}

int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
  POINT a = from ? ClientOrigin(from) : POINT{0, 0};
  POINT b = to ? ClientOrigin(to) : POINT{0, 0};
  LONG dx = a.x - b.x;
  LONG dy = a.y - b.y;
  for (UINT i = 0; i < count; ++i) {
    points[i].x += dx;
    points[i].y += dy;
  }
  return MAKELONG(dx, dy);
}

HWND ChildWindowFromPoint(HWND parent, POINT point) {
  Window* w = Find(parent);
  if (!w) return nullptr;
  RECT client = ClientRectOf(*w);
  if (!PtInRect(&client, point)) return nullptr;
  for (HWND child : w->children) {
    Window* c = Find(child);
    if (PtInRect(&c->rect, point)) return child;
  }
  return parent;
}

HWND WindowFromPoint(POINT point) {
  for (auto it = S().topLevel.rbegin(); it != S().topLevel.rend(); ++it) {
    Window* w = Find(*it);
    if (!(w->style & WS_VISIBLE) || !PtInRect(&w->rect, point)) continue;
    HWND h = *it;
    for (;;) {
      POINT local = point;
      ScreenToClient(h, &local);
      HWND child = ChildWindowFromPoint(h, local);
      if (!child || child == h) return h;
      h = child;
    }
  }
  return nullptr;
}

BOOL InvalidateRect(HWND window, const RECT*, BOOL) {
  if (!window) {
    for (HWND top : S().topLevel) MarkDirty(top, true);
    return TRUE;
  }
  MarkDirty(window, false);
  return IsWindow(window);
}
BOOL ValidateRect(HWND window, const RECT*) {
  Window* w = Find(window);
  if (w) w->dirty = false;
  return w != nullptr;
}
BOOL RedrawWindow(HWND window, const RECT*, HRGN, UINT) {
  MarkDirty(window, true);
  return IsWindow(window);
}
BOOL GetUpdateRect(HWND window, LPRECT rect, BOOL) {
  Window* w = Find(window);
  if (rect) *rect = w && w->dirty ? ClientRectOf(*w) : RECT{0, 0, 0, 0};
  return w && w->dirty;
}
BOOL UpdateWindow(HWND window) {
  if (!IsWindowVisible(window)) return IsWindow(window);
  Find(window)->dirty = false;
  Deliver(window, WM_PAINT, 0, 0);
  return TRUE;
}
BOOL FlashWindow(HWND window, BOOL) { return IsWindow(window); }

LONG GetWindowLong(HWND window, int index) { return static_cast<LONG>(GetWindowLongPtr(window, index)); }

LONG SetWindowLong(HWND window, int index, LONG value) {
  if (index == GWL_WNDPROC) {
    Unimplemented("SetWindowLong(GWL_WNDPROC): a procedure does not fit 32 bits here; SetWindowLongPtr does");
    return 0;
  }
  return static_cast<LONG>(SetWindowLongPtr(window, index, value));
}

LONG_PTR GetWindowLongPtr(HWND window, int index) {
  Window* w = Find(window);
  if (!w) return 0;
  switch (index) {
    case GWL_WNDPROC: return reinterpret_cast<LONG_PTR>(w->proc);
    case GWL_STYLE: return static_cast<LONG>(w->style);
    case GWL_EXSTYLE: return static_cast<LONG>(w->exStyle);
    case GWL_ID: return w->id;
    case GWL_USERDATA: return w->userData;
    case GWL_HINSTANCE: return reinterpret_cast<LONG_PTR>(w->instance);
    case GWL_HWNDPARENT: return reinterpret_cast<LONG_PTR>(GetParent(window));
    default: {
      auto it = w->dialogLongs.find(index);
      return it == w->dialogLongs.end() ? 0 : it->second;
    }
  }
}

LONG_PTR SetWindowLongPtr(HWND window, int index, LONG_PTR value) {
  Window* w = Find(window);
  if (!w) return 0;
  LONG_PTR old = GetWindowLongPtr(window, index);
  switch (index) {
    case GWL_WNDPROC: w->proc = reinterpret_cast<WNDPROC>(value); break;
    case GWL_STYLE: w->style = static_cast<DWORD>(value); break;
    case GWL_EXSTYLE: w->exStyle = static_cast<DWORD>(value); break;
    case GWL_ID: w->id = static_cast<int>(value); break;
    case GWL_USERDATA: w->userData = value; break;
    case GWL_HINSTANCE: w->instance = reinterpret_cast<HINSTANCE>(value); break;
    case GWL_HWNDPARENT: w->owner = reinterpret_cast<HWND>(value); break;
    default:
      if (index < 0) {
        Unimplemented("SetWindowLongPtr index " + std::to_string(index));
        return 0;
      }
      w->dialogLongs[index] = value;
  }
  return old;
}
