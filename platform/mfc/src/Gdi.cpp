// MFC stand-in: GDI object wrappers, device contexts (paint, client and window forms) and menus.
#include <afxwin.h>

#include <cstring>

#include "mfc/src/AfxState.h"

using afxdetail::State;

IMPLEMENT_DYNCREATE(CGdiObject, CObject)
IMPLEMENT_DYNCREATE(CDC, CObject)
IMPLEMENT_DYNCREATE(CMenu, CObject)

namespace {

// Temporary wrappers made by FromHandle: they never own the handle they wrap. A GDI object's
// wrapper is of the class its handle's type names, so that CPen::FromHandle and the other
// typed FromHandle functions return an object of the class they claim.
template <typename Gdi>
struct TempGdiObject : Gdi {
  ~TempGdiObject() override { this->m_hObject = nullptr; }
};
struct TempDc : CDC {
  ~TempDc() override { m_hDC = nullptr; }
};
struct TempMenu : CMenu {
  ~TempMenu() override { m_hMenu = nullptr; }
};

}  // namespace

namespace afxdetail {

CDC* DcFromHandle(HDC dc) { return CDC::FromHandle(dc); }
CMenu* MenuFromHandle(HMENU menu) { return CMenu::FromHandle(menu); }
void ForgetTempDc(HDC dc) {
  auto it = State().tempDcs.find(dc);
  if (it != State().tempDcs.end()) {
    it->second->m_hDC = nullptr;
    State().tempDcs.erase(it);
  }
}

}  // namespace afxdetail

// ---- GDI objects ----

CGdiObject::~CGdiObject() { DeleteObject(); }

CGdiObject* CGdiObject::FromHandle(HGDIOBJ object) {
  auto& temps = State().tempObjects;
  switch (::GetObjectType(object)) {
    case OBJ_PEN: return afxdetail::TempObject<TempGdiObject<CPen>>(temps, object, &CGdiObject::m_hObject);
    case OBJ_BRUSH: return afxdetail::TempObject<TempGdiObject<CBrush>>(temps, object, &CGdiObject::m_hObject);
    case OBJ_FONT: return afxdetail::TempObject<TempGdiObject<CFont>>(temps, object, &CGdiObject::m_hObject);
    case OBJ_BITMAP: return afxdetail::TempObject<TempGdiObject<CBitmap>>(temps, object, &CGdiObject::m_hObject);
    default: return afxdetail::TempObject<TempGdiObject<CGdiObject>>(temps, object, &CGdiObject::m_hObject);
  }
}

BOOL CGdiObject::Attach(HGDIOBJ object) {
  if (!object) return FALSE;
  m_hObject = object;
  return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
  HGDIOBJ object = m_hObject;
  m_hObject = nullptr;
  return object;
}

BOOL CGdiObject::DeleteObject() {
  if (!m_hObject) return FALSE;
  auto it = State().tempObjects.find(m_hObject);
  if (it != State().tempObjects.end() && it->second.get() != this) {
    it->second->m_hObject = nullptr;
    State().tempObjects.erase(it);
  }
  return ::DeleteObject(Detach());
}

int CGdiObject::GetObject(int size, LPVOID buffer) const { return ::GetObject(m_hObject, size, buffer); }
BOOL CGdiObject::CreateStockObject(int index) { return Attach(::GetStockObject(index)); }

BOOL CPen::CreatePen(int style, int width, COLORREF color) { return Attach(::CreatePen(style, width, color)); }
BOOL CBrush::CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }
BOOL CBrush::CreateSysColorBrush(int index) { return Attach(::GetSysColorBrush(index)); }

BOOL CFont::CreateFontIndirect(const LOGFONT* logFont) { return Attach(::CreateFontIndirect(logFont)); }
BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic, BYTE underline,
                       BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                       BYTE pitchAndFamily, LPCTSTR faceName) {
  return Attach(::CreateFont(height, width, escapement, orientation, weight, italic, underline, strikeOut, charSet,
                             outPrecision, clipPrecision, quality, pitchAndFamily, faceName));
}
BOOL CFont::CreatePointFont(int pointSize, LPCTSTR faceName, CDC* dc) {
  LOGFONT lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfHeight = pointSize;
  lstrcpyn(lf.lfFaceName, faceName, LF_FACESIZE);
  return CreatePointFontIndirect(&lf, dc);
}
BOOL CFont::CreatePointFontIndirect(const LOGFONT* logFont, CDC* dc) {
  HDC handle = dc ? dc->m_hDC : ::GetDC(nullptr);
  LOGFONT lf = *logFont;
  // Tenths of a point to device pixels: height * pixels-per-inch / 720, as a character height.
  int pixels = ::GetDeviceCaps(handle, LOGPIXELSY) * lf.lfHeight / 720;
  lf.lfHeight = -(pixels < 0 ? -pixels : pixels);
  if (!dc) ::ReleaseDC(nullptr, handle);
  return CreateFontIndirect(&lf);
}
int CFont::GetLogFont(LOGFONT* logFont) const { return GetObject(sizeof(LOGFONT), logFont); }

