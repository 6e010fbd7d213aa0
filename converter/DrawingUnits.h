// How the rich edit's sizes stand to the drawing's: the view scale of the text being edited.
#pragma once

// Today's scale: a text height of h drawing units shows as 6h points, 12h half-points (\fsN).
inline constexpr double kPointsPerDrawingUnit = 6.0;
inline constexpr double kHalfPointsPerDrawingUnit = 2 * kPointsPerDrawingUnit;
// The sizes the control can show, in half-points: 1 point up to its largest, 1,638 points.
inline constexpr int kSmallestHalfPoints = 2;
inline constexpr int kLargestHalfPoints = 3276;

// Half-points per drawing unit for a text of this base height: today's scale while the base
// height shows between 8 and 36 points, otherwise the scale that shows it at 12 points (a text
// 500 units high, or 0.001, would lie beyond what the control can show).
inline double ViewHalfPointsPerUnit(double baseHeight) {
  const double points = baseHeight * kPointsPerDrawingUnit;
  if (!(baseHeight > 0.0) || !(baseHeight < 1e300) || (points >= 8.0 && points <= 36.0)) return kHalfPointsPerDrawingUnit;
  return 24.0 / baseHeight;
}

// The size a height shows at: its half-points, rounded, held to the sizes the control shows.
inline int ShownSize(double units, double halfPointsPerUnit) {
  const double half = units * halfPointsPerUnit + 0.5;
  return half < kSmallestHalfPoints ? kSmallestHalfPoints : half > kLargestHalfPoints ? kLargestHalfPoints : static_cast<int>(half);
}

// The size nearest to `natural`, held to the sizes the control shows, that `takes(size)` accepts
// (the larger first of two as near), or -1 when it accepts none.
template <class Takes>
int NearestSize(int natural, Takes takes) {
  const int nearest = natural < kSmallestHalfPoints ? kSmallestHalfPoints : natural > kLargestHalfPoints ? kLargestHalfPoints : natural;
  for (int d = 0; d <= kLargestHalfPoints - kSmallestHalfPoints; ++d) {
    if (nearest + d <= kLargestHalfPoints && takes(nearest + d)) return nearest + d;
    if (d > 0 && nearest - d >= kSmallestHalfPoints && takes(nearest - d)) return nearest - d;
  }
  return -1;
}
