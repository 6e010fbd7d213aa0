// The dynamic linker: loads module files with dlopen and drives their entry points.
#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "acedads.h"
#include "arx/src/RxDefine.h"
#include "qplatform/Host.h"
#include "qplatform/Resources.h"
#include "rxdlinkr.h"

namespace qhost {
namespace {

struct Module {
  std::string path;      // as given
  std::string realPath;  // to recognise the same file under another name
  void* handle = nullptr;
  HINSTANCE instance = nullptr;  // the module as the Windows stand-in knows it: its resources
  AcRxEntryPointFunc entry = nullptr;
  AcRxDllMainFunc dllMain = nullptr;
  bool locked = true;
  bool mdiAware = false;
};

// The instance handle Windows would pass: the module handle under which the window stand-in keeps
// the module's resources (a module without resources is made known with none).
HINSTANCE ModuleInstance(AcRxEntryPointFunc entry, const std::string& realPath) {
  qwin::RegisterModuleResources(reinterpret_cast<const void*>(entry), nullptr, 0);
  return GetModuleHandle(realPath.substr(realPath.rfind('/') + 1).c_str());
}

std::vector<std::unique_ptr<Module>>& Modules() {
  static std::vector<std::unique_ptr<Module>> modules;
  return modules;
}

std::string RealPath(const char* path) {
  char buf[PATH_MAX];
  return realpath(path, buf) ? std::string(buf) : std::string(path);
}

Module* Find(const char* fileName) {
  if (fileName == nullptr) return nullptr;
  std::string real = RealPath(fileName);
  for (auto& m : Modules())
    if (m->realPath == real || m->path == fileName) return m.get();
  return nullptr;
}

Module* FindById(void* appId) {
  for (auto& m : Modules())
    if (m.get() == appId) return m.get();
  return nullptr;
}

void Say(bool printit, const std::string& text) {
  if (printit) acutPrintf("\n%s", text.c_str());
}

// Library notification reasons, as Windows calls a library's entry.
constexpr DWORD kProcessDetach = 0;
constexpr DWORD kProcessAttach = 1;

void Detach(Module& m) {
  if (m.dllMain) m.dllMain(m.instance, kProcessDetach, nullptr);
  dlclose(m.handle);
}

void Forget(Module* module) {
  auto& modules = Modules();
  for (auto it = modules.begin(); it != modules.end(); ++it) {
    if (it->get() == module) {
      modules.erase(it);
      return;
    }
  }
}

// The folders (real paths) whose modules the ARX command may load; empty: any folder.
std::vector<std::string>& AllowedFolders() {
  static std::vector<std::string> folders;
  return folders;
}

}  // namespace

void RestrictModuleFolders(const std::vector<std::string>& folders) {
  AllowedFolders().clear();
  for (const std::string& folder : folders) {
    char buf[PATH_MAX];
    if (realpath(folder.c_str(), buf)) AllowedFolders().push_back(buf);
  }
}

std::string ModuleFileAllowed(const std::string& file, std::string& why) {
  if (AllowedFolders().empty()) return file;
  // The file as it really is, links followed: a link in an allowed folder to a file elsewhere is
  // elsewhere. That real path is what gets loaded, so that a link changed after the check loads nothing new.
  char buf[PATH_MAX];
  if (!realpath(file.c_str(), buf)) {
    why = "does not exist";
    return std::string();
  }
  std::string real = buf;
  // Directly in the folder: a build folder holds other builds' and tests' modules further down.
  std::string folder = real.substr(0, std::max<size_t>(real.rfind('/'), 1));
  for (const std::string& allowed : AllowedFolders())
    if (folder == allowed) return real;
  why = "is not in a folder modules are loaded from (qhost --allow-modules DIR adds one)";
  return std::string();
}

std::vector<std::string> LoadedModules() {
  std::vector<std::string> names;
  for (const auto& m : Modules()) names.push_back(m->path);
  return names;
}

// At the end of the session every module is told to unload, locked or not.
void UnloadAllModules() {
  while (!Modules().empty()) {
    Module* m = Modules().back().get();
    m->entry(AcRx::kUnloadAppMsg, m);
    Detach(*m);
    Forget(m);
  }
}

}  // namespace qhost

QHOST_DEFINE_MEMBERS(AcRxDynamicLinker, AcRxObject)

