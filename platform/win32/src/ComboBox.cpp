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

// One message to a combo box, as its handlers see it.
struct ComboCall {
  HWND combo;
  Window& w;
  ComboData& d;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  int Index() const { return static_cast<int>(wParam); }  // the item a CB_ message names
  bool ValidIndex() const { return Index() >= 0 && Index() < Count(d); }
};

LRESULT OnCreate(ComboCall& c) {
  c.d.droppedHeight = c.w.rect.bottom - c.w.rect.top;
  Measure(c.combo, c.w);
  return 0;
}

LRESULT OnSetFont(ComboCall& c) {
  c.w.font = reinterpret_cast<HFONT>(c.wParam);
  if (!OwnerDrawn(c.w)) Measure(c.combo, c.w);
  return 0;
}

LRESULT OnGetDlgCode(ComboCall& c) {
  // An open list takes Enter and Escape itself (choose, close), as the real control does;
  // only a closed one leaves them to the dialog.
  const auto* msg = reinterpret_cast<const MSG*>(c.lParam);
  const bool listKey = msg && msg->message == WM_KEYDOWN && (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE);
  return DLGC_WANTCHARS | DLGC_WANTARROWS | (HasEdit(c.w) ? DLGC_HASSETSEL : 0u) |
         (listKey && c.d.dropped ? DLGC_WANTMESSAGE : 0u);
}

LRESULT OnAddString(ComboCall& c) { return Insert(c.w, -1, c.lParam); }

LRESULT OnInsertString(ComboCall& c) { return Insert(c.w, c.Index() < 0 ? Count(c.d) : c.Index(), c.lParam); }

LRESULT OnDeleteString(ComboCall& c) {
  if (!c.ValidIndex()) return CB_ERR;
  DeleteItem(c.combo, c.w, c.Index());
  return Count(c.d);
}

LRESULT OnResetContent(ComboCall& c) {
  while (Count(c.d) > 0) DeleteItem(c.combo, c.w, Count(c.d) - 1);
  SetSelection(c.w, -1);
  return CB_OKAY;
}

LRESULT OnGetCount(ComboCall& c) { return Count(c.d); }

LRESULT OnGetCurSel(ComboCall& c) { return c.d.selection; }

LRESULT OnSetCurSel(ComboCall& c) {
  int index = c.ValidIndex() ? c.Index() : -1;
  SetSelection(c.w, index);
  return index < 0 ? CB_ERR : index;
}

LRESULT OnGetLbText(ComboCall& c) {
  if (!c.ValidIndex() || !c.lParam) return CB_ERR;
  const std::string& text = c.d.items[static_cast<size_t>(c.Index())].text;
  std::copy(text.begin(), text.end(), reinterpret_cast<char*>(c.lParam));
  reinterpret_cast<char*>(c.lParam)[text.size()] = 0;
  return static_cast<LRESULT>(text.size());
}

LRESULT OnGetLbTextLen(ComboCall& c) {
  return c.ValidIndex() ? static_cast<LRESULT>(c.d.items[static_cast<size_t>(c.Index())].text.size()) : CB_ERR;
}

// CB_FINDSTRING and CB_FINDSTRINGEXACT.
LRESULT OnFindString(ComboCall& c) {
  return c.lParam ? FindItem(c.d, c.Index(), reinterpret_cast<LPCSTR>(c.lParam), c.message == CB_FINDSTRINGEXACT)
                  : CB_ERR;
}

LRESULT OnSelectString(ComboCall& c) {
  int index = c.lParam ? FindItem(c.d, c.Index(), reinterpret_cast<LPCSTR>(c.lParam), false) : CB_ERR;
  if (index >= 0) SetSelection(c.w, index);
  return index;
}

LRESULT OnGetItemData(ComboCall& c) {
  return c.ValidIndex() ? static_cast<LRESULT>(c.d.items[static_cast<size_t>(c.Index())].data) : CB_ERR;
}

LRESULT OnSetItemData(ComboCall& c) {
  if (!c.ValidIndex()) return CB_ERR;
  c.d.items[static_cast<size_t>(c.Index())].data = static_cast<ULONG_PTR>(c.lParam);
  return TRUE;
}

LRESULT OnSetItemHeight(ComboCall& c) {
  (c.Index() < 0 ? c.d.editHeight : c.d.itemHeight) = static_cast<int>(c.lParam);
  return CB_OKAY;
}

LRESULT OnGetItemHeight(ComboCall& c) { return c.Index() < 0 ? c.d.editHeight : c.d.itemHeight; }

LRESULT OnShowDropDown(ComboCall& c) {
  ShowDropDown(c.combo, c.wParam != 0);
  return TRUE;
}

LRESULT OnGetDroppedState(ComboCall& c) { return c.d.dropped; }

