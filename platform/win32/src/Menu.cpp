// Windows stand-in: menus, system menus, TrackPopupMenu as a modal choice from the input queue,
// and message boxes answered from the input queue.
#include <algorithm>

#include "qplatform/InputQueue.h"
#include "qplatform/WindowSystem.h"
#include "win32/src/Internal.h"
#include "win32/src/ResourceFormat.h"

namespace qwin::detail {
namespace {

struct Item {
  UINT flags = 0;
  UINT id = 0;
  std::string text;
  HMENU popup = nullptr;
};

struct Menu {
  std::vector<Item> items;
};

struct State {
  std::map<HMENU, Menu> menus;
  uintptr_t next = 0x30000;
  std::string open;  // the popup menu being tracked, for snapshots
};

State& S() {
  static State s;
  return s;
}

Menu* FindMenu(HMENU menu) {
  auto it = S().menus.find(menu);
  return it == S().menus.end() ? nullptr : &it->second;
}

HMENU NewMenu() {
  HMENU handle = reinterpret_cast<HMENU>(S().next);
  S().next += 0x10;
  S().menus[handle];
  return handle;
}

// The item an operation names, by command or by position, searching submenus by command.
Item* Locate(HMENU menu, UINT position, UINT flags, Menu** owner = nullptr, size_t* index = nullptr) {
  Menu* m = FindMenu(menu);
  if (!m) return nullptr;
  if (flags & MF_BYPOSITION) {
    if (position >= m->items.size()) return nullptr;
    if (owner) *owner = m;
    if (index) *index = position;
    return &m->items[position];
  }
  for (size_t i = 0; i < m->items.size(); ++i) {
    Item& item = m->items[i];
    if (!(item.flags & MF_POPUP) && item.id == position) {
      if (owner) *owner = m;
      if (index) *index = i;
      return &item;
    }
    if (item.flags & MF_POPUP) {
      if (Item* found = Locate(item.popup, position, flags, owner, index)) return found;
    }
  }
  return nullptr;
}

Item MakeItem(UINT flags, UINT_PTR idOrPopup, LPCSTR text) {
  Item item;
  item.flags = flags & ~(MF_BYPOSITION | MF_CHANGE | MF_APPEND | MF_DELETE | MF_REMOVE);
  if (flags & MF_POPUP) {
    item.popup = reinterpret_cast<HMENU>(idOrPopup);
  } else {
    item.id = static_cast<UINT>(idOrPopup);
  }
  if (!(flags & (MF_SEPARATOR | MF_BITMAP | MF_OWNERDRAW)) && text) item.text = text;
  return item;
}

// "&Close\tAlt+F4" reads "Close" when a script names an item.
std::string Plain(const std::string& text) {
  std::string out;
  for (char c : text.substr(0, text.find('\t'))) {
    if (c != '&') out += c;
  }
  return out;
}

void DescribeItems(HMENU menu, std::vector<std::string>& out, const std::string& prefix) {
  Menu* m = FindMenu(menu);
  if (!m) return;
  for (const Item& item : m->items) {
    if (item.flags & MF_SEPARATOR) {
      out.push_back(prefix + "-");
      continue;
    }
    std::string line = prefix + item.text;
    if (!(item.flags & MF_POPUP)) line += "=" + std::to_string(item.id);
    if (item.flags & MF_GRAYED) line += " (grayed)";
    if (item.flags & MF_DISABLED) line += " (disabled)";
    if (item.flags & MF_CHECKED) line += " (checked)";
    out.push_back(line);
    if (item.flags & MF_POPUP) DescribeItems(item.popup, out, prefix + "  ");
  }
}

// The command a script's "menu" event names: an id or an item text, enabled and not a popup.
bool Choose(HMENU menu, const std::string& word, UINT& id) {
  Menu* m = FindMenu(menu);
  if (!m) return false;
  char* end = nullptr;
  long number = std::strtol(word.c_str(), &end, 10);
  bool byId = !word.empty() && *end == 0;
  for (const Item& item : m->items) {
    if (item.flags & MF_SEPARATOR) continue;
    if (item.flags & MF_POPUP) {
      if (Choose(item.popup, word, id)) return true;
      continue;
    }
    bool match = byId ? item.id == static_cast<UINT>(number) : EqualNoCase(Plain(item.text), word);
    if (match && !(item.flags & (MF_GRAYED | MF_DISABLED))) {
      id = item.id;
      return true;
    }
  }
  return false;
}

void LoadItems(HMENU menu, const std::vector<rc::MenuItem>& items) {
  for (const auto& item : items) {
    if (item.flags & MF_POPUP) {
      HMENU sub = CreatePopupMenu();
      LoadItems(sub, item.children);
      AppendMenu(menu, item.flags, reinterpret_cast<UINT_PTR>(sub), item.text.c_str());
    } else {
      AppendMenu(menu, item.flags, item.id, item.text.c_str());
    }
  }
}

bool IsEscape(const qhost::InputEvent& e) {
  return EqualNoCase(e.verb, "escape") ||
         (EqualNoCase(e.verb, "key") && !e.args.empty() && (EqualNoCase(e.args[0], "escape") || EqualNoCase(e.args[0], "esc")));
}

bool IsEnter(const qhost::InputEvent& e) {
  return EqualNoCase(e.verb, "enter") ||
         (EqualNoCase(e.verb, "key") && !e.args.empty() && (EqualNoCase(e.args[0], "enter") || EqualNoCase(e.args[0], "return")));
}

struct BoxButton {
  const char* word;
  int id;
};

std::vector<BoxButton> ButtonsOf(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {{"ok", IDOK}, {"cancel", IDCANCEL}};
    case MB_ABORTRETRYIGNORE: return {{"abort", IDABORT}, {"retry", IDRETRY}, {"ignore", IDIGNORE}};
    case MB_YESNOCANCEL: return {{"yes", IDYES}, {"no", IDNO}, {"cancel", IDCANCEL}};
    case MB_YESNO: return {{"yes", IDYES}, {"no", IDNO}};
    case MB_RETRYCANCEL: return {{"retry", IDRETRY}, {"cancel", IDCANCEL}};
    default: return {{"ok", IDOK}};
  }
}

HWND TopLevelOf(HWND window) {
  HWND h = window;
  while (h && (GetWindowLong(h, GWL_STYLE) & WS_CHILD)) h = GetParent(h);
  return h;
}

}  // namespace

