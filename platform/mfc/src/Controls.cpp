// MFC stand-in: the control wrappers: static, button, edit, combo box (with owner draw through
// reflection), rich edit and tooltip.
#include <afxcmn.h>

#include <vector>

IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)
IMPLEMENT_DYNAMIC(CRichEditCtrl, CWnd)
IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

// ---- CStatic ----

BOOL CStatic::Create(LPCTSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT nID) {
  return CreateEx(0, "STATIC", text, style | WS_CHILD, rect, parent, nID);
}
HICON CStatic::SetIcon(HICON icon) { return reinterpret_cast<HICON>(SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(icon))); }
HICON CStatic::GetIcon() const { return reinterpret_cast<HICON>(::SendMessage(m_hWnd, STM_GETICON, 0, 0)); }
HBITMAP CStatic::SetBitmap(HBITMAP bitmap) {
  return reinterpret_cast<HBITMAP>(SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
}
HBITMAP CStatic::GetBitmap() const {
  return reinterpret_cast<HBITMAP>(::SendMessage(m_hWnd, STM_GETIMAGE, IMAGE_BITMAP, 0));
}

// ---- CButton ----

BOOL CButton::Create(LPCTSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT nID) {
  return CreateEx(0, "BUTTON", text, style | WS_CHILD, rect, parent, nID);
}
UINT CButton::GetState() const { return static_cast<UINT>(::SendMessage(m_hWnd, BM_GETSTATE, 0, 0)); }
void CButton::SetState(BOOL highlight) { SendMessage(BM_SETSTATE, highlight); }
int CButton::GetCheck() const { return static_cast<int>(::SendMessage(m_hWnd, BM_GETCHECK, 0, 0)); }
void CButton::SetCheck(int check) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(check)); }
UINT CButton::GetButtonStyle() const { return static_cast<UINT>(GetStyle() & 0xFF); }
void CButton::SetButtonStyle(UINT style, BOOL redraw) { SendMessage(BM_SETSTYLE, style, redraw); }
HBITMAP CButton::SetBitmap(HBITMAP bitmap) {
  return reinterpret_cast<HBITMAP>(SendMessage(BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
}
HBITMAP CButton::GetBitmap() const {
  return reinterpret_cast<HBITMAP>(::SendMessage(m_hWnd, BM_GETIMAGE, IMAGE_BITMAP, 0));
}
HICON CButton::SetIcon(HICON icon) {
  return reinterpret_cast<HICON>(SendMessage(BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon)));
}
HICON CButton::GetIcon() const { return reinterpret_cast<HICON>(::SendMessage(m_hWnd, BM_GETIMAGE, IMAGE_ICON, 0)); }
void CButton::DrawItem(LPDRAWITEMSTRUCT) {}
BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message != WM_DRAWITEM) return CWnd::OnChildNotify(message, wParam, lParam, pResult);
  DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
  return TRUE;
}

// ---- CEdit ----

BOOL CEdit::Create(DWORD style, const RECT& rect, CWnd* parent, UINT nID) {
  return CreateEx(0, "EDIT", nullptr, style | WS_CHILD, rect, parent, nID);
}
DWORD CEdit::GetSel() const { return static_cast<DWORD>(::SendMessage(m_hWnd, EM_GETSEL, 0, 0)); }
void CEdit::GetSel(int& start, int& end) const {
  DWORD s = 0, e = 0;
  ::SendMessage(m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
  start = static_cast<int>(s);
  end = static_cast<int>(e);
}
void CEdit::SetSel(DWORD selection, BOOL) {
  SendMessage(EM_SETSEL, static_cast<short>(LOWORD(selection)), static_cast<short>(HIWORD(selection)));
}
void CEdit::SetSel(int start, int end, BOOL) { SendMessage(EM_SETSEL, static_cast<WPARAM>(start), end); }
void CEdit::ReplaceSel(LPCTSTR text, BOOL canUndo) { SendMessage(EM_REPLACESEL, canUndo, reinterpret_cast<LPARAM>(text)); }
void CEdit::LimitText(int maxChars) { SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(maxChars)); }
BOOL CEdit::CanUndo() const { return static_cast<BOOL>(::SendMessage(m_hWnd, EM_CANUNDO, 0, 0)); }
BOOL CEdit::Undo() { return static_cast<BOOL>(SendMessage(EM_UNDO)); }
void CEdit::EmptyUndoBuffer() { SendMessage(EM_EMPTYUNDOBUFFER); }
BOOL CEdit::GetModify() const { return static_cast<BOOL>(::SendMessage(m_hWnd, EM_GETMODIFY, 0, 0)); }
void CEdit::SetModify(BOOL modified) { SendMessage(EM_SETMODIFY, modified); }
BOOL CEdit::SetReadOnly(BOOL readOnly) { return static_cast<BOOL>(SendMessage(EM_SETREADONLY, readOnly)); }
int CEdit::GetLineCount() const { return static_cast<int>(::SendMessage(m_hWnd, EM_GETLINECOUNT, 0, 0)); }
void CEdit::Clear() { SendMessage(WM_CLEAR); }
void CEdit::Copy() { SendMessage(WM_COPY); }
void CEdit::Cut() { SendMessage(WM_CUT); }
void CEdit::Paste() { SendMessage(WM_PASTE); }

