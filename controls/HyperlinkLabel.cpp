// The link label of the About box: binding, colours, cursor, tooltip, auto size and opening.
#include "controls/HyperlinkLabel.h"

#include <shellapi.h>
#include <winreg.h>

namespace {

// The tooltip's one tool over the label.
constexpr UINT_PTR kToolId = 1;

// The default value of `key` below HKEY_CLASSES_ROOT, at most MAX_PATH bytes.
bool ReadClassesRootDefault(LPCTSTR key, CString& value) {
  HKEY handle = nullptr;
  if (RegOpenKeyEx(HKEY_CLASSES_ROOT, key, 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS) return false;
  char data[MAX_PATH];
  LONG size = MAX_PATH;
  const bool read = RegQueryValue(handle, nullptr, data, &size) == ERROR_SUCCESS;
  RegCloseKey(handle);
  if (read) value = data;
  return read;
}

}  // namespace

BEGIN_MESSAGE_MAP(HyperlinkLabel, CStatic)
  ON_CONTROL_REFLECT(STN_CLICKED, OnClicked)
  ON_WM_CTLCOLOR_REFLECT()
  ON_WM_SETCURSOR()
END_MESSAGE_MAP()

HyperlinkLabel::HyperlinkLabel()
    : m_linkColour(RGB(0, 0, 238)),
      m_visitedColour(RGB(85, 26, 139)),
      m_visited(FALSE),
      m_underline(TRUE),
      m_autoSize(TRUE),
      m_cursor(nullptr) {}

HyperlinkLabel::~HyperlinkLabel() = default;

void HyperlinkLabel::PreSubclassWindow() {
  ModifyStyle(0, SS_NOTIFY);
  CString text;
  GetWindowText(text);
  if (m_address.IsEmpty()) m_address = text;
  if (text.IsEmpty()) SetWindowText(m_address);
  FitToText();
  m_cursor = ::LoadCursor(nullptr, IDC_ARROW);
  CRect client;
  GetClientRect(client);
  m_toolTip.Create(this);
  m_toolTip.AddTool(this, m_address, client, kToolId);
  CStatic::PreSubclassWindow();
}

void HyperlinkLabel::SetAddress(LPCTSTR address) {
  m_address = address;
  FitToText();
  if (m_toolTip.m_hWnd) m_toolTip.UpdateTipText(m_address, this, kToolId);
}

void HyperlinkLabel::SetColours(COLORREF linkColour, COLORREF visitedColour) {
  m_linkColour = linkColour;
  m_visitedColour = visitedColour;
  if (m_hWnd) Invalidate();
}

void HyperlinkLabel::SetVisited(BOOL visited) {
  m_visited = visited;
  if (m_hWnd) Invalidate();
}

void HyperlinkLabel::SetUnderline(BOOL underline) {
  m_underline = underline;
  if (m_hWnd) Invalidate();
}

void HyperlinkLabel::SetAutoSize(BOOL autoSize) {
  m_autoSize = autoSize;
  if (m_hWnd) FitToText();
}

void HyperlinkLabel::FitToText() {
  if (!m_autoSize || !m_hWnd) return;
  CRect rect;
  GetWindowRect(rect);
  if (CWnd* parent = GetParent()) parent->ScreenToClient(rect);
  CString text;
  GetWindowText(text);
  CDC* dc = GetDC();
  CFont* previous = dc->SelectObject(GetFont());
  const CSize extent = dc->GetTextExtent(text);
  if (previous) dc->SelectObject(previous);
  ReleaseDC(dc);

  const DWORD style = GetStyle();
  if (style & SS_CENTERIMAGE) rect.top += (rect.Height() - extent.cy) / 2;
  rect.bottom = rect.top + extent.cy;
  // The alignment is a value of the type field, not a set of bits (SS_SIMPLE has the centre bit).
  const DWORD type = style & SS_TYPEMASK;
  if (type == SS_CENTER) {
    rect.left += (rect.Width() - extent.cx) / 2;
    rect.right = rect.left + extent.cx;
  } else if (type == SS_RIGHT) {
    rect.left = rect.right - extent.cx;
  } else {
    rect.right = rect.left + extent.cx;
  }
  SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER);
}

