// qconvert: reads a document from a file or standard input, converts it, writes the result.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "apps/qconvert/Command.h"

namespace {

// qconvert's exit statuses.
enum class Exit : int {
  kConverted = 0,
  kCannotReadOrWrite = 1,  // the input cannot be read (a missing file, a folder) or the output written
  kUsage = 2,              // an unknown command or option
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

void PrintUsage(std::FILE* to) {
  std::fprintf(to, "usage: qconvert <command> [options] [file]\n\n"
                   "Reads the file, or standard input without one, and writes the result to standard\n"
                   "output, bytes as they are.\n\ncommands:\n");
  for (const auto& command : kCommands) {
    std::fprintf(to, "  %-20s %s%s\n", command.name, command.options, command.summary);
  }
}

bool ReadAll(std::istream& in, std::string& bytes) {
  std::ostringstream buffer;
  buffer << in.rdbuf();
  bytes = buffer.str();
  return !in.bad();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    PrintUsage(stdout);
    return Status(Exit::kConverted);
  }
  if (argc < 2) {
    PrintUsage(stderr);
    return Status(Exit::kUsage);
  }
  const qconvert::Command* command = nullptr;
  for (const auto& candidate : kCommands) {
    if (std::strcmp(argv[1], candidate.name) == 0) command = &candidate;
  }
  if (!command) {
    std::fprintf(stderr, "qconvert: unknown command '%s'\n", argv[1]);
    PrintUsage(stderr);
    return Status(Exit::kUsage);
  }
  int next = 2;
  while (next < argc && std::strncmp(argv[next], "--", 2) == 0 && argv[next][2] != '\0') {
    if (next + 1 >= argc || !command->option || !command->option(argv[next] + 2, argv[next + 1])) {
      std::fprintf(stderr, "qconvert: %s: bad option '%s'\n", command->name, argv[next]);
      return Status(Exit::kUsage);
    }
    next += 2;
  }
  if (argc - next > 1) {
    PrintUsage(stderr);
    return Status(Exit::kUsage);
  }
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
