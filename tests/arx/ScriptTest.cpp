// Session-script lines become events; a script that ends while the host waits fails clearly.
#include "HostFixture.h"
#include "qplatform/Script.h"
#include "support/Bytes.h"

namespace {

using testsupport::Cp1251;

TEST(ScriptLine, WordsQuotesAndEscapes) {
  struct Case {
    std::string line;
    std::string verb;
    std::vector<std::string> args;
  } cases[] = {
      {"point 1 2", "point", {"1", "2"}},
      {"  POINT\t1   2  ", "point", {"1", "2"}},
      {"type \"two words\"", "type", {"two words"}},
      {"type \"\"", "type", {""}},
      {"type \"a\\\"b\\\\c\\n\\t\"", "type", {"a\"b\\c\n\t"}},
      {"type \"\\x41\\xE0\"", "type", {"A\xE0"}},
      {u8"type \"Привет\"", "type", {Cp1251(u8"Привет")}},
      {u8"type ≈", "type", {"\\U+2248"}},
      {"click 5013 # not a comment here", "click", {"5013", "#", "not", "a", "comment", "here"}},
      {"# a comment", "", {}},
      {"   ", "", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    qhost::InputEvent e;
    std::string error;
    ASSERT_TRUE(qhost::ParseScriptLine(c.line, e, error)) << error;
    EXPECT_EQ(c.verb, e.verb);
    EXPECT_EQ(c.args, e.args);
  }
}

TEST(ScriptLine, MalformedLinesAreRefused) {
  const std::pair<std::string, std::string> cases[] = {
      {"type \"open", "a quoted word is not closed"},
      {"type \"\\q\"", "unknown escape \\q in a quoted word"},
      {"type \"\\x4\"", "\\x needs two hexadecimal digits"},
      {"type \xFF", "the text is not UTF-8"},
  };
  for (const auto& [line, message] : cases) {
    qhost::InputEvent e;
    std::string error;
    EXPECT_FALSE(qhost::ParseScriptLine(line, e, error)) << line;
    EXPECT_EQ(message, error);
  }
  std::string error;
  EXPECT_EQ(nullptr, qhost::ScriptSource::FromText("point 1 2\ntype \"x\n", "s.txt", error));
  EXPECT_EQ("s.txt:2: a quoted word is not closed", error);
}

TEST(ScriptLine, UnknownVerbsAreKeptForWhoeverConsumesThem) {
  std::string error;
  auto source = qhost::ScriptSource::FromText("\n# comment\nwindow-resize 5000 400 300\n", "s.txt", error);
  ASSERT_NE(nullptr, source);
  auto event = source->Next("anything");
  ASSERT_TRUE(event);
  EXPECT_EQ("window-resize", event->verb);
  EXPECT_EQ("s.txt:3", event->origin);
  EXPECT_FALSE(source->Next("anything"));
}

using ScriptRun = HostTest;

TEST_F(ScriptRun, EndingWhileTheHostWaitsCancelsAndFails) {
  qhost::RegisterHostCommands();
  std::string error;
  qhost::InputQueue::Instance().SetSource(qhost::ScriptSource::FromText("command LINE\npoint 0 0\n", "s.txt", error));
  EXPECT_EQ(1, qhost::RunCommandLine());
  EXPECT_BYTES_EQ("\nCommand: LINE\nSpecify first point: 0,0\nSpecify next point: *Cancel*\nCommand: \n", Transcript());
  ASSERT_EQ(1u, qhost::InputQueue::Instance().Failures().size());
  EXPECT_EQ("s.txt: the input ended while the host waited for \"Specify next point:\"; that wait was cancelled",
            qhost::InputQueue::Instance().Failures()[0]);
}

TEST_F(ScriptRun, EndingAtTheCommandPromptIsTheNormalEnd) {
  std::string error;
  qhost::InputQueue::Instance().SetSource(qhost::ScriptSource::FromText("enter\n", "s.txt", error));
  EXPECT_EQ(0, qhost::RunCommandLine());
  EXPECT_FALSE(qhost::InputQueue::Instance().RanOut());
}

TEST_F(ScriptRun, UnusableEventAtTheCommandPromptFails) {
  Queue({{"click", {"2"}, "s.txt:7"}});
  EXPECT_EQ(1, qhost::RunCommandLine());
  EXPECT_EQ("s.txt:7: \"click\" cannot answer \"Command: \"; that wait was cancelled",
            qhost::InputQueue::Instance().Failures()[0]);
}

TEST_F(ScriptRun, OtherVerbsAtTheCommandPromptGoToTheHandler) {
  std::vector<std::string> seen;
  qhost::SetCommandPromptHandler([&](const qhost::InputEvent& e) {
    seen.push_back(e.verb);
    return e.verb == "right-click";
  });
  Queue({{"right-click", {"10", "10"}, "s.txt:1"}, {"click", {"2"}, "s.txt:2"}});
  EXPECT_EQ(1, qhost::RunCommandLine());
  qhost::SetCommandPromptHandler(nullptr);
  EXPECT_EQ((std::vector<std::string>{"right-click", "click"}), seen);
  ASSERT_EQ(1u, qhost::InputQueue::Instance().Failures().size());
  EXPECT_EQ(0u, qhost::InputQueue::Instance().Failures()[0].find("s.txt:2:"));
}

TEST(EdgeConversion, Cp1251ToUtf8AndBack) {
  std::string cp;
  ASSERT_TRUE(qhost::Utf8ToCp1251(u8"Ёлка №5", cp));
  EXPECT_BYTES_EQ(Cp1251(u8"Ёлка №5"), cp);
  EXPECT_EQ(u8"Ёлка №5", qhost::Cp1251ToUtf8(cp));
}

}  // namespace
