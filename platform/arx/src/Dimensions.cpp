// Dimension styles, a dimension's variables in force, and the text of the block that draws it.
#include <cmath>
#include <cstdio>

#include "arx/src/DbInternals.h"
#include "arx/src/StubLog.h"
#include "dbdim.h"
#include "dbents.h"
#include "dbmtext.h"
#include "dbsymtb.h"
#include "qplatform/MText.h"

namespace {

// The DXF group codes of the dimension variables, as the style record and the DSTYLE data give them.
constexpr int kDimtxt = 140;
constexpr int kDimscale = 40;
constexpr int kDimgap = 147;
constexpr int kDimclrt = 178;
constexpr int kDimdec = 271;
constexpr int kDimlunit = 277;

const char kMeasurement[] = "<>";

// The style variables of a drawing that gives none.
const AcDbDimStyleTableRecord& DefaultStyle() {
  static const AcDbDimStyleTableRecord defaults;
  return defaults;
}

// What a single-line text shows of MText contents: the characters, without the codes.
std::string PlainText(const std::string& contents) {
  std::string plain;
  for (const qhost::mtext::Token& t : qhost::mtext::Tokenize(contents)) {
    switch (t.kind) {
      case qhost::mtext::TokenKind::kText:
      case qhost::mtext::TokenKind::kUnicode:
      case qhost::mtext::TokenKind::kSpecial: plain += t.text; break;
      case qhost::mtext::TokenKind::kParagraph:
      case qhost::mtext::TokenKind::kNonBreakingSpace:
      case qhost::mtext::TokenKind::kTab: plain += ' '; break;
      case qhost::mtext::TokenKind::kStack: plain += t.upper + "/" + t.lower; break;
      default: break;
    }
  }
  return plain;
}

bool IsAngular(const AcDbDimension& d) {
  return AcDb2LineAngularDimension::cast(&d) != nullptr || AcDb3PointAngularDimension::cast(&d) != nullptr;
}

}  // namespace

// --- Dimension style records ---------------------------------------------------------------

Acad::ErrorStatus AcDbDimStyleTableRecord::setDimtxt(double value) { QHOST_SET(m_dimtxt, value); }
Acad::ErrorStatus AcDbDimStyleTableRecord::setDimscale(double value) { QHOST_SET(m_dimscale, value); }
Acad::ErrorStatus AcDbDimStyleTableRecord::setDimgap(double value) { QHOST_SET(m_dimgap, value); }
Acad::ErrorStatus AcDbDimStyleTableRecord::setDimtxsty(AcDbObjectId value) { QHOST_SET(m_dimtxsty, value); }
Acad::ErrorStatus AcDbDimStyleTableRecord::setDimclrt(const AcCmColor& value) { QHOST_SET(m_dimclrt, value); }
Acad::ErrorStatus AcDbDimStyleTableRecord::setDimdec(int value) { QHOST_SET(m_dimdec, value); }
Acad::ErrorStatus AcDbDimStyleTableRecord::setDimlunit(int value) { QHOST_SET(m_dimlunit, value); }

// --- A dimension's variables -----------------------------------------------------------------

const AcDbDimStyleTableRecord* AcDbDimension::styleRecord() const {
  AcDbObjectId id = m_style;
  AcDbDatabase* db = database();
  if (id.isNull() && db != nullptr && !db->impl().dimStyleTable.isNull())
    static_cast<AcDbSymbolTable*>(db->impl().dimStyleTable.stub()->object.get())->getAt("Standard", id);
  if (id.isNull() || id.stub()->object == nullptr) return &DefaultStyle();
  return static_cast<const AcDbDimStyleTableRecord*>(id.stub()->object.get());
}

bool AcDbDimension::overridden(int code, double& value) const {
  auto it = m_overrides.find(code);
  if (it == m_overrides.end()) return false;
  value = it->second;
  return true;
}

