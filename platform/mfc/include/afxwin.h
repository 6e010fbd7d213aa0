// MFC stand-in: windows, dialogs, controls, GDI wrappers, menus, the application object and its
// profile, message maps and data exchange, with MFC 4.2's names.
#pragma once

#include <afx.h>
#include <afxcoll.h>
#include <afxres.h>
#include <commctrl.h>
#include <windows.h>

#include <map>
#include <utility>

class CWnd;
class CDC;
class CMenu;
class CWinApp;
class CDataExchange;

// ---- Geometry ----

class CSize : public SIZE {
 public:
  CSize() : SIZE{0, 0} {}
  CSize(int cx, int cy) : SIZE{cx, cy} {}
  CSize(SIZE s) : SIZE(s) {}  // NOLINT(google-explicit-constructor)
  BOOL operator==(SIZE s) const { return cx == s.cx && cy == s.cy; }
  BOOL operator!=(SIZE s) const { return !(*this == s); }
};

class CPoint : public POINT {
 public:
  CPoint() : POINT{0, 0} {}
  CPoint(int x, int y) : POINT{x, y} {}
  CPoint(POINT p) : POINT(p) {}  // NOLINT(google-explicit-constructor)
  explicit CPoint(DWORD packed) : POINT{static_cast<short>(LOWORD(packed)), static_cast<short>(HIWORD(packed))} {}
  void Offset(int dx, int dy) {
    x += dx;
    y += dy;
  }
  BOOL operator==(POINT p) const { return x == p.x && y == p.y; }
  BOOL operator!=(POINT p) const { return !(*this == p); }
  CPoint operator+(SIZE s) const { return CPoint(x + s.cx, y + s.cy); }
  CPoint operator-(SIZE s) const { return CPoint(x - s.cx, y - s.cy); }
  CSize operator-(POINT p) const { return CSize(x - p.x, y - p.y); }
};

class CRect : public RECT {
 public:
  CRect() : RECT{0, 0, 0, 0} {}
  CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
  CRect(const RECT& r) : RECT(r) {}  // NOLINT(google-explicit-constructor)
  CRect(const RECT* r) : RECT(*r) {}  // NOLINT(google-explicit-constructor)
  CRect(POINT p, SIZE s) : RECT{p.x, p.y, p.x + s.cx, p.y + s.cy} {}
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  CSize Size() const { return CSize(Width(), Height()); }
  CPoint TopLeft() const { return CPoint(left, top); }
  CPoint BottomRight() const { return CPoint(right, bottom); }
  CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }
  BOOL IsRectEmpty() const { return ::IsRectEmpty(this); }
  BOOL IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
  BOOL PtInRect(POINT p) const { return ::PtInRect(this, p); }
  void SetRect(int l, int t, int r, int b) { ::SetRect(this, l, t, r, b); }
  void SetRectEmpty() { ::SetRectEmpty(this); }
  void CopyRect(const RECT* r) { ::CopyRect(this, r); }
  BOOL EqualRect(const RECT* r) const { return ::EqualRect(this, r); }
  void InflateRect(int dx, int dy) { ::InflateRect(this, dx, dy); }
  void DeflateRect(int dx, int dy) { ::InflateRect(this, -dx, -dy); }
  void OffsetRect(int dx, int dy) { ::OffsetRect(this, dx, dy); }
  void OffsetRect(POINT p) { ::OffsetRect(this, p.x, p.y); }
  void NormalizeRect() {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
  }
  BOOL IntersectRect(const RECT* a, const RECT* b) { return ::IntersectRect(this, a, b); }
  BOOL UnionRect(const RECT* a, const RECT* b) { return ::UnionRect(this, a, b); }
  operator LPRECT() { return this; }  // NOLINT(google-explicit-constructor)
  operator LPCRECT() const { return this; }  // NOLINT(google-explicit-constructor)
  BOOL operator==(const RECT& r) const { return ::EqualRect(this, &r); }
  BOOL operator!=(const RECT& r) const { return !::EqualRect(this, &r); }
};

// ---- Message maps ----

class CCmdTarget;

// What a handler thunk receives: the message and its words, and where to put the result.
struct AFX_CALL {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  UINT id;
  LRESULT* result;
};
// Calls one handler; FALSE when the handler (an _EX form) declines the message.
typedef BOOL (*AFX_THUNK)(CCmdTarget* target, const AFX_CALL& call);

struct AFX_MSGMAP_ENTRY {
  UINT nMessage;   // window message, WM_COMMAND or WM_NOTIFY (plus WM_REFLECT_BASE when reflected)
  UINT nCode;      // control notification code, or the WM_CTLCOLOR kind
  UINT nID;        // control id range
  UINT nLastID;
  UINT_PTR nSig;   // unused: the thunk knows the handler's signature
  AFX_THUNK pfn;   // null ends the table
};

struct AFX_MSGMAP {
  const AFX_MSGMAP* (*pfnGetBaseMap)();
  const AFX_MSGMAP_ENTRY* lpEntries;
};

constexpr UINT CN_COMMAND = 0;
constexpr UINT CN_UPDATE_COMMAND_UI = static_cast<UINT>(-1);

