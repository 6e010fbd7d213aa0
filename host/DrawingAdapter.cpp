// The drawing adapter: every operation opens the entity, works and closes it before returning.
#include "host/DrawingAdapter.h"

#include <acdocman.h>
#include <aced.h>
#include <acedads.h>
#include <adscodes.h>
#include <dbapserv.h>
#include <dbdim.h>
#include <dbmtext.h>
#include <dbsymtb.h>
#include <rxregsvc.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "converter/DrawingUnits.h"
#include "converter/TextHelpers.h"
#include "host/EditTarget.h"

namespace {

const char kCloseFailed[] = "Failed AcDbObject::close()";

// Opens the object an entity name names for write; null when it does not open.
AcDbObject* OpenForWrite(const ads_name name) {
  AcDbObjectId id;
  if (acdbGetObjectId(id, name) != Acad::eOk) return nullptr;
  AcDbObject* object = nullptr;
  if (acdbOpenAcDbObject(object, id, AcDb::kForWrite) != Acad::eOk) return nullptr;
  return object;
}

// Closes an object that the module cannot work on; a failure of that close stops the host.
void CloseOrAbort(AcDbObject* object) {
  if (object->close() != Acad::eOk) acrx_abort(kCloseFailed);
}

// Opens the object an entity name names for write; an object that is not an entity is closed
// again at once.
AcDbEntity* OpenEntityForWrite(const ads_name name) {
  AcDbObject* object = OpenForWrite(name);
  if (!object) return nullptr;
  AcDbEntity* entity = AcDbEntity::cast(object);
  if (!entity) CloseOrAbort(object);
  return entity;
}

// A copy of a string the host returns as the caller's copy, which is released.
CString TakeHostString(char* text) {
  CString copy(text ? text : "");
  acutDelString(text);
  return copy;
}

// Whether MText contents hold any character of text, not only braces and format codes.
bool HoldsText(const CString& contents) {
  const char* s = contents;
  size_t n = std::strlen(s);
  for (size_t i = 0; i < n;) {
    char c = s[i];
    if (c == '{' || c == '}') {
      ++i;
    } else if (c != '\\' || i + 1 == n) {
      return true;
    } else if (std::strchr("LlOoKkP", s[i + 1])) {
      i += 2;  // switches and the paragraph break
    } else if (std::strchr("fFHhCcAaQqWwTtp", s[i + 1])) {
      const char* end = std::strchr(s + i, ';');  // codes with an argument run to their ';'
      i = end ? static_cast<size_t>(end - s) + 1 : n;
    } else {
      return true;  // escapes (\\ \{ \}), stacked text, non-breaking spaces
    }
  }
  return false;
}

// How many groups the contents open and leave open (escaped braces are text).
int OpenGroups(const CString& contents) {
  int open = 0;
  const char* s = contents;
  for (size_t i = 0; s[i]; ++i) {
    if (s[i] == '\\' && s[i + 1]) {
      ++i;
    } else if (s[i] == '{') {
      ++open;
    } else if (s[i] == '}' && open > 0) {
      --open;
    }
  }
  return open;
}

int GetVar(const char* name, resbuf& value) { return acedGetVar(name, &value) == RTNORM ? 0 : 3; }

// Whether a string the host returns as the caller's copy equals `text`; the copy is released.
bool SameText(char* copy, const CString& text) { return TakeHostString(copy) == text; }

// Sets the MText's contents and properties where they differ from the record: a value the user
// did not change is never set again, so the entity stays as the drawing had it. True when
// anything was set.
bool WriteMText(AcDbMText* mtext, const EditTarget& target, const CString& contents) {
  bool set = false;
  auto apply = [&set](bool differs, auto setter) {
    if (differs && setter() == Acad::eOk) set = true;
  };
  apply(!SameText(mtext->contents(), contents), [&] { return mtext->setContents(contents); });
  apply(mtext->textHeight() != target.textHeight, [&] { return mtext->setTextHeight(target.textHeight); });
  apply(mtext->rotation() != target.rotation, [&] { return mtext->setRotation(target.rotation); });
  apply(mtext->textStyle() != target.textStyleId, [&] { return mtext->setTextStyle(target.textStyleId); });
  const auto mode = static_cast<AcDb::TextHorzMode>(target.justification);
  apply(mtext->horizontalMode() != mode, [&] { return mtext->setHorizontalMode(mode); });
  apply(mtext->location() != target.location, [&] {
    mtext->setAlignmentPoint(target.location);
    return mtext->setLocation(target.location);
  });
  const auto spacing = static_cast<AcDb::LineSpacingStyle>(target.lineSpacingStyle);
  apply(mtext->lineSpacingStyle() != spacing, [&] { return mtext->setLineSpacingStyle(spacing); });
  apply(mtext->lineSpacingFactor() != target.lineSpacingFactor,
        [&] { return mtext->setLineSpacingFactor(target.lineSpacingFactor); });
  apply(mtext->width() != target.width, [&] { return mtext->setWidth(target.width); });
  return set;
}

// A height code: "\Hv;" or "\Hvx;", relative; RtfToMText may leave out the ';' before the next code.
struct HeightCode {
  size_t begin, end;
  double value;
  bool relative;
};

// The height codes of MText contents in order; escaped characters are text ("\\H" is no code).
std::vector<HeightCode> HeightCodes(const char* s) {
  std::vector<HeightCode> codes;
  for (size_t i = 0; s[i]; ++i) {
    if (s[i] != '\\' || !s[i + 1]) continue;
    char* stop = nullptr;
    double value = s[i + 1] == 'H' ? std::strtod(s + i + 2, &stop) : 0.0;
    if (stop != nullptr && stop != s + i + 2 && std::isfinite(value)) {
      bool relative = *stop == 'x' || *stop == 'X';
      if (relative) ++stop;
      if (*stop == ';') ++stop;
      codes.push_back({i, static_cast<size_t>(stop - s), value, relative});
      i = static_cast<size_t>(stop - s) - 1;
    } else {
      ++i;
    }
  }
  return codes;
}

// Whether a height is the same as `base` to the editor, which holds them in whole RTF half-points
// at the view scale of a text of that base height.
bool SameHalfPoints(double a, double base) {
  const double scale = ViewHalfPointsPerUnit(base);
  return std::floor(a * scale + 0.5) == std::floor(base * scale + 0.5);
}

// Whether the contents show the measurement alone: "<>" and nothing else but codes, or nothing.
bool MeasurementOnly(const CString& contents) {
  if (contents.IsEmpty()) return true;
  int at = contents.Find("<>");
  return at >= 0 && !HoldsText(contents.Left(at) + contents.Mid(at + 2));
}

}  // namespace

