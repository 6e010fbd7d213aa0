// qconvert's subcommands: each lives in a file of its own and has one line in the table.
#pragma once

#include <string>

namespace qconvert {

// Converts the bytes read from a file or standard input; the result goes to standard output
// as it is.
using Conversion = std::string (*)(const std::string& input);

// Takes one "--name value" option of a subcommand; false when the subcommand has no such
// option or the value is not valid.
using OptionReader = bool (*)(const std::string& name, const std::string& value);

struct Command {
  const char* name;
  const char* summary;
  Conversion convert;
  OptionReader option = nullptr;
  const char* options = "";  // shown in the usage line
};

std::string RtfToMText(const std::string& rtf);
std::string RtfThroughControl(const std::string& rtf);
std::string MTextToRtf(const std::string& mtext);
bool MTextToRtfOption(const std::string& name, const std::string& value);
std::string MTextRoundTrip(const std::string& mtext);
std::string MTextRoundTripBatch(const std::string& strings);

}  // namespace qconvert