namespace afxdetail {

template <typename T>
struct MemberOf;
template <typename C, typename R, typename... A>
struct MemberOf<R (C::*)(A...)> {
  using Class = C;
};

template <auto F>
auto* Obj(CCmdTarget* t) {
  return static_cast<typename MemberOf<decltype(F)>::Class*>(t);
}

CWnd* WndFromHandle(HWND window);
CDC* DcFromHandle(HDC dc);
CMenu* MenuFromHandle(HMENU menu);

template <auto F>
BOOL Call_v(CCmdTarget* t, const AFX_CALL&) {
  (Obj<F>(t)->*F)();
  return TRUE;
}
template <auto F>
BOOL Call_bv(CCmdTarget* t, const AFX_CALL&) {
  return (Obj<F>(t)->*F)();
}
template <auto F>
BOOL Call_vId(CCmdTarget* t, const AFX_CALL& c) {
  (Obj<F>(t)->*F)(c.id);
  return TRUE;
}
template <auto F>
BOOL Call_bId(CCmdTarget* t, const AFX_CALL& c) {
  return (Obj<F>(t)->*F)(c.id);
}
template <auto F>
BOOL Call_notify(CCmdTarget* t, const AFX_CALL& c) {
  (Obj<F>(t)->*F)(reinterpret_cast<NMHDR*>(c.lParam), c.result);
  return TRUE;
}
template <auto F>
BOOL Call_notifyEx(CCmdTarget* t, const AFX_CALL& c) {
  return (Obj<F>(t)->*F)(reinterpret_cast<NMHDR*>(c.lParam), c.result);
}
template <auto F>
BOOL Call_notifyRange(CCmdTarget* t, const AFX_CALL& c) {
  (Obj<F>(t)->*F)(c.id, reinterpret_cast<NMHDR*>(c.lParam), c.result);
  return TRUE;
}
template <auto F>
BOOL Call_lwl(CCmdTarget* t, const AFX_CALL& c) {
  *c.result = (Obj<F>(t)->*F)(c.wParam, c.lParam);
  return TRUE;
}
template <auto F>
BOOL Call_create(CCmdTarget* t, const AFX_CALL& c) {
  *c.result = (Obj<F>(t)->*F)(reinterpret_cast<LPCREATESTRUCT>(c.lParam));
  return TRUE;
}
template <auto F>
BOOL Call_vwii(CCmdTarget* t, const AFX_CALL& c) {
  (Obj<F>(t)->*F)(static_cast<UINT>(c.wParam), static_cast<short>(LOWORD(c.lParam)), static_cast<short>(HIWORD(c.lParam)));
  return TRUE;
}
template <auto F>
BOOL Call_vii(CCmdTarget* t, const AFX_CALL& c) {
  (Obj<F>(t)->*F)(static_cast<short>(LOWORD(c.lParam)), static_cast<short>(HIWORD(c.lParam)));
  return TRUE;
}
template <auto F>
BOOL Call_minmax(CCmdTarget* t, const AFX_CALL& c) {
  (Obj<F>(t)->*F)(reinterpret_cast<MINMAXINFO*>(c.lParam));
  return TRUE;
}
template <auto F>
BOOL Call_hittest(CCmdTarget* t, const AFX_CALL& c) {
  *c.result = static_cast<LRESULT>((Obj<F>(t)->*F)(CPoint(static_cast<DWORD>(c.lParam))));
  return TRUE;
}
template <auto F>
BOOL Call_syscommand(CCmdTarget* t, const AFX_CALL& c) {
  (Obj<F>(t)->*F)(static_cast<UINT>(c.wParam), c.lParam);
  return TRUE;
}
template <auto F>
BOOL Call_showwindow(CCmdTarget* t, const AFX_CALL& c) {
  (Obj<F>(t)->*F)(static_cast<BOOL>(c.wParam), static_cast<UINT>(c.lParam));
  return TRUE;
}
template <auto F, typename S>
BOOL Call_item(CCmdTarget* t, const AFX_CALL& c) {
  (Obj<F>(t)->*F)(static_cast<int>(c.wParam), reinterpret_cast<S*>(c.lParam));
  return TRUE;
}
template <auto F>
BOOL Call_compareitem(CCmdTarget* t, const AFX_CALL& c) {
  *c.result = (Obj<F>(t)->*F)(static_cast<int>(c.wParam), reinterpret_cast<LPCOMPAREITEMSTRUCT>(c.lParam));
  return TRUE;
}
template <auto F>
BOOL Call_setcursor(CCmdTarget* t, const AFX_CALL& c) {
  *c.result = (Obj<F>(t)->*F)(WndFromHandle(reinterpret_cast<HWND>(c.wParam)), LOWORD(c.lParam), HIWORD(c.lParam));
  return TRUE;
}
template <auto F>
BOOL Call_mouse(CCmdTarget* t, const AFX_CALL& c) {
  (Obj<F>(t)->*F)(static_cast<UINT>(c.wParam), CPoint(static_cast<DWORD>(c.lParam)));
  return TRUE;
}
template <auto F>
BOOL Call_contextmenu(CCmdTarget* t, const AFX_CALL& c) {
  (Obj<F>(t)->*F)(WndFromHandle(reinterpret_cast<HWND>(c.wParam)), CPoint(static_cast<DWORD>(c.lParam)));
  return TRUE;
}
template <auto F>
BOOL Call_ctlcolor(CCmdTarget* t, const AFX_CALL& c) {
  *c.result = reinterpret_cast<LRESULT>((Obj<F>(t)->*F)(DcFromHandle(reinterpret_cast<HDC>(c.wParam)),
                                                        WndFromHandle(reinterpret_cast<HWND>(c.lParam)), c.id));
  return TRUE;
}
template <auto F>
BOOL Call_ctlcolorReflect(CCmdTarget* t, const AFX_CALL& c) {
  HBRUSH brush = (Obj<F>(t)->*F)(DcFromHandle(reinterpret_cast<HDC>(c.wParam)), c.id);
  *c.result = reinterpret_cast<LRESULT>(brush);
  return brush != nullptr;
}
template <auto F>
BOOL Call_key(CCmdTarget* t, const AFX_CALL& c) {
  (Obj<F>(t)->*F)(static_cast<UINT>(c.wParam), LOWORD(c.lParam), HIWORD(c.lParam));
  return TRUE;
}
template <auto F>
BOOL Call_focus(CCmdTarget* t, const AFX_CALL& c) {
  (Obj<F>(t)->*F)(WndFromHandle(reinterpret_cast<HWND>(c.wParam)));
  return TRUE;
}
template <auto F>
BOOL Call_uint(CCmdTarget* t, const AFX_CALL& c) {
  (Obj<F>(t)->*F)(static_cast<UINT>(c.wParam));
  return TRUE;
}
template <auto F>
BOOL Call_bool(CCmdTarget* t, const AFX_CALL& c) {
  (Obj<F>(t)->*F)(static_cast<BOOL>(c.wParam));
  return TRUE;
}
template <auto F>
BOOL Call_erase(CCmdTarget* t, const AFX_CALL& c) {
  *c.result = (Obj<F>(t)->*F)(DcFromHandle(reinterpret_cast<HDC>(c.wParam)));
  return TRUE;
}
template <auto F>
BOOL Call_handle(CCmdTarget* t, const AFX_CALL& c) {
  *c.result = reinterpret_cast<LRESULT>((Obj<F>(t)->*F)());
  return TRUE;
}
template <auto F>
BOOL Call_activate(CCmdTarget* t, const AFX_CALL& c) {
  (Obj<F>(t)->*F)(LOWORD(c.wParam), WndFromHandle(reinterpret_cast<HWND>(c.lParam)), HIWORD(c.wParam));
  return TRUE;
}
template <auto F>
BOOL Call_initmenupopup(CCmdTarget* t, const AFX_CALL& c) {
  (Obj<F>(t)->*F)(MenuFromHandle(reinterpret_cast<HMENU>(c.wParam)), LOWORD(c.lParam), HIWORD(c.lParam));
  return TRUE;
}

}  // namespace afxdetail

