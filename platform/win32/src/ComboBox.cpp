// Windows stand-in: the COMBOBOX class: drop-down and drop-down list styles, sorted and owner-drawn
// lists, the CB_* messages and the CBN_* notifications.
#include <algorithm>

#include "win32/src/Internal.h"

namespace qwin::detail {
namespace {

struct Item {
  std::string text;
  ULONG_PTR data = 0;
};

struct ComboData : ControlData {
  std::vector<Item> items;
  int selection = -1;
  std::string edit;  // the edit field of a drop-down combo
  DWORD editStart = 0;
  DWORD editEnd = 0;
  bool dropped = false;
  int itemHeight = 13;
  int editHeight = 13;
  int droppedHeight = 0;
  int limit = 0;
  bool extendedUi = false;

  std::string StateWords() const override {
    std::string words = " sel=" + std::to_string(selection);
    if (dropped) words += " dropped";
    return words;
  }
  void Describe(std::string& out, const std::string& indent) const override {
    out += indent + "items:";
    for (size_t i = 0; i < items.size(); ++i) {
      out += " " + Quote(items[i].text);
      if (static_cast<int>(i) == selection) out += "*";
    }
    out += "\n";
  }
};

DWORD Kind(const Window& w) { return w.style & 3; }
bool HasEdit(const Window& w) { return Kind(w) == CBS_DROPDOWN || Kind(w) == CBS_SIMPLE; }
bool OwnerDrawn(const Window& w) { return (w.style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) != 0; }
bool HasStrings(const Window& w) { return !OwnerDrawn(w) || (w.style & CBS_HASSTRINGS); }

int Count(const ComboData& d) { return static_cast<int>(d.items.size()); }

void Notify(HWND combo, UINT code) { NotifyParent(combo, code); }

void DrawItem(HWND combo, Window& w, int index, UINT state) {
  auto& d = DataOf<ComboData>(w);
  HDC dc = GetDC(combo);
  RECT client;
  GetClientRect(combo, &client);
  RECT rect = (state & ODS_COMBOBOXEDIT) ? RECT{3, 3, client.right - 20, client.bottom - 3}
                                         : RECT{0, index * d.itemHeight, client.right, (index + 1) * d.itemHeight};
  ULONG_PTR data = index >= 0 && index < Count(d) ? d.items[static_cast<size_t>(index)].data : 0;
  DRAWITEMSTRUCT di{ODT_COMBOBOX, static_cast<UINT>(w.id), static_cast<UINT>(index), ODA_DRAWENTIRE,
                    state, combo, dc, rect, data};
  SendMessage(GetParent(combo), WM_DRAWITEM, static_cast<WPARAM>(w.id), reinterpret_cast<LPARAM>(&di));
  ReleaseDC(combo, dc);
}

void DrawList(HWND combo, Window& w) {
  if (!OwnerDrawn(w)) return;
  auto& d = DataOf<ComboData>(w);
  for (int i = 0; i < Count(d); ++i) DrawItem(combo, w, i, i == d.selection ? ODS_SELECTED : 0);
}

void ShowDropDown(HWND combo, bool show) {
  Window* w = Find(combo);
  auto& d = DataOf<ComboData>(*w);
  if (d.dropped == show) return;
  if (show) {
    Notify(combo, CBN_DROPDOWN);
    if ((w = Find(combo)) == nullptr) return;
    d.dropped = true;
    DrawList(combo, *w);
  } else {
    d.dropped = false;
    Notify(combo, CBN_CLOSEUP);
  }
}

void SetSelection(Window& w, int index) {
  auto& d = DataOf<ComboData>(w);
  d.selection = index;
  InvalidateRect(w.handle, nullptr, TRUE);
  if (HasEdit(w)) {
    d.edit = index >= 0 ? d.items[static_cast<size_t>(index)].text : std::string();
    d.editStart = 0;
    d.editEnd = static_cast<DWORD>(d.edit.size());
  }
}

int FindItem(const ComboData& d, int start, const std::string& text, bool exact) {
  int n = Count(d);
  if (n == 0) return CB_ERR;
  int first = start < 0 || start >= n ? 0 : start + 1;
  for (int k = 0; k < n; ++k) {
    int i = (first + k) % n;
    const std::string& item = d.items[static_cast<size_t>(i)].text;
    if (exact ? EqualNoCase(item, text) : (item.size() >= text.size() && EqualNoCase(item.substr(0, text.size()), text))) {
      return i;
    }
  }
  return CB_ERR;
}

int Insert(Window& w, int index, LPARAM lParam) {
  auto& d = DataOf<ComboData>(w);
  Item item;
  if (HasStrings(w)) {
    item.text = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
  } else {
    item.data = static_cast<ULONG_PTR>(lParam);
  }
  if (index < 0 && (w.style & CBS_SORT)) {
    if (!HasStrings(w)) Unimplemented("sorted owner-drawn combo box without strings (WM_COMPAREITEM)");
    index = 0;
    while (index < Count(d) && lstrcmpi(d.items[static_cast<size_t>(index)].text.c_str(), item.text.c_str()) <= 0) {
      ++index;
    }
  } else if (index < 0 || index > Count(d)) {
    if (index > Count(d)) return CB_ERR;
    index = Count(d);
  }
  d.items.insert(d.items.begin() + index, item);
  if (d.selection >= index) ++d.selection;
  return index;
}

void DeleteItem(HWND combo, Window& w, int index) {
  auto& d = DataOf<ComboData>(w);
  Item item = d.items[static_cast<size_t>(index)];
  d.items.erase(d.items.begin() + index);
  if (d.selection == index) {
    d.selection = -1;
  } else if (d.selection > index) {
    --d.selection;
  }
  if (OwnerDrawn(w) || item.data) {
    DELETEITEMSTRUCT di{ODT_COMBOBOX, static_cast<UINT>(w.id), static_cast<UINT>(index), combo, item.data};
    SendMessage(GetParent(combo), WM_DELETEITEM, static_cast<WPARAM>(w.id), reinterpret_cast<LPARAM>(&di));
  }
}

// Typing into the edit field of a drop-down combo.
void EditKey(HWND combo, Window& w, int ch, int vk) {
  auto& d = DataOf<ComboData>(w);
  DWORD start = std::min<DWORD>(std::min(d.editStart, d.editEnd), static_cast<DWORD>(d.edit.size()));
  DWORD end = std::min<DWORD>(std::max(d.editStart, d.editEnd), static_cast<DWORD>(d.edit.size()));
  std::string before = d.edit;
  if (ch == 8) {
    if (start == end && start > 0) --start;
    d.edit.erase(start, end - start);
  } else if (vk == VK_DELETE) {
    if (start == end && end < d.edit.size()) ++end;
    d.edit.erase(start, end - start);
  } else if (ch >= 0x20 || ch < 0) {
    if (d.limit && static_cast<int>(d.edit.size() - (end - start)) >= d.limit) {
      MessageBeep(0);
      return;
    }
    d.edit.replace(start, end - start, 1, static_cast<char>(ch));
    ++start;
  } else {
    return;
  }
  d.editStart = d.editEnd = start;
  if (d.edit != before) {
    Notify(combo, CBN_EDITUPDATE);
    Notify(combo, CBN_EDITCHANGE);
  }
}

void Measure(HWND combo, Window& w) {
  auto& d = DataOf<ComboData>(w);
  TEXTMETRIC tm = MetricsOf(w.font ? w.font : DefaultGuiFont());
  d.itemHeight = d.editHeight = tm.tmHeight;
  if (OwnerDrawn(w)) {
    for (int item : {-1, 0}) {
      MEASUREITEMSTRUCT mi{ODT_COMBOBOX, static_cast<UINT>(w.id), static_cast<UINT>(item), 0,
                           static_cast<UINT>(tm.tmHeight), 0};
      SendMessage(GetParent(combo), WM_MEASUREITEM, static_cast<WPARAM>(w.id), reinterpret_cast<LPARAM>(&mi));
      (item < 0 ? d.editHeight : d.itemHeight) = static_cast<int>(mi.itemHeight);
    }
  }
  RECT r = w.rect;
  w.rect.bottom = r.top + d.editHeight + 8;
}

LRESULT CALLBACK ComboProc(HWND combo, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(combo);
  auto& d = DataOf<ComboData>(*w);
  switch (message) {
    case WM_CREATE:
      d.droppedHeight = w->rect.bottom - w->rect.top;
      Measure(combo, *w);
      return 0;
    case WM_SETFONT:
      w->font = reinterpret_cast<HFONT>(wParam);
      if (!OwnerDrawn(*w)) Measure(combo, *w);
      return 0;
    case WM_GETDLGCODE: {
      // An open list takes Enter and Escape itself (choose, close), as the real control does;
      // only a closed one leaves them to the dialog.
      const auto* msg = reinterpret_cast<const MSG*>(lParam);
      const bool listKey = msg && msg->message == WM_KEYDOWN && (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE);
      return DLGC_WANTCHARS | DLGC_WANTARROWS | (HasEdit(*w) ? DLGC_HASSETSEL : 0u) |
             (listKey && d.dropped ? DLGC_WANTMESSAGE : 0u);
    }
    case CB_ADDSTRING:
      return Insert(*w, -1, lParam);
    case CB_INSERTSTRING:
      return Insert(*w, static_cast<int>(wParam) < 0 ? Count(d) : static_cast<int>(wParam), lParam);
    case CB_DELETESTRING: {
      int index = static_cast<int>(wParam);
      if (index < 0 || index >= Count(d)) return CB_ERR;
      DeleteItem(combo, *w, index);
      return Count(d);
    }
    case CB_RESETCONTENT:
      while (Count(d) > 0) DeleteItem(combo, *w, Count(d) - 1);
      SetSelection(*w, -1);
      return CB_OKAY;
    case CB_GETCOUNT:
      return Count(d);
    case CB_GETCURSEL:
      return d.selection;
    case CB_SETCURSEL: {
      int index = static_cast<int>(wParam);
      if (index < -1 || index >= Count(d)) index = -1;
      SetSelection(*w, index);
      return index < 0 ? CB_ERR : index;
    }
    case CB_GETLBTEXT: {
      int index = static_cast<int>(wParam);
      if (index < 0 || index >= Count(d) || !lParam) return CB_ERR;
      const std::string& text = d.items[static_cast<size_t>(index)].text;
      std::copy(text.begin(), text.end(), reinterpret_cast<char*>(lParam));
      reinterpret_cast<char*>(lParam)[text.size()] = 0;
      return static_cast<LRESULT>(text.size());
    }
    case CB_GETLBTEXTLEN: {
      int index = static_cast<int>(wParam);
      return index < 0 || index >= Count(d) ? CB_ERR : static_cast<LRESULT>(d.items[static_cast<size_t>(index)].text.size());
    }
    case CB_FINDSTRING:
    case CB_FINDSTRINGEXACT:
      return lParam ? FindItem(d, static_cast<int>(wParam), reinterpret_cast<LPCSTR>(lParam), message == CB_FINDSTRINGEXACT)
                    : CB_ERR;
    case CB_SELECTSTRING: {
      int index = lParam ? FindItem(d, static_cast<int>(wParam), reinterpret_cast<LPCSTR>(lParam), false) : CB_ERR;
      if (index >= 0) SetSelection(*w, index);
      return index;
    }
    case CB_GETITEMDATA: {
      int index = static_cast<int>(wParam);
      return index < 0 || index >= Count(d) ? CB_ERR : static_cast<LRESULT>(d.items[static_cast<size_t>(index)].data);
    }
    case CB_SETITEMDATA: {
      int index = static_cast<int>(wParam);
      if (index < 0 || index >= Count(d)) return CB_ERR;
      d.items[static_cast<size_t>(index)].data = static_cast<ULONG_PTR>(lParam);
      return TRUE;
    }
    case CB_SETITEMHEIGHT:
      (static_cast<int>(wParam) < 0 ? d.editHeight : d.itemHeight) = static_cast<int>(lParam);
      return CB_OKAY;
    case CB_GETITEMHEIGHT:
      return static_cast<int>(wParam) < 0 ? d.editHeight : d.itemHeight;
    case CB_SHOWDROPDOWN:
      ShowDropDown(combo, wParam != 0);
      return TRUE;
    case CB_GETDROPPEDSTATE:
      return d.dropped;
    case CB_GETDROPPEDCONTROLRECT:
      if (lParam) {
        GetWindowRect(combo, reinterpret_cast<LPRECT>(lParam));
        reinterpret_cast<LPRECT>(lParam)->bottom = reinterpret_cast<LPRECT>(lParam)->top + d.droppedHeight;
      }
      return CB_OKAY;
    case CB_LIMITTEXT:
      d.limit = static_cast<int>(wParam);
      return TRUE;
    case CB_GETEDITSEL:
      if (wParam) *reinterpret_cast<DWORD*>(wParam) = d.editStart;
      if (lParam) *reinterpret_cast<DWORD*>(lParam) = d.editEnd;
      return MAKELRESULT(d.editStart, d.editEnd);
    case CB_SETEDITSEL: {
      if (!HasEdit(*w)) return CB_ERR;
      int start = static_cast<short>(LOWORD(lParam));
      int end = static_cast<short>(HIWORD(lParam));
      DWORD size = static_cast<DWORD>(d.edit.size());
      d.editStart = start < 0 ? size : std::min<DWORD>(static_cast<DWORD>(start), size);
      d.editEnd = end < 0 ? size : std::min<DWORD>(static_cast<DWORD>(end), size);
      return TRUE;
    }
    case CB_SETEXTENDEDUI:
      d.extendedUi = wParam != 0;
      return CB_OKAY;
    case CB_GETEXTENDEDUI:
      return d.extendedUi;
    case WM_SETTEXT: {
      std::string text = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
      int index = FindItem(d, -1, text, true);
      if (!HasEdit(*w)) {
        if (index < 0) return CB_ERR;
        SetSelection(*w, index);
        return TRUE;
      }
      d.edit = text;
      d.selection = index;
      d.editStart = d.editEnd = 0;
      return TRUE;
    }
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH: {
      std::string text = HasEdit(*w) ? d.edit : d.selection >= 0 ? d.items[static_cast<size_t>(d.selection)].text : "";
      if (message == WM_GETTEXTLENGTH) return static_cast<LRESULT>(text.size());
      if (!wParam || !lParam) return 0;
      lstrcpyn(reinterpret_cast<LPSTR>(lParam), text.c_str(), static_cast<int>(wParam));
      return lstrlen(reinterpret_cast<LPSTR>(lParam));
    }
    case WM_CHAR:
      if (HasEdit(*w)) {
        EditKey(combo, *w, static_cast<int>(static_cast<signed char>(wParam)), 0);
      } else if (wParam >= 0x20) {
        std::string prefix(1, static_cast<char>(wParam));
        int index = FindItem(d, d.selection, prefix, false);
        if (index >= 0 && index != d.selection) {
          SetSelection(*w, index);
          Notify(combo, CBN_SELCHANGE);
        }
      }
      return 0;
    case WM_KEYDOWN:
      switch (wParam) {
        case VK_DELETE:
          if (HasEdit(*w)) EditKey(combo, *w, 0, VK_DELETE);
          return 0;
        case VK_F4:
          ShowDropDown(combo, !d.dropped);
          return 0;
        case VK_UP:
        case VK_DOWN: {
          int index = d.selection + (wParam == VK_DOWN ? 1 : -1);
          if (d.selection < 0) index = 0;
          if (index >= 0 && index < Count(d) && index != d.selection) {
            SetSelection(*w, index);
            Notify(combo, CBN_SELCHANGE);
          }
          return 0;
        }
        case VK_HOME:
        case VK_END:
        case VK_LEFT:
        case VK_RIGHT: {
          if (!HasEdit(*w)) return 0;
          DWORD size = static_cast<DWORD>(d.edit.size());
          DWORD caret = d.editEnd;
          if (wParam == VK_HOME) caret = 0;
          if (wParam == VK_END) caret = size;
          if (wParam == VK_LEFT && caret > 0) --caret;
          if (wParam == VK_RIGHT && caret < size) ++caret;
          d.editEnd = caret;
          if (GetKeyState(VK_SHIFT) >= 0) d.editStart = caret;
          return 0;
        }
        case VK_RETURN:
        case VK_ESCAPE:
          if (d.dropped) {
            Notify(combo, wParam == VK_RETURN ? CBN_SELENDOK : CBN_SELENDCANCEL);
            ShowDropDown(combo, false);
          }
          return 0;
        default:
          return 0;
      }
    case WM_LBUTTONDOWN:
      SetFocus(combo);
      ShowDropDown(combo, !d.dropped);
      return 0;
    case WM_SETFOCUS:
      if (HasEdit(*w)) {
        d.editStart = 0;
        d.editEnd = static_cast<DWORD>(d.edit.size());
      }
      Notify(combo, CBN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      if (d.dropped) {
        Notify(combo, CBN_SELENDCANCEL);
        ShowDropDown(combo, false);
      }
      Notify(combo, CBN_KILLFOCUS);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(combo, &ps);
      if (OwnerDrawn(*w)) {
        EndPaint(combo, &ps);
        DrawItem(combo, *w, d.selection, ODS_COMBOBOXEDIT | (GetFocus() == combo ? ODS_FOCUS | ODS_SELECTED : 0u));
        return 0;
      }
      SendMessage(GetParent(combo), HasEdit(*w) ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                  reinterpret_cast<LPARAM>(combo));
      std::string text(GetWindowTextLength(combo), '\0');
      GetWindowText(combo, text.data(), static_cast<int>(text.size()) + 1);
      RECT rect;
      GetClientRect(combo, &rect);
      DrawText(dc, text.c_str(), -1, &rect, DT_SINGLELINE | DT_VCENTER);
      EndPaint(combo, &ps);
      return 0;
    }
    case WM_DESTROY:
      while (Count(d) > 0) DeleteItem(combo, *w, Count(d) - 1);
      return 0;
    default:
      return ControlDefault(combo, CB_GETEDITSEL, CB_FINDSTRINGEXACT + 8, message, wParam, lParam);
  }
}

}  // namespace

void ComboUserChoose(HWND combo, int index) {
  SetFocus(combo);
  if (!IsWindow(combo)) return;
  ShowDropDown(combo, true);
  Window* w = Find(combo);
  if (!w) return;
  SetSelection(*w, index);
  Notify(combo, CBN_SELCHANGE);
  if (!IsWindow(combo)) return;
  Notify(combo, CBN_SELENDOK);
  if (IsWindow(combo)) ShowDropDown(combo, false);
}

void RegisterComboBoxClass() { RegisterSystemClass("COMBOBOX", ComboProc); }

}  // namespace qwin::detail
