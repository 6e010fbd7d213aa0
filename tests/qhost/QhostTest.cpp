// qhost end to end: drawings, scripts, transcripts, exit codes, saving and file names.
#include <pty.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

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

  // qhost run at a terminal: a pseudo-terminal types `typed` (Ctrl+D, "\x04", ends the input) and
  // collects what the terminal shows.
  Outcome AtTerminal(const std::string& drawing, const std::string& typed) {
    int terminal = -1;
    pid_t pid = forkpty(&terminal, nullptr, nullptr, nullptr);
    if (pid == 0) {
      if (chdir(dir_.c_str()) != 0) _exit(127);
      setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
      setenv("XDG_STATE_HOME", dir_.c_str(), 1);  // the line editor's history
      execl(QHOST_BINARY, QHOST_BINARY, "--no-module", drawing.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    EXPECT_GT(pid, 0);
    EXPECT_EQ(write(terminal, typed.data(), typed.size()), static_cast<ssize_t>(typed.size()));
    std::string shown;
    char buffer[4096];
    for (;;) {
      ssize_t n = read(terminal, buffer, sizeof buffer);
      if (n > 0) shown.append(buffer, static_cast<size_t>(n));
      else if (n < 0 && errno == EINTR) continue;
      else break;  // EIO: qhost has gone
    }
    close(terminal);
    int rc = 0;
    waitpid(pid, &rc, 0);
    return Outcome{WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, shown, ""};
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

// ---- A person at a terminal does not lose work ----

TEST_F(QhostTest, AtATerminalQuitAsksBeforeDroppingChanges) {
  const std::string original = testsupport::ReadFile(SourceDir() + "/tests/session/data/input.dxf");
  const std::string drawing = Write("d.dxf", original);
  // Cancel keeps the session; No ends it without saving.
  Outcome run = AtTerminal(drawing, "LINE 0,0 10,10\nQUIT\nC\nQUIT\nN\n");
  EXPECT_EQ(0, run.status) << run.out;
  EXPECT_NE(std::string::npos, run.out.find("Save changes to d.dxf? [Yes/No/Cancel] <Yes>: C")) << run.out;
  EXPECT_TRUE(testsupport::ReadFile(drawing) == original);
  EXPECT_FALSE(std::ifstream(dir_ + "/d.recovered.dxf").good());
  // Enter is Yes: the drawing is saved, and the session ends.
  run = AtTerminal(drawing, "LINE 0,0 10,10\nQUIT\n\n");
  EXPECT_EQ(0, run.status) << run.out;
  EXPECT_NE(std::string::npos, run.out.find("Saved \"" + drawing + "\".")) << run.out;
  EXPECT_FALSE(testsupport::ReadFile(drawing) == original);
  // Nothing unsaved: QUIT asks nothing.
  run = AtTerminal(drawing, "QUIT\n");
  EXPECT_EQ(0, run.status) << run.out;
  EXPECT_EQ(std::string::npos, run.out.find("Save changes")) << run.out;
}

TEST_F(QhostTest, AtATerminalInputThatEndsWithChangesLeavesARecoveryFile) {
  const std::string original = testsupport::ReadFile(SourceDir() + "/tests/session/data/input.dxf");
  const std::string drawing = Write("d.dxf", original);
  Outcome run = AtTerminal(drawing, "LINE 0,0 10,10\n\x04");
  EXPECT_EQ(4, run.status) << run.out;
  const std::string recovered = dir_ + "/d.recovered.dxf";
  EXPECT_NE(std::string::npos, run.out.find("unsaved changes; they are saved in " + recovered)) << run.out;
  EXPECT_TRUE(testsupport::ReadFile(drawing) == original) << "the drawing itself is not touched";
  const std::string bytes = testsupport::ReadFile(recovered);
  EXPECT_NE(std::string::npos, bytes.find("LINE")) << "the recovery file holds the new line";
  // Nothing unsaved: the end of input is the normal end.
  std::remove(recovered.c_str());
  run = AtTerminal(drawing, "\x04");
  EXPECT_EQ(0, run.status) << run.out;
  EXPECT_FALSE(std::ifstream(recovered).good());
}

TEST_F(QhostTest, SavingACorpusDrawingUnchangedKeepsItsBytes) {
  REQUIRE_SHARED_DIR(shared);
  std::string original = shared + "/corpus/dxf/zcad__em.dxf";
  std::string copy = dir_ + "/em.dxf";
  Outcome run = Qhost(original + " --script " + Write("s.txt", "command SAVEAS " + copy + "\n"));
  ASSERT_EQ(0, run.status) << run.err;
  EXPECT_TRUE(testsupport::ReadFile(original) == testsupport::ReadFile(copy));
}

// --- Exit statuses: a failure is never reported as success ------------------------------------

TEST_F(QhostTest, FoldersAndMissingModulesStopTheSessionWithTheCause) {
  Outcome run = Qhost(dir_);
  EXPECT_EQ(2, run.status);
  EXPECT_EQ("qhost: " + dir_ + ": cannot open the file: Is a directory\n", run.err);
  run = Qhost("--script " + dir_);
  EXPECT_EQ(2, run.status);
  EXPECT_EQ("qhost: " + dir_ + ": cannot read the script: Is a directory\n", run.err);
  std::string script = Write("s.txt", "command LINE 0,0 1,1\n");
  run = Qhost("--load " + dir_ + "/missing.arx --script " + script);
  EXPECT_EQ(2, run.status);
  EXPECT_EQ("qhost: cannot load the module " + dir_ +
                "/missing.arx (No such file or directory); the session does not start\n",
            run.err);
  EXPECT_EQ(std::string::npos, run.out.find("Command: LINE")) << run.out;
  run = Qhost("--load " + script + " --script " + script);
  EXPECT_EQ(2, run.status) << "a file that is no module is refused";
  EXPECT_NE(std::string::npos, run.out.find("Cannot load \"" + script + "\"")) << run.out;
}

TEST_F(QhostTest, AFailedSaveEndsTheSessionWithStatusThree) {
  std::string drawing = dir_ + "/d.dxf";
  ASSERT_EQ(0, Qhost("--script " + Write("new.txt", "command SAVEAS " + drawing + "\n")).status);
  const std::string saved = testsupport::ReadFile(drawing);
  ASSERT_EQ(0, chmod(drawing.c_str(), 0444));
  Outcome run = Qhost(drawing + " --script " + Write("s.txt", "command LINE 0,0 1,1\ncommand SAVE\ncommand LINE 1,1 2,2\n"));
  EXPECT_EQ(3, run.status) << run.out;
  EXPECT_NE(std::string::npos, run.out.find("\ncannot save " + drawing + ": the file is read-only\nCommand: LINE"))
      << run.out << "\nthe session goes on after the failure";
  EXPECT_TRUE(saved == testsupport::ReadFile(drawing));

  // A hard link: SAVE is refused and names SAVEAS; SAVEAS to another name works.
  ASSERT_EQ(0, chmod(drawing.c_str(), 0644));
  ASSERT_EQ(0, link(drawing.c_str(), (dir_ + "/linked.dxf").c_str()));
  run = Qhost(drawing + " --script " +
              Write("s.txt", "command LINE 0,0 1,1\ncommand SAVE\ncommand SAVEAS " + dir_ + "/new.dxf\n"));
  EXPECT_EQ(3, run.status) << run.out;
  EXPECT_NE(std::string::npos, run.out.find("use SAVEAS to save it under another name")) << run.out;
  EXPECT_NE(std::string::npos, run.out.find("Saved \"" + dir_ + "/new.dxf\".")) << run.out;
  EXPECT_TRUE(saved == testsupport::ReadFile(dir_ + "/linked.dxf"));
}

// --- File names: the whole answer, in the file system's bytes ---------------------------------

TEST_F(QhostTest, SaveAsTakesTheWholeNameInItsOwnBytes) {
  // Longer than a string prompt's 132 bytes: saved under the whole name, never a cut one.
  std::string folder = dir_ + "/" + std::string(100, 'f');
  ASSERT_EQ(0, mkdir(folder.c_str(), 0755));
  std::string longName = folder + "/" + std::string(60, 'n') + ".dxf";
  ASSERT_GT(longName.size(), 132u);
  Outcome run = Qhost("--script " + Write("s.txt", "command SAVEAS " + longName + "\n"));
  EXPECT_EQ(0, run.status) << run.out;
  EXPECT_EQ(0, access(longName.c_str(), F_OK)) << run.out;
  EXPECT_NE(0, access(longName.substr(0, 132).c_str(), F_OK));
  run = Qhost("--script " + Write("s.txt", "command SAVEAS " + dir_ + "/" + std::string(5000, 'n') + "\n"));
  EXPECT_EQ(3, run.status) << run.out;
  EXPECT_NE(std::string::npos, run.out.find("The file name is longer than 4095 bytes; nothing was saved.")) << run.out;

  // Names outside code page 1251, written by SAVEAS and written back by SAVE under the same bytes.
  struct Name {
    std::string bytes, inScript;
  };
  for (const Name& name : {Name{u8"café.dxf", u8"café.dxf"}, Name{u8"日本.dxf", u8"日本.dxf"},
                           Name{"caf\xe9-latin1.dxf", "caf\\xe9-latin1.dxf"}}) {
    SCOPED_TRACE(testsupport::Readable(name.bytes));
    std::string path = dir_ + "/" + name.bytes;
    run = Qhost("--script " + Write("s.txt", "command SAVEAS \"" + dir_ + "/" + name.inScript + "\"\n"));
    EXPECT_EQ(0, run.status) << run.out;
    ASSERT_EQ(0, access(path.c_str(), F_OK)) << run.out;
    const std::string before = testsupport::ReadFile(path);
    run = Qhost(path + " --script " + Write("s.txt", "command LINE 0,0 1,1\ncommand SAVE\n"));
    EXPECT_EQ(0, run.status) << run.out;
    EXPECT_FALSE(before == testsupport::ReadFile(path)) << "SAVE wrote the opened file";
  }
  const std::string cafe = dir_ + "/" + u8"café.dxf", escaped = dir_ + "/caf\\U+00E9.dxf";
  EXPECT_EQ(0, access(cafe.c_str(), F_OK));
  EXPECT_NE(0, access(escaped.c_str(), F_OK)) << "never the name converted to code page 1251 and back";
}

TEST_F(QhostTest, SaveThroughALinkKeepsTheLink) {
  std::string drawing = dir_ + "/d.dxf", link = dir_ + "/link.dxf";
  ASSERT_EQ(0, Qhost("--script " + Write("new.txt", "command SAVEAS " + drawing + "\n")).status);
  ASSERT_EQ(0, symlink("d.dxf", link.c_str()));
  const std::string before = testsupport::ReadFile(drawing);
  Outcome run = Qhost(link + " --script " + Write("s.txt", "command LINE 0,0 1,1\ncommand SAVE\n"));
  EXPECT_EQ(0, run.status) << run.out;
  char target[32] = {};
  ASSERT_GT(readlink(link.c_str(), target, sizeof target - 1), 0) << "still a link";
  EXPECT_STREQ("d.dxf", target);
  EXPECT_FALSE(before == testsupport::ReadFile(drawing)) << "the target holds the saved drawing";
}

}  // namespace