#define DECLARE_MESSAGE_MAP()                          \
 protected:                                            \
  static const AFX_MSGMAP* PASCAL GetThisMessageMap(); \
  const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                 \
  const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
  const AFX_MSGMAP* PASCAL theClass::GetThisMessageMap() {                     \
    typedef theClass ThisClass;                                                \
    typedef baseClass TheBaseClass;                                            \
    static const AFX_MSGMAP_ENTRY _messageEntries[] = {
#define END_MESSAGE_MAP()                                                           \
  {0, 0, 0, 0, 0, nullptr}                                                          \
  }                                                                                 \
  ;                                                                                 \
  static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
  return &messageMap;                                                               \
  }

// Commands and control notifications.
#define ON_COMMAND(id, fn) {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), 0, &afxdetail::Call_v<&ThisClass::fn>},
#define ON_COMMAND_EX(id, fn) {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), 0, &afxdetail::Call_bId<&ThisClass::fn>},
#define ON_COMMAND_RANGE(id, idLast, fn) \
  {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(idLast), 0, &afxdetail::Call_vId<&ThisClass::fn>},
#define ON_CONTROL(code, id, fn) {WM_COMMAND, (UINT)(code), (UINT)(id), (UINT)(id), 0, &afxdetail::Call_v<&ThisClass::fn>},
#define ON_CONTROL_RANGE(code, id, idLast, fn) \
  {WM_COMMAND, (UINT)(code), (UINT)(id), (UINT)(idLast), 0, &afxdetail::Call_vId<&ThisClass::fn>},
#define ON_CONTROL_REFLECT(code, fn) \
  {WM_COMMAND + WM_REFLECT_BASE, (UINT)(code), 0, 0, 0, &afxdetail::Call_v<&ThisClass::fn>},
#define ON_CONTROL_REFLECT_EX(code, fn) \
  {WM_COMMAND + WM_REFLECT_BASE, (UINT)(code), 0, 0, 0, &afxdetail::Call_bv<&ThisClass::fn>},
#define ON_NOTIFY(code, id, fn) {WM_NOTIFY, (UINT)(code), (UINT)(id), (UINT)(id), 0, &afxdetail::Call_notify<&ThisClass::fn>},
#define ON_NOTIFY_RANGE(code, id, idLast, fn) \
  {WM_NOTIFY, (UINT)(code), (UINT)(id), (UINT)(idLast), 0, &afxdetail::Call_notifyRange<&ThisClass::fn>},
#define ON_NOTIFY_EX(code, id, fn) \
  {WM_NOTIFY, (UINT)(code), (UINT)(id), (UINT)(id), 0, &afxdetail::Call_notifyEx<&ThisClass::fn>},
#define ON_NOTIFY_REFLECT(code, fn) \
  {WM_NOTIFY + WM_REFLECT_BASE, (UINT)(code), 0, 0, 0, &afxdetail::Call_notify<&ThisClass::fn>},
#define ON_NOTIFY_REFLECT_EX(code, fn) \
  {WM_NOTIFY + WM_REFLECT_BASE, (UINT)(code), 0, 0, 0, &afxdetail::Call_notifyEx<&ThisClass::fn>},
#define ON_MESSAGE(message, fn) {(UINT)(message), 0, 0, 0, 0, &afxdetail::Call_lwl<&ThisClass::fn>},

#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
#define ON_BN_DOUBLECLICKED(id, fn) ON_CONTROL(BN_DOUBLECLICKED, id, fn)
#define ON_BN_SETFOCUS(id, fn) ON_CONTROL(BN_SETFOCUS, id, fn)
#define ON_BN_KILLFOCUS(id, fn) ON_CONTROL(BN_KILLFOCUS, id, fn)
#define ON_CBN_SELCHANGE(id, fn) ON_CONTROL(CBN_SELCHANGE, id, fn)
#define ON_CBN_DBLCLK(id, fn) ON_CONTROL(CBN_DBLCLK, id, fn)
#define ON_CBN_SETFOCUS(id, fn) ON_CONTROL(CBN_SETFOCUS, id, fn)
#define ON_CBN_KILLFOCUS(id, fn) ON_CONTROL(CBN_KILLFOCUS, id, fn)
#define ON_CBN_EDITCHANGE(id, fn) ON_CONTROL(CBN_EDITCHANGE, id, fn)
#define ON_CBN_EDITUPDATE(id, fn) ON_CONTROL(CBN_EDITUPDATE, id, fn)
#define ON_CBN_DROPDOWN(id, fn) ON_CONTROL(CBN_DROPDOWN, id, fn)
#define ON_CBN_CLOSEUP(id, fn) ON_CONTROL(CBN_CLOSEUP, id, fn)
#define ON_CBN_SELENDOK(id, fn) ON_CONTROL(CBN_SELENDOK, id, fn)
#define ON_CBN_SELENDCANCEL(id, fn) ON_CONTROL(CBN_SELENDCANCEL, id, fn)
#define ON_EN_SETFOCUS(id, fn) ON_CONTROL(EN_SETFOCUS, id, fn)
#define ON_EN_KILLFOCUS(id, fn) ON_CONTROL(EN_KILLFOCUS, id, fn)
#define ON_EN_CHANGE(id, fn) ON_CONTROL(EN_CHANGE, id, fn)
#define ON_EN_UPDATE(id, fn) ON_CONTROL(EN_UPDATE, id, fn)
#define ON_EN_MAXTEXT(id, fn) ON_CONTROL(EN_MAXTEXT, id, fn)
#define ON_STN_CLICKED(id, fn) ON_CONTROL(STN_CLICKED, id, fn)
#define ON_STN_DBLCLK(id, fn) ON_CONTROL(STN_DBLCLK, id, fn)