std::string DescribeOpenMenu() { return S().open; }

HMENU CreateSystemMenu(HWND window) {
  Window* w = Find(window);
  HMENU menu = CreatePopupMenu();
  AppendMenu(menu, MF_STRING | MF_GRAYED, SC_RESTORE, "&Restore");
  AppendMenu(menu, MF_STRING, SC_MOVE, "&Move");
  if (w->style & WS_THICKFRAME) AppendMenu(menu, MF_STRING, SC_SIZE, "&Size");
  if (w->style & WS_MINIMIZEBOX) AppendMenu(menu, MF_STRING, SC_MINIMIZE, "Mi&nimize");
  if (w->style & WS_MAXIMIZEBOX) AppendMenu(menu, MF_STRING, SC_MAXIMIZE, "Ma&ximize");
  AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenu(menu, MF_STRING, SC_CLOSE, "&Close\tAlt+F4");
  return menu;
}

void ResetMenus() {
  S().menus.clear();
  S().open.clear();
}

}  // namespace qwin::detail

using namespace qwin::detail;

HMENU CreateMenu() { return NewMenu(); }
HMENU CreatePopupMenu() { return NewMenu(); }

BOOL DestroyMenu(HMENU menu) {
  Menu* m = FindMenu(menu);
  if (!m) return FALSE;
  std::vector<HMENU> popups;
  for (const Item& item : m->items) {
    if (item.flags & MF_POPUP) popups.push_back(item.popup);
  }
  S().menus.erase(menu);
  for (HMENU popup : popups) DestroyMenu(popup);
  return TRUE;
}

BOOL IsMenu(HMENU menu) { return FindMenu(menu) != nullptr; }

