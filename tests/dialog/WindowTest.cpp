// The editor as a window and its property actions: the remembered size in section "1388", the
// anchored controls, tooltips, and the toolbar actions that write the target's properties.
#include <stdlib.h>

#include <cstdio>
#include <string>

#include "DialogFixture.h"
#include "qplatform/Profile.h"

namespace {

class EditorWindow : public EditorDialogTest {
 protected:
  void SetUp() override {
    EditorDialogTest::SetUp();
    char pattern[] = "/tmp/quillon-editor-XXXXXX";
    m_folder = mkdtemp(pattern);
    qmfc::SetProfileFolder(m_folder);
  }
  void TearDown() override {
    EditorDialogTest::TearDown();
    const char* profile = AfxGetApp()->m_pszProfileName;
    std::remove(qmfc::ProfilePath(profile != nullptr ? profile : "").c_str());
    std::remove(m_folder.c_str());
    qmfc::SetProfileFolder("");
  }
  static int Remembered(const char* key) {
    return static_cast<int>(AfxGetApp()->GetProfileInt("1388", key, 0));
  }
  CRect ClientRectOf(int id) {
    CRect rect;
    dialog->GetDlgItem(id)->GetWindowRect(rect);
    dialog->ScreenToClient(rect);
    return rect;
  }
  std::string m_folder;
};

using EditorActions = EditorDialogTest;

// ---- Size, anchors and tooltips ----

TEST_F(EditorWindow, OpensAtTheRememberedSize) {
  AfxGetApp()->WriteProfileInt("1388", "CX", 900);
  AfxGetApp()->WriteProfileInt("1388", "CY", 400);
  OpenEditor();
  CRect window;
  dialog->GetWindowRect(window);
  EXPECT_EQ(window.Width(), 900);
  EXPECT_EQ(window.Height(), 400);
}

TEST_F(EditorWindow, AnUnresizedDialogRemembersNothing) {
  OpenEditor();
  dialog->DestroyWindow();
  EXPECT_EQ(Remembered("CX"), 0);
  EXPECT_EQ(Remembered("CY"), 0);
}

TEST_F(EditorWindow, GrowingStretchesTheTextAndMovesThePanesOnly) {
  OpenEditor();
  const CRect text = ClientRectOf(IDC_RICHEDIT), pane = ClientRectOf(IDC_CAP_PANE), bold = ClientRectOf(IDC_BOLD);
  CRect window;
  dialog->GetWindowRect(window);
  dialog->SetWindowPos(nullptr, 0, 0, window.Width() + 40, window.Height() + 30, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(ClientRectOf(IDC_RICHEDIT), CRect(text.left, text.top, text.right + 40, text.bottom + 30));
  EXPECT_EQ(ClientRectOf(IDC_CAP_PANE), CRect(pane.left + 40, pane.top + 30, pane.right + 40, pane.bottom + 30));
  EXPECT_EQ(ClientRectOf(IDC_BOLD), bold);
  dialog->DestroyWindow();
  EXPECT_EQ(Remembered("CX"), window.Width() + 40);
  EXPECT_EQ(Remembered("CY"), window.Height() + 30);
}

TEST_F(EditorWindow, EveryToolbarControlHasItsTip) {
  OpenEditor();
  ASSERT_NE(dialog->m_toolTip, nullptr);
  EXPECT_EQ(dialog->m_toolTip->GetToolCount(), 28);
}

TEST_F(EditorWindow, SystemMenuEndsWithTheAboutItem) {
  OpenEditor();
  CMenu* menu = dialog->GetSystemMenu(FALSE);
  ASSERT_NE(menu, nullptr);
  const int count = static_cast<int>(menu->GetMenuItemCount());
  ASSERT_GE(count, 2);
  EXPECT_EQ(menu->GetMenuItemID(count - 1), static_cast<UINT>(IDM_ABOUTBOX));
  CString text;
  menu->GetMenuString(count - 1, text, MF_BYPOSITION);
  EXPECT_EQ(std::string(text.GetString()), "О программе..");
  EXPECT_EQ(menu->GetMenuItemID(count - 2), 0u);  // the separator
}

TEST_F(EditorWindow, TheClientCornerIsTheSizeGrip) {
  OpenEditor();
  CRect client;
  dialog->GetClientRect(client);
  CPoint corner(client.right - 2, client.bottom - 2), middle = client.CenterPoint();
  dialog->ClientToScreen(&corner);
  dialog->ClientToScreen(&middle);
  EXPECT_EQ(dialog->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(corner.x, corner.y)), HTBOTTOMRIGHT);
  EXPECT_EQ(dialog->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(middle.x, middle.y)), HTCLIENT);
}