// Window messages, each to the handler of MFC's name and signature.
#define ON_WM_CREATE() {WM_CREATE, 0, 0, 0, 0, &afxdetail::Call_create<&ThisClass::OnCreate>},
#define ON_WM_DESTROY() {WM_DESTROY, 0, 0, 0, 0, &afxdetail::Call_v<&ThisClass::OnDestroy>},
#define ON_WM_NCDESTROY() {WM_NCDESTROY, 0, 0, 0, 0, &afxdetail::Call_v<&ThisClass::OnNcDestroy>},
#define ON_WM_CLOSE() {WM_CLOSE, 0, 0, 0, 0, &afxdetail::Call_v<&ThisClass::OnClose>},
#define ON_WM_PAINT() {WM_PAINT, 0, 0, 0, 0, &afxdetail::Call_v<&ThisClass::OnPaint>},
#define ON_WM_SIZE() {WM_SIZE, 0, 0, 0, 0, &afxdetail::Call_vwii<&ThisClass::OnSize>},
#define ON_WM_MOVE() {WM_MOVE, 0, 0, 0, 0, &afxdetail::Call_vii<&ThisClass::OnMove>},
#define ON_WM_GETMINMAXINFO() {WM_GETMINMAXINFO, 0, 0, 0, 0, &afxdetail::Call_minmax<&ThisClass::OnGetMinMaxInfo>},
#define ON_WM_NCHITTEST() {WM_NCHITTEST, 0, 0, 0, 0, &afxdetail::Call_hittest<&ThisClass::OnNcHitTest>},
#define ON_WM_SYSCOMMAND() {WM_SYSCOMMAND, 0, 0, 0, 0, &afxdetail::Call_syscommand<&ThisClass::OnSysCommand>},
#define ON_WM_SHOWWINDOW() {WM_SHOWWINDOW, 0, 0, 0, 0, &afxdetail::Call_showwindow<&ThisClass::OnShowWindow>},
#define ON_WM_DRAWITEM() \
  {WM_DRAWITEM, 0, 0, 0, 0, &afxdetail::Call_item<&ThisClass::OnDrawItem, DRAWITEMSTRUCT>},
#define ON_WM_MEASUREITEM() \
  {WM_MEASUREITEM, 0, 0, 0, 0, &afxdetail::Call_item<&ThisClass::OnMeasureItem, MEASUREITEMSTRUCT>},
#define ON_WM_DELETEITEM() \
  {WM_DELETEITEM, 0, 0, 0, 0, &afxdetail::Call_item<&ThisClass::OnDeleteItem, DELETEITEMSTRUCT>},
#define ON_WM_COMPAREITEM() {WM_COMPAREITEM, 0, 0, 0, 0, &afxdetail::Call_compareitem<&ThisClass::OnCompareItem>},
#define ON_WM_SETCURSOR() {WM_SETCURSOR, 0, 0, 0, 0, &afxdetail::Call_setcursor<&ThisClass::OnSetCursor>},
#define ON_WM_LBUTTONDOWN() {WM_LBUTTONDOWN, 0, 0, 0, 0, &afxdetail::Call_mouse<&ThisClass::OnLButtonDown>},
#define ON_WM_LBUTTONUP() {WM_LBUTTONUP, 0, 0, 0, 0, &afxdetail::Call_mouse<&ThisClass::OnLButtonUp>},
#define ON_WM_LBUTTONDBLCLK() {WM_LBUTTONDBLCLK, 0, 0, 0, 0, &afxdetail::Call_mouse<&ThisClass::OnLButtonDblClk>},
#define ON_WM_RBUTTONDOWN() {WM_RBUTTONDOWN, 0, 0, 0, 0, &afxdetail::Call_mouse<&ThisClass::OnRButtonDown>},
#define ON_WM_RBUTTONUP() {WM_RBUTTONUP, 0, 0, 0, 0, &afxdetail::Call_mouse<&ThisClass::OnRButtonUp>},
#define ON_WM_MOUSEMOVE() {WM_MOUSEMOVE, 0, 0, 0, 0, &afxdetail::Call_mouse<&ThisClass::OnMouseMove>},
#define ON_WM_CONTEXTMENU() {WM_CONTEXTMENU, 0, 0, 0, 0, &afxdetail::Call_contextmenu<&ThisClass::OnContextMenu>},
#define ON_WM_CTLCOLOR() {WM_CTLCOLOR, 0, 0, 0, 0, &afxdetail::Call_ctlcolor<&ThisClass::OnCtlColor>},
#define ON_WM_CTLCOLOR_REFLECT() \
  {WM_CTLCOLOR + WM_REFLECT_BASE, 0, 0, 0, 0, &afxdetail::Call_ctlcolorReflect<&ThisClass::CtlColor>},
#define ON_WM_CHAR() {WM_CHAR, 0, 0, 0, 0, &afxdetail::Call_key<&ThisClass::OnChar>},
#define ON_WM_KEYDOWN() {WM_KEYDOWN, 0, 0, 0, 0, &afxdetail::Call_key<&ThisClass::OnKeyDown>},
#define ON_WM_KEYUP() {WM_KEYUP, 0, 0, 0, 0, &afxdetail::Call_key<&ThisClass::OnKeyUp>},
#define ON_WM_SETFOCUS() {WM_SETFOCUS, 0, 0, 0, 0, &afxdetail::Call_focus<&ThisClass::OnSetFocus>},
#define ON_WM_KILLFOCUS() {WM_KILLFOCUS, 0, 0, 0, 0, &afxdetail::Call_focus<&ThisClass::OnKillFocus>},
#define ON_WM_TIMER() {WM_TIMER, 0, 0, 0, 0, &afxdetail::Call_uint<&ThisClass::OnTimer>},
#define ON_WM_ENABLE() {WM_ENABLE, 0, 0, 0, 0, &afxdetail::Call_bool<&ThisClass::OnEnable>},
#define ON_WM_ERASEBKGND() {WM_ERASEBKGND, 0, 0, 0, 0, &afxdetail::Call_erase<&ThisClass::OnEraseBkgnd>},
#define ON_WM_QUERYDRAGICON() {WM_QUERYDRAGICON, 0, 0, 0, 0, &afxdetail::Call_handle<&ThisClass::OnQueryDragIcon>},
#define ON_WM_ACTIVATE() {WM_ACTIVATE, 0, 0, 0, 0, &afxdetail::Call_activate<&ThisClass::OnActivate>},
#define ON_WM_INITMENUPOPUP() \
  {WM_INITMENUPOPUP, 0, 0, 0, 0, &afxdetail::Call_initmenupopup<&ThisClass::OnInitMenuPopup>},

// ---- Command targets and windows ----

class CCmdTarget : public CObject {
 public:
  DECLARE_DYNAMIC(CCmdTarget)
  // Looks `nID`/`nCode` up in the message map chain: WM_COMMAND entries for a plain code,
  // MAKELONG(code, WM_NOTIFY) for notifications with `pExtra` the NMHDR and the result after it.
  virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo);
  void BeginWaitCursor();
  void EndWaitCursor();
  void RestoreWaitCursor();

 protected:
  static const AFX_MSGMAP* PASCAL GetThisMessageMap();
  virtual const AFX_MSGMAP* GetMessageMap() const;
  // The entry for `message` (and `code`, `id`) in this object's map chain, or null.
  const AFX_MSGMAP_ENTRY* FindEntry(UINT message, UINT code, UINT id) const;
  friend class CWnd;
};

