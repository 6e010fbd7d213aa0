// Logging once what the host stand-in does not implement.
#include "arx/src/StubLog.h"

#include <cstdio>
#include <set>
#include <string>

namespace qhost::detail {

void LogOnce(const char* name, const char* what) {
  static std::set<std::string> said;
  if (!said.insert(name).second) return;
  std::fprintf(stderr, "qhost stand-in: %s: %s\n", name, what);
}

}  // namespace qhost::detail
