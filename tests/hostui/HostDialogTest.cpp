// The host's dialog base: a modal run that steps aside for a host prompt and comes back.
#include <acedads.h>
#include <acui.h>

#include <string>

#include "HostUiResource.h"
#include "qplatform/Host.h"
#include "qplatform/Transcript.h"
#include "win32/Fixture.h"

namespace {

class HostDialogTest : public WindowSystemTest {
 protected:
  void SetUp() override {
    WindowSystemTest::SetUp();
    qhost::ResetSession();
  }
  void TearDown() override {
    qhost::ResetSession();
    WindowSystemTest::TearDown();
  }
};

// Clicking "Pick" hands over to acedGetPoint between BeginEditorCommand and CompleteEditorCommand.
class PickDialog : public CAcUiDialog {
 public:
  explicit PickDialog(CWnd* parent) : CAcUiDialog(IDD_HOSTUI, parent) {}
  int result = 0;
  ads_point point = {0, 0, 0};
  bool hiddenWhilePrompting = false;
  bool ownerEnabledWhilePrompting = false;
  bool activeDuringPrompt = false;

 protected:
  afx_msg void OnPick() {
    BeginEditorCommand();
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    hiddenWhilePrompting = !IsWindowVisible();
    ownerEnabledWhilePrompting = ::IsWindowEnabled(owner) != 0;
    activeDuringPrompt = IsEditorCommandActive() != 0;
    result = acedGetPoint(nullptr, "\nPoint: ", point);
    CompleteEditorCommand();
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(PickDialog, CAcUiDialog)
  ON_BN_CLICKED(IDC_PICK, OnPick)
END_MESSAGE_MAP()

TEST_F(HostDialogTest, EditorCommandHidesTheDialogAndLetsTheHostPromptTakeTheNextEvent) {
  HWND frame = CreateFrame();
  ShowWindow(frame, SW_SHOW);
  Event("click", {std::to_string(IDC_PICK)});
  Event("point", {"3", "4"});
  Event("escape");
  PickDialog dialog(CWnd::FromHandle(frame));
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_TRUE(dialog.hiddenWhilePrompting);
  EXPECT_TRUE(dialog.ownerEnabledWhilePrompting);
  EXPECT_TRUE(dialog.activeDuringPrompt);
  EXPECT_EQ(dialog.result, RTNORM);
  EXPECT_EQ(dialog.point[0], 3.0);
  EXPECT_EQ(dialog.point[1], 4.0);
  EXPECT_FALSE(dialog.IsEditorCommandActive());
  // The escape after the prompt reached the dialog again, and the owner came back enabled.
  EXPECT_TRUE(qwin::InputErrors().empty());
  EXPECT_TRUE(::IsWindowEnabled(frame));
  ::DestroyWindow(frame);
}

// While the dialog is back, its owner is disabled again: it is still modal.
class CheckOwnerDialog : public PickDialog {
 public:
  using PickDialog::PickDialog;
  bool ownerDisabledAfter = false;
  void OnCancel() override {
    ownerDisabledAfter = !::IsWindowEnabled(::GetWindow(m_hWnd, GW_OWNER));
    CAcUiDialog::OnCancel();
  }
};

TEST_F(HostDialogTest, CompletingTheEditorCommandMakesTheDialogModalAgain) {
  HWND frame = CreateFrame();
  Event("click", {std::to_string(IDC_PICK)});
  Event("enter");
  Event("escape");
  CheckOwnerDialog dialog(CWnd::FromHandle(frame));
  dialog.DoModal();
  EXPECT_EQ(dialog.result, RTNONE);
  EXPECT_TRUE(dialog.ownerDisabledAfter);
  ::DestroyWindow(frame);
}

// The profile section is the template id in lower-case hexadecimal unless a dialog says otherwise.
TEST_F(HostDialogTest, DialogKeyIsTheTemplateIdInHexadecimal) {
  CAcUiDialog editor(5000);
  EXPECT_EQ(std::string(editor.GetDialogKey()), "1388");
  CAdUiBaseDialog about(5064);
  EXPECT_EQ(std::string(about.GetDialogKey()), "13c8");
}

}  // namespace
