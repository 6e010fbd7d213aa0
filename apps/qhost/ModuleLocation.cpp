// Where qhost finds the Quillon module it loads at start.
#include "ModuleLocation.h"

#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

namespace qhostui {

namespace {

// The folder of the running executable, from the kernel's link, so that an installed qhost finds
// its module wherever the prefix is and however it was started (PATH, a symbolic link).
std::string ExecutableFolder() {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return "";
  const std::string exe(path, static_cast<size_t>(length));
  return exe.substr(0, exe.rfind('/') + 1);
}

bool Readable(const std::string& path) { return !path.empty() && access(path.c_str(), R_OK) == 0; }

// "/usr/bin/../lib/quillon/Quillon.arx" as "/usr/lib/quillon/Quillon.arx", the name ARX ? lists.
std::string Resolved(const std::string& path) {
  char resolved[PATH_MAX];
  return realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

}  // namespace

std::string DefaultModule() {
#ifdef QHOST_INSTALLED_MODULE
  const std::string folder = ExecutableFolder();
  if (!folder.empty() && Readable(folder + QHOST_INSTALLED_MODULE)) return Resolved(folder + QHOST_INSTALLED_MODULE);
#endif
#ifdef QHOST_MODULE_FILE
  if (Readable(QHOST_MODULE_FILE)) return QHOST_MODULE_FILE;
#endif
  return "";
}

}  // namespace qhostui
