// MFC stand-in: dialog data exchange in both directions, validation failures, menus routed to the
// message map, nested modal dialogs, and modeless dialogs.
#include "MfcFixture.h"

namespace {

class ExchangeDialog : public CDialog {
 public:
  ExchangeDialog() : CDialog(IDD_FORM) {}
  CString m_style;
  CString m_width;
  double m_number = 0;
  int m_check = 0;
  CComboBox m_styles;
  bool useNumber = false;
  bool numberLoaded = false;

  BOOL OnInitDialog() override {
    // The list exists before the exchange shows the member in it.
    ::SendDlgItemMessage(m_hWnd, IDC_STYLES, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Standard"));
    ::SendDlgItemMessage(m_hWnd, IDC_STYLES, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Bold"));
    return CDialog::OnInitDialog();
  }

 protected:
  void DoDataExchange(CDataExchange* dx) override {
    DDX_Control(dx, IDC_STYLES, m_styles);
    DDX_CBString(dx, IDC_STYLES, m_style);
    if (useNumber) {
      DDX_Text(dx, IDC_WIDTH, m_number);
    } else {
      DDX_Text(dx, IDC_WIDTH, m_width);
    }
    DDX_Check(dx, IDC_CHECK, m_check);
  }
};

using DataExchange = MfcTest;

TEST_F(DataExchange, MembersGoIntoTheControlsAndComeBack) {
  ExchangeDialog dialog;
  dialog.m_style = "Bold";
  dialog.m_width = "25";
  dialog.m_check = 1;
  ASSERT_TRUE(dialog.Create(IDD_FORM));
  EXPECT_EQ(dialog.m_styles.GetCurSel(), 0) << "the sorted list puts Bold first";
  char text[16];
  dialog.GetDlgItemText(IDC_WIDTH, text, sizeof text);
  EXPECT_STREQ(text, "25");
  EXPECT_EQ(dialog.IsDlgButtonChecked(IDC_CHECK), 1u);
  dialog.SetDlgItemText(IDC_WIDTH, "30");
  dialog.m_styles.SetWindowText("Italic");
  dialog.CheckDlgButton(IDC_CHECK, 0);
  ASSERT_TRUE(dialog.UpdateData(TRUE));
  EXPECT_EQ(dialog.m_width, "30");
  EXPECT_EQ(dialog.m_style, "Italic");
  EXPECT_EQ(dialog.m_check, 0);
  dialog.DestroyWindow();
}

TEST_F(DataExchange, AStringNotInTheListGoesIntoTheEditField) {
  ExchangeDialog dialog;
  dialog.m_style = "Annotative";
  ASSERT_TRUE(dialog.Create(IDD_FORM));
  EXPECT_EQ(dialog.m_styles.GetCurSel(), CB_ERR);
  CString shown;
  dialog.m_styles.GetWindowText(shown);
  EXPECT_EQ(shown, "Annotative");
  dialog.DestroyWindow();
}

TEST_F(DataExchange, ABadNumberFailsWithAMessageAndTheFocusOnTheField) {
  ExchangeDialog dialog;
  dialog.useNumber = true;
  dialog.m_number = 2.5;
  ASSERT_TRUE(dialog.Create(IDD_FORM));
  char text[16];
  dialog.GetDlgItemText(IDC_WIDTH, text, sizeof text);
  EXPECT_STREQ(text, "2.5");
  dialog.SetDlgItemText(IDC_WIDTH, "2,5");
  Event("answer", {"ok"});
  EXPECT_FALSE(dialog.UpdateData(TRUE));
  ASSERT_EQ(qwin::MessageBoxes().size(), 1u);
  EXPECT_EQ(qwin::MessageBoxes()[0].text, "Please enter a number.");
  EXPECT_EQ(::GetDlgCtrlID(::GetFocus()), IDC_WIDTH);
  dialog.DestroyWindow();
}

// ---- Menus through the message map ----

class MenuDialog : public CDialog {
 public:
  MenuDialog() : CDialog(IDD_FORM) {}
  std::vector<std::string> log;

 protected:
  afx_msg void OnContextMenu(CWnd*, CPoint point) {
    CMenu menu;
    menu.LoadMenu(IDR_CONTEXT);
    menu.GetSubMenu(0)->TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, this);
  }
  afx_msg void OnUndo() { log.push_back("OnUndo"); }
  afx_msg void OnSelectAll() { log.push_back("OnSelectAll"); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(MenuDialog, CDialog)
  ON_WM_CONTEXTMENU()
  ON_COMMAND(ID_EDIT_UNDO, OnUndo)
  ON_COMMAND(IDC_TEXT, OnSelectAll)
END_MESSAGE_MAP()

using Menus = MfcTest;

TEST_F(Menus, AChosenItemReachesTheOwnersMessageMap) {
  Event("rclick", {"dialog", "5", "5"});
  Event("menu", {"Select all"});
  Event("rclick", {"dialog", "5", "5"});
  Event("escape");
  Event("rclick", {"dialog", "5", "5"});
  Event("menu", {"Undo"});
  MenuDialog dialog;
  dialog.DoModal();
  EXPECT_EQ(dialog.log, (std::vector<std::string>{"OnSelectAll", "OnUndo"}));
  ASSERT_EQ(qwin::ShownMenus().size(), 3u);
  EXPECT_EQ(qwin::ShownMenus()[1].chosen, 0u);
}

// ---- Nested modal dialogs ----

class OuterDialog : public CDialog {
 public:
  OuterDialog() : CDialog(IDD_FORM) {}
  INT_PTR inner = 0;
  std::string waitInside;

 protected:
  afx_msg void OnPush() {
    ShowWindow(SW_HIDE);
    CDialog about(IDD_FORM, this);
    inner = about.DoModal();
    ShowWindow(SW_SHOW);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(OuterDialog, CDialog)
  ON_BN_CLICKED(IDC_PUSH, OnPush)
END_MESSAGE_MAP()

TEST_F(Menus, ANestedModalDialogTakesTheEventsUntilItEnds) {
  Event("click", {std::to_string(IDC_PUSH)});
  Event("click", {std::to_string(IDOK)});  // ends the inner dialog
  Event("key", {"escape"});                // ends the outer one
  OuterDialog dialog;
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(dialog.inner, IDOK);
  EXPECT_FALSE(qhost::InputQueue::Instance().RanOut());
}

}  // namespace
