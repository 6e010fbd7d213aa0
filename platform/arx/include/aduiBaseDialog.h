// Host stand-in: CAdUiBaseDialog, the base of the host's dialogs, and the editor-command hand-over.
#pragma once

#include <afxwin.h>

// A modal dialog that can step aside while the host runs its own prompts: BeginEditorCommand
// hides it and gives the host's windows back the input; CompleteEditorCommand shows it again.
class CAdUiBaseDialog : public CDialog {
  DECLARE_DYNAMIC(CAdUiBaseDialog)

 public:
  explicit CAdUiBaseDialog(UINT idd, CWnd* parent = nullptr, HINSTANCE resources = nullptr);
  ~CAdUiBaseDialog() override;

  INT_PTR DoModal() override;

  // The dialog steps aside: hidden, the owner enabled, host prompts may run.
  virtual void BeginEditorCommand();
  // The host prompts are done: with `restoreDialog` the dialog shows again and is modal again.
  virtual void CompleteEditorCommand(BOOL restoreDialog = TRUE);
  // The prompts were cancelled: the dialog shows again as it was.
  virtual void CancelEditorCommand();
  // True between BeginEditorCommand and CompleteEditorCommand or CancelEditorCommand.
  BOOL IsEditorCommandActive() const { return m_editorCommand; }

  // The section of the host application's profile where the dialog keeps its data; by default
  // the dialog's template id in lower-case hexadecimal.
  virtual CString GetDialogKey();

 protected:
  void OnOK() override;
  void OnCancel() override;

  UINT m_templateId;
  HINSTANCE m_resources;

 private:
  void Restore();
  BOOL m_editorCommand = FALSE;
  BOOL m_ownerWasDisabled = FALSE;
};
