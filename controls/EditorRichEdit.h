// The rich edit control of the editor and of the About box: RTF exchange, selection formats,
// context menu, the limited paste, and change and selection notifications forwarded to the parent.
#pragma once

#include <afxcmn.h>
#include <afxwin.h>
#include <richedit.h>

#include <vector>

class EditorRichEdit : public CRichEditCtrl {
 public:
  // Every format the toolbar shows or sets: bold, italic, underline, colour, face and size.
  static constexpr DWORD kFullFormatMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_COLOR | CFM_FACE | CFM_SIZE;

  // The codes of the WM_COMMAND the control sends its parent after each change of its text and
  // each change of its selection.
  static constexpr UINT kTextChangedCode = 1;
  static constexpr UINT kSelectionChangedCode = 0;

  // `codeFace` is the face that marks code text (text shown and written back as it is written);
  // without one, no text is code text.
  explicit EditorRichEdit(const char* codeFace = nullptr);
  ~EditorRichEdit() override;

  // True while LimitedPaste pastes: the parent's selection handler knows the pasted text by it.
  bool Pasting() const { return m_pasting; }

  // The whole contents as one RTF document, and a document that replaces them.
  CString GetRtf();
  void SetRtf(CString rtf);
  // The selection as an RTF document, and a document that replaces the selection as one step
  // of the control's undo.
  CString GetSelectionRtf();
  void ReplaceSelectionRtf(CString rtf);
  // For each character position, whether it holds code text. Leaves the selection as it was and
  // notifies nothing.
  std::vector<bool> CodeTextMap();

  // The selection's character format as the control reports it for `mask`.
  CHARFORMAT GetSelectionFormat(DWORD mask);
  // Flips `effect` where the selection has it uniformly, sets it where the selection is mixed.
  void ToggleEffect(DWORD maskBit, DWORD effect);
  PARAFORMAT GetSelectionParaFormat();
  void SetFaceName(LPCTSTR faceName);
  // `points` to the selection, or as the control's default format when `asDefault`.
  void SetSize(double points, BOOL asDefault = FALSE);

  // The length of the clipboard's text; 0 when there is none, or when it is too long to paste,
  // which the user is told.
  int ClipboardTextLength();
  // Pastes the clipboard's text unless it is too long, and selects what was pasted.
  void LimitedPaste();

 protected:
  afx_msg void OnChar(UINT nChar, UINT repeat, UINT flags);
  afx_msg void OnChange();
  afx_msg void OnSelChange(NMHDR* header, LRESULT* result);
  afx_msg void OnRButtonDown(UINT flags, CPoint point);
  afx_msg void OnEditUndo();
  afx_msg void OnEditCopy();
  afx_msg void OnEditCut();
  afx_msg void OnEditPaste();
  afx_msg void OnSelectAll();
  DECLARE_MESSAGE_MAP()

 private:
  CString m_codeFace;
  bool m_pasting = false;

  bool IsCodeFace(const CHARFORMAT& format) const;
  void ForwardToParent(UINT code);
  // Code text (the reserved face) is made by loading only: what is typed or pasted at a marked
  // run's edge takes the face of the text beside it instead.
  void LeaveCodeFace();
  // Every complete "\U+XXXX" typed or pasted in [first, last) becomes code text; true if any did.
  bool MarkUnicodeCodes(long first, long last);
  // The face of the nearest character that is not code text, looking back from `at` first.
  CString TextFaceNear(long at);
};
