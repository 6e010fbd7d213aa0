// Windows stand-in: GDI as recorded operations: objects, device contexts, text metrics from a simple
// font metric, and every drawing call written as one line of the GDI record.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "qplatform/WindowSystem.h"
#include "win32/src/Internal.h"

namespace qwin::detail {
namespace {

struct DeviceContext {
  HWND window = nullptr;
  HGDIOBJ font = nullptr;
  HGDIOBJ brush = nullptr;
  HGDIOBJ pen = nullptr;
  HGDIOBJ bitmap = nullptr;
  COLORREF text = 0;
  COLORREF background = 0xFFFFFF;
  int mode = OPAQUE;
  POINT position{0, 0};
  std::vector<DeviceContext> saved;
};

struct State {
  std::map<HGDIOBJ, GdiObject> objects;
  std::map<HDC, DeviceContext> dcs;
  std::map<int, HGDIOBJ> stock;
  std::map<int, HGDIOBJ> sysBrushes;
  uintptr_t next = 0x50000;
  std::vector<std::string> record;
};

State& S() {
  static State s;
  return s;
}

std::string Color(COLORREF c) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "#%02x%02x%02x", GetRValue(c), GetGValue(c), GetBValue(c));
  return buffer;
}

std::string Rect(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

DeviceContext* Dc(HDC dc) {
  auto it = S().dcs.find(dc);
  return it == S().dcs.end() ? nullptr : &it->second;
}

void Draw(HDC dc, const std::string& line) {
  DeviceContext* d = Dc(dc);
  std::string where = d && d->window ? "[" + Label(d->window) + "] " : "[screen] ";
  RecordGdi(where + line);
}

std::string TextState(const DeviceContext& d) {
  return " font=" + DescribeGdiObject(d.font) + " color=" + Color(d.text) +
         (d.mode == TRANSPARENT ? " transparent" : " bk=" + Color(d.background));
}

LOGFONT DefaultLogFont() {
  LOGFONT lf{};
  lf.lfHeight = -11;
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  std::strcpy(lf.lfFaceName, "MS Sans Serif");
  return lf;
}

HGDIOBJ Stock(int index) {
  auto it = S().stock.find(index);
  if (it != S().stock.end()) return it->second;
  GdiObject o;
  o.stock = true;
  static const char* names[] = {"WHITE_BRUSH", "LTGRAY_BRUSH", "GRAY_BRUSH", "DKGRAY_BRUSH", "BLACK_BRUSH",
                                "NULL_BRUSH",  "WHITE_PEN",    "BLACK_PEN",  "NULL_PEN",     "",
                                "OEM_FIXED_FONT", "ANSI_FIXED_FONT", "ANSI_VAR_FONT", "SYSTEM_FONT",
                                "DEVICE_DEFAULT_FONT", "", "", "DEFAULT_GUI_FONT"};
  o.name = std::string("stock ") + (index >= 0 && index < 18 ? names[index] : "?");
  static const COLORREF brushColors[] = {0xFFFFFF, 0xC0C0C0, 0x808080, 0x404040, 0x000000, 0};
  if (index <= NULL_BRUSH) {
    o.type = OBJ_BRUSH;
    o.color = brushColors[index];
    o.style = index == NULL_BRUSH ? BS_NULL : BS_SOLID;
  } else if (index <= NULL_PEN) {
    o.type = OBJ_PEN;
    o.color = index == WHITE_PEN ? 0xFFFFFF : 0;
    o.style = index == NULL_PEN ? PS_NULL : PS_SOLID;
  } else {
    o.type = OBJ_FONT;
    o.font = DefaultLogFont();
    if (index == OEM_FIXED_FONT || index == ANSI_FIXED_FONT) std::strcpy(o.font.lfFaceName, "Courier");
    if (index == SYSTEM_FONT) {
      std::strcpy(o.font.lfFaceName, "System");
      o.font.lfHeight = 16;
      o.font.lfWeight = FW_BOLD;
    }
  }
  HGDIOBJ h = NewGdiObject(o);
  S().stock[index] = h;
  return h;
}

}  // namespace

HGDIOBJ NewGdiObject(const GdiObject& object) {
  HGDIOBJ h = reinterpret_cast<HGDIOBJ>(S().next);
  S().next += 0x10;
  S().objects[h] = object;
  return h;
}

