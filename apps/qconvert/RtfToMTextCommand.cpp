// qconvert rtf-to-mtext: the rich edit control's RTF document in, MText contents out.
#include <qplatform/RichEditTesting.h>

#include "converter/MTextRtfConverter.h"
#include "converter/MTextToRtfSupport.h"
#include "host/HostColors.h"
#include "apps/qconvert/Command.h"

namespace qconvert {

std::string RtfToMText(const std::string& rtf) {
  // RtfToMText reads only the control's own dialect, whose documents all begin with its font
  // table head. Any other RTF goes through the control first, as pasting it into the editor
  // would take it; read as it is, it would lose its text.
  const bool controls = rtf.compare(0, sizeof mtext_to_rtf::kFontTableHead - 1, mtext_to_rtf::kFontTableHead) == 0;
  const std::string dialect = controls ? rtf : qplatform::RtfThroughControl(rtf);
  HostColors colors;
  MTextRtfConverter converter(colors);
  CString mtext = converter.RtfToMText(CString(dialect.data(), static_cast<int>(dialect.size())));
  return std::string(mtext.GetString(), static_cast<size_t>(mtext.GetLength()));
}

}  // namespace qconvert
