// qconvert rtf-through-control: any RTF document streamed into the rich edit control and back out.
#include <qplatform/RichEditTesting.h>

#include "apps/qconvert/Command.h"

namespace qconvert {

std::string RtfThroughControl(const std::string& rtf) { return qplatform::RtfThroughControl(rtf); }

}  // namespace qconvert
