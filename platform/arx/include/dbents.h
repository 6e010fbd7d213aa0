// Host stand-in: the plain entities: line, circle and single-line text.
#pragma once

#include "dbmain.h"

class AcDbLine : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbLine)
  AcDbLine() = default;
  AcDbLine(const AcGePoint3d& start, const AcGePoint3d& end) : m_start(start), m_end(end) {}
  AcGePoint3d startPoint() const { return m_start; }
  Acad::ErrorStatus setStartPoint(const AcGePoint3d& point);
  AcGePoint3d endPoint() const { return m_end; }
  Acad::ErrorStatus setEndPoint(const AcGePoint3d& point);

 private:
  AcGePoint3d m_start, m_end;
};

class AcDbCircle : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbCircle)
  AcDbCircle() = default;
  AcGePoint3d center() const { return m_center; }
  Acad::ErrorStatus setCenter(const AcGePoint3d& point);
  double radius() const { return m_radius; }
  Acad::ErrorStatus setRadius(double radius);

 private:
  AcGePoint3d m_center;
  double m_radius = 0.0;
};

class AcDbText : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbText)
  AcDbText() = default;
  AcGePoint3d position() const { return m_position; }
  Acad::ErrorStatus setPosition(const AcGePoint3d& point);
  AcGePoint3d alignmentPoint() const { return m_alignment; }
  Acad::ErrorStatus setAlignmentPoint(const AcGePoint3d& point);
  // A copy of the text; the caller frees it with delete[] (acutDelString).
  char* textString() const;
  const char* textStringConst() const { return m_text.c_str(); }
  Acad::ErrorStatus setTextString(const char* text);
  double height() const { return m_height; }
  Acad::ErrorStatus setHeight(double height);
  double rotation() const { return m_rotation; }
  Acad::ErrorStatus setRotation(double radians);
  double widthFactor() const { return m_widthFactor; }
  Acad::ErrorStatus setWidthFactor(double factor);
  AcDb::TextHorzMode horizontalMode() const { return m_horzMode; }
  Acad::ErrorStatus setHorizontalMode(AcDb::TextHorzMode mode);
  AcDbObjectId textStyle() const { return m_textStyle; }
  Acad::ErrorStatus setTextStyle(AcDbObjectId styleId);

 private:
  AcGePoint3d m_position, m_alignment;
  std::string m_text;
  double m_height = 2.5;
  double m_rotation = 0.0;
  double m_widthFactor = 1.0;
  AcDb::TextHorzMode m_horzMode = AcDb::kTextLeft;
  AcDbObjectId m_textStyle;
};
