// MFC stand-in under a resizable dialog as the editor makes one: controls anchored to the size
// change, the creation size as minimum, a grip hit test, and the size remembered in the profile.
#include <cstdio>

#include "MfcFixture.h"
#include "qplatform/Profile.h"

namespace {

class ResizingDialog : public CDialog {
 public:
  ResizingDialog() : CDialog(IDD_FORM) {}
  CSize m_minTrack{0, 0};
  CSize m_lastClient{0, 0};
  CRect textAtEnd;
  CRect pushAtEnd;
  CRect windowAtEnd;
  UINT gripHit = 0;

 protected:
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    int cx = static_cast<int>(AfxGetApp()->GetProfileInt("1388", "CX", 0));
    int cy = static_cast<int>(AfxGetApp()->GetProfileInt("1388", "CY", 0));
    if (cx && cy) SetWindowPos(nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER);
    return TRUE;
  }
  afx_msg int OnCreate(LPCREATESTRUCT cs) {
    if (CDialog::OnCreate(cs) == -1) return -1;
    m_minTrack = CSize(cs->cx, cs->cy);
    return 0;
  }
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* info) {
    if (m_minTrack.cx) {
      info->ptMinTrackSize = POINT{m_minTrack.cx, m_minTrack.cy};
    } else {
      CDialog::OnGetMinMaxInfo(info);
    }
  }
  // The text area stretches right and down; the link label moves right and down.
  afx_msg void OnSize(UINT type, int cx, int cy) {
    CDialog::OnSize(type, cx, cy);
    if (type == SIZE_MINIMIZED) return;
    int dx = cx - m_lastClient.cx;
    int dy = cy - m_lastClient.cy;
    if (m_lastClient.cx) {
      CWnd* text = GetDlgItem(IDC_TEXT);
      CRect r;
      text->GetWindowRect(&r);
      ScreenToClient(&r);
      text->MoveWindow(r.left, r.top, r.Width() + dx, r.Height() + dy);
      CWnd* link = GetDlgItem(IDC_LINK);
      link->GetWindowRect(&r);
      ScreenToClient(&r);
      link->MoveWindow(r.left + dx, r.top + dy, r.Width(), r.Height());
    }
    m_lastClient = CSize(cx, cy);
  }
  afx_msg UINT OnNcHitTest(CPoint point) {
    UINT hit = CDialog::OnNcHitTest(point);
    CRect window;
    GetWindowRect(&window);
    CRect grip(window.right - 16, window.bottom - 16, window.right, window.bottom);
    if (hit == HTCLIENT && grip.PtInRect(point)) hit = HTBOTTOMRIGHT;
    gripHit = hit;
    return hit;
  }
  afx_msg void OnDestroy() {
    CRect window;
    GetWindowRect(&window);
    AfxGetApp()->WriteProfileInt("1388", "CX", window.Width());
    AfxGetApp()->WriteProfileInt("1388", "CY", window.Height());
    CDialog::OnDestroy();
  }
  void OnCancel() override {
    GetDlgItem(IDC_TEXT)->GetWindowRect(&textAtEnd);
    ScreenToClient(&textAtEnd);
    GetDlgItem(IDC_PUSH)->GetWindowRect(&pushAtEnd);
    ScreenToClient(&pushAtEnd);
    GetWindowRect(&windowAtEnd);
    SendMessage(WM_NCHITTEST, 0, MAKELPARAM(windowAtEnd.right - 8, windowAtEnd.bottom - 8));
    CDialog::OnCancel();
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ResizingDialog, CDialog)
  ON_WM_CREATE()
  ON_WM_GETMINMAXINFO()
  ON_WM_SIZE()
  ON_WM_NCHITTEST()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

using Resizing = ProfileFolderTest;

TEST_F(Resizing, GrowingMovesAndStretchesTheAnchoredControlsOnly) {
  ResizingDialog first;
  first.DoModal();
  CRect text = first.textAtEnd;
  CRect push = first.pushAtEnd;
  CSize size = first.windowAtEnd.Size();

  Event("resize", {std::to_string(size.cx + 40), std::to_string(size.cy + 30)});
  ResizingDialog grown;
  grown.DoModal();
  EXPECT_EQ(grown.textAtEnd.Width(), text.Width() + 40);
  EXPECT_EQ(grown.textAtEnd.Height(), text.Height() + 30);
  EXPECT_EQ(grown.textAtEnd.TopLeft(), text.TopLeft());
  EXPECT_EQ(grown.pushAtEnd, push) << "a control without an anchor keeps its place and size";
  EXPECT_EQ(grown.gripHit, static_cast<UINT>(HTBOTTOMRIGHT));
}

TEST_F(Resizing, TheCreationSizeIsTheMinimumAndTheSizeIsRememberedForTheNextRun) {
  ResizingDialog first;
  first.DoModal();
  CSize created = first.windowAtEnd.Size();
  Event("resize", {"100", "80"});
  ResizingDialog smaller;
  smaller.DoModal();
  EXPECT_EQ(smaller.windowAtEnd.Size(), created) << "it cannot shrink below its template size";

  Event("resize", {std::to_string(created.cx + 100), std::to_string(created.cy + 50)});
  ResizingDialog grown;
  grown.DoModal();
  ResizingDialog next;
  next.DoModal();
  EXPECT_EQ(next.windowAtEnd.Size(), CSize(created.cx + 100, created.cy + 50)) << "restored from the profile";
}

}  // namespace
