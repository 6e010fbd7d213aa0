// Host stand-in: the geometry library's 3D point.
#pragma once

class AcGePoint3d {
 public:
  AcGePoint3d() = default;
  AcGePoint3d(double xx, double yy, double zz) : x(xx), y(yy), z(zz) {}
  bool operator==(const AcGePoint3d& o) const { return x == o.x && y == o.y && z == o.z; }
  bool operator!=(const AcGePoint3d& o) const { return !(*this == o); }
  AcGePoint3d& set(double xx, double yy, double zz) {
    x = xx;
    y = yy;
    z = zz;
    return *this;
  }
  static const AcGePoint3d kOrigin;

  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

inline const AcGePoint3d AcGePoint3d::kOrigin{};
