// Angles: the drawing holds radians, the editor shows and takes degrees.
#pragma once

inline constexpr double kPi = 3.141592653589793;

inline double Radians(double degrees) { return degrees * (kPi / 180.0); }
inline double Degrees(double radians) { return radians * (180.0 / kPi); }
