// The width edit of the editor: takes only the characters of a set, painted in fixed colours.
#pragma once

#include <afxwin.h>

class NumericEdit : public CEdit {
 public:
  NumericEdit();
  ~NumericEdit() override;

  // `allowList`: the string lists the characters taken (TRUE) or those refused (FALSE).
  void SetAllowedChars(LPCTSTR chars, BOOL allowList = TRUE);
  BOOL IsAcceptedChar(UINT character) const;

 protected:
  afx_msg void OnChar(UINT character, UINT repeat, UINT flags);
  afx_msg void OnKeyDown(UINT key, UINT repeat, UINT flags);
  afx_msg HBRUSH CtlColor(CDC* dc, UINT ctlColor);
  DECLARE_MESSAGE_MAP()

 private:
  COLORREF m_textColor;
  COLORREF m_backgroundColor;
  CBrush m_backgroundBrush;
  CString m_allowedChars;
  BOOL m_allowList;
};
