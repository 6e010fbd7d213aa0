// The module's operations on the drawing: creating, writing and erasing the target entity, text
// style look-ups, system variables, appending to the current space and redrawing.
#pragma once

#include <acadstrc.h>
#include <adsdef.h>
#include <afx.h>
#include <dbid.h>

#include <vector>

class AcDbDimension;
class AcDbEntity;

// Adds an MText with `contents` and the properties of theEditTarget at its location to the current
// space; theEditTarget.entityName then names it.
void CreateMText(const CString& contents);

// What ReadTargetEntity found at theEditTarget.entityName.
enum class TargetEntity { kMText, kDimension, kOther, kUnopened };

// Reads the entity that theEditTarget.entityName names into the record, opened for write as the
// editor will write it: an MText's contents are returned in `text` and its height and properties
// set; a dimension's override text is returned and kept with its own height (isDimension then
// true). Any other object gives its class name in `text`. kUnopened when it does not open (on a
// locked layer, say), `text` then unchanged.
TargetEntity ReadTargetEntity(CString& text);

// Erases the named MText when the editor shows no text (`editorEmpty`) and the user emptied it or
// it is a text of this run. Empties theEditTarget.currentContents either way.
void EraseIfEmpty(bool editorEmpty, const ads_name entityName);

// Moves the target MText to theEditTarget's location: its location and alignment point, nothing
// else. False when the target is no MText that opens.
bool MoveTargetToLocation();

// The names of the working database's text styles, in the table's order.
std::vector<CString> TextStyleNames();

// The name of a text style record; eOk when `id` named one. A null id leaves `name` unchanged.
Acad::ErrorStatus StyleNameById(CString& name, AcDbObjectId id);
// The id of the working database's text style `name`; null when there is none.
AcDbObjectId StyleIdByName(const CString& name);
// The TrueType face of a text style's font, as a font code names it: the font file's name without
// its extension (".ttf", ".ttc", ".otf"). Empty for a shape font (".shx", or a file name without
// extension, as the host's default "txt"), and for a style that cannot be read.
CString StyleTrueTypeFace(AcDbObjectId styleId);

// A text height as the height box shows it: in current units, TEXTSIZE for 0, at least one decimal.
CString HeightText(double height);

// System variables: 0 when read, 3 otherwise (the out value then stays as it was).
int GetVarString(const char* name, CString& value);
int GetVarReal(const char* name, double& value);
int GetVarInt(const char* name, int& value);

// Appends `entity` to model space (TILEMODE 1) or paper space (TILEMODE 0) of the working
// database and closes it when that succeeded.
Acad::ErrorStatus AppendToCurrentSpace(AcDbEntity* entity, AcDbObjectId& id);

// Has the host redraw the changed entities at once, even behind a modal dialog.
void RefreshDisplay();

// Writes the editor's converted text and theEditTarget's properties to the target: `contents`
// (the text converted last) becomes currentContents unless the text is unchanged, and is written:
// an MText gets contents and properties, a dimension its override text; the changed entity is
// redrawn. A non-empty `styleText` (the style box's text) becomes textStyleName.
void WriteTargetContents(const CString& contents, const CString& styleText);

// A dimension's override text from RtfToMText's contents: the contents up to the last "\P";
// empty when only the font code is left; otherwise closed with "}}".
CString DimensionOverrideText(const CString& contents);

// The height of a dimension's text: the first height code of its override text, else its style's
// text height times its scale (0 when neither gives one).
double DimensionTextHeight(const AcDbDimension& dimension, const CString& overrideText);

// The override text without the height codes of `height` that `original` did not have: the
// editor writes its base height into every run, and a dimension draws that height without them.
CString WithoutAddedHeightCodes(const CString& text, double height, const CString& original);
