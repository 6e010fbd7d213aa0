// MFC stand-in: command targets and message maps, window objects bound to handles, the creation hook,
// the window procedure, reflection of notifications to the controls that sent them, modal loops.
#include <afxwin.h>

#include <memory>

#include "mfc/src/AfxState.h"
#include "qplatform/WindowServices.h"

namespace afxdetail {

AfxState& State() {
  static AfxState state;
  return state;
}

CWnd* WndFromHandle(HWND window) { return CWnd::FromHandle(window); }

}  // namespace afxdetail

using afxdetail::State;

// ---- CCmdTarget ----

CRuntimeClass CObject::classCObject = {"CObject", sizeof(CObject), 0xFFFF, nullptr, nullptr};
CRuntimeClass* CObject::GetRuntimeClass() const { return &classCObject; }
IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* PASCAL CCmdTarget::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, 0, nullptr}};
  static const AFX_MSGMAP map = {nullptr, &entries[0]};
  return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP_ENTRY* CCmdTarget::FindEntry(UINT message, UINT code, UINT id) const {
  for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfn; ++e) {
      if (e->nMessage == message && e->nCode == code && id >= e->nID && id <= e->nLastID) return e;
    }
  }
  return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, void*) {
  UINT message = WM_COMMAND;
  UINT code = static_cast<UINT>(nCode);
  if (HIWORD(static_cast<UINT>(nCode)) != 0) {
    message = HIWORD(static_cast<UINT>(nCode));
    code = LOWORD(static_cast<UINT>(nCode));
  }
  // Notification codes are negative numbers carried in a word: compare them as the entries hold them.
  const AFX_MSGMAP_ENTRY* entry = FindEntry(message, code, nID);
  if (!entry && message != WM_COMMAND) entry = FindEntry(message, static_cast<UINT>(static_cast<short>(code)), nID);
  if (!entry) return FALSE;
  LRESULT ignored = 0;
  auto* notify = static_cast<std::pair<NMHDR*, LRESULT*>*>(pExtra);
  AFX_CALL call{message, 0, notify ? reinterpret_cast<LPARAM>(notify->first) : 0, nID,
                notify && notify->second ? notify->second : &ignored};
  return entry->pfn(this, call);
}

// ---- Window objects and handles ----

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)
const CWnd CWnd::wndTop;
const CWnd CWnd::wndBottom;

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
  ON_WM_NCDESTROY()
  ON_WM_DRAWITEM()
  ON_WM_MEASUREITEM()
  ON_WM_DELETEITEM()
  ON_WM_COMPAREITEM()
  ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CWnd::CWnd() = default;

CWnd::~CWnd() {
  if (m_hWnd && State().permanent.count(m_hWnd) && State().permanent[m_hWnd] == this) DestroyWindow();
}

CWnd* CWnd::FromHandlePermanent(HWND window) {
  auto it = State().permanent.find(window);
  return it == State().permanent.end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND window) {
  if (!window) return nullptr;
  if (CWnd* permanent = FromHandlePermanent(window)) return permanent;
  return afxdetail::TempObject<CWnd>(State().tempWindows, window, &CWnd::m_hWnd);
}

BOOL CWnd::Attach(HWND window) {
  if (!window || FromHandlePermanent(window)) return FALSE;
  State().tempWindows.erase(window);
  State().permanent[window] = this;
  m_hWnd = window;
  return TRUE;
}

HWND CWnd::Detach() {
  HWND window = m_hWnd;
  if (window) {
    auto it = State().permanent.find(window);
    if (it != State().permanent.end() && it->second == this) State().permanent.erase(it);
  }
  m_hWnd = nullptr;
  return window;
}

BOOL CWnd::SubclassWindow(HWND window) {
  if (!Attach(window)) return FALSE;
  PreSubclassWindow();
  auto old = reinterpret_cast<WNDPROC>(SetWindowLongPtr(window, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc)));
  if (old != AfxWndProc && !m_pfnSuper) m_pfnSuper = old;
  return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* parent) {
  HWND control = ::GetDlgItem(parent->m_hWnd, static_cast<int>(nID));
  return control && SubclassWindow(control);
}

