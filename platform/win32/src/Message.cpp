// Windows stand-in: sending, posting and dispatching messages, the posted queue, hooks, message names
// and the recording of what windows receive.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <deque>
#include <iostream>
#include <set>

#include "qplatform/WindowSystem.h"
#include "win32/src/Internal.h"

namespace qwin::detail {
namespace {

struct NameEntry {
  const char* classes;
  const char* name;
  UINT value;
};

const std::vector<NameEntry>& Messages() {
  static const std::vector<NameEntry> list = {
#define QMSG(cls, name, value) {cls, #name, value},
#define QNOTE(cls, name, value)
#include "winmsgs.def"
#undef QNOTE
#undef QMSG
  };
  return list;
}

const std::vector<NameEntry>& Notes() {
  static const std::vector<NameEntry> list = {
#define QMSG(cls, name, value)
#define QNOTE(cls, name, value) {cls, #name, value},
#include "winmsgs.def"
#undef QNOTE
#undef QMSG
  };
  return list;
}

bool ClassListHas(const char* classes, const std::string& cls) {
  std::string list = classes;
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find(' ', start);
    if (end == std::string::npos) end = list.size();
    if (EqualNoCase(list.substr(start, end - start), cls)) return true;
    start = end + 1;
  }
  return false;
}

const char* Lookup(const std::vector<NameEntry>& list, const std::string& cls, UINT value, bool anyClass) {
  for (const auto& e : list) {
    if (e.value == value && *e.classes && ClassListHas(e.classes, cls)) return e.name;
  }
  for (const auto& e : list) {
    if (e.value == value && (!*e.classes || anyClass)) return e.name;
  }
  return nullptr;
}

struct Posted {
  MSG msg;
  int stateKey;  // 0, or a virtual key whose state changes when the message is taken out
  bool down;
};

struct State {
  std::deque<Posted> posted;
  std::multimap<HWND, MessageRecorder*> recorders;
  std::vector<HOOKPROC> cbtHooks;
  std::set<std::string> unimplementedSeen;
  std::vector<std::string> unimplemented;
  MSG current{};
  int sendDepth = 0;
};

State& S() {
  static State s;
  return s;
}

std::string ClassOf(HWND window) {
  Window* w = Find(window);
  return w ? w->className : std::string();
}

std::string Describe(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  std::string cls = ClassOf(window);
  std::string name = MessageName(cls, message);
  switch (message) {
    case WM_COMMAND: {
      HWND from = reinterpret_cast<HWND>(lParam);
      std::string text = name + " " + std::to_string(LOWORD(wParam));
      if (from) text += " " + NotificationName(ClassOf(from), HIWORD(wParam));
      return text;
    }
    case WM_NOTIFY: {
      auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
      return name + " " + std::to_string(hdr->idFrom) + " " + NotificationName(ClassOf(hdr->hwndFrom), hdr->code);
    }
    case WM_CHAR:
    case WM_SYSCHAR: {
      char buffer[16];
      unsigned c = static_cast<unsigned>(wParam & 0xFF);
      if (c >= 0x20 && c < 0x7F && c != '\'') {
        std::snprintf(buffer, sizeof buffer, "'%c'", static_cast<char>(c));
      } else {
        std::snprintf(buffer, sizeof buffer, "0x%02x", c);
      }
      return name + " " + buffer;
    }
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_SYSCOMMAND:
      return name + " " + Hex(wParam);
    case WM_SIZE:
      return name + " " + std::to_string(wParam) + " " + std::to_string(LOWORD(lParam)) + "x" +
             std::to_string(HIWORD(lParam));
    case WM_SHOWWINDOW:
    case WM_ENABLE:
      return name + " " + std::to_string(wParam);
    case WM_DRAWITEM: {
      auto* di = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      return name + " " + std::to_string(di->CtlID) + " item=" + std::to_string(static_cast<int>(di->itemID));
    }
    case WM_MEASUREITEM: {
      auto* mi = reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam);
      return name + " " + std::to_string(mi->CtlID);
    }
    default:
      return IsCtlColor(message) ? name + " " + Label(reinterpret_cast<HWND>(lParam)) : name;
  }
}

}  // namespace