const GdiObject* FindGdiObject(HGDIOBJ handle) {
  auto it = S().objects.find(handle);
  return it == S().objects.end() ? nullptr : &it->second;
}

std::string DescribeGdiObject(HGDIOBJ handle) {
  const GdiObject* o = FindGdiObject(handle);
  if (!o) return handle ? "unknown" : "none";
  if (o->stock) return o->name;
  switch (o->type) {
    case OBJ_FONT: {
      std::string text = std::string(o->font.lfFaceName) + "/" + std::to_string(o->font.lfHeight);
      if (o->font.lfWeight >= FW_BOLD) text += "/bold";
      if (o->font.lfItalic) text += "/italic";
      if (o->font.lfUnderline) text += "/underline";
      return text;
    }
    case OBJ_BRUSH:
      return o->style == BS_NULL ? "null brush" : "brush " + Color(o->color);
    case OBJ_PEN:
      return "pen " + Color(o->color);
    default:
      return o->name.empty() ? "bitmap " + std::to_string(o->width) + "x" + std::to_string(o->height) : o->name;
  }
}

void RecordGdi(const std::string& line) { S().record.push_back(line); }

HFONT DefaultGuiFont() { return static_cast<HFONT>(Stock(DEFAULT_GUI_FONT)); }

TEXTMETRIC MetricsOf(HFONT font) {
  const GdiObject* o = FindGdiObject(font);
  LOGFONT lf = o && o->type == OBJ_FONT ? o->font : DefaultLogFont();
  TEXTMETRIC tm{};
  LONG charHeight = lf.lfHeight < 0 ? -lf.lfHeight : 0;
  tm.tmHeight = lf.lfHeight < 0 ? (charHeight * 6 + 2) / 5 : (lf.lfHeight > 0 ? lf.lfHeight : 13);
  if (!charHeight) charHeight = tm.tmHeight * 5 / 6;
  tm.tmAscent = tm.tmHeight * 4 / 5;
  tm.tmDescent = tm.tmHeight - tm.tmAscent;
  tm.tmInternalLeading = tm.tmHeight - charHeight;
  tm.tmAveCharWidth = std::max<LONG>(1, (tm.tmHeight * 6 + 6) / 13);
  tm.tmMaxCharWidth = tm.tmAveCharWidth * 2;
  tm.tmWeight = lf.lfWeight ? lf.lfWeight : FW_NORMAL;
  tm.tmItalic = lf.lfItalic;
  tm.tmUnderlined = lf.lfUnderline;
  tm.tmStruckOut = lf.lfStrikeOut;
  tm.tmPitchAndFamily = lf.lfPitchAndFamily;
  tm.tmCharSet = lf.lfCharSet;
  tm.tmFirstChar = 0x20;
  tm.tmLastChar = 0xFF;
  tm.tmDefaultChar = '?';
  tm.tmBreakChar = ' ';
  tm.tmDigitizedAspectX = tm.tmDigitizedAspectY = 96;
  return tm;
}

int CharWidthOf(HFONT font) { return MetricsOf(font).tmAveCharWidth; }

void ResetGdi() {
  S().record.clear();
  for (auto it = S().dcs.begin(); it != S().dcs.end();) it = S().dcs.erase(it);
}

}  // namespace qwin::detail

namespace qwin {

const std::vector<std::string>& GdiRecord() { return detail::S().record; }

int LiveGdiObjects() {
  int n = 0;
  for (const auto& [handle, object] : detail::S().objects) n += object.stock ? 0 : 1;
  return n;
}

}  // namespace qwin

using namespace qwin::detail;