LRESULT OnGetDroppedControlRect(ComboCall& c) {
  if (c.lParam) {
    auto* rect = reinterpret_cast<LPRECT>(c.lParam);
    GetWindowRect(c.combo, rect);
    rect->bottom = rect->top + c.d.droppedHeight;
  }
  return CB_OKAY;
}

LRESULT OnLimitText(ComboCall& c) {
  c.d.limit = static_cast<int>(c.wParam);
  return TRUE;
}

LRESULT OnGetEditSel(ComboCall& c) {
  if (c.wParam) *reinterpret_cast<DWORD*>(c.wParam) = c.d.editStart;
  if (c.lParam) *reinterpret_cast<DWORD*>(c.lParam) = c.d.editEnd;
  return MAKELRESULT(c.d.editStart, c.d.editEnd);
}

LRESULT OnSetEditSel(ComboCall& c) {
  if (!HasEdit(c.w)) return CB_ERR;
  int start = static_cast<short>(LOWORD(c.lParam));
  int end = static_cast<short>(HIWORD(c.lParam));
  DWORD size = static_cast<DWORD>(c.d.edit.size());
  c.d.editStart = start < 0 ? size : std::min<DWORD>(static_cast<DWORD>(start), size);
  c.d.editEnd = end < 0 ? size : std::min<DWORD>(static_cast<DWORD>(end), size);
  return TRUE;
}

LRESULT OnSetExtendedUi(ComboCall& c) {
  c.d.extendedUi = c.wParam != 0;
  return CB_OKAY;
}

LRESULT OnGetExtendedUi(ComboCall& c) { return c.d.extendedUi; }

LRESULT OnSetText(ComboCall& c) {
  std::string text = c.lParam ? reinterpret_cast<LPCSTR>(c.lParam) : "";
  int index = FindItem(c.d, -1, text, true);
  if (!HasEdit(c.w)) {
    if (index < 0) return CB_ERR;
    SetSelection(c.w, index);
    return TRUE;
  }
  c.d.edit = text;
  c.d.selection = index;
  c.d.editStart = c.d.editEnd = 0;
  return TRUE;
}

// WM_GETTEXT and WM_GETTEXTLENGTH.
LRESULT OnGetText(ComboCall& c) {
  std::string text = HasEdit(c.w) ? c.d.edit : c.d.selection >= 0 ? c.d.items[static_cast<size_t>(c.d.selection)].text : "";
  if (c.message == WM_GETTEXTLENGTH) return static_cast<LRESULT>(text.size());
  if (!c.wParam || !c.lParam) return 0;
  lstrcpyn(reinterpret_cast<LPSTR>(c.lParam), text.c_str(), static_cast<int>(c.wParam));
  return lstrlen(reinterpret_cast<LPSTR>(c.lParam));
}

LRESULT OnChar(ComboCall& c) {
  if (HasEdit(c.w)) {
    EditKey(c.combo, c.w, static_cast<int>(static_cast<signed char>(c.wParam)), 0);
  } else if (c.wParam >= 0x20) {
    std::string prefix(1, static_cast<char>(c.wParam));
    int index = FindItem(c.d, c.d.selection, prefix, false);
    if (index >= 0 && index != c.d.selection) {
      SetSelection(c.w, index);
      Notify(c.combo, CBN_SELCHANGE);
    }
  }
  return 0;
}

LRESULT OnKeyDown(ComboCall& c) {
  ComboData& d = c.d;
  switch (c.wParam) {
    case VK_DELETE:
      if (HasEdit(c.w)) EditKey(c.combo, c.w, 0, VK_DELETE);
      return 0;
    case VK_F4:
      ShowDropDown(c.combo, !d.dropped);
      return 0;
    case VK_UP:
    case VK_DOWN: {
      int index = d.selection + (c.wParam == VK_DOWN ? 1 : -1);
      if (d.selection < 0) index = 0;
      if (index >= 0 && index < Count(d) && index != d.selection) {
        SetSelection(c.w, index);
        Notify(c.combo, CBN_SELCHANGE);
      }
      return 0;
    }
    case VK_HOME:
    case VK_END:
    case VK_LEFT:
    case VK_RIGHT: {
      if (!HasEdit(c.w)) return 0;
      DWORD size = static_cast<DWORD>(d.edit.size());
      DWORD caret = d.editEnd;
      if (c.wParam == VK_HOME) caret = 0;
      if (c.wParam == VK_END) caret = size;
      if (c.wParam == VK_LEFT && caret > 0) --caret;
      if (c.wParam == VK_RIGHT && caret < size) ++caret;
      d.editEnd = caret;
      if (GetKeyState(VK_SHIFT) >= 0) d.editStart = caret;
      return 0;
    }
    case VK_RETURN:
    case VK_ESCAPE:
      if (d.dropped) {
        Notify(c.combo, c.wParam == VK_RETURN ? CBN_SELENDOK : CBN_SELENDCANCEL);
        ShowDropDown(c.combo, false);
      }
      return 0;
    default:
      return 0;
  }
}

