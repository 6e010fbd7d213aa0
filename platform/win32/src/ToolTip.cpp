// Windows stand-in: the tooltip control: tools with their texts, activation, and the relayed mouse
// messages that decide which tip would show.
#include "win32/src/Internal.h"

namespace qwin::detail {
namespace {

struct Tool {
  UINT flags = 0;
  HWND window = nullptr;
  UINT_PTR id = 0;
  RECT rect{};
  std::string text;
  bool callback = false;
};

struct ToolTipData : ControlData {
  std::vector<Tool> tools;
  bool active = true;
  int relayed = 0;
  int shown = -1;  // index of the tool whose tip shows
  int maxWidth = -1;

  std::string StateWords() const override {
    return std::string(active ? " active" : " inactive") + " tools=" + std::to_string(tools.size()) +
           " relayed=" + std::to_string(relayed);
  }
  void Describe(std::string& out, const std::string& indent) const override {
    for (size_t i = 0; i < tools.size(); ++i) {
      const Tool& t = tools[i];
      HWND owner = (t.flags & TTF_IDISHWND) ? reinterpret_cast<HWND>(t.id) : t.window;
      out += indent + "tool " + Label(owner) + " " + Quote(t.callback ? "(callback)" : t.text);
      if (static_cast<int>(i) == shown) out += " showing";
      out += "\n";
    }
  }
};

bool SameTool(const Tool& t, const TOOLINFO& info) {
  return t.window == info.hwnd && t.id == info.uId;
}

std::string TextOf(const TOOLINFO& info) {
  if (info.lpszText == LPSTR_TEXTCALLBACK || !info.lpszText) return {};
  if (IS_INTRESOURCE(info.lpszText)) {
    char buffer[512];
    LoadString(info.hinst, LOWORD(info.lpszText), buffer, sizeof buffer);
    return buffer;
  }
  return info.lpszText;
}

Tool* FindTool(ToolTipData& d, const TOOLINFO* info) {
  if (!info) return nullptr;
  for (auto& t : d.tools) {
    if (SameTool(t, *info)) return &t;
  }
  return nullptr;
}

// The tool under a relayed mouse message, or -1.
int HitTool(const ToolTipData& d, const MSG& msg) {
  for (size_t i = 0; i < d.tools.size(); ++i) {
    const Tool& t = d.tools[i];
    if (t.flags & TTF_IDISHWND) {
      if (reinterpret_cast<HWND>(t.id) == msg.hwnd) return static_cast<int>(i);
    } else if (t.window == msg.hwnd) {
      POINT p{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
      if (PtInRect(&t.rect, p)) return static_cast<int>(i);
    }
  }
  return -1;
}

LRESULT CALLBACK ToolTipProc(HWND tip, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(tip);
  auto& d = DataOf<ToolTipData>(*w);
  auto* info = reinterpret_cast<TOOLINFO*>(lParam);
  switch (message) {
    case TTM_ADDTOOL: {
      if (!info) return FALSE;
      Tool t;
      t.flags = info->uFlags;
      t.window = info->hwnd;
      t.id = info->uId;
      t.rect = info->rect;
      t.callback = info->lpszText == LPSTR_TEXTCALLBACK;
      t.text = TextOf(*info);
      if (Tool* existing = FindTool(d, info)) {
        *existing = t;
      } else {
        d.tools.push_back(t);
      }
      return TRUE;
    }
    case TTM_DELTOOL:
      for (size_t i = 0; i < d.tools.size(); ++i) {
        if (info && SameTool(d.tools[i], *info)) {
          d.tools.erase(d.tools.begin() + static_cast<long>(i));
          d.shown = -1;
          break;
        }
      }
      return 0;
    case TTM_UPDATETIPTEXT:
      if (Tool* t = FindTool(d, info)) {
        t->callback = info->lpszText == LPSTR_TEXTCALLBACK;
        t->text = TextOf(*info);
      }
      return 0;
    case TTM_NEWTOOLRECT:
      if (Tool* t = FindTool(d, info)) t->rect = info->rect;
      return 0;
    case TTM_SETTOOLINFO:
      if (Tool* t = FindTool(d, info)) {
        t->flags = info->uFlags;
        t->rect = info->rect;
        t->text = TextOf(*info);
      }
      return 0;
    case TTM_GETTOOLINFO:
    case TTM_GETTEXT: {
      Tool* t = FindTool(d, info);
      if (!t) return FALSE;
      if (message == TTM_GETTOOLINFO) {
        info->uFlags = t->flags;
        info->rect = t->rect;
      }
      if (info->lpszText && info->lpszText != LPSTR_TEXTCALLBACK) lstrcpy(info->lpszText, t->text.c_str());
      return TRUE;
    }
    case TTM_GETTOOLCOUNT:
      return static_cast<LRESULT>(d.tools.size());
    case TTM_ACTIVATE:
      d.active = wParam != 0;
      if (!d.active) d.shown = -1;
      return 0;
    case TTM_RELAYEVENT: {
      auto* msg = reinterpret_cast<const MSG*>(lParam);
      if (!msg) return 0;
      ++d.relayed;
      if (msg->message == WM_MOUSEMOVE && d.active) {
        d.shown = HitTool(d, *msg);
      } else if (msg->message == WM_LBUTTONDOWN || msg->message == WM_RBUTTONDOWN) {
        d.shown = -1;
      }
      return 0;
    }
    case TTM_POP:
      d.shown = -1;
      return 0;
    case TTM_SETMAXTIPWIDTH: {
      int old = d.maxWidth;
      d.maxWidth = static_cast<int>(lParam);
      return old;
    }
    case TTM_SETDELAYTIME:
      return 0;
    default:
      return ControlDefault(tip, WM_USER, WM_USER + 0x60, message, wParam, lParam);
  }
}

}  // namespace

void RegisterToolTipClass() { RegisterSystemClass(TOOLTIPS_CLASS, ToolTipProc); }

}  // namespace qwin::detail

void InitCommonControls() {}
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX*) { return TRUE; }
