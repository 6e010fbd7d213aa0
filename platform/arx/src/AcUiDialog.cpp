// CAdUiBaseDialog and CAcUiDialog: modal dialogs that step aside while the host prompts.
#include "acuiDialog.h"

#include <cstdio>

IMPLEMENT_DYNAMIC(CAdUiBaseDialog, CDialog)
IMPLEMENT_DYNAMIC(CAcUiDialog, CAdUiBaseDialog)

CAdUiBaseDialog::CAdUiBaseDialog(UINT idd, CWnd* parent, HINSTANCE resources)
    : CDialog(idd, parent), m_templateId(idd), m_resources(resources) {}

CAdUiBaseDialog::~CAdUiBaseDialog() = default;

INT_PTR CAdUiBaseDialog::DoModal() {
  // A dialog given its own resource instance finds its template there first.
  HINSTANCE outer = AfxGetResourceHandle();
  if (m_resources) AfxSetResourceHandle(m_resources);
  INT_PTR result = CDialog::DoModal();
  if (m_resources) AfxSetResourceHandle(outer);
  m_editorCommand = FALSE;
  return result;
}

void CAdUiBaseDialog::BeginEditorCommand() {
  if (!m_hWnd || m_editorCommand) return;
  m_editorCommand = TRUE;
  ShowWindow(SW_HIDE);
  // The modal run disabled the owner; the host's prompts need it back while they run.
  HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
  m_ownerWasDisabled = owner && !::IsWindowEnabled(owner);
  if (m_ownerWasDisabled) ::EnableWindow(owner, TRUE);
}

void CAdUiBaseDialog::Restore() {
  if (!m_hWnd || !m_editorCommand) return;
  m_editorCommand = FALSE;
  HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
  if (owner && m_ownerWasDisabled) ::EnableWindow(owner, FALSE);
  ShowWindow(SW_SHOW);
  ::SetActiveWindow(m_hWnd);
}

void CAdUiBaseDialog::CompleteEditorCommand(BOOL restoreDialog) {
  if (restoreDialog) {
    Restore();
  } else {
    m_editorCommand = FALSE;
  }
}

void CAdUiBaseDialog::CancelEditorCommand() { Restore(); }

CString CAdUiBaseDialog::GetDialogKey() {
  char key[16];
  std::snprintf(key, sizeof key, "%x", m_templateId);
  return CString(key);
}

void CAdUiBaseDialog::OnOK() { CDialog::OnOK(); }

void CAdUiBaseDialog::OnCancel() { CDialog::OnCancel(); }

CAcUiDialog::CAcUiDialog(UINT idd, CWnd* parent, HINSTANCE resources) : CAdUiBaseDialog(idd, parent, resources) {}

CAcUiDialog::~CAcUiDialog() = default;