HMENU LoadMenu(HINSTANCE instance, LPCSTR name) {
  HRSRC resource = FindResource(instance, name, RT_MENU);
  if (!resource) return nullptr;
  std::vector<qwin::rc::MenuItem> items;
  auto* data = static_cast<const unsigned char*>(LockResource(LoadResource(instance, resource)));
  if (!qwin::rc::ReadMenu(data, SizeofResource(instance, resource), items)) return nullptr;
  HMENU menu = CreateMenu();
  LoadItems(menu, items);
  return menu;
}

BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR idOrPopup, LPCSTR text) {
  Menu* m = FindMenu(menu);
  if (!m) return FALSE;
  m->items.push_back(MakeItem(flags, idOrPopup, text));
  return TRUE;
}

BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idOrPopup, LPCSTR text) {
  Menu* owner = nullptr;
  size_t index = 0;
  if (!Locate(menu, position, flags, &owner, &index)) return AppendMenu(menu, flags, idOrPopup, text);
  owner->items.insert(owner->items.begin() + static_cast<long>(index), MakeItem(flags, idOrPopup, text));
  return TRUE;
}

BOOL ModifyMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idOrPopup, LPCSTR text) {
  Item* item = Locate(menu, position, flags);
  if (!item) return FALSE;
  *item = MakeItem(flags, idOrPopup, text);
  return TRUE;
}

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) {
  Menu* owner = nullptr;
  size_t index = 0;
  if (!Locate(menu, position, flags, &owner, &index)) return FALSE;
  owner->items.erase(owner->items.begin() + static_cast<long>(index));
  return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) {
  Item* item = Locate(menu, position, flags);
  if (!item) return FALSE;
  HMENU popup = (item->flags & MF_POPUP) ? item->popup : nullptr;
  RemoveMenu(menu, position, flags);
  if (popup) DestroyMenu(popup);
  return TRUE;
}

