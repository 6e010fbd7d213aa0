// The module's dialog templates as compiled: the editor dialog and the About box, control by
// control, and the editor dialog built from its template by the window stand-in.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "qplatform/WindowSystem.h"
#include "resources/resource.h"
#include "win32/src/ResourceFormat.h"

namespace {

using qwin::rc::Dialog;

Dialog LoadTemplate(int id) {
  HMODULE module = GetModuleHandle(nullptr);
  HRSRC resource = FindResource(module, MAKEINTRESOURCE(id), RT_DIALOG);
  Dialog d;
  if (!resource) {
    ADD_FAILURE() << "no dialog template " << id;
    return d;
  }
  const void* data = LockResource(LoadResource(module, resource));
  EXPECT_TRUE(qwin::rc::ReadDialog(static_cast<const unsigned char*>(data), SizeofResource(module, resource), d));
  return d;
}

struct Expected {
  int id;
  const char* className;
  DWORD style;
  short x, y, cx, cy;
  const char* text;
};

void ExpectControls(const Dialog& d, const std::vector<Expected>& table) {
  ASSERT_EQ(d.controls.size(), table.size());
  for (size_t i = 0; i < table.size(); ++i) {
    const auto& c = d.controls[i];
    const auto& e = table[i];
    SCOPED_TRACE("control " + std::to_string(i) + ", id " + std::to_string(e.id));
    EXPECT_EQ(c.id, e.id);
    EXPECT_EQ(c.className, e.className);
    EXPECT_EQ(c.style, e.style) << std::hex << "style 0x" << c.style << ", expected 0x" << e.style;
    EXPECT_EQ(c.exStyle, 0u);
    EXPECT_EQ(c.x, e.x);
    EXPECT_EQ(c.y, e.y);
    EXPECT_EQ(c.cx, e.cx);
    EXPECT_EQ(c.cy, e.cy);
    EXPECT_EQ(c.text, e.text);
  }
}

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kBitmapPush = kChild | WS_TABSTOP | BS_PUSHBUTTON | BS_BITMAP;
constexpr DWORD kBitmapRadio = kChild | BS_AUTORADIOBUTTON | BS_PUSHLIKE | BS_BITMAP;
constexpr DWORD kBitmapCheck = kChild | WS_TABSTOP | BS_AUTOCHECKBOX | BS_PUSHLIKE | BS_BITMAP;
constexpr DWORD kPane = kChild | WS_GROUP | SS_LEFTNOWORDWRAP | SS_SUNKEN;
constexpr DWORD kDropDown = kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN;
constexpr DWORD kOwnerDrawnList = kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
constexpr DWORD kRichEdit = kChild | WS_TABSTOP | WS_BORDER | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_WANTRETURN;

// ---- The editor dialog's template ----

TEST(EditorTemplate, PopupFrameCaptionSizeAndFont) {
  Dialog d = LoadTemplate(IDD_MTEXT_EDITOR);
  EXPECT_EQ(d.style, 0x80CB00C1u);
  EXPECT_EQ(d.exStyle, 0u);
  EXPECT_EQ(d.caption, "Quillon  V1.11  (Brenmor)");
  EXPECT_EQ(d.cx, 361);
  EXPECT_EQ(d.cy, 92);
  EXPECT_EQ(d.face, "MS Sans Serif");
  EXPECT_EQ(d.pointSize, 8);
  EXPECT_EQ(d.menu, "");
  EXPECT_EQ(d.className, "");
}

TEST(EditorTemplate, ThirtyTwoControlsInTemplateOrder) {
  ExpectControls(LoadTemplate(IDD_MTEXT_EDITOR), {
      {5002, "RICHEDIT", kRichEdit | ES_NOHIDESEL, 7, 28, 347, 49, ""},
      {5003, "COMBOBOX", kDropDown | CBS_SORT, 112, 14, 53, 96, ""},
      {5004, "BUTTON", kBitmapPush, 7, 0, 15, 13, ""},
      {5005, "BUTTON", kBitmapPush, 23, 0, 15, 13, ""},
      {5006, "BUTTON", kBitmapPush, 38, 0, 15, 13, ""},
      // The justification radios form one group, which the undo button closes.
      {5007, "BUTTON", kBitmapRadio | WS_GROUP | WS_TABSTOP, 55, 0, 15, 13, ""},
      {5008, "BUTTON", kBitmapRadio, 71, 0, 15, 13, ""},
      {5009, "BUTTON", kBitmapRadio, 85, 0, 15, 13, ""},
      {5012, "BUTTON", kBitmapPush | WS_GROUP, 251, 0, 15, 13, ""},
      {5013, "BUTTON", kBitmapPush, 304, 0, 15, 13, ""},
      {5015, "BUTTON", kBitmapPush, 323, 0, 15, 13, ""},
      {IDCANCEL, "BUTTON", kBitmapPush, 339, 0, 15, 13, ""},
      {5023, "STATIC", kPane, 281, 79, 23, 9, ""},
      {5024, "STATIC", kPane, 307, 79, 23, 9, ""},
      {5025, "STATIC", kPane, 331, 79, 23, 9, ""},
      {5029, "COMBOBOX", kDropDown | CBS_SORT, 247, 14, 30, 81, ""},
      {5027, "COMBOBOX", kDropDown, 166, 14, 27, 81, ""},
      {5016, "BUTTON", kBitmapPush, 287, 0, 15, 13, ""},
      {5041, "COMBOBOX", kOwnerDrawnList, 193, 14, 55, 110, ""},
      {5053, "COMBOBOX", kOwnerDrawnList | CBS_SORT | CBS_NOINTEGRALHEIGHT, 7, 14, 102, 104, ""},
      {5042, "BUTTON", kBitmapPush, 103, 0, 15, 13, ""},
      {5043, "BUTTON", kBitmapPush, 119, 0, 15, 13, ""},
      {5044, "BUTTON", kBitmapPush, 135, 0, 15, 13, ""},
      {5026, "BUTTON", kBitmapPush, 235, 0, 15, 13, ""},
      {5067, "BUTTON", kBitmapPush, 153, 0, 15, 13, ""},
      {5068, "BUTTON", kBitmapPush, 169, 0, 15, 13, ""},
      {5010, "COMBOBOX", kDropDown | CBS_SORT, 278, 14, 50, 96, ""},
      {5014, "BUTTON", kBitmapPush, 201, 0, 15, 13, ""},
      {5028, "BUTTON", kBitmapPush, 186, 0, 15, 13, ""},
      {5069, "BUTTON", kBitmapCheck, 217, 0, 15, 13, ""},
      {5073, "EDIT", kChild | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 329, 14, 25, 12, ""},
      {5070, "BUTTON", kBitmapCheck, 268, 0, 15, 13, ""},
  });
}

// ---- The About box's template ----

TEST(AboutTemplate, CaptionlessModalPopupSizeAndFont) {
  Dialog d = LoadTemplate(IDD_ABOUT);
  EXPECT_EQ(d.style, static_cast<DWORD>(WS_POPUP | DS_MODALFRAME | DS_SETFONT));
  EXPECT_EQ(d.caption, "");
  EXPECT_EQ(d.cx, 241);
  EXPECT_EQ(d.cy, 147);
  EXPECT_EQ(d.face, "MS Sans Serif");
  EXPECT_EQ(d.pointSize, 8);
}

TEST(AboutTemplate, TextAreaTwoLinkLabelsAndABorderlessEdit) {
  ExpectControls(LoadTemplate(IDD_ABOUT), {
      {5055, "RICHEDIT", kRichEdit | ES_READONLY, 5, 40, 231, 93, ""},
      {5057, "STATIC", kChild | WS_GROUP | SS_LEFT, 10, 23, 51, 9, "HomePage"},
      {5065, "EDIT", kChild | WS_TABSTOP | ES_AUTOHSCROLL | ES_READONLY, 7, 133, 171, 12, ""},
      {5056, "STATIC", kChild | WS_GROUP | SS_LEFT, 10, 10, 51, 9, "E-Mail"},
  });
}

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

TEST_F(BuiltDialog, EditorGetsEveryControlWithItsWindowClass) {
  HWND dialog = Build(IDD_MTEXT_EDITOR);
  ASSERT_TRUE(dialog);
  Dialog t = LoadTemplate(IDD_MTEXT_EDITOR);
  for (const auto& c : t.controls) {
    HWND control = GetDlgItem(dialog, c.id);
    ASSERT_TRUE(control) << c.id;
    char cls[32];
    GetClassName(control, cls, sizeof cls);
    EXPECT_STREQ(cls, c.className.c_str()) << c.id;
  }
  EXPECT_TRUE(qwin::Unimplemented().empty()) << qwin::Unimplemented().front();
  char caption[64];
  GetWindowText(dialog, caption, sizeof caption);
  EXPECT_STREQ(caption, "Quillon  V1.11  (Brenmor)");
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
