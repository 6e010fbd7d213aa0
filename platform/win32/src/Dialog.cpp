// Windows stand-in: the dialog manager: dialogs built from templates, dialog units, the default
// dialog procedure, keyboard navigation, and modal dialog boxes over the input queue.
#include "win32/src/Internal.h"
#include "win32/src/ResourceFormat.h"

namespace qwin::detail {
namespace {

struct DialogData : ControlData {
  bool ended = false;
  INT_PTR result = 0;
  int baseX = 8;
  int baseY = 16;
  int defaultId = IDOK;
  HFONT font = nullptr;
  std::string name;
};

DialogData* DataOfDialog(HWND dialog) {
  Window* w = Find(dialog);
  return w ? dynamic_cast<DialogData*>(w->data.get()) : nullptr;
}

bool IsTabStop(HWND h) {
  Window* w = Find(h);
  return w && (w->style & WS_TABSTOP) && (w->style & WS_VISIBLE) && !(w->style & WS_DISABLED);
}

// Creates the dialog window and its controls from a parsed template.
HWND BuildDialog(HINSTANCE instance, const rc::Dialog& t, const std::string& name,
                 const std::vector<rc::ControlName>& names, HWND parent, DLGPROC proc, LPARAM param) {
  HFONT font = nullptr;
  int baseX = LOWORD(GetDialogBaseUnits());
  int baseY = HIWORD(GetDialogBaseUnits());
  if ((t.style & DS_SETFONT) && t.pointSize) {
    font = CreateFont(-MulDiv(t.pointSize, 96, 72), 0, 0, 0, t.weight, t.italic, 0, 0, t.charset, 0, 0, 0, 0,
                      t.face.c_str());
    TEXTMETRIC tm = MetricsOf(font);
    baseY = tm.tmHeight;
    SIZE extent;
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    GetTextExtentPoint32(dc, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &extent);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    baseX = (extent.cx / 26 + 1) / 2;
  }
  auto px = [&](int x) { return MulDiv(x, baseX, 4); };
  auto py = [&](int y) { return MulDiv(y, baseY, 8); };

  DWORD style = t.style & ~WS_VISIBLE;
  DWORD exStyle = t.exStyle | ((t.style & DS_MODALFRAME) ? WS_EX_DLGMODALFRAME : 0);
  RECT rect{0, 0, px(t.cx), py(t.cy)};
  AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  int x = px(t.x);
  int y = py(t.y);
  if (t.style & DS_CENTER) {
    x = (GetSystemMetrics(SM_CXSCREEN) - (rect.right - rect.left)) / 2;
    y = (GetSystemMetrics(SM_CYSCREEN) - (rect.bottom - rect.top)) / 2;
  } else if (parent && !(style & WS_CHILD)) {
    POINT origin{0, 0};
    ClientToScreen(parent, &origin);
    x += origin.x;
    y += origin.y;
  }
  std::string className = t.className.empty() ? "#32770" : t.className;
  HWND dialog = CreateWindowEx(exStyle, className.c_str(), t.caption.c_str(), style, x, y,
                               rect.right - rect.left, rect.bottom - rect.top, parent, nullptr, instance, nullptr);
  if (!dialog) return nullptr;
  Window* w = Find(dialog);
  auto data = std::make_unique<DialogData>();
  data->baseX = baseX;
  data->baseY = baseY;
  data->font = font;
  data->name = name;
  w->data = std::move(data);
  w->dialogLongs[DWL_DLGPROC] = reinterpret_cast<LONG_PTR>(proc);
  if (font) SendMessage(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);

  for (const auto& c : t.controls) {
    DWORD cstyle = c.style | WS_CHILD;
    HWND control = CreateWindowEx(c.exStyle | WS_EX_NOPARENTNOTIFY, c.className.c_str(), c.text.c_str(), cstyle,
                                  px(c.x), py(c.y), px(c.cx), py(c.cy), dialog,
                                  reinterpret_cast<HMENU>(static_cast<intptr_t>(c.id)), instance, nullptr);
    if (!control) {
      if (t.style & DS_NOFAILCREATE) continue;
      Unimplemented("dialog control class " + c.className);
      continue;
    }
    for (const auto& n : names)
      if (n.id == c.id) Find(control)->symbol = n.name;
    if (font) SendMessage(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  if (!IsWindow(dialog)) return nullptr;
  HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
  if (SendMessage(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param) && first && IsWindow(first)) {
    SetFocus(first);
  }
  if (IsWindow(dialog) && (t.style & WS_VISIBLE)) ShowWindow(dialog, SW_SHOW);
  return IsWindow(dialog) ? dialog : nullptr;
}

const void* TemplateData(HINSTANCE instance, LPCSTR name, size_t* size) {
  HRSRC resource = FindResource(instance, name, RT_DIALOG);
  if (!resource) return nullptr;
  *size = SizeofResource(instance, resource);
  return LockResource(LoadResource(instance, resource));
}

HWND CreateFromData(HINSTANCE instance, const void* data, size_t size, HWND parent, DLGPROC proc, LPARAM param) {
  rc::Dialog t;
  if (!data || !rc::ReadDialog(static_cast<const unsigned char*>(data), size, t)) return nullptr;
  std::string name = ResourceNameOf(data);
  std::vector<rc::ControlName> names;
  auto [namesData, namesSize] = CompanionResource(data, rc::kControlNamesType);
  if (namesData && !rc::ReadControlNames(namesData, namesSize, names)) names.clear();
  return BuildDialog(instance, t, name.empty() ? t.caption : name, names, parent, proc, param);
}

// Our compiled templates carry no length word, so the indirect forms read up to this many bytes
// (the reader stops at the template's own end).
constexpr size_t kIndirectLimit = 1 << 20;

INT_PTR RunDialogBox(HWND dialog, HWND owner) {
  if (!dialog) return -1;
  DialogData* data = DataOfDialog(dialog);
  if (owner) EnableWindow(owner, FALSE);
  ShowWindow(dialog, SW_SHOW);
  ModalWait wait;
  wait.name = "dialog " + data->name;
  wait.window = dialog;
  wait.cancel = [dialog] {
    PostMessage(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
  };
  wait.force = [dialog] { EndDialog(dialog, IDCANCEL); };
  wait.ended = [dialog] {
    DialogData* d = DataOfDialog(dialog);
    return !d || d->ended;
  };
  RunModalWait(wait, [dialog](MSG& msg) {
    if (!IsDialogMessage(dialog, &msg)) {
      TranslateMessage(&msg);
      DispatchMessage(&msg);
    }
  });
  data = DataOfDialog(dialog);
  INT_PTR result = data ? data->result : IDCANCEL;
  if (owner) EnableWindow(owner, TRUE);
  DestroyWindow(dialog);
  return result;
}

}  // namespace

HWND DialogOf(HWND control) {
  for (HWND h = control; h; h = GetParent(h)) {
    if (IsDialog(h)) return h;
  }
  return nullptr;
}

bool IsDialog(HWND window) { return DataOfDialog(window) != nullptr; }

}  // namespace qwin::detail

using namespace qwin::detail;

LONG GetDialogBaseUnits() { return MAKELONG(8, 16); }

BOOL MapDialogRect(HWND dialog, LPRECT rect) {
  DialogData* data = DataOfDialog(dialog);
  if (!data || !rect) return FALSE;
  rect->left = MulDiv(rect->left, data->baseX, 4);
  rect->right = MulDiv(rect->right, data->baseX, 4);
  rect->top = MulDiv(rect->top, data->baseY, 8);
  rect->bottom = MulDiv(rect->bottom, data->baseY, 8);
  return TRUE;
}

HWND CreateDialogParam(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc, LPARAM param) {
  size_t size = 0;
  const void* data = TemplateData(instance, templateName, &size);
  return CreateFromData(instance, data, size, parent, proc, param);
}

HWND CreateDialogIndirectParam(HINSTANCE instance, LPCDLGTEMPLATE dialogTemplate, HWND parent, DLGPROC proc,
                               LPARAM param) {
  return CreateFromData(instance, dialogTemplate, kIndirectLimit, parent, proc, param);
}

INT_PTR DialogBoxParam(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc, LPARAM param) {
  return RunDialogBox(CreateDialogParam(instance, templateName, parent, proc, param), parent);
}

INT_PTR DialogBoxIndirectParam(HINSTANCE instance, LPCDLGTEMPLATE dialogTemplate, HWND parent, DLGPROC proc,
                               LPARAM param) {
  return RunDialogBox(CreateDialogIndirectParam(instance, dialogTemplate, parent, proc, param), parent);
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
  DialogData* data = DataOfDialog(dialog);
  if (!data) return FALSE;
  data->ended = true;
  data->result = result;
  Window* w = Find(dialog);
  if (w->owner && IsWindow(w->owner)) EnableWindow(w->owner, TRUE);
  SetWindowPos(dialog, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
  return TRUE;
}

LRESULT DefDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(dialog);
  if (!w) return 0;
  auto proc = reinterpret_cast<DLGPROC>(GetWindowLongPtr(dialog, DWL_DLGPROC));
  if (proc) {
    SetWindowLongPtr(dialog, DWL_MSGRESULT, 0);
    INT_PTR handled = proc(dialog, message, wParam, lParam);
    if (handled) {
      // These answer with the procedure's own result; the rest with DWL_MSGRESULT.
      bool direct = IsCtlColor(message) || message == WM_COMPAREITEM || message == WM_CHARTOITEM ||
                    message == WM_QUERYDRAGICON || message == WM_INITDIALOG;
      if (direct) return handled;
      return IsWindow(dialog) ? GetWindowLongPtr(dialog, DWL_MSGRESULT) : 0;
    }
    if (!IsWindow(dialog)) return 0;
  }
  switch (message) {
    case WM_CLOSE:
      PostMessage(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                  reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
      return 0;
    case DM_GETDEFID: {
      DialogData* data = DataOfDialog(dialog);
      return data ? MAKELRESULT(data->defaultId, DC_HASDEFID) : 0;
    }
    case DM_SETDEFID:
      if (DialogData* data = DataOfDialog(dialog)) data->defaultId = static_cast<int>(wParam);
      return TRUE;
    case WM_NEXTDLGCTL: {
      HWND next = lParam ? reinterpret_cast<HWND>(wParam)
                         : GetNextDlgTabItem(dialog, GetFocus(), wParam ? TRUE : FALSE);
      if (next) SetFocus(next);
      return 0;
    }
    case WM_INITDIALOG:
    case WM_COMMAND:
    case WM_NOTIFY:
      return 0;
    case WM_DESTROY:
      if (DialogData* data = DataOfDialog(dialog); data && data->font) {
        DeleteObject(data->font);
        data->font = nullptr;
      }
      return 0;
    default:
      return DefWindowProc(dialog, message, wParam, lParam);
  }
}

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
  Window* w = Find(dialog);
  if (!w || w->children.empty()) return nullptr;
  const auto& list = w->children;
  int n = static_cast<int>(list.size());
  int start = -1;
  for (int i = 0; i < n; ++i) {
    if (list[i] == control) start = i;
  }
  for (int step = 1; step <= n; ++step) {
    int i = previous ? (start < 0 ? n - step : (start - step + n) % n) : (start + step) % n;
    if (start < 0 && !previous) i = step - 1;
    if (IsTabStop(list[i])) return list[i];
  }
  return nullptr;
}

HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous) {
  Window* w = Find(dialog);
  if (!w || w->children.empty()) return nullptr;
  const auto& list = w->children;
  auto it = std::find(list.begin(), list.end(), control);
  if (it == list.end()) return nullptr;
  // The group runs from the control with WS_GROUP at or before `control` to the next WS_GROUP.
  size_t first = static_cast<size_t>(it - list.begin());
  while (first > 0 && !(Find(list[first])->style & WS_GROUP)) --first;
  size_t last = first + 1;
  while (last < list.size() && !(Find(list[last])->style & WS_GROUP)) ++last;
  size_t count = last - first;
  size_t pos = static_cast<size_t>(it - list.begin()) - first;
  for (size_t step = 1; step < count; ++step) {
    size_t i = first + (previous ? (pos + count - step) % count : (pos + step) % count);
    Window* c = Find(list[i]);
    if ((c->style & WS_VISIBLE) && !(c->style & WS_DISABLED)) return list[i];
  }
  return control;
}

BOOL IsDialogMessage(HWND dialog, LPMSG msg) {
  if (!msg || !IsWindow(dialog) || !(msg->hwnd == dialog || IsChild(dialog, msg->hwnd))) return FALSE;
  HWND focus = GetFocus();
  auto code = [&](HWND target) {
    return target ? static_cast<UINT>(SendMessage(target, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg)))
                  : 0u;
  };
  if (msg->message == WM_KEYDOWN) {
    int vk = static_cast<int>(msg->wParam);
    UINT wants = code(msg->hwnd);
    switch (vk) {
      case VK_TAB:
        if (wants & (DLGC_WANTTAB | DLGC_WANTMESSAGE)) break;
        if (HWND next = GetNextDlgTabItem(dialog, focus, GetKeyState(VK_SHIFT) < 0)) SetFocus(next);
        return TRUE;
      case VK_ESCAPE:
        if (wants & DLGC_WANTMESSAGE) break;
        SendMessage(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                    reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
        return TRUE;
      case VK_RETURN: {
        if (wants & DLGC_WANTMESSAGE) break;
        int id = 0;
        if (wants & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) {
          id = GetDlgCtrlID(msg->hwnd);
        } else {
          LRESULT def = SendMessage(dialog, DM_GETDEFID, 0, 0);
          id = HIWORD(def) == DC_HASDEFID ? LOWORD(def) : IDOK;
        }
        HWND button = GetDlgItem(dialog, id);
        if (!button || IsWindowEnabled(button)) {
          SendMessage(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
        }
        return TRUE;
      }
      case VK_LEFT:
      case VK_RIGHT:
      case VK_UP:
      case VK_DOWN:
        if (wants & DLGC_WANTARROWS) break;
        if (focus) {
          HWND next = GetNextDlgGroupItem(dialog, focus, vk == VK_LEFT || vk == VK_UP);
          if (next) SetFocus(next);
        }
        return TRUE;
      default:
        break;
    }
  } else if (msg->message == WM_CHAR) {
    WPARAM c = msg->wParam;
    UINT wants = code(msg->hwnd);
    if ((c == '\t' && !(wants & (DLGC_WANTTAB | DLGC_WANTMESSAGE | DLGC_WANTCHARS))) ||
        ((c == 0x1B || c == '\r') && !(wants & DLGC_WANTMESSAGE))) {
      return TRUE;
    }
  }
  TranslateMessage(msg);
  DispatchMessage(msg);
  return TRUE;
}

