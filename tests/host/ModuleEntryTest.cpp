// The module's registration with the host, and its context-menu item.
#include "host/ModuleEntry.h"

#include <accmd.h>
#include <aced.h>

#include <string>

#include "arx/HostFixture.h"
#include "host/EditorContextMenu.h"
#include "qplatform/WindowSystem.h"

extern "C" AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode message, void* appId);
extern "C" int acrxGetApiVersion();

namespace {

class ModuleEntryTest : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    qwin::Reset();
  }
  void TearDown() override {
    qwin::Reset();
    HostTest::TearDown();
  }
  static bool HasCommand() { return acedRegCmds->lookupGlobalCmd("CQuillon") != nullptr; }
  static bool HasMenuItem() {
    for (const auto& item : qhost::DefaultContextMenus())
      if (item.title == "МТекст редактор") return true;
    return false;
  }
  int m_appId = 0;
};

TEST_F(ModuleEntryTest, InitialisationRegistersAndUnloadRemovesCommandAndMenuItem) {
  EXPECT_EQ(acrxEntryPoint(AcRx::kInitAppMsg, &m_appId), AcRx::kRetOK);
  EXPECT_TRUE(HasCommand());
  EXPECT_TRUE(acedRegCmds->lookupLocalCmd("cquillon") != nullptr);
  EXPECT_TRUE(HasMenuItem());
  EXPECT_EQ(acrxEntryPoint(AcRx::kUnloadAppMsg, &m_appId), AcRx::kRetOK);
  EXPECT_FALSE(HasCommand());
  EXPECT_FALSE(HasMenuItem());
}

TEST_F(ModuleEntryTest, OtherMessagesDoNothing) {
  for (int message : {0, 3, 4, 99}) {
    EXPECT_EQ(acrxEntryPoint(static_cast<AcRx::AppMsgCode>(message), &m_appId), AcRx::kRetOK) << message;
    EXPECT_FALSE(HasCommand()) << message;
    EXPECT_FALSE(HasMenuItem()) << message;
  }
  EXPECT_EQ(acrxGetApiVersion(), 0xF0000);
}

TEST_F(ModuleEntryTest, ASecondAttachChangesNothingAndDetachEndsTheExtensionModule) {
  HINSTANCE program = GetModuleHandle(nullptr);
  EXPECT_TRUE(ModuleNotification(program, 1));
  EXPECT_TRUE(ModuleNotification(program, 1));
  EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(5000), RT_DIALOG), program);
  EXPECT_TRUE(ModuleNotification(program, 0));
  EXPECT_TRUE(ModuleNotification(program, 0));  // already detached: nothing to do
}

TEST_F(ModuleEntryTest, TheMenuShowsTheEditorFindAndSpellingItemsAndEachRunsItsCommandAsTyped) {
  EditorContextMenu menu;
  EXPECT_EQ(menu.isA(), ContextClass());
  EXPECT_STREQ(menu.isA()->name(), "AcEdUIContext");
  auto* handle = static_cast<HMENU*>(menu.getMenuContext(nullptr, AcDbObjectIdArray()));
  ASSERT_NE(handle, nullptr);
  ASSERT_NE(*handle, nullptr);
  ASSERT_EQ(GetMenuItemCount(*handle), 3);
  const UINT ids[] = {32771u, 32772u, 32773u};
  const char* const texts[] = {"Редактор", "Найти и заменить", "Орфография"};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(GetMenuItemID(*handle, i), ids[i]) << i;
    char text[32] = {};
    GetMenuString(*handle, i, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, texts[i]);
  }

  // Other ids do nothing; each item types its command and its one ending blank.
  menu.onCommand(32774);
  menu.onCommand(32771);
  menu.onCommand(32772);
  menu.onCommand(32773);
  auto& queue = qhost::InputQueue::Instance();
  for (const char* command : {"CQuillon", "CQuillonFind", "CQuillonSpell"}) {
    auto typed = queue.Next("Command: ");
    ASSERT_TRUE(typed.has_value()) << command;
    EXPECT_EQ(typed->verb, "type");
    EXPECT_EQ(typed->args, std::vector<std::string>{command});
  }
  EXPECT_FALSE(queue.Next("Command: ").has_value());
}

}  // namespace