// ---- CComboBox ----

BOOL CComboBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT nID) {
  return CreateEx(0, "COMBOBOX", nullptr, style | WS_CHILD, rect, parent, nID);
}
int CComboBox::GetCount() const { return static_cast<int>(::SendMessage(m_hWnd, CB_GETCOUNT, 0, 0)); }
int CComboBox::GetCurSel() const { return static_cast<int>(::SendMessage(m_hWnd, CB_GETCURSEL, 0, 0)); }
int CComboBox::SetCurSel(int select) { return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(select))); }
int CComboBox::AddString(LPCTSTR text) {
  return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
}
int CComboBox::InsertString(int index, LPCTSTR text) {
  return static_cast<int>(SendMessage(CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text)));
}
int CComboBox::DeleteString(UINT index) { return static_cast<int>(SendMessage(CB_DELETESTRING, index)); }
void CComboBox::ResetContent() { SendMessage(CB_RESETCONTENT); }
int CComboBox::GetLBText(int index, LPTSTR text) const {
  return static_cast<int>(::SendMessage(m_hWnd, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text)));
}
void CComboBox::GetLBText(int index, CString& text) const {
  int length = GetLBTextLen(index);
  if (length < 0) {
    text.Empty();
    return;
  }
  GetLBText(index, text.GetBufferSetLength(length));
  text.ReleaseBuffer();
}
int CComboBox::GetLBTextLen(int index) const {
  return static_cast<int>(::SendMessage(m_hWnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0));
}
int CComboBox::FindString(int startAfter, LPCTSTR text) const {
  return static_cast<int>(::SendMessage(m_hWnd, CB_FINDSTRING, static_cast<WPARAM>(startAfter), reinterpret_cast<LPARAM>(text)));
}
int CComboBox::FindStringExact(int startAfter, LPCTSTR text) const {
  return static_cast<int>(
      ::SendMessage(m_hWnd, CB_FINDSTRINGEXACT, static_cast<WPARAM>(startAfter), reinterpret_cast<LPARAM>(text)));
}
int CComboBox::SelectString(int startAfter, LPCTSTR text) {
  return static_cast<int>(SendMessage(CB_SELECTSTRING, static_cast<WPARAM>(startAfter), reinterpret_cast<LPARAM>(text)));
}
DWORD_PTR CComboBox::GetItemData(int index) const {
  return static_cast<DWORD_PTR>(::SendMessage(m_hWnd, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}
int CComboBox::SetItemData(int index, DWORD_PTR data) {
  return static_cast<int>(SendMessage(CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data)));
}
void* CComboBox::GetItemDataPtr(int index) const {
  LRESULT data = ::SendMessage(m_hWnd, CB_GETITEMDATA, static_cast<WPARAM>(index), 0);
  return data == CB_ERR ? reinterpret_cast<void*>(-1) : reinterpret_cast<void*>(data);
}
int CComboBox::SetItemDataPtr(int index, void* data) { return SetItemData(index, reinterpret_cast<DWORD_PTR>(data)); }
int CComboBox::SetItemHeight(int index, UINT height) {
  return static_cast<int>(SendMessage(CB_SETITEMHEIGHT, static_cast<WPARAM>(index), height));
}
int CComboBox::GetItemHeight(int index) const {
  return static_cast<int>(::SendMessage(m_hWnd, CB_GETITEMHEIGHT, static_cast<WPARAM>(index), 0));
}
void CComboBox::ShowDropDown(BOOL show) { SendMessage(CB_SHOWDROPDOWN, show); }
BOOL CComboBox::GetDroppedState() const { return static_cast<BOOL>(::SendMessage(m_hWnd, CB_GETDROPPEDSTATE, 0, 0)); }
void CComboBox::GetDroppedControlRect(LPRECT rect) const {
  ::SendMessage(m_hWnd, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(rect));
}
DWORD CComboBox::GetEditSel() const { return static_cast<DWORD>(::SendMessage(m_hWnd, CB_GETEDITSEL, 0, 0)); }
BOOL CComboBox::SetEditSel(int start, int end) {
  return static_cast<BOOL>(SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(start, end)));
}
BOOL CComboBox::LimitText(int maxChars) { return static_cast<BOOL>(SendMessage(CB_LIMITTEXT, static_cast<WPARAM>(maxChars))); }
int CComboBox::SetExtendedUI(BOOL extended) { return static_cast<int>(SendMessage(CB_SETEXTENDEDUI, extended)); }
BOOL CComboBox::GetExtendedUI() const { return static_cast<BOOL>(::SendMessage(m_hWnd, CB_GETEXTENDEDUI, 0, 0)); }
void CComboBox::Clear() { SendMessage(WM_CLEAR); }
void CComboBox::Copy() { SendMessage(WM_COPY); }
void CComboBox::Cut() { SendMessage(WM_CUT); }
void CComboBox::Paste() { SendMessage(WM_PASTE); }
void CComboBox::DrawItem(LPDRAWITEMSTRUCT) {}
void CComboBox::MeasureItem(LPMEASUREITEMSTRUCT) {}
int CComboBox::CompareItem(LPCOMPAREITEMSTRUCT) { return 0; }
void CComboBox::DeleteItem(LPDELETEITEMSTRUCT) {}