HWND CWnd::UnsubclassWindow() {
  if (m_pfnSuper) SetWindowLongPtr(m_hWnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
  m_pfnSuper = nullptr;
  return Detach();
}

// ---- The creation hook ----

namespace {

LRESULT CALLBACK CbtFilterHook(int code, WPARAM wParam, LPARAM) {
  if (code != HCBT_CREATEWND) return 0;
  CWnd* wnd = State().wndInit;
  if (!wnd) return 0;
  State().wndInit = nullptr;
  HWND window = reinterpret_cast<HWND>(wParam);
  wnd->Attach(window);
  wnd->PreSubclassWindow();
  auto old = reinterpret_cast<WNDPROC>(SetWindowLongPtr(window, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc)));
  if (old != AfxWndProc) wnd->m_pfnSuper = old;
  return 0;
}

// The window class of windows that CWnd::Create makes without a class of their own.
LPCTSTR AfxWndClass() {
  static bool registered = false;
  if (!registered) {
    WNDCLASS wc{};
    wc.lpfnWndProc = DefWindowProc;
    wc.lpszClassName = "AfxWnd42";
    RegisterClass(&wc);
    registered = true;
  }
  return "AfxWnd42";
}

}  // namespace

void AfxHookWindowCreate(CWnd* wnd) {
  if (!State().hook) State().hook = SetWindowsHookEx(WH_CBT, CbtFilterHook, nullptr, GetCurrentThreadId());
  State().wndInit = wnd;
}

BOOL AfxUnhookWindowCreate() {
  bool hooked = State().wndInit == nullptr;
  State().wndInit = nullptr;
  return hooked;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs) {
  if (!cs.lpszClass) cs.lpszClass = AfxWndClass();
  return TRUE;
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, int x, int y, int width,
                    int height, HWND parent, HMENU idOrMenu, LPVOID param) {
  CREATESTRUCT cs{param, AfxGetInstanceHandle(), idOrMenu, parent, height, width, y, x, static_cast<LONG>(style),
                  windowName, className, exStyle};
  if (!PreCreateWindow(cs)) {
    PostNcDestroy();
    return FALSE;
  }
  AfxHookWindowCreate(this);
  HWND window = ::CreateWindowEx(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x, cs.y,
                                 cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
  AfxUnhookWindowCreate();
  return window != nullptr;
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                    UINT nID, LPVOID param) {
  return CreateEx(exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top, parent ? parent->m_hWnd : nullptr,
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), param);
}

BOOL CWnd::Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT nID, void*) {
  return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent, nID);
}

BOOL CWnd::DestroyWindow() {
  if (!m_hWnd) return FALSE;
  HWND window = m_hWnd;
  BOOL result = ::DestroyWindow(window);
  if (m_hWnd == window && !::IsWindow(window)) Detach();
  return result;
}

// ---- The window procedure ----

LRESULT CALLBACK AfxWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CWnd* wnd = CWnd::FromHandlePermanent(window);
  if (!wnd) return ::DefWindowProc(window, message, wParam, lParam);
  MSG saved = State().lastSent;
  State().lastSent = MSG{window, message, wParam, lParam, 0, {0, 0}};
  LRESULT result = wnd->WindowProc(message, wParam, lParam);
  State().lastSent = saved;
  return result;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
  return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_pfnSuper) return ::CallWindowProc(m_pfnSuper, m_hWnd, message, wParam, lParam);
  return ::DefWindowProc(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
  const MSG& msg = State().lastSent;
  return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

const MSG* CWnd::GetCurrentMessage() {
  MSG& msg = State().lastSent;
  msg.time = static_cast<DWORD>(::GetMessageTime());
  DWORD pos = ::GetMessagePos();
  msg.pt = POINT{static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
  return &msg;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message == WM_COMMAND) {
    if (!OnCommand(wParam, lParam)) return FALSE;
    *pResult = 1;
    return TRUE;
  }
  if (message == WM_NOTIFY) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    return header && header->hwndFrom && OnNotify(wParam, lParam, pResult);
  }
  UINT code = 0;
  UINT lookup = message;
  // Every WM_CTLCOLOR* goes to the one OnCtlColor handler with its kind, as in MFC.
  if (qwin::detail::IsCtlColor(message)) {
    code = message - WM_CTLCOLORMSGBOX;
    lookup = WM_CTLCOLOR;
  }
  const AFX_MSGMAP_ENTRY* entry = FindEntry(lookup, 0, 0);
  if (!entry) return FALSE;
  AFX_CALL call{message, wParam, lParam, code, pResult};
  entry->pfn(this, call);
  return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  UINT nID = LOWORD(wParam);
  auto control = reinterpret_cast<HWND>(lParam);
  int nCode = HIWORD(wParam);
  if (control) {
    // The control that sent it may take it first (ON_CONTROL_REFLECT).
    if (ReflectLastMsg(control)) return TRUE;
  }
  return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) {
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  if (ReflectLastMsg(header->hwndFrom, pResult)) return TRUE;
  std::pair<NMHDR*, LRESULT*> extra{header, pResult};
  return OnCmdMsg(static_cast<UINT>(header->idFrom), MAKELONG(header->code, WM_NOTIFY), &extra, nullptr);
}