AcRxDynamicLinker::AcRxDynamicLinker() = default;
AcRxDynamicLinker::~AcRxDynamicLinker() = default;

Adesk::Boolean AcRxDynamicLinker::loadModule(const char* fileName, Adesk::Boolean printit, Adesk::Boolean) {
  using namespace qhost;
  if (fileName == nullptr || *fileName == '\0') return false;
  if (Find(fileName)) {
    Say(printit, std::string("\"") + fileName + "\" is already loaded.");
    return true;
  }
  // A bare file name would make dlopen search the library path; a module is named by its path.
  std::string path = std::string(fileName).find('/') == std::string::npos ? std::string("./") + fileName : fileName;
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    Say(printit, std::string("Cannot load \"") + fileName + "\": " + dlerror());
    return false;
  }
  auto version = reinterpret_cast<AcRxGetApiVersionFunc>(dlsym(handle, "acrxGetApiVersion"));
  auto entry = reinterpret_cast<AcRxEntryPointFunc>(dlsym(handle, "acrxEntryPoint"));
  if (version == nullptr || entry == nullptr || version() != ACRX_API_VERSION) {
    Say(printit, std::string("\"") + fileName + "\" is not a module for this host" +
                     (entry == nullptr ? " (no acrxEntryPoint)." : " (its API version is not 0xF0000)."));
    dlclose(handle);
    return false;
  }
  auto module = std::make_unique<Module>();
  module->path = fileName;
  module->realPath = RealPath(fileName);
  module->handle = handle;
  module->entry = entry;
  module->dllMain = reinterpret_cast<AcRxDllMainFunc>(dlsym(handle, "DllMain"));
  module->instance = ModuleInstance(entry, module->realPath);
  if (module->dllMain && !module->dllMain(module->instance, kProcessAttach, nullptr)) {
    Say(printit, std::string("\"") + fileName + "\" refused to attach.");
    dlclose(handle);
    return false;
  }
  Module* m = module.get();
  Modules().push_back(std::move(module));
  if (m->entry(AcRx::kInitAppMsg, m) == AcRx::kRetError) {
    Say(printit, std::string("\"") + fileName + "\" failed to initialise.");
    Detach(*m);
    Forget(m);
    return false;
  }
  Say(printit, std::string("\"") + fileName + "\" loaded.");
  return true;
}

Adesk::Boolean AcRxDynamicLinker::unloadModule(const char* fileName, Adesk::Boolean printit) {
  using namespace qhost;
  Module* m = Find(fileName);
  if (m == nullptr) {
    Say(printit, std::string("\"") + (fileName ? fileName : "") + "\" is not loaded.");
    return false;
  }
  if (m->locked) {
    Say(printit, std::string("\"") + fileName + "\" is locked and cannot be unloaded.");
    return false;
  }
  if (m->entry(AcRx::kUnloadAppMsg, m) == AcRx::kRetError) {
    Say(printit, std::string("\"") + fileName + "\" refused to unload.");
    return false;
  }
  Detach(*m);
  Forget(m);
  Say(printit, std::string("\"") + fileName + "\" unloaded.");
  return true;
}

Adesk::Boolean AcRxDynamicLinker::unlockApplication(void* appId) const {
  qhost::Module* m = qhost::FindById(appId);
  if (m) m->locked = false;
  return m != nullptr;
}

Adesk::Boolean AcRxDynamicLinker::lockApplication(void* appId) const {
  qhost::Module* m = qhost::FindById(appId);
  if (m) m->locked = true;
  return m != nullptr;
}

Adesk::Boolean AcRxDynamicLinker::isApplicationLocked(const char* fileName) const {
  qhost::Module* m = qhost::Find(fileName);
  return m != nullptr && m->locked;
}

Adesk::Boolean AcRxDynamicLinker::registerAppMDIAware(void* appId) const {
  qhost::Module* m = qhost::FindById(appId);
  if (m) m->mdiAware = true;
  return m != nullptr;
}

Adesk::Boolean AcRxDynamicLinker::registerAppNotMDIAware(void* appId) const {
  qhost::Module* m = qhost::FindById(appId);
  if (m) m->mdiAware = false;
  return m != nullptr;
}

void* AcRxDynamicLinker::getModuleID(const char* fileName) const { return qhost::Find(fileName); }
