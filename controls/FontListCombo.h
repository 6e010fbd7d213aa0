// The font list of the editor: the TrueType faces of the system, each drawn in its own typeface.
#pragma once

#include <afxwin.h>

class FontListCombo : public CComboBox {
 public:
  FontListCombo();
  ~FontListCombo() override;

  // Empties the list and adds every accepted face of the control's device context.
  void Fill();
  // Whether a face that the enumeration reports goes into the list.
  static BOOL IsAcceptedFace(const LOGFONT& logFont, DWORD fontType);

  void MeasureItem(LPMEASUREITEMSTRUCT measure) override;
  void DrawItem(LPDRAWITEMSTRUCT draw) override;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT cs);
  afx_msg LRESULT OnFill(WPARAM, LPARAM);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  static int CALLBACK AddFace(const LOGFONT* logFont, const TEXTMETRIC* metric, DWORD fontType, LPARAM combo);
  void FreeFaceCopies();

  COLORREF m_selectedBackground;
  COLORREF m_textColor;
  COLORREF m_selectedTextColor;
  COLORREF m_background;
};