int GetMenuItemCount(HMENU menu) {
  Menu* m = FindMenu(menu);
  return m ? static_cast<int>(m->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
  Menu* m = FindMenu(menu);
  if (!m || position < 0 || static_cast<size_t>(position) >= m->items.size()) return static_cast<UINT>(-1);
  const Item& item = m->items[static_cast<size_t>(position)];
  return (item.flags & MF_POPUP) ? static_cast<UINT>(-1) : item.id;
}

UINT GetMenuState(HMENU menu, UINT position, UINT flags) {
  Item* item = Locate(menu, position, flags);
  return item ? item->flags : static_cast<UINT>(-1);
}

int GetMenuString(HMENU menu, UINT position, LPSTR text, int size, UINT flags) {
  Item* item = Locate(menu, position, flags);
  if (!item) return 0;
  if (!text || size <= 0) return static_cast<int>(item->text.size());
  lstrcpyn(text, item->text.c_str(), size);
  return lstrlen(text);
}

HMENU GetSubMenu(HMENU menu, int position) {
  Menu* m = FindMenu(menu);
  if (!m || position < 0 || static_cast<size_t>(position) >= m->items.size()) return nullptr;
  const Item& item = m->items[static_cast<size_t>(position)];
  return (item.flags & MF_POPUP) ? item.popup : nullptr;
}

UINT EnableMenuItem(HMENU menu, UINT position, UINT enable) {
  Item* item = Locate(menu, position, enable);
  if (!item) return static_cast<UINT>(-1);
  UINT old = item->flags & (MF_GRAYED | MF_DISABLED);
  item->flags = (item->flags & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
  return old;
}

DWORD CheckMenuItem(HMENU menu, UINT position, UINT check) {
  Item* item = Locate(menu, position, check);
  if (!item) return static_cast<DWORD>(-1);
  DWORD old = item->flags & MF_CHECKED;
  item->flags = (item->flags & ~MF_CHECKED) | (check & MF_CHECKED);
  return old;
}

HMENU GetSystemMenu(HWND window, BOOL revert) {
  Window* w = Find(window);
  if (!w || !(w->style & WS_SYSMENU)) return nullptr;
  if (revert) {
    if (w->systemMenu) DestroyMenu(w->systemMenu);
    w->systemMenu = nullptr;
    return nullptr;
  }
  if (!w->systemMenu) w->systemMenu = CreateSystemMenu(window);
  return w->systemMenu;
}

HMENU GetMenu(HWND) { return nullptr; }
BOOL SetMenu(HWND, HMENU) {
  Unimplemented("SetMenu (menu bars)");
  return FALSE;
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
  if (!FindMenu(menu) || !IsWindow(owner)) return FALSE;
  if (!(flags & TPM_NONOTIFY)) {
    SendMessage(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, FALSE));
  }
  std::vector<std::string> items;
  DescribeItems(menu, items, "");
  std::string saved = S().open;
  S().open = "menu at " + std::to_string(x) + "," + std::to_string(y) + ":";
  for (const auto& item : items) S().open += " " + Quote(item);

  UINT chosen = 0;
  bool ended = false;
  ModalWait wait;
  wait.name = "menu";
  wait.accept = [&](const qhost::InputEvent& e, std::string* error) {
    if (IsEscape(e)) {
      ended = true;
    } else if (EqualNoCase(e.verb, "menu")) {
      if (e.args.empty() || !Choose(menu, e.args[0], chosen)) {
        *error = "the menu has no enabled item " + Quote(e.args.empty() ? "" : e.args[0]);
      } else {
        ended = true;
      }
    } else {
      *error = "'" + e.verb + "' does not choose from a menu (menu <id or text>, or escape)";
    }
    return true;
  };
  wait.cancel = [&] { ended = true; };
  wait.ended = [&] { return ended; };
  RunModalWait(wait);
  S().open = saved;
  RecordMenu(owner, items, chosen);
  if (flags & TPM_RETURNCMD) return static_cast<BOOL>(chosen);
  if (chosen) {
    bool system = menu == GetSystemMenu(owner, FALSE);
    PostMessage(owner, system ? WM_SYSCOMMAND : WM_COMMAND, system ? chosen : MAKEWPARAM(chosen, 0), 0);
  }
  return TRUE;
}

int MessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  std::string title = caption ? caption : "Error";
  std::vector<BoxButton> buttons = ButtonsOf(type);
  size_t defaultIndex = std::min<size_t>((type & 0x0F00) >> 8, buttons.size() - 1);
  int escapeAnswer = 0;
  for (const auto& b : buttons) {
    if (b.id == IDCANCEL) escapeAnswer = IDCANCEL;
  }
  if (buttons.size() == 1) escapeAnswer = IDOK;

  std::string saved = S().open;
  S().open = "message box " + Quote(title) + ": " + Quote(text ? text : "") + " buttons:";
  for (const auto& b : buttons) S().open += std::string(" ") + b.word;
  HWND top = TopLevelOf(owner);
  bool disabled = top && IsWindowEnabled(top);
  if (disabled) EnableWindow(top, FALSE);
  int answer = 0;
  ModalWait wait;
  wait.name = "message box " + Quote(title);
  wait.accept = [&](const qhost::InputEvent& e, std::string* error) {
    if (IsEscape(e)) {
      if (escapeAnswer) answer = escapeAnswer;
    } else if (IsEnter(e)) {
      answer = buttons[defaultIndex].id;
    } else if (EqualNoCase(e.verb, "answer") && !e.args.empty()) {
      for (const auto& b : buttons) {
        if (EqualNoCase(e.args[0], b.word)) answer = b.id;
      }
      if (!answer) *error = "the message box has no button " + Quote(e.args[0]);
    } else {
      *error = "'" + e.verb + "' does not answer a message box (answer ok|cancel|yes|no|abort|retry|ignore)";
    }
    return true;
  };
  wait.cancel = [&] { answer = escapeAnswer; };
  wait.force = [&] { answer = escapeAnswer ? escapeAnswer : buttons.back().id; };
  wait.ended = [&] { return answer != 0; };
  RunModalWait(wait);
  S().open = saved;
  if (!answer) answer = escapeAnswer ? escapeAnswer : buttons.back().id;
  if (disabled && IsWindow(top)) EnableWindow(top, TRUE);
  RecordMessageBox(owner, text ? text : "", title, type, answer);
  return answer;
}
