// The windowless rich edit engine (version 1.0 behaviour): one message entry point and a small host interface.
#pragma once

#include <richedit.h>
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// What the engine asks of the window that hosts it. The RICHEDIT window class implements it over the
// window layer; tests implement it with a recording fake.
class RichEditHost {
 public:
  virtual ~RichEditHost() = default;

  // A notification for the parent window. The edit control's codes (EN_CHANGE, EN_SETFOCUS,
  // EN_KILLFOCUS, EN_MAXTEXT: all below EN_MSGFILTER) come with no data and go to the parent as
  // WM_COMMAND (control id, code; the control's window as sender). The rich edit's own codes
  // (EN_SELCHANGE, ...) come with their structure, e.g. a SELCHANGE with chrg and seltyp filled;
  // the host completes its nmhdr and sends WM_NOTIFY. The result is the parent's answer.
  virtual LRESULT TxNotify(DWORD code, void* data) = 0;

  // What the control shows has changed and must be drawn again.
  virtual void TxInvalidate() = 0;

  // GetKeyState of a virtual key: the high bit is set while the key is down.
  virtual SHORT TxGetKeyState(int virtualKey) = 0;

  // The clipboard's data in one format, as bytes (for CF_TEXT without the terminating zero).
  // false when the clipboard cannot be opened or holds no data in that format.
  virtual bool TxGetClipboardData(UINT format, std::string& data) = 0;

  // Empties the clipboard and puts these formats on it, in this order.
  virtual bool TxSetClipboardData(const std::vector<std::pair<UINT, std::string>>& formats) = 0;

  // The number of a registered clipboard format (the control uses CF_RTF, "Rich Text Format").
  virtual UINT TxRegisterClipboardFormat(const char* name) = 0;

  // The engine received something it does not implement; called once per name over the engine's life.
  virtual void TxLogUnimplemented(const char* name) = 0;
};

namespace richedit::detail {
class EngineCore;
}

class RichEditEngine {
 public:
  // `style` holds the window's ES_* styles (ES_MULTILINE, ES_READONLY, ES_WANTRETURN, ...).
  RichEditEngine(RichEditHost& host, DWORD style);
  ~RichEditEngine();
  RichEditEngine(const RichEditEngine&) = delete;
  RichEditEngine& operator=(const RichEditEngine&) = delete;

  // Every message of the control comes in here and is answered as the Windows control answers it.
  LRESULT Message(UINT msg, WPARAM wParam, LPARAM lParam);

  // Whether the engine answers `msg` itself; a window passes the others on to its default procedure.
  bool Handles(UINT msg) const;

  // A readable picture of the contents for tests and front ends: the selection, then one line per
  // paragraph with its format and, indented below it, one line per run and one for the paragraph
  // mark, each with its character format.
  std::string Snapshot() const;

  DWORD Style() const;
  void SetStyle(DWORD style);
  // The background colour EM_SETBKGNDCOLOR set; none while the system's window colour applies.
  std::optional<COLORREF> Background() const;

 private:
  std::unique_ptr<richedit::detail::EngineCore> m_core;
};
