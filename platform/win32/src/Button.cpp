// Windows stand-in: the BUTTON class: push buttons, check boxes, radio buttons (also push-like),
// bitmap and icon faces, owner-drawn buttons, and the BN_* notifications.
#include "win32/src/Internal.h"

namespace qwin::detail {
namespace {

struct ButtonData : ControlData {
  UINT check = BST_UNCHECKED;
  bool pushed = false;
  HANDLE image = nullptr;
  UINT imageType = IMAGE_BITMAP;

  std::string StateWords() const override {
    std::string words;
    if (check == BST_CHECKED) words += " checked";
    if (check == BST_INDETERMINATE) words += " indeterminate";
    if (pushed) words += " pushed";
    if (image) {
      words += " image=";
      words += imageType == IMAGE_BITMAP ? DescribeGdiObject(image) : IconName(static_cast<HICON>(image));
    }
    return words;
  }
};

DWORD TypeOf(const Window& w) { return w.style & BS_TYPEMASK; }

bool IsCheckType(DWORD type) {
  return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE ||
         type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

// The other auto radio buttons of the group lose their check.
void UncheckGroup(HWND button) {
  HWND parent = GetParent(button);
  Window* p = Find(parent);
  if (!p) return;
  const auto& list = p->children;
  auto it = std::find(list.begin(), list.end(), button);
  size_t first = static_cast<size_t>(it - list.begin());
  while (first > 0 && !(Find(list[first])->style & WS_GROUP)) --first;
  for (size_t i = first; i < list.size(); ++i) {
    if (i > first && (Find(list[i])->style & WS_GROUP)) break;
    Window* c = Find(list[i]);
    if (list[i] != button && EqualNoCase(c->className, "BUTTON") && TypeOf(*c) == BS_AUTORADIOBUTTON) {
      SendMessage(list[i], BM_SETCHECK, BST_UNCHECKED, 0);
    }
  }
}

void Click(HWND button) {
  InvalidateRect(button, nullptr, FALSE);
  Window* w = Find(button);
  auto& data = DataOf<ButtonData>(*w);
  switch (TypeOf(*w)) {
    case BS_AUTOCHECKBOX:
      data.check = data.check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
      break;
    case BS_AUTO3STATE:
      data.check = (data.check + 1) % 3;
      break;
    case BS_AUTORADIOBUTTON:
      data.check = BST_CHECKED;
      UncheckGroup(button);
      break;
    default:
      break;
  }
  NotifyParent(button, BN_CLICKED);
}

void Paint(HWND button, Window& w) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(button, &ps);
  RECT rect;
  GetClientRect(button, &rect);
  auto& data = DataOf<ButtonData>(w);
  if (TypeOf(w) == BS_OWNERDRAW) {
    DRAWITEMSTRUCT di{ODT_BUTTON, static_cast<UINT>(w.id), 0, ODA_DRAWENTIRE,
                      (data.pushed ? ODS_SELECTED : 0u) | (GetFocus() == button ? ODS_FOCUS : 0u) |
                          ((w.style & WS_DISABLED) ? ODS_DISABLED : 0u),
                      button, dc, rect, 0};
    SendMessage(GetParent(button), WM_DRAWITEM, static_cast<WPARAM>(w.id), reinterpret_cast<LPARAM>(&di));
  } else {
    SendMessage(GetParent(button), WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(button));
    if (w.font) SelectObject(dc, w.font);
    if (data.image) {
      RecordGdi("button face " + std::to_string(w.id) + " " + data.StateWords().substr(1));
    } else {
      DrawText(dc, w.text.c_str(), -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
  }
  EndPaint(button, &ps);
}

// One message to a button, as its handlers see it.
struct ButtonCall {
  HWND button;
  Window& w;
  ButtonData& data;
  DWORD type;  // BS_PUSHBUTTON, BS_AUTOCHECKBOX, ... as the message arrived
  WPARAM wParam;
  LPARAM lParam;
};

LRESULT OnGetDlgCode(ButtonCall& c) {
  if (c.type == BS_GROUPBOX) return DLGC_STATIC;
  if (c.type == BS_RADIOBUTTON || c.type == BS_AUTORADIOBUTTON) return DLGC_BUTTON | DLGC_RADIOBUTTON;
  if (IsCheckType(c.type)) return DLGC_BUTTON;
  return DLGC_BUTTON | (c.type == BS_DEFPUSHBUTTON ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
}

// WM_LBUTTONDOWN and WM_LBUTTONDBLCLK.
LRESULT OnLButtonDown(ButtonCall& c) {
  if (c.type == BS_GROUPBOX) return 0;
  SetFocus(c.button);
  SetCapture(c.button);
  c.data.pushed = true;
  return 0;
}

LRESULT OnLButtonUp(ButtonCall& c) {
  if (!c.data.pushed) return 0;
  c.data.pushed = false;
  ReleaseCapture();
  Click(c.button);
  return 0;
}

LRESULT OnKeyDown(ButtonCall& c) {
  if (c.wParam == VK_SPACE) c.data.pushed = true;
  return 0;
}

LRESULT OnKeyUp(ButtonCall& c) {
  if (c.wParam == VK_SPACE && c.data.pushed) {
    c.data.pushed = false;
    Click(c.button);
  }
  return 0;
}

LRESULT OnClick(ButtonCall& c) {
  SendMessage(c.button, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  SendMessage(c.button, WM_LBUTTONUP, 0, 0);
  return 0;
}

LRESULT OnGetCheck(ButtonCall& c) {
  return IsCheckType(c.type) || (c.w.style & BS_PUSHLIKE) ? c.data.check : BST_UNCHECKED;
}

LRESULT OnSetCheck(ButtonCall& c) {
  if (IsCheckType(c.type)) c.data.check = static_cast<UINT>(c.wParam) & 3;
  InvalidateRect(c.button, nullptr, FALSE);
  return 0;
}

LRESULT OnGetState(ButtonCall& c) {
  return c.data.check | (c.data.pushed ? BST_PUSHED : 0u) | (GetFocus() == c.button ? BST_FOCUS : 0u);
}

LRESULT OnSetState(ButtonCall& c) {
  c.data.pushed = c.wParam != 0;
  return 0;
}

LRESULT OnSetStyle(ButtonCall& c) {
  c.w.style = (c.w.style & ~0xFFFFu) | LOWORD(c.wParam);
  return 0;
}

LRESULT OnSetImage(ButtonCall& c) {
  HANDLE old = c.data.image;
  c.data.image = reinterpret_cast<HANDLE>(c.lParam);
  c.data.imageType = static_cast<UINT>(c.wParam);
  InvalidateRect(c.button, nullptr, FALSE);
  return reinterpret_cast<LRESULT>(old);
}

LRESULT OnGetImage(ButtonCall& c) {
  return reinterpret_cast<LRESULT>(c.data.imageType == c.wParam ? c.data.image : nullptr);
}

LRESULT OnSetFocus(ButtonCall& c) {
  if (c.w.style & BS_NOTIFY) NotifyParent(c.button, BN_SETFOCUS);
  return 0;
}

LRESULT OnKillFocus(ButtonCall& c) {
  if (c.w.style & BS_NOTIFY) NotifyParent(c.button, BN_KILLFOCUS);
  c.data.pushed = false;
  return 0;
}

LRESULT OnPaint(ButtonCall& c) {
  Paint(c.button, c.w);
  return 0;
}

const HandlerTable<ButtonCall>& ButtonHandlers() {
  static const HandlerTable<ButtonCall> handlers = {
      {WM_GETDLGCODE, OnGetDlgCode},
      {WM_LBUTTONDOWN, OnLButtonDown},
      {WM_LBUTTONDBLCLK, OnLButtonDown},
      {WM_LBUTTONUP, OnLButtonUp},
      {WM_KEYDOWN, OnKeyDown},
      {WM_KEYUP, OnKeyUp},
      {BM_CLICK, OnClick},
      {BM_GETCHECK, OnGetCheck},
      {BM_SETCHECK, OnSetCheck},
      {BM_GETSTATE, OnGetState},
      {BM_SETSTATE, OnSetState},
      {BM_SETSTYLE, OnSetStyle},
      {BM_SETIMAGE, OnSetImage},
      {BM_GETIMAGE, OnGetImage},
      {WM_SETFOCUS, OnSetFocus},
      {WM_KILLFOCUS, OnKillFocus},
      {WM_PAINT, OnPaint},
  };
  return handlers;
}

LRESULT CALLBACK ButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(button);
  ButtonCall call{button, *w, DataOf<ButtonData>(*w), TypeOf(*w), wParam, lParam};
  LRESULT result = 0;
  if (Dispatch(ButtonHandlers(), message, call, result)) return result;
  return ControlDefault(button, BM_GETCHECK, BM_SETIMAGE, message, wParam, lParam);
}

}  // namespace

void RegisterButtonClass() { RegisterSystemClass("BUTTON", ButtonProc); }

}  // namespace qwin::detail
