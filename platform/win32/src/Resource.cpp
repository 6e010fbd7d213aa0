// Windows stand-in: modules and their compiled resources; bitmaps, icons, cursors and strings from them.
#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>

#include <algorithm>
#include <cctype>
#include <cstring>

#include "qplatform/Resources.h"
#include "qplatform/WindowSystem.h"
#include "win32/src/Internal.h"

namespace qwin::detail {
namespace {

struct Module {
  std::string path;
  std::vector<ResourceEntry> entries;
};

struct Icon {
  std::string name;
  int width = 32;
  int height = 32;
};

struct State {
  std::map<HMODULE, Module> modules;
  uintptr_t nextModule = 0x400000;
  std::map<HICON, Icon> icons;
  uintptr_t nextIcon = 0x20000;
  HCURSOR cursor = nullptr;
};

State& S() {
  static State s;
  return s;
}

std::string RealPath(const char* path) {
  char buffer[PATH_MAX];
  return realpath(path, buffer) ? std::string(buffer) : std::string(path ? path : "");
}

HMODULE ModuleForPath(const std::string& path) {
  for (auto& [handle, module] : S().modules) {
    if (module.path == path) return handle;
  }
  HMODULE handle = reinterpret_cast<HMODULE>(S().nextModule);
  S().nextModule += 0x10000;
  S().modules[handle].path = path;
  return handle;
}

HMODULE MainModule() { return ModuleForPath(RealPath("/proc/self/exe")); }

// A resource name or type: a number (MAKEINTRESOURCE or "#123") or an upper-cased name.
struct Key {
  int id = 0;
  std::string name;
};

Key KeyOf(LPCSTR name) {
  Key key;
  if (IS_INTRESOURCE(name)) {
    key.id = LOWORD(name);
  } else if (name[0] == '#') {
    key.id = std::atoi(name + 1);
  } else {
    key.name = Upper(name);
  }
  return key;
}

const ResourceEntry* FindEntry(HMODULE module, LPCSTR name, LPCSTR type) {
  if (!name || !type) return nullptr;
  if (!module) module = MainModule();
  auto it = S().modules.find(module);
  if (it == S().modules.end()) return nullptr;
  Key n = KeyOf(name);
  int t = KeyOf(type).id;
  for (const auto& e : it->second.entries) {
    if (e.type != t) continue;
    if (n.id ? e.id == n.id : (e.name && n.name == e.name)) return &e;
  }
  return nullptr;
}

std::string NameText(LPCSTR name) {
  Key key = KeyOf(name);
  return key.id ? std::to_string(key.id) : key.name;
}

HICON NewIcon(const std::string& name, int width, int height) {
  for (const auto& [handle, icon] : S().icons) {
    if (icon.name == name) return handle;
  }
  HICON handle = reinterpret_cast<HICON>(S().nextIcon);
  S().nextIcon += 0x10;
  S().icons[handle] = Icon{name, width, height};
  return handle;
}

const char* SystemCursorName(int id) {
  switch (id) {
    case 32512: return "arrow";
    case 32513: return "ibeam";
    case 32514: return "wait";
    case 32515: return "cross";
    case 32516: return "uparrow";
    case 32642: return "sizenwse";
    case 32646: return "sizeall";
    case 32648: return "no";
    case 32649: return "hand";
    case 32650: return "appstarting";
    default: return nullptr;
  }
}

}  // namespace

std::string ResourceNameOf(const void* data) {
  for (const auto& [handle, module] : S().modules) {
    for (const auto& e : module.entries) {
      if (e.data == data) return e.id ? std::to_string(e.id) : std::string(e.name ? e.name : "");
    }
  }
  return {};
}

std::pair<const unsigned char*, size_t> CompanionResource(const void* data, int type) {
  for (const auto& [handle, module] : S().modules) {
    for (const auto& e : module.entries) {
      if (e.data != data) continue;
      for (const auto& other : module.entries) {
        bool sameName = e.id ? other.id == e.id : (other.name && e.name && std::strcmp(other.name, e.name) == 0);
        if (other.type == type && sameName) return {other.data, other.size};
      }
      return {nullptr, 0};
    }
  }
  return {nullptr, 0};
}

std::string IconName(HICON icon) {
  if (!icon) return "none";
  auto it = S().icons.find(icon);
  return it == S().icons.end() ? "unknown" : it->second.name;
}

void ResetResources() { S().cursor = nullptr; }

}  // namespace qwin::detail

namespace qwin {

void RegisterModuleResources(const void* anchor, const ResourceEntry* entries, size_t count) {
  Dl_info info{};
  std::string path = dladdr(anchor, &info) && info.dli_fname ? detail::RealPath(info.dli_fname) : std::string();
  if (path.empty()) path = detail::RealPath("/proc/self/exe");
  auto& list = detail::S().modules[detail::ModuleForPath(path)].entries;
  list.insert(list.end(), entries, entries + count);
}

std::string CurrentCursorName() { return detail::IconName(detail::S().cursor); }

}  // namespace qwin

using namespace qwin::detail;

HMODULE GetModuleHandle(LPCSTR moduleName) {
  if (!moduleName) return MainModule();
  std::string wanted = Upper(moduleName);
  for (const auto& [handle, module] : S().modules) {
    std::string base = Upper(module.path.substr(module.path.rfind('/') + 1));
    std::string stem = base.substr(0, base.rfind('.'));
    if (base == wanted || stem == wanted) return handle;
  }
  return nullptr;
}

