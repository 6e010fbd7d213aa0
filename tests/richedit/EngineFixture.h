// The rich edit engine under test: a recording fake host, the fixture, and the frame of a streamed-out document.
#pragma once

#include <RichEditEngine.h>
#include <qplatform/RichEditTesting.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

class RecordingHost : public RichEditHost {
 public:
  static constexpr UINT kRtfFormat = 0xC0A0;

  LRESULT TxNotify(DWORD code, void* data) override {
    if (code == EN_SELCHANGE) {
      const auto* change = static_cast<const SELCHANGE*>(data);
      events.push_back("EN_SELCHANGE " + std::to_string(change->chrg.cpMin) + ".." +
                       std::to_string(change->chrg.cpMax));
    } else {
      events.push_back(Name(code));
    }
    if (onNotify) onNotify(code);
    return 0;
  }
  void TxInvalidate() override { ++invalidations; }
  SHORT TxGetKeyState(int key) override { return keysDown.count(key) ? static_cast<SHORT>(0x8000) : 0; }
  bool TxGetClipboardData(UINT format, std::string& data) override {
    const auto found = clipboard.find(format);
    if (found == clipboard.end()) return false;
    data = found->second;
    return true;
  }
  bool TxSetClipboardData(const std::vector<std::pair<UINT, std::string>>& formats) override {
    clipboard.clear();
    for (const auto& [format, data] : formats) clipboard[format] = data;
    return true;
  }
  UINT TxRegisterClipboardFormat(const char* name) override {
    return std::string(name) == "Rich Text Format" ? kRtfFormat : 0xC0FF;
  }
  void TxLogUnimplemented(const char* name) override { logged.push_back(name); }

  static std::string Name(DWORD code) {
    switch (code) {
      case EN_CHANGE: return "EN_CHANGE";
      case EN_MAXTEXT: return "EN_MAXTEXT";
      case EN_SETFOCUS: return "EN_SETFOCUS";
      case EN_KILLFOCUS: return "EN_KILLFOCUS";
      default: return "code " + std::to_string(code);
    }
  }

  std::vector<std::string> events;
  std::function<void(DWORD)> onNotify;
  int invalidations = 0;
  std::map<int, bool> keysDown;
  std::map<UINT, std::string> clipboard;
  std::vector<std::string> logged;
};

// An engine of the editor's kind (multiline, want-return) with its fake host and a sender.
struct EngineFixture {
  RecordingHost host;
  RichEditEngine engine{host, 0x0004 | 0x1000};
  qplatform::RichEditSend send = qplatform::SenderFor(engine);
};

// Selects from..to and sets the character format of the selection.
inline void Format(EngineFixture& f, LONG from, LONG to, const CHARFORMAT& cf) {
  qplatform::SetSelection(f.send, from, to);
  qplatform::SetSelectionFormat(f.send, cf);
}

// A whole stream in the dialect: the font entries after the fixed two, the colour entries after
// black, and the body from \pard on (the closing brace and CR LF are added).
inline std::string DialectStream(const std::string& fonts, const std::string& colors, const std::string& body) {
  return "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fnil MS Sans Serif;}{\\f1\\froman\\fcharset2 Symbol;}" + fonts +
         "}\r\n{\\colortbl\\red0\\green0\\blue0;" + colors + "}\r\n\\deflang1049" + body + "}\r\n";
}
