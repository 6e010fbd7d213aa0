// The one table of session-script verbs against the page that documents them and against the
// verbs the window stand-in's modal waits apply.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <string>

#include "qplatform/Verbs.h"
#include "qplatform/WindowSystem.h"

namespace {

// The first word of each code in the first cell of every table whose first column is "Verb" or
// "Event" ("| `click <control> [x y]` |", "| `minimize`, `restore`, `close` |").
std::set<std::string> DocumentedVerbs() {
  const char* source = std::getenv("QUILLON_SOURCE_DIR");
  std::ifstream page(std::string(source ? source : QUILLON_SOURCE_ROOT) + "/docs/session-script.md");
  std::set<std::string> verbs;
  std::string line;
  bool inTable = false;
  while (std::getline(page, line)) {
    if (line.rfind("|", 0) != 0) {
      inTable = false;
      continue;
    }
    if (line.rfind("| Verb |", 0) == 0 || line.rfind("| Event |", 0) == 0) {
      inTable = true;
      continue;
    }
    if (!inTable || line.rfind("| `", 0) != 0) continue;
    std::string cell = line.substr(2, line.find(" |", 2) - 2);
    for (size_t at = cell.find('`'); at != std::string::npos; at = cell.find('`', cell.find('`', at + 1) + 1)) {
      std::string code = cell.substr(at + 1, cell.find('`', at + 1) - at - 1);
      verbs.insert(code.substr(0, code.find(' ')));
    }
  }
  return verbs;
}

std::set<std::string> TableVerbs(unsigned waits) {
  std::set<std::string> names;
  for (const qhost::Verb& verb : qhost::Verbs())
    if (verb.waits & waits) names.insert(verb.name);
  return names;
}

TEST(Verbs, ThePageDocumentsEveryVerbOfTheTableAndNoOther) {
  std::set<std::string> documented = DocumentedVerbs();
  ASSERT_GE(documented.size(), 20u) << "the page was not found or not read";
  std::set<std::string> table = TableVerbs(~0u);
  for (const std::string& verb : table) EXPECT_TRUE(documented.count(verb)) << verb << " is not documented";
  for (const std::string& verb : documented) EXPECT_TRUE(table.count(verb)) << verb << " is not in the table";
}

TEST(Verbs, EachVerbIsUnderstoodSomewhereAndNamedOnce) {
  std::set<std::string> seen;
  for (const qhost::Verb& verb : qhost::Verbs()) {
    EXPECT_NE(0u, verb.waits) << verb.name;
    EXPECT_TRUE(seen.insert(verb.name).second) << verb.name << " twice";
    EXPECT_EQ(&verb, qhost::FindVerb(verb.name));
  }
  EXPECT_EQ(nullptr, qhost::FindVerb("Click"));
  EXPECT_EQ(nullptr, qhost::FindVerb("doubleclick"));
}

// A waiting dialog applies exactly the table's dialog verbs (help is answered by qhost before any
// wait sees it).
TEST(Verbs, ADialogWaitAppliesTheTablesDialogVerbs) {
  std::set<std::string> expected = TableVerbs(qhost::kAtDialog);
  expected.erase("help");
  std::vector<std::string> applied = qwin::WindowEventVerbs();
  EXPECT_EQ(expected, std::set<std::string>(applied.begin(), applied.end()));
}

}  // namespace
