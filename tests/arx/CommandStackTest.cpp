// Commands are registered by group and found by global or local name.
#include "HostFixture.h"
#include "accmd.h"

namespace {

int g_runs = 0;
void CountRun() { ++g_runs; }
void Other() {}

using CommandStackTest = HostTest;

TEST_F(CommandStackTest, AddLookUpAndRemoveByGroup) {
  AcEdCommandStack* stack = acedRegCmds;
  ASSERT_NE(nullptr, stack);
  AcEdCommand* cmd = nullptr;
  ASSERT_EQ(Acad::eOk, stack->addCommand("TESTGROUP", "GlobalName", "LocalName", 0, CountRun, nullptr, -1, nullptr, &cmd));
  EXPECT_EQ(Acad::eDuplicateKey, stack->addCommand("TESTGROUP", "GLOBALNAME", "x", 0, Other));
  EXPECT_EQ(cmd, stack->lookupGlobalCmd("globalname"));
  EXPECT_EQ(cmd, stack->lookupLocalCmd("LOCALNAME"));
  EXPECT_EQ(nullptr, stack->lookupGlobalCmd("LocalName"));
  EXPECT_EQ(nullptr, stack->lookupLocalCmd("GlobalName"));
  EXPECT_STREQ("TESTGROUP", cmd->groupName());
  EXPECT_EQ(-1, cmd->functionCode());

  g_runs = 0;
  EXPECT_TRUE(qhost::RunCommand("localname"));
  EXPECT_TRUE(qhost::RunCommand("_GlobalName"));
  EXPECT_EQ(2, g_runs);

  EXPECT_EQ(Acad::eOk, stack->removeGroup("testgroup"));
  EXPECT_EQ(Acad::eKeyNotFound, stack->removeGroup("TESTGROUP"));
  EXPECT_EQ(nullptr, stack->lookupGlobalCmd("GlobalName"));
  EXPECT_FALSE(qhost::RunCommand("GlobalName"));
}

TEST_F(CommandStackTest, UnknownCommandIsReportedAtTheCommandLine) {
  Queue({{"command", {"NOSUCH"}, "t"}});
  EXPECT_EQ(0, qhost::RunCommandLine());
  EXPECT_EQ("\nCommand: NOSUCH\nUnknown command \"NOSUCH\".  Press F1 for help.\nCommand: \n", Transcript());
}

TEST_F(CommandStackTest, RestOfATypedLineAnswersTheCommandsPrompts) {
  qhost::RegisterHostCommands();
  Queue({{"type", {"CIRCLE 1,2 3"}, "t"}});
  EXPECT_EQ(0, qhost::RunCommandLine());
  EXPECT_EQ("\nCommand: CIRCLE\nSpecify center point: 1,2\nSpecify radius: 3\nCommand: \n", Transcript());
}

}  // namespace
