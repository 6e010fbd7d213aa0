// The About box: a formatted text about the product, its two links and three painted lines; a click
// on its surface closes it.
#pragma once

#include <afxwin.h>

#include "controls/EditorRichEdit.h"
#include "controls/HyperlinkLabel.h"
#include "resources/resource.h"

class AboutDialog : public CDialog {
 public:
  explicit AboutDialog(CWnd* parent = nullptr);
  enum { IDD = IDD_ABOUT };

  // The product's own words: the maker, the author, the release year and the addresses.
  static const char* const kMakerName;
  static const char* const kAuthorName;
  static const char* const kReleaseYear;
  static const char* const kHomePage;
  static const char* const kMailAddress;
  static const char* const kSupportAddress;

  // The document shown in the text area.
  static CString AboutRtf();

  EditorRichEdit m_aboutText;
  HyperlinkLabel m_homePageLink;
  HyperlinkLabel m_emailLink;
  CString m_footer;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  afx_msg void OnPaint();
  afx_msg void OnLButtonDown(UINT flags, CPoint point);
  DECLARE_MESSAGE_MAP()

 private:
  // The painted lines' fonts: only the second is ever created (see OnPaint).
  CFont m_makerFont;
  CFont m_titleFont;
  CFont m_yearFont;
};
