// MFC stand-in: message maps written with MFC's macros: commands and control notifications, window
// messages with their unpacked arguments, notifications, reflection to the controls, owner draw,
// and PreTranslateMessage on every input message.
#include "MfcFixture.h"

namespace {

using Log = std::vector<std::string>;

// A button that takes its own clicks (reflection) and says so.
class EatingButton : public CButton {
 public:
  Log* log = nullptr;
  bool eat = true;

 protected:
  afx_msg BOOL OnClicked() {
    if (log) log->push_back("button reflected click");
    return eat;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(EatingButton, CButton)
  ON_CONTROL_REFLECT_EX(BN_CLICKED, OnClicked)
END_MESSAGE_MAP()

// A label that paints itself in its own colour (reflected WM_CTLCOLOR).
class ColourLabel : public CStatic {
 public:
  CBrush brush{RGB(1, 2, 3)};
  HBRUSH CtlColor(CDC* dc, UINT kind) {
    dc->SetTextColor(RGB(238, 0, 0));
    seenKind = kind;
    return brush;
  }
  UINT seenKind = 99;

 protected:
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ColourLabel, CStatic)
  ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

// An owner-drawn font list: draws through reflection from its parent.
class FaceList : public CComboBox {
 public:
  Log drawn;
  void DrawItem(LPDRAWITEMSTRUCT item) override {
    CString text;
    if (static_cast<int>(item->itemID) >= 0) GetLBText(static_cast<int>(item->itemID), text);
    drawn.push_back(std::string((item->itemState & ODS_COMBOBOXEDIT) ? "field " : "item ") +
                    static_cast<LPCTSTR>(text));
  }
  void MeasureItem(LPMEASUREITEMSTRUCT item) override { item->itemHeight = 14; }
};

class FormDialog : public CDialog {
 public:
  FormDialog() : CDialog(IDD_FORM) {}
  Log log;
  EatingButton m_push;
  ColourLabel m_link;
  FaceList m_fonts;
  CComboBox m_styles;
  CRichEditCtrl m_text;
  CString m_styleText;
  CString m_widthText = "12.5";
  int m_check = 1;
  int preTranslated = 0;

  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    log.push_back("OnInitDialog");
    m_styles.AddString("Standard");
    m_styles.AddString("Bold");
    m_fonts.AddString("Times");
    m_fonts.AddString("Arial");
    m_text.SetEventMask(ENM_CHANGE | ENM_SELCHANGE);
    return TRUE;
  }
  BOOL PreTranslateMessage(MSG* msg) override {
    if (msg->message == WM_CHAR) ++preTranslated;
    return CDialog::PreTranslateMessage(msg);
  }

 protected:
  void DoDataExchange(CDataExchange* dx) override {
    DDX_Control(dx, IDC_PUSH, m_push);
    DDX_Control(dx, IDC_LINK, m_link);
    DDX_Control(dx, IDC_FONTS, m_fonts);
    DDX_Control(dx, IDC_STYLES, m_styles);
    DDX_Control(dx, IDC_TEXT, m_text);
    DDX_CBString(dx, IDC_STYLES, m_styleText);
    DDX_Text(dx, IDC_WIDTH, m_widthText);
    DDX_Check(dx, IDC_CHECK, m_check);
  }
  void OnOK() override {
    log.push_back("OnOK");
    CDialog::OnOK();
  }
  void OnCancel() override {
    log.push_back("OnCancel");
    CDialog::OnCancel();
  }
  afx_msg void OnPush() { log.push_back("OnPush"); }
  afx_msg void OnCheck() { log.push_back("OnCheck"); }
  afx_msg void OnStyleChosen() {
    CString text;
    m_styles.GetLBText(m_styles.GetCurSel(), text);
    log.push_back(std::string("OnStyleChosen ") + static_cast<LPCTSTR>(text));
  }
  afx_msg void OnStyleEdited() { log.push_back("OnStyleEdited"); }
  afx_msg void OnTextChanged() { log.push_back("OnTextChanged"); }
  afx_msg void OnSelChange(NMHDR* header, LRESULT* result) {
    auto* change = reinterpret_cast<SELCHANGE*>(header);
    log.push_back("OnSelChange " + std::to_string(change->chrg.cpMin));
    *result = 0;
  }
  afx_msg void OnSize(UINT type, int cx, int cy) {
    CDialog::OnSize(type, cx, cy);
    log.push_back("OnSize " + std::to_string(type) + " " + std::to_string(cx) + "x" + std::to_string(cy));
  }
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* info) {
    info->ptMinTrackSize = POINT{300, 200};
    log.push_back("OnGetMinMaxInfo");
  }
  afx_msg void OnSysCommand(UINT id, LPARAM lParam) {
    log.push_back("OnSysCommand " + std::to_string(id & 0xFFF0));
    CDialog::OnSysCommand(id, lParam);
  }
  afx_msg void OnShowWindow(BOOL show, UINT status) {
    CDialog::OnShowWindow(show, status);
    log.push_back("OnShowWindow " + std::to_string(show));
  }
  afx_msg UINT OnNcHitTest(CPoint point) {
    UINT hit = CDialog::OnNcHitTest(point);
    log.push_back("OnNcHitTest " + std::to_string(hit));
    return hit;
  }
  afx_msg void OnDestroy() {
    log.push_back("OnDestroy");
    CDialog::OnDestroy();
  }
  afx_msg void OnLButtonDown(UINT flags, CPoint point) {
    log.push_back("OnLButtonDown " + std::to_string(point.x) + "," + std::to_string(point.y));
    CDialog::OnLButtonDown(flags, point);
  }
  afx_msg LRESULT OnPrivate(WPARAM wParam, LPARAM lParam) { return static_cast<LRESULT>(wParam + lParam); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(FormDialog, CDialog)
  ON_BN_CLICKED(IDC_PUSH, OnPush)
  ON_BN_CLICKED(IDC_CHECK, OnCheck)
  ON_CBN_SELENDOK(IDC_STYLES, OnStyleChosen)
  ON_CBN_EDITCHANGE(IDC_STYLES, OnStyleEdited)
  ON_EN_CHANGE(IDC_TEXT, OnTextChanged)
  ON_NOTIFY(EN_SELCHANGE, IDC_TEXT, OnSelChange)
  ON_WM_SIZE()
  ON_WM_GETMINMAXINFO()
  ON_WM_SYSCOMMAND()
  ON_WM_SHOWWINDOW()
  ON_WM_NCHITTEST()
  ON_WM_DESTROY()
  ON_WM_LBUTTONDOWN()
  ON_MESSAGE(WM_USER + 123, OnPrivate)
END_MESSAGE_MAP()

using MessageMaps = MfcTest;

TEST_F(MessageMaps, InitialisationShowsTheDialogAfterOnInitDialog) {
  FormDialog dialog;
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  // sized at creation, shown when the modal loop starts, cancelled when the input ran out, destroyed
  EXPECT_EQ(dialog.log, (Log{"OnSize 0 360x195", "OnInitDialog", "OnShowWindow 1", "OnCancel", "OnDestroy"}));
  EXPECT_EQ(dialog.m_hWnd, nullptr);
  EXPECT_EQ(dialog.m_push.m_hWnd, nullptr) << "the controls are detached with their windows";
  EXPECT_EQ(qhost::InputQueue::Instance().RanOutWhile(), "dialog 200");
}

TEST_F(MessageMaps, CommandsAndNotificationsReachTheirHandlers) {
  Event("click", {std::to_string(IDC_CHECK)});
  Event("choose", {std::to_string(IDC_STYLES), "Bold"});
  Event("edit", {std::to_string(IDC_STYLES), "x"});
  Event("click", {std::to_string(IDOK)});
  FormDialog dialog;
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.log, (Log{"OnSize 0 360x195", "OnInitDialog", "OnShowWindow 1", "OnCheck", "OnStyleChosen Bold", "OnStyleEdited",
                             "OnOK", "OnDestroy"}));
  EXPECT_EQ(dialog.m_check, 0) << "the click unchecked it, and OnOK exchanged it back";
  EXPECT_EQ(dialog.m_styleText, "x");
}

TEST_F(MessageMaps, ReflectedClicksCanBeEatenByTheControl) {
  Event("click", {std::to_string(IDC_PUSH)});
  Event("click", {std::to_string(IDC_PUSH)});
  FormDialog dialog;
  dialog.m_push.log = &dialog.log;
  dialog.DoModal();
  EXPECT_EQ(std::count(dialog.log.begin(), dialog.log.end(), "button reflected click"), 2);
  EXPECT_EQ(std::count(dialog.log.begin(), dialog.log.end(), "OnPush"), 0) << "an eaten click never reaches the parent";
}

TEST_F(MessageMaps, ADeclinedReflectionGoesOnToTheParent) {
  Event("click", {std::to_string(IDC_PUSH)});
  FormDialog dialog;
  dialog.m_push.log = &dialog.log;
  dialog.m_push.eat = false;
  dialog.DoModal();
  EXPECT_EQ(dialog.log, (Log{"OnSize 0 360x195", "OnInitDialog", "OnShowWindow 1", "button reflected click", "OnPush", "OnCancel",
                             "OnDestroy"}));
}

TEST_F(MessageMaps, RichEditNotificationsArriveAsCommandAndNotify) {
  Event("focus", {std::to_string(IDC_TEXT)});
  Event("type", {"a"});
  FormDialog dialog;
  dialog.DoModal();
  EXPECT_EQ(dialog.log, (Log{"OnSize 0 360x195", "OnInitDialog", "OnShowWindow 1", "OnSelChange 1", "OnTextChanged", "OnCancel",
                             "OnDestroy"}));
}

TEST_F(MessageMaps, WindowMessagesGetTheirArgumentsUnpacked) {
  Event("resize", {"250", "180"});
  Event("minimize");
  Event("restore");
  FormDialog dialog;
  dialog.DoModal();
  // the minimum from OnGetMinMaxInfo applies to the user's resizing
  Log expected{"OnSize 0 360x195", "OnInitDialog", "OnShowWindow 1", "OnGetMinMaxInfo", "OnSize 0 292x173", "OnSysCommand 61472",
               "OnSize 1 0x0", "OnSysCommand 61728", "OnSize 0 292x173", "OnCancel", "OnDestroy"};
  EXPECT_EQ(dialog.log, expected);
}

TEST_F(MessageMaps, ClicksOnTheSurfaceHitTestAndPrivateMessagesReturnTheirResult) {
  Event("click", {"dialog", "12", "30"});
  FormDialog dialog;
  dialog.DoModal();
  EXPECT_NE(std::find(dialog.log.begin(), dialog.log.end(), "OnLButtonDown 12,30"), dialog.log.end());
  FormDialog modeless;
  ASSERT_TRUE(modeless.Create(IDD_FORM));
  EXPECT_EQ(modeless.SendMessage(WM_USER + 123, 40, 2), 42);
  CRect window;
  modeless.GetWindowRect(&window);
  modeless.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(window.left + 20, window.top + 40));
  EXPECT_EQ(modeless.log.back(), "OnNcHitTest 1");
  modeless.DestroyWindow();
}

TEST_F(MessageMaps, TheModalLoopPaintsWhatItShowsThroughTheOwnerDrawControls) {
  Event("choose", {std::to_string(IDC_FONTS), "Times"});
  FormDialog dialog;
  dialog.DoModal();
  // shown: the empty selection field; chosen: the list drawn, then the field repainted when it closes
  EXPECT_EQ(dialog.m_fonts.drawn, (Log{"field ", "item Arial", "item Times", "field Times"}));
}

TEST_F(MessageMaps, EveryInputMessagePassesPreTranslateMessage) {
  Event("type", {"ab"});
  FormDialog dialog;
  dialog.DoModal();
  EXPECT_EQ(dialog.preTranslated, 2) << "each typed character passes PreTranslateMessage";
}

TEST_F(MessageMaps, ReflectedCtlColorAndOwnerDrawReachTheControls) {
  FormDialog dialog;
  ASSERT_TRUE(dialog.Create(IDD_FORM));
  dialog.ShowWindow(SW_SHOW);
  dialog.m_link.UpdateWindow();
  EXPECT_EQ(dialog.m_link.seenKind, static_cast<UINT>(CTLCOLOR_STATIC));
  ASSERT_FALSE(qwin::GdiRecord().empty());
  EXPECT_NE(qwin::GdiRecord().back().find("color=#ee0000"), std::string::npos) << qwin::GdiRecord().back();
  dialog.m_fonts.ShowDropDown(TRUE);
  EXPECT_EQ(dialog.m_fonts.drawn, (Log{"item Arial", "item Times"}));
  dialog.DestroyWindow();
}

}  // namespace

