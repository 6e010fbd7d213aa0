// The entities' properties: every setter checks that the entity is open for write.
#include <cstring>

#include "arx/src/DbInternals.h"
#include "arx/src/RxDefine.h"
#include "dbdim.h"
#include "dbents.h"
#include "dbmtext.h"
#include "dbsymtb.h"

namespace {
char* CopyString(const std::string& s) {
  char* copy = new char[s.size() + 1];
  std::memcpy(copy, s.c_str(), s.size() + 1);
  return copy;
}
}  // namespace

QHOST_DEFINE_MEMBERS(AcDbMText, AcDbEntity)
QHOST_DEFINE_MEMBERS(AcDbLine, AcDbEntity)
QHOST_DEFINE_MEMBERS(AcDbCircle, AcDbEntity)
QHOST_DEFINE_MEMBERS(AcDbText, AcDbEntity)
QHOST_DEFINE_MEMBERS(AcDbDimension, AcDbEntity)
QHOST_DEFINE_MEMBERS(AcDbRotatedDimension, AcDbDimension)
QHOST_DEFINE_MEMBERS(AcDbAlignedDimension, AcDbDimension)
QHOST_DEFINE_MEMBERS(AcDb2LineAngularDimension, AcDbDimension)
QHOST_DEFINE_MEMBERS(AcDbDiametricDimension, AcDbDimension)
QHOST_DEFINE_MEMBERS(AcDbRadialDimension, AcDbDimension)
QHOST_DEFINE_MEMBERS(AcDb3PointAngularDimension, AcDbDimension)
QHOST_DEFINE_MEMBERS(AcDbOrdinateDimension, AcDbDimension)

namespace qhost::detail {
void RegisterDatabaseClasses() {
  for (AcRxClass* (*desc)() : {&AcDbObject::desc, &AcDbEntity::desc, &AcDbDatabase::desc, &AcDbSymbolTable::desc,
                               &AcDbSymbolTableRecord::desc, &AcDbTextStyleTable::desc, &AcDbTextStyleTableRecord::desc,
                               &AcDbBlockTable::desc, &AcDbBlockTableRecord::desc, &AcDbDimStyleTable::desc,
                               &AcDbDimStyleTableRecord::desc, &AcDbMText::desc, &AcDbLine::desc,
                               &AcDbCircle::desc, &AcDbText::desc, &AcDbDimension::desc, &AcDbRotatedDimension::desc,
                               &AcDbAlignedDimension::desc, &AcDb2LineAngularDimension::desc,
                               &AcDbDiametricDimension::desc, &AcDbRadialDimension::desc,
                               &AcDb3PointAngularDimension::desc, &AcDbOrdinateDimension::desc})
    desc();
}
}  // namespace qhost::detail

// --- AcDbMText --------------------------------------------------------------------------

Acad::ErrorStatus AcDbMText::setLocation(const AcGePoint3d& point) { QHOST_SET(m_location, point); }
Acad::ErrorStatus AcDbMText::setWidth(double width) { QHOST_SET(m_width, width); }
Acad::ErrorStatus AcDbMText::setTextHeight(double height) {
  if (!(height > 0.0)) return Acad::eInvalidInput;
  QHOST_SET(m_textHeight, height);
}
Acad::ErrorStatus AcDbMText::setRotation(double radians) { QHOST_SET(m_rotation, radians); }
Acad::ErrorStatus AcDbMText::setTextStyle(AcDbObjectId styleId) {
  if (!styleId.isNull() && (styleId.stub()->object == nullptr ||
                            !styleId.stub()->object->isKindOf(AcDbTextStyleTableRecord::desc())))
    return Acad::eWrongObjectType;
  QHOST_SET(m_textStyle, styleId);
}
Acad::ErrorStatus AcDbMText::setAttachment(AttachmentPoint attachment) {
  if (attachment < kTopLeft || attachment > kBottomRight) return Acad::eInvalidInput;
  QHOST_SET(m_attachment, attachment);
}
Acad::ErrorStatus AcDbMText::setFlowDirection(FlowDirection direction) { QHOST_SET(m_flowDirection, direction); }
char* AcDbMText::contents() const { return CopyString(m_contents); }
Acad::ErrorStatus AcDbMText::setContents(const char* text) { QHOST_SET(m_contents, text ? text : ""); }