LRESULT OnLButtonDown(ComboCall& c) {
  SetFocus(c.combo);
  ShowDropDown(c.combo, !c.d.dropped);
  return 0;
}

LRESULT OnSetFocus(ComboCall& c) {
  if (HasEdit(c.w)) {
    c.d.editStart = 0;
    c.d.editEnd = static_cast<DWORD>(c.d.edit.size());
  }
  Notify(c.combo, CBN_SETFOCUS);
  return 0;
}

LRESULT OnKillFocus(ComboCall& c) {
  if (c.d.dropped) {
    Notify(c.combo, CBN_SELENDCANCEL);
    ShowDropDown(c.combo, false);
  }
  Notify(c.combo, CBN_KILLFOCUS);
  return 0;
}

LRESULT OnPaint(ComboCall& c) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(c.combo, &ps);
  if (OwnerDrawn(c.w)) {
    EndPaint(c.combo, &ps);
    DrawItem(c.combo, c.w, c.d.selection, ODS_COMBOBOXEDIT | (GetFocus() == c.combo ? ODS_FOCUS | ODS_SELECTED : 0u));
    return 0;
  }
  SendMessage(GetParent(c.combo), HasEdit(c.w) ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
              reinterpret_cast<LPARAM>(c.combo));
  std::string text(GetWindowTextLength(c.combo), '\0');
  GetWindowText(c.combo, text.data(), static_cast<int>(text.size()) + 1);
  RECT rect;
  GetClientRect(c.combo, &rect);
  DrawText(dc, text.c_str(), -1, &rect, DT_SINGLELINE | DT_VCENTER);
  EndPaint(c.combo, &ps);
  return 0;
}

LRESULT OnDestroy(ComboCall& c) {
  while (Count(c.d) > 0) DeleteItem(c.combo, c.w, Count(c.d) - 1);
  return 0;
}

const HandlerTable<ComboCall>& ComboHandlers() {
  static const HandlerTable<ComboCall> handlers = {
      {WM_CREATE, OnCreate},
      {WM_SETFONT, OnSetFont},
      {WM_GETDLGCODE, OnGetDlgCode},
      {CB_ADDSTRING, OnAddString},
      {CB_INSERTSTRING, OnInsertString},
      {CB_DELETESTRING, OnDeleteString},
      {CB_RESETCONTENT, OnResetContent},
      {CB_GETCOUNT, OnGetCount},
      {CB_GETCURSEL, OnGetCurSel},
      {CB_SETCURSEL, OnSetCurSel},
      {CB_GETLBTEXT, OnGetLbText},
      {CB_GETLBTEXTLEN, OnGetLbTextLen},
      {CB_FINDSTRING, OnFindString},
      {CB_FINDSTRINGEXACT, OnFindString},
      {CB_SELECTSTRING, OnSelectString},
      {CB_GETITEMDATA, OnGetItemData},
      {CB_SETITEMDATA, OnSetItemData},
      {CB_SETITEMHEIGHT, OnSetItemHeight},
      {CB_GETITEMHEIGHT, OnGetItemHeight},
      {CB_SHOWDROPDOWN, OnShowDropDown},
      {CB_GETDROPPEDSTATE, OnGetDroppedState},
      {CB_GETDROPPEDCONTROLRECT, OnGetDroppedControlRect},
      {CB_LIMITTEXT, OnLimitText},
      {CB_GETEDITSEL, OnGetEditSel},
      {CB_SETEDITSEL, OnSetEditSel},
      {CB_SETEXTENDEDUI, OnSetExtendedUi},
      {CB_GETEXTENDEDUI, OnGetExtendedUi},
      {WM_SETTEXT, OnSetText},
      {WM_GETTEXT, OnGetText},
      {WM_GETTEXTLENGTH, OnGetText},
      {WM_CHAR, OnChar},
      {WM_KEYDOWN, OnKeyDown},
      {WM_LBUTTONDOWN, OnLButtonDown},
      {WM_SETFOCUS, OnSetFocus},
      {WM_KILLFOCUS, OnKillFocus},
      {WM_PAINT, OnPaint},
      {WM_DESTROY, OnDestroy},
  };
  return handlers;
}

LRESULT CALLBACK ComboProc(HWND combo, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(combo);
  ComboCall call{combo, *w, DataOf<ComboData>(*w), message, wParam, lParam};
  LRESULT result = 0;
  if (Dispatch(ComboHandlers(), message, call, result)) return result;
  return ControlDefault(combo, CB_GETEDITSEL, CB_FINDSTRINGEXACT + 8, message, wParam, lParam);
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
