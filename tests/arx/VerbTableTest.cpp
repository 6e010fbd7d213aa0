// The host's prompts against the one table of script verbs: a prompt takes exactly the verbs the
// table says it understands, and turns every other verb away.
#include <map>
#include <string>
#include <vector>

#include "HostFixture.h"
#include "aced.h"
#include "acedads.h"
#include "adscodes.h"
#include "qplatform/Verbs.h"

namespace {

using VerbTable = HostTest;

// Words that make a sound answer of each verb at `wait`: a point, a command that ends the session.
std::vector<std::string> WordsFor(const std::string& verb, unsigned wait) {
  if (verb == "point" || verb == "pick") return {"1", "2"};
  if (verb == "type") return {wait == qhost::kAtCommandPrompt ? "QUIT" : "1,2"};
  if (verb == "command") return {"QUIT"};
  if (verb == "context-menu") return {"Menu", "1"};
  if (verb == "enter" || verb == "escape") return {};
  return {"1"};
}

// Whether the last run turned `verb` away as a verb the wait does not take.
bool TurnedAway(const std::string& verb) {
  for (const std::string& failure : qhost::InputQueue::Instance().Failures())
    if (failure.find("\"" + verb + "\" cannot answer") != std::string::npos) return true;
  return false;
}

// help is answered by qhost itself before any wait of the stand-ins sees it.
bool AnsweredByQhost(const qhost::Verb& verb) { return std::string(verb.name) == "help"; }

TEST_F(VerbTable, APointPromptTakesTheVerbsOfHostPrompts) {
  for (const qhost::Verb& verb : qhost::Verbs()) {
    if (AnsweredByQhost(verb)) continue;
    SCOPED_TRACE(verb.name);
    qhost::ResetSession();
    Queue({{verb.name, WordsFor(verb.name, qhost::kAtHostPrompt), "t"}});
    ads_point p;
    acedGetPoint(nullptr, "\nPoint: ", p);
    EXPECT_EQ((verb.waits & qhost::kAtHostPrompt) == 0, TurnedAway(verb.name));
  }
}

// An item of the drawing's context menu for context-menu to choose.
class Menu : public AcEdUIContext {
 public:
  void* getMenuContext(const AcRxClass*, const AcDbObjectIdArray&) override { return &m_handle; }
  void onCommand(Adesk::UInt32) override {}

 private:
  void* m_handle = nullptr;
};

TEST_F(VerbTable, TheCommandPromptTakesTheVerbsOfTheCommandPrompt) {
  Menu menu;
  ASSERT_TRUE(acedAddDefaultContextMenu(&menu, this, "Menu"));
  for (const qhost::Verb& verb : qhost::Verbs()) {
    if (AnsweredByQhost(verb)) continue;
    SCOPED_TRACE(verb.name);
    qhost::ResetSession();
    Queue({{verb.name, WordsFor(verb.name, qhost::kAtCommandPrompt), "t"}});
    qhost::RunCommandLine();
    EXPECT_EQ((verb.waits & qhost::kAtCommandPrompt) == 0, TurnedAway(verb.name));
  }
  EXPECT_TRUE(acedRemoveDefaultContextMenu(&menu));
}

}  // namespace
