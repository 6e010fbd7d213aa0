// What the MFC stand-in builds on from the window stand-in: modal waits fed by the input queue,
// the log of pieces a stand-in does not implement, the names of compiled resources, and the
// case-folding helper. Stand-in only: the module never includes this header.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace qhost {
struct InputEvent;
}

namespace qwin::detail {

// A modal wait: a dialog's loop, a popup menu or a message box, waiting for input events.
struct ModalWait {
  std::string name;          // "dialog 5000", "menu", "message box \"Quillon\""
  HWND window = nullptr;     // where window events go (the dialog)
  // Handles an event itself (menu choices, answers); returns false to let the window events run.
  std::function<bool(const qhost::InputEvent&, std::string*)> accept;
  std::function<void()> cancel;  // what Escape would do
  std::function<void()> force;   // ends the wait when cancelling did not
  std::function<bool()> ended;   // true once the wait is over
  int cancels = 0;
};
// Runs the wait: messages and events until it has ended. `pump` handles one message
// (pre-translation, translation and dispatch); the default dispatches it.
void RunModalWait(ModalWait& wait, const std::function<void(MSG&)>& pump = {});

// Logs the name of an API piece or message that a stand-in does not implement, once.
void Unimplemented(const std::string& what);

// Resources: the name of a compiled resource from its bytes ("5000"), for waits and snapshots.
std::string ResourceNameOf(const void* data);

// WM_CTLCOLORMSGBOX .. WM_CTLCOLORSTATIC.
inline bool IsCtlColor(UINT message) { return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC; }

// ASCII case folding, as window class and profile names compare.
std::string Lower(std::string text);

}  // namespace qwin::detail