BOOL CWnd::ReflectLastMsg(HWND child, LRESULT* pResult) {
  CWnd* wnd = FromHandlePermanent(child);
  return wnd && wnd->SendChildNotifyLastMsg(pResult);
}

BOOL CWnd::SendChildNotifyLastMsg(LRESULT* pResult) {
  const MSG& msg = State().lastSent;
  return OnChildNotify(msg.message, msg.wParam, msg.lParam, pResult);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  LRESULT ignored = 0;
  LRESULT* result = pResult ? pResult : &ignored;
  switch (message) {
    case WM_COMMAND: {
      const AFX_MSGMAP_ENTRY* entry = FindEntry(WM_REFLECT_BASE + WM_COMMAND, HIWORD(wParam), 0);
      if (!entry) return FALSE;
      AFX_CALL call{message, wParam, lParam, LOWORD(wParam), result};
      return entry->pfn(this, call);
    }
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      const AFX_MSGMAP_ENTRY* entry = FindEntry(WM_REFLECT_BASE + WM_NOTIFY, header->code, 0);
      if (!entry) entry = FindEntry(WM_REFLECT_BASE + WM_NOTIFY, static_cast<UINT>(static_cast<short>(header->code)), 0);
      if (!entry) return FALSE;
      AFX_CALL call{message, wParam, lParam, static_cast<UINT>(header->idFrom), result};
      return entry->pfn(this, call);
    }
    default: {
      // Every WM_CTLCOLOR* reflects to the one CtlColor handler with its kind.
      bool ctlColor = qwin::detail::IsCtlColor(message);
      const AFX_MSGMAP_ENTRY* entry = FindEntry(WM_REFLECT_BASE + (ctlColor ? WM_CTLCOLOR : message), 0, 0);
      if (!entry) return FALSE;
      AFX_CALL call{message, wParam, lParam, ctlColor ? message - WM_CTLCOLORMSGBOX : 0, result};
      return entry->pfn(this, call);
    }
  }
}

// ---- Default handlers ----

int CWnd::OnCreate(LPCREATESTRUCT) { return static_cast<int>(Default()); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnPaint() { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnMove(int, int) { Default(); }
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
UINT CWnd::OnNcHitTest(CPoint) { return static_cast<UINT>(Default()); }
void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) { return static_cast<BOOL>(Default()); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnContextMenu(CWnd*, CPoint) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
void CWnd::OnTimer(UINT) { Default(); }
void CWnd::OnEnable(BOOL) { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }
HCURSOR CWnd::OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(Default()); }
void CWnd::OnActivate(UINT, CWnd*, BOOL) { Default(); }
void CWnd::OnInitMenuPopup(CMenu*, UINT, BOOL) { Default(); }

void CWnd::OnNcDestroy() {
  HWND window = m_hWnd;
  auto proc = GetWindowLongPtr(window, GWL_WNDPROC);
  Default();
  if (GetWindowLongPtr(window, GWL_WNDPROC) == proc && m_pfnSuper) {
    SetWindowLongPtr(window, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
  }
  m_pfnSuper = nullptr;
  Detach();
  State().tempWindows.erase(window);
  PostNcDestroy();
}

// Owner draw and control colours go first to the control that asked (reflection), then to the default.
void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT item) {
  if (item->CtlType != ODT_MENU && ReflectLastMsg(item->hwndItem)) return;
  Default();
}

void CWnd::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT item) {
  if (item->CtlType != ODT_MENU) {
    HWND control = ::GetDlgItem(m_hWnd, nIDCtl);
    if (control && ReflectLastMsg(control)) return;
  }
  Default();
}

void CWnd::OnDeleteItem(int, LPDELETEITEMSTRUCT item) {
  if (ReflectLastMsg(item->hwndItem)) return;
  Default();
}