AcDb::TextHorzMode AcDbMText::horizontalMode() const {
  return static_cast<AcDb::TextHorzMode>((static_cast<int>(m_attachment) - 1) % 3);
}
Acad::ErrorStatus AcDbMText::setHorizontalMode(AcDb::TextHorzMode mode) {
  if (mode < AcDb::kTextLeft || mode > AcDb::kTextRight) return Acad::eInvalidInput;
  int row = (static_cast<int>(m_attachment) - 1) / 3;
  QHOST_SET(m_attachment, static_cast<AttachmentPoint>(row * 3 + static_cast<int>(mode) + 1));
}
Acad::ErrorStatus AcDbMText::setLineSpacingStyle(AcDb::LineSpacingStyle style) {
  if (style != AcDb::kAtLeast && style != AcDb::kExactly) return Acad::eInvalidInput;
  QHOST_SET(m_lineSpacingStyle, style);
}
Acad::ErrorStatus AcDbMText::setLineSpacingFactor(double factor) {
  if (factor < 0.25 || factor > 4.0) return Acad::eInvalidInput;
  QHOST_SET(m_lineSpacingFactor, factor);
}

// --- Line, circle, text ------------------------------------------------------------------

Acad::ErrorStatus AcDbLine::setStartPoint(const AcGePoint3d& point) { QHOST_SET(m_start, point); }
Acad::ErrorStatus AcDbLine::setEndPoint(const AcGePoint3d& point) { QHOST_SET(m_end, point); }
Acad::ErrorStatus AcDbCircle::setCenter(const AcGePoint3d& point) { QHOST_SET(m_center, point); }
Acad::ErrorStatus AcDbCircle::setRadius(double radius) {
  if (!(radius > 0.0)) return Acad::eInvalidInput;
  QHOST_SET(m_radius, radius);
}
Acad::ErrorStatus AcDbText::setPosition(const AcGePoint3d& point) { QHOST_SET(m_position, point); }
Acad::ErrorStatus AcDbText::setAlignmentPoint(const AcGePoint3d& point) { QHOST_SET(m_alignment, point); }
char* AcDbText::textString() const { return CopyString(m_text); }
Acad::ErrorStatus AcDbText::setTextString(const char* text) { QHOST_SET(m_text, text ? text : ""); }
Acad::ErrorStatus AcDbText::setHeight(double height) { QHOST_SET(m_height, height); }
Acad::ErrorStatus AcDbText::setRotation(double radians) { QHOST_SET(m_rotation, radians); }
Acad::ErrorStatus AcDbText::setWidthFactor(double factor) { QHOST_SET(m_widthFactor, factor); }
Acad::ErrorStatus AcDbText::setHorizontalMode(AcDb::TextHorzMode mode) { QHOST_SET(m_horzMode, mode); }
Acad::ErrorStatus AcDbText::setTextStyle(AcDbObjectId styleId) { QHOST_SET(m_textStyle, styleId); }

// --- Dimensions ------------------------------------------------------------------------

char* AcDbDimension::dimensionText() const { return CopyString(m_text); }
Acad::ErrorStatus AcDbDimension::setDimensionText(const char* text) { QHOST_SET(m_text, text ? text : ""); }
Acad::ErrorStatus AcDbDimension::setTextPosition(const AcGePoint3d& point) { QHOST_SET(m_textPosition, point); }
Acad::ErrorStatus AcDbDimension::setDimLinePoint(const AcGePoint3d& point) { QHOST_SET(m_dimLinePoint, point); }
Acad::ErrorStatus AcDbDimension::setXLine1Point(const AcGePoint3d& point) { QHOST_SET(m_xLine1, point); }
Acad::ErrorStatus AcDbDimension::setXLine2Point(const AcGePoint3d& point) { QHOST_SET(m_xLine2, point); }
Acad::ErrorStatus AcDbDimension::setMeasurement(double value) { QHOST_SET(m_measurement, value); }
