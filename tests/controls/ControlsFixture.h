// Shared set-up of the controls tests: a dialog from a small template that holds the editor's text
// area, font list and width edit, and logs what its text area forwards.
#pragma once

#include <afxcmn.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "controls/EditorRichEdit.h"
#include "controls/FontListCombo.h"
#include "controls/NumericEdit.h"
#include "data/ControlsTestResource.h"
#include "converter/KeptCodes.h"
#include "win32/Fixture.h"

using Log = std::vector<std::string>;

class ControlsDialog : public CDialog {
 public:
  // The text area marks code text in `codeFace`, as the editor's does; null for none.
  explicit ControlsDialog(const char* codeFace = keptcodes::kCodeFace) : CDialog(IDD_CONTROLS), m_richEdit(codeFace) {}
  EditorRichEdit m_richEdit;
  FontListCombo m_fontCombo;
  NumericEdit m_widthEdit;
  // The forwarded codes ("code 1", "code 0", "code 0 pasting" while a paste is under way) and
  // the buttons' actions, in order.
  Log log;
  // Runs when the dialog is cancelled, while its windows still exist.
  std::function<void(ControlsDialog&)> atEnd;

 protected:
  void DoDataExchange(CDataExchange* dx) override {
    DDX_Control(dx, IDC_FONT_LIST, m_fontCombo);
    DDX_Control(dx, IDC_WIDTH_EDIT, m_widthEdit);
    DDX_Control(dx, IDC_RICH_TEXT, m_richEdit);
  }
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    m_richEdit.SetEventMask(0x00080205);
    m_fontCombo.Fill();
    m_widthEdit.SetAllowedChars("1 2 3 4 5 6 7 8 9 0  .");
    return TRUE;
  }
  void OnCancel() override {
    if (atEnd) atEnd(*this);
    CDialog::OnCancel();
  }
  afx_msg void OnTextChanged() { log.push_back("code 1" + Sender()); }
  afx_msg void OnSelectionChanged() { log.push_back((m_richEdit.Pasting() ? "code 0 pasting" : "code 0") + Sender()); }
  afx_msg void OnPasteButton() {
    m_richEdit.LimitedPaste();
    log.push_back("paste");
  }
  afx_msg void OnBoldButton() {
    m_richEdit.ToggleEffect(CFM_BOLD, CFE_BOLD);
    log.push_back("bold");
  }
  DECLARE_MESSAGE_MAP()

 private:
  // Marks a notification whose sender is not the text area's window.
  std::string Sender() {
    const MSG* message = GetCurrentMessage();
    return reinterpret_cast<HWND>(message->lParam) == m_richEdit.m_hWnd ? "" : " (foreign sender)";
  }
};

class ControlsTest : public WindowSystemTest {
 protected:
  // The controls rely on nothing that the stand-ins only log as missing.
  void TearDown() override {
    std::string missing;
    for (const std::string& name : qwin::Unimplemented()) missing += name + "; ";
    EXPECT_EQ(missing, "");
    WindowSystemTest::TearDown();
  }
  static std::string Id(int id) { return std::to_string(id); }
};

// The controls' dialog created for each test and destroyed after it.
class OpenControlsTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    ASSERT_TRUE(dialog.Create(IDD_CONTROLS));
  }
  void TearDown() override {
    dialog.DestroyWindow();
    ControlsTest::TearDown();
  }

  ControlsDialog dialog;
};