DWORD GetSysColor(int index) {
  switch (index) {
    case COLOR_WINDOW: return 0xFFFFFF;
    case COLOR_WINDOWTEXT:
    case COLOR_MENUTEXT:
    case COLOR_BTNTEXT:
    case COLOR_INFOTEXT:
    case COLOR_WINDOWFRAME: return 0x000000;
    case COLOR_HIGHLIGHT: return 0x800000;
    case COLOR_HIGHLIGHTTEXT:
    case COLOR_CAPTIONTEXT:
    case COLOR_BTNHIGHLIGHT: return 0xFFFFFF;
    case COLOR_BTNFACE:
    case COLOR_MENU:
    case COLOR_SCROLLBAR: return 0xC0C0C0;
    case COLOR_BTNSHADOW:
    case COLOR_GRAYTEXT: return 0x808080;
    case COLOR_ACTIVECAPTION: return 0x800000;
    case COLOR_BACKGROUND: return 0x808000;
    case COLOR_INFOBK: return 0xE1FFFF;
    default: return 0xC0C0C0;
  }
}

HBRUSH GetSysColorBrush(int index) {
  auto it = S().sysBrushes.find(index);
  if (it != S().sysBrushes.end()) return static_cast<HBRUSH>(it->second);
  GdiObject o;
  o.type = OBJ_BRUSH;
  o.color = GetSysColor(index);
  o.stock = true;
  o.name = "syscolor brush " + std::to_string(index);
  HGDIOBJ h = NewGdiObject(o);
  S().sysBrushes[index] = h;
  return static_cast<HBRUSH>(h);
}

HGDIOBJ GetStockObject(int object) {
  if (object < 0 || object > DEFAULT_GUI_FONT || object == 9 || object == 15 || object == 16) return nullptr;
  return Stock(object);
}

HFONT CreateFontIndirect(const LOGFONT* logFont) {
  if (!logFont) return nullptr;
  GdiObject o;
  o.type = OBJ_FONT;
  o.font = *logFont;
  o.font.lfFaceName[LF_FACESIZE - 1] = 0;
  return static_cast<HFONT>(NewGdiObject(o));
}

HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
                 DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                 DWORD pitchAndFamily, LPCSTR faceName) {
  LOGFONT lf{height, width, escapement, orientation, weight, static_cast<BYTE>(italic), static_cast<BYTE>(underline),
             static_cast<BYTE>(strikeOut), static_cast<BYTE>(charSet), static_cast<BYTE>(outPrecision),
             static_cast<BYTE>(clipPrecision), static_cast<BYTE>(quality), static_cast<BYTE>(pitchAndFamily), {}};
  if (faceName) lstrcpyn(lf.lfFaceName, faceName, LF_FACESIZE);
  return CreateFontIndirect(&lf);
}

HBRUSH CreateSolidBrush(COLORREF color) {
  GdiObject o;
  o.type = OBJ_BRUSH;
  o.color = color;
  return static_cast<HBRUSH>(NewGdiObject(o));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* logBrush) {
  if (!logBrush) return nullptr;
  GdiObject o;
  o.type = OBJ_BRUSH;
  o.color = logBrush->lbColor;
  o.style = static_cast<int>(logBrush->lbStyle);
  return static_cast<HBRUSH>(NewGdiObject(o));
}

HPEN CreatePen(int style, int width, COLORREF color) {
  GdiObject o;
  o.type = OBJ_PEN;
  o.style = style;
  o.width = width;
  o.color = color;
  return static_cast<HPEN>(NewGdiObject(o));
}

HBITMAP CreateBitmap(int width, int height, UINT, UINT bitsPerPixel, const void*) {
  GdiObject o;
  o.type = OBJ_BITMAP;
  o.width = width;
  o.height = height;
  o.bitsPerPixel = static_cast<int>(bitsPerPixel);
  return static_cast<HBITMAP>(NewGdiObject(o));
}

HBITMAP CreateCompatibleBitmap(HDC, int width, int height) { return CreateBitmap(width, height, 1, 32, nullptr); }

BOOL DeleteObject(HGDIOBJ object) {
  auto it = S().objects.find(object);
  if (it == S().objects.end()) return FALSE;
  if (!it->second.stock) S().objects.erase(it);
  return TRUE;
}

