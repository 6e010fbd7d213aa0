// The module's edit target record and MTextToRtf's view of it.
#include "host/EditTarget.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "converter/TextHelpers.h"
#include "host/DrawingAdapter.h"
#include "host/EditingRun.h"

EditTarget theEditTarget;

// A dimension's text is read at the dimension's own height. A height of 0 is not set: the
// dialog then shows the system variable TEXTSIZE, and the text it loads is read at that height too.
double MTextToRtfEditTarget::TextHeight() const {
  if (m_target.isDimension && m_target.dimensionHeight > 0.0) return m_target.dimensionHeight;
  if (m_target.textHeight != 0.0) return m_target.textHeight;
  double textSize = 0.0;
  return GetVarReal("TEXTSIZE", textSize) == 0 ? textSize : 0.0;
}

void MTextToRtfEditTarget::SetRtfText(const CString& rtf) { m_target.rtfText = rtf; }
void MTextToRtfEditTarget::SetKnownHeights(const KnownHeights& heights) { m_target.knownHeights = heights; }
void MTextToRtfEditTarget::SetKnownFonts(const KnownFonts& fonts) { m_target.knownFonts = fonts; }
void MTextToRtfEditTarget::SetViewScale(double halfPointsPerUnit) { m_target.halfPointsPerUnit = halfPointsPerUnit; }

namespace {
// A height text that is one absolute number, not a relative one nor a chain.
bool IsAbsolute(const CString& text) { return text.FindOneOf("xX;\\") < 0; }
}  // namespace

int KnowTypedHeight(EditTarget& target, const CString& text) {
  const double height = std::atof(text);
  if (!(height > 0.0)) return 0;  // no height: the size as before, nothing known
  const int natural = static_cast<int>(std::min(height * target.halfPointsPerUnit + 0.5, 1e9));
  int size = NearestSize(natural, [&](int size) {
    const auto held = target.knownHeights.find(size);
    return held == target.knownHeights.end() || (IsAbsolute(held->second) && std::atof(held->second) == height);
  });
  if (size < 0) return natural;
  target.knownHeights.emplace(size, text);
  return size;
}

CString HeightBoxText(const EditTarget& target, int halfPoints) {
  const double units = halfPoints / target.halfPointsPerUnit;
  if (target.halfPointsPerUnit == kHalfPointsPerDrawingUnit) return OneDecimal(units);  // as always at today's scale
  const auto known = target.knownHeights.find(halfPoints);
  if (known != target.knownHeights.end() && IsAbsolute(known->second)) return known->second;
  char text[32];
  std::snprintf(text, sizeof text, "%.4g", units);  // as far as a half-point tells it
  return detail::ToCString(detail::HeightNumber(std::strtod(text, nullptr)));
}
