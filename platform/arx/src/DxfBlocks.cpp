// The text entities of every block of a loaded file, added to the drawing when a caller asks for them.
#include "arx/src/DbInternals.h"
#include "arx/src/DxfDimensions.h"
#include "arx/src/DxfImage.h"
#include "qplatform/Drawing.h"

namespace qhost {

std::vector<AcDbObjectId> LoadBlockTexts(AcDbDatabase& db) {
  std::vector<AcDbObjectId> added;
  auto& impl = db.impl();
  if (!impl.image || impl.image->blocksSection.begin == impl.image->blocksSection.end) return added;
  dxf::Image& img = *impl.image;
  std::vector<uint32_t> misfits;  // loading reported them already
  for (const auto& [name, entities] : dxf::ReadBlockTexts(img, img.blocksSection, nullptr)) {
    AcDbObjectId existing;
    auto* table = static_cast<AcDbBlockTable*>(impl.blockTable.stub()->object.get());
    if (table->getAt(name.c_str(), existing) == Acad::eOk) continue;
    AcDbObjectId id = dxf::AddBlock(db, img, name, entities, misfits);
    if (!id.isNull()) added.push_back(id);
  }
  return added;
}

}  // namespace qhost
