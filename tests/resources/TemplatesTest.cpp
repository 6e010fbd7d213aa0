// The module's dialog templates as the window stand-in builds them: what the module relies on
// (control kinds, the justification group, the text area's behaviour, dialog units), not the
// .rc file's numbers over again.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>

#include "qplatform/WindowSystem.h"
#include "resources/resource.h"

namespace {

// ---- Dialogs built from the templates ----

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

class BuiltDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    qwin::Reset();
    qwin::SetMachineFontsEnabled(false);
  }
  void TearDown() override { qwin::Reset(); }
  static HWND Build(int id) {
    return CreateDialogParam(GetModuleHandle(nullptr), MAKEINTRESOURCE(id), nullptr, PlainDialogProc, 0);
  }
  // A control's rectangle in the dialog's client coordinates, as "left,top right,bottom".
  static std::string RectIn(HWND dialog, int id) {
    RECT r{};
    GetWindowRect(GetDlgItem(dialog, id), &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
  }
};

TEST_F(BuiltDialog, EditorGetsEveryControlWithAClassTheStandInsImplement) {
  HWND dialog = Build(IDD_MTEXT_EDITOR);
  ASSERT_TRUE(dialog);
  const std::set<std::string> classes = {"BUTTON", "COMBOBOX", "EDIT", "STATIC", "RICHEDIT"};
  std::set<int> ids;
  int controls = 0;
  for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT), ++controls) {
    char cls[32];
    GetClassName(control, cls, sizeof cls);
    EXPECT_TRUE(classes.count(cls)) << GetDlgCtrlID(control) << " is a " << cls;
    EXPECT_TRUE(ids.insert(GetDlgCtrlID(control)).second) << "id " << GetDlgCtrlID(control) << " twice";
  }
  EXPECT_GT(controls, 0);
  EXPECT_TRUE(qwin::Unimplemented().empty()) << qwin::Unimplemented().front();
  char caption[64];
  GetWindowText(dialog, caption, sizeof caption);
  EXPECT_STREQ(caption, "Quillon  V1.11  (Brenmor)");
}

// The text area keeps Enter (a new paragraph, not the default button) and shows its selection
// while a toolbar button has the focus.
TEST_F(BuiltDialog, EditorTextAreaKeepsEnterAndShowsItsSelection) {
  HWND dialog = Build(IDD_MTEXT_EDITOR);
  ASSERT_TRUE(dialog);
  LONG style = GetWindowLong(GetDlgItem(dialog, IDC_RICHEDIT), GWL_STYLE);
  EXPECT_TRUE(style & ES_MULTILINE);
  EXPECT_TRUE(style & ES_WANTRETURN);
  EXPECT_TRUE(style & ES_NOHIDESEL);
}

// The three justification buttons are one group of radios (arrow keys move between them), which
// the next group, the undo button's, closes.
TEST_F(BuiltDialog, EditorJustificationButtonsAreOneRadioGroup) {
  HWND dialog = Build(IDD_MTEXT_EDITOR);
  ASSERT_TRUE(dialog);
  HWND left = GetDlgItem(dialog, IDC_JUSTIFY_LEFT);
  EXPECT_TRUE(GetWindowLong(left, GWL_STYLE) & WS_GROUP);
  for (int id : {IDC_JUSTIFY_LEFT, IDC_JUSTIFY_CENTRE, IDC_JUSTIFY_RIGHT})
    EXPECT_EQ(BS_AUTORADIOBUTTON, GetWindowLong(GetDlgItem(dialog, id), GWL_STYLE) & BS_TYPEMASK) << id;
  for (int id : {IDC_JUSTIFY_CENTRE, IDC_JUSTIFY_RIGHT})
    EXPECT_FALSE(GetWindowLong(GetDlgItem(dialog, id), GWL_STYLE) & WS_GROUP) << id;
  EXPECT_TRUE(GetWindowLong(GetDlgItem(dialog, IDC_UNDO), GWL_STYLE) & WS_GROUP);
}

// The style, height, rotation and spacing boxes take typed values (drop-down combos with an edit field); the
// colour and font lists draw their own items from their strings.
TEST_F(BuiltDialog, EditorCombosTypedValuesAndDrawnLists) {
  HWND dialog = Build(IDD_MTEXT_EDITOR);
  ASSERT_TRUE(dialog);
  for (int id : {IDC_STYLE, IDC_HEIGHT, IDC_ROTATION, IDC_SPACING_STYLE})
    EXPECT_EQ(CBS_DROPDOWN, GetWindowLong(GetDlgItem(dialog, id), GWL_STYLE) & 3) << id;
  for (int id : {IDC_COLOR, IDC_FONT}) {
    LONG style = GetWindowLong(GetDlgItem(dialog, id), GWL_STYLE);
    EXPECT_EQ(CBS_DROPDOWNLIST, style & 3) << id;
    EXPECT_TRUE(style & CBS_OWNERDRAWFIXED) << id;
    EXPECT_TRUE(style & CBS_HASSTRINGS) << id;
  }
}

TEST_F(BuiltDialog, EditorPixelRectanglesFollowTheFontsDialogUnits) {
  HWND dialog = Build(IDD_MTEXT_EDITOR);
  ASSERT_TRUE(dialog);
  // MS Sans Serif 8 pt: base units 6 x 13, so x' = x * 6 / 4 and y' = y * 13 / 8, rounded.
  RECT client;
  GetClientRect(dialog, &client);
  EXPECT_EQ(client.right, 542);
  EXPECT_EQ(client.bottom, 150);
  // The text area, the exit button, the layout pane and the width edit share one right edge.
  EXPECT_EQ(RectIn(dialog, IDC_RICHEDIT), "11,46 532,126");
  EXPECT_EQ(RectIn(dialog, IDCANCEL), "509,0 532,21");
  EXPECT_EQ(RectIn(dialog, IDC_CUT), "11,0 34,21");
  EXPECT_EQ(RectIn(dialog, IDC_LAYOUT_PANE), "497,128 532,143");
  EXPECT_EQ(RectIn(dialog, IDC_CAP_PANE), "422,128 457,143");
  EXPECT_EQ(RectIn(dialog, IDC_WIDTH), "494,23 532,43");
}

TEST_F(BuiltDialog, AboutBoxGetsItsFourControls) {
  HWND dialog = Build(IDD_ABOUT);
  ASSERT_TRUE(dialog);
  for (int id : {IDC_ABOUT_TEXT, IDC_HOMEPAGE, IDC_ABOUT_EDIT, IDC_EMAIL}) EXPECT_TRUE(GetDlgItem(dialog, id)) << id;
  char text[32];
  GetDlgItemText(dialog, IDC_EMAIL, text, sizeof text);
  EXPECT_STREQ(text, "E-Mail");
  EXPECT_TRUE(qwin::Unimplemented().empty()) << qwin::Unimplemented().front();
  RECT client;
  GetClientRect(dialog, &client);
  EXPECT_EQ(client.right, 362);   // 241 * 6 / 4 = 361.5
  EXPECT_EQ(client.bottom, 239);  // 147 * 13 / 8 = 238.9
}

}  // namespace
