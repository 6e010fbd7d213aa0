// MFC stand-in: CDialog (modal over the input queue, modeless, initialisation through the dialog
// procedure as MFC does it) and dialog data exchange.
#include <afxwin.h>

#include <cfloat>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "mfc/src/AfxState.h"
#include "qplatform/WindowServices.h"

using afxdetail::State;

namespace {

// MFC's dialog procedure: only WM_INITDIALOG, which becomes the dialog object's OnInitDialog.
INT_PTR CALLBACK AfxDlgProc(HWND window, UINT message, WPARAM, LPARAM) {
  if (message != WM_INITDIALOG) return FALSE;
  auto* dialog = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(window));
  return dialog ? dialog->OnInitDialog() : TRUE;
}

// MFC's AfxSetWindowText: only a different text is set, so that an unchanged control is not touched.
void SetWindowTextIfChanged(HWND window, LPCTSTR text) {
  int length = lstrlen(text);
  char old[256];
  if (length > static_cast<int>(sizeof old) - 1 || ::GetWindowText(window, old, sizeof old) != length ||
      lstrcmp(old, text) != 0) {
    ::SetWindowText(window, text);
  }
}

CString TextOf(HWND window) {
  CString text;
  int length = ::GetWindowTextLength(window);
  ::GetWindowText(window, text.GetBufferSetLength(length), length + 1);
  text.ReleaseBuffer();
  return text;
}

}  // namespace

// ---- CDialog ----

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
  ON_COMMAND(IDOK, OnOK)
  ON_COMMAND(IDCANCEL, OnCancel)
  ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
END_MESSAGE_MAP()

CDialog::CDialog() = default;

CDialog::CDialog(UINT nIDTemplate, CWnd* parent)
    : m_lpszTemplateName(MAKEINTRESOURCE(nIDTemplate)), m_nIDHelp(nIDTemplate), m_pParentWnd(parent) {}

CDialog::CDialog(LPCTSTR templateName, CWnd* parent) : m_lpszTemplateName(templateName), m_pParentWnd(parent) {}

CDialog::~CDialog() {
  if (m_hWnd) DestroyWindow();
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) { return Default(); }

BOOL CDialog::OnInitDialog() {
  // Binds the controls and shows the members in them (DoDataExchange).
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::EndDialog(int result) {
  if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL)) EndModalLoop(result);
  ::EndDialog(m_hWnd, result);
}

BOOL CDialog::CreateDlgIndirect(LPCDLGTEMPLATE dialogTemplate, CWnd* parent, HINSTANCE instance) {
  AfxHookWindowCreate(this);
  HWND window = ::CreateDialogIndirectParam(instance, dialogTemplate, parent ? parent->m_hWnd : nullptr, AfxDlgProc, 0);
  AfxUnhookWindowCreate();
  if (!window && m_hWnd) Detach();
  return window != nullptr;
}

BOOL CDialog::Create(LPCTSTR templateName, CWnd* parent) {
  m_lpszTemplateName = templateName;
  if (parent) m_pParentWnd = parent;
  HINSTANCE instance = AfxFindResourceHandle(templateName, RT_DIALOG);
  HRSRC resource = ::FindResource(instance, templateName, RT_DIALOG);
  if (!resource) return FALSE;
  auto dialogTemplate = static_cast<LPCDLGTEMPLATE>(::LockResource(::LoadResource(instance, resource)));
  return CreateDlgIndirect(dialogTemplate, m_pParentWnd, instance);
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* parent) { return Create(MAKEINTRESOURCE(nIDTemplate), parent); }

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATE dialogTemplate, CWnd* parent) {
  if (parent) m_pParentWnd = parent;
  return CreateDlgIndirect(dialogTemplate, m_pParentWnd, AfxGetResourceHandle());
}

HWND CDialog::PreModal() {
  CWnd* parent = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
  return parent ? parent->GetTopLevelParent()->GetSafeHwnd() : nullptr;
}

void CDialog::PostModal() { AfxUnhookWindowCreate(); }

