// qconvert's subcommands: each lives in a file of its own and has one line in the table.
#pragma once

#include <string>

namespace qconvert {

// Converts the bytes read from a file or standard input; the result goes to standard output
// as it is.
using Conversion = std::string (*)(const std::string& input);

struct Command {
  const char* name;
  const char* summary;
  Conversion convert;
};

std::string RtfToMText(const std::string& rtf);
std::string RtfThroughControl(const std::string& rtf);

}  // namespace qconvert