BOOL CComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  switch (message) {
    case WM_DRAWITEM:
      DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
      return TRUE;
    case WM_MEASUREITEM:
      MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
      return TRUE;
    case WM_COMPAREITEM: {
      int result = CompareItem(reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam));
      if (pResult) *pResult = result;
      return TRUE;
    }
    case WM_DELETEITEM:
      DeleteItem(reinterpret_cast<LPDELETEITEMSTRUCT>(lParam));
      return TRUE;
    default:
      return CWnd::OnChildNotify(message, wParam, lParam, pResult);
  }
}

// ---- CRichEditCtrl ----

BOOL CRichEditCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT nID) {
  return CreateEx(0, RICHEDIT_CLASS, nullptr, style | WS_CHILD, rect, parent, nID);
}
void CRichEditCtrl::GetSel(CHARRANGE& range) const {
  ::SendMessage(m_hWnd, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
}
void CRichEditCtrl::GetSel(long& start, long& end) const {
  CHARRANGE range{0, 0};
  GetSel(range);
  start = range.cpMin;
  end = range.cpMax;
}
void CRichEditCtrl::SetSel(long start, long end) {
  CHARRANGE range{static_cast<LONG>(start), static_cast<LONG>(end)};
  SetSel(range);
}
void CRichEditCtrl::SetSel(CHARRANGE& range) { SendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range)); }
void CRichEditCtrl::ReplaceSel(LPCTSTR text, BOOL canUndo) {
  SendMessage(EM_REPLACESEL, canUndo, reinterpret_cast<LPARAM>(text));
}
CString CRichEditCtrl::GetSelText() const {
  CHARRANGE range{0, 0};
  GetSel(range);
  std::vector<char> buffer(static_cast<size_t>(range.cpMax > range.cpMin ? range.cpMax - range.cpMin : 0) + 1, 0);
  ::SendMessage(m_hWnd, EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(buffer.data()));
  return CString(buffer.data());
}
WORD CRichEditCtrl::GetSelectionType() const { return static_cast<WORD>(::SendMessage(m_hWnd, EM_SELECTIONTYPE, 0, 0)); }
void CRichEditCtrl::HideSelection(BOOL hide, BOOL permanent) { SendMessage(EM_HIDESELECTION, hide, permanent); }
DWORD CRichEditCtrl::GetSelectionCharFormat(CHARFORMAT& format) const {
  format.cbSize = sizeof(CHARFORMAT);
  return static_cast<DWORD>(::SendMessage(m_hWnd, EM_GETCHARFORMAT, 1, reinterpret_cast<LPARAM>(&format)));
}
BOOL CRichEditCtrl::SetSelectionCharFormat(CHARFORMAT& format) {
  format.cbSize = sizeof(CHARFORMAT);
  return static_cast<BOOL>(SendMessage(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format)));
}
DWORD CRichEditCtrl::GetDefaultCharFormat(CHARFORMAT& format) const {
  format.cbSize = sizeof(CHARFORMAT);
  return static_cast<DWORD>(::SendMessage(m_hWnd, EM_GETCHARFORMAT, 0, reinterpret_cast<LPARAM>(&format)));
}
BOOL CRichEditCtrl::SetDefaultCharFormat(CHARFORMAT& format) {
  format.cbSize = sizeof(CHARFORMAT);
  return static_cast<BOOL>(SendMessage(EM_SETCHARFORMAT, 0, reinterpret_cast<LPARAM>(&format)));
}
BOOL CRichEditCtrl::SetWordCharFormat(CHARFORMAT& format) {
  format.cbSize = sizeof(CHARFORMAT);
  return static_cast<BOOL>(SendMessage(EM_SETCHARFORMAT, SCF_SELECTION | SCF_WORD, reinterpret_cast<LPARAM>(&format)));
}
DWORD CRichEditCtrl::GetParaFormat(PARAFORMAT& format) const {
  format.cbSize = sizeof(PARAFORMAT);
  return static_cast<DWORD>(::SendMessage(m_hWnd, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format)));
}
BOOL CRichEditCtrl::SetParaFormat(PARAFORMAT& format) {
  format.cbSize = sizeof(PARAFORMAT);
  return static_cast<BOOL>(SendMessage(EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format)));
}
DWORD CRichEditCtrl::GetEventMask() const { return static_cast<DWORD>(::SendMessage(m_hWnd, EM_GETEVENTMASK, 0, 0)); }
DWORD CRichEditCtrl::SetEventMask(DWORD mask) { return static_cast<DWORD>(SendMessage(EM_SETEVENTMASK, 0, mask)); }
COLORREF CRichEditCtrl::SetBackgroundColor(BOOL sysColor, COLORREF color) {
  return static_cast<COLORREF>(SendMessage(EM_SETBKGNDCOLOR, sysColor, static_cast<LPARAM>(color)));
}
long CRichEditCtrl::StreamIn(int format, EDITSTREAM& stream) {
  return static_cast<long>(SendMessage(EM_STREAMIN, static_cast<WPARAM>(format), reinterpret_cast<LPARAM>(&stream)));
}
long CRichEditCtrl::StreamOut(int format, EDITSTREAM& stream) {
  return static_cast<long>(SendMessage(EM_STREAMOUT, static_cast<WPARAM>(format), reinterpret_cast<LPARAM>(&stream)));
}
BOOL CRichEditCtrl::CanUndo() const { return static_cast<BOOL>(::SendMessage(m_hWnd, EM_CANUNDO, 0, 0)); }
BOOL CRichEditCtrl::Undo() { return static_cast<BOOL>(SendMessage(EM_UNDO)); }
void CRichEditCtrl::EmptyUndoBuffer() { SendMessage(EM_EMPTYUNDOBUFFER); }
BOOL CRichEditCtrl::CanPaste(UINT format) const { return static_cast<BOOL>(::SendMessage(m_hWnd, EM_CANPASTE, format, 0)); }
void CRichEditCtrl::Clear() { SendMessage(WM_CLEAR); }
void CRichEditCtrl::Copy() { SendMessage(WM_COPY); }
void CRichEditCtrl::Cut() { SendMessage(WM_CUT); }
void CRichEditCtrl::Paste() { SendMessage(WM_PASTE); }
long CRichEditCtrl::GetTextLength() const { return static_cast<long>(::SendMessage(m_hWnd, WM_GETTEXTLENGTH, 0, 0)); }
void CRichEditCtrl::LimitText(long chars) { SendMessage(EM_EXLIMITTEXT, 0, chars); }
BOOL CRichEditCtrl::SetReadOnly(BOOL readOnly) { return static_cast<BOOL>(SendMessage(EM_SETREADONLY, readOnly)); }
BOOL CRichEditCtrl::GetModify() const { return static_cast<BOOL>(::SendMessage(m_hWnd, EM_GETMODIFY, 0, 0)); }
void CRichEditCtrl::SetModify(BOOL modified) { SendMessage(EM_SETMODIFY, modified); }
int CRichEditCtrl::GetLineCount() const { return static_cast<int>(::SendMessage(m_hWnd, EM_GETLINECOUNT, 0, 0)); }
long CRichEditCtrl::LineFromChar(long index) const {
  return static_cast<long>(::SendMessage(m_hWnd, EM_EXLINEFROMCHAR, 0, index));
}
int CRichEditCtrl::LineIndex(int line) const {
  return static_cast<int>(::SendMessage(m_hWnd, EM_LINEINDEX, static_cast<WPARAM>(line), 0));
}
int CRichEditCtrl::LineLength(int line) const {
  return static_cast<int>(::SendMessage(m_hWnd, EM_LINELENGTH, static_cast<WPARAM>(line), 0));
}
long CRichEditCtrl::FindText(DWORD flags, void* find) const {
  return static_cast<long>(::SendMessage(m_hWnd, EM_FINDTEXT, flags, reinterpret_cast<LPARAM>(find)));
}