CString HyperlinkLabel::WebPageCommand() {
  CString handler;
  CString command;
  if (!ReadClassesRootDefault(".htm", handler)) return CString();
  if (!ReadClassesRootDefault(handler + "\\shell\\open\\command", command)) return CString();
  return command;
}

CString HyperlinkLabel::CommandForAddress(CString command, const CString& address) {
  int placeholder = command.Find("\"%1\"");
  if (placeholder < 0) placeholder = command.Find("%1");
  if (placeholder >= 0) command = command.Left(placeholder);
  return command + " " + address;
}

int HyperlinkLabel::OpenAddress() {
  HINSTANCE shell = ShellExecute(nullptr, "open", m_address, nullptr, nullptr, SW_SHOW);
  int result = static_cast<int>(reinterpret_cast<INT_PTR>(shell));
  if (result <= 32) {
    const CString command = WebPageCommand();
    if (!command.IsEmpty()) result = static_cast<int>(WinExec(CommandForAddress(command, m_address), SW_SHOW));
  }
  if (result > 32) {
    SetVisited(TRUE);
  } else {
    MessageBeep(MB_ICONEXCLAMATION);
    AfxMessageBox("Unable to open hyperlink:\n\n" + FailureText(result), MB_ICONEXCLAMATION);
  }
  return result;
}

CString HyperlinkLabel::FailureText(int result) {
  switch (result) {
    case 0: return "The operating system is out\nof memory or resources.";
    case SE_ERR_FNF: return "The specified file was not found.";
    case SE_ERR_PNF: return "The specified path was not found.";
    case SE_ERR_ACCESSDENIED: return "The operating system denied\naccess to the specified file.";
    case SE_ERR_OOM: return "There was not enough memory to complete the operation.";
    case ERROR_BAD_FORMAT: return "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).";
    case SE_ERR_SHARE: return "A sharing violation occurred. ";
    case SE_ERR_ASSOCINCOMPLETE: return "The filename association is\nincomplete or invalid.";
    case SE_ERR_DDETIMEOUT: return "The DDE transaction could not\nbe completed because the request timed out.";
    case SE_ERR_DDEFAIL: return "The DDE transaction failed.";
    case SE_ERR_DDEBUSY:
      return "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed.";
    case SE_ERR_NOASSOC: return "There is no application associated\nwith the given filename extension.";
    case SE_ERR_DLLNOTFOUND: return "The specified dynamic-link library was not found.";
    default: {
      CString text;
      text.Format("Unknown Error (%d) occurred.", result);
      return text;
    }
  }
}

BOOL HyperlinkLabel::PreTranslateMessage(MSG* pMsg) {
  if (m_toolTip.m_hWnd) m_toolTip.RelayEvent(pMsg);
  return CStatic::PreTranslateMessage(pMsg);
}

void HyperlinkLabel::OnClicked() { OpenAddress(); }

HBRUSH HyperlinkLabel::CtlColor(CDC* dc, UINT) {
  dc->SetTextColor(m_visited ? m_visitedColour : m_linkColour);
  if (m_underline) {
    if (!m_underlineFont.GetSafeHandle()) {
      LOGFONT logFont{};
      if (CFont* font = GetFont()) font->GetLogFont(&logFont);
      logFont.lfUnderline = 1;
      m_underlineFont.CreateFontIndirect(&logFont);
    }
    dc->SelectObject(&m_underlineFont);
  }
  dc->SetBkMode(TRANSPARENT);
  return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

BOOL HyperlinkLabel::OnSetCursor(CWnd*, UINT, UINT) {
  ::SetCursor(m_cursor);
  return TRUE;
}