CString DimensionOverrideText(const CString& contents) {
  // Nothing but codes is the empty override: the measurement shows again. What the text leaves
  // open is closed.
  CString s = contents;
  if (!HoldsText(s)) return CString();
  for (int open = OpenGroups(s); open > 0; --open) s += '}';
  return s;
}

double DimensionTextHeight(const AcDbDimension& dimension, const CString& overrideText) {
  double scale = dimension.dimscale() > 0.0 ? dimension.dimscale() : 1.0;
  double styleHeight = dimension.dimtxt() * scale;
  for (const HeightCode& code : HeightCodes(overrideText))
    if (code.value > 0.0) return code.relative ? styleHeight * code.value : code.value;
  return styleHeight;
}

CString WithoutAddedHeightCodes(const CString& text, double height, const CString& original) {
  auto ofHeight = [height](const HeightCode& code) { return !code.relative && SameHalfPoints(code.value, height); };
  std::vector<HeightCode> had = HeightCodes(original);
  if (height <= 0.0 || std::any_of(had.begin(), had.end(), ofHeight)) return text;
  const std::string s = static_cast<const char*>(text);
  std::string out;
  size_t from = 0;
  for (const HeightCode& code : HeightCodes(s.c_str())) {
    if (!ofHeight(code)) continue;
    out += s.substr(from, code.begin - from);
    from = code.end;
  }
  out += s.substr(from);
  return CString(out.c_str());
}

void CreateMText(const CString& contents) {
  EditTarget& target = theEditTarget;
  AcDbObjectId styleId = StyleIdByName(target.textStyleName);
  if (styleId.isNull()) {
    GetVarString("TEXTSTYLE", target.textStyleName);
    styleId = StyleIdByName(target.textStyleName);
  }
  auto* mtext = new AcDbMText;
  mtext->setAttachment(AcDbMText::kTopLeft);
  mtext->setWidth(target.width);
  mtext->setLocation(target.location);
  mtext->setTextStyle(styleId);
  // Unset, the height is TEXTSIZE, which the editor's height box shows too (in the drawing's
  // units format, which may round it: the box's text is no number to read back).
  if (target.textHeight == 0.0) GetVarReal("TEXTSIZE", target.textHeight);
  mtext->setTextHeight(target.textHeight);
  mtext->setContents(contents);
  mtext->setHorizontalMode(static_cast<AcDb::TextHorzMode>(target.justification));
  mtext->setAlignmentPoint(target.location);
  mtext->setLineSpacingStyle(static_cast<AcDb::LineSpacingStyle>(target.lineSpacingStyle));
  mtext->setLineSpacingFactor(target.lineSpacingFactor);
  AcDbObjectId id;
  if (AppendToCurrentSpace(mtext, id) != Acad::eOk) {
    delete mtext;  // never made part of the drawing; the target stays the one it was
    return;
  }
  acdbGetAdsName(target.entityName, id);
  target.loadedContents = contents;
  target.created = true;
  // The new text has none of the heights and fonts the last one knew, its own view scale, and
  // knows its own height.
  target.knownHeights.clear();
  target.knownFonts.clear();
  target.halfPointsPerUnit = ViewHalfPointsPerUnit(target.textHeight);
  if (target.textHeight > 0.0) {
    target.knownHeights[ShownSize(target.textHeight, target.halfPointsPerUnit)] =
        detail::ToCString(detail::HeightNumber(target.textHeight));
  }
}

