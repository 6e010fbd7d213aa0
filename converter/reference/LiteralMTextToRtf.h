// MTextToRtf written pass for pass with the literal helpers: the reference that the fast
// MTextToRtf is held to by differential tests, benchmarks and a fuzz target.
#pragma once

#include <afx.h>

#include "converter/ColorLookup.h"

namespace literal {

// MText contents in, the control's RTF document out, for a base text height in drawing units.
CString MTextToRtf(CString contents, double textHeight, const ColorLookup& colors);

}  // namespace literal