namespace {

// A dialog with tooltips fed by PreTranslateMessage, as the editor dialog does it.
class TipDialog : public CDialog {
 public:
  TipDialog() : CDialog(IDD_FORM) {}
  CToolTipCtrl m_tip;
  std::string snapshot;

  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    m_tip.Create(this);
    m_tip.AddTool(GetDlgItem(IDC_PUSH), "\xc2\xfb\xf0\xe5\xe7\xe0\xf2\xfc");
    m_tip.AddTool(GetDlgItem(IDC_CHECK), "Check");
    m_tip.Activate(TRUE);
    return TRUE;
  }
  BOOL PreTranslateMessage(MSG* msg) override {
    if (m_tip.m_hWnd) m_tip.RelayEvent(msg);
    return CDialog::PreTranslateMessage(msg);
  }
  void OnCancel() override {
    snapshot = qwin::Snapshot(m_tip.m_hWnd);
    CDialog::OnCancel();
  }
};

TEST_F(MessageMaps, TooltipsShowTheToolUnderTheMouseFromRelayedMessages) {
  Event("hover", {std::to_string(IDC_CHECK)});
  TipDialog dialog;
  dialog.DoModal();
  EXPECT_NE(dialog.snapshot.find("tool 1102 \"Check\" showing"), std::string::npos) << dialog.snapshot;
  EXPECT_NE(dialog.snapshot.find("tool 1101 \"\xc2\xfb\xf0\xe5\xe7\xe0\xf2\xfc\"\n"), std::string::npos);
}