int GetObject(HGDIOBJ object, int size, LPVOID buffer) {
  const GdiObject* o = FindGdiObject(object);
  if (!o) return 0;
  switch (o->type) {
    case OBJ_FONT:
      if (buffer && size >= static_cast<int>(sizeof(LOGFONT))) std::memcpy(buffer, &o->font, sizeof(LOGFONT));
      return sizeof(LOGFONT);
    case OBJ_BRUSH: {
      LOGBRUSH lb{static_cast<UINT>(o->style), o->color, 0};
      if (buffer && size >= static_cast<int>(sizeof lb)) std::memcpy(buffer, &lb, sizeof lb);
      return sizeof lb;
    }
    case OBJ_BITMAP: {
      BITMAP bm{0, o->width, o->height, ((o->width * o->bitsPerPixel + 15) / 16) * 2, 1,
                static_cast<WORD>(o->bitsPerPixel), nullptr};
      if (buffer && size >= static_cast<int>(sizeof bm)) std::memcpy(buffer, &bm, sizeof bm);
      return sizeof bm;
    }
    default:
      return 0;
  }
}

DWORD GetObjectType(HGDIOBJ object) {
  if (Dc(static_cast<HDC>(object))) return OBJ_DC;
  const GdiObject* o = FindGdiObject(object);
  return o ? o->type : 0;
}

HDC GetDC(HWND window) {
  static uintptr_t next = 0x70000;
  HDC dc = reinterpret_cast<HDC>(next);
  next += 0x10;
  DeviceContext d;
  d.window = window;
  Window* w = Find(window);
  d.font = w && w->font ? static_cast<HGDIOBJ>(w->font) : Stock(SYSTEM_FONT);
  d.brush = Stock(WHITE_BRUSH);
  d.pen = Stock(BLACK_PEN);
  S().dcs[dc] = d;
  return dc;
}

HDC GetWindowDC(HWND window) { return GetDC(window); }

int ReleaseDC(HWND, HDC dc) { return S().dcs.erase(dc) ? 1 : 0; }

HWND WindowFromDC(HDC dc) {
  DeviceContext* d = Dc(dc);
  return d ? d->window : nullptr;
}

HDC CreateCompatibleDC(HDC) { return GetDC(nullptr); }
BOOL DeleteDC(HDC dc) { return ReleaseDC(nullptr, dc); }

HDC BeginPaint(HWND window, LPPAINTSTRUCT paint) {
  ValidateRect(window, nullptr);
  HDC dc = GetDC(window);
  if (paint) {
    *paint = PAINTSTRUCT{};
    paint->hdc = dc;
    GetClientRect(window, &paint->rcPaint);
  }
  return dc;
}

BOOL EndPaint(HWND window, const PAINTSTRUCT* paint) { return paint && ReleaseDC(window, paint->hdc); }

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
  DeviceContext* d = Dc(dc);
  const GdiObject* o = FindGdiObject(object);
  if (!d || !o) return nullptr;
  HGDIOBJ* slot = o->type == OBJ_FONT ? &d->font : o->type == OBJ_BRUSH ? &d->brush
                : o->type == OBJ_PEN  ? &d->pen  : &d->bitmap;
  HGDIOBJ old = *slot;
  *slot = object;
  return old;
}

int SaveDC(HDC dc) {
  DeviceContext* d = Dc(dc);
  if (!d) return 0;
  DeviceContext copy = *d;
  copy.saved.clear();
  d->saved.push_back(copy);
  return static_cast<int>(d->saved.size());
}

BOOL RestoreDC(HDC dc, int saved) {
  DeviceContext* d = Dc(dc);
  if (!d || d->saved.empty()) return FALSE;
  size_t index = saved < 0 ? d->saved.size() + static_cast<size_t>(saved) : static_cast<size_t>(saved) - 1;
  if (index >= d->saved.size()) return FALSE;
  std::vector<DeviceContext> stack(d->saved.begin(), d->saved.begin() + static_cast<long>(index));
  DeviceContext restored = d->saved[index];
  *d = restored;
  d->saved = stack;
  return TRUE;
}

namespace {

// Sets one attribute of a device context and returns the one it replaces (`invalid` for a bad DC).
template <typename T>
T Exchange(HDC dc, T DeviceContext::*field, T value, T invalid) {
  DeviceContext* d = Dc(dc);
  if (!d) return invalid;
  T old = d->*field;
  d->*field = value;
  return old;
}

}  // namespace

