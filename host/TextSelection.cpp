// Choosing the text to edit.
#include "host/TextSelection.h"

#include <acedads.h>
#include <adscodes.h>
#include <dbdim.h>
#include <dbmtext.h>
#include <rxregsvc.h>

#include "converter/MTextRtfConverter.h"
#include "host/DrawingAdapter.h"
#include "host/EditTarget.h"
#include "host/HostColors.h"

namespace {

const char kTextPrompt[] = "\nВыберите текст: ";
const char kNotATextMessage[] = "\nОшибка вы выбрали...";
const char kCloseFailed[] = "Failed AcDbObject::close()";
constexpr int kNothingPicked = 7;  // ERRNO after a pick that hit no object

// The measurement placeholder: an empty override text shows the measurement alone.
const char kMeasurement[] = "<>";

// MTextToRtf's document of `shown`, with the target's height as its base; `loaded` is kept as the
// drawing had it, so that a text left unchanged is never written.
void ReadIntoTarget(const CString& loaded, const CString& shown) {
  HostColors colors;
  EditTargetReader reader(theEditTarget);
  MTextRtfConverter converter(colors, reader);
  theEditTarget.loadedContents = loaded;
  theEditTarget.created = false;
  theEditTarget.rtfText = converter.MTextToRtf(shown);
}

// A copy of a host string, which is released.
CString TakeHostString(char* text) {
  CString copy(text ? text : "");
  acutDelString(text);
  return copy;
}

}  // namespace

int SelectText() {
  EditTarget& target = theEditTarget;
  target.isDimension = false;
  ads_point pick;
  int result = acedEntSel(kTextPrompt, target.entityName, pick);
  if (result == RTCAN) return kSelectionStopped;
  if (result == RTERROR) {
    int error = 0;
    GetVarInt("ERRNO", error);
    return error == kNothingPicked ? kSelectAgain : kSelectionStopped;
  }
  AcDbObjectId id;
  acdbGetObjectId(id, target.entityName);
  AcDbObject* object = nullptr;
  // An object that cannot be opened (on a locked layer, say) is passed over: ask again.
  if (acdbOpenAcDbObject(object, id, AcDb::kForWrite) != Acad::eOk) return kSelectAgain;
  const char* className = object->isA()->name();
  if (!AcDbEntity::cast(object)) {
    if (object->close() != Acad::eOk) acrx_abort(kCloseFailed);
  } else if (AcDbMText* mtext = AcDbMText::cast(object)) {
    target.textHeight = mtext->textHeight();
    const CString contents = TakeHostString(mtext->contents());
    ReadIntoTarget(contents, contents);
    target.justification = static_cast<Justification>(mtext->horizontalMode());
    target.lineSpacingFactor = mtext->lineSpacingFactor();
    target.lineSpacingStyle = static_cast<SpacingStyle>(mtext->lineSpacingStyle());
    target.location = mtext->location();
    StyleNameById(target.textStyleName, mtext->textStyle());
    target.rotation = mtext->rotation();
    target.rtfPending = true;
    target.width = mtext->width();
    mtext->close();
    return kTextSelected;
  } else if (AcDbDimension* dimension = AcDbDimension::cast(object)) {
    // The editor shows the dimension's own text: its height, no width, and the measurement
    // placeholder where the override is empty, so that typing goes beside the measurement. The
    // record's height and width stay as they were, for the next new text.
    target.isDimension = true;
    target.dimensionText = TakeHostString(dimension->dimensionText());
    target.dimensionHeight = DimensionTextHeight(*dimension, target.dimensionText);
    ReadIntoTarget(target.dimensionText,
                   target.dimensionText.IsEmpty() ? CString(kMeasurement) : target.dimensionText);
    dimension->close();
    target.rtfPending = true;
    return kTextSelected;
  } else {
    object->close();
  }
  acutPrintf(kNotATextMessage);
  acutPrintf("%s", className);
  return kSelectAgain;
}
