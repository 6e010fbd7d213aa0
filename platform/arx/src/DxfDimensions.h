// Loading what the database knows of dimensions: styles, overrides and blocks (private to the DXF reader).
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
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

// The text entities (MTEXT, TEXT) of the blocks named in `wanted` (upper case; null: every block),
// by name: the records between BLOCK and ENDBLK of the BLOCKS section's groups `section`.
std::map<std::string, std::vector<EntitySource>> ReadBlockTexts(const Image& img, const EntitySource& section,
                                                                const std::set<std::string>* wanted);
// The block record of `name` with its text entities; the saver rewrites them when changed. A name
// the block table has already gives that record, with nothing added (none for the two spaces).
AcDbObjectId AddBlock(AcDbDatabase& db, Image& img, const std::string& name, const std::vector<EntitySource>& entities,
                      std::vector<uint32_t>& misfits);

}  // namespace qhost::dxf