int CWnd::OnCompareItem(int, LPCOMPAREITEMSTRUCT item) {
  LRESULT result = 0;
  if (ReflectLastMsg(item->hwndItem, &result)) return static_cast<int>(result);
  return static_cast<int>(Default());
}

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* wnd, UINT) {
  LRESULT result = 0;
  if (wnd && wnd->m_hWnd != m_hWnd && ReflectLastMsg(wnd->m_hWnd, &result)) return reinterpret_cast<HBRUSH>(result);
  return reinterpret_cast<HBRUSH>(Default());
}

// ---- Messages, tree, state ----

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::SendMessage(m_hWnd, message, wParam, lParam);
}
BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::PostMessage(m_hWnd, message, wParam, lParam);
}
LRESULT CWnd::SendDlgItemMessage(int nID, UINT message, WPARAM wParam, LPARAM lParam) {
  return ::SendDlgItemMessage(m_hWnd, nID, message, wParam, lParam);
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

BOOL CWnd::WalkPreTranslateTree(HWND stop, MSG* pMsg) {
  for (HWND window = pMsg->hwnd; window; window = ::GetParent(window)) {
    if (CWnd* wnd = FromHandlePermanent(window)) {
      if (wnd->PreTranslateMessage(pMsg)) return TRUE;
    }
    if (window == stop) break;
  }
  return FALSE;
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
  CDataExchange dx(this, bSaveAndValidate);
  try {
    DoDataExchange(&dx);
  } catch (CUserException* e) {
    e->Delete();
    return FALSE;
  }
  return TRUE;
}

CWnd* CWnd::GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
CWnd* CWnd::GetOwner() const { return FromHandle(::GetParent(m_hWnd)); }
CWnd* CWnd::GetTopLevelParent() const {
  HWND window = m_hWnd;
  while (window && (::GetWindowLong(window, GWL_STYLE) & WS_CHILD)) window = ::GetParent(window);
  return FromHandle(window);
}
CWnd* CWnd::GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }
void CWnd::GetDlgItem(int nID, HWND* window) const { *window = ::GetDlgItem(m_hWnd, nID); }
int CWnd::GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
int CWnd::SetDlgCtrlID(int nID) { return static_cast<int>(::SetWindowLongPtr(m_hWnd, GWL_ID, nID)); }
CWnd* CWnd::GetWindow(UINT relation) const { return FromHandle(::GetWindow(m_hWnd, relation)); }
CWnd* CWnd::GetNextDlgTabItem(CWnd* control, BOOL previous) const {
  return FromHandle(::GetNextDlgTabItem(m_hWnd, control ? control->m_hWnd : nullptr, previous));
}
DWORD CWnd::GetStyle() const { return static_cast<DWORD>(::GetWindowLong(m_hWnd, GWL_STYLE)); }
DWORD CWnd::GetExStyle() const { return static_cast<DWORD>(::GetWindowLong(m_hWnd, GWL_EXSTYLE)); }
BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT flags) {
  DWORD style = GetStyle();
  DWORD next = (style & ~remove) | add;
  if (style == next) return FALSE;
  ::SetWindowLong(m_hWnd, GWL_STYLE, static_cast<LONG>(next));
  if (flags) ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | flags);
  return TRUE;
}
BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT flags) {
  DWORD style = GetExStyle();
  DWORD next = (style & ~remove) | add;
  if (style == next) return FALSE;
  ::SetWindowLong(m_hWnd, GWL_EXSTYLE, static_cast<LONG>(next));
  if (flags) ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | flags);
  return TRUE;
}
BOOL CWnd::ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
BOOL CWnd::IsIconic() const { return ::IsIconic(m_hWnd); }
BOOL CWnd::IsZoomed() const { return ::IsZoomed(m_hWnd); }
BOOL CWnd::EnableWindow(BOOL enable) { return ::EnableWindow(m_hWnd, enable); }
BOOL CWnd::IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
CWnd* CWnd::SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
CWnd* CWnd::GetFocus() { return FromHandle(::GetFocus()); }
CWnd* CWnd::GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
CWnd* CWnd::SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }
CWnd* CWnd::SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
CWnd* CWnd::GetCapture() { return FromHandle(::GetCapture()); }
BOOL CWnd::IsChild(const CWnd* window) const { return window && ::IsChild(m_hWnd, window->m_hWnd); }

