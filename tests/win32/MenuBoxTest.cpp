// Windows stand-in: popup and system menus chosen from the input queue, and message boxes answered
// from it, with what they showed recorded.
#include "Fixture.h"
#include "data/TestResource.h"

#include <afxres.h>

namespace {

using Entries = std::vector<std::string>;

class Menus : public WindowSystemTest {
 protected:
  void SetUp() override {
    WindowSystemTest::SetUp();
    m_frame = CreateFrame("frame", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    m_menu = CreatePopupMenu();
    AppendMenu(m_menu, MF_STRING, ID_EDIT_UNDO, "\xce\xf2\xec\xe5\xed\xe8\xf2\xfc");
    AppendMenu(m_menu, MF_SEPARATOR, 0, nullptr);
    AppendMenu(m_menu, MF_STRING | MF_GRAYED, ID_EDIT_CUT, "Cut");
    AppendMenu(m_menu, MF_STRING, ID_EDIT_COPY, "&Copy");
  }
  void TearDown() override {
    DestroyMenu(m_menu);
    WindowSystemTest::TearDown();
  }
  HWND m_frame = nullptr;
  HMENU m_menu = nullptr;
};

// ---- Popup menus ----

TEST_F(Menus, ChoosingByTextOrIdPostsTheCommandToTheOwner) {
  struct Case {
    std::string word;
    UINT id;
  };
  const Case cases[] = {{"copy", ID_EDIT_COPY}, {std::to_string(ID_EDIT_UNDO), ID_EDIT_UNDO}};
  for (const auto& c : cases) {
    Event("menu", {c.word});
    qwin::MessageRecorder rec(m_frame);
    EXPECT_TRUE(TrackPopupMenu(m_menu, TPM_RIGHTBUTTON, 10, 20, 0, m_frame, nullptr));
    EXPECT_TRUE(rec.Entries({"WM_COMMAND"}).empty()) << "the command is posted, not sent";
    qwin::PumpPostedMessages();
    EXPECT_EQ(rec.Entries({"WM_INITMENUPOPUP", "WM_COMMAND"}),
              (Entries{"WM_INITMENUPOPUP", "WM_COMMAND " + std::to_string(c.id)}))
        << c.word;
  }
  ASSERT_EQ(qwin::ShownMenus().size(), 2u);
  EXPECT_EQ(qwin::ShownMenus()[0].items,
            (Entries{"\xce\xf2\xec\xe5\xed\xe8\xf2\xfc=57643", "-", "Cut=57635 (grayed)", "&Copy=57634"}));
  EXPECT_EQ(qwin::ShownMenus()[0].chosen, static_cast<UINT>(ID_EDIT_COPY));
}

TEST_F(Menus, GrayedItemsCannotBeChosenAndEscapeCancels) {
  Event("menu", {"cut"});
  Event("key", {"escape"});
  EXPECT_EQ(TrackPopupMenu(m_menu, TPM_RETURNCMD, 0, 0, 0, m_frame, nullptr), 0);
  ASSERT_EQ(qwin::InputErrors().size(), 1u);
  EXPECT_EQ(qwin::InputErrors()[0], "test event 1: the menu has no enabled item \"cut\" (waiting for menu)");
  EXPECT_FALSE(qhost::InputQueue::Instance().RanOut());
}

TEST_F(Menus, RunningOutOfInputClosesTheMenuWithNoChoice) {
  EXPECT_EQ(TrackPopupMenu(m_menu, TPM_RETURNCMD, 0, 0, 0, m_frame, nullptr), 0);
  EXPECT_EQ(qhost::InputQueue::Instance().RanOutWhile(), "menu");
}

TEST_F(Menus, MenusFromResourcesKeepTheirPopupsAndStates) {
  HMENU bar = LoadMenu(GetModuleHandle(nullptr), MAKEINTRESOURCE(IDR_EDIT_MENU));
  ASSERT_TRUE(bar);
  HMENU popup = GetSubMenu(bar, 0);
  ASSERT_TRUE(popup);
  EXPECT_EQ(GetMenuItemCount(popup), 4);
  EXPECT_EQ(GetMenuItemID(popup, 0), static_cast<UINT>(ID_EDIT_UNDO));
  EXPECT_TRUE(GetMenuState(popup, ID_EDIT_CUT, MF_BYCOMMAND) & MF_GRAYED);
  char text[32];
  GetMenuString(popup, 2, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "Cu&t\tCtrl+X");
  Event("menu", {"Cut"});
  Event("menu", {"Copy"});
  EXPECT_EQ(TrackPopupMenu(popup, TPM_RETURNCMD, 0, 0, 0, m_frame, nullptr), ID_EDIT_COPY);
  DestroyMenu(bar);
}

TEST_F(Menus, TheSystemMenuFollowsTheStyleAndTakesAppendedItems) {
  HMENU system = GetSystemMenu(m_frame, FALSE);
  ASSERT_TRUE(system);
  AppendMenu(system, MF_SEPARATOR, 0, nullptr);
  AppendMenu(system, MF_STRING, 16, "\xce \xef\xf0\xee\xe3\xf0\xe0\xec\xec\xe5..");
  EXPECT_EQ(GetSystemMenu(m_frame, FALSE), system) << "the same menu each time";
  Event("menu", {"16"});
  qwin::MessageRecorder rec(m_frame);
  TrackPopupMenu(system, 0, 0, 0, 0, m_frame, nullptr);
  qwin::PumpPostedMessages();
  EXPECT_EQ(rec.Entries({"WM_SYSCOMMAND"}), Entries{"WM_SYSCOMMAND 0x10"});
  EXPECT_EQ(qwin::ShownMenus().back().items,
            (Entries{"&Restore=61728 (grayed)", "&Move=61456", "Mi&nimize=61472", "-", "&Close\tAlt+F4=61536", "-",
                     "\xce \xef\xf0\xee\xe3\xf0\xe0\xec\xec\xe5..=16"}));
}

// ---- Message boxes ----

using MessageBoxes = Menus;

TEST_F(MessageBoxes, AnswersComeFromTheQueueAndTheBoxIsRecorded) {
  struct Case {
    UINT type;
    std::vector<std::string> event;
    int answer;
  };
  const Case cases[] = {
      {MB_OK | MB_ICONEXCLAMATION, {"answer", "ok"}, IDOK},
      {MB_YESNO, {"answer", "no"}, IDNO},
      {MB_YESNOCANCEL | MB_DEFBUTTON2, {"key", "enter"}, IDNO},
      {MB_OKCANCEL, {"escape"}, IDCANCEL},
  };
  for (const auto& c : cases) {
    Event(c.event[0], std::vector<std::string>(c.event.begin() + 1, c.event.end()));
    EXPECT_EQ(MessageBox(m_frame, "text", "Quillon", c.type), c.answer) << c.type;
    EXPECT_EQ(qwin::MessageBoxes().back().answer, c.answer);
  }
  EXPECT_EQ(qwin::MessageBoxes()[0].text, "text");
  EXPECT_EQ(qwin::MessageBoxes()[0].caption, "Quillon");
  EXPECT_EQ(qwin::MessageBoxes()[0].type, MB_OK | MB_ICONEXCLAMATION);
  EXPECT_TRUE(IsWindowEnabled(m_frame)) << "the owner is enabled again";
}

TEST_F(MessageBoxes, AButtonTheBoxDoesNotHaveIsAnError) {
  Event("answer", {"yes"});
  Event("answer", {"ok"});
  EXPECT_EQ(MessageBox(nullptr, "t", nullptr, MB_OK), IDOK);
  ASSERT_EQ(qwin::InputErrors().size(), 1u);
  EXPECT_EQ(qwin::InputErrors()[0],
            "test event 1: the message box has no button \"yes\" (waiting for message box \"Error\")");
}

TEST_F(MessageBoxes, RunningOutAnswersAsEscapeOrTheLastButton) {
  EXPECT_EQ(MessageBox(nullptr, "t", "c", MB_OKCANCEL), IDCANCEL);
  EXPECT_EQ(MessageBox(nullptr, "t", "c", MB_YESNO), IDNO) << "a box without cancel ends on its last button";
}

}  // namespace