// ---- CToolTipCtrl ----

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD style) {
  return CreateEx(0, TOOLTIPS_CLASS, nullptr, WS_POPUP | style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                  CW_USEDEFAULT, parent ? parent->GetSafeHwnd() : nullptr, nullptr);
}

void CToolTipCtrl::FillInToolInfo(TOOLINFO& info, CWnd* wnd, UINT_PTR toolId) const {
  info = TOOLINFO{};
  info.cbSize = sizeof(TOOLINFO);
  HWND window = wnd->GetSafeHwnd();
  if (toolId == 0) {
    info.hwnd = ::GetParent(window);
    info.uFlags = TTF_IDISHWND;
    info.uId = reinterpret_cast<UINT_PTR>(window);
  } else {
    info.hwnd = window;
    info.uId = toolId;
  }
}

BOOL CToolTipCtrl::AddTool(CWnd* wnd, LPCTSTR text, LPCRECT toolRect, UINT_PTR toolId) {
  TOOLINFO info;
  FillInToolInfo(info, wnd, toolId);
  if (toolRect) info.rect = *toolRect;
  info.lpszText = const_cast<LPSTR>(text);
  return static_cast<BOOL>(SendMessage(TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&info)));
}

BOOL CToolTipCtrl::AddTool(CWnd* wnd, UINT textId, LPCRECT toolRect, UINT_PTR toolId) {
  TOOLINFO info;
  FillInToolInfo(info, wnd, toolId);
  if (toolRect) info.rect = *toolRect;
  info.hinst = AfxFindResourceHandle(MAKEINTRESOURCE((textId >> 4) + 1), RT_STRING);
  info.lpszText = MAKEINTRESOURCE(textId);
  return static_cast<BOOL>(SendMessage(TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&info)));
}

