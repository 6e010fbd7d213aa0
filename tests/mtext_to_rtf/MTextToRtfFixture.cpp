// Helpers of MTextToRtf tests.
#include "MTextToRtfFixture.h"

#include <algorithm>

#include "converter/KeptCodes.h"
#include "converter/MTextRtfConverter.h"
#include "converter/reference/LiteralMTextToRtf.h"
#include "host/HostColors.h"

namespace mtext_to_rtf_test {

const std::string kFontTable0 = "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fnil MS Sans Serif;}}";
const std::string kColours7 = "{\\colortbl\\red0\\green0\\blue0;\\red255\\green255\\blue255;}";

std::string Read(const std::string& mtext, double height, int* movedSizes) {
  HostColors colors;
  Target target(height);
  MTextRtfConverter converter(colors, target);
  CString rtf = converter.MTextToRtf(CString(mtext.data(), static_cast<int>(mtext.size())));
  if (movedSizes) *movedSizes = converter.movedSizes;
  return std::string(rtf.GetString(), static_cast<size_t>(rtf.GetLength()));
}

std::string ReadLiterally(const std::string& mtext, double height) {
  HostColors colors;
  CString rtf = literal::MTextToRtf(CString(mtext.data(), static_cast<int>(mtext.size())), height, colors);
  return std::string(rtf.GetString(), static_cast<size_t>(rtf.GetLength()));
}

bool LiteralReferenceHolds(const std::string& mtext, double height) {
  if (keptcodes::HoldsKeptCode(mtext)) return false;
  // Closing braces in front of every group close nothing and are left out before the contents are told.
  const size_t lead = std::min(mtext.find_first_not_of('}'), mtext.size());
  if (mtext.compare(lead, 2, "{{") == 0 && mtext.find('x') != std::string::npos) return false;
  if (mtext.find('X') != std::string::npos) return false;
  if (mtext.find("\\U+") != std::string::npos || mtext.find("\\u+") != std::string::npos) return false;
  int moved = 0;
  Read(mtext, height, &moved);
  return moved == 0;
}

}  // namespace mtext_to_rtf_test