BOOL CBitmap::LoadBitmap(LPCTSTR name) {
  return Attach(::LoadBitmap(AfxFindResourceHandle(name, RT_BITMAP), name));
}
BOOL CBitmap::LoadBitmap(UINT nID) { return LoadBitmap(MAKEINTRESOURCE(nID)); }
BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height) {
  return Attach(::CreateCompatibleBitmap(dc ? dc->m_hDC : nullptr, width, height));
}
BOOL CBitmap::CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
  return Attach(::CreateBitmap(width, height, planes, bitsPerPixel, bits));
}
int CBitmap::GetBitmap(BITMAP* bitmap) const { return GetObject(sizeof(BITMAP), bitmap); }

// ---- Device contexts ----

CDC::~CDC() {
  if (m_hDC) DeleteDC();
}

CDC* CDC::FromHandle(HDC dc) { return afxdetail::TempObject<TempDc>(State().tempDcs, dc, &CDC::m_hDC); }

BOOL CDC::Attach(HDC dc) {
  if (!dc) return FALSE;
  m_hDC = dc;
  return TRUE;
}

HDC CDC::Detach() {
  HDC dc = m_hDC;
  m_hDC = nullptr;
  return dc;
}

BOOL CDC::CreateCompatibleDC(CDC* dc) { return Attach(::CreateCompatibleDC(dc ? dc->m_hDC : nullptr)); }
BOOL CDC::DeleteDC() { return m_hDC && ::DeleteDC(Detach()); }
CWnd* CDC::GetWindow() const { return CWnd::FromHandle(::WindowFromDC(m_hDC)); }

CGdiObject* CDC::SelectObject(CGdiObject* object) {
  return CGdiObject::FromHandle(::SelectObject(m_hDC, object ? object->m_hObject : nullptr));
}
CPen* CDC::SelectObject(CPen* pen) { return static_cast<CPen*>(SelectObject(static_cast<CGdiObject*>(pen))); }
CBrush* CDC::SelectObject(CBrush* brush) { return static_cast<CBrush*>(SelectObject(static_cast<CGdiObject*>(brush))); }
CFont* CDC::SelectObject(CFont* font) { return static_cast<CFont*>(SelectObject(static_cast<CGdiObject*>(font))); }
CBitmap* CDC::SelectObject(CBitmap* bitmap) {
  return static_cast<CBitmap*>(SelectObject(static_cast<CGdiObject*>(bitmap)));
}
HGDIOBJ CDC::SelectObject(HGDIOBJ object) { return ::SelectObject(m_hDC, object); }
CGdiObject* CDC::SelectStockObject(int index) { return CGdiObject::FromHandle(::SelectObject(m_hDC, ::GetStockObject(index))); }
CFont* CDC::GetCurrentFont() const {
  HGDIOBJ font = ::SelectObject(m_hDC, ::GetStockObject(SYSTEM_FONT));
  ::SelectObject(m_hDC, font);
  return CFont::FromHandle(static_cast<HFONT>(font));
}
int CDC::SaveDC() { return ::SaveDC(m_hDC); }
BOOL CDC::RestoreDC(int saved) { return ::RestoreDC(m_hDC, saved); }
COLORREF CDC::SetTextColor(COLORREF color) { return ::SetTextColor(m_hDC, color); }
COLORREF CDC::GetTextColor() const { return ::GetTextColor(m_hDC); }
COLORREF CDC::SetBkColor(COLORREF color) { return ::SetBkColor(m_hDC, color); }
COLORREF CDC::GetBkColor() const { return ::GetBkColor(m_hDC); }
int CDC::SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
int CDC::GetBkMode() const { return ::GetBkMode(m_hDC); }
int CDC::GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hDC, index); }
BOOL CDC::GetTextMetrics(LPTEXTMETRIC metric) const { return ::GetTextMetrics(m_hDC, metric); }
CSize CDC::GetTextExtent(LPCTSTR text, int count) const {
  SIZE size{0, 0};
  ::GetTextExtentPoint32(m_hDC, text, count, &size);
  return size;
}
CSize CDC::GetTextExtent(const CString& text) const { return GetTextExtent(text, text.GetLength()); }