// Window flags of MFC's m_nFlags.
constexpr UINT WF_MODALLOOP = 0x0004;
constexpr UINT WF_CONTINUEMODAL = 0x0008;

class CWnd : public CCmdTarget {
  DECLARE_DYNCREATE(CWnd)

 public:
  CWnd();
  ~CWnd() override;

  HWND m_hWnd = nullptr;
  static const CWnd wndTop;
  static const CWnd wndBottom;
  operator HWND() const { return m_hWnd; }  // NOLINT
  HWND GetSafeHwnd() const { return m_hWnd; }

  // The window object of a handle: the permanent one bound to it, or a temporary one.
  static CWnd* FromHandle(HWND window);
  static CWnd* FromHandlePermanent(HWND window);
  BOOL Attach(HWND window);
  HWND Detach();
  BOOL SubclassWindow(HWND window);
  BOOL SubclassDlgItem(UINT nID, CWnd* parent);
  HWND UnsubclassWindow();

  BOOL Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT nID,
                      void* context = nullptr);
  BOOL CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, int x, int y, int width,
                int height, HWND parent, HMENU idOrMenu, LPVOID param = nullptr);
  BOOL CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                UINT nID, LPVOID param = nullptr);
  virtual BOOL DestroyWindow();
  virtual BOOL PreCreateWindow(CREATESTRUCT& cs);

  // Messages.
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  virtual BOOL PreTranslateMessage(MSG* pMsg);
  static BOOL WalkPreTranslateTree(HWND stop, MSG* pMsg);
  BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
  const MSG* GetCurrentMessage();
  LRESULT Default();

  // Tree and state.
  CWnd* GetParent() const;
  CWnd* GetOwner() const;
  CWnd* GetTopLevelParent() const;
  CWnd* GetDlgItem(int nID) const;
  void GetDlgItem(int nID, HWND* window) const;
  int GetDlgCtrlID() const;
  int SetDlgCtrlID(int nID);
  CWnd* GetWindow(UINT relation) const;
  CWnd* GetNextDlgTabItem(CWnd* control, BOOL previous = FALSE) const;
  DWORD GetStyle() const;
  DWORD GetExStyle() const;
  BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
  BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);
  BOOL ShowWindow(int nCmdShow);
  BOOL IsWindowVisible() const;
  BOOL IsIconic() const;
  BOOL IsZoomed() const;
  BOOL EnableWindow(BOOL enable = TRUE);
  BOOL IsWindowEnabled() const;
  CWnd* SetFocus();
  static CWnd* GetFocus();
  static CWnd* GetActiveWindow();
  CWnd* SetActiveWindow();
  CWnd* SetCapture();
  static CWnd* GetCapture();
  BOOL IsChild(const CWnd* window) const;
  BOOL IsWindow() const { return ::IsWindow(m_hWnd); }

  // Text and fonts.
  void SetWindowText(LPCTSTR text);
  int GetWindowText(LPTSTR text, int size) const;
  void GetWindowText(CString& text) const;
  int GetWindowTextLength() const;
  void SetDlgItemText(int nID, LPCTSTR text);
  int GetDlgItemText(int nID, LPTSTR text, int size) const;
  int GetDlgItemText(int nID, CString& text) const;
  void SetDlgItemInt(int nID, UINT value, BOOL isSigned = TRUE);
  UINT GetDlgItemInt(int nID, BOOL* translated = nullptr, BOOL isSigned = TRUE) const;
  void CheckDlgButton(int nID, UINT check);
  UINT IsDlgButtonChecked(int nID) const;
  void CheckRadioButton(int first, int last, int check);
  void SetFont(class CFont* font, BOOL redraw = TRUE);
  class CFont* GetFont() const;
  HICON SetIcon(HICON icon, BOOL bigIcon);
  HICON GetIcon(BOOL bigIcon) const;

  // Geometry and painting.
  void GetWindowRect(LPRECT rect) const;
  void GetClientRect(LPRECT rect) const;
  void ClientToScreen(LPPOINT point) const;
  void ClientToScreen(LPRECT rect) const;
  void ScreenToClient(LPPOINT point) const;
  void ScreenToClient(LPRECT rect) const;
  void MapWindowPoints(CWnd* to, LPRECT rect) const;
  void MapWindowPoints(CWnd* to, LPPOINT points, UINT count) const;
  void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
  void MoveWindow(LPCRECT rect, BOOL repaint = TRUE);
  BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
  void CenterWindow(CWnd* alternateOwner = nullptr);
  void Invalidate(BOOL erase = TRUE);
  void InvalidateRect(LPCRECT rect, BOOL erase = TRUE);
  void ValidateRect(LPCRECT rect);
  void UpdateWindow();
  BOOL RedrawWindow(LPCRECT rect = nullptr, HRGN region = nullptr, UINT flags = 0);
  CDC* GetDC();
  CDC* GetWindowDC();
  int ReleaseDC(CDC* dc);
  CMenu* GetSystemMenu(BOOL revert) const;
  CMenu* GetMenu() const;
  int MessageBox(LPCTSTR text, LPCTSTR caption = nullptr, UINT type = MB_OK);
  UINT_PTR SetTimer(UINT_PTR id, UINT elapse, void (*proc)(HWND, UINT, UINT_PTR, DWORD));
  BOOL KillTimer(UINT_PTR id);
  void DragAcceptFiles(BOOL accept = TRUE);

  // Modal loops (dialogs and other modal windows).
  virtual int RunModalLoop(DWORD flags = 0);
  virtual BOOL ContinueModal();
  virtual void EndModalLoop(int result);

  // Message handling.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL SendChildNotifyLastMsg(LRESULT* pResult = nullptr);
  static BOOL ReflectLastMsg(HWND child, LRESULT* pResult = nullptr);
  virtual void PreSubclassWindow() {}
  virtual void PostNcDestroy() {}
  virtual void DoDataExchange(CDataExchange*) {}

  // Handlers MFC gives every window; the defaults do the default processing.
  afx_msg int OnCreate(LPCREATESTRUCT cs);
  afx_msg void OnDestroy();
  afx_msg void OnNcDestroy();
  afx_msg void OnClose();
  afx_msg void OnPaint();
  afx_msg void OnSize(UINT type, int cx, int cy);
  afx_msg void OnMove(int x, int y);
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* info);
  afx_msg UINT OnNcHitTest(CPoint point);
  afx_msg void OnSysCommand(UINT id, LPARAM lParam);
  afx_msg void OnShowWindow(BOOL show, UINT status);
  afx_msg void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
  afx_msg void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
  afx_msg void OnDeleteItem(int nIDCtl, LPDELETEITEMSTRUCT lpDeleteItemStruct);
  afx_msg int OnCompareItem(int nIDCtl, LPCOMPAREITEMSTRUCT lpCompareItemStruct);
  afx_msg BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
  afx_msg void OnLButtonDown(UINT flags, CPoint point);
  afx_msg void OnLButtonUp(UINT flags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT flags, CPoint point);
  afx_msg void OnRButtonDown(UINT flags, CPoint point);
  afx_msg void OnRButtonUp(UINT flags, CPoint point);
  afx_msg void OnMouseMove(UINT flags, CPoint point);
  afx_msg void OnContextMenu(CWnd* wnd, CPoint point);
  afx_msg HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
  afx_msg void OnChar(UINT nChar, UINT repeat, UINT flags);
  afx_msg void OnKeyDown(UINT nChar, UINT repeat, UINT flags);
  afx_msg void OnKeyUp(UINT nChar, UINT repeat, UINT flags);
  afx_msg void OnSetFocus(CWnd* oldWnd);
  afx_msg void OnKillFocus(CWnd* newWnd);
  afx_msg void OnTimer(UINT id);
  afx_msg void OnEnable(BOOL enable);
  afx_msg BOOL OnEraseBkgnd(CDC* dc);
  afx_msg HCURSOR OnQueryDragIcon();
  afx_msg void OnActivate(UINT state, CWnd* other, BOOL minimized);
  afx_msg void OnInitMenuPopup(CMenu* popup, UINT index, BOOL sysMenu);

  WNDPROC m_pfnSuper = nullptr;  // the procedure MFC's own replaced
  UINT m_nFlags = 0;
  int m_nModalResult = 0;

  DECLARE_MESSAGE_MAP()
};

