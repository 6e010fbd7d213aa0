// qhost end to end: drawings, scripts, transcripts and exit codes.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "support/Bytes.h"

namespace {

struct Outcome {
  int status;
  std::string out, err;
};

std::string SourceDir() {
  const char* dir = std::getenv("QUILLON_SOURCE_DIR");
  return dir ? dir : ".";
}

class QhostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/qhost-e2e-XXXXXX";
    dir_ = mkdtemp(tmpl);
  }
  void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

  std::string Write(const std::string& name, const std::string& text) {
    std::string path = dir_ + "/" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }

  Outcome Qhost(const std::string& args) {
    std::string out = dir_ + "/stdout", err = dir_ + "/stderr";
    std::string cmd = std::string(QHOST_BINARY) + " --no-module " + args + " </dev/null >" + out + " 2>" + err;
    int rc = std::system(cmd.c_str());
    return Outcome{WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, testsupport::ReadFile(out), testsupport::ReadFile(err)};
  }

  std::string dir_;
};

TEST_F(QhostTest, SampleSessionGivesTheExpectedTranscript) {
  std::string src = SourceDir();
  Outcome run = Qhost(src + "/examples/sample.dxf --script " + src + "/examples/sample-session.txt");
  EXPECT_EQ(0, run.status) << run.err;
  std::string expected = testsupport::ReadFile(src + "/tests/qhost/golden/sample-session.txt");
  // The drawing's path is the one thing that varies: the transcript shows it from the source folder.
  size_t at = run.out.find(src + "/examples/sample.dxf");
  if (at != std::string::npos) run.out.replace(at, src.size() + 1, "");
  EXPECT_BYTES_EQ(expected, run.out);
}

TEST_F(QhostTest, BuildsADrawingAndSavesIt) {
  std::string saved = dir_ + "/new.dxf";
  std::string script = Write("build.txt", u8"command MTEXT 0,10 \"Текст\\\\Pвторой\"\ncommand DIMALIGNED 0,0 10,0 5,-5 \"<> мм\"\n"
                                          "command SAVEAS " + saved + "\ncommand QUIT\ncommand LIST\n");
  Outcome run = Qhost("--script " + script);
  ASSERT_EQ(0, run.status) << run.err;
  EXPECT_NE(std::string::npos, run.out.find("Saved \"" + saved + "\".")) << run.out;
  EXPECT_EQ(std::string::npos, run.out.find("Command: LIST")) << "QUIT ends the session";

  // Opened again, both entities are there with their texts; the file holds code page 1251.
  std::string bytes = testsupport::ReadFile(saved);
  EXPECT_NE(std::string::npos, bytes.find(testsupport::Cp1251(u8"Текст\\Pвторой"))) << testsupport::Readable(bytes);
  std::string list = Write("list.txt", "command LIST\npick 1 9\ncommand LIST\npick handle 41\n");
  Outcome again = Qhost(saved + " --script " + list);
  EXPECT_EQ(0, again.status) << again.err;
  EXPECT_NE(std::string::npos, again.out.find(u8"  Contents: Текст\\Pвторой\n")) << again.out;
  EXPECT_NE(std::string::npos, again.out.find(u8"  Override text: <> мм\n")) << again.out;
}

TEST_F(QhostTest, RendersTheDrawingAsLoadedOrAsTheScriptLeftIt) {
  std::string src = SourceDir();
  std::string picture = dir_ + "/sample.svg";
  Outcome run = Qhost(src + "/examples/sample.dxf --render " + picture);
  ASSERT_EQ(0, run.status) << run.err;
  EXPECT_EQ("4 entities drawn to " + picture + "\n", run.out);
  std::string svg = testsupport::ReadFile(picture);
  EXPECT_NE(std::string::npos, svg.find(u8">Вторая строка </tspan>")) << svg;

  // A text added by the script is in the picture; RENDER draws on the way.
  std::string second = dir_ + "/second.svg";
  std::string script = Write("s.txt", u8"command MTEXT 0,0 \"Новый\"\ncommand RENDER " + second + "\n");
  run = Qhost(src + "/examples/sample.dxf --script " + script + " --render " + picture);
  ASSERT_EQ(0, run.status) << run.err;
  EXPECT_NE(std::string::npos, run.out.find("Command: RENDER\nFile name: " + second + "\n5 entities drawn to " + second))
      << run.out;
  EXPECT_NE(std::string::npos, testsupport::ReadFile(picture).find(u8">Новый</tspan>"));
  EXPECT_NE(std::string::npos, testsupport::ReadFile(second).find(u8">Новый</tspan>"));

  EXPECT_EQ(2, Qhost(src + "/examples/sample.dxf --render " + picture + " --space layout").status);
  run = Qhost(src + "/examples/sample.dxf --render " + dir_ + "/no/such/folder.svg");
  EXPECT_EQ(1, run.status);
  EXPECT_NE(std::string::npos, run.err.find("cannot write " + dir_ + "/no/such/folder.svg")) << run.err;
}

TEST_F(QhostTest, ScriptEndingAtAPromptFailsAndNamesIt) {
  std::string script = Write("s.txt", "command LINE\npoint 0 0\n");
  Outcome run = Qhost("--script " + script);
  EXPECT_EQ(1, run.status);
  EXPECT_NE(std::string::npos, run.out.find("Specify next point: *Cancel*")) << run.out;
  EXPECT_EQ("qhost: " + script + ": the input ended while the host waited for \"Specify next point:\"; that wait was cancelled\n",
            run.err);
}

TEST_F(QhostTest, MalformedDrawingOrScriptStopsBeforeAnythingRuns) {
  std::string bad = Write("bad.dxf", "  0\nSECTION\nxx\n");
  Outcome run = Qhost(bad);
  EXPECT_EQ(2, run.status);
  EXPECT_EQ("qhost: " + bad + ":3: a group code was expected, found \"xx\"\n", run.err);
  EXPECT_EQ("", run.out);
  std::string script = Write("s.txt", "command \"LINE\n");
  run = Qhost("--script " + script);
  EXPECT_EQ(2, run.status);
  EXPECT_EQ("qhost: " + script + ":1: a quoted word is not closed\n", run.err);
}

TEST_F(QhostTest, LoadsAModuleAndRunsItsCommand) {
  std::string script = Write("s.txt", "command HELLO\ncommand ARX U " + std::string(TEST_MODULE) + "\ncommand HELLO\n");
  Outcome run = Qhost("--load " + std::string(TEST_MODULE) + " --script " + script);
  EXPECT_EQ(0, run.status) << run.err;
  EXPECT_NE(std::string::npos, run.out.find("Command: HELLO\nhello from the module")) << run.out;
  EXPECT_NE(std::string::npos, run.out.find("Command: HELLO\nUnknown command \"HELLO\".")) << run.out;
}

TEST_F(QhostTest, SavingACorpusDrawingUnchangedKeepsItsBytes) {
  REQUIRE_SHARED_DIR(shared);
  std::string original = shared + "/corpus/dxf/zcad__em.dxf";
  std::string copy = dir_ + "/em.dxf";
  Outcome run = Qhost(original + " --script " + Write("s.txt", "command SAVEAS " + copy + "\n"));
  ASSERT_EQ(0, run.status) << run.err;
  EXPECT_TRUE(testsupport::ReadFile(original) == testsupport::ReadFile(copy));
}

}  // namespace
