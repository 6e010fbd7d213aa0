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

LRESULT CALLBACK EditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(edit);
  auto& d = DataOf<EditData>(*w);
  bool multiline = (w->style & ES_MULTILINE) != 0;
  bool readOnly = (w->style & ES_READONLY) != 0;
  switch (message) {
    case WM_GETDLGCODE: {
      UINT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
      auto* msg = reinterpret_cast<const MSG*>(lParam);
      if (multiline && msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN && (w->style & ES_WANTRETURN)) {
        code |= DLGC_WANTMESSAGE;
      }
      return code;
    }
    case WM_SETTEXT:
      w->text = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
      InvalidateRect(edit, nullptr, FALSE);
      d.start = d.end = 0;
      d.modified = false;
      d.canUndo = false;
      if (!multiline) Changed(edit);
      return TRUE;
    case WM_CHAR: {
      if (readOnly) return 0;
      unsigned char c = static_cast<unsigned char>(wParam);
      if (c == 8) {
        auto [start, end] = Ordered(d, w->text);
        if (start == end && start > 0) d.start = start - 1;
        if (start != end || start > 0) ReplaceSelection(edit, *w, "", true);
      } else if (c == '\r') {
        if (multiline) ReplaceSelection(edit, *w, "\r\n", true);
      } else if (c >= 0x20 || c == '\t') {
        if (c == '\t' && !multiline) return 0;
        if ((w->style & ES_NUMBER) && (c < '0' || c > '9')) {
          MessageBeep(0);
          return 0;
        }
        char ch = static_cast<char>(c);
        if (w->style & ES_UPPERCASE) ch = static_cast<char>(std::toupper(c));
        if (w->style & ES_LOWERCASE) ch = static_cast<char>(std::tolower(c));
        ReplaceSelection(edit, *w, std::string(1, ch), true);
      }
      return 0;
    }
    case WM_KEYDOWN: {
      DWORD size = static_cast<DWORD>(w->text.size());
      DWORD caret = std::min(d.end, size);
      switch (wParam) {
        case VK_DELETE:
          if (readOnly) return 0;
          if (d.start == d.end) d.end = std::min(caret + 1, size);
          ReplaceSelection(edit, *w, "", true);
          return 0;
        case VK_LEFT: caret = caret > 0 ? caret - 1 : 0; break;
        case VK_RIGHT: caret = std::min(caret + 1, size); break;
        case VK_HOME: caret = 0; break;
        case VK_END: caret = size; break;
        default: return 0;
      }
      d.end = caret;
      if (GetKeyState(VK_SHIFT) >= 0) d.start = caret;
      return 0;
    }
    case EM_GETSEL: {
      auto [start, end] = Ordered(d, w->text);
      if (wParam) *reinterpret_cast<DWORD*>(wParam) = start;
      if (lParam) *reinterpret_cast<DWORD*>(lParam) = end;
      return MAKELRESULT(start, end);
    }
    case EM_SETSEL: {
      DWORD size = static_cast<DWORD>(w->text.size());
      long start = static_cast<long>(static_cast<int>(wParam));
      long end = static_cast<long>(static_cast<int>(lParam));
      if (start < 0) {
        d.start = d.end = std::min(d.end, size);
        return 0;
      }
      d.start = std::min<DWORD>(static_cast<DWORD>(start), size);
      d.end = end < 0 ? size : std::min<DWORD>(static_cast<DWORD>(end), size);
      return 0;
    }
    case EM_REPLACESEL:
      ReplaceSelection(edit, *w, lParam ? reinterpret_cast<LPCSTR>(lParam) : "", false);
      if (!wParam) d.canUndo = false;
      return 0;
    case EM_LIMITTEXT:
      d.limit = wParam ? static_cast<int>(wParam) : 0x7FFFFFFE;
      return 0;
    case EM_GETMODIFY:
      return d.modified;
    case EM_SETMODIFY:
      d.modified = wParam != 0;
      return 0;
    case EM_SETREADONLY:
      w->style = wParam ? (w->style | ES_READONLY) : (w->style & ~ES_READONLY);
      return TRUE;
    case EM_CANUNDO:
      return d.canUndo;
    case EM_UNDO:
    case WM_UNDO: {
      if (!d.canUndo) return FALSE;
      std::swap(w->text, d.undo);
      d.start = d.end = static_cast<DWORD>(w->text.size());
      Changed(edit);
      return TRUE;
    }
    case EM_EMPTYUNDOBUFFER:
      d.canUndo = false;
      return 0;
    case EM_GETLINECOUNT:
      return 1 + static_cast<LRESULT>(std::count(w->text.begin(), w->text.end(), '\n'));
    case WM_COPY:
    case WM_CUT: {
      auto [start, end] = Ordered(d, w->text);
      if (start == end) return 0;
      Copy(w->text.substr(start, end - start));
      if (message == WM_CUT && !readOnly) ReplaceSelection(edit, *w, "", true);
      return 0;
    }
    case WM_PASTE:
      if (!readOnly) ReplaceSelection(edit, *w, PasteText(), true);
      return 0;
    case WM_CLEAR:
      if (!readOnly) ReplaceSelection(edit, *w, "", true);
      return 0;
    case WM_SETFOCUS:
      NotifyParent(edit, EN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      NotifyParent(edit, EN_KILLFOCUS);
      return 0;
    case WM_LBUTTONDOWN:
      SetFocus(edit);
      return 0;
    case WM_PAINT:
      PaintText(edit, *w, readOnly || (w->style & WS_DISABLED) ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT,
                multiline ? DT_WORDBREAK : DT_SINGLELINE);
      return 0;
    default:
      return ControlDefault(edit, EM_GETSEL, EM_SETREADONLY + 0x10, message, wParam, lParam);
  }
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
