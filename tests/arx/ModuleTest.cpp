// Modules are loaded with their library notification and entry point, and unloaded again.
#include "HostFixture.h"
#include "rxdlinkr.h"
#include "support/Bytes.h"

namespace {

using ModuleTest = HostTest;

std::string Module(const char* kind) { return std::string(TEST_MODULE_DIR) + "/testmodule_" + kind + ".arx"; }

TEST_F(ModuleTest, LoadRunsAttachThenInitAndTheCommandWorks) {
  AcRxDynamicLinker* linker = acrxDynamicLinker;
  std::string path = Module("unlocked");
  ASSERT_TRUE(linker->loadModule(path.c_str(), true));
  EXPECT_NE(nullptr, linker->getModuleID(path.c_str()));
  EXPECT_FALSE(linker->isApplicationLocked(path.c_str()));
  EXPECT_TRUE(qhost::RunCommand("HELLO"));
  ASSERT_TRUE(linker->unloadModule(path.c_str(), true));
  EXPECT_FALSE(qhost::RunCommand("HELLO")) << "the unload message removed the command";
  EXPECT_EQ(nullptr, linker->getModuleID(path.c_str()));
  EXPECT_BYTES_EQ("\n[DllMain 1]\n[acrxEntryPoint 1]\n\"" + path + "\" loaded.\nhello from the module" +
                      "\n[acrxEntryPoint 2]\n[DllMain 0]\n\"" + path + "\" unloaded.",
                  Transcript());
}

TEST_F(ModuleTest, LockedModuleStaysUntilTheSessionEnds) {
  AcRxDynamicLinker* linker = acrxDynamicLinker;
  std::string path = Module("locked");
  ASSERT_TRUE(linker->loadModule(path.c_str(), false));
  EXPECT_TRUE(linker->isApplicationLocked(path.c_str()));
  EXPECT_FALSE(linker->unloadModule(path.c_str(), true));
  EXPECT_TRUE(qhost::RunCommand("HELLO"));
  qhost::UnloadAllModules();
  EXPECT_FALSE(qhost::RunCommand("HELLO"));
  EXPECT_TRUE(qhost::LoadedModules().empty());
}

TEST_F(ModuleTest, WrongApiVersionOrMissingFileLoadsNothing) {
  AcRxDynamicLinker* linker = acrxDynamicLinker;
  std::string bad = Module("badversion");
  EXPECT_FALSE(linker->loadModule(bad.c_str(), true));
  EXPECT_EQ(std::string::npos, Transcript().find("[DllMain")) << "nothing of the module ran";
  EXPECT_NE(std::string::npos, Transcript().find("API version")) << Transcript();
  EXPECT_FALSE(linker->loadModule("/nonexistent/module.arx", true));
  EXPECT_TRUE(qhost::LoadedModules().empty());
}

TEST_F(ModuleTest, ArxCommandLoadsAndReloads) {
  qhost::RegisterHostCommands();
  std::string path = Module("unlocked");
  Queue({{"command", {"ARX", "Load", path}, "t"}, {"command", {"ARX", "?"}, "t"}, {"command", {"ARX", "R", path}, "t"},
         {"command", {"ARX", "U", path}, "t"}});
  EXPECT_EQ(0, qhost::RunCommandLine());
  std::string t = Transcript();
  size_t inits = 0;
  for (size_t at = t.find("[acrxEntryPoint 1]"); at != std::string::npos; at = t.find("[acrxEntryPoint 1]", at + 1)) ++inits;
  EXPECT_EQ(2u, inits) << "loaded, then loaded again by Reload";
  EXPECT_NE(std::string::npos, Transcript().find("\n" + path + "\nCommand: ARX")) << Transcript();
  EXPECT_TRUE(qhost::LoadedModules().empty());
}

}  // namespace