void CDC::FillRect(LPCRECT rect, CBrush* brush) { ::FillRect(m_hDC, rect, brush ? static_cast<HBRUSH>(brush->m_hObject) : nullptr); }
void CDC::FillSolidRect(LPCRECT rect, COLORREF color) {
  HBRUSH brush = ::CreateSolidBrush(color);
  ::FillRect(m_hDC, rect, brush);
  ::DeleteObject(brush);
}
void CDC::FrameRect(LPCRECT rect, CBrush* brush) {
  ::FrameRect(m_hDC, rect, brush ? static_cast<HBRUSH>(brush->m_hObject) : nullptr);
}
void CDC::DrawFocusRect(LPCRECT rect) { ::DrawFocusRect(m_hDC, rect); }
BOOL CDC::DrawEdge(LPRECT rect, UINT edge, UINT flags) { return ::DrawEdge(m_hDC, rect, edge, flags); }
BOOL CDC::DrawFrameControl(LPRECT rect, UINT type, UINT state) { return ::DrawFrameControl(m_hDC, rect, type, state); }
int CDC::DrawText(LPCTSTR text, int count, LPRECT rect, UINT format) { return ::DrawText(m_hDC, text, count, rect, format); }
int CDC::DrawText(const CString& text, LPRECT rect, UINT format) {
  return ::DrawText(m_hDC, text, text.GetLength(), rect, format);
}
BOOL CDC::DrawState(CPoint pt, CSize size, LPCTSTR text, UINT flags, BOOL prefixText, int textLength, HBRUSH brush) {
  return ::DrawState(m_hDC, brush, nullptr, reinterpret_cast<LPARAM>(text), static_cast<WPARAM>(textLength), pt.x,
                     pt.y, size.cx, size.cy, flags | (prefixText ? DST_PREFIXTEXT : DST_TEXT));
}
BOOL CDC::DrawState(CPoint pt, CSize size, LPCTSTR text, UINT flags, BOOL prefixText, int textLength, CBrush* brush) {
  return DrawState(pt, size, text, flags, prefixText, textLength,
                   brush ? static_cast<HBRUSH>(brush->m_hObject) : static_cast<HBRUSH>(nullptr));
}
BOOL CDC::DrawState(CPoint pt, CSize size, HICON icon, UINT flags, HBRUSH brush) {
  return ::DrawState(m_hDC, brush, nullptr, reinterpret_cast<LPARAM>(icon), 0, pt.x, pt.y, size.cx, size.cy,
                     flags | DST_ICON);
}
BOOL CDC::DrawState(CPoint pt, CSize size, HICON icon, UINT flags, CBrush* brush) {
  return DrawState(pt, size, icon, flags, brush ? static_cast<HBRUSH>(brush->m_hObject) : static_cast<HBRUSH>(nullptr));
}
BOOL CDC::DrawState(CPoint pt, CSize size, HBITMAP bitmap, UINT flags, CBrush* brush) {
  return ::DrawState(m_hDC, brush ? static_cast<HBRUSH>(brush->m_hObject) : nullptr, nullptr,
                     reinterpret_cast<LPARAM>(bitmap), 0, pt.x, pt.y, size.cx, size.cy, flags | DST_BITMAP);
}
BOOL CDC::DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }
BOOL CDC::DrawIcon(POINT point, HICON icon) { return ::DrawIcon(m_hDC, point.x, point.y, icon); }
BOOL CDC::TextOut(int x, int y, LPCTSTR text, int count) { return ::TextOut(m_hDC, x, y, text, count); }
BOOL CDC::TextOut(int x, int y, const CString& text) { return ::TextOut(m_hDC, x, y, text, text.GetLength()); }
BOOL CDC::Rectangle(int left, int top, int right, int bottom) { return ::Rectangle(m_hDC, left, top, right, bottom); }
BOOL CDC::Rectangle(LPCRECT rect) { return ::Rectangle(m_hDC, rect->left, rect->top, rect->right, rect->bottom); }
CPoint CDC::MoveTo(int x, int y) {
  POINT previous{0, 0};
  ::MoveToEx(m_hDC, x, y, &previous);
  return previous;
}
BOOL CDC::LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* source, int sx, int sy, DWORD rop) {
  return ::BitBlt(m_hDC, x, y, width, height, source ? source->m_hDC : nullptr, sx, sy, rop);
}
BOOL CDC::PatBlt(int x, int y, int width, int height, DWORD rop) { return ::PatBlt(m_hDC, x, y, width, height, rop); }

