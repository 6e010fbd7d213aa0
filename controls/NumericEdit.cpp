// The width edit of the editor: a character filter over typed characters, fixed colours.
#include "controls/NumericEdit.h"

BEGIN_MESSAGE_MAP(NumericEdit, CEdit)
  ON_WM_CHAR()
  ON_WM_KEYDOWN()
  ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

NumericEdit::NumericEdit()
    : m_textColor(RGB(0, 0, 0)),
      m_backgroundColor(RGB(255, 255, 255)),
      m_allowedChars("1 2 3 4 5 6 7 8 9 0 ,"),
      m_allowList(TRUE) {
  m_backgroundBrush.CreateSolidBrush(m_backgroundColor);
}

NumericEdit::~NumericEdit() { m_backgroundBrush.DeleteObject(); }

void NumericEdit::SetAllowedChars(LPCTSTR chars, BOOL allowList) {
  m_allowedChars = chars;
  m_allowList = allowList;
}

BOOL NumericEdit::IsAcceptedChar(UINT character) const {
  // Backspace and blank pass in either mode.
  if (character == 8 || character == 32) return TRUE;
  if (m_allowedChars.IsEmpty()) return m_allowList;
  const bool listed = m_allowedChars.Find(static_cast<TCHAR>(character)) >= 0;
  return listed ? m_allowList : !m_allowList;
}

void NumericEdit::OnChar(UINT character, UINT repeat, UINT flags) {
  if (IsAcceptedChar(character)) CEdit::OnChar(character, repeat, flags);
}

void NumericEdit::OnKeyDown(UINT key, UINT repeat, UINT flags) { CEdit::OnKeyDown(key, repeat, flags); }

HBRUSH NumericEdit::CtlColor(CDC* dc, UINT) {
  dc->SetTextColor(m_textColor);
  dc->SetBkColor(m_backgroundColor);
  return m_backgroundBrush;
}
