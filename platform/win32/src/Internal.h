// Internals of the window stand-in shared by its files: window records, classes, messages; the
// pieces the MFC stand-in takes too are published in qplatform/WindowServices.h.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "qplatform/WindowServices.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace qwin::detail {

// Class-specific state of a control window (button check state, combo items, ...).
struct ControlData {
  virtual ~ControlData() = default;
  // Extra snapshot lines for this window.
  virtual void Describe(std::string& /*out*/, const std::string& /*indent*/) const {}
  // Extra words on the window's own snapshot line ("checked", "sel=2").
  virtual std::string StateWords() const { return {}; }
};

struct Window {
  HWND handle = nullptr;
  std::string className;     // as registered
  WNDPROC proc = nullptr;    // current procedure (subclassing replaces it)
  HWND parent = nullptr;     // for child windows
  HWND owner = nullptr;      // for top-level windows
  std::vector<HWND> children;  // in z-order, first = top (creation order)
  int id = 0;
  DWORD style = 0;
  DWORD exStyle = 0;
  RECT rect{};               // outer rectangle: parent's client coordinates, or screen for top-level
  std::string text;
  std::string symbol;        // a dialog control's name in its module's resources (IDC_BOLD), or ""
  HINSTANCE instance = nullptr;
  LONG_PTR userData = 0;
  std::map<int, LONG_PTR> dialogLongs;  // DWL_MSGRESULT, DWL_DLGPROC, DWL_USER
  HFONT font = nullptr;
  HICON icons[2] = {nullptr, nullptr};
  HMENU systemMenu = nullptr;
  RECT restoredRect{};       // the rectangle before minimising
  bool destroying = false;
  bool dirty = false;        // needs painting (its update region is not empty)
  unsigned paintedInRound = 0;  // the input round in which it was last painted
  std::unique_ptr<ControlData> data;
};

// The window record of a live handle, or null.
Window* Find(HWND window);
// All live top-level windows, in creation order.
std::vector<HWND> TopLevelWindows();
// The label of a window in traces and messages: its id for a child, its class for a top-level one.
std::string Label(HWND window);
// The class's data of a window, created on first use.
template <typename T>
T& DataOf(Window& w) {
  if (!w.data) w.data = std::make_unique<T>();
  return static_cast<T&>(*w.data);
}

// Painting: a window (and, with `children`, its descendants) needs painting; the first visible
// window that needs it, parents before children, taken off the list (WM_PAINT comes when the queue
// is otherwise empty).
void MarkDirty(HWND window, bool children);
HWND TakeDirtyWindow();
// A new input round begins when an input event is read: each window is painted at most once per
// round, so that a window that invalidates itself while painting cannot keep the input waiting.
void BeginInputRound();

// Window positions and sizes are held to the range of a short, as the real system holds them, so
// that no sum of them (a client origin, a point in a parent) can overflow.
constexpr int kMinCoordinate = -32768;
constexpr int kMaxCoordinate = 32767;
inline int ClampCoordinate(long v) {
  return v < kMinCoordinate ? kMinCoordinate : v > kMaxCoordinate ? kMaxCoordinate : static_cast<int>(v);
}
inline int ClampSize(long v) { return v < 0 ? 0 : v > kMaxCoordinate ? kMaxCoordinate : static_cast<int>(v); }

// The client rectangle of a window in its own coordinates (the frame of top-level windows taken off).
RECT ClientRectOf(const Window& w);
// The frame thickness (left, top, right, bottom) of a window with this style.
RECT FrameOf(DWORD style, DWORD exStyle);

// Sends WM_COMMAND with a notification code from a control to its parent.
void NotifyParent(HWND control, UINT code);

// Registers a built-in window class.
void RegisterSystemClass(const char* name, WNDPROC proc);
void RegisterBuiltInClasses();
void ResetWindows();
// The window-creation hooks (SetWindowsHookEx with WH_CBT), run before WM_NCCREATE.
LRESULT RunCbtHooks(int code, WPARAM wParam, LPARAM lParam);