INT_PTR CDialog::DoModal() {
  if (!m_lpszTemplateName) return -1;
  HINSTANCE instance = AfxFindResourceHandle(m_lpszTemplateName, RT_DIALOG);
  HRSRC resource = ::FindResource(instance, m_lpszTemplateName, RT_DIALOG);
  if (!resource) {
    std::cerr << "qplatform: CDialog::DoModal: no dialog template "
              << (IS_INTRESOURCE(m_lpszTemplateName) ? std::to_string(LOWORD(m_lpszTemplateName)) : m_lpszTemplateName)
              << " in the application or its extension libraries\n";
    return -1;
  }
  auto dialogTemplate = static_cast<LPCDLGTEMPLATE>(::LockResource(::LoadResource(instance, resource)));
  HWND parent = PreModal();
  bool enableParent = false;
  if (parent && ::IsWindowEnabled(parent)) {
    ::EnableWindow(parent, FALSE);
    enableParent = true;
  }
  m_nModalResult = -1;
  m_nFlags |= WF_CONTINUEMODAL;
  const void* outerTemplate = State().modalTemplate;
  State().modalTemplate = dialogTemplate;
  if (CreateDlgIndirect(dialogTemplate, CWnd::FromHandle(parent), instance)) {
    if (m_nFlags & WF_CONTINUEMODAL) RunModalLoop(0);
    if (m_hWnd) SetWindowPos(nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER);
  }
  State().modalTemplate = outerTemplate;
  m_nFlags &= ~WF_CONTINUEMODAL;
  if (enableParent) ::EnableWindow(parent, TRUE);
  if (parent && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(parent);
  DestroyWindow();
  PostModal();
  return m_nModalResult;
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
  if (CWnd::PreTranslateMessage(pMsg)) return TRUE;
  // Escape in a multi-line edit closes the dialog as the cancel button would.
  if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_ESCAPE || pMsg->wParam == VK_CANCEL) &&
      (::GetWindowLong(pMsg->hwnd, GWL_STYLE) & ES_MULTILINE)) {
    char cls[16];
    ::GetClassName(pMsg->hwnd, cls, sizeof cls);
    if (lstrcmpi(cls, "Edit") == 0) {
      HWND cancel = ::GetDlgItem(m_hWnd, IDCANCEL);
      if (!cancel || ::IsWindowEnabled(cancel)) {
        SendMessage(WM_COMMAND, IDCANCEL, 0);
        return TRUE;
      }
    }
  }
  return PreTranslateInput(pMsg);
}

BOOL CDialog::PreTranslateInput(MSG* pMsg) {
  bool keyboard = pMsg->message >= WM_KEYDOWN && pMsg->message <= WM_SYSCHAR;
  bool mouse = pMsg->message >= WM_MOUSEMOVE && pMsg->message <= WM_RBUTTONDBLCLK;
  if (!keyboard && !mouse) return FALSE;
  return ::IsDialogMessage(m_hWnd, pMsg);
}

void CDialog::NextDlgCtrl() const { ::SendMessage(m_hWnd, WM_NEXTDLGCTL, 0, 0); }
void CDialog::PrevDlgCtrl() const { ::SendMessage(m_hWnd, WM_NEXTDLGCTL, 1, 0); }
void CDialog::GotoDlgCtrl(CWnd* control) {
  ::SendMessage(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control->m_hWnd), 1);
}
void CDialog::SetDefID(UINT nID) { ::SendMessage(m_hWnd, DM_SETDEFID, nID, 0); }
DWORD CDialog::GetDefID() const { return static_cast<DWORD>(::SendMessage(m_hWnd, DM_GETDEFID, 0, 0)); }
void CDialog::MapDialogRect(LPRECT rect) const { ::MapDialogRect(m_hWnd, rect); }

// ---- Data exchange ----

HWND CDataExchange::PrepareCtrl(int nIDC) {
  HWND control = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
  if (!control) {
    std::cerr << "qplatform: data exchange: no control " << nIDC << " in the dialog\n";
    throw new CUserException;
  }
  m_hWndLastControl = control;
  m_bEditLastControl = FALSE;
  return control;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
  HWND control = PrepareCtrl(nIDC);
  m_bEditLastControl = TRUE;
  return control;
}

void CDataExchange::Fail() {
  if (!m_bSaveAndValidate) throw new CUserException;
  if (m_hWndLastControl) {
    ::SetFocus(m_hWndLastControl);
    if (m_bEditLastControl) ::SendMessage(m_hWndLastControl, EM_SETSEL, 0, -1);
  }
  throw new CUserException;
}

void AFXAPI DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
  if (rControl.m_hWnd) return;
  HWND control = pDX->PrepareCtrl(nIDC);
  if (!rControl.SubclassWindow(control)) {
    std::cerr << "qplatform: DDX_Control: control " << nIDC << " is bound to another object already\n";
    throw new CUserException;
  }
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
  HWND control = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    value = TextOf(control);
  } else {
    SetWindowTextIfChanged(control, value);
  }
}

