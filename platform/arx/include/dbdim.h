// Host stand-in: dimensions, with their override text and the points that place them.
#pragma once

#include "dbmain.h"

// The common part of every dimension. The override text is empty when the measurement is
// shown as it is; "<>" in it stands for the measurement.
class AcDbDimension : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbDimension)
  // A copy of the override text; the caller frees it with delete[] (acutDelString).
  char* dimensionText() const;
  Acad::ErrorStatus setDimensionText(const char* text);
  AcGePoint3d textPosition() const { return m_textPosition; }
  Acad::ErrorStatus setTextPosition(const AcGePoint3d& point);
  AcGePoint3d dimLinePoint() const { return m_dimLinePoint; }
  Acad::ErrorStatus setDimLinePoint(const AcGePoint3d& point);
  // The first and second definition points (extension line origins of a linear dimension).
  AcGePoint3d xLine1Point() const { return m_xLine1; }
  Acad::ErrorStatus setXLine1Point(const AcGePoint3d& point);
  AcGePoint3d xLine2Point() const { return m_xLine2; }
  Acad::ErrorStatus setXLine2Point(const AcGePoint3d& point);
  // The measured value as stored with the dimension (0 when the drawing has none).
  double measurement() const { return m_measurement; }
  Acad::ErrorStatus setMeasurement(double value);

 protected:
  AcDbDimension() = default;

 private:
  std::string m_text;
  AcGePoint3d m_textPosition, m_dimLinePoint, m_xLine1, m_xLine2;
  double m_measurement = 0.0;
};

// The kinds of dimension, by the type number the drawing stores.
#define QHOST_DIMENSION_CLASS(NAME)   \
  class NAME : public AcDbDimension { \
   public:                            \
    ACRX_DECLARE_MEMBERS(NAME)        \
    NAME() = default;                 \
  };
QHOST_DIMENSION_CLASS(AcDbRotatedDimension)
QHOST_DIMENSION_CLASS(AcDbAlignedDimension)
QHOST_DIMENSION_CLASS(AcDb2LineAngularDimension)
QHOST_DIMENSION_CLASS(AcDbDiametricDimension)
QHOST_DIMENSION_CLASS(AcDbRadialDimension)
QHOST_DIMENSION_CLASS(AcDb3PointAngularDimension)
QHOST_DIMENSION_CLASS(AcDbOrdinateDimension)
#undef QHOST_DIMENSION_CLASS
