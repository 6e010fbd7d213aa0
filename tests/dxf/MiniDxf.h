// Small DXF drawings written out in the tests, group by group.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>

#include "dbmtext.h"
#include "dbsymtb.h"
#include "qplatform/Drawing.h"

namespace minidxf {

using Groups = std::initializer_list<std::pair<int, std::string>>;

inline std::string Write(Groups groups, const char* eol = "\n") {
  std::string s;
  char code[16];
  for (const auto& [c, v] : groups) {
    std::snprintf(code, sizeof code, "%3d", c);
    s += std::string(code) + eol + v + eol;
  }
  return s;
}

// A drawing of `version` with `codePage` ("" for none) whose ENTITIES section holds `entities`.
inline std::string Drawing(const std::string& version, const std::string& codePage, const std::string& entities) {
  std::string s = Write({{0, "SECTION"}, {2, "HEADER"}, {9, "$ACADVER"}, {1, version}});
  if (!codePage.empty()) s += Write({{9, "$DWGCODEPAGE"}, {3, codePage}});
  s += Write({{9, "$HANDSEED"}, {5, "100"}, {0, "ENDSEC"}, {0, "SECTION"}, {2, "TABLES"}, {0, "TABLE"}, {2, "STYLE"},
              {0, "STYLE"}, {5, "11"}, {2, "Standard"}, {3, "txt"}, {40, "0.0"}, {0, "STYLE"}, {5, "12"},
              {2, "GOST"}, {3, "gost.shx"}, {40, "3.5"}, {0, "ENDTAB"}, {0, "TABLE"}, {2, "BLOCK_RECORD"},
              {0, "BLOCK_RECORD"}, {5, "1F"}, {2, "*Model_Space"}, {0, "BLOCK_RECORD"}, {5, "1B"},
              {2, "*Paper_Space"}, {0, "ENDTAB"}, {0, "ENDSEC"}, {0, "SECTION"}, {2, "ENTITIES"}});
  return s + entities + Write({{0, "ENDSEC"}, {0, "EOF"}});
}

inline std::string MText(const std::string& handle, Groups contentGroups) {
  std::string s = Write({{0, "MTEXT"}, {5, handle}, {330, "1F"}, {100, "AcDbEntity"}, {8, "0"}, {100, "AcDbMText"},
                         {10, "1.0"}, {20, "2.0"}, {30, "0.0"}, {40, "2.5"}, {41, "0.0"}, {71, "1"}});
  return s + Write(contentGroups) + Write({{7, "Standard"}});
}

// The first multiline text of model space, open for `mode`.
inline AcDbMText* FirstMText(AcDbDatabase& db, AcDb::OpenMode mode) {
  AcDbMText* found = nullptr;
  for (AcDbObjectId id : qhost::EntityIds(db))
    if (!found && acdbOpenObject(found, id, mode) != Acad::eOk) found = nullptr;
  return found;
}

}  // namespace minidxf
