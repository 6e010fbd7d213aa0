// The editor's width edit: the character filter in allow and deny mode, and its colours and brush.
#include "ControlsFixture.h"

namespace {

using NumericEditTest = ControlsTest;

std::string Refused(const NumericEdit& edit, const std::string& characters) {
  std::string refused;
  for (unsigned char c : characters) {
    if (!edit.IsAcceptedChar(c)) refused += static_cast<char>(c);
  }
  return refused;
}

// ---- The character filter ----

TEST_F(NumericEditTest, TheDialogsSetTakesDigitsPointAndBlankAndRefusesLettersAndComma) {
  NumericEdit edit;
  edit.SetAllowedChars("1 2 3 4 5 6 7 8 9 0  .");
  EXPECT_EQ(Refused(edit, "0123456789. \b"), "");
  EXPECT_EQ(Refused(edit, "a,Z-+\xe0"), "a,Z-+\xe0");
}

TEST_F(NumericEditTest, TheConstructionSetTakesTheCommaAndNotThePoint) {
  NumericEdit edit;
  EXPECT_EQ(Refused(edit, "0123456789, \b.x"), ".x");
}

TEST_F(NumericEditTest, ADenyListRefusesItsCharactersOnly) {
  NumericEdit edit;
  edit.SetAllowedChars(",;", FALSE);
  EXPECT_EQ(Refused(edit, "a1.,; \b;"), ",;;");
}

TEST_F(NumericEditTest, AnEmptyListTakesEverythingOrOnlyBackspaceAndBlank) {
  NumericEdit edit;
  edit.SetAllowedChars("", TRUE);
  EXPECT_EQ(Refused(edit, "a1., \b"), "");
  edit.SetAllowedChars("", FALSE);
  EXPECT_EQ(Refused(edit, "a1., \b"), "a1.,");
}

TEST_F(NumericEditTest, TypedTextKeepsOnlyTheTakenCharacters) {
  Event("focus", {Id(IDC_WIDTH_EDIT)});
  Event("type", {"1a,2.5x"});
  Event("key", {"backspace"});
  Event("type", {"7"});
  ControlsDialog dialog;
  CString text;
  dialog.atEnd = [&](ControlsDialog& d) { d.m_widthEdit.GetWindowText(text); };
  dialog.DoModal();
  EXPECT_EQ(text, "12.7");
}

// ---- Colours and brush ----

TEST_F(NumericEditTest, PaintsBlackOnWhiteWithItsOwnBrush) {
  ControlsDialog dialog;
  ASSERT_TRUE(dialog.Create(IDD_CONTROLS));
  HWND edit = dialog.m_widthEdit.m_hWnd;
  HDC dc = ::GetDC(edit);
  ::SetTextColor(dc, RGB(1, 2, 3));
  ::SetBkColor(dc, RGB(4, 5, 6));
  LRESULT brush = ::SendMessage(dialog.m_hWnd, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit));
  EXPECT_EQ(::GetTextColor(dc), RGB(0, 0, 0));
  EXPECT_EQ(::GetBkColor(dc), RGB(255, 255, 255));
  LOGBRUSH logBrush{};
  ASSERT_NE(brush, 0);
  ASSERT_NE(::GetObject(reinterpret_cast<HBRUSH>(brush), sizeof(logBrush), &logBrush), 0);
  EXPECT_EQ(logBrush.lbColor, RGB(255, 255, 255));
  EXPECT_EQ(::SendMessage(dialog.m_hWnd, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit)),
            brush) << "the same brush every time";
  ::ReleaseDC(edit, dc);
  dialog.DestroyWindow();
}

TEST_F(NumericEditTest, TheBrushLivesAsLongAsTheObject) {
  const int before = qwin::LiveGdiObjects();
  {
    NumericEdit edit;
    EXPECT_EQ(qwin::LiveGdiObjects(), before + 1);
  }
  EXPECT_EQ(qwin::LiveGdiObjects(), before);
}

}  // namespace
