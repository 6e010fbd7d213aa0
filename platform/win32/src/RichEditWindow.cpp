// Windows stand-in: the RICHEDIT window class, a thin window over the windowless rich edit engine:
// messages go to the engine, and the engine's host interface is served by the window layer.
#include <cstdio>
#include <cstring>
#include <richedit.h>

#include "qplatform/WindowSystem.h"
#include "win32/src/Internal.h"
#include "win32/src/richedit/RichEditEngine.h"

namespace qwin::detail {
namespace {

class WindowHost : public RichEditHost {
 public:
  explicit WindowHost(HWND window) : m_window(window) {}

  LRESULT TxNotify(DWORD code, void* data) override {
    HWND parent = GetParent(m_window);
    int id = GetDlgCtrlID(m_window);
    if (code < EN_MSGFILTER || !data) {
      NotifyParent(m_window, code);
      return 0;
    }
    auto* header = static_cast<NMHDR*>(data);
    header->hwndFrom = m_window;
    header->idFrom = static_cast<UINT_PTR>(id);
    header->code = code;
    return parent ? SendMessage(parent, WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(data)) : 0;
  }

  void TxInvalidate() override { InvalidateRect(m_window, nullptr, FALSE); }

  SHORT TxGetKeyState(int virtualKey) override { return GetKeyState(virtualKey); }

  bool TxGetClipboardData(UINT format, std::string& data) override {
    if (!OpenClipboard(m_window)) return false;
    HANDLE memory = GetClipboardData(format);
    if (memory) {
      const char* bytes = static_cast<const char*>(GlobalLock(memory));
      size_t size = GlobalSize(memory);
      data = format == CF_TEXT ? std::string(bytes, strnlen(bytes, size)) : std::string(bytes, size);
      GlobalUnlock(memory);
    }
    CloseClipboard();
    return memory != nullptr;
  }

  bool TxSetClipboardData(const std::vector<std::pair<UINT, std::string>>& formats) override {
    if (!OpenClipboard(m_window)) return false;
    EmptyClipboard();
    for (const auto& [format, bytes] : formats) {
      bool text = format == CF_TEXT;
      HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size() + (text ? 1 : 0));
      char* p = static_cast<char*>(GlobalLock(memory));
      std::memcpy(p, bytes.data(), bytes.size());
      if (text) p[bytes.size()] = 0;
      GlobalUnlock(memory);
      SetClipboardData(format, memory);
    }
    CloseClipboard();
    return true;
  }

  UINT TxRegisterClipboardFormat(const char* name) override { return RegisterClipboardFormat(name); }

  void TxLogUnimplemented(const char* name) override { Unimplemented(std::string("RICHEDIT ") + name); }

 private:
  HWND m_window;
};

struct RichEditData : ControlData {
  std::unique_ptr<WindowHost> host;
  std::unique_ptr<RichEditEngine> engine;
  DWORD style = 0;

  std::string StateWords() const override {
    std::optional<COLORREF> background = engine ? engine->Background() : std::nullopt;
    if (!background) return std::string();
    char word[24];
    std::snprintf(word, sizeof word, " background=#%02x%02x%02x", GetRValue(*background), GetGValue(*background),
                  GetBValue(*background));
    return word;
  }
  void Describe(std::string& out, const std::string& indent) const override {
    if (!engine) return;
    std::string picture = engine->Snapshot();
    size_t start = 0;
    while (start < picture.size()) {
      size_t end = picture.find('\n', start);
      if (end == std::string::npos) end = picture.size();
      out += indent + picture.substr(start, end - start) + "\n";
      start = end + 1;
    }
  }
};

UINT DialogCode(const Window& w, const MSG* msg) {
  UINT code = DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL;
  bool multiline = (w.style & ES_MULTILINE) != 0;
  if (multiline) code |= DLGC_WANTTAB;
  if (multiline && msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN && (w.style & ES_WANTRETURN)) {
    code |= DLGC_WANTMESSAGE;
  }
  return code;
}

LRESULT CALLBACK RichEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(window);
  auto& d = DataOf<RichEditData>(*w);
  if (!d.engine) {
    d.host = std::make_unique<WindowHost>(window);
    d.engine = std::make_unique<RichEditEngine>(*d.host, w->style);
    d.style = w->style;
  }
  if (d.style != w->style) {
    d.engine->SetStyle(w->style);
    d.style = w->style;
  }
  switch (message) {
    case WM_GETDLGCODE:
      return DialogCode(*w, reinterpret_cast<const MSG*>(lParam));
    case WM_LBUTTONDOWN:
      SetFocus(window);
      return 0;
    case EM_SETREADONLY: {
      LRESULT result = d.engine->Message(message, wParam, lParam);
      w->style = wParam ? (w->style | ES_READONLY) : (w->style & ~ES_READONLY);
      d.style = w->style;
      return result;
    }
    default:
      if (d.engine->Handles(message)) return d.engine->Message(message, wParam, lParam);
      return DefWindowProc(window, message, wParam, lParam);
  }
}

}  // namespace

void RegisterRichEditClass() { RegisterSystemClass(RICHEDIT_CLASS, RichEditProc); }

}  // namespace qwin::detail
