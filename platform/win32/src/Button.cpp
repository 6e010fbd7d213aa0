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

LRESULT CALLBACK ButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(button);
  auto& data = DataOf<ButtonData>(*w);
  DWORD type = TypeOf(*w);
  switch (message) {
    case WM_GETDLGCODE:
      if (type == BS_GROUPBOX) return DLGC_STATIC;
      if (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON) return DLGC_BUTTON | DLGC_RADIOBUTTON;
      if (IsCheckType(type)) return DLGC_BUTTON;
      return DLGC_BUTTON | (type == BS_DEFPUSHBUTTON ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (type == BS_GROUPBOX) return 0;
      SetFocus(button);
      SetCapture(button);
      data.pushed = true;
      return 0;
    case WM_LBUTTONUP:
      if (!data.pushed) return 0;
      data.pushed = false;
      ReleaseCapture();
      Click(button);
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_SPACE) data.pushed = true;
      return 0;
    case WM_KEYUP:
      if (wParam == VK_SPACE && data.pushed) {
        data.pushed = false;
        Click(button);
      }
      return 0;
    case BM_CLICK:
      SendMessage(button, WM_LBUTTONDOWN, MK_LBUTTON, 0);
      SendMessage(button, WM_LBUTTONUP, 0, 0);
      return 0;
    case BM_GETCHECK:
      return IsCheckType(type) || (w->style & BS_PUSHLIKE) ? data.check : BST_UNCHECKED;
    case BM_SETCHECK:
      if (IsCheckType(type)) data.check = static_cast<UINT>(wParam) & 3;
      InvalidateRect(button, nullptr, FALSE);
      return 0;
    case BM_GETSTATE:
      return data.check | (data.pushed ? BST_PUSHED : 0u) | (GetFocus() == button ? BST_FOCUS : 0u);
    case BM_SETSTATE:
      data.pushed = wParam != 0;
      return 0;
    case BM_SETSTYLE:
      w->style = (w->style & ~0xFFFFu) | LOWORD(wParam);
      return 0;
    case BM_SETIMAGE: {
      HANDLE old = data.image;
      data.image = reinterpret_cast<HANDLE>(lParam);
      data.imageType = static_cast<UINT>(wParam);
      InvalidateRect(button, nullptr, FALSE);
      return reinterpret_cast<LRESULT>(old);
    }
    case BM_GETIMAGE:
      return reinterpret_cast<LRESULT>(data.imageType == wParam ? data.image : nullptr);
    case WM_SETFOCUS:
      if (w->style & BS_NOTIFY) NotifyParent(button, BN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      if (w->style & BS_NOTIFY) NotifyParent(button, BN_KILLFOCUS);
      data.pushed = false;
      return 0;
    case WM_PAINT:
      Paint(button, *w);
      return 0;
    default:
      return ControlDefault(button, BM_GETCHECK, BM_SETIMAGE, message, wParam, lParam);
  }
}

}  // namespace

void RegisterButtonClass() { RegisterSystemClass("BUTTON", ButtonProc); }

}  // namespace qwin::detail