// The window procedure of every window MFC attaches an object to.
LRESULT CALLBACK AfxWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The next window created is attached to `wnd` (the creation hook).
void AfxHookWindowCreate(CWnd* wnd);
BOOL AfxUnhookWindowCreate();

// ---- Data exchange ----

class CDataExchange {
 public:
  CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}
  BOOL m_bSaveAndValidate;
  CWnd* m_pDlgWnd;
  HWND m_hWndLastControl = nullptr;
  BOOL m_bEditLastControl = FALSE;
  HWND PrepareCtrl(int nIDC);
  HWND PrepareEditCtrl(int nIDC);
  [[noreturn]] void Fail();
};

void AFXAPI DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, long& value);
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, double& value);
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, float& value);
void AFXAPI DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);
void AFXAPI DDX_CBStringExact(CDataExchange* pDX, int nIDC, CString& value);
void AFXAPI DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void AFXAPI DDX_Check(CDataExchange* pDX, int nIDC, int& value);
void AFXAPI DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
void AFXAPI DDV_MaxChars(CDataExchange* pDX, const CString& value, int maxChars);
void AFXAPI DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
void AFXAPI DDV_MinMaxDouble(CDataExchange* pDX, const double& value, double minVal, double maxVal);

// ---- Views ----

// A window that shows a document; the stand-in has no document/view architecture, so a view is
// a window and nothing more (the host's drawing view is one, and parents the host's dialogs).
class CView : public CWnd {};

// ---- Dialogs ----

class CDialog : public CWnd {
  DECLARE_DYNAMIC(CDialog)

 public:
  CDialog();
  explicit CDialog(UINT nIDTemplate, CWnd* parent = nullptr);
  explicit CDialog(LPCTSTR templateName, CWnd* parent = nullptr);
  ~CDialog() override;

  BOOL Create(UINT nIDTemplate, CWnd* parent = nullptr);
  BOOL Create(LPCTSTR templateName, CWnd* parent = nullptr);
  BOOL CreateIndirect(LPCDLGTEMPLATE dialogTemplate, CWnd* parent = nullptr);
  virtual INT_PTR DoModal();
  virtual BOOL OnInitDialog();
  void EndDialog(int result);
  void NextDlgCtrl() const;
  void PrevDlgCtrl() const;
  void GotoDlgCtrl(CWnd* control);
  void SetDefID(UINT nID);
  DWORD GetDefID() const;
  void MapDialogRect(LPRECT rect) const;
  BOOL PreTranslateMessage(MSG* pMsg) override;

  LPCTSTR m_lpszTemplateName = nullptr;
  UINT m_nIDHelp = 0;
  CWnd* m_pParentWnd = nullptr;

 protected:
  virtual void OnOK();
  virtual void OnCancel();
  afx_msg LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
  BOOL CreateDlgIndirect(LPCDLGTEMPLATE dialogTemplate, CWnd* parent, HINSTANCE instance);
  BOOL PreTranslateInput(MSG* pMsg);
  HWND PreModal();
  void PostModal();

  DECLARE_MESSAGE_MAP()
};

// ---- Controls ----

class CStatic : public CWnd {
  DECLARE_DYNAMIC(CStatic)

 public:
  BOOL Create(LPCTSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT nID = 0xFFFF);
  HICON SetIcon(HICON icon);
  HICON GetIcon() const;
  HBITMAP SetBitmap(HBITMAP bitmap);
  HBITMAP GetBitmap() const;
};

class CButton : public CWnd {
  DECLARE_DYNAMIC(CButton)

 public:
  BOOL Create(LPCTSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT nID);
  UINT GetState() const;
  void SetState(BOOL highlight);
  int GetCheck() const;
  void SetCheck(int check);
  UINT GetButtonStyle() const;
  void SetButtonStyle(UINT style, BOOL redraw = TRUE);
  HBITMAP SetBitmap(HBITMAP bitmap);
  HBITMAP GetBitmap() const;
  HICON SetIcon(HICON icon);
  HICON GetIcon() const;
  virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CEdit : public CWnd {
  DECLARE_DYNAMIC(CEdit)

 public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT nID);
  DWORD GetSel() const;
  void GetSel(int& start, int& end) const;
  void SetSel(DWORD selection, BOOL noScroll = FALSE);
  void SetSel(int start, int end, BOOL noScroll = FALSE);
  void ReplaceSel(LPCTSTR text, BOOL canUndo = FALSE);
  void LimitText(int maxChars = 0);
  BOOL CanUndo() const;
  BOOL Undo();
  void EmptyUndoBuffer();
  BOOL GetModify() const;
  void SetModify(BOOL modified = TRUE);
  BOOL SetReadOnly(BOOL readOnly = TRUE);
  int GetLineCount() const;
  void Clear();
  void Copy();
  void Cut();
  void Paste();
};