double AcDbDimension::dimtxt() const {
  double v;
  return overridden(kDimtxt, v) ? v : styleRecord()->dimtxt();
}
double AcDbDimension::dimscale() const {
  double v;
  return overridden(kDimscale, v) ? v : styleRecord()->dimscale();
}
double AcDbDimension::dimgap() const {
  double v;
  return overridden(kDimgap, v) ? v : styleRecord()->dimgap();
}
AcDbObjectId AcDbDimension::dimtxsty() const {
  return !m_txstyOverride.isNull() ? m_txstyOverride : styleRecord()->dimtxsty();
}
AcCmColor AcDbDimension::dimclrt() const {
  double v;
  AcCmColor color;
  if (!overridden(kDimclrt, v) || v < 0 || !color.setColorIndex(static_cast<std::uint16_t>(v)))
    return styleRecord()->dimclrt();
  return color;
}
int AcDbDimension::dimdec() const {
  double v;
  return overridden(kDimdec, v) && std::fabs(v) <= 32767 ? static_cast<int>(v) : styleRecord()->dimdec();
}
int AcDbDimension::dimlunit() const {
  double v;
  return overridden(kDimlunit, v) && std::fabs(v) <= 32767 ? static_cast<int>(v) : styleRecord()->dimlunit();
}

// --- The block's text -----------------------------------------------------------------------

// The measurement as the block shows it: what stands where the drawn override text has "<>".
// When the block does not show it (the override replaced it), it is formatted anew.
std::string AcDbDimension::measurementText(const std::string& shown, const std::string& drawn) const {
  if (drawn.empty() || drawn == kMeasurement) return shown;
  size_t at = drawn.find(kMeasurement);
  if (at != std::string::npos) {
    std::string prefix = drawn.substr(0, at), suffix = drawn.substr(at + 2);
    if (shown.size() >= prefix.size() + suffix.size() && shown.compare(0, prefix.size(), prefix) == 0 &&
        shown.compare(shown.size() - suffix.size(), suffix.size(), suffix) == 0)
      return shown.substr(prefix.size(), shown.size() - prefix.size() - suffix.size());
  }
  char text[64];
  if (IsAngular(*this)) {
    std::snprintf(text, sizeof text, "%.0f%%%%d", m_measurement * 180.0 / M_PI);
  } else {
    if (dimlunit() != 2)
      qhost::detail::LogOnce("dimension units", "measurements are formatted as decimals whatever DIMLUNIT says");
    std::snprintf(text, sizeof text, "%.*f", dimdec() >= 0 && dimdec() <= 8 ? dimdec() : 4, m_measurement);
  }
  return text;
}

Acad::ErrorStatus AcDbDimension::recomputeDimBlock(bool) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (m_block.isNull()) {
    qhost::detail::LogOnce("dimension without a block", "no block is made for it; readers draw it from its points");
    return Acad::eOk;
  }
  AcDbBlockTableRecord* block = nullptr;
  if (acdbOpenObject(block, m_block, AcDb::kForRead) != Acad::eOk) return Acad::eOk;
  std::vector<AcDbObjectId> ids = block->entityIds();
  block->close();
  const std::string override = m_text.empty() ? kMeasurement : m_text;
  for (const AcDbObjectId& id : ids) {
    AcDbEntity* entity = nullptr;
    if (acdbOpenObject(entity, id, AcDb::kForWrite) != Acad::eOk) continue;
    auto* mtext = AcDbMText::cast(entity);
    auto* text = AcDbText::cast(entity);
    if (mtext != nullptr || text != nullptr) {
      std::string shown = mtext ? mtext->contentsConst() : text->textStringConst();
      std::string drawn = mtext ? m_drawnText : PlainText(m_drawnText);
      std::string now = mtext ? override : PlainText(override);
      size_t at = now.find(kMeasurement);
      if (at != std::string::npos) now.replace(at, 2, measurementText(shown, drawn));
      if (now != shown && mtext) mtext->setContents(now.c_str());
      if (now != shown && text) text->setTextString(now.c_str());
      entity->close();
      m_drawnText = m_text;
      return Acad::eOk;
    }
    entity->close();
  }
  qhost::detail::LogOnce("dimension block without a text", "the block is left as it is");
  return Acad::eOk;
}