LRESULT Deliver(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(window);
  if (!w || !w->proc) return 0;
  auto range = S().recorders.equal_range(window);
  for (auto it = range.first; it != range.second; ++it) it->second->Add(Describe(window, message, wParam, lParam));
  ++S().sendDepth;
  LRESULT result = w->proc(window, message, wParam, lParam);
  --S().sendDepth;
  return result;
}

LRESULT RunCbtHooks(int code, WPARAM wParam, LPARAM lParam) {
  for (auto it = S().cbtHooks.rbegin(); it != S().cbtHooks.rend(); ++it) {
    if (LRESULT r = (*it)(code, wParam, lParam)) return r;
  }
  return 0;
}

void PostKey(HWND window, UINT message, WPARAM wParam, LPARAM lParam, int stateKey, bool down) {
  S().posted.push_back(Posted{MSG{window, message, wParam, lParam, GetTickCount(), POINT{0, 0}}, stateKey, down});
}

void PostMouse(HWND window, UINT message, WPARAM wParam, POINT client) {
  POINT screen = client;
  ClientToScreen(window, &screen);
  S().posted.push_back(
      Posted{MSG{window, message, wParam, MAKELPARAM(client.x, client.y), GetTickCount(), screen}, 0, false});
}

void PostFront(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  S().posted.push_front(Posted{MSG{window, message, wParam, lParam, GetTickCount(), POINT{0, 0}}, 0, false});
}

bool TakePosted(MSG& msg, bool remove) {
  if (S().posted.empty()) return false;
  Posted p = S().posted.front();
  if (remove) {
    S().posted.pop_front();
    if (p.stateKey) ApplyKeyState(p.stateKey, p.down);
    S().current = p.msg;
  }
  msg = p.msg;
  return true;
}

void ClearPostedMessages() { S().posted.clear(); }

void ResetMessages() {
  S().posted.clear();
  S().current = MSG{};
}

void Unimplemented(const std::string& what) {
  if (!S().unimplementedSeen.insert(what).second) return;
  S().unimplemented.push_back(what);
  std::cerr << "qplatform: not implemented: " << what << "\n";
}