void CToolTipCtrl::DelTool(CWnd* wnd, UINT_PTR toolId) {
  TOOLINFO info;
  FillInToolInfo(info, wnd, toolId);
  SendMessage(TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::UpdateTipText(LPCTSTR text, CWnd* wnd, UINT_PTR toolId) {
  TOOLINFO info;
  FillInToolInfo(info, wnd, toolId);
  info.lpszText = const_cast<LPSTR>(text);
  SendMessage(TTM_UPDATETIPTEXT, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::SetToolRect(CWnd* wnd, UINT_PTR toolId, LPCRECT rect) {
  TOOLINFO info;
  FillInToolInfo(info, wnd, toolId);
  info.rect = *rect;
  SendMessage(TTM_NEWTOOLRECT, 0, reinterpret_cast<LPARAM>(&info));
}

BOOL CToolTipCtrl::GetToolInfo(TOOLINFO& info, CWnd* wnd, UINT_PTR toolId) const {
  FillInToolInfo(info, wnd, toolId);
  return static_cast<BOOL>(::SendMessage(m_hWnd, TTM_GETTOOLINFO, 0, reinterpret_cast<LPARAM>(&info)));
}

void CToolTipCtrl::RelayEvent(LPMSG msg) { SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg)); }
void CToolTipCtrl::Activate(BOOL activate) { SendMessage(TTM_ACTIVATE, activate); }
void CToolTipCtrl::Pop() { SendMessage(TTM_POP); }
int CToolTipCtrl::GetToolCount() const { return static_cast<int>(::SendMessage(m_hWnd, TTM_GETTOOLCOUNT, 0, 0)); }
int CToolTipCtrl::SetMaxTipWidth(int width) { return static_cast<int>(SendMessage(TTM_SETMAXTIPWIDTH, 0, width)); }
void CToolTipCtrl::SetDelayTime(UINT delay) { SendMessage(TTM_SETDELAYTIME, TTDT_AUTOMATIC, static_cast<LPARAM>(delay)); }
void CToolTipCtrl::SetDelayTime(DWORD which, int time) { SendMessage(TTM_SETDELAYTIME, which, time); }
