// Helpers of MTextToRtf tests: conversions at a given height, with the host's colours.
#pragma once

#include <string>

#include "host/EditTarget.h"

namespace mtext_to_rtf_test {

// MText contents in, RTF document out, through a fresh converter on a record of that height.
std::string Read(const std::string& mtext, double height = 2.5);
// The same through the literal reference.
std::string ReadLiterally(const std::string& mtext, double height = 2.5);

// The font table head with font 0 only, and the colour table with black and colour 7.
extern const std::string kFontTable0;
extern const std::string kColours7;

}  // namespace mtext_to_rtf_test
