// Windows stand-in: the built-in window classes, the snapshot of the window tree, and the reset of
// the whole stand-in between tests.
#include "qplatform/WindowSystem.h"
#include "win32/src/Internal.h"

namespace qwin::detail {

void RegisterButtonClass();
void RegisterComboBoxClass();
void RegisterEditStaticClasses();
void RegisterToolTipClass();
void RegisterRichEditClass();

namespace {

LRESULT CALLBACK DialogClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefDlgProc(window, message, wParam, lParam);
}

void Describe(HWND h, std::string& out, const std::string& indent) {
  Window* w = Find(h);
  if (!w) return;
  RECT r = w->rect;
  out += indent + w->className;
  if (w->style & WS_CHILD) out += " " + std::to_string(w->id);
  out += " " + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right - r.left) + "x" +
         std::to_string(r.bottom - r.top);
  std::string text(static_cast<size_t>(GetWindowTextLength(h)), '\0');
  GetWindowText(h, text.data(), static_cast<int>(text.size()) + 1);
  out += " " + Quote(text);
  if (!w->symbol.empty()) out += " name=" + w->symbol;
  out += " style=" + Hex(w->style);
  if (w->exStyle) out += " exstyle=" + Hex(w->exStyle);
  if (!(w->style & WS_VISIBLE)) out += " hidden";
  if (w->style & WS_DISABLED) out += " disabled";
  if (w->style & WS_MINIMIZE) out += " minimized";
  if (GetFocus() == h) out += " focus";
  if (GetActiveWindow() == h) out += " active";
  if (!(w->style & WS_CHILD) && w->owner) out += " owner=" + Label(w->owner);
  if (w->data) out += w->data->StateWords();
  out += "\n";
  std::string inner = indent + "  ";
  if (w->data) w->data->Describe(out, inner);
  for (HWND child : std::vector<HWND>(w->children)) Describe(child, out, inner);
}

}  // namespace

void RegisterBuiltInClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterSystemClass("#32770", DialogClassProc);
  RegisterButtonClass();
  RegisterComboBoxClass();
  RegisterEditStaticClasses();
  RegisterToolTipClass();
  RegisterRichEditClass();
}

}  // namespace qwin::detail

namespace qwin {

using namespace detail;

std::string Snapshot(HWND root) {
  std::string out;
  if (root) {
    Describe(root, out, "");
  } else {
    for (HWND h : TopLevelWindows()) Describe(h, out, "");
  }
  std::string open = DescribeOpenMenu();
  if (!open.empty()) out += "open " + open + "\n";
  return out;
}

void Reset() {
  ResetWindows();
  ResetMessages();
  ResetMenus();
  ResetRecords();
  ResetGdi();
  ResetResources();
  ResetDevices();
  ResetInputErrors();
  SetMachineFontsEnabled(true);
}

}  // namespace qwin
