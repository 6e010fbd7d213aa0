// Host stand-in: dimensions, with their override text, their style and its overrides, and the
// anonymous block that draws them.
#pragma once

#include <map>

#include "dbcolor.h"
#include "dbmain.h"

class AcDbDimStyleTableRecord;
namespace qhost::detail {
struct DimensionLoader;
}

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

  // The dimension style record (null: the drawing's "Standard", else the host's defaults). The
  // stand-in sets the style, the overrides and the block only from the drawing.
  AcDbObjectId dimensionStyle() const { return m_style; }
  // The dimension variables in force: the dimension's own override, else its style's.
  double dimtxt() const;
  double dimscale() const;
  double dimgap() const;
  AcDbObjectId dimtxsty() const;
  AcCmColor dimclrt() const;
  int dimdec() const;
  int dimlunit() const;

  // The anonymous block ("*D...") that draws the dimension; null when the drawing has none.
  AcDbObjectId dimBlockId() const { return m_block; }
  // Brings the block up to date with the dimension. The stand-in redraws the text only: the text
  // entity of the block shows the override text, "<>" standing for the measurement as the block
  // showed it; lines, arrows and the text's place stay as they are.
  Acad::ErrorStatus recomputeDimBlock(bool forceUpdate = true);

 protected:
  AcDbDimension() = default;

 private:
  const AcDbDimStyleTableRecord* styleRecord() const;
  bool overridden(int code, double& value) const;
  std::string measurementText(const std::string& shown, const std::string& drawn) const;
  friend struct qhost::detail::DimensionLoader;

  std::string m_text;
  AcGePoint3d m_textPosition, m_dimLinePoint, m_xLine1, m_xLine2;
  double m_measurement = 0.0;
  AcDbObjectId m_style, m_block;
  // The dimension's own values of its style's variables (its ACAD DSTYLE extended data), by the
  // variable's DXF group code; the text style's by its id.
  std::map<int, double> m_overrides;
  AcDbObjectId m_txstyOverride;
  std::string m_drawnText;  // the override text that the block shows
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
