// The options every Quillon program answers alike.
#include "apps/cli/ProgramOptions.h"

#include <cstdio>

#include "QuillonVersion.h"

namespace qcli {

std::string VersionLine(const Program& program) {
  return std::string(program.name) + " (Quillon) " + QUILLON_VERSION;
}

bool AnswerCommonOption(const Program& program, const std::string& arg, int& status) {
  if (arg == "--help" || arg == "-h") {
    std::fputs(program.usage, stdout);
  } else if (arg == "--version") {
    std::printf("%s\n", VersionLine(program).c_str());
  } else {
    return false;
  }
  status = std::fflush(stdout) == 0 ? 0 : 1;
  return true;
}

int Refuse(const Program& program, const std::string& reason) {
  std::fprintf(stderr, "%s: %s; %s --help lists the options\n", program.name, reason.c_str(), program.name);
  return kUsageStatus;
}

int RefuseUnknownOption(const Program& program, const std::string& option) {
  return Refuse(program, "unknown option '" + option + "'");
}

}  // namespace qcli
