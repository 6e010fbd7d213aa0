// The window stand-in's face for front ends and tests: events, traces, snapshots, recorded requests,
// and the state that the user's machine would hold (keyboard, clipboard, registry, fonts).
// Stand-in only: the module never includes this header.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace qhost {
struct InputEvent;
}

namespace qwin {

// ---- Message names and traces ----

// The name of `message` as a window of class `className` understands it ("WM_SIZE", "EM_STREAMIN",
// "TTM_ADDTOOL"), or its number in hexadecimal when the list has no name for it.
std::string MessageName(const std::string& className, UINT message);
// The name of a notification code sent by a control of class `className` ("BN_CLICKED").
std::string NotificationName(const std::string& className, UINT code);

// Records every message a window receives while the recorder lives. Each entry reads
// "WM_COMMAND 5042 BN_CLICKED", "WM_NOTIFY 5002 EN_SELCHANGE", "WM_SIZE 0 540x150",
// "WM_CHAR 'a'", or the bare message name for the rest.
class MessageRecorder {
 public:
  explicit MessageRecorder(HWND window);
  ~MessageRecorder();
  MessageRecorder(const MessageRecorder&) = delete;
  MessageRecorder& operator=(const MessageRecorder&) = delete;
  // The recorded entries whose name is in `only` (all of them when `only` is empty).
  std::vector<std::string> Entries(const std::vector<std::string>& only = {}) const;
  void Clear() { m_entries.clear(); }
  void Add(std::string entry) { m_entries.push_back(std::move(entry)); }
  HWND Window() const { return m_window; }

 private:
  HWND m_window;
  std::vector<std::string> m_entries;
};

// ---- Input events and modal waits ----

// Applies one user-interface event of the session-script vocabulary to the innermost modal wait
// (dialog, menu or message box). Returns false and sets `error` when the event cannot be used there.
bool ApplyInputEvent(const qhost::InputEvent& event, std::string* error);
// The verbs a waiting dialog applies to its windows (menus and message boxes take a few of
// their own first).
std::vector<std::string> WindowEventVerbs();
// The events that could not be used ("session.txt:12: ..."), in order; cleared by Reset.
const std::vector<std::string>& InputErrors();
// The name of the innermost modal wait ("dialog 5000", "menu", "message box \"Quillon\""), or "".
std::string CurrentWait();
// Runs posted messages until the queue is empty (tests that drive windows without a modal loop).
void PumpPostedMessages();

// ---- Snapshot ----

// A text picture of the window tree below `root` (every top-level window when null): one line per
// window with class, id, rectangle, text, style and state, then class details (combo items, rich
// edit paragraphs and runs, tooltip tools), indented by depth; the open popup menu, if any.
std::string Snapshot(HWND root = nullptr);

// ---- Recorded requests ----

struct MessageBoxRecord {
  HWND owner;
  std::string text;
  std::string caption;
  UINT type;
  int answer;
};
const std::vector<MessageBoxRecord>& MessageBoxes();
const std::vector<UINT>& Beeps();

// A popup menu as TrackPopupMenu showed it: its items ("Undo=57643", "-" for a separator,
// "Paste=57637 (grayed)") and the command chosen (0 when cancelled).
struct MenuRecord {
  HWND owner;
  std::vector<std::string> items;
  UINT chosen;
};
const std::vector<MenuRecord>& ShownMenus();

struct ShellRequest {
  std::string function;  // "ShellExecute" or "WinExec"
  std::string verb;
  std::string file;
  std::string parameters;
  std::string directory;
  std::string commandLine;
  int showCommand;
  int result;
  // "recorded" (nothing more happened), or with the desktop's opener allowed: "opened",
  // "refused" (not an "open" of an http:, https: or mailto: address) or "failed: <reason>".
  std::string outcome;
};
const std::vector<ShellRequest>& ShellRequests();
// What the next ShellExecute and WinExec calls report (both succeed with 42 and 33 by default).
void SetShellExecuteResult(int result);
void SetWinExecResult(int result);
// With the opener allowed, ShellExecute's "open" of an http:, https: or mailto: address starts the
// desktop's opener with the address (in UTF-8) as its one argument, without a shell; any other request
// is refused with SE_ERR_ACCESSDENIED. WinExec always stays recorded only. Off by default.
void SetShellOpenerEnabled(bool enabled);
// The opener program, looked up in PATH ("xdg-open" by default); tests put a fake one here.
void SetShellOpenerProgram(const std::string& program);
// Waits for the openers started so far to end; returns how many were waited for.
int WaitForShellOpeners();

// Operations drawn on device contexts, one line each: "FillRect 0,0,10,14 brush=#ffffff",
// "DrawText 'Arial' font=Arial/-12 rect=... flags=0x24", "DrawFrameControl ... type=3 state=0x8".
const std::vector<std::string>& GdiRecord();
// Live GDI objects (fonts, brushes, pens, bitmaps) that were created and not deleted.
int LiveGdiObjects();

// Cursor shown now: "arrow", "wait", "hand", "resource 5057", ...
std::string CurrentCursorName();

// Names of the API pieces that a stand-in met and does not implement, each once.
const std::vector<std::string>& Unimplemented();

// ---- The user's machine ----

void SetKeyDown(int virtualKey, bool down);
void SetKeyToggled(int virtualKey, bool on);
void SetKeyboardLayoutName(const std::string& name);  // eight hexadecimal digits, "00000419"

void SetClipboardText(const std::string& text);       // CF_TEXT, replacing everything
void SetClipboardFormats(const std::vector<UINT>& formats);  // non-text data of these formats
std::optional<std::string> ClipboardText();
void SetClipboardOpenFails(bool fails);

// The registry stand-in: the default value of a key ("" names it) or a named value.
void SetRegistryValue(HKEY root, const std::string& keyPath, const std::string& valueName, const std::string& value);

// Faces installed on the machine (through fontconfig when present) join the built-in catalogue
// unless switched off; tests switch them off to see the catalogue alone.
void SetMachineFontsEnabled(bool enabled);

// Destroys every window and forgets queues, records, clipboard, keyboard and registry state.
void Reset();

}  // namespace qwin
