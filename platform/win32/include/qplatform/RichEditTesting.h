// Typed helpers over the rich edit control's messages, for tests and front ends (never the module).
#pragma once

#include <richedit.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

class RichEditEngine;

namespace qplatform {

// Sends one message to a rich edit control and returns its answer: an engine, or a window wrapped
// by the front end (`[hwnd](UINT m, WPARAM w, LPARAM l) { return SendMessage(hwnd, m, w, l); }`).
using RichEditSend = std::function<LRESULT(UINT, WPARAM, LPARAM)>;
RichEditSend SenderFor(RichEditEngine& engine);

// EM_STREAMOUT through a callback that collects the chunks.
std::string StreamOutRtf(const RichEditSend& send, bool selectionOnly = false);
std::string StreamOutText(const RichEditSend& send, bool selectionOnly = false);
// EM_STREAMIN through a callback that hands out at most `chunk` bytes per call.
void StreamInRtf(const RichEditSend& send, const std::string& rtf, bool selectionOnly = false, LONG chunk = 4096);
void StreamInText(const RichEditSend& send, const std::string& text, bool selectionOnly = false, LONG chunk = 4096);

CHARRANGE GetSelection(const RichEditSend& send);
void SetSelection(const RichEditSend& send, LONG cpMin, LONG cpMax);
void ReplaceSelection(const RichEditSend& send, const std::string& text);

// EM_GETCHARFORMAT / EM_SETCHARFORMAT on the selection or the default format.
CHARFORMAT GetSelectionFormat(const RichEditSend& send);
CHARFORMAT GetDefaultFormat(const RichEditSend& send);
bool SetSelectionFormat(const RichEditSend& send, const CHARFORMAT& format);
bool SetDefaultFormat(const RichEditSend& send, const CHARFORMAT& format);
// A CHARFORMAT with cbSize set and only these mask bits and values.
CHARFORMAT MakeCharFormat(DWORD mask, DWORD effects = 0);
CHARFORMAT FaceFormat(const std::string& face, BYTE charSet = 0, BYTE pitchAndFamily = 0);
CHARFORMAT SizeFormat(LONG twips);
CHARFORMAT ColorFormat(COLORREF color);

PARAFORMAT GetParaFormat(const RichEditSend& send);
bool SetParaFormat(const RichEditSend& send, const PARAFORMAT& format);
PARAFORMAT MakeParaFormat(DWORD mask);

// WM_GETTEXT / WM_SETTEXT.
std::string GetText(const RichEditSend& send);
void SetText(const RichEditSend& send, const std::string& text);

// WM_CHAR for each byte (CR for a line break), and WM_KEYDOWN/WM_KEYUP of one key; modifier keys are
// whatever the host's key state says.
void TypeText(const RichEditSend& send, const std::string& text);
void PressKey(const RichEditSend& send, int virtualKey);

// A windowless control of the editor's kind (multiline, want-return) whose host hears nothing
// and has an empty clipboard: for conversions and fuzzing, where no window listens.
class StandaloneRichEdit {
 public:
  StandaloneRichEdit();
  ~StandaloneRichEdit();
  const RichEditSend& Send() const;
  RichEditEngine& Engine();

 private:
  struct Parts;
  std::unique_ptr<Parts> m_parts;
};

// `rtf` streamed into a fresh control and streamed out again: any RTF becomes the dialect.
std::string RtfThroughControl(const std::string& rtf);

}  // namespace qplatform