CPaintDC::CPaintDC(CWnd* wnd) : m_hWnd(wnd->m_hWnd) { Attach(::BeginPaint(m_hWnd, &m_ps)); }
CPaintDC::~CPaintDC() {
  ::EndPaint(m_hWnd, &m_ps);
  Detach();
}
CClientDC::CClientDC(CWnd* wnd) : m_hWnd(wnd ? wnd->m_hWnd : nullptr) { Attach(::GetDC(m_hWnd)); }
CClientDC::~CClientDC() { ::ReleaseDC(m_hWnd, Detach()); }
CWindowDC::CWindowDC(CWnd* wnd) : m_hWnd(wnd ? wnd->m_hWnd : nullptr) { Attach(::GetWindowDC(m_hWnd)); }
CWindowDC::~CWindowDC() { ::ReleaseDC(m_hWnd, Detach()); }

// ---- Menus ----

CMenu::~CMenu() {
  if (m_hMenu) DestroyMenu();
}

CMenu* CMenu::FromHandle(HMENU menu) {
  return afxdetail::TempObject<TempMenu>(State().tempMenus, menu, &CMenu::m_hMenu);
}

BOOL CMenu::Attach(HMENU menu) {
  if (!menu) return FALSE;
  m_hMenu = menu;
  return TRUE;
}
HMENU CMenu::Detach() {
  HMENU menu = m_hMenu;
  m_hMenu = nullptr;
  return menu;
}
BOOL CMenu::CreateMenu() { return Attach(::CreateMenu()); }
BOOL CMenu::CreatePopupMenu() { return Attach(::CreatePopupMenu()); }
BOOL CMenu::LoadMenu(LPCTSTR name) { return Attach(::LoadMenu(AfxFindResourceHandle(name, RT_MENU), name)); }
BOOL CMenu::LoadMenu(UINT nID) { return LoadMenu(MAKEINTRESOURCE(nID)); }
BOOL CMenu::DestroyMenu() {
  if (!m_hMenu) return FALSE;
  HMENU menu = Detach();
  auto it = State().tempMenus.find(menu);
  if (it != State().tempMenus.end()) {
    it->second->m_hMenu = nullptr;
    State().tempMenus.erase(it);
  }
  return ::DestroyMenu(menu);
}
BOOL CMenu::AppendMenu(UINT flags, UINT_PTR idOrPopup, LPCTSTR text) { return ::AppendMenu(m_hMenu, flags, idOrPopup, text); }
BOOL CMenu::InsertMenu(UINT position, UINT flags, UINT_PTR idOrPopup, LPCTSTR text) {
  return ::InsertMenu(m_hMenu, position, flags, idOrPopup, text);
}
BOOL CMenu::ModifyMenu(UINT position, UINT flags, UINT_PTR idOrPopup, LPCTSTR text) {
  return ::ModifyMenu(m_hMenu, position, flags, idOrPopup, text);
}
BOOL CMenu::DeleteMenu(UINT position, UINT flags) { return ::DeleteMenu(m_hMenu, position, flags); }
BOOL CMenu::RemoveMenu(UINT position, UINT flags) { return ::RemoveMenu(m_hMenu, position, flags); }
UINT CMenu::EnableMenuItem(UINT item, UINT enable) { return ::EnableMenuItem(m_hMenu, item, enable); }
UINT CMenu::CheckMenuItem(UINT item, UINT check) { return ::CheckMenuItem(m_hMenu, item, check); }
UINT CMenu::GetMenuItemCount() const { return static_cast<UINT>(::GetMenuItemCount(m_hMenu)); }
UINT CMenu::GetMenuItemID(int position) const { return ::GetMenuItemID(m_hMenu, position); }
UINT CMenu::GetMenuState(UINT item, UINT flags) const { return ::GetMenuState(m_hMenu, item, flags); }
int CMenu::GetMenuString(UINT item, CString& text, UINT flags) const {
  int length = ::GetMenuString(m_hMenu, item, nullptr, 0, flags);
  ::GetMenuString(m_hMenu, item, text.GetBufferSetLength(length), length + 1, flags);
  text.ReleaseBuffer();
  return text.GetLength();
}
CMenu* CMenu::GetSubMenu(int position) const { return FromHandle(::GetSubMenu(m_hMenu, position)); }
BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT rect) {
  return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, owner ? owner->m_hWnd : nullptr, rect);
}