COLORREF SetTextColor(HDC dc, COLORREF color) { return Exchange(dc, &DeviceContext::text, color, CLR_INVALID); }
COLORREF GetTextColor(HDC dc) { return Dc(dc) ? Dc(dc)->text : CLR_INVALID; }
COLORREF SetBkColor(HDC dc, COLORREF color) { return Exchange(dc, &DeviceContext::background, color, CLR_INVALID); }
COLORREF GetBkColor(HDC dc) { return Dc(dc) ? Dc(dc)->background : CLR_INVALID; }
int SetBkMode(HDC dc, int mode) { return Exchange(dc, &DeviceContext::mode, mode, 0); }
int GetBkMode(HDC dc) { return Dc(dc) ? Dc(dc)->mode : 0; }

int GetDeviceCaps(HDC, int index) {
  switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY: return 96;
    case HORZRES: return 1024;
    case VERTRES: return 768;
    case BITSPIXEL: return 32;
    default: return 0;
  }
}

BOOL GetTextMetrics(HDC dc, LPTEXTMETRIC metric) {
  DeviceContext* d = Dc(dc);
  if (!d || !metric) return FALSE;
  *metric = MetricsOf(static_cast<HFONT>(d->font));
  return TRUE;
}

BOOL GetTextExtentPoint32(HDC dc, LPCSTR text, int count, LPSIZE size) {
  DeviceContext* d = Dc(dc);
  if (!d || !size) return FALSE;
  TEXTMETRIC tm = MetricsOf(static_cast<HFONT>(d->font));
  if (count < 0) count = text ? lstrlen(text) : 0;
  size->cx = count * tm.tmAveCharWidth;
  size->cy = tm.tmHeight;
  return TRUE;
}

BOOL GetTextExtentPoint(HDC dc, LPCSTR text, int count, LPSIZE size) {
  return GetTextExtentPoint32(dc, text, count, size);
}

int GetTextFace(HDC dc, int size, LPSTR faceName) {
  DeviceContext* d = Dc(dc);
  const GdiObject* o = d ? FindGdiObject(d->font) : nullptr;
  if (!o || !faceName || size <= 0) return 0;
  lstrcpyn(faceName, o->font.lfFaceName, size);
  return lstrlen(faceName);
}

int DrawText(HDC dc, LPCSTR text, int count, LPRECT rect, UINT format) {
  DeviceContext* d = Dc(dc);
  if (!d || !rect) return 0;
  std::string s = text ? (count < 0 ? std::string(text) : std::string(text, static_cast<size_t>(count))) : "";
  SIZE extent;
  GetTextExtentPoint32(dc, s.c_str(), static_cast<int>(s.size()), &extent);
  if (format & DT_CALCRECT) {
    rect->right = rect->left + extent.cx;
    rect->bottom = rect->top + extent.cy;
    return extent.cy;
  }
  char flags[16];
  std::snprintf(flags, sizeof flags, "0x%x", format);
  Draw(dc, "DrawText " + Quote(s) + " rect=" + Rect(*rect) + " flags=" + flags + TextState(*d));
  return extent.cy;
}

BOOL DrawState(HDC dc, HBRUSH, DRAWSTATEPROC proc, LPARAM data, WPARAM wData, int x, int y, int cx, int cy,
               UINT flags) {
  DeviceContext* d = Dc(dc);
  if (!d) return FALSE;
  UINT type = flags & 0x000F;
  char state[16];
  std::snprintf(state, sizeof state, "0x%x", flags & 0xFFF0);
  std::string where = " at " + std::to_string(x) + "," + std::to_string(y) + " size " + std::to_string(cx) + "x" +
                      std::to_string(cy) + " state=" + state;
  if (type == DST_TEXT || type == DST_PREFIXTEXT) {
    auto* text = reinterpret_cast<LPCSTR>(data);
    std::string s = wData ? std::string(text, wData) : std::string(text ? text : "");
    Draw(dc, std::string(type == DST_TEXT ? "DrawState text " : "DrawState prefixtext ") + Quote(s) + where +
                 TextState(*d));
  } else if (type == DST_ICON) {
    Draw(dc, "DrawState icon " + IconName(reinterpret_cast<HICON>(data)) + where);
  } else if (type == DST_BITMAP) {
    Draw(dc, "DrawState bitmap " + DescribeGdiObject(reinterpret_cast<HGDIOBJ>(data)) + where);
  } else {
    Draw(dc, "DrawState complex" + where);
    if (proc) proc(dc, data, wData, cx, cy);
  }
  return TRUE;
}

