// qconvert rtf-to-mtext: the rich edit control's RTF document in, MText contents out.
#include "converter/MTextRtfConverter.h"
#include "host/HostColors.h"
#include "apps/qconvert/Command.h"

namespace qconvert {

std::string RtfToMText(const std::string& rtf) {
  HostColors colors;
  MTextRtfConverter converter(colors);
  CString mtext = converter.RtfToMText(CString(rtf.data(), static_cast<int>(rtf.size())));
  return std::string(mtext.GetString(), static_cast<size_t>(mtext.GetLength()));
}

}  // namespace qconvert