std::string Quote(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    unsigned char u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (u < 0x20) {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\x%02x", u);
      out += buffer;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string Lower(std::string text) {
  for (auto& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string Upper(std::string text) {
  for (auto& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

bool EqualNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

std::string Hex(unsigned long value) {
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, "0x%lx", value);
  return buffer;
}

LRESULT ControlDefault(HWND window, UINT first, UINT last, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= first && message <= last) {
    Window* w = Find(window);
    std::string cls = w ? w->className : std::string();
    Unimplemented(cls + " " + MessageName(cls, message));
    return 0;
  }
  return DefWindowProc(window, message, wParam, lParam);
}

}  // namespace qwin::detail

namespace qwin {

using namespace detail;

std::string MessageName(const std::string& className, UINT message) {
  if (message >= WM_REFLECT_BASE && message < WM_REFLECT_BASE + WM_USER) {
    return "WM_REFLECT_BASE+" + MessageName(className, message - WM_REFLECT_BASE);
  }
  if (const char* name = Lookup(Messages(), className, message, false)) return name;
  if (message >= WM_USER && message < 0x8000) return "WM_USER+" + std::to_string(message - WM_USER);
  return Hex(message);
}

std::string NotificationName(const std::string& className, UINT code) {
  if (const char* name = Lookup(Notes(), className, code, false)) return name;
  return Hex(code);
}

MessageRecorder::MessageRecorder(HWND window) : m_window(window) { S().recorders.emplace(window, this); }

MessageRecorder::~MessageRecorder() {
  auto range = S().recorders.equal_range(m_window);
  for (auto it = range.first; it != range.second; ++it) {
    if (it->second == this) {
      S().recorders.erase(it);
      break;
    }
  }
}

std::vector<std::string> MessageRecorder::Entries(const std::vector<std::string>& only) const {
  if (only.empty()) return m_entries;
  std::vector<std::string> out;
  for (const auto& e : m_entries) {
    std::string name = e.substr(0, e.find(' '));
    if (std::find(only.begin(), only.end(), name) != only.end()) out.push_back(e);
  }
  return out;
}

const std::vector<std::string>& Unimplemented() { return S().unimplemented; }

void PumpPostedMessages() {
  MSG msg;
  while (TakePosted(msg, true)) {
    if (msg.message == WM_QUIT) continue;
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
}

}  // namespace qwin

using namespace qwin::detail;

LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return Deliver(window, message, wParam, lParam);
}

BOOL PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (window && !IsWindow(window)) return FALSE;
  PostKey(window, message, wParam, lParam, 0, false);
  return TRUE;
}

void PostQuitMessage(int exitCode) { PostKey(nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0, 0, false); }

BOOL GetMessage(LPMSG msg, HWND, UINT, UINT) {
  if (!NextMessage(*msg)) {
    *msg = MSG{nullptr, WM_QUIT, 0, 0, 0, POINT{0, 0}};
    return FALSE;
  }
  return msg->message != WM_QUIT;
}

BOOL PeekMessage(LPMSG msg, HWND, UINT, UINT, UINT removeFlags) {
  return TakePosted(*msg, (removeFlags & PM_REMOVE) != 0);
}

LRESULT DispatchMessage(const MSG* msg) {
  if (!msg || !msg->hwnd) return 0;
  // Mouse input first asks the window under the mouse for its cursor.
  if (msg->message >= WM_MOUSEMOVE && msg->message <= WM_RBUTTONDBLCLK && IsWindow(msg->hwnd)) {
    Deliver(msg->hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(msg->hwnd), MAKELPARAM(HTCLIENT, msg->message));
  }
  return Deliver(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

BOOL TranslateMessage(const MSG* msg) {
  if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return FALSE;
  int vk = static_cast<int>(msg->wParam);
  bool shift = GetKeyState(VK_SHIFT) < 0;
  bool ctrl = GetKeyState(VK_CONTROL) < 0;
  bool caps = (GetKeyState(VK_CAPITAL) & 1) != 0;
  int ch = 0;
  if (vk >= 'A' && vk <= 'Z') {
    ch = ctrl ? vk - 'A' + 1 : ((shift != caps) ? vk : vk - 'A' + 'a');
  } else if (vk >= '0' && vk <= '9' && !ctrl) {
    ch = shift ? ")!@#$%^&*("[vk - '0'] : vk;
  } else if (vk == VK_SPACE || vk == VK_RETURN || vk == VK_ESCAPE || vk == VK_TAB || vk == VK_BACK) {
    ch = vk == VK_RETURN && ctrl ? 0x0A : vk;
  }
  if (!ch) return FALSE;
  PostFront(msg->hwnd, msg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR, static_cast<WPARAM>(ch), msg->lParam);
  return TRUE;
}

LRESULT CallWindowProc(WNDPROC proc, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return proc ? proc(window, message, wParam, lParam) : 0;
}

DWORD GetMessagePos() {
  return static_cast<DWORD>(MAKELONG(qwin::detail::S().current.pt.x, qwin::detail::S().current.pt.y));
}
LONG GetMessageTime() { return static_cast<LONG>(qwin::detail::S().current.time); }
BOOL InSendMessage() { return FALSE; }

HHOOK SetWindowsHookEx(int hookId, HOOKPROC proc, HINSTANCE, DWORD) {
  if (hookId != WH_CBT) {
    Unimplemented("SetWindowsHookEx " + std::to_string(hookId));
    return nullptr;
  }
  S().cbtHooks.push_back(proc);
  return reinterpret_cast<HHOOK>(proc);
}

BOOL UnhookWindowsHookEx(HHOOK hook) {
  auto& hooks = S().cbtHooks;
  auto it = std::find(hooks.begin(), hooks.end(), reinterpret_cast<HOOKPROC>(hook));
  if (it == hooks.end()) return FALSE;
  hooks.erase(it);
  return TRUE;
}

LRESULT CallNextHookEx(HHOOK, int, WPARAM, LPARAM) { return 0; }
DWORD GetCurrentThreadId() { return 1; }