BOOL DrawFrameControl(HDC dc, LPRECT rect, UINT type, UINT state) {
  if (!Dc(dc) || !rect) return FALSE;
  Draw(dc, "DrawFrameControl rect=" + Rect(*rect) + " type=" + std::to_string(type) + " state=" + Hex(state));
  return TRUE;
}

BOOL DrawIcon(HDC dc, int x, int y, HICON icon) {
  if (!Dc(dc) || !icon) return FALSE;
  Draw(dc, "DrawIcon " + std::to_string(x) + "," + std::to_string(y) + " " + IconName(icon));
  return TRUE;
}

BOOL DrawFocusRect(HDC dc, const RECT* rect) {
  if (!Dc(dc) || !rect) return FALSE;
  Draw(dc, "DrawFocusRect rect=" + Rect(*rect));
  return TRUE;
}

BOOL DrawEdge(HDC dc, LPRECT rect, UINT edge, UINT flags) {
  if (!Dc(dc) || !rect) return FALSE;
  Draw(dc, "DrawEdge rect=" + Rect(*rect) + " edge=" + Hex(edge) + " flags=" + Hex(flags));
  return TRUE;
}

int FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
  if (!Dc(dc) || !rect) return 0;
  Draw(dc, "FillRect rect=" + Rect(*rect) + " " + DescribeGdiObject(brush));
  return 1;
}

int FrameRect(HDC dc, const RECT* rect, HBRUSH brush) {
  if (!Dc(dc) || !rect) return 0;
  Draw(dc, "FrameRect rect=" + Rect(*rect) + " " + DescribeGdiObject(brush));
  return 1;
}

BOOL TextOut(HDC dc, int x, int y, LPCSTR text, int count) {
  DeviceContext* d = Dc(dc);
  if (!d) return FALSE;
  std::string s = text ? std::string(text, static_cast<size_t>(std::max(0, count))) : "";
  Draw(dc, "TextOut " + Quote(s) + " at " + std::to_string(x) + "," + std::to_string(y) + TextState(*d));
  return TRUE;
}

BOOL ExtTextOut(HDC dc, int x, int y, UINT, const RECT*, LPCSTR text, UINT count, const INT*) {
  return TextOut(dc, x, y, text, static_cast<int>(count));
}

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom) {
  DeviceContext* d = Dc(dc);
  if (!d) return FALSE;
  Draw(dc, "Rectangle rect=" + Rect(RECT{left, top, right, bottom}) + " " + DescribeGdiObject(d->pen) + " " +
               DescribeGdiObject(d->brush));
  return TRUE;
}

BOOL MoveToEx(HDC dc, int x, int y, LPPOINT previous) {
  DeviceContext* d = Dc(dc);
  if (!d) return FALSE;
  if (previous) *previous = d->position;
  d->position = POINT{x, y};
  return TRUE;
}

BOOL LineTo(HDC dc, int x, int y) {
  DeviceContext* d = Dc(dc);
  if (!d) return FALSE;
  Draw(dc, "Line " + std::to_string(d->position.x) + "," + std::to_string(d->position.y) + " to " +
               std::to_string(x) + "," + std::to_string(y) + " " + DescribeGdiObject(d->pen));
  d->position = POINT{x, y};
  return TRUE;
}

BOOL BitBlt(HDC dc, int x, int y, int width, int height, HDC source, int, int, DWORD) {
  DeviceContext* s = Dc(source);
  if (!Dc(dc)) return FALSE;
  Draw(dc, "BitBlt " + std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(width) + "x" +
               std::to_string(height) + " from " + (s ? DescribeGdiObject(s->bitmap) : std::string("none")));
  return TRUE;
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color) {
  if (!Dc(dc)) return CLR_INVALID;
  Draw(dc, "SetPixel " + std::to_string(x) + "," + std::to_string(y) + " " + Color(color));
  return color;
}

BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD) {
  DeviceContext* d = Dc(dc);
  if (!d) return FALSE;
  Draw(dc, "PatBlt " + Rect(RECT{x, y, x + width, y + height}) + " " + DescribeGdiObject(d->brush));
  return TRUE;
}
