// What the host stand-in does not do says so, once per kind, on standard error (private).
#pragma once

namespace qhost::detail {
void LogOnce(const char* name, const char* what);
}  // namespace qhost::detail
