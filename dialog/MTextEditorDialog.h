// The editor dialog: the rich edit text area with its toolbar, the values it exchanges with the
// editing run, and the window state of a resizable dialog that remembers its size.
#pragma once

#include <acui.h>
#include <afxcmn.h>
#include <afxcoll.h>
#include <afxwin.h>

#include <memory>

#include "controls/EditorRichEdit.h"
#include "controls/FontListCombo.h"
#include "controls/NumericEdit.h"
#include "host/EditorWindow.h"
#include "resources/resource.h"

class FindDialog;

class MTextEditorDialog : public CAcUiDialog, public EditorWindow {
 public:
  enum { IDD = IDD_MTEXT_EDITOR };

  explicit MTextEditorDialog(CWnd* parent = nullptr);
  ~MTextEditorDialog() override;

  // Controls of template 5000.
  EditorRichEdit m_richEdit;
  CComboBox m_styleCombo;
  CButton m_cutButton;
  CButton m_copyButton;
  CButton m_pasteButton;
  CButton m_justifyLeftButton;
  CButton m_justifyCentreButton;
  CButton m_justifyRightButton;
  CButton m_undoButton;
  CButton m_editTextButton;
  CButton m_aboutButton;
  CButton m_exitButton;
  CStatic m_capPane;
  CStatic m_numPane;
  CStatic m_layoutPane;
  CComboBox m_rotationCombo;
  CComboBox m_heightCombo;
  CButton m_pickPointButton;
  CAcUiColorComboBox m_colorCombo;
  FontListCombo m_fontCombo;
  CButton m_boldButton;
  CButton m_italicButton;
  CButton m_underlineButton;
  CButton m_symbolButton;
  CButton m_spacingUpButton;
  CButton m_spacingDownButton;
  CComboBox m_spacingStyleCombo;
  CButton m_offsetYButton;
  CButton m_offsetXButton;
  CButton m_offsetDirectionCheck;
  NumericEdit m_widthEdit;
  CButton m_dynamicModeCheck;

  CToolTipCtrl* m_toolTip;
  HICON m_icon;
  static constexpr int kFaceCount = 22;
  CBitmap m_bitmaps[kFaceCount];

  // Values exchanged with the controls.
  CString m_styleText;
  CString m_heightText;
  CString m_rotationText;
  CString m_richText;
  int m_boldCheck;
  int m_italicCheck;
  int m_underlineCheck;
  int m_offsetDirection;
  int m_dynamicMode;
  // The MText contents last converted from the rich text; what WriteTarget writes.
  CString m_mtextContents;

  // The editor as the editing run reaches it.
  void ShowTarget(const ShownTarget& shown) override;
  CString EditorRtf() override;
  void KeepConverted(const CString& contents) override;
  // Exchanges the controls' values and writes the converted text and the style box's text.
  void WriteTarget() override;

  // Resizing state.
  bool m_rememberSize;
  bool m_showGrip;
  CSize m_minTrackSize;
  CSize m_lastClientSize;
  bool m_sizeChanged;
  CRect m_gripRect;
  CDWordArray m_anchors;  // low word the control id, high word how it follows the frame
  int m_dialogId;

  // Anchor flags.
  static constexpr DWORD kMoveRight = 1;
  static constexpr DWORD kMoveDown = 2;
  static constexpr DWORD kStretchRight = 4;
  static constexpr DWORD kStretchDown = 8;

  // Actions of the toolbar and of the window, reached from the handlers below.
  void ApplyColourAction();
  void ApplyStyleAction();
  void ApplyHeightAction(const CString& text);
  void ApplyFontAction();
  void ApplyJustification(Justification justification);
  void ApplyRotation(double degrees);
  void ToggleEffectAction(DWORD effect);
  bool BoldItalicOffered();
  void UpdateBoldItalic();
  bool EffectKey(const MSG& msg);
  // Ctrl+F and Ctrl+H open the find window, in find and in replace mode.
  bool FindKey(const MSG& msg);
  std::unique_ptr<FindDialog> m_findDialog;  // made on the first Ctrl+F or Ctrl+H
  void ChangeLineSpacing(bool up);
  void ApplyLineSpacingStyle();
  void UpdateFromSelection();
  void StartSymbolPicker();
  void SayTextIsFull();
  void EditAnotherText();
  void PickInsertionPoint();
  void NudgeX();
  void NudgeY();
  // The nudge buttons' directions: +X and +Y move the text while the direction toggle is on,
  // -X and -Y while it is off.
  enum class NudgeDirection { kPlusX = 1, kPlusY = 2, kMinusX = 3, kMinusY = 4 };
  void NudgeText(NudgeDirection direction);
  void ShowNextTarget();
  void ReturnFromHost();
  void SetOffsetMode();
  void FinishTarget();
  // Erases the target MText when the text area shows no text (see EraseIfEmpty).
  void EraseTargetIfEmpty();
  void CreateToolTips();
  void RenewToolTips();
  void UpdateStatusPanes();
  void RestoreRememberedSize();
  void SaveSize();
  void ShowAboutBox();
  static CSize GripSize();

 protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL PreTranslateMessage(MSG* msg) override;
  BOOL OnInitDialog() override;
  void OnCancel() override;
  void OnOK() override;
  CString GetDialogKey() override;

  afx_msg void OnSysCommand(UINT id, LPARAM lParam);
  afx_msg void OnAboutButton();
  afx_msg void OnPaint();
  afx_msg void OnStyleSelected();
  afx_msg void OnHeightSelected();
  afx_msg void OnShowWindow(BOOL show, UINT status);
  afx_msg void OnEditTextButton();
  afx_msg void OnUndoButton();
  afx_msg void OnCutButton();
  afx_msg void OnCopyButton();
  afx_msg void OnPasteButton();
  afx_msg void OnJustifyLeft();
  afx_msg void OnJustifyCentre();
  afx_msg void OnJustifyRight();
  afx_msg void OnPickPointButton();
  afx_msg void OnRotationEdited();
  afx_msg void OnRotationSelected();
  afx_msg void OnColorSelected();
  afx_msg void OnItalicButton();
  afx_msg void OnUnderlineButton();
  afx_msg void OnBoldButton();
  afx_msg void OnRichTextChanged();
  afx_msg void OnRichTextFull();
  afx_msg void OnFontSelected();
  afx_msg void OnRichSelectionChanged();
  afx_msg void OnSymbolButton();
  afx_msg void OnSpacingUp();
  afx_msg void OnSpacingDown();
  afx_msg void OnSpacingStyleSelected();
  afx_msg void OnOffsetXButton();
  afx_msg void OnOffsetYButton();
  afx_msg void OnOffsetDirection();
  afx_msg void OnWidthKillFocus();
  afx_msg void OnHeightEdited();
  afx_msg void OnDynamicMode();
  afx_msg void OnSize(UINT type, int cx, int cy);
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* info);
  afx_msg void OnDestroy();
  afx_msg int OnCreate(LPCREATESTRUCT cs);
  afx_msg UINT OnNcHitTest(CPoint point);
  afx_msg HCURSOR OnQueryDragIcon();
  afx_msg void OnContextMenu(CWnd* wnd, CPoint point);
  DECLARE_MESSAGE_MAP()
};
