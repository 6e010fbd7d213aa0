// The shell stand-in's opener: off, it only records; on, web and mail addresses reach the desktop's
// opener as one argument and everything else is refused.
#include <shellapi.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "AboutFixture.h"

namespace {

// A stand-in for xdg-open that writes the arguments it was given, each ended by a NUL byte.
class FakeOpener {
 public:
  FakeOpener() {
    char dir[] = "/tmp/quillon-opener-XXXXXX";
    m_dir = mkdtemp(dir);
    m_program = m_dir + "/fake-open";
    std::ofstream script(m_program);
    script << "#!/bin/sh\nprintf '%s\\0' \"$0\" \"$@\" > '" << Output() << "'\n";
    script.close();
    chmod(m_program.c_str(), 0755);
  }
  ~FakeOpener() {
    std::remove(Output().c_str());
    std::remove(m_program.c_str());
    rmdir(m_dir.c_str());
  }
  const std::string& Program() const { return m_program; }
  std::string Output() const { return m_dir + "/argv"; }
  // The arguments of the last run, program first; empty when it never ran.
  std::vector<std::string> Argv() const {
    std::ifstream in(Output(), std::ios::binary);
    std::vector<std::string> argv;
    for (std::string arg; std::getline(in, arg, '\0');) argv.push_back(arg);
    return argv;
  }
  void Forget() const { std::remove(Output().c_str()); }

 private:
  std::string m_dir;
  std::string m_program;
};

class ShellOpenerTest : public AboutTest {
 protected:
  void SetUp() override {
    AboutTest::SetUp();
    qwin::SetShellOpenerProgram(m_opener.Program());
  }
  int Open(const char* address, const char* verb = "open") {
    return static_cast<int>(reinterpret_cast<INT_PTR>(ShellExecute(nullptr, verb, address, nullptr, nullptr, SW_SHOW)));
  }
  FakeOpener m_opener;
};

// ---- Off: recorded only ----

TEST_F(ShellOpenerTest, OffTheRequestIsOnlyRecorded) {
  EXPECT_EQ(Open("http://quillon.example/"), 42);
  EXPECT_EQ(qwin::WaitForShellOpeners(), 0);
  EXPECT_TRUE(m_opener.Argv().empty());
  ASSERT_EQ(qwin::ShellRequests().size(), 1u);
  EXPECT_EQ(qwin::ShellRequests()[0].outcome, "recorded");
}

// ---- On: refusals ----

TEST_F(ShellOpenerTest, RefusesAnythingButAnOpenOfAWebOrMailAddress) {
  qwin::SetShellOpenerEnabled(true);
  const struct {
    const char* verb;
    const char* address;
  } cases[] = {
      {"open", "file:///etc/passwd"},
      {"open", "javascript:alert(1)"},
      {"open", "ftp://quillon.example/"},
      {"open", "/usr/bin/xterm"},
      {"open", "--help"},
      {"open", ""},
      {"open", "http:"},
      {"open", "C:\\Pages\\index.htm"},
      {"open", "http://quillon.example/\nfile:///etc/passwd"},  // a control character
      {"print", "http://quillon.example/"},
      {"edit", "mailto:developers@quillon.example"},
  };
  for (const auto& c : cases) {
    qwin::Reset();
    EXPECT_EQ(Open(c.address, c.verb), SE_ERR_ACCESSDENIED) << c.verb << " " << c.address;
    ASSERT_EQ(qwin::ShellRequests().size(), 1u);
    EXPECT_EQ(qwin::ShellRequests()[0].outcome, "refused") << c.verb << " " << c.address;
    EXPECT_EQ(qwin::ShellRequests()[0].file, c.address) << "the refusal is recorded with its address";
  }
  EXPECT_EQ(qwin::WaitForShellOpeners(), 0);
  EXPECT_TRUE(m_opener.Argv().empty());
}

TEST_F(ShellOpenerTest, ACommandLineIsNeverRunEvenWithTheOpenerOn) {
  qwin::SetShellOpenerEnabled(true);
  EXPECT_EQ(WinExec(("/bin/sh -c 'touch " + m_opener.Output() + "'").c_str(), SW_SHOW), 33u);
  EXPECT_EQ(qwin::WaitForShellOpeners(), 0);
  EXPECT_TRUE(m_opener.Argv().empty());
  EXPECT_EQ(qwin::ShellRequests()[0].outcome, "recorded");
}

// ---- On: the opener's arguments ----

TEST_F(ShellOpenerTest, TheAddressIsTheOpenersOneArgumentAsItIs) {
  qwin::SetShellOpenerEnabled(true);
  const struct {
    const char* address;
    const char* argument;  // UTF-8
  } cases[] = {
      {"http://quillon.example/", "http://quillon.example/"},
      {"https://quillon.example/a b;$(touch x)|&'\"`", "https://quillon.example/a b;$(touch x)|&'\"`"},
      {"HTTP://Quillon.example/?q=1", "HTTP://Quillon.example/?q=1"},
      {"mailto:developers@quillon.example?subject=\xcf\xf0\xe8\xe2\xe5\xf2",
       "mailto:developers@quillon.example?subject=\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82"},
  };
  for (const auto& c : cases) {
    m_opener.Forget();
    EXPECT_EQ(Open(c.address), 42) << c.address;
    EXPECT_EQ(qwin::WaitForShellOpeners(), 1) << c.address;
    EXPECT_EQ(m_opener.Argv(), (std::vector<std::string>{m_opener.Program(), c.argument})) << c.address;
    EXPECT_EQ(qwin::ShellRequests().back().outcome, "opened");
  }
}

TEST_F(ShellOpenerTest, AMissingOpenerIsAFileNotFound) {
  qwin::SetShellOpenerEnabled(true);
  qwin::SetShellOpenerProgram("/nonexistent/quillon-opener");
  EXPECT_EQ(Open("http://quillon.example/"), SE_ERR_FNF);
  EXPECT_EQ(qwin::ShellRequests()[0].outcome.rfind("failed: ", 0), 0u) << qwin::ShellRequests()[0].outcome;
}

// ---- The link label with the opener on ----

TEST_F(ShellOpenerTest, AClickedLinkReachesTheOpener) {
  qwin::SetShellOpenerEnabled(true);
  LabelInFrame frame(SS_LEFT, "E-Mail", RECT{10, 10, 80, 30}, "mailto:developers@quillon.example");
  frame.Click();
  EXPECT_EQ(qwin::WaitForShellOpeners(), 1);
  EXPECT_EQ(m_opener.Argv(), (std::vector<std::string>{m_opener.Program(), "mailto:developers@quillon.example"}));
  EXPECT_TRUE(frame.label.GetVisited());
}

TEST_F(ShellOpenerTest, ARefusedLinkIsAnAccessDeniedForTheUser) {
  qwin::SetShellOpenerEnabled(true);
  LabelInFrame frame(SS_LEFT, "Local", RECT{10, 10, 80, 30}, "file:///etc/passwd");
  Event("answer", {"ok"});
  frame.Click();
  ASSERT_EQ(qwin::MessageBoxes().size(), 1u);
  EXPECT_EQ(qwin::MessageBoxes()[0].text,
            "Unable to open hyperlink:\n\nThe operating system denied\naccess to the specified file.");
  EXPECT_TRUE(m_opener.Argv().empty());
}

}  // namespace