DWORD GetModuleFileName(HMODULE module, LPSTR fileName, DWORD size) {
  if (!module) module = MainModule();
  auto it = S().modules.find(module);
  if (it == S().modules.end() || !fileName || size == 0) return 0;
  lstrcpyn(fileName, it->second.path.c_str(), static_cast<int>(size));
  return static_cast<DWORD>(lstrlen(fileName));
}

HMODULE LoadLibrary(LPCSTR fileName) {
  if (!fileName) return nullptr;
  if (HMODULE known = GetModuleHandle(fileName)) return known;
  std::string upper = Upper(fileName);
  // The system libraries that the module loads exist in the stand-in itself.
  if (upper == "RICHED32.DLL" || upper == "RICHED20.DLL" || upper == "COMCTL32.DLL") return MainModule();
  Unimplemented("LoadLibrary of other libraries");
  return nullptr;
}

BOOL FreeLibrary(HMODULE module) { return module != nullptr; }

HRSRC FindResource(HMODULE module, LPCSTR name, LPCSTR type) {
  return reinterpret_cast<HRSRC>(const_cast<qwin::ResourceEntry*>(FindEntry(module, name, type)));
}

HGLOBAL LoadResource(HMODULE, HRSRC resource) {
  auto* entry = reinterpret_cast<const qwin::ResourceEntry*>(resource);
  return entry ? const_cast<unsigned char*>(entry->data) : nullptr;
}

LPVOID LockResource(HGLOBAL resource) { return resource; }

DWORD SizeofResource(HMODULE, HRSRC resource) {
  auto* entry = reinterpret_cast<const qwin::ResourceEntry*>(resource);
  return entry ? static_cast<DWORD>(entry->size) : 0;
}

BOOL FreeResource(HGLOBAL) { return FALSE; }

HBITMAP LoadBitmap(HINSTANCE instance, LPCSTR name) {
  if (!instance) {
    Unimplemented("LoadBitmap of system bitmaps");
    return nullptr;
  }
  const qwin::ResourceEntry* entry = FindEntry(instance, name, RT_BITMAP);
  if (!entry || entry->size < sizeof(BITMAPINFOHEADER)) return nullptr;
  BITMAPINFOHEADER header;
  std::memcpy(&header, entry->data, sizeof header);
  GdiObject object;
  object.type = OBJ_BITMAP;
  object.width = header.biWidth;
  object.height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
  object.bitsPerPixel = header.biBitCount;
  object.name = "bitmap " + NameText(name);
  return static_cast<HBITMAP>(NewGdiObject(object));
}

HICON LoadIcon(HINSTANCE instance, LPCSTR name) {
  if (!instance) {
    if (!IS_INTRESOURCE(name)) return nullptr;
    static const char* names[] = {"application", "hand", "question", "exclamation", "asterisk"};
    int id = LOWORD(name) - 32512;
    return id >= 0 && id < 5 ? NewIcon(std::string("icon ") + names[id], 32, 32) : nullptr;
  }
  const qwin::ResourceEntry* entry = FindEntry(instance, name, RT_GROUP_ICON);
  if (!entry) return nullptr;
  // An icon file: a directory of images; the first gives the size (0 means 256).
  int width = entry->size > 7 ? (entry->data[6] ? entry->data[6] : 256) : 32;
  int height = entry->size > 7 ? (entry->data[7] ? entry->data[7] : 256) : 32;
  return NewIcon("resource " + NameText(name), width, height);
}

HCURSOR LoadCursor(HINSTANCE instance, LPCSTR name) {
  if (!instance) {
    const char* system = IS_INTRESOURCE(name) ? SystemCursorName(LOWORD(name)) : nullptr;
    return system ? NewIcon(system, 32, 32) : nullptr;
  }
  const qwin::ResourceEntry* entry = FindEntry(instance, name, RT_GROUP_CURSOR);
  return entry ? NewIcon("resource " + NameText(name), 32, 32) : nullptr;
}

HANDLE LoadImage(HINSTANCE instance, LPCSTR name, UINT type, int, int, UINT) {
  switch (type) {
    case IMAGE_BITMAP: return LoadBitmap(instance, name);
    case IMAGE_ICON: return LoadIcon(instance, name);
    case IMAGE_CURSOR: return LoadCursor(instance, name);
    default: return nullptr;
  }
}

int LoadString(HINSTANCE instance, UINT id, LPSTR text, int size) {
  if (!text || size <= 0) return 0;
  text[0] = 0;
  const qwin::ResourceEntry* entry = FindEntry(instance, MAKEINTRESOURCE(id), RT_STRING);
  if (!entry) return 0;
  std::string value(reinterpret_cast<const char*>(entry->data), entry->size);
  lstrcpyn(text, value.c_str(), size);
  return lstrlen(text);
}

BOOL DestroyIcon(HICON icon) { return S().icons.count(icon) ? TRUE : FALSE; }
BOOL DestroyCursor(HCURSOR cursor) { return DestroyIcon(cursor); }

HCURSOR SetCursor(HCURSOR cursor) {
  HCURSOR old = S().cursor;
  S().cursor = cursor;
  return old;
}

HCURSOR GetCursor() { return S().cursor; }

BOOL GetCursorPos(LPPOINT point) {
  if (!point) return FALSE;
  DWORD pos = GetMessagePos();
  *point = POINT{static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
  return TRUE;
}

BOOL SetCursorPos(int, int) { return TRUE; }
int ShowCursor(BOOL show) { return show ? 0 : -1; }