// A control's default: a message of its own range (`first`..`last`) that it does not handle is
// logged as not implemented and answered 0; any other goes to DefWindowProc.
LRESULT ControlDefault(HWND window, UINT first, UINT last, UINT message, WPARAM wParam, LPARAM lParam);

// A control's message handlers, one per message (as the rich edit engine dispatches): each takes
// the control's record of the call (its window, its data, the message's arguments).
template <typename Call>
using HandlerTable = std::unordered_map<UINT, LRESULT (*)(Call&)>;
// Runs the handler of `message` into `result`; false when the table has none.
template <typename Call>
bool Dispatch(const HandlerTable<Call>& table, UINT message, Call& call, LRESULT& result) {
  const auto found = table.find(message);
  if (found == table.end()) return false;
  result = found->second(call);
  return true;
}

// Message delivery through the recorder and the window's procedure.
LRESULT Deliver(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Posts a keyboard message whose key-state change takes effect when the message is taken out.
void PostKey(HWND window, UINT message, WPARAM wParam, LPARAM lParam, int stateKey, bool down);
// Posts a mouse message with its screen position (GetMessagePos).
void PostMouse(HWND window, UINT message, WPARAM wParam, POINT client);
// Takes the first posted message out (or only looks at it).
bool TakePosted(MSG& msg, bool remove);
// Puts a message at the front of the posted queue (TranslateMessage's WM_CHAR).
void PostFront(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void ClearPostedMessages();
void ResetMessages();

// Takes the next message, reading input events for the innermost wait when none is posted;
// false when there is no wait left to read for.
bool NextMessage(MSG& msg);
void ResetInputErrors();

// The keyboard state as messages are taken out.
void ApplyKeyState(int virtualKey, bool down);
BYTE* KeyStateTable();

// Dialog manager pieces used by the controls.
HWND DialogOf(HWND control);
bool IsDialog(HWND window);

// What the user does to combo boxes.
void ComboUserChoose(HWND combo, int index);
// Menus.
std::string DescribeOpenMenu();
HMENU CreateSystemMenu(HWND window);
void ResetMenus();

// GDI objects: fonts, brushes, pens and bitmaps, each a record behind its handle.
struct GdiObject {
  DWORD type = 0;  // OBJ_FONT, OBJ_BRUSH, OBJ_PEN, OBJ_BITMAP
  LOGFONT font{};
  COLORREF color = 0;
  int style = 0;   // brush or pen style
  int width = 0;   // bitmap size, pen width
  int height = 0;
  int bitsPerPixel = 0;
  std::string name;  // where it came from: "bitmap 5006", "stock WHITE_BRUSH", "syscolor 15"
  bool stock = false;
};
HGDIOBJ NewGdiObject(const GdiObject& object);
const GdiObject* FindGdiObject(HGDIOBJ handle);
std::string DescribeGdiObject(HGDIOBJ handle);

// The resource of type `type` that bears the same name as the resource at `data`, in the same
// module; {nullptr, 0} when there is none.
std::pair<const unsigned char*, size_t> CompanionResource(const void* data, int type);
// The icon or cursor name of a handle ("resource 5004", "arrow").
std::string IconName(HICON icon);

// GDI: the default GUI font and text metrics of a font handle.
HFONT DefaultGuiFont();
TEXTMETRIC MetricsOf(HFONT font);
int CharWidthOf(HFONT font);
void ResetGdi();
void ResetResources();
void ResetRecords();
void ResetDevices();
void RecordGdi(const std::string& line);

// Recorded requests.
void RecordMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type, int answer);
void RecordMenu(HWND owner, std::vector<std::string> items, UINT chosen);
// The desktop's opener (see SetShellOpenerEnabled): whether it is allowed, and the result of handing
// it `address`, with what happened in `outcome` ("opened", "refused", "failed: ...").
bool ShellOpenerEnabled();
int OpenWithDesktop(const std::string& verb, const std::string& address, std::string& outcome);

// Text helpers.
std::string Upper(std::string text);
std::string Quote(const std::string& text);
bool EqualNoCase(const std::string& a, const std::string& b);
std::string Hex(unsigned long value);

}  // namespace qwin::detail
