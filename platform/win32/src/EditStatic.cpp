// Windows stand-in: the EDIT class (single and multi-line text, selection, one-level undo, clipboard,
// EN_* notifications) and the STATIC class (text, icon and bitmap labels, STN_CLICKED).
#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "win32/src/Internal.h"

namespace qwin::detail {
namespace {

struct EditData : ControlData {
  DWORD start = 0;
  DWORD end = 0;
  int limit = 30000;
  bool modified = false;
  std::string undo;
  bool canUndo = false;

  std::string StateWords() const override {
    return " sel=" + std::to_string(start) + "," + std::to_string(end) + (modified ? " modified" : "");
  }
};

std::pair<DWORD, DWORD> Ordered(const EditData& d, const std::string& text) {
  DWORD size = static_cast<DWORD>(text.size());
  return {std::min(std::min(d.start, d.end), size), std::min(std::max(d.start, d.end), size)};
}

void Changed(HWND edit) {
  NotifyParent(edit, EN_UPDATE);
  if (IsWindow(edit)) NotifyParent(edit, EN_CHANGE);
}

// Replaces the selection by `text` as typing or pasting does; false when the limit refuses it.
bool ReplaceSelection(HWND edit, Window& w, const std::string& text, bool notify) {
  auto& d = DataOf<EditData>(w);
  auto [start, end] = Ordered(d, w.text);
  if (static_cast<int>(w.text.size() - (end - start) + text.size()) > d.limit) {
    NotifyParent(edit, EN_MAXTEXT);
    return false;
  }
  d.undo = w.text;
  d.canUndo = true;
  w.text.replace(start, end - start, text);
  InvalidateRect(edit, nullptr, FALSE);
  d.start = d.end = start + static_cast<DWORD>(text.size());
  d.modified = true;
  if (notify) Changed(edit);
  return true;
}

void Copy(const std::string& text) {
  if (!OpenClipboard(nullptr)) return;
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  char* p = static_cast<char*>(GlobalLock(memory));
  std::copy(text.begin(), text.end(), p);
  p[text.size()] = 0;
  GlobalUnlock(memory);
  SetClipboardData(CF_TEXT, memory);
  CloseClipboard();
}

std::string PasteText() {
  std::string text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    text = static_cast<const char*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

void PaintText(HWND window, Window& w, UINT ctlColor, UINT format) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  if (w.font) SelectObject(dc, w.font);
  HBRUSH brush = reinterpret_cast<HBRUSH>(
      SendMessage(GetParent(window), ctlColor, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(window)));
  RECT rect;
  GetClientRect(window, &rect);
  if (brush) FillRect(dc, &rect, brush);
  DrawText(dc, w.text.c_str(), -1, &rect, format);
  EndPaint(window, &ps);
}

// One message to an edit control, as its handlers see it.
struct EditCall {
  HWND edit;
  Window& w;
  EditData& d;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  bool Multiline() const { return (w.style & ES_MULTILINE) != 0; }
  bool ReadOnly() const { return (w.style & ES_READONLY) != 0; }
};

LRESULT OnGetDlgCode(EditCall& c) {
  UINT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
  auto* msg = reinterpret_cast<const MSG*>(c.lParam);
  if (c.Multiline() && msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN && (c.w.style & ES_WANTRETURN)) {
    code |= DLGC_WANTMESSAGE;
  }
  return code;
}

LRESULT OnSetText(EditCall& c) {
  c.w.text = c.lParam ? reinterpret_cast<LPCSTR>(c.lParam) : "";
  InvalidateRect(c.edit, nullptr, FALSE);
  c.d.start = c.d.end = 0;
  c.d.modified = false;
  c.d.canUndo = false;
  if (!c.Multiline()) Changed(c.edit);
  return TRUE;
}

LRESULT OnChar(EditCall& c) {
  if (c.ReadOnly()) return 0;
  unsigned char ch = static_cast<unsigned char>(c.wParam);
  if (ch == 8) {
    auto [start, end] = Ordered(c.d, c.w.text);
    if (start == end && start > 0) c.d.start = start - 1;
    if (start != end || start > 0) ReplaceSelection(c.edit, c.w, "", true);
  } else if (ch == '\r') {
    if (c.Multiline()) ReplaceSelection(c.edit, c.w, "\r\n", true);
  } else if (ch >= 0x20 || ch == '\t') {
    if (ch == '\t' && !c.Multiline()) return 0;
    if ((c.w.style & ES_NUMBER) && (ch < '0' || ch > '9')) {
      MessageBeep(0);
      return 0;
    }
    char typed = static_cast<char>(ch);
    if (c.w.style & ES_UPPERCASE) typed = static_cast<char>(std::toupper(ch));
    if (c.w.style & ES_LOWERCASE) typed = static_cast<char>(std::tolower(ch));
    ReplaceSelection(c.edit, c.w, std::string(1, typed), true);
  }
  return 0;
}

LRESULT OnKeyDown(EditCall& c) {
  DWORD size = static_cast<DWORD>(c.w.text.size());
  DWORD caret = std::min(c.d.end, size);
  switch (c.wParam) {
    case VK_DELETE:
      if (c.ReadOnly()) return 0;
      if (c.d.start == c.d.end) c.d.end = std::min(caret + 1, size);
      ReplaceSelection(c.edit, c.w, "", true);
      return 0;
    case VK_LEFT: caret = caret > 0 ? caret - 1 : 0; break;
    case VK_RIGHT: caret = std::min(caret + 1, size); break;
    case VK_HOME: caret = 0; break;
    case VK_END: caret = size; break;
    default: return 0;
  }
  c.d.end = caret;
  if (GetKeyState(VK_SHIFT) >= 0) c.d.start = caret;
  return 0;
}

LRESULT OnGetSel(EditCall& c) {
  auto [start, end] = Ordered(c.d, c.w.text);
  if (c.wParam) *reinterpret_cast<DWORD*>(c.wParam) = start;
  if (c.lParam) *reinterpret_cast<DWORD*>(c.lParam) = end;
  return MAKELRESULT(start, end);
}

LRESULT OnSetSel(EditCall& c) {
  DWORD size = static_cast<DWORD>(c.w.text.size());
  long start = static_cast<long>(static_cast<int>(c.wParam));
  long end = static_cast<long>(static_cast<int>(c.lParam));
  if (start < 0) {
    c.d.start = c.d.end = std::min(c.d.end, size);
    return 0;
  }
  c.d.start = std::min<DWORD>(static_cast<DWORD>(start), size);
  c.d.end = end < 0 ? size : std::min<DWORD>(static_cast<DWORD>(end), size);
  return 0;
}

LRESULT OnReplaceSel(EditCall& c) {
  ReplaceSelection(c.edit, c.w, c.lParam ? reinterpret_cast<LPCSTR>(c.lParam) : "", false);
  if (!c.wParam) c.d.canUndo = false;
  return 0;
}

LRESULT OnLimitText(EditCall& c) {
  c.d.limit = c.wParam ? static_cast<int>(c.wParam) : 0x7FFFFFFE;
  return 0;
}

LRESULT OnGetModify(EditCall& c) { return c.d.modified; }

LRESULT OnSetModify(EditCall& c) {
  c.d.modified = c.wParam != 0;
  return 0;
}

LRESULT OnSetReadOnly(EditCall& c) {
  c.w.style = c.wParam ? (c.w.style | ES_READONLY) : (c.w.style & ~ES_READONLY);
  return TRUE;
}

LRESULT OnCanUndo(EditCall& c) { return c.d.canUndo; }

LRESULT OnUndo(EditCall& c) {
  if (!c.d.canUndo) return FALSE;
  std::swap(c.w.text, c.d.undo);
  c.d.start = c.d.end = static_cast<DWORD>(c.w.text.size());
  Changed(c.edit);
  return TRUE;
}

LRESULT OnEmptyUndoBuffer(EditCall& c) {
  c.d.canUndo = false;
  return 0;
}

LRESULT OnGetLineCount(EditCall& c) {
  return 1 + static_cast<LRESULT>(std::count(c.w.text.begin(), c.w.text.end(), '\n'));
}

// WM_COPY and WM_CUT.
LRESULT OnCopy(EditCall& c) {
  auto [start, end] = Ordered(c.d, c.w.text);
  if (start == end) return 0;
  Copy(c.w.text.substr(start, end - start));
  if (c.message == WM_CUT && !c.ReadOnly()) ReplaceSelection(c.edit, c.w, "", true);
  return 0;
}

LRESULT OnPaste(EditCall& c) {
  if (!c.ReadOnly()) ReplaceSelection(c.edit, c.w, PasteText(), true);
  return 0;
}

LRESULT OnClear(EditCall& c) {
  if (!c.ReadOnly()) ReplaceSelection(c.edit, c.w, "", true);
  return 0;
}

LRESULT OnSetFocus(EditCall& c) {
  NotifyParent(c.edit, EN_SETFOCUS);
  return 0;
}

LRESULT OnKillFocus(EditCall& c) {
  NotifyParent(c.edit, EN_KILLFOCUS);
  return 0;
}

LRESULT OnLButtonDown(EditCall& c) {
  SetFocus(c.edit);
  return 0;
}

LRESULT OnPaint(EditCall& c) {
  PaintText(c.edit, c.w, c.ReadOnly() || (c.w.style & WS_DISABLED) ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT,
            c.Multiline() ? DT_WORDBREAK : DT_SINGLELINE);
  return 0;
}

const HandlerTable<EditCall>& EditHandlers() {
  static const HandlerTable<EditCall> handlers = {
      {WM_GETDLGCODE, OnGetDlgCode},
      {WM_SETTEXT, OnSetText},
      {WM_CHAR, OnChar},
      {WM_KEYDOWN, OnKeyDown},
      {EM_GETSEL, OnGetSel},
      {EM_SETSEL, OnSetSel},
      {EM_REPLACESEL, OnReplaceSel},
      {EM_LIMITTEXT, OnLimitText},
      {EM_GETMODIFY, OnGetModify},
      {EM_SETMODIFY, OnSetModify},
      {EM_SETREADONLY, OnSetReadOnly},
      {EM_CANUNDO, OnCanUndo},
      {EM_UNDO, OnUndo},
      {WM_UNDO, OnUndo},
      {EM_EMPTYUNDOBUFFER, OnEmptyUndoBuffer},
      {EM_GETLINECOUNT, OnGetLineCount},
      {WM_COPY, OnCopy},
      {WM_CUT, OnCopy},
      {WM_PASTE, OnPaste},
      {WM_CLEAR, OnClear},
      {WM_SETFOCUS, OnSetFocus},
      {WM_KILLFOCUS, OnKillFocus},
      {WM_LBUTTONDOWN, OnLButtonDown},
      {WM_PAINT, OnPaint},
  };
  return handlers;
}

LRESULT CALLBACK EditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(edit);
  EditCall call{edit, *w, DataOf<EditData>(*w), message, wParam, lParam};
  LRESULT result = 0;
  if (Dispatch(EditHandlers(), message, call, result)) return result;
  return ControlDefault(edit, EM_GETSEL, EM_SETREADONLY + 0x10, message, wParam, lParam);
}

struct StaticData : ControlData {
  HANDLE image = nullptr;
  std::string StateWords() const override {
    return image ? " image=" + IconName(static_cast<HICON>(image)) : std::string();
  }
};

LRESULT CALLBACK StaticProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(label);
  auto& d = DataOf<StaticData>(*w);
  DWORD type = w->style & SS_TYPEMASK;
  switch (message) {
    case WM_CREATE:
      if ((type == SS_ICON || type == SS_BITMAP) && !w->text.empty()) {
        LPCSTR name = w->text[0] == '#' ? MAKEINTRESOURCE(std::atoi(w->text.c_str() + 1)) : w->text.c_str();
        d.image = type == SS_ICON ? static_cast<HANDLE>(LoadIcon(w->instance, name))
                                  : static_cast<HANDLE>(LoadBitmap(w->instance, name));
      }
      return 0;
    case WM_NCHITTEST:
      return (w->style & SS_NOTIFY) ? HTCLIENT : HTTRANSPARENT;
    case WM_GETDLGCODE:
      return DLGC_STATIC;
    case WM_LBUTTONUP:
      if (w->style & SS_NOTIFY) NotifyParent(label, STN_CLICKED);
      return 0;
    case WM_LBUTTONDBLCLK:
      if (w->style & SS_NOTIFY) NotifyParent(label, STN_DBLCLK);
      return 0;
    case STM_SETICON:
    case STM_SETIMAGE: {
      HANDLE old = d.image;
      d.image = reinterpret_cast<HANDLE>(message == STM_SETICON ? static_cast<LPARAM>(wParam) : lParam);
      InvalidateRect(label, nullptr, FALSE);
      return reinterpret_cast<LRESULT>(old);
    }
    case STM_GETICON:
    case STM_GETIMAGE:
      return reinterpret_cast<LRESULT>(d.image);
    case WM_PAINT: {
      UINT format = (w->style & SS_NOPREFIX) ? DT_NOPREFIX : 0;
      if (type == SS_CENTER) format |= DT_CENTER;
      if (type == SS_RIGHT) format |= DT_RIGHT;
      if (type == SS_LEFTNOWORDWRAP || type == SS_SIMPLE) format |= DT_SINGLELINE;
      if (w->style & SS_CENTERIMAGE) format |= DT_SINGLELINE | DT_VCENTER;
      PaintText(label, *w, WM_CTLCOLORSTATIC, format);
      return 0;
    }
    default:
      return ControlDefault(label, STM_SETICON, STM_GETIMAGE, message, wParam, lParam);
  }
}

}  // namespace

void RegisterEditStaticClasses() {
  RegisterSystemClass("EDIT", EditProc);
  RegisterSystemClass("STATIC", StaticProc);
}

}  // namespace qwin::detail
