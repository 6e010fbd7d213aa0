// Helpers of MTextToRtf tests: conversions at a given height, with the host's colours.
#pragma once

#include <string>

#include <afx.h>

#include "converter/MTextToRtfTarget.h"

namespace mtext_to_rtf_test {

// A text of a given height that keeps what MTextToRtf leaves in it. (The host's record answers a
// height of 0 with the drawing's TEXTSIZE; the host's tests hold that.)
struct Target : MTextToRtfTarget {
  explicit Target(double h = 2.5) : height(h) {}
  double TextHeight() const override { return height; }
  void SetRtfText(const CString& text) override { rtf = text; }
  void SetKnownHeights(const KnownHeights& known) override { heights = known; }
  void SetKnownFonts(const KnownFonts& known) override { fonts = known; }
  void SetViewScale(double halfPoints) override { halfPointsPerUnit = halfPoints; }

  double height;
  CString rtf;
  KnownHeights heights;
  KnownFonts fonts;
  double halfPointsPerUnit = 0.0;
};

// MText contents in, RTF document out, through a fresh converter on a text of that height; how
// many heights it showed at a size not their own goes to `movedSizes`.
std::string Read(const std::string& mtext, double height = 2.5, int* movedSizes = nullptr);
// The same through the literal reference.
std::string ReadLiterally(const std::string& mtext, double height = 2.5);
// Whether the literal reference holds for a text: kept codes and literal backslashes follow rules
// of their own, which it does not know; so do heights shown at a size not their own (beside
// another height of the same size, or beyond what the control shows), and relative heights on
// RtfToMText's own contents, which multiply the height in force, or with a capital X; and faces
// spelled with "\U+" codes, which the control shows in a face of their script.
bool LiteralReferenceHolds(const std::string& mtext, double height = 2.5);

// The font table head with font 0 only, and the colour table with black and colour 7.
extern const std::string kFontTable0;
extern const std::string kColours7;

}  // namespace mtext_to_rtf_test
