// The editor as a window and its property actions: the remembered size in section "1388", the
// anchored controls, tooltips, and the toolbar actions that write the target's properties.
#include <stdlib.h>

#include <cstdio>
#include <memory>
#include <optional>
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

TEST_F(EditorWindow, MinimisingAndRestoringMoveNothing) {
  OpenEditor();
  dialog->ShowWindow(SW_SHOW);
  const CRect text = ClientRectOf(IDC_RICHEDIT), pane = ClientRectOf(IDC_LAYOUT_PANE);
  dialog->ShowWindow(SW_MINIMIZE);
  dialog->ShowWindow(SW_RESTORE);
  EXPECT_EQ(ClientRectOf(IDC_RICHEDIT), text);
  EXPECT_EQ(ClientRectOf(IDC_LAYOUT_PANE), pane);
}

// The panes follow the keyboard on every message that passes through the dialog.
TEST_F(EditorWindow, PanesShowTheLocksAndTheKnownLayouts) {
  OpenEditor();
  MSG msg{};
  msg.hwnd = dialog->m_hWnd;
  msg.message = WM_MOUSEMOVE;
  struct Step {
    const char* what;
    bool capsOn, capsHeld, numOn;
    const char* layout;
    const char* cap;
    const char* num;
    const char* shown;
  };
  const Step steps[] = {
      {"Russian layout, no locks", false, false, false, "00000419", "", "", "RUS"},
      {"Caps Lock on", true, false, false, "00000419", "CAP", "", "RUS"},
      {"Caps Lock held down shows nothing", true, true, false, "00000409", "", "", "LAT"},
      {"Num Lock on", false, false, true, "00000409", "", "NUM", "LAT"},
      {"an unknown layout leaves the pane as it was", false, false, false, "00000422", "", "", "LAT"},
  };
  for (const Step& step : steps) {
    qwin::SetKeyToggled(VK_CAPITAL, step.capsOn);
    qwin::SetKeyDown(VK_CAPITAL, step.capsHeld);
    qwin::SetKeyToggled(VK_NUMLOCK, step.numOn);
    qwin::SetKeyboardLayoutName(step.layout);
    static_cast<CWnd*>(dialog.get())->PreTranslateMessage(&msg);  // as the message loop calls it
    EXPECT_EQ(Text(IDC_CAP_PANE), step.cap) << step.what;
    EXPECT_EQ(Text(IDC_NUM_PANE), step.num) << step.what;
    EXPECT_EQ(Text(IDC_LAYOUT_PANE), step.shown) << step.what;
  }
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

// Answers the About box's wait with a click on its surface, noting what the user saw then.
class AboutBoxWatcher : public qhost::InputSource {
 public:
  explicit AboutBoxWatcher(HWND editor) : m_editor(editor) {}
  std::optional<qhost::InputEvent> Next(const std::string& waitingFor) override {
    if (m_answered) return std::nullopt;
    m_answered = true;
    waitedFor = waitingFor;
    editorVisibleMeanwhile = IsWindowVisible(m_editor) != FALSE;
    return qhost::InputEvent{"click", {"dialog", "300", "20"}, "about box watcher"};
  }
  std::string waitedFor;
  bool editorVisibleMeanwhile = true;

 private:
  HWND m_editor;
  bool m_answered = false;
};

TEST_F(EditorWindow, TheAboutBoxHidesTheEditorUntilItClosesAndRenewsTheTips) {
  OpenEditor();
  dialog->ShowWindow(SW_SHOW);
  const CToolTipCtrl* before = dialog->m_toolTip;
  auto watcher = std::make_unique<AboutBoxWatcher>(dialog->m_hWnd);
  AboutBoxWatcher* seen = watcher.get();
  qhost::InputQueue::Instance().SetSource(std::move(watcher));
  Click(IDC_ABOUT);
  EXPECT_EQ(seen->waitedFor, "dialog 5064");
  EXPECT_FALSE(seen->editorVisibleMeanwhile);
  EXPECT_TRUE(dialog->IsWindowVisible());
  EXPECT_TRUE(qwin::InputErrors().empty());
  ASSERT_NE(dialog->m_toolTip, nullptr);
  EXPECT_NE(dialog->m_toolTip, before) << "the tooltips are made anew";
  EXPECT_EQ(dialog->m_toolTip->GetToolCount(), 28);
}

TEST_F(EditorWindow, TheSystemMenuItemOpensTheAboutBox) {
  OpenEditor();
  auto watcher = std::make_unique<AboutBoxWatcher>(dialog->m_hWnd);
  AboutBoxWatcher* seen = watcher.get();
  qhost::InputQueue::Instance().SetSource(std::move(watcher));
  dialog->SendMessage(WM_SYSCOMMAND, IDM_ABOUTBOX | 0x000F, 0);
  EXPECT_EQ(seen->waitedFor, "dialog 5064");
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

TEST_F(EditorWindow, MinimisedItDrawsItsIconInstead) {
  OpenEditor();
  dialog->ShowWindow(SW_SHOW);
  dialog->ShowWindow(SW_MINIMIZE);
  dialog->Invalidate();
  dialog->UpdateWindow();
  bool icon = false;
  for (const std::string& op : qwin::GdiRecord()) icon = icon || op.find("DrawIcon") != std::string::npos;
  EXPECT_TRUE(icon) << ::testing::PrintToString(qwin::GdiRecord());
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
  EXPECT_EQ(theEditTarget.justification, Justification::kRight);
  Click(IDC_JUSTIFY_CENTRE);
  EXPECT_EQ(theEditTarget.justification, Justification::kCentre);
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
    EXPECT_EQ(std::string(dialog->m_richEdit.GetSelectionFormat(CFM_FACE).szFaceName), c.face) << c.item;
  }
}

}  // namespace
