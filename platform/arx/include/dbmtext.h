// Host stand-in: the multiline text entity.
#pragma once

#include "dbmain.h"

class AcDbMText : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbMText)
  AcDbMText() = default;

  enum AttachmentPoint {
    kTopLeft = 1, kTopCenter = 2, kTopRight = 3,
    kMiddleLeft = 4, kMiddleCenter = 5, kMiddleRight = 6,
    kBottomLeft = 7, kBottomCenter = 8, kBottomRight = 9,
  };
  enum FlowDirection { kLtoR = 1, kRtoL = 2, kTtoB = 3, kBtoT = 4, kByStyle = 5 };

  AcGePoint3d location() const { return m_location; }
  Acad::ErrorStatus setLocation(const AcGePoint3d& point);
  double width() const { return m_width; }
  Acad::ErrorStatus setWidth(double width);
  double textHeight() const { return m_textHeight; }
  Acad::ErrorStatus setTextHeight(double height);
  double rotation() const { return m_rotation; }
  Acad::ErrorStatus setRotation(double radians);
  AcDbObjectId textStyle() const { return m_textStyle; }
  Acad::ErrorStatus setTextStyle(AcDbObjectId styleId);
  AttachmentPoint attachment() const { return m_attachment; }
  Acad::ErrorStatus setAttachment(AttachmentPoint attachment);
  FlowDirection flowDirection() const { return m_flowDirection; }
  Acad::ErrorStatus setFlowDirection(FlowDirection direction);

  // A copy of the contents (code page 1251 with the inline format codes); the caller frees it
  // with delete[] (acutDelString).
  char* contents() const;
  const char* contentsConst() const { return m_contents.c_str(); }
  Acad::ErrorStatus setContents(const char* text);

  // The horizontal part of the attachment: left, centre or right; the row is kept.
  AcDb::TextHorzMode horizontalMode() const;
  Acad::ErrorStatus setHorizontalMode(AcDb::TextHorzMode mode);
  // For multiline text the alignment point is the location.
  AcGePoint3d alignmentPoint() const { return m_location; }
  Acad::ErrorStatus setAlignmentPoint(const AcGePoint3d& point) { return setLocation(point); }

  AcDb::LineSpacingStyle lineSpacingStyle() const { return m_lineSpacingStyle; }
  Acad::ErrorStatus setLineSpacingStyle(AcDb::LineSpacingStyle style);
  double lineSpacingFactor() const { return m_lineSpacingFactor; }
  Acad::ErrorStatus setLineSpacingFactor(double factor);

  // The extent of the laid-out text, from the host's own layout.
  double actualHeight() const;
  double actualWidth() const;

 private:
  AcGePoint3d m_location;
  double m_width = 0.0;
  double m_textHeight = 2.5;
  double m_rotation = 0.0;
  AcDbObjectId m_textStyle;
  AttachmentPoint m_attachment = kTopLeft;
  FlowDirection m_flowDirection = kLtoR;
  std::string m_contents;
  AcDb::LineSpacingStyle m_lineSpacingStyle = AcDb::kAtLeast;
  double m_lineSpacingFactor = 1.0;
};
