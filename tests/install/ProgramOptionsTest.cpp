// What every program answers alike: --help, --version, and status 2 with one line on a bad option.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "QuillonVersion.h"
#include "support/Bytes.h"

namespace {

struct Program {
  const char* name;
  const char* binary;
};
const std::vector<Program> kPrograms = {QUILLON_PROGRAMS};

struct Outcome {
  int status;
  std::string out, err;
};

class ProgramOptions : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/program-options-XXXXXX";
    dir_ = mkdtemp(tmpl);
  }
  void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

  Outcome Run(const Program& program, const std::string& args) {
    const std::string out = dir_ + "/stdout", err = dir_ + "/stderr";
    const std::string cmd = std::string(program.binary) + " " + args + " </dev/null >" + out + " 2>" + err;
    const int rc = std::system(cmd.c_str());
    return Outcome{WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, testsupport::ReadFile(out), testsupport::ReadFile(err)};
  }

  std::string dir_;
};

TEST_F(ProgramOptions, VersionIsTheBuildsOne) {
  for (const Program& program : kPrograms) {
    const Outcome run = Run(program, "--version");
    EXPECT_EQ(0, run.status) << program.name;
    EXPECT_BYTES_EQ(std::string(program.name) + " (Quillon) " + QUILLON_VERSION + "\n", run.out);
    EXPECT_EQ("", run.err) << program.name;
  }
}

TEST_F(ProgramOptions, HelpGivesUsageOptionsAndExitStatuses) {
  for (const Program& program : kPrograms) {
    for (const char* option : {"--help", "-h"}) {
      const Outcome run = Run(program, option);
      EXPECT_EQ(0, run.status) << program.name << " " << option;
      EXPECT_EQ(0u, run.out.rfind(std::string("usage: ") + program.name + " ", 0)) << run.out;
      EXPECT_NE(std::string::npos, run.out.find("--version")) << run.out;
      EXPECT_NE(std::string::npos, run.out.find("\nexit statuses:\n  0  ")) << run.out;
      EXPECT_EQ("", run.err) << program.name;
    }
  }
}

// An unknown option, wherever it stands, and a known one without its value: status 2, and one
// line on standard error that names the program and the option.
TEST_F(ProgramOptions, UnknownOptionIsRefusedInOneLineWithStatus2) {
  struct Case {
    const char* program;
    const char* args;
    const char* said;
  };
  const Case cases[] = {
      {"qhost", "--frobnicate", "qhost: unknown option '--frobnicate'; qhost --help lists the options\n"},
      {"qhost", "drawing.dxf --frobnicate", "qhost: unknown option '--frobnicate'; qhost --help lists the options\n"},
      {"qhost", "-x", "qhost: unknown option '-x'; qhost --help lists the options\n"},
      {"qhost", "--script", "qhost: --script needs a value; qhost --help lists the options\n"},
      {"qhost", "--render a.svg --space layout", "qhost: --space takes model or paper; qhost --help lists the options\n"},
      {"qhost", "a.dxf b.dxf", "qhost: one drawing at a time, not also 'b.dxf'; qhost --help lists the options\n"},
      {"qconvert", "--frobnicate", "qconvert: unknown option '--frobnicate'; qconvert --help lists the options\n"},
      {"qconvert", "", "qconvert: no command given; qconvert --help lists the options\n"},
      {"qconvert", "no-such-command", "qconvert: unknown command 'no-such-command'; qconvert --help lists the options\n"},
      {"qconvert", "mtext-to-rtf --frobnicate 1",
       "qconvert: mtext-to-rtf: bad option '--frobnicate'; qconvert --help lists the options\n"},
      {"qconvert", "rtf-to-mtext a b", "qconvert: rtf-to-mtext reads one file at most; qconvert --help lists the options\n"},
  };
  for (const Case& c : cases) {
    for (const Program& program : kPrograms) {
      if (std::string(program.name) != c.program) continue;
      const Outcome run = Run(program, c.args);
      EXPECT_EQ(2, run.status) << c.program << " " << c.args;
      EXPECT_BYTES_EQ(c.said, run.err);
      EXPECT_EQ("", run.out) << c.program << " " << c.args;
    }
  }
  // Every program, qtext too when it is built, refuses an option it does not know in one line.
  for (const Program& program : kPrograms) {
    const Outcome run = Run(program, "--no-such-option");
    EXPECT_EQ(2, run.status) << program.name;
    EXPECT_EQ(std::string(program.name) + ": unknown option '--no-such-option'; " + program.name +
                  " --help lists the options\n",
              run.err);
  }
}

}  // namespace
