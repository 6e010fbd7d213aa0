// qconvert mtext-roundtrip: MText through MTextToRtf, the rich edit control and RtfToMText, as the
// editor loads a text and writes it back: the heights MTextToRtf met pass to RtfToMText.
#include "converter/MTextRtfConverter.h"
#include "host/EditTarget.h"
#include "host/HostColors.h"
#include "apps/qconvert/Command.h"

namespace qconvert {

std::string MTextRoundTrip(const std::string& mtext) {
  std::string rtf = RtfThroughControl(MTextToRtf(mtext));
  HostColors colors;
  MTextRtfConverter toMText(colors);
  toMText.knownHeights = theEditTarget.knownHeights;
  toMText.knownFonts = theEditTarget.knownFonts;
  toMText.halfPointsPerUnit = theEditTarget.halfPointsPerUnit;
  CString back = toMText.RtfToMText(CString(rtf.data(), static_cast<int>(rtf.size())));
  return std::string(back.GetString(), static_cast<size_t>(back.GetLength()));
}

}  // namespace qconvert
