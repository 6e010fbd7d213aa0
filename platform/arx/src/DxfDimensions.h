// Loading what the database knows of dimensions: styles, overrides and blocks (private to the DXF reader).
#pragma once

#include <cstdint>
#include <vector>

#include "arx/src/DxfImage.h"
#include "dbmain.h"

namespace qhost::dxf {

// After the entities: the dimension style table from the DIMSTYLE records, then for every loaded
// dimension its style (group 3), its overrides (the ACAD DSTYLE extended data) and its block
// (group 2) with the block's text entities, which the saver rewrites like any entity. Lines of
// texts that do not fit the file's encoding go to `misfits`.
// `dimStyles` are the DIMSTYLE records, `blocks` the groups of the BLOCKS section.
void LoadDimensionModel(AcDbDatabase& db, Image& img, const std::vector<EntitySource>& dimStyles,
                        const EntitySource& blocks, std::vector<uint32_t>& misfits);

}  // namespace qhost::dxf
