// Angles: the drawing holds radians, the editor shows and takes degrees.
#pragma once

inline constexpr double kRadiansPerDegree = 0.017453292519943295;
inline constexpr double kDegreesPerRadian = 57.29577951308232;

inline double Radians(double degrees) { return degrees * kRadiansPerDegree; }
inline double Degrees(double radians) { return radians * kDegreesPerRadian; }
