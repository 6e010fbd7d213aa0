// Windows stand-in: the standard controls' behaviour and the notifications they send their parent,
// as message sequences: buttons, combo boxes (sorted, drop-down, owner-drawn), edits, statics, tooltips.
#include <commctrl.h>

#include "Fixture.h"

namespace {

using Entries = std::vector<std::string>;

class Controls : public WindowSystemTest {
 protected:
  void SetUp() override {
    WindowSystemTest::SetUp();
    m_frame = CreateFrame();
  }
  HWND m_frame = nullptr;
};

// ---- Buttons ----

TEST_F(Controls, ClickingAPushButtonNotifiesOnRelease) {
  HWND button = CreateChild(m_frame, "BUTTON", 5, BS_PUSHBUTTON, "Go");
  qwin::MessageRecorder parent(m_frame), self(button);
  SendMessage(button, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  EXPECT_TRUE(parent.Entries({"WM_COMMAND"}).empty()) << "nothing before the button comes up";
  EXPECT_EQ(GetFocus(), button);
  SendMessage(button, WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(parent.Entries({"WM_COMMAND"}), Entries{"WM_COMMAND 5 BN_CLICKED"});
  EXPECT_EQ(self.Entries({"WM_LBUTTONDOWN", "WM_SETFOCUS", "WM_LBUTTONUP"}),
            (Entries{"WM_LBUTTONDOWN", "WM_SETFOCUS", "WM_LBUTTONUP"}));
}

TEST_F(Controls, AutoCheckAndPushLikeButtonsToggle) {
  HWND check = CreateChild(m_frame, "BUTTON", 6, BS_AUTOCHECKBOX | BS_PUSHLIKE | BS_BITMAP);
  HWND plain = CreateChild(m_frame, "BUTTON", 7, BS_CHECKBOX);
  for (HWND h : {check, plain}) SendMessage(h, BM_CLICK, 0, 0);
  EXPECT_EQ(SendMessage(check, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessage(plain, BM_GETCHECK, 0, 0), BST_UNCHECKED) << "a plain check box leaves it to its owner";
  SendMessage(check, BM_CLICK, 0, 0);
  EXPECT_EQ(SendMessage(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(Controls, AutoRadioButtonsClearTheirGroup) {
  HWND a = CreateChild(m_frame, "BUTTON", 1, BS_AUTORADIOBUTTON | WS_GROUP);
  HWND b = CreateChild(m_frame, "BUTTON", 2, BS_AUTORADIOBUTTON);
  HWND c = CreateChild(m_frame, "BUTTON", 3, BS_AUTORADIOBUTTON);
  HWND other = CreateChild(m_frame, "BUTTON", 4, BS_AUTORADIOBUTTON | WS_GROUP);
  SendMessage(other, BM_SETCHECK, BST_CHECKED, 0);
  SendMessage(a, BM_CLICK, 0, 0);
  SendMessage(c, BM_CLICK, 0, 0);
  EXPECT_EQ(SendMessage(a, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessage(b, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessage(c, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessage(other, BM_GETCHECK, 0, 0), BST_CHECKED) << "another group keeps its check";
}

TEST_F(Controls, ButtonImagesAreKeptAndReturned) {
  HWND button = CreateChild(m_frame, "BUTTON", 1, BS_PUSHBUTTON | BS_BITMAP);
  HBITMAP face = LoadBitmap(GetModuleHandle(nullptr), MAKEINTRESOURCE(300));
  ASSERT_TRUE(face);
  EXPECT_EQ(SendMessage(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(face)), 0);
  EXPECT_EQ(SendMessage(button, BM_GETIMAGE, IMAGE_BITMAP, 0), reinterpret_cast<LRESULT>(face));
  EXPECT_NE(qwin::Snapshot(button).find("image=bitmap 300"), std::string::npos) << qwin::Snapshot(button);
}

// ---- Combo boxes ----

TEST_F(Controls, SortedComboInsertsInOrderAndFindsIgnoringCase) {
  HWND combo = CreateChild(m_frame, "COMBOBOX", 9, CBS_DROPDOWN | CBS_SORT);
  for (const char* s : {"Standard", "annotative", "Bold"}) SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
  char text[32];
  const char* expected[] = {"annotative", "Bold", "Standard"};
  for (int i = 0; i < 3; ++i) {
    SendMessage(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, expected[i]);
  }
  EXPECT_EQ(SendMessage(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("BOLD")), 1);
  EXPECT_EQ(SendMessage(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("Bol")), CB_ERR);
  EXPECT_EQ(SendMessage(combo, CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("st")), 2);
  EXPECT_EQ(SendMessage(combo, CB_SETCURSEL, 1, 0), 1);
  GetWindowText(combo, text, sizeof text);
  EXPECT_STREQ(text, "Bold") << "selecting an item shows it in the edit field";
}

TEST_F(Controls, UnsortedComboKeepsTheOrderOfAdding) {
  HWND combo = CreateChild(m_frame, "COMBOBOX", 9, CBS_DROPDOWN);
  for (const char* s : {"1.8", "2.5", "10", "18"}) SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
  char text[8];
  SendMessage(combo, CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "10");
}

TEST_F(Controls, ClickingAComboOpensItsListAndFocusesIt) {
  HWND combo = CreateChild(m_frame, "COMBOBOX", 9, CBS_DROPDOWNLIST);
  qwin::MessageRecorder parent(m_frame);
  SendMessage(combo, WM_LBUTTONDOWN, 0, 0);
  SendMessage(combo, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(parent.Entries({"WM_COMMAND"}), (Entries{"WM_COMMAND 9 CBN_SETFOCUS", "WM_COMMAND 9 CBN_DROPDOWN",
                                                    "WM_COMMAND 9 CBN_SELENDCANCEL", "WM_COMMAND 9 CBN_CLOSEUP"}));
}

TEST_F(Controls, TypingIntoADropDownComboNotifiesEachKeystroke) {
  HWND combo = CreateChild(m_frame, "COMBOBOX", 9, CBS_DROPDOWN);
  SetFocus(combo);
  qwin::MessageRecorder parent(m_frame);
  for (char c : std::string("0.7")) SendMessage(combo, WM_CHAR, static_cast<WPARAM>(c), 0);
  SendMessage(combo, WM_CHAR, 8, 0);
  char text[8];
  GetWindowText(combo, text, sizeof text);
  EXPECT_STREQ(text, "0.");
  Entries expected;
  for (int i = 0; i < 4; ++i) {
    expected.push_back("WM_COMMAND 9 CBN_EDITUPDATE");
    expected.push_back("WM_COMMAND 9 CBN_EDITCHANGE");
  }
  EXPECT_EQ(parent.Entries({"WM_COMMAND"}), expected);
}

struct OwnerDraw {
  static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_MEASUREITEM) {
      reinterpret_cast<MEASUREITEMSTRUCT*>(l)->itemHeight = 14;
      return TRUE;
    }
    if (m == WM_DELETEITEM) Deleted().push_back(reinterpret_cast<DELETEITEMSTRUCT*>(l)->itemData);
    return DefWindowProc(h, m, w, l);
  }
  static std::vector<ULONG_PTR>& Deleted() {
    static std::vector<ULONG_PTR> d;
    return d;
  }
};

TEST_F(Controls, OwnerDrawnComboMeasuresAtCreationDrawsWhenDroppedAndDeletesItsItems) {
  SetWindowLongPtr(m_frame, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(OwnerDraw::Proc));
  OwnerDraw::Deleted().clear();
  HWND combo = CreateChild(m_frame, "COMBOBOX", 9, CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | CBS_SORT);
  EXPECT_EQ(SendMessage(combo, CB_GETITEMHEIGHT, 0, 0), 14);
  EXPECT_EQ(SendMessage(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0), 14);
  SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Times"));
  SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Arial"));
  SendMessage(combo, CB_SETITEMDATA, 0, 111);
  SendMessage(combo, CB_SETITEMDATA, 1, 222);
  qwin::MessageRecorder parent(m_frame);
  SendMessage(combo, CB_SHOWDROPDOWN, TRUE, 0);
  EXPECT_EQ(parent.Entries({"WM_DRAWITEM"}), (Entries{"WM_DRAWITEM 9 item=0", "WM_DRAWITEM 9 item=1"}));
  DestroyWindow(combo);
  EXPECT_EQ(OwnerDraw::Deleted(), (std::vector<ULONG_PTR>{222, 111}));
}

// ---- Edits and statics ----

TEST_F(Controls, EditTypingSelectionUndoAndTheClipboard) {
  HWND edit = CreateChild(m_frame, "EDIT", 3, ES_AUTOHSCROLL);
  qwin::MessageRecorder parent(m_frame);
  SendMessage(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("abc"));
  EXPECT_EQ(parent.Entries({"WM_COMMAND"}), (Entries{"WM_COMMAND 3 EN_UPDATE", "WM_COMMAND 3 EN_CHANGE"}))
      << "a single-line edit reports text set by WM_SETTEXT";
  SendMessage(edit, EM_SETSEL, 1, 2);
  SendMessage(edit, WM_CUT, 0, 0);
  EXPECT_EQ(qwin::ClipboardText(), std::optional<std::string>("b"));
  SendMessage(edit, EM_SETSEL, 0, 0);
  SendMessage(edit, WM_PASTE, 0, 0);
  char text[8];
  GetWindowText(edit, text, sizeof text);
  EXPECT_STREQ(text, "bac");
  SendMessage(edit, EM_UNDO, 0, 0);
  GetWindowText(edit, text, sizeof text);
  EXPECT_STREQ(text, "ac");
}

TEST_F(Controls, StaticNotifiesClicksOnlyWithSsNotify) {
  HWND quiet = CreateChild(m_frame, "STATIC", 1, SS_LEFT, "quiet");
  HWND link = CreateChild(m_frame, "STATIC", 2, SS_LEFT | SS_NOTIFY, "link");
  qwin::MessageRecorder parent(m_frame);
  for (HWND h : {quiet, link}) SendMessage(h, WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(parent.Entries({"WM_COMMAND"}), Entries{"WM_COMMAND 2 STN_CLICKED"});
}

TEST_F(Controls, StaticPaintsThroughItsParentsCtlColor) {
  HWND label = CreateChild(m_frame, "STATIC", 2, SS_LEFT, "CAP");
  qwin::MessageRecorder parent(m_frame);
  UpdateWindow(label);
  EXPECT_TRUE(parent.Entries().empty()) << "a hidden window is not painted";
  ShowWindow(m_frame, SW_SHOW);
  UpdateWindow(label);
  EXPECT_EQ(parent.Entries({"WM_CTLCOLORSTATIC"}), Entries{"WM_CTLCOLORSTATIC 2"});
  ASSERT_FALSE(qwin::GdiRecord().empty());
  EXPECT_NE(qwin::GdiRecord().back().find("[2] DrawText \"CAP\""), std::string::npos) << qwin::GdiRecord().back();
}

// ---- Tooltips ----

TEST_F(Controls, TooltipKeepsToolsAndShowsTheToolUnderARelayedMouseMove) {
  HWND button = CreateChild(m_frame, "BUTTON", 5, BS_PUSHBUTTON);
  HWND tip = CreateWindowEx(0, TOOLTIPS_CLASS, nullptr, WS_POPUP, 0, 0, 0, 0, m_frame, nullptr, nullptr, nullptr);
  ASSERT_TRUE(tip);
  char text[] = "Cut";
  TOOLINFO info{sizeof(TOOLINFO), TTF_IDISHWND | TTF_SUBCLASS, m_frame, reinterpret_cast<UINT_PTR>(button), {}, nullptr, text, 0};
  EXPECT_TRUE(SendMessage(tip, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&info)));
  EXPECT_EQ(SendMessage(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
  MSG move{button, WM_MOUSEMOVE, 0, 0, 0, {0, 0}};
  SendMessage(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
  EXPECT_NE(qwin::Snapshot(tip).find("tool 5 \"Cut\" showing"), std::string::npos) << qwin::Snapshot(tip);
  SendMessage(tip, TTM_ACTIVATE, FALSE, 0);
  SendMessage(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
  EXPECT_EQ(qwin::Snapshot(tip).find("showing"), std::string::npos) << "an inactive tooltip shows nothing";
}

}  // namespace
