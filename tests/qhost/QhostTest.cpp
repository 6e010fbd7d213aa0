// qhost end to end: drawings, scripts, transcripts, exit codes, saving and file names.
#include <poll.h>
#include <pty.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

#include <algorithm>

#include <cstdio>
#include <cstdlib>
#include <csignal>
#include <fstream>
#include <vector>

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

  // qhost at a pseudo-terminal, driven step by step: what it shows is collected as it comes.
  struct Terminal {
    pid_t pid = -1;
    int fd = -1;
    std::string shown;
    termios left{};  // the terminal's modes as qhost left them (Finish)
  };
  // Starts qhost on `drawing` in dir_, with $XDG_STATE_HOME (the fallback folder of recovery
  // files) under dir_ unless `environment` says otherwise ("NAME=value", "NAME" to unset).
  Terminal StartAtTerminal(const std::string& drawing, const std::vector<std::string>& environment = {}) {
    Terminal t;
    // Wide enough that the line editor wraps no prompt and no typed line: they show as written.
    winsize size{24, 250, 0, 0};
    t.pid = forkpty(&t.fd, nullptr, nullptr, &size);
    if (t.pid == 0) {
      if (chdir(dir_.c_str()) != 0) _exit(127);
      setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
      setenv("XDG_STATE_HOME", (dir_ + "/state").c_str(), 1);
      for (const std::string& setting : environment) {
        const size_t equals = setting.find('=');
        if (equals == std::string::npos) unsetenv(setting.c_str());
        else setenv(setting.substr(0, equals).c_str(), setting.substr(equals + 1).c_str(), 1);
      }
      execl(QHOST_BINARY, QHOST_BINARY, "--no-module", drawing.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    EXPECT_GT(t.pid, 0);
    return t;
  }
  static void Type(Terminal& t, const std::string& typed) {
    EXPECT_EQ(write(t.fd, typed.data(), typed.size()), static_cast<ssize_t>(typed.size()));
  }
  // Reads what the terminal shows until `text` has appeared `times` times in all (10 s at most).
  static bool WaitUntilShown(Terminal& t, const std::string& text, int times = 1) {
    auto count = [&] {
      int n = 0;
      for (size_t at = t.shown.find(text); at != std::string::npos; at = t.shown.find(text, at + 1)) ++n;
      return n;
    };
    for (int waited = 0; count() < times && waited < 10000; waited += 50) {
      pollfd p{t.fd, POLLIN, 0};
      if (poll(&p, 1, 50) <= 0) continue;
      char buffer[4096];
      ssize_t n = read(t.fd, buffer, sizeof buffer);
      if (n <= 0) break;
      t.shown.append(buffer, static_cast<size_t>(n));
    }
    return count() >= times;
  }
  // Reads until qhost has gone, and its exit status; a qhost that is still there after 20 s of
  // silence is killed, and the test fails.
  static Outcome Finish(Terminal& t) {
    char buffer[4096];
    for (;;) {
      pollfd p{t.fd, POLLIN, 0};
      if (poll(&p, 1, 20000) == 0) {
        ADD_FAILURE() << "qhost did not end; the terminal shows:\n" << t.shown;
        kill(t.pid, SIGKILL);
      }
      ssize_t n = read(t.fd, buffer, sizeof buffer);
      if (n > 0) t.shown.append(buffer, static_cast<size_t>(n));
      else if (n < 0 && errno == EINTR) continue;
      else break;  // EIO: qhost has gone
    }
    EXPECT_EQ(0, tcgetattr(t.fd, &t.left));
    close(t.fd);
    int rc = 0;
    waitpid(t.pid, &rc, 0);
    return Outcome{WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, t.shown, ""};
  }

  // qhost run at a terminal: a pseudo-terminal types `typed` (Ctrl+D, "\x04", ends the input) and
  // collects what the terminal shows.
  Outcome AtTerminal(const std::string& drawing, const std::string& typed,
                     const std::vector<std::string>& environment = {}) {
    Terminal t = StartAtTerminal(drawing, environment);
    Type(t, typed);
    return Finish(t);
  }

  // A drawing of the session tests in dir_ under `name`, and its bytes.
  std::string CopyInput(const std::string& name, std::string* bytes = nullptr) {
    const std::string original = testsupport::ReadFile(SourceDir() + "/tests/session/data/input.dxf");
    if (bytes) *bytes = original;
    return Write(name, original);
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

// Ending signals and a closed terminal end the input: the main thread then leaves the work as at
// the end of input.
TEST_F(QhostTest, EndingSignalsAndAClosedTerminalLeaveARecoveryFile) {
  struct Ending {
    const char* name;
    void (*end)(Terminal&);
    const char* cause;  // "" when nobody can read what qhost says any more
  };
  const Ending endings[] = {
      {"Ctrl-C", [](Terminal& t) { Type(t, "\x03"); }, "Ctrl-C (SIGINT) ended the session"},
      // The line editor reads keys one by one then, and Ctrl-C still ends the session as a signal.
      {"Ctrl-C in a line being edited",
       [](Terminal& t) {
         Type(t, "CIRCLE");
         ASSERT_TRUE(WaitUntilShown(t, "CIRCLE")) << t.shown;
         Type(t, "\x03");
       },
       "Ctrl-C (SIGINT) ended the session"},
      {"SIGTERM", [](Terminal& t) { kill(t.pid, SIGTERM); }, "SIGTERM ended the session"},
      {"SIGHUP", [](Terminal& t) { kill(t.pid, SIGHUP); }, "the terminal closed (SIGHUP) and ended the session"},
      {"closed terminal", [](Terminal& t) { close(t.fd); }, ""},
  };
  const std::string recovered = dir_ + "/d.recovered.dxf";
  for (const Ending& ending : endings) {
    SCOPED_TRACE(ending.name);
    std::string original;
    const std::string drawing = CopyInput("d.dxf", &original);
    Terminal t = StartAtTerminal(drawing);
    Type(t, "LINE 0,0 10,10\n");
    ASSERT_TRUE(WaitUntilShown(t, "Command: ", 2)) << t.shown;
    ending.end(t);
    Outcome run;
    if (*ending.cause) {
      run = Finish(t);
      EXPECT_NE(std::string::npos,
                run.out.find(std::string(ending.cause) + " with unsaved changes; they are saved in " + recovered))
          << run.out;
      const tcflag_t cooked = ICANON | ECHO | ISIG;
      EXPECT_EQ(cooked, t.left.c_lflag & cooked) << "the terminal is given back as it was";
    } else {
      int rc = 0;
      waitpid(t.pid, &rc, 0);
      run.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    }
    EXPECT_EQ(4, run.status) << run.out;
    EXPECT_NE(std::string::npos, testsupport::ReadFile(recovered).find("LINE")) << "the recovery file holds the new line";
    EXPECT_TRUE(testsupport::ReadFile(drawing) == original) << "the drawing itself is not touched";
    std::remove(recovered.c_str());
  }
}

// A recovery file never replaces another file and never writes through a link; the next session
// on the drawing names those that are there.
TEST_F(QhostTest, RecoveryFilesAreNumberedNeverFollowLinksAndAreAnnounced) {
  const std::string drawing = CopyInput("d.dxf");
  const std::string victim = Write("victim.txt", "victim");
  ASSERT_EQ(0, symlink("victim.txt", (dir_ + "/d.recovered.dxf").c_str()));
  Outcome run = AtTerminal(drawing, "LINE 0,0 10,10\n\x04");
  EXPECT_EQ(4, run.status) << run.out;
  EXPECT_NE(std::string::npos, run.out.find("qhost: unsaved changes an earlier session left are in " + dir_ + "/d.recovered.dxf"))
      << run.out;
  EXPECT_NE(std::string::npos, run.out.find("they are saved in " + dir_ + "/d.recovered-2.dxf")) << run.out;
  EXPECT_EQ("victim", testsupport::ReadFile(victim));
  const std::string first = testsupport::ReadFile(dir_ + "/d.recovered-2.dxf");
  ASSERT_NE(std::string::npos, first.find("LINE"));

  run = AtTerminal(drawing, "CIRCLE 5,5 1\n\x04");
  EXPECT_EQ(4, run.status) << run.out;
  EXPECT_NE(std::string::npos, run.out.find("left are in " + dir_ + "/d.recovered-2.dxf")) << run.out;
  EXPECT_NE(std::string::npos, run.out.find("they are saved in " + dir_ + "/d.recovered-3.dxf")) << run.out;
  EXPECT_TRUE(first == testsupport::ReadFile(dir_ + "/d.recovered-2.dxf")) << "the first recovery is kept";
  EXPECT_NE(std::string::npos, testsupport::ReadFile(dir_ + "/d.recovered-3.dxf").find("CIRCLE"));
  EXPECT_EQ("victim", testsupport::ReadFile(victim));
}

// When the drawing's folder takes no file (here: it is gone), the work goes to the state folder;
// when no folder takes it, qhost says so and ends with status 5.
TEST_F(QhostTest, RecoveryFallsBackToTheStateFolderElseEndsWithStatusFive) {
  Write("a-file", "not a folder");
  struct Fallback {
    const char* name;
    std::vector<std::string> environment;
    std::string recovered;  // "" when nothing can be written
    int status;
  };
  const Fallback fallbacks[] = {
      {"$XDG_STATE_HOME", {}, dir_ + "/state/quillon/d.recovered.dxf", 4},
      {"$HOME", {"XDG_STATE_HOME", "HOME=" + dir_ + "/home"}, dir_ + "/home/.local/state/quillon/d.recovered.dxf", 4},
      {"nowhere", {"XDG_STATE_HOME=" + dir_ + "/a-file/state"}, "", 5},
  };
  for (const Fallback& fallback : fallbacks) {
    SCOPED_TRACE(fallback.name);
    ASSERT_EQ(0, mkdir((dir_ + "/work").c_str(), 0755));
    const std::string drawing = dir_ + "/work/d.dxf";
    std::ofstream(drawing, std::ios::binary) << testsupport::ReadFile(SourceDir() + "/tests/session/data/input.dxf");
    Terminal t = StartAtTerminal(drawing, fallback.environment);
    Type(t, "LINE 0,0 10,10\n");
    ASSERT_TRUE(WaitUntilShown(t, "Command: ", 2)) << t.shown;
    ASSERT_EQ(0, std::system(("rm -rf '" + dir_ + "/work'").c_str()));
    Type(t, "\x04");
    Outcome run = Finish(t);
    EXPECT_EQ(fallback.status, run.status) << run.out;
    if (fallback.recovered.empty()) {
      EXPECT_NE(std::string::npos, run.out.find("no recovery file could be written; they are lost")) << run.out;
    } else {
      EXPECT_NE(std::string::npos, run.out.find("they are saved in " + fallback.recovered)) << run.out;
      EXPECT_NE(std::string::npos, testsupport::ReadFile(fallback.recovered).find("LINE"));
    }
  }
}

// Two sessions on one drawing: the later SAVE asks before it drops what the other saved.
TEST_F(QhostTest, SaveOfADrawingChangedOnDiskAsksBeforeOverwriting) {
  const std::string drawing = CopyInput("d.dxf");
  Terminal t = StartAtTerminal(drawing);
  Type(t, "LINE 0,0 10,10\n");
  ASSERT_TRUE(WaitUntilShown(t, "Command: ", 2)) << t.shown;
  ASSERT_EQ(0, Qhost(drawing + " --script " + Write("other.txt", "command CIRCLE 5,5 1\ncommand SAVE\n")).status);
  const std::string theirs = testsupport::ReadFile(drawing);
  const std::string question = "\"" + drawing + "\" changed on disk since it was read. Overwrite? [Yes/No] <No>: ";
  Type(t, "SAVE\n\n");  // Enter is No
  ASSERT_TRUE(WaitUntilShown(t, "Command: ", 3)) << t.shown;
  EXPECT_NE(std::string::npos, t.shown.find(question)) << t.shown;
  EXPECT_TRUE(theirs == testsupport::ReadFile(drawing)) << "the other session's work is kept";
  Type(t, "SAVE\nY\n");
  ASSERT_TRUE(WaitUntilShown(t, "Saved \"" + drawing + "\".")) << t.shown;
  Type(t, "QUIT\n");
  Outcome run = Finish(t);
  EXPECT_EQ(3, run.status) << run.out << "\nthe refused save failed the session";
  const std::string mine = testsupport::ReadFile(drawing);
  EXPECT_NE(std::string::npos, mine.find("LINE"));
  EXPECT_EQ(std::string::npos, mine.find("CIRCLE")) << "overwritten only when asked to";

  // A script answers as at any prompt; Enter (or no answer) is No.
  const std::string renderOver = "command LINE 0,0 1,1\ncommand RENDER " + drawing + "\ncommand SAVE\n";
  CopyInput("d.dxf");
  run = Qhost(drawing + " --script " + Write("s.txt", renderOver + "enter\n"));
  EXPECT_EQ(3, run.status) << run.out;
  EXPECT_NE(std::string::npos, run.out.find(question)) << run.out;
  EXPECT_NE(std::string::npos, testsupport::ReadFile(drawing).find("<svg")) << "the file keeps what was written over it";
  CopyInput("d.dxf");
  run = Qhost(drawing + " --script " + Write("s.txt", renderOver + "type Y\n"));
  EXPECT_EQ(0, run.status) << run.out;
  EXPECT_NE(std::string::npos, testsupport::ReadFile(drawing).find("LINE"));
}

// A file size limit fails a save with its cause and status 3, instead of killing qhost.
TEST_F(QhostTest, AFileSizeLimitFailsTheSaveWithStatusThree) {
  std::string original;
  const std::string drawing = CopyInput("d.dxf", &original);
  const std::string script = Write("s.txt", "command LINE 0,0 1,1\ncommand SAVE\n");
  const std::string err = dir_ + "/stderr", out = dir_ + "/stdout";
  const int rc = std::system(("ulimit -f 1 && " + std::string(QHOST_BINARY) + " --no-module " + drawing + " --script " +
                              script + " </dev/null >" + out + " 2>" + err).c_str());
  ASSERT_TRUE(WIFEXITED(rc)) << "not killed by SIGXFSZ";
  EXPECT_EQ(3, WEXITSTATUS(rc)) << testsupport::ReadFile(out);
  EXPECT_NE(std::string::npos,
            testsupport::ReadFile(out).find("cannot save " + drawing +
                                            ": the file would be larger than this process may write (ulimit -f); "
                                            "the file on disk is unchanged"))
      << testsupport::ReadFile(out);
  EXPECT_TRUE(original == testsupport::ReadFile(drawing));
  EXPECT_NE(0, system(("ls '" + dir_ + "' | grep -q saving").c_str())) << "no temporary file is left";
}

// Only a regular file opens as a drawing, and only one whose numbers are numbers.
TEST_F(QhostTest, OnlyRegularFilesWithFiniteNumbersOpenAsDrawings) {
  const std::string fifo = dir_ + "/pipe.dxf";
  ASSERT_EQ(0, mkfifo(fifo.c_str(), 0600));
  std::string input = testsupport::ReadFile(SourceDir() + "/tests/session/data/input.dxf");
  const size_t entities = input.find("ENTITIES");
  ASSERT_NE(std::string::npos, entities);
  const size_t after = input.find('\n', entities) + 1;
  input.insert(after, "  0\nLWPOLYLINE\n  8\n0\n 90\n2\n 10\n0\n 20\n0\n 42\n1\n 10\n1e309\n 20\n0\n");
  const long line = 1 + std::count(input.begin(), input.begin() + static_cast<long>(input.find("1e309")), '\n');
  const std::string infinite = Write("inf.dxf", input);
  struct Refused {
    std::string drawing, error;
  };
  for (const Refused& refused :
       {Refused{fifo, fifo + ": cannot open the file: it is a named pipe (FIFO), not a regular file"},
        Refused{"/dev/zero", "/dev/zero: cannot open the file: it is a device, not a regular file"},
        Refused{infinite, infinite + ":" + std::to_string(line) +
                              ": a number was expected for group 10 of LWPOLYLINE, found \"1e309\""}}) {
    Outcome run = Qhost(refused.drawing);
    EXPECT_EQ(2, run.status) << refused.drawing;
    EXPECT_EQ("qhost: " + refused.error + "\n", run.err);
  }
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