TEST_F(MessageMaps, MessagesAControlDoesNotImplementAreNamedOnce) {
  FormDialog dialog;
  ASSERT_TRUE(dialog.Create(IDD_FORM));
  dialog.m_styles.SendMessage(CB_DIR, 0, 0);
  const auto& names = qwin::Unimplemented();
  EXPECT_NE(std::find(names.begin(), names.end(), "COMBOBOX CB_DIR"), names.end());
  dialog.DestroyWindow();
}

}  // namespace

namespace {

// Status panes as the editor updates them: their text set again on every message, which repaints them.
class PaneDialog : public CDialog {
 public:
  PaneDialog() : CDialog(IDD_FORM) {}
  int paints = 0;
  BOOL PreTranslateMessage(MSG* msg) override {
    if (msg->message == WM_PAINT) ++paints;
    if (m_hWnd) SetDlgItemText(IDC_LINK, (GetKeyState(VK_CAPITAL) & 1) ? "CAP" : "");
    return CDialog::PreTranslateMessage(msg);
  }
};

TEST_F(MessageMaps, AWindowThatRepaintsItselfOnEveryMessageDoesNotKeepTheInputWaiting) {
  Event("keyboard", {"caps", "on"});
  Event("type", {"x"});
  PaneDialog dialog;
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_GT(dialog.paints, 0);
  EXPECT_LT(dialog.paints, 100) << "each window is painted at most once between two input events";
}

}  // namespace
