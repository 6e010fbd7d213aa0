// qconvert mtext-roundtrip: MText through the reader, the rich edit control and the writer.
#include "apps/qconvert/Command.h"

namespace qconvert {

std::string MTextRoundTrip(const std::string& mtext) { return RtfToMText(RtfThroughControl(MTextToRtf(mtext))); }

}  // namespace qconvert
