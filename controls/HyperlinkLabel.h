// A static text that behaves as a link: hand cursor, its address as a tooltip, link and visited
// colours, and opening of the address through the shell or the registered handler of web pages.
#pragma once

#include <afxcmn.h>
#include <afxwin.h>

class HyperlinkLabel : public CStatic {
 public:
  HyperlinkLabel();
  ~HyperlinkLabel() override;

  void SetAddress(LPCTSTR address);
  CString GetAddress() const { return m_address; }
  void SetColours(COLORREF linkColour, COLORREF visitedColour);
  COLORREF GetLinkColour() const { return m_linkColour; }
  COLORREF GetVisitedColour() const { return m_visitedColour; }
  void SetVisited(BOOL visited = TRUE);
  BOOL GetVisited() const { return m_visited; }
  void SetUnderline(BOOL underline = TRUE);
  BOOL GetUnderline() const { return m_underline; }
  void SetAutoSize(BOOL autoSize = TRUE);
  void SetLinkCursor(HCURSOR cursor) { m_cursor = cursor; }
  HCURSOR GetLinkCursor() const { return m_cursor; }

  // Fits the window to its text, keeping the side (or the centre) that the text is aligned to.
  void FitToText();
  // Opens the address; what the shell or the handler reported (above 32 is success).
  int OpenAddress();
  // The user's words for an open's failure code.
  static CString FailureText(int result);
  // The command that the handler of ".htm" files registers, "" when the registry has none.
  static CString WebPageCommand();
  // A handler's command line with the address in place of its placeholder.
  static CString CommandForAddress(CString command, const CString& address);

  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  void PreSubclassWindow() override;
  afx_msg void OnClicked();
  afx_msg HBRUSH CtlColor(CDC* dc, UINT ctlColor);
  afx_msg BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
  DECLARE_MESSAGE_MAP()

 private:
  COLORREF m_linkColour;
  COLORREF m_visitedColour;
  BOOL m_visited;
  BOOL m_underline;
  BOOL m_autoSize;
  CString m_address;
  CFont m_underlineFont;
  HCURSOR m_cursor;
  CToolTipCtrl m_toolTip;
};
