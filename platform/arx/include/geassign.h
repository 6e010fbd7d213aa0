// Host stand-in: a 3D point seen as the three doubles of an ads_point, and back.
#pragma once

#include "gepnt3d.h"

inline double* asDblArray(AcGePoint3d& point) { return &point.x; }
inline const double* asDblArray(const AcGePoint3d& point) { return &point.x; }
inline AcGePoint3d& asPnt3d(double* values) { return *reinterpret_cast<AcGePoint3d*>(values); }
inline const AcGePoint3d& asPnt3d(const double* values) { return *reinterpret_cast<const AcGePoint3d*>(values); }
