// Typed helpers over the rich edit control's messages, written once for tests and front ends.
#include <qplatform/RichEditTesting.h>

#include "RichEditEngine.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace qplatform {

namespace {

struct InSource {
  const std::string* data;
  size_t position;
  LONG chunk;
};

DWORD CollectChunk(DWORD_PTR cookie, BYTE* buffer, LONG size, LONG* done) {
  reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(buffer), size);
  *done = size;
  return 0;
}

DWORD ServeChunk(DWORD_PTR cookie, BYTE* buffer, LONG size, LONG* done) {
  auto* source = reinterpret_cast<InSource*>(cookie);
  const size_t count = std::min<size_t>({static_cast<size_t>(std::max<LONG>(size, 0)),
                                         static_cast<size_t>(source->chunk), source->data->size() - source->position});
  std::memcpy(buffer, source->data->data() + source->position, count);
  source->position += count;
  *done = static_cast<LONG>(count);
  return 0;
}

std::string StreamOut(const RichEditSend& send, WPARAM format) {
  std::string out;
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&out), 0, &CollectChunk};
  send(EM_STREAMOUT, format, reinterpret_cast<LPARAM>(&stream));
  return out;
}

void StreamIn(const RichEditSend& send, WPARAM format, const std::string& data, LONG chunk) {
  InSource source{&data, 0, std::max<LONG>(chunk, 1)};
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, &ServeChunk};
  send(EM_STREAMIN, format, reinterpret_cast<LPARAM>(&stream));
}

WPARAM Selected(WPARAM format, bool selectionOnly) { return selectionOnly ? (format | SFF_SELECTION) : format; }

}  // namespace

RichEditSend SenderFor(RichEditEngine& engine) {
  return [&engine](UINT msg, WPARAM wParam, LPARAM lParam) { return engine.Message(msg, wParam, lParam); };
}

std::string StreamOutRtf(const RichEditSend& send, bool selectionOnly) {
  return StreamOut(send, Selected(SF_RTF, selectionOnly));
}

std::string StreamOutText(const RichEditSend& send, bool selectionOnly) {
  return StreamOut(send, Selected(SF_TEXT, selectionOnly));
}

void StreamInRtf(const RichEditSend& send, const std::string& rtf, bool selectionOnly, LONG chunk) {
  StreamIn(send, Selected(SF_RTF, selectionOnly), rtf, chunk);
}

void StreamInText(const RichEditSend& send, const std::string& text, bool selectionOnly, LONG chunk) {
  StreamIn(send, Selected(SF_TEXT, selectionOnly), text, chunk);
}

CHARRANGE GetSelection(const RichEditSend& send) {
  CHARRANGE range{0, 0};
  send(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
  return range;
}

void SetSelection(const RichEditSend& send, LONG cpMin, LONG cpMax) {
  CHARRANGE range{cpMin, cpMax};
  send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

void ReplaceSelection(const RichEditSend& send, const std::string& text) {
  send(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

CHARFORMAT GetSelectionFormat(const RichEditSend& send) {
  CHARFORMAT format = MakeCharFormat(0);
  send(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
  return format;
}

CHARFORMAT GetDefaultFormat(const RichEditSend& send) {
  CHARFORMAT format = MakeCharFormat(0);
  send(EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
  return format;
}

bool SetSelectionFormat(const RichEditSend& send, const CHARFORMAT& format) {
  return send(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format)) != 0;
}

bool SetDefaultFormat(const RichEditSend& send, const CHARFORMAT& format) {
  return send(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format)) != 0;
}

CHARFORMAT MakeCharFormat(DWORD mask, DWORD effects) {
  CHARFORMAT format{};
  format.cbSize = sizeof(CHARFORMAT);
  format.dwMask = mask;
  format.dwEffects = effects;
  return format;
}

CHARFORMAT FaceFormat(const std::string& face, BYTE charSet, BYTE pitchAndFamily) {
  CHARFORMAT format = MakeCharFormat(CFM_FACE | CFM_CHARSET);
  std::strncpy(format.szFaceName, face.c_str(), sizeof(format.szFaceName) - 1);
  format.bCharSet = charSet;
  format.bPitchAndFamily = pitchAndFamily;
  return format;
}

CHARFORMAT SizeFormat(LONG twips) {
  CHARFORMAT format = MakeCharFormat(CFM_SIZE);
  format.yHeight = twips;
  return format;
}

CHARFORMAT ColorFormat(COLORREF color) {
  CHARFORMAT format = MakeCharFormat(CFM_COLOR);
  format.crTextColor = color;
  return format;
}

PARAFORMAT GetParaFormat(const RichEditSend& send) {
  PARAFORMAT format = MakeParaFormat(0);
  send(EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
  return format;
}

bool SetParaFormat(const RichEditSend& send, const PARAFORMAT& format) {
  return send(EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format)) != 0;
}

PARAFORMAT MakeParaFormat(DWORD mask) {
  PARAFORMAT format{};
  format.cbSize = sizeof(PARAFORMAT);
  format.dwMask = mask;
  return format;
}

std::string GetText(const RichEditSend& send) {
  const LRESULT length = send(WM_GETTEXTLENGTH, 0, 0);
  std::vector<char> buffer(static_cast<size_t>(length) + 1);
  const LRESULT copied = send(WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
  return std::string(buffer.data(), static_cast<size_t>(copied));
}

void SetText(const RichEditSend& send, const std::string& text) {
  send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void TypeText(const RichEditSend& send, const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      PressKey(send, VK_RETURN);
    } else {
      send(WM_CHAR, static_cast<unsigned char>(text[i]), 1);
    }
  }
}

void PressKey(const RichEditSend& send, int virtualKey) {
  send(WM_KEYDOWN, static_cast<WPARAM>(virtualKey), 1);
  send(WM_KEYUP, static_cast<WPARAM>(virtualKey), static_cast<LPARAM>(0xC0000001));
}

namespace {

class QuietHost : public RichEditHost {
 public:
  LRESULT TxNotify(DWORD, void*) override { return 0; }
  void TxInvalidate() override {}
  SHORT TxGetKeyState(int) override { return 0; }
  bool TxGetClipboardData(UINT, std::string&) override { return false; }
  bool TxSetClipboardData(const std::vector<std::pair<UINT, std::string>>&) override { return false; }
  UINT TxRegisterClipboardFormat(const char*) override { return 0xC000; }
  void TxLogUnimplemented(const char*) override {}
};

// ES_MULTILINE | ES_WANTRETURN, as the editor's text area.
constexpr DWORD kEditorStyle = 0x0004 | 0x1000;

}  // namespace

struct StandaloneRichEdit::Parts {
  QuietHost host;
  RichEditEngine engine{host, kEditorStyle};
  RichEditSend send = SenderFor(engine);
};

StandaloneRichEdit::StandaloneRichEdit() : m_parts(std::make_unique<Parts>()) {}
StandaloneRichEdit::~StandaloneRichEdit() = default;
const RichEditSend& StandaloneRichEdit::Send() const { return m_parts->send; }
RichEditEngine& StandaloneRichEdit::Engine() { return m_parts->engine; }

std::string RtfThroughControl(const std::string& rtf) {
  StandaloneRichEdit control;
  StreamInRtf(control.Send(), rtf);
  return StreamOutRtf(control.Send());
}

}  // namespace qplatform