namespace {

template <typename T>
void TextNumber(CDataExchange* pDX, int nIDC, T& value, const char* format, bool isFloat, bool isSigned) {
  HWND control = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    CString text = TextOf(control);
    text.TrimLeft();
    text.TrimRight();
    const char* begin = text;
    char* end = nullptr;
    bool ok = true;
    if (isFloat) {
      double v = std::strtod(begin, &end);
      value = static_cast<T>(v);
    } else if (isSigned) {
      long v = std::strtol(begin, &end, 10);
      value = static_cast<T>(v);
    } else {
      ok = *begin != '-';
      unsigned long v = std::strtoul(begin, &end, 10);
      value = static_cast<T>(v);
    }
    if (!ok || end == begin || *end != 0) {
      AfxMessageBox(isFloat ? "Please enter a number." : "Please enter an integer.", MB_ICONEXCLAMATION);
      pDX->Fail();
    }
  } else {
    char buffer[64];
    if (isFloat) {
      std::snprintf(buffer, sizeof buffer, format, static_cast<double>(value));
    } else {
      std::snprintf(buffer, sizeof buffer, format, value);
    }
    SetWindowTextIfChanged(control, buffer);
  }
}

}  // namespace

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, int& value) { TextNumber(pDX, nIDC, value, "%d", false, true); }
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) { TextNumber(pDX, nIDC, value, "%u", false, false); }
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, long& value) { TextNumber(pDX, nIDC, value, "%ld", false, true); }
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, double& value) {
  TextNumber(pDX, nIDC, value, "%.15g", true, true);
}
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, float& value) { TextNumber(pDX, nIDC, value, "%.6g", true, true); }

void AFXAPI DDX_CBString(CDataExchange* pDX, int nIDC, CString& value) {
  HWND control = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    value = TextOf(control);
  } else if (::SendMessage(control, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(
                                                                                 static_cast<LPCTSTR>(value))) == CB_ERR) {
    // Not in the list: the edit field shows it (a drop-down list ignores it).
    SetWindowTextIfChanged(control, value);
  }
}

void AFXAPI DDX_CBStringExact(CDataExchange* pDX, int nIDC, CString& value) {
  HWND control = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    value = TextOf(control);
    return;
  }
  LRESULT index = ::SendMessage(control, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(value)));
  if (index == CB_ERR) {
    SetWindowTextIfChanged(control, value);
  } else {
    ::SendMessage(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
}

void AFXAPI DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index) {
  HWND control = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    index = static_cast<int>(::SendMessage(control, CB_GETCURSEL, 0, 0));
  } else {
    ::SendMessage(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
}

void AFXAPI DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
  HWND control = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    value = static_cast<int>(::SendMessage(control, BM_GETCHECK, 0, 0));
  } else {
    ::SendMessage(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
  }
}

void AFXAPI DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
  HWND control = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) value = -1;
  // The group runs from the first control to the next one with WS_GROUP.
  int index = 0;
  for (HWND h = control; h; h = ::GetWindow(h, GW_HWNDNEXT), ++index) {
    if (h != control && (::GetWindowLong(h, GWL_STYLE) & WS_GROUP)) break;
    if (::SendMessage(h, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
      if (pDX->m_bSaveAndValidate) {
        if (::SendMessage(h, BM_GETCHECK, 0, 0)) value = index;
      } else {
        ::SendMessage(h, BM_SETCHECK, index == value, 0);
      }
    }
  }
}

void AFXAPI DDV_MaxChars(CDataExchange* pDX, const CString& value, int maxChars) {
  if (pDX->m_bSaveAndValidate && value.GetLength() > maxChars) {
    AfxMessageBox("Enter no more characters than allowed.", MB_ICONEXCLAMATION);
    pDX->Fail();
  } else if (!pDX->m_bSaveAndValidate && pDX->m_hWndLastControl) {
    ::SendMessage(pDX->m_hWndLastControl, EM_LIMITTEXT, static_cast<WPARAM>(maxChars), 0);
  }
}

void AFXAPI DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal) {
  if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal)) {
    CString text;
    text.Format("Please enter an integer between %d and %d.", minVal, maxVal);
    AfxMessageBox(text, MB_ICONEXCLAMATION);
    pDX->Fail();
  }
}

void AFXAPI DDV_MinMaxDouble(CDataExchange* pDX, const double& value, double minVal, double maxVal) {
  if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal)) {
    CString text;
    text.Format("Please enter a number between %.15g and %.15g.", minVal, maxVal);
    AfxMessageBox(text, MB_ICONEXCLAMATION);
    pDX->Fail();
  }
}