void WriteTargetContents(const CString& contents, const CString& styleText) {
  EditTarget& target = theEditTarget;
  target.currentContents = target.textEdited ? contents : target.loadedContents;
  AcDbEntity* entity = OpenEntityForWrite(target.entityName);
  if (!entity) return;
  if (AcDbMText* mtext = AcDbMText::cast(entity)) {
    const bool written = WriteMText(mtext, target, target.currentContents);
    mtext->close();
    if (!styleText.IsEmpty()) {
      target.textStyleName = styleText;
    } else {
      StyleNameById(target.textStyleName, target.textStyleId);
    }
    if (written) RefreshDisplay();
  } else if (AcDbDimension* dimension = AcDbDimension::cast(entity)) {
    if (target.isDimension && target.textEdited) {
      CString text = WithoutAddedHeightCodes(DimensionOverrideText(target.currentContents), target.dimensionHeight,
                                             target.dimensionText);
      // The measurement alone, as it was: the override stays as the drawing had it.
      if (MeasurementOnly(text) && MeasurementOnly(target.dimensionText)) text = target.dimensionText;
      target.currentContents = text;
    }
    const bool written = !SameText(dimension->dimensionText(), target.currentContents);
    if (written) {
      dimension->setDimensionText(target.currentContents);
      // The host redraws the dimension's block when it is closed after a change; the module asks for it.
      dimension->recomputeDimBlock();
    }
    dimension->close();
    if (written) RefreshDisplay();
  } else {
    entity->close();
  }
}

TargetEntity ReadTargetEntity(CString& text) {
  EditTarget& target = theEditTarget;
  AcDbObject* object = OpenForWrite(target.entityName);
  if (!object) return TargetEntity::kUnopened;
  if (AcDbMText* mtext = AcDbMText::cast(object)) {
    text = TakeHostString(mtext->contents());
    target.textHeight = mtext->textHeight();
    target.justification = static_cast<Justification>(mtext->horizontalMode());
    target.lineSpacingFactor = mtext->lineSpacingFactor();
    target.lineSpacingStyle = static_cast<SpacingStyle>(mtext->lineSpacingStyle());
    target.location = mtext->location();
    StyleNameById(target.textStyleName, mtext->textStyle());
    target.rotation = mtext->rotation();
    target.width = mtext->width();
    mtext->close();
    return TargetEntity::kMText;
  }
  if (AcDbDimension* dimension = AcDbDimension::cast(object)) {
    // The record's height and width stay as they were, for the next new text.
    target.isDimension = true;
    target.dimensionText = TakeHostString(dimension->dimensionText());
    target.dimensionHeight = DimensionTextHeight(*dimension, target.dimensionText);
    text = target.dimensionText;
    dimension->close();
    return TargetEntity::kDimension;
  }
  text = object->isA()->name();
  if (AcDbEntity::cast(object)) {
    object->close();
  } else {
    CloseOrAbort(object);
  }
  return TargetEntity::kOther;
}

void EraseIfEmpty(bool editorEmpty, const ads_name entityName) {
  // A text of the drawing that shows empty stays unless the user emptied it.
  const EditTarget& target = theEditTarget;
  if (editorEmpty && (target.textEdited || target.created)) {
    if (AcDbEntity* entity = OpenEntityForWrite(entityName)) {
      if (AcDbMText::cast(entity)) entity->erase(true);
      entity->close();
    }
  }
  theEditTarget.currentContents.Empty();
}

bool MoveTargetToLocation() {
  const EditTarget& target = theEditTarget;
  AcDbObjectId id;
  AcDbMText* mtext = nullptr;
  if (acdbGetObjectId(id, target.entityName) != Acad::eOk || acdbOpenObject(mtext, id, AcDb::kForWrite) != Acad::eOk) {
    return false;
  }
  mtext->setLocation(target.location);
  mtext->setAlignmentPoint(target.location);
  mtext->close();
  return true;
}

