// Windows stand-in: the system metrics and the frames of windows, from one set of sizes.
#include <string>

#include "win32/src/Internal.h"

namespace {

// The stand-in's sizes in pixels. GetSystemMetrics reports them and the frames of windows
// (FrameOf, AdjustWindowRectEx, the client rectangles) are made of them.
constexpr int kBorder = 1;       // WS_BORDER
constexpr int kClientEdge = 2;   // WS_EX_CLIENTEDGE, inside the frame
constexpr int kDialogFrame = 3;  // WS_DLGFRAME, WS_EX_DLGMODALFRAME
constexpr int kThickFrame = 4;   // WS_THICKFRAME
constexpr int kCaption = 19;     // the caption bar of WS_CAPTION
constexpr int kScrollBar = 16;   // the width of a vertical, the height of a horizontal scroll bar

}  // namespace

namespace qwin::detail {

RECT FrameOf(DWORD style, DWORD exStyle) {
  RECT f{0, 0, 0, 0};
  int edge = 0;
  if (style & WS_THICKFRAME) {
    edge = kThickFrame;
  } else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME)) {
    edge = kDialogFrame;
  } else if (style & WS_BORDER) {
    edge = kBorder;
  }
  if (exStyle & WS_EX_CLIENTEDGE) edge += kClientEdge;
  f.left = f.top = f.right = f.bottom = edge;
  if ((style & WS_CAPTION) == WS_CAPTION) f.top += kCaption;
  if (style & WS_VSCROLL) f.right += kScrollBar;
  if (style & WS_HSCROLL) f.bottom += kScrollBar;
  return f;
}

}  // namespace qwin::detail

int GetSystemMetrics(int index) {
  switch (index) {
    case SM_CXSCREEN: return 1024;
    case SM_CYSCREEN: return 768;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL: return kScrollBar;
    case SM_CYCAPTION: return kCaption;
    case SM_CXBORDER:
    case SM_CYBORDER: return kBorder;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return kDialogFrame;
    case SM_CXFRAME:
    case SM_CYFRAME: return kThickFrame;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR: return 32;
    case SM_CXSMICON:
    case SM_CYSMICON: return 16;
    case SM_CYMENU: return 19;
    case SM_CXMIN: return 112;
    case SM_CYMIN: return 27;
    default:
      qwin::detail::Unimplemented("GetSystemMetrics " + std::to_string(index));
      return 0;
  }
}

BOOL AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL, DWORD exStyle) {
  if (!rect) return FALSE;
  RECT f = qwin::detail::FrameOf(style & ~(WS_VSCROLL | WS_HSCROLL), exStyle);
  rect->left -= f.left;
  rect->top -= f.top;
  rect->right += f.right;
  rect->bottom += f.bottom;
  return TRUE;
}
