// The editor command: a new text or one of the drawing's, then the editor dialog on it.
#include "host/EditorCommand.h"

#include <aced.h>
#include <acedads.h>
#include <adscodes.h>

#include "dialog/MTextEditorDialog.h"
#include "host/DrawingAdapter.h"
#include "host/EditTarget.h"
#include "host/TextSelection.h"

namespace {

const char kPointPrompt[] = "\nВыберите точку вставки или /<ENTER>-редактирование текста: ";

}  // namespace

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
