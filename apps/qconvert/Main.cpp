// qconvert: reads a document from a file or standard input, converts it, writes the result.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "apps/cli/ProgramOptions.h"
#include "apps/qconvert/Command.h"

namespace {

// qconvert's exit statuses.
enum class Exit : int {
  kConverted = 0,
  kCannotReadOrWrite = 1,  // the input cannot be read (a missing file, a folder) or the output written
  kUsage = qcli::kUsageStatus,  // an unknown command or option
};
int Status(Exit exit) { return static_cast<int>(exit); }

// One line per subcommand.
const qconvert::Command kCommands[] = {
    {"rtf-to-mtext", "RTF document (code page 1251) to MText contents; RTF in another dialect than the\n"
                     "                       control's goes through the control first, as a paste would",
     qconvert::RtfToMText},
    {"mtext-to-rtf", "MText contents to RTF document; base height H (default 2.5)", qconvert::MTextToRtf,
     qconvert::MTextToRtfOption, "[--height H] "},
    {"rtf-through-control", "any RTF through the rich edit control: its own dialect", qconvert::RtfThroughControl},
    {"mtext-roundtrip", "MText through MTextToRtf, the control and RtfToMText; base height H", qconvert::MTextRoundTrip,
     qconvert::MTextToRtfOption, "[--height H] "},
    {"mtext-roundtrip-batch", "the same for many MText strings, each ended by a NUL byte, in and out",
     qconvert::MTextRoundTripBatch, qconvert::MTextToRtfOption, "[--height H] "},
};

// The --help text: the usage line, one line per subcommand, the exit statuses.
std::string Usage() {
  std::string usage =
      "usage: qconvert <command> [options] [file]\n"
      "       qconvert --help | --version\n\n"
      "Reads the file, or standard input without one (or with -), and writes the result to standard\n"
      "output, bytes as they are.\n\ncommands:\n";
  for (const auto& command : kCommands) {
    char line[512];
    std::snprintf(line, sizeof line, "  %-20s %s%s\n", command.name, command.options, command.summary);
    usage += line;
  }
  usage +=
      "\nexit statuses:\n"
      "  0  converted\n"
      "  1  the input cannot be read (a missing file, a folder) or the output written\n"
      "  2  an unknown command or option\n";
  return usage;
}

bool ReadAll(std::istream& in, std::string& bytes) {
  std::ostringstream buffer;
  buffer << in.rdbuf();
  bytes = buffer.str();
  return !in.bad();
}

}  // namespace

int main(int argc, char** argv) {
  const std::string usage = Usage();
  const qcli::Program qconvert{"qconvert", usage.c_str()};
  int status = 0;
  if (argc >= 2 && qcli::AnswerCommonOption(qconvert, argv[1], status)) return status;
  if (argc < 2) return qcli::Refuse(qconvert, "no command given");
  const qconvert::Command* command = nullptr;
  for (const auto& candidate : kCommands) {
    if (std::strcmp(argv[1], candidate.name) == 0) command = &candidate;
  }
  if (!command && argv[1][0] == '-') return qcli::RefuseUnknownOption(qconvert, argv[1]);
  if (!command) return qcli::Refuse(qconvert, std::string("unknown command '") + argv[1] + "'");
  int next = 2;
  while (next < argc && std::strncmp(argv[next], "--", 2) == 0 && argv[next][2] != '\0') {
    if (next + 1 >= argc || !command->option || !command->option(argv[next] + 2, argv[next + 1]))
      return qcli::Refuse(qconvert, std::string(command->name) + ": bad option '" + argv[next] + "'");
    next += 2;
  }
  if (argc - next > 1) return qcli::Refuse(qconvert, std::string(command->name) + " reads one file at most");
  std::string input;
  if (next < argc && std::strcmp(argv[next], "-") != 0) {
    std::ifstream file(argv[next], std::ios::binary);
    struct stat st {};
    if (file && stat(argv[next], &st) == 0 && S_ISDIR(st.st_mode)) {
      std::fprintf(stderr, "qconvert: cannot read '%s': %s\n", argv[next], std::strerror(EISDIR));
      return Status(Exit::kCannotReadOrWrite);
    }
    if (!file || !ReadAll(file, input)) {
      std::fprintf(stderr, "qconvert: cannot read '%s': %s\n", argv[next], std::strerror(errno));
      return Status(Exit::kCannotReadOrWrite);
    }
  } else if (!ReadAll(std::cin, input)) {
    std::fprintf(stderr, "qconvert: cannot read standard input\n");
    return Status(Exit::kCannotReadOrWrite);
  }
  std::string output = command->convert(input);
  std::fwrite(output.data(), 1, output.size(), stdout);
  return Status(std::fflush(stdout) == 0 ? Exit::kConverted : Exit::kCannotReadOrWrite);
}
