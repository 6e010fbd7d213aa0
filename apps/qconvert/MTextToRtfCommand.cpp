// qconvert mtext-to-rtf: MText contents in, the rich edit control's RTF document out.
#include <cmath>
#include <cstdlib>

#include "converter/MTextRtfConverter.h"
#include "host/EditTarget.h"
#include "host/HostColors.h"
#include "apps/qconvert/Command.h"

namespace qconvert {

namespace {
double baseHeight = 2.5;
}  // namespace

bool MTextToRtfOption(const std::string& name, const std::string& value) {
  if (name != "height") return false;
  char* end = nullptr;
  double height = std::strtod(value.c_str(), &end);
  if (value.empty() || *end != '\0' || !std::isfinite(height) || height < 0) return false;
  baseHeight = height;
  return true;
}

std::string MTextToRtf(const std::string& mtext) {
  HostColors colors;
  theEditTarget.textHeight = baseHeight;
  MTextToRtfEditTarget target(theEditTarget);
  MTextRtfConverter converter(colors, target);
  CString rtf = converter.MTextToRtf(CString(mtext.data(), static_cast<int>(mtext.size())));
  return std::string(rtf.GetString(), static_cast<size_t>(rtf.GetLength()));
}

}  // namespace qconvert