TEST_F(EditorWindow, PaintingDrawsTheGrip) {
  OpenEditor();
  dialog->ShowWindow(SW_SHOW);
  dialog->Invalidate();
  dialog->UpdateWindow();
  CRect client;
  dialog->GetClientRect(client);
  const std::string grip = "DrawFrameControl rect=" + std::to_string(client.right - GetSystemMetrics(SM_CXHSCROLL)) + "," +
                           std::to_string(client.bottom - GetSystemMetrics(SM_CYVSCROLL)) + "," +
                           std::to_string(client.right) + "," + std::to_string(client.bottom) +
                           " type=" + std::to_string(DFC_SCROLL) + " state=0x8";
  bool drawn = false;
  for (const std::string& op : qwin::GdiRecord()) drawn = drawn || op.find(grip) != std::string::npos;
  EXPECT_TRUE(drawn) << grip << " in " << ::testing::PrintToString(qwin::GdiRecord());
}

// ---- Property actions write at once, whatever the mode ----

TEST_F(EditorActions, RotationFromTheListInRadians) {
  OpenEditor();
  dialog->m_rotationCombo.SetCurSel(dialog->m_rotationCombo.FindStringExact(-1, "90"));
  const int before = Writes();
  dialog->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_ROTATION, CBN_SELENDOK),
                      reinterpret_cast<LPARAM>(dialog->m_rotationCombo.m_hWnd));
  EXPECT_EQ(theEditTarget.rotation, 1.5707963267948966);
  EXPECT_EQ(Writes(), before + 1);
}

TEST_F(EditorActions, JustificationButtonsWriteAndReleaseTheOthers) {
  OpenEditor();
  Click(IDC_JUSTIFY_RIGHT);
  EXPECT_EQ(theEditTarget.justification, 2);
  Click(IDC_JUSTIFY_CENTRE);
  EXPECT_EQ(theEditTarget.justification, 1);
  EXPECT_EQ(dialog->m_justifyRightButton.GetCheck(), 0);
  EXPECT_EQ(dialog->m_justifyLeftButton.GetCheck(), 0);
}

TEST_F(EditorActions, LineSpacingStaysWithinItsRange) {
  theEditTarget.lineSpacingFactor = 1.0;
  OpenEditor();
  for (int i = 0; i < 320; ++i) Click(IDC_SPACING_UP);
  EXPECT_NEAR(theEditTarget.lineSpacingFactor, 4.01, 1e-9);
  for (int i = 0; i < 320; ++i) Click(IDC_SPACING_DOWN);
  EXPECT_NEAR(theEditTarget.lineSpacingFactor, 1.0, 1e-9);
  const int before = Writes();
  Click(IDC_SPACING_DOWN);
  EXPECT_EQ(Writes(), before);
}

// ---- Character format actions reach the drawing through the change notification ----

TEST_F(EditorActions, FontItemSetsItsFaceWithoutTheRemark) {
  OpenEditor();
  qplatform::TypeText(Editor(), "ab");
  struct Case {
    const char* item;
    const char* face;
  };
  for (const Case& c : {Case{"Courier New (fixed)", "Courier New"}, Case{"Arial", "Arial"}}) {
    int item = dialog->m_fontCombo.FindStringExact(-1, c.item);
    if (item < 0) item = dialog->m_fontCombo.AddString(c.item);
    // the selection first: a selection change shows the selection's own face in the list
    dialog->m_richEdit.SetSel(0, 2);
    dialog->m_fontCombo.SetCurSel(item);
    dialog->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_FONT, CBN_SELENDOK),
                        reinterpret_cast<LPARAM>(dialog->m_fontCombo.m_hWnd));
    EXPECT_EQ(std::string(dialog->m_richEdit.GetFaceName().GetString()), c.face) << c.item;
  }
}

}  // namespace
