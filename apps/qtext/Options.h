// qtext's command line: what to do, read in one place.
#pragma once

#include <string>
#include <vector>

#include "converter/MTextSearch.h"

namespace qtext {

// qtext's exit statuses, as grep's.
enum class Exit : int {
  kMatched = 0,  // something matched (find) or was replaced (replace)
  kNone = 1,     // nothing matched
  kError = 2,    // a bad option, a bad pattern, or a file that could not be read or written
};

enum class Command { kFind, kReplace, kHelp, kVersion };

struct Options {
  Command command = Command::kFind;
  mtextsearch::SearchOptions search;
  std::string pattern;      // UTF-8, as typed
  std::string replacement;  // UTF-8, as typed
  std::vector<std::string> files;
  bool inPlace = false;
  std::string outDir;  // replace --out DIR
  bool dryRun = false;
  int jobs = 0;        // 0: one per core
};

// The options of `argv`, or false with `error` set (a usage error: exit status 2).
bool ParseArguments(int argc, char** argv, Options& options, std::string& error);
// The usage text of --help.
const char* Usage();

}  // namespace qtext
