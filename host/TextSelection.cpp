// Choosing the text to edit.
#include "host/TextSelection.h"

#include <acedads.h>
#include <adscodes.h>

#include "converter/MTextRtfConverter.h"
#include "host/DrawingAdapter.h"
#include "host/EditTarget.h"
#include "host/HostColors.h"

namespace {

const char kTextPrompt[] = "\nВыберите текст: ";
const char kNotATextMessage[] = "\nОшибка вы выбрали...";
constexpr int kNothingPicked = 7;  // ERRNO after a pick that hit no object

// The measurement placeholder: an empty override text shows the measurement alone.
const char kMeasurement[] = "<>";

// MTextToRtf's document of `shown`, with the target's height as its base; `loaded` is kept as the
// drawing had it, so that a text left unchanged is never written.
void ReadIntoTarget(const CString& loaded, const CString& shown) {
  HostColors colors;
  MTextToRtfEditTarget target(theEditTarget);
  MTextRtfConverter converter(colors, target);
  theEditTarget.loadedContents = loaded;
  theEditTarget.created = false;
  theEditTarget.rtfText = converter.MTextToRtf(shown);
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
  CString text;
  switch (ReadTargetEntity(text)) {
    case TargetEntity::kUnopened:
      return kSelectAgain;  // passed over: ask again
    case TargetEntity::kMText:
      ReadIntoTarget(text, text);
      break;
    case TargetEntity::kDimension:
      // The editor shows the dimension's own text, with the measurement placeholder where the
      // override is empty, so that typing goes beside the measurement.
      ReadIntoTarget(text, text.IsEmpty() ? CString(kMeasurement) : text);
      break;
    case TargetEntity::kOther:
      acutPrintf(kNotATextMessage);
      acutPrintf("%s", static_cast<const char*>(text));
      return kSelectAgain;
  }
  target.rtfPending = true;
  return kTextSelected;
}