class CComboBox : public CWnd {
  DECLARE_DYNAMIC(CComboBox)

 public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT nID);
  int GetCount() const;
  int GetCurSel() const;
  int SetCurSel(int select);
  int AddString(LPCTSTR text);
  int InsertString(int index, LPCTSTR text);
  int DeleteString(UINT index);
  void ResetContent();
  int GetLBText(int index, LPTSTR text) const;
  void GetLBText(int index, CString& text) const;
  int GetLBTextLen(int index) const;
  int FindString(int startAfter, LPCTSTR text) const;
  int FindStringExact(int startAfter, LPCTSTR text) const;
  int SelectString(int startAfter, LPCTSTR text);
  DWORD_PTR GetItemData(int index) const;
  int SetItemData(int index, DWORD_PTR data);
  void* GetItemDataPtr(int index) const;
  int SetItemDataPtr(int index, void* data);
  int SetItemHeight(int index, UINT height);
  int GetItemHeight(int index) const;
  void ShowDropDown(BOOL show = TRUE);
  BOOL GetDroppedState() const;
  void GetDroppedControlRect(LPRECT rect) const;
  DWORD GetEditSel() const;
  BOOL SetEditSel(int start, int end);
  BOOL LimitText(int maxChars);
  int SetExtendedUI(BOOL extended = TRUE);
  BOOL GetExtendedUI() const;
  void Clear();
  void Copy();
  void Cut();
  void Paste();
  // Owner draw, reached through reflection from the parent.
  virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
  virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
  virtual int CompareItem(LPCOMPAREITEMSTRUCT lpCompareItemStruct);
  virtual void DeleteItem(LPDELETEITEMSTRUCT lpDeleteItemStruct);
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

// ---- GDI objects and device contexts ----

class CGdiObject : public CObject {
  DECLARE_DYNCREATE(CGdiObject)

 public:
  CGdiObject() = default;
  ~CGdiObject() override;
  HGDIOBJ m_hObject = nullptr;
  operator HGDIOBJ() const { return m_hObject; }  // NOLINT
  HGDIOBJ GetSafeHandle() const { return m_hObject; }
  static CGdiObject* FromHandle(HGDIOBJ object);
  BOOL Attach(HGDIOBJ object);
  HGDIOBJ Detach();
  BOOL DeleteObject();
  int GetObject(int size, LPVOID buffer) const;
  BOOL CreateStockObject(int index);
};

class CPen : public CGdiObject {
 public:
  CPen() = default;
  CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
  BOOL CreatePen(int style, int width, COLORREF color);
  operator HPEN() const { return static_cast<HPEN>(GetSafeHandle()); }  // NOLINT
  static CPen* FromHandle(HPEN pen) { return static_cast<CPen*>(CGdiObject::FromHandle(pen)); }
};

class CBrush : public CGdiObject {
 public:
  CBrush() = default;
  explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
  BOOL CreateSolidBrush(COLORREF color);
  BOOL CreateSysColorBrush(int index);
  operator HBRUSH() const { return static_cast<HBRUSH>(GetSafeHandle()); }  // NOLINT
  static CBrush* FromHandle(HBRUSH brush) { return static_cast<CBrush*>(CGdiObject::FromHandle(brush)); }
};

class CFont : public CGdiObject {
 public:
  BOOL CreateFontIndirect(const LOGFONT* logFont);
  BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic, BYTE underline,
                  BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                  BYTE pitchAndFamily, LPCTSTR faceName);
  // A font of `pointSize` tenths of a point (MFC's point fonts), converted with the device's pixels per inch.
  BOOL CreatePointFont(int pointSize, LPCTSTR faceName, CDC* dc = nullptr);
  BOOL CreatePointFontIndirect(const LOGFONT* logFont, CDC* dc = nullptr);
  int GetLogFont(LOGFONT* logFont) const;
  operator HFONT() const { return static_cast<HFONT>(GetSafeHandle()); }  // NOLINT
  static CFont* FromHandle(HFONT font) { return static_cast<CFont*>(CGdiObject::FromHandle(font)); }
};

class CBitmap : public CGdiObject {
 public:
  BOOL LoadBitmap(LPCTSTR name);
  BOOL LoadBitmap(UINT nID);
  BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
  BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
  int GetBitmap(BITMAP* bitmap) const;
  operator HBITMAP() const { return static_cast<HBITMAP>(GetSafeHandle()); }  // NOLINT
  static CBitmap* FromHandle(HBITMAP bitmap) { return static_cast<CBitmap*>(CGdiObject::FromHandle(bitmap)); }
};

class CDC : public CObject {
  DECLARE_DYNCREATE(CDC)

 public:
  CDC() = default;
  ~CDC() override;
  HDC m_hDC = nullptr;
  operator HDC() const { return m_hDC; }  // NOLINT
  HDC GetSafeHdc() const { return m_hDC; }
  static CDC* FromHandle(HDC dc);
  BOOL Attach(HDC dc);
  HDC Detach();
  BOOL CreateCompatibleDC(CDC* dc);
  BOOL DeleteDC();
  CWnd* GetWindow() const;

  CGdiObject* SelectObject(CGdiObject* object);
  CPen* SelectObject(CPen* pen);
  CBrush* SelectObject(CBrush* brush);
  CFont* SelectObject(CFont* font);
  CBitmap* SelectObject(CBitmap* bitmap);
  HGDIOBJ SelectObject(HGDIOBJ object);
  CGdiObject* SelectStockObject(int index);
  CFont* GetCurrentFont() const;
  int SaveDC();
  BOOL RestoreDC(int saved);
  COLORREF SetTextColor(COLORREF color);
  COLORREF GetTextColor() const;
  COLORREF SetBkColor(COLORREF color);
  COLORREF GetBkColor() const;
  int SetBkMode(int mode);
  int GetBkMode() const;
  int GetDeviceCaps(int index) const;
  BOOL GetTextMetrics(LPTEXTMETRIC metric) const;
  CSize GetTextExtent(LPCTSTR text, int count) const;
  CSize GetTextExtent(const CString& text) const;

