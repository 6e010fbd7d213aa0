// The editor command and its text selection.
#include "host/EditorCommand.h"

#include <aced.h>
#include <acedads.h>
#include <adscodes.h>
#include <dbdim.h>
#include <dbmtext.h>
#include <rxregsvc.h>

#include "converter/MTextRtfConverter.h"
#include "dialog/MTextEditorDialog.h"
#include "host/DrawingAdapter.h"
#include "host/EditTarget.h"
#include "host/HostColors.h"

namespace {

const char kPointPrompt[] = "\nВыберите точку вставки или /<ENTER>-редактирование текста: ";
const char kTextPrompt[] = "\nВыберите текст: ";
const char kNotATextMessage[] = "\nОшибка вы выбрали...";
const char kCloseFailed[] = "Failed AcDbObject::close()";
constexpr int kNothingPicked = 7;  // ERRNO after a pick that hit no object

// The reader's document of `contents`, with the target's height as its base; the contents are
// kept as loaded, and the host's copy is released.
void ReadIntoTarget(char* contents) {
  HostColors colors;
  EditTargetReader reader(theEditTarget);
  MTextRtfConverter converter(colors, reader);
  theEditTarget.loadedContents = contents ? contents : "";
  theEditTarget.created = false;
  theEditTarget.rtfText = converter.MTextToRtf(theEditTarget.loadedContents);
  acutDelString(contents);
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
    ReadIntoTarget(mtext->contents());
    target.justification = mtext->horizontalMode();
    target.lineSpacingFactor = mtext->lineSpacingFactor();
    target.lineSpacingStyle = mtext->lineSpacingStyle();
    target.location = mtext->location();
    StyleNameById(target.textStyleName, mtext->textStyle());
    target.rotation = mtext->rotation();
    target.rtfPending = true;
    target.width = mtext->width();
    mtext->close();
    return kTextSelected;
  } else if (AcDbDimension* dimension = AcDbDimension::cast(object)) {
    target.isDimension = true;
    ReadIntoTarget(dimension->dimensionText());
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

void EditorCommand() {
  EditTarget& target = theEditTarget;
  ads_point point = {target.location.x, target.location.y, target.location.z};
  int result = acedGetPoint(nullptr, kPointPrompt, point);
  if (result == RTNORM) {
    target.location = AcGePoint3d(point[0], point[1], point[2]);
    target.isDimension = false;
    target.currentContents.Empty();
    CreateMText(target.currentContents);
  } else if (result == RTNONE) {
    for (;;) {
      int selected = SelectText();
      if (selected == kTextSelected) break;
      if (selected == kSelectionStopped) return;
    }
  } else {
    return;
  }
  MTextEditorDialog dialog(CWnd::FromHandle(adsw_acadMainWnd()));
  dialog.DoModal();
}
