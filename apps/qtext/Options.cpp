// qtext's command line: every option and its checks.
#include "apps/qtext/Options.h"

#include <cstdlib>
#include <cstring>

namespace qtext {

const char* Usage() {
  return "usage: qtext find [options] PATTERN FILE...\n"
         "       qtext replace [options] FROM TO FILE... (--in-place | --out DIR) [--dry-run]\n"
         "\n"
         "Searches the texts of DXF drawings as they are displayed (MTEXT, TEXT and the text of\n"
         "dimensions, in model space, the paper spaces and blocks); formatting codes are never\n"
         "matched and never broken.\n"
         "\n"
         "find prints one line per match: file:handle:entity type:layer: text around the match.\n"
         "replace writes each changed drawing atomically, only the changed texts rewritten.\n"
         "\n"
         "options:\n"
         "  -i            ignore case (Unicode: Cyrillic too)\n"
         "  -w            whole words only\n"
         "  -E            PATTERN is a regular expression (PCRE2); $1, ${1}, $$ in TO\n"
         "  -j N          N files at a time (default: one per core)\n"
         "  --in-place    replace: write each changed drawing over itself\n"
         "  --out DIR     replace: write changed drawings under DIR, by their path relative to\n"
         "                the files' common folder; unchanged drawings are not copied\n"
         "  --dry-run     replace: show each change as before/after text, write nothing\n"
         "  --help        this text\n"
         "  --version     qtext's version\n"
         "\n"
         "\n"
         "exit statuses:\n"
         "  0  something matched (find) or was replaced (replace)\n"
         "  1  nothing matched\n"
         "  2  a bad option or pattern, or a file that could not be read or written (reported\n"
         "     per file; the other files are processed)\n";
}

namespace {

bool ParseJobs(const char* text, int& jobs) {
  char* end = nullptr;
  long n = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || n < 1 || n > 1024) return false;
  jobs = static_cast<int>(n);
  return true;
}

}  // namespace

bool ParseArguments(int argc, char** argv, Options& options, std::string& error) {
  std::vector<std::string> operands;
  bool onlyOperands = false;
  for (int k = 1; k < argc; ++k) {
    std::string arg = argv[k];
    if (onlyOperands || arg.size() < 2 || arg[0] != '-') {
      operands.push_back(arg);
      continue;
    }
    if (arg == "--") {
      onlyOperands = true;
    } else if (arg == "--help" || arg == "-h") {
      options.command = Command::kHelp;
      return true;
    } else if (arg == "--version") {
      options.command = Command::kVersion;
      return true;
    } else if (arg == "--in-place") {
      options.inPlace = true;
    } else if (arg == "--dry-run") {
      options.dryRun = true;
    } else if (arg == "--out" || arg == "-j") {
      if (k + 1 >= argc) {
        error = "option " + arg + " needs a value";
        return false;
      }
      const char* value = argv[++k];
      if (arg == "--out") {
        options.outDir = value;
      } else if (!ParseJobs(value, options.jobs)) {
        error = std::string("-j needs a number of files from 1 to 1024, not '") + value + "'";
        return false;
      }
    } else if (arg.compare(0, 2, "-j") == 0 && arg.size() > 2) {
      if (!ParseJobs(arg.c_str() + 2, options.jobs)) {
        error = "-j needs a number of files from 1 to 1024, not '" + arg.substr(2) + "'";
        return false;
      }
    } else if (arg[1] != '-') {
      // Single-letter flags, which may be joined: -iw.
      for (size_t c = 1; c < arg.size(); ++c) {
        switch (arg[c]) {
          case 'i': options.search.ignoreCase = true; break;
          case 'w': options.search.wholeWord = true; break;
          case 'E': options.search.regex = true; break;
          default: error = std::string("unknown option '-") + arg[c] + "'"; return false;
        }
      }
    } else {
      error = "unknown option '" + arg + "'";
      return false;
    }
  }
  if (operands.empty()) {
    error = "a command (find or replace) is needed";
    return false;
  }
  const std::string command = operands[0];
  size_t texts = command == "find" ? 1 : command == "replace" ? 2 : 0;
  if (texts == 0) {
    error = "unknown command '" + command + "'";
    return false;
  }
  options.command = texts == 1 ? Command::kFind : Command::kReplace;
  if (operands.size() < 2 + texts) {
    error = texts == 1 ? "find needs a PATTERN and at least one FILE" : "replace needs FROM, TO and at least one FILE";
    return false;
  }
  options.pattern = operands[1];
  if (texts == 2) options.replacement = operands[2];
  options.files.assign(operands.begin() + static_cast<long>(1 + texts), operands.end());
  if (options.command == Command::kFind && (options.inPlace || !options.outDir.empty() || options.dryRun)) {
    error = "--in-place, --out and --dry-run are options of replace";
    return false;
  }
  if (options.command == Command::kReplace && !options.dryRun && options.inPlace == !options.outDir.empty()) {
    error = "replace needs exactly one of --in-place and --out DIR";
    return false;
  }
  if (options.inPlace && !options.outDir.empty()) {
    error = "--in-place and --out exclude each other";
    return false;
  }
  return true;
}

}  // namespace qtext