  void FillRect(LPCRECT rect, CBrush* brush);
  void FillSolidRect(LPCRECT rect, COLORREF color);
  void FrameRect(LPCRECT rect, CBrush* brush);
  void DrawFocusRect(LPCRECT rect);
  BOOL DrawEdge(LPRECT rect, UINT edge, UINT flags);
  BOOL DrawFrameControl(LPRECT rect, UINT type, UINT state);
  int DrawText(LPCTSTR text, int count, LPRECT rect, UINT format);
  int DrawText(const CString& text, LPRECT rect, UINT format);
  BOOL DrawState(CPoint pt, CSize size, LPCTSTR text, UINT flags, BOOL prefixText = TRUE, int textLength = 0,
                 CBrush* brush = nullptr);
  BOOL DrawState(CPoint pt, CSize size, LPCTSTR text, UINT flags, BOOL prefixText, int textLength, HBRUSH brush);
  BOOL DrawState(CPoint pt, CSize size, HICON icon, UINT flags, CBrush* brush = nullptr);
  BOOL DrawState(CPoint pt, CSize size, HICON icon, UINT flags, HBRUSH brush);
  BOOL DrawState(CPoint pt, CSize size, HBITMAP bitmap, UINT flags, CBrush* brush = nullptr);
  BOOL DrawIcon(int x, int y, HICON icon);
  BOOL DrawIcon(POINT point, HICON icon);
  BOOL TextOut(int x, int y, LPCTSTR text, int count);
  BOOL TextOut(int x, int y, const CString& text);
  BOOL Rectangle(int left, int top, int right, int bottom);
  BOOL Rectangle(LPCRECT rect);
  CPoint MoveTo(int x, int y);
  BOOL LineTo(int x, int y);
  BOOL BitBlt(int x, int y, int width, int height, CDC* source, int sx, int sy, DWORD rop);
  BOOL PatBlt(int x, int y, int width, int height, DWORD rop);
};

class CPaintDC : public CDC {
 public:
  explicit CPaintDC(CWnd* wnd);
  ~CPaintDC() override;
  PAINTSTRUCT m_ps{};

 protected:
  HWND m_hWnd;
};

class CClientDC : public CDC {
 public:
  explicit CClientDC(CWnd* wnd);
  ~CClientDC() override;

 protected:
  HWND m_hWnd;
};

class CWindowDC : public CDC {
 public:
  explicit CWindowDC(CWnd* wnd);
  ~CWindowDC() override;

 protected:
  HWND m_hWnd;
};

// ---- Menus ----

class CMenu : public CObject {
  DECLARE_DYNCREATE(CMenu)

 public:
  CMenu() = default;
  ~CMenu() override;
  HMENU m_hMenu = nullptr;
  operator HMENU() const { return m_hMenu; }  // NOLINT
  HMENU GetSafeHmenu() const { return m_hMenu; }
  static CMenu* FromHandle(HMENU menu);
  BOOL Attach(HMENU menu);
  HMENU Detach();
  BOOL CreateMenu();
  BOOL CreatePopupMenu();
  BOOL LoadMenu(LPCTSTR name);
  BOOL LoadMenu(UINT nID);
  BOOL DestroyMenu();
  BOOL AppendMenu(UINT flags, UINT_PTR idOrPopup = 0, LPCTSTR text = nullptr);
  BOOL InsertMenu(UINT position, UINT flags, UINT_PTR idOrPopup = 0, LPCTSTR text = nullptr);
  BOOL ModifyMenu(UINT position, UINT flags, UINT_PTR idOrPopup = 0, LPCTSTR text = nullptr);
  BOOL DeleteMenu(UINT position, UINT flags);
  BOOL RemoveMenu(UINT position, UINT flags);
  UINT EnableMenuItem(UINT item, UINT enable);
  UINT CheckMenuItem(UINT item, UINT check);
  UINT GetMenuItemCount() const;
  UINT GetMenuItemID(int position) const;
  UINT GetMenuState(UINT item, UINT flags) const;
  int GetMenuString(UINT item, CString& text, UINT flags) const;
  CMenu* GetSubMenu(int position) const;
  BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT rect = nullptr);
};

// ---- The application, its profile and resources ----

class CWinThread : public CCmdTarget {
 public:
  CWnd* m_pMainWnd = nullptr;
  virtual BOOL InitInstance() { return TRUE; }
  virtual int ExitInstance() { return 0; }
  virtual BOOL PreTranslateMessage(MSG* pMsg);
  virtual BOOL PumpMessage();
  virtual BOOL OnIdle(LONG) { return FALSE; }
};

class CWinApp : public CWinThread {
 public:
  explicit CWinApp(LPCTSTR appName = nullptr);
  ~CWinApp() override;

  LPCTSTR m_pszAppName = nullptr;
  LPCTSTR m_pszProfileName = nullptr;
  LPCTSTR m_pszRegistryKey = nullptr;
  LPCTSTR m_pszExeName = nullptr;
  HINSTANCE m_hInstance = nullptr;

  // The profile: an INI file in the user's configuration folder (see qplatform/Profile.h).
  UINT GetProfileInt(LPCTSTR section, LPCTSTR entry, int defaultValue);
  BOOL WriteProfileInt(LPCTSTR section, LPCTSTR entry, int value);
  CString GetProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR defaultValue = nullptr);
  BOOL WriteProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR value);
  void SetRegistryKey(LPCTSTR key);

  HCURSOR LoadCursor(LPCTSTR name) const;
  HCURSOR LoadCursor(UINT nID) const;
  HCURSOR LoadStandardCursor(LPCTSTR name) const;
  HICON LoadIcon(LPCTSTR name) const;
  HICON LoadIcon(UINT nID) const;
  HICON LoadStandardIcon(LPCTSTR name) const;
  virtual void DoWaitCursor(int code);
  virtual int DoMessageBox(LPCTSTR prompt, UINT type, UINT helpId);

  int m_nWaitCursorCount = 0;
  HCURSOR m_hcurWaitCursorRestore = nullptr;

 private:
  CString m_appName;
  CString m_profileName;
};

class CWaitCursor {
 public:
  CWaitCursor();
  ~CWaitCursor();
  void Restore();
};

CWinApp* AFXAPI AfxGetApp();
CWnd* AFXAPI AfxGetMainWnd();
CWinThread* AFXAPI AfxGetThread();
HINSTANCE AFXAPI AfxGetInstanceHandle();
HINSTANCE AFXAPI AfxGetResourceHandle();
void AFXAPI AfxSetResourceHandle(HINSTANCE resource);
// The module among the application and the extension libraries that holds this resource.
HINSTANCE AFXAPI AfxFindResourceHandle(LPCTSTR name, LPCTSTR type);
LPCTSTR AFXAPI AfxGetAppName();
int AFXAPI AfxMessageBox(LPCTSTR text, UINT type = MB_OK, UINT helpId = 0);
int AFXAPI AfxMessageBox(UINT promptId, UINT type = MB_OK, UINT helpId = static_cast<UINT>(-1));
BOOL AFXAPI AfxInitRichEdit();
void AFXAPI AfxEnableControlContainer();