void CWnd::SetWindowText(LPCTSTR text) { ::SetWindowText(m_hWnd, text); }
int CWnd::GetWindowText(LPTSTR text, int size) const { return ::GetWindowText(m_hWnd, text, size); }
void CWnd::GetWindowText(CString& text) const {
  int length = ::GetWindowTextLength(m_hWnd);
  ::GetWindowText(m_hWnd, text.GetBufferSetLength(length), length + 1);
  text.ReleaseBuffer();
}
int CWnd::GetWindowTextLength() const { return ::GetWindowTextLength(m_hWnd); }
void CWnd::SetDlgItemText(int nID, LPCTSTR text) { ::SetDlgItemText(m_hWnd, nID, text); }
int CWnd::GetDlgItemText(int nID, LPTSTR text, int size) const {
  return static_cast<int>(::GetDlgItemText(m_hWnd, nID, text, size));
}
int CWnd::GetDlgItemText(int nID, CString& text) const {
  HWND item = ::GetDlgItem(m_hWnd, nID);
  if (!item) {
    text.Empty();
    return 0;
  }
  FromHandle(item)->GetWindowText(text);
  return text.GetLength();
}
void CWnd::SetDlgItemInt(int nID, UINT value, BOOL isSigned) { ::SetDlgItemInt(m_hWnd, nID, value, isSigned); }
UINT CWnd::GetDlgItemInt(int nID, BOOL* translated, BOOL isSigned) const {
  return ::GetDlgItemInt(m_hWnd, nID, translated, isSigned);
}
void CWnd::CheckDlgButton(int nID, UINT check) { ::CheckDlgButton(m_hWnd, nID, check); }
UINT CWnd::IsDlgButtonChecked(int nID) const { return ::IsDlgButtonChecked(m_hWnd, nID); }
void CWnd::CheckRadioButton(int first, int last, int check) { ::CheckRadioButton(m_hWnd, first, last, check); }
void CWnd::SetFont(CFont* font, BOOL redraw) {
  ::SendMessage(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(font ? font->m_hObject : nullptr), redraw);
}
CFont* CWnd::GetFont() const {
  return CFont::FromHandle(reinterpret_cast<HFONT>(::SendMessage(m_hWnd, WM_GETFONT, 0, 0)));
}
HICON CWnd::SetIcon(HICON icon, BOOL bigIcon) {
  return reinterpret_cast<HICON>(
      ::SendMessage(m_hWnd, WM_SETICON, bigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
}
HICON CWnd::GetIcon(BOOL bigIcon) const {
  return reinterpret_cast<HICON>(::SendMessage(m_hWnd, WM_GETICON, bigIcon ? ICON_BIG : ICON_SMALL, 0));
}

void CWnd::GetWindowRect(LPRECT rect) const { ::GetWindowRect(m_hWnd, rect); }
void CWnd::GetClientRect(LPRECT rect) const { ::GetClientRect(m_hWnd, rect); }
void CWnd::ClientToScreen(LPPOINT point) const { ::ClientToScreen(m_hWnd, point); }
void CWnd::ClientToScreen(LPRECT rect) const {
  ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(rect));
  ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(rect) + 1);
}
void CWnd::ScreenToClient(LPPOINT point) const { ::ScreenToClient(m_hWnd, point); }
void CWnd::ScreenToClient(LPRECT rect) const {
  ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(rect));
  ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(rect) + 1);
}
void CWnd::MapWindowPoints(CWnd* to, LPRECT rect) const {
  ::MapWindowPoints(m_hWnd, to ? to->m_hWnd : nullptr, reinterpret_cast<LPPOINT>(rect), 2);
}
void CWnd::MapWindowPoints(CWnd* to, LPPOINT points, UINT count) const {
  ::MapWindowPoints(m_hWnd, to ? to->m_hWnd : nullptr, points, count);
}
void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
  ::MoveWindow(m_hWnd, x, y, width, height, repaint);
}
void CWnd::MoveWindow(LPCRECT rect, BOOL repaint) {
  ::MoveWindow(m_hWnd, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
}
BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags) {
  return ::SetWindowPos(m_hWnd, insertAfter ? insertAfter->m_hWnd : nullptr, x, y, cx, cy, flags);
}
void CWnd::CenterWindow(CWnd* alternateOwner) {
  CRect rect;
  GetWindowRect(&rect);
  CRect area(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
  HWND around = alternateOwner ? alternateOwner->m_hWnd : ::GetParent(m_hWnd);
  if (around) ::GetWindowRect(around, &area);
  int x = area.left + (area.Width() - rect.Width()) / 2;
  int y = area.top + (area.Height() - rect.Height()) / 2;
  if (GetStyle() & WS_CHILD) {
    POINT p{x, y};
    ::ScreenToClient(::GetParent(m_hWnd), &p);
    x = p.x;
    y = p.y;
  }
  ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
void CWnd::Invalidate(BOOL erase) { ::InvalidateRect(m_hWnd, nullptr, erase); }
void CWnd::InvalidateRect(LPCRECT rect, BOOL erase) { ::InvalidateRect(m_hWnd, rect, erase); }
void CWnd::ValidateRect(LPCRECT rect) { ::ValidateRect(m_hWnd, rect); }
void CWnd::UpdateWindow() { ::UpdateWindow(m_hWnd); }
BOOL CWnd::RedrawWindow(LPCRECT rect, HRGN region, UINT flags) { return ::RedrawWindow(m_hWnd, rect, region, flags); }
CDC* CWnd::GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }
CDC* CWnd::GetWindowDC() { return CDC::FromHandle(::GetWindowDC(m_hWnd)); }
int CWnd::ReleaseDC(CDC* dc) {
  if (!dc) return 0;
  HDC handle = dc->m_hDC;
  afxdetail::ForgetTempDc(handle);
  return ::ReleaseDC(m_hWnd, handle);
}
CMenu* CWnd::GetSystemMenu(BOOL revert) const { return CMenu::FromHandle(::GetSystemMenu(m_hWnd, revert)); }
CMenu* CWnd::GetMenu() const { return CMenu::FromHandle(::GetMenu(m_hWnd)); }
int CWnd::MessageBox(LPCTSTR text, LPCTSTR caption, UINT type) {
  return ::MessageBox(m_hWnd, text, caption ? caption : AfxGetAppName(), type);
}
UINT_PTR CWnd::SetTimer(UINT_PTR, UINT, void (*)(HWND, UINT, UINT_PTR, DWORD)) {
  qwin::detail::Unimplemented("CWnd::SetTimer (there are no timers)");
  return 0;
}
BOOL CWnd::KillTimer(UINT_PTR) { return FALSE; }
void CWnd::DragAcceptFiles(BOOL) { qwin::detail::Unimplemented("CWnd::DragAcceptFiles"); }

// ---- Modal loops ----

int CWnd::RunModalLoop(DWORD) {
  m_nFlags |= WF_MODALLOOP;
  HWND window = m_hWnd;
  qwin::detail::ModalWait wait;
  std::string name = qwin::detail::ResourceNameOf(State().modalTemplate);
  wait.name = "dialog " + (name.empty() ? std::string("window") : name);
  wait.window = window;
  wait.cancel = [window] {
    ::PostMessage(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                  reinterpret_cast<LPARAM>(::GetDlgItem(window, IDCANCEL)));
  };
  wait.force = [this, window] {
    if (FromHandlePermanent(window) == this) EndModalLoop(IDCANCEL);
  };
  wait.ended = [this, window] { return FromHandlePermanent(window) != this || !ContinueModal(); };
  // Shown when the loop first runs, after OnInitDialog, as MFC's MLF_SHOWONIDLE does.
  if (!(GetStyle() & WS_VISIBLE)) ShowWindow(SW_SHOWNORMAL);
  qwin::detail::RunModalWait(wait, [](MSG& msg) {
    if (!AfxGetThread()->PreTranslateMessage(&msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessage(&msg);
    }
  });
  m_nFlags &= ~WF_MODALLOOP;
  // Temporary objects of windows that are gone can no longer be used: let them go.
  for (auto it = State().tempWindows.begin(); it != State().tempWindows.end();) {
    it = ::IsWindow(it->first) ? std::next(it) : State().tempWindows.erase(it);
  }
  return m_nModalResult;
}

BOOL CWnd::ContinueModal() { return (m_nFlags & WF_CONTINUEMODAL) != 0; }

void CWnd::EndModalLoop(int result) {
  m_nModalResult = result;
  m_nFlags &= ~WF_CONTINUEMODAL;
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg) {
  HWND stop = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
  return CWnd::WalkPreTranslateTree(stop, pMsg);
}

BOOL CWinThread::PumpMessage() {
  MSG msg;
  if (!::GetMessage(&msg, nullptr, 0, 0)) return FALSE;
  if (!PreTranslateMessage(&msg)) {
    ::TranslateMessage(&msg);
    ::DispatchMessage(&msg);
  }
  return TRUE;
}
