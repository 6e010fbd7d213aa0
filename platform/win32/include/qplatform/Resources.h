// Registration of a module's compiled resources: the code that the resource compiler generates
// from an .rc file calls this from a static initialiser of the module that links it.
// Stand-in only: the module never includes this header.
#pragma once

#include <cstddef>

namespace qwin {

struct ResourceEntry {
  int type;            // RT_* number
  int id;              // numeric id, or 0 when `name` is set
  const char* name;    // upper-case name, or null
  const unsigned char* data;
  size_t size;
};

// `anchor` is any address inside the module (shared object or program) that owns the resources.
void RegisterModuleResources(const void* anchor, const ResourceEntry* entries, size_t count);

}  // namespace qwin
