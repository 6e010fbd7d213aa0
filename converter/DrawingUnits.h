// How the rich edit's sizes stand to the drawing's: the editor shows a text height of h drawing
// units as 6h points, so its RTF holds 12h half-points (\fsN).
#pragma once

inline constexpr double kPointsPerDrawingUnit = 6.0;
inline constexpr double kHalfPointsPerDrawingUnit = 2 * kPointsPerDrawingUnit;
