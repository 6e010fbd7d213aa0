// Reading the modelled entities from their groups (private to the DXF reader and writer).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "arx/src/DxfImage.h"
#include "dbmain.h"

namespace qhost::dxf {

// The groups of one entity, its "0" group first; its own groups end where XDATA or an embedded
// object begin.
struct EntityReader {
  const Image& image;
  std::string type;
  const std::vector<Group>& groups;
  std::string error;               // the first malformed value, with its line
  std::vector<uint32_t> misfits;   // lines whose bytes did not fit the file's encoding

  bool Find(int code, size_t& at) const;
  bool Has(int code) const;
  double Real(int code, double fallback);
  long Integer(int code, long fallback);
  AcGePoint3d Point(int code);
  std::string Text(size_t at);
  std::string Text(int code);
  std::string Contents();
};

using StyleLookup = std::function<AcDbObjectId(const std::string& name)>;

// A new entity (not in a database) for a modelled type, or null: another type, or a malformed
// value (then `r.error` says which).
AcDbEntity* ReadEntity(EntityReader& r, const StyleLookup& styleByName);
bool IsPaperSpace(EntityReader& r);
// `directionVector`: the file gives multiline text's rotation as an X direction (group 11).
std::vector<Field> FieldsOf(const AcDbEntity& entity, bool directionVector);
// The modelled values of a loaded entity as its groups (`groups`, see Image::GroupsOf) hold them,
// read again: what the saver compares the entity's values with.
std::vector<Field> LoadedFields(const Image& image, const EntitySource& source, const std::vector<Group>& groups);
// The name of the text style of a text (group 7), or "" for an entity without one.
std::string StyleOf(const AcDbEntity& entity);
const char* SubclassName(const AcDbEntity& entity);

}  // namespace qhost::dxf
