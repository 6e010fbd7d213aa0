// The options every Quillon program answers alike, so that qhost, qconvert and qtext read the same.
#pragma once

#include <string>

namespace qcli {

// The status of a program that refused its arguments: an unknown option, a missing value.
constexpr int kUsageStatus = 2;

// What a program says about itself.
struct Program {
  const char* name;   // as typed: "qhost"
  const char* usage;  // the whole --help text: usage line, options and exit statuses
};

// "qhost (Quillon) 1.11.0": the program's name and the build's version.
std::string VersionLine(const Program& program);

// Answers --help (-h) and --version on standard output and sets the status to exit with;
// false for any other argument, which the program reads itself.
bool AnswerCommonOption(const Program& program, const std::string& arg, int& status);

// Says on standard error in one line why the arguments are refused
// ("qhost: unknown option '--frob'; qhost --help lists the options") and returns kUsageStatus.
int Refuse(const Program& program, const std::string& reason);
int RefuseUnknownOption(const Program& program, const std::string& option);

}  // namespace qcli