std::vector<CString> TextStyleNames() {
  std::vector<CString> names;
  AcDbTextStyleTable* styles = nullptr;
  if (acdbHostApplicationServices()->workingDatabase()->getSymbolTable(styles, AcDb::kForRead) != Acad::eOk) {
    return names;
  }
  AcDbTextStyleTableIterator* it = nullptr;
  styles->newIterator(it, true, true);
  for (; it != nullptr && !it->done(); it->step(true, true)) {
    AcDbTextStyleTableRecord* record = nullptr;
    if (it->getRecord(record, AcDb::kForRead, false) != Acad::eOk) continue;
    const char* name = nullptr;
    record->getName(name);
    names.emplace_back(name);
    record->close();
  }
  delete it;
  styles->close();
  return names;
}

Acad::ErrorStatus StyleNameById(CString& name, AcDbObjectId id) {
  if (id.isNull()) return Acad::eOk;
  AcDbObject* object = nullptr;
  Acad::ErrorStatus es = acdbOpenAcDbObject(object, id, AcDb::kForRead);
  if (es != Acad::eOk) return es;
  AcDbTextStyleTableRecord* style = AcDbTextStyleTableRecord::cast(object);
  if (!style) {
    object->close();
    return Acad::eWrongObjectType;
  }
  char* styleName = nullptr;
  style->getName(styleName);
  name = styleName;
  acutDelString(styleName);
  style->close();
  return Acad::eOk;
}

CString StyleTrueTypeFace(AcDbObjectId styleId) {
  AcDbObject* object = nullptr;
  if (styleId.isNull() || acdbOpenAcDbObject(object, styleId, AcDb::kForRead) != Acad::eOk) return CString();
  CString file;
  if (AcDbTextStyleTableRecord* style = AcDbTextStyleTableRecord::cast(object)) {
    const char* name = nullptr;
    if (style->fileName(name) == Acad::eOk && name) file = name;
  }
  object->close();
  const int dot = file.ReverseFind('.');
  CString extension = dot < 0 ? CString() : file.Mid(dot + 1);
  extension.MakeLower();
  if (extension != "ttf" && extension != "ttc" && extension != "otf") return CString();
  return file.Left(dot);
}

AcDbObjectId StyleIdByName(const CString& name) {
  AcDbObjectId id;
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  AcDbTextStyleTable* table = nullptr;
  if (!db || db->getTextStyleTable(table, AcDb::kForRead) != Acad::eOk) return id;
  table->getAt(name, id, false);
  table->close();
  return id;
}

int GetVarString(const char* name, CString& value) {
  resbuf rb{};
  int result = GetVar(name, rb);
  if (result == 0 && rb.restype == RTSTR) {
    value = rb.resval.rstring;
    std::free(rb.resval.rstring);
  }
  return result;
}

int GetVarReal(const char* name, double& value) {
  resbuf rb{};
  int result = GetVar(name, rb);
  if (result == 0) value = rb.resval.rreal;
  return result;
}

int GetVarInt(const char* name, int& value) {
  resbuf rb{};
  int result = GetVar(name, rb);
  if (result == 0) value = rb.resval.rint;
  return result;
}

Acad::ErrorStatus AppendToCurrentSpace(AcDbEntity* entity, AcDbObjectId& id) {
  int tilemode = -1;
  GetVarInt("TILEMODE", tilemode);
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  if (!db) return Acad::eNoDatabase;
  const char* space = tilemode == 1 ? "*Model_Space" : tilemode == 0 ? "*Paper_Space" : nullptr;
  if (!space) return Acad::eInvalidInput;
  AcDbBlockTable* table = nullptr;
  Acad::ErrorStatus es = db->getBlockTable(table, AcDb::kForRead);
  if (es != Acad::eOk) return es;
  AcDbBlockTableRecord* record = nullptr;
  es = table->getAt(space, record, AcDb::kForWrite, false);
  if (es == Acad::eOk) {
    es = record->appendAcDbEntity(id, entity);
    if (es == Acad::eOk) entity->close();
    record->close();
  }
  table->close();
  return es;
}

void RefreshDisplay() {
  AcApDocument* document = acDocManagerPtr()->curDocument();
  if (document) {
    document->transactionManager()->queueForGraphicsFlush();
    document->transactionManager()->flushGraphics();
  }
  acedUpdateDisplay();
}

CString HeightText(double height) {
  if (height == 0.0) GetVarReal("TEXTSIZE", height);
  char formatted[64] = "";
  acdbRToS(height, -1, -1, formatted);
  CString text = formatted;
  if (text.Find('.') < 0) text += ".0";
  return text;
}
