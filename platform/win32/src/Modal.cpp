// Windows stand-in: modal waits over the host's input queue, and the user-interface events that
// front ends send to dialogs, menus and message boxes.
#include <algorithm>
#include <cstdlib>
#include <iostream>

#include "qplatform/InputQueue.h"
#include "qplatform/WindowSystem.h"
#include "win32/src/Internal.h"

namespace qwin::detail {
namespace {

struct State {
  std::vector<ModalWait*> waits;
  std::vector<std::string> errors;
};

State& S() {
  static State s;
  return s;
}

struct KeyName {
  const char* name;
  int vk;
};

const KeyName kKeys[] = {
    {"enter", VK_RETURN},   {"return", VK_RETURN}, {"escape", VK_ESCAPE}, {"esc", VK_ESCAPE},
    {"tab", VK_TAB},        {"backspace", VK_BACK}, {"delete", VK_DELETE}, {"del", VK_DELETE},
    {"insert", VK_INSERT},  {"home", VK_HOME},     {"end", VK_END},       {"left", VK_LEFT},
    {"right", VK_RIGHT},    {"up", VK_UP},         {"down", VK_DOWN},     {"pageup", VK_PRIOR},
    {"pagedown", VK_NEXT},  {"space", VK_SPACE},   {"capslock", VK_CAPITAL}, {"numlock", VK_NUMLOCK},
    {"scrolllock", VK_SCROLL}, {"shift", VK_SHIFT}, {"ctrl", VK_CONTROL}, {"control", VK_CONTROL},
    {"alt", VK_MENU},
};

int ParseKey(const std::string& word) {
  for (const auto& k : kKeys) {
    if (EqualNoCase(word, k.name)) return k.vk;
  }
  if (word.size() == 1) {
    char c = word[0];
    if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return c;
  }
  if ((word[0] == 'f' || word[0] == 'F') && word.size() <= 3) {
    int n = std::atoi(word.c_str() + 1);
    if (n >= 1 && n <= 12) return VK_F1 + n - 1;
  }
  return 0;
}

bool ParseInt(const std::string& text, long& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  value = std::strtol(text.c_str(), &end, 0);
  return *end == 0;
}

HWND FindDescendant(HWND parent, int id) {
  Window* w = Find(parent);
  if (!w) return nullptr;
  for (HWND child : w->children) {
    if (Find(child)->id == id) return child;
  }
  for (HWND child : w->children) {
    if (HWND found = FindDescendant(child, id)) return found;
  }
  return nullptr;
}

HWND FindNamedDescendant(HWND parent, const std::string& name) {
  Window* w = Find(parent);
  if (!w) return nullptr;
  for (HWND child : w->children) {
    if (EqualNoCase(Find(child)->symbol, name)) return child;
  }
  for (HWND child : w->children) {
    if (HWND found = FindNamedDescendant(child, name)) return found;
  }
  return nullptr;
}

// The windows whose controls an event may name: the waiting window, then the visible windows it
// owns (a modeless window over a dialog takes the user's input while the dialog waits, as on Windows).
std::vector<HWND> InputWindows(const ModalWait& wait) {
  std::vector<HWND> windows{wait.window};
  for (HWND top : TopLevelWindows()) {
    const Window* w = Find(top);
    if (w && w->owner == wait.window && IsWindowVisible(top)) windows.push_back(top);
  }
  return windows;
}

// The window an event names: a control id or a control's name inside the waiting window (or a
// window it owns), or "dialog" for the window itself.
HWND Target(const ModalWait& wait, const std::string& word, std::string* error) {
  if (EqualNoCase(word, "dialog")) return wait.window;
  long id = 0;
  const bool byId = ParseInt(word, id);
  for (HWND window : InputWindows(wait)) {
    HWND control = byId ? FindDescendant(window, static_cast<int>(id))
                        : word.empty() ? nullptr : FindNamedDescendant(window, word);
    if (control) return control;
  }
  *error = byId ? "no control " + word + " in " + wait.name
                : "'" + word + "' names no control of " + wait.name + " (a control id, a control name or \"dialog\")";
  return nullptr;
}

// The window that receives a click at `p` on `target`: disabled controls and statics that do not
// notify are transparent, so their parent receives the click.
HWND MouseTarget(HWND target, POINT& p) {
  for (;;) {
    Window* w = Find(target);
    bool child = (w->style & WS_CHILD) != 0;
    bool quietStatic = EqualNoCase(w->className, "STATIC") && !(w->style & SS_NOTIFY);
    if (!child || (IsWindowEnabled(target) && !quietStatic)) return target;
    RECT frame = FrameOf(w->style, w->exStyle);
    p.x += w->rect.left + frame.left;
    p.y += w->rect.top + frame.top;
    target = w->parent;
  }
}

void PostKeyStroke(HWND to, int vk, const std::vector<int>& modifiers) {
  bool alt = false;
  for (int m : modifiers) alt = alt || m == VK_MENU;
  UINT down = alt ? WM_SYSKEYDOWN : WM_KEYDOWN;
  UINT up = alt ? WM_SYSKEYUP : WM_KEYUP;
  for (int m : modifiers) PostKey(to, down, static_cast<WPARAM>(m), 1, m, true);
  PostKey(to, down, static_cast<WPARAM>(vk), 1, vk, true);
  PostKey(to, up, static_cast<WPARAM>(vk), static_cast<LPARAM>(0xC0000001), vk, false);
  for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it) {
    PostKey(to, up, static_cast<WPARAM>(*it), static_cast<LPARAM>(0xC0000001), *it, false);
  }
}

HWND KeyboardTarget(const ModalWait& wait) {
  HWND focus = GetFocus();
  return focus ? focus : wait.window;
}

void TypeText(HWND to, const std::string& text) {
  for (char c : text) {
    if (c == '\n') {
      PostKeyStroke(to, VK_RETURN, {});
    } else if (c == '\t') {
      PostKeyStroke(to, VK_TAB, {});
    } else {
      PostKey(to, WM_CHAR, static_cast<unsigned char>(c), 1, 0, false);
    }
  }
}

bool Need(const qhost::InputEvent& e, size_t count, const char* usage, std::string* error) {
  if (e.args.size() >= count) return true;
  *error = "'" + e.verb + "' needs " + usage;
  return false;
}

bool SetKeyboard(const qhost::InputEvent& e, std::string* error) {
  if (!Need(e, 2, "what and a value: keyboard caps|num|scroll on|off|down|up, keyboard layout 00000419", error)) {
    return false;
  }
  const std::string& what = e.args[0];
  const std::string& value = e.args[1];
  if (EqualNoCase(what, "layout")) {
    SetKeyboardLayoutName(value);
    return true;
  }
  int vk = EqualNoCase(what, "caps") ? VK_CAPITAL : EqualNoCase(what, "num") ? VK_NUMLOCK
         : EqualNoCase(what, "scroll") ? VK_SCROLL : ParseKey(what);
  if (!vk) {
    *error = "no key named '" + what + "'";
    return false;
  }
  if (EqualNoCase(value, "on") || EqualNoCase(value, "off")) {
    SetKeyToggled(vk, EqualNoCase(value, "on"));
  } else if (EqualNoCase(value, "down") || EqualNoCase(value, "up")) {
    SetKeyDown(vk, EqualNoCase(value, "down"));
  } else {
    *error = "a key state is on, off, down or up, not '" + value + "'";
    return false;
  }
  return true;
}

// The window and client point that a mouse event names: `<control> [x y]` (x y only when
// `positioned`), the middle of the control by default, passed on to the parent as Windows does.
bool MousePosition(const qhost::InputEvent& e, const ModalWait& wait, bool positioned, HWND& target, POINT& p,
                   std::string* error) {
  if (!Need(e, 1, "a control id or \"dialog\"", error)) return false;
  target = Target(wait, e.args[0], error);
  if (!target) return false;
  if (!IsWindowVisible(target)) {
    *error = "control " + e.args[0] + " is hidden";
    return false;
  }
  RECT client;
  GetClientRect(target, &client);
  p = POINT{client.right / 2, client.bottom / 2};
  if (positioned && e.args.size() >= 3) {
    long x = 0, y = 0;
    if (!ParseInt(e.args[1], x) || !ParseInt(e.args[2], y)) {
      *error = "a click position is two numbers";
      return false;
    }
    p = POINT{ClampCoordinate(x), ClampCoordinate(y)};
  }
  target = MouseTarget(target, p);
  return true;
}

// The enabled control an event names.
HWND EnabledTarget(const ModalWait& wait, const std::string& word, std::string* error) {
  HWND target = Target(wait, word, error);
  if (target && !IsWindowEnabled(target)) {
    *error = "control " + word + " is disabled";
    return nullptr;
  }
  return target;
}

// ---- Events for the windows of a waiting dialog, one handler each ----

bool Clipboard(const qhost::InputEvent& e, ModalWait&, std::string*) {
  if (e.args.empty()) {
    SetClipboardFormats({});
  } else {
    SetClipboardText(e.args[0]);
  }
  return true;
}

bool Keyboard(const qhost::InputEvent& e, ModalWait&, std::string* error) { return SetKeyboard(e, error); }

bool Click(const qhost::InputEvent& e, ModalWait& wait, std::string* error) {
  HWND target = nullptr;
  POINT p{0, 0};
  if (!MousePosition(e, wait, true, target, p, error)) return false;
  bool right = EqualNoCase(e.verb, "rclick");
  WPARAM button = right ? MK_RBUTTON : MK_LBUTTON;
  PostMouse(target, WM_MOUSEMOVE, 0, p);
  PostMouse(target, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, button, p);
  PostMouse(target, right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, p);
  if (EqualNoCase(e.verb, "dblclick")) {
    PostMouse(target, WM_LBUTTONDBLCLK, button, p);
    PostMouse(target, WM_LBUTTONUP, 0, p);
  }
  return true;
}

bool Hover(const qhost::InputEvent& e, ModalWait& wait, std::string* error) {
  HWND target = nullptr;
  POINT p{0, 0};
  if (!MousePosition(e, wait, false, target, p, error)) return false;
  PostMouse(target, WM_MOUSEMOVE, 0, p);
  return true;
}

bool Focus(const qhost::InputEvent& e, ModalWait& wait, std::string* error) {
  if (!Need(e, 1, "a control id", error)) return false;
  HWND target = EnabledTarget(wait, e.args[0], error);
  if (!target) return false;
  SetFocus(target);
  return true;
}

bool Type(const qhost::InputEvent& e, ModalWait& wait, std::string* error) {
  if (!Need(e, 1, "a text", error)) return false;
  TypeText(KeyboardTarget(wait), e.args[0]);
  return true;
}

// key <keys>, and enter and escape as their keys.
bool Key(const qhost::InputEvent& e, ModalWait& wait, std::string* error) {
  std::string keys = EqualNoCase(e.verb, "key") ? (e.args.empty() ? "" : e.args[0]) : e.verb;
  std::vector<int> modifiers;
  int vk = 0;
  size_t start = 0;
  while (start <= keys.size()) {
    size_t plus = keys.find('+', start + 1);
    if (plus == std::string::npos) plus = keys.size();
    std::string word = keys.substr(start, plus - start);
    int code = ParseKey(word);
    if (!code) {
      *error = "no key named '" + word + "'";
      return false;
    }
    if (plus < keys.size()) {
      modifiers.push_back(code);
    } else {
      vk = code;
    }
    start = plus + 1;
  }
  PostKeyStroke(KeyboardTarget(wait), vk, modifiers);
  return true;
}

// The enabled control that choose, edit and select name first, with the value after it.
HWND ControlWithValue(const qhost::InputEvent& e, ModalWait& wait, std::string* error) {
  if (!Need(e, 2, "a control id and a value", error)) return nullptr;
  return EnabledTarget(wait, e.args[0], error);
}

bool IsCombo(HWND window) { return EqualNoCase(Find(window)->className, "COMBOBOX"); }

bool Choose(const qhost::InputEvent& e, ModalWait& wait, std::string* error) {
  HWND target = ControlWithValue(e, wait, error);
  if (!target) return false;
  if (!IsCombo(target)) {
    *error = "control " + e.args[0] + " is not a combo box";
    return false;
  }
  const std::string& item = e.args[1];
  long index = -1;
  if (item.size() > 1 && item[0] == '#' && ParseInt(item.substr(1), index)) {
    if (index >= SendMessage(target, CB_GETCOUNT, 0, 0)) index = -1;
  } else {
    index = static_cast<long>(SendMessage(target, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                          reinterpret_cast<LPARAM>(item.c_str())));
  }
  if (index < 0) {
    *error = "combo box " + e.args[0] + " has no item " + Quote(item);
    return false;
  }
  ComboUserChoose(target, static_cast<int>(index));
  return true;
}

bool Edit(const qhost::InputEvent& e, ModalWait& wait, std::string* error) {
  HWND target = ControlWithValue(e, wait, error);
  if (!target) return false;
  bool combo = IsCombo(target);
  SetFocus(target);
  SendMessage(target, combo ? CB_SETEDITSEL : EM_SETSEL, 0, combo ? MAKELPARAM(0, 0xFFFF) : -1);
  if (e.args[1].empty()) {
    PostKeyStroke(target, VK_DELETE, {});
  } else {
    TypeText(target, e.args[1]);
  }
  return true;
}

bool Select(const qhost::InputEvent& e, ModalWait& wait, std::string* error) {
  HWND target = ControlWithValue(e, wait, error);
  if (!target) return false;
  long from = 0, to = 0;
  if (e.args.size() < 3 || !ParseInt(e.args[1], from) || !ParseInt(e.args[2], to)) {
    *error = "'select' needs a control id and two character positions";
    return false;
  }
  SendMessage(target, EM_SETSEL, static_cast<WPARAM>(from), to);
  return true;
}

bool Resize(const qhost::InputEvent& e, ModalWait& wait, std::string* error) {
  long width = 0, height = 0;
  if (e.args.size() < 2 || !ParseInt(e.args[0], width) || !ParseInt(e.args[1], height)) {
    *error = "'resize' needs a width and a height in pixels";
    return false;
  }
  width = ClampSize(width);
  height = ClampSize(height);
  MINMAXINFO info{};
  SendMessage(wait.window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  width = std::max<long>(width, info.ptMinTrackSize.x);
  height = std::max<long>(height, info.ptMinTrackSize.y);
  if (info.ptMaxTrackSize.x) width = std::min<long>(width, info.ptMaxTrackSize.x);
  if (info.ptMaxTrackSize.y) height = std::min<long>(height, info.ptMaxTrackSize.y);
  SetWindowPos(wait.window, nullptr, 0, 0, static_cast<int>(width), static_cast<int>(height),
               SWP_NOMOVE | SWP_NOZORDER);
  return true;
}

// minimize, restore and close: the caption buttons.
bool CaptionButton(const qhost::InputEvent& e, ModalWait& wait, std::string*) {
  UINT command = EqualNoCase(e.verb, "minimize") ? SC_MINIMIZE : EqualNoCase(e.verb, "restore") ? SC_RESTORE : SC_CLOSE;
  PostMessage(wait.window, WM_SYSCOMMAND, command, 0);
  return true;
}

bool SysCommand(const qhost::InputEvent& e, ModalWait& wait, std::string* error) {
  if (!Need(e, 1, "a command id or close, minimize, restore", error)) return false;
  long command = 0;
  const std::string& word = e.args[0];
  if (EqualNoCase(word, "close")) {
    command = SC_CLOSE;
  } else if (EqualNoCase(word, "minimize")) {
    command = SC_MINIMIZE;
  } else if (EqualNoCase(word, "restore")) {
    command = SC_RESTORE;
  } else if (!ParseInt(word, command)) {
    *error = "'" + word + "' is no system command";
    return false;
  }
  PostMessage(wait.window, WM_SYSCOMMAND, static_cast<WPARAM>(command), 0);
  return true;
}

struct WindowEvent {
  const char* verb;
  bool needsWindow;  // goes to the waiting dialog's windows (the machine's events do not)
  bool (*apply)(const qhost::InputEvent&, ModalWait&, std::string*);
};
// The verbs any ModalWait applies to its windows, any case.
const WindowEvent kWindowEvents[] = {
    {"clipboard", false, Clipboard}, {"keyboard", false, Keyboard},
    {"click", true, Click},          {"rclick", true, Click},       {"dblclick", true, Click},
    {"hover", true, Hover},          {"focus", true, Focus},        {"type", true, Type},
    {"key", true, Key},              {"enter", true, Key},          {"escape", true, Key},
    {"choose", true, Choose},        {"edit", true, Edit},          {"select", true, Select},
    {"resize", true, Resize},        {"minimize", true, CaptionButton}, {"restore", true, CaptionButton},
    {"close", true, CaptionButton},  {"syscommand", true, SysCommand},
};

// Events for the windows of a waiting dialog.
bool ApplyWindowEvent(const qhost::InputEvent& e, ModalWait& wait, std::string* error) {
  const WindowEvent* event = nullptr;
  for (const WindowEvent& candidate : kWindowEvents)
    if (EqualNoCase(e.verb, candidate.verb)) event = &candidate;
  if (event && !event->needsWindow) return event->apply(e, wait, error);
  if (!wait.window) {
    *error = "'" + e.verb + "' has no window to go to while waiting for " + wait.name;
    return false;
  }
  if (!event) {
    *error = "'" + e.verb + "' is not a user-interface event";
    return false;
  }
  return event->apply(e, wait, error);
}

bool Apply(const qhost::InputEvent& e, ModalWait& wait, std::string* error) {
  if (wait.accept && wait.accept(e, error)) return error->empty();
  if (!error->empty()) return false;
  return ApplyWindowEvent(e, wait, error);
}

void RecordError(const qhost::InputEvent& e, const ModalWait* wait, const std::string& error) {
  std::string line = (e.origin.empty() ? std::string("input") : e.origin) + ": " + error;
  if (wait) line += " (waiting for " + wait->name + ")";
  S().errors.push_back(line);
  qhost::InputQueue::Instance().RecordFailure(line);
  std::cerr << line << "\n";
}

struct WaitScope {
  explicit WaitScope(ModalWait* wait) { S().waits.push_back(wait); }
  ~WaitScope() { S().waits.pop_back(); }
};

}  // namespace

bool NextMessage(MSG& msg) {
  for (;;) {
    if (TakePosted(msg, true)) return true;
    if (S().waits.empty()) return false;
    if (HWND dirty = TakeDirtyWindow()) {
      msg = MSG{dirty, WM_PAINT, 0, 0, GetTickCount(), POINT{0, 0}};
      return true;
    }
    ModalWait& wait = *S().waits.back();
    if (wait.ended && wait.ended()) return false;
    std::optional<qhost::InputEvent> event = qhost::InputQueue::Instance().Next(wait.name);
    BeginInputRound();
    if (!event) {
      // Ran out: cancel as Escape would; if the wait survives that, end it by force; never read again.
      ++wait.cancels;
      if (wait.cancels == 1) {
        std::cerr << "qplatform: input ran out while waiting for " << wait.name << "; cancelled\n";
        if (wait.cancel) wait.cancel();
      } else if (wait.force) {
        wait.force();
      }
      if (wait.cancels > 2) return TakePosted(msg, true);
      continue;
    }
    std::string error;
    if (!Apply(*event, wait, &error)) RecordError(*event, &wait, error);
  }
}

void RunModalWait(ModalWait& wait, const std::function<void(MSG&)>& pump) {
  WaitScope scope(&wait);
  while (!wait.ended()) {
    MSG msg;
    if (!NextMessage(msg) || msg.message == WM_QUIT) {
      if (!wait.ended() && wait.force) wait.force();
      break;
    }
    if (pump) {
      pump(msg);
    } else {
      TranslateMessage(&msg);
      DispatchMessage(&msg);
    }
  }
}

}  // namespace qwin::detail

namespace qwin {

using namespace detail;

bool ApplyInputEvent(const qhost::InputEvent& event, std::string* error) {
  std::string local;
  std::string* err = error ? error : &local;
  err->clear();
  if (S().waits.empty()) {
    *err = "no dialog, menu or message box is waiting for '" + event.verb + "'";
    RecordError(event, nullptr, *err);
    return false;
  }
  if (Apply(event, *S().waits.back(), err)) return true;
  RecordError(event, S().waits.back(), *err);
  return false;
}

std::vector<std::string> WindowEventVerbs() {
  std::vector<std::string> verbs;
  for (const WindowEvent& event : kWindowEvents) verbs.push_back(event.verb);
  return verbs;
}

const std::vector<std::string>& InputErrors() { return S().errors; }

std::string CurrentWait() { return S().waits.empty() ? std::string() : S().waits.back()->name; }

}  // namespace qwin

void qwin::detail::ResetInputErrors() { S().errors.clear(); }
