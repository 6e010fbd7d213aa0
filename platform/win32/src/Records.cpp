// Windows stand-in: what the user would have seen or the system would have done, recorded:
// message boxes, beeps, popup menus, shell requests; and the registry's stand-in store.
#include <algorithm>
#include <cctype>

#include <shellapi.h>

#include "qplatform/WindowSystem.h"
#include "win32/src/Internal.h"

namespace qwin::detail {
namespace {

struct RegistryValue {
  HKEY root;
  std::string key;    // upper-cased path
  std::string name;   // upper-cased value name, "" for the default
  std::string value;
};

struct OpenKey {
  HKEY root;
  std::string path;
};

struct State {
  std::vector<MessageBoxRecord> boxes;
  std::vector<UINT> beeps;
  std::vector<MenuRecord> menus;
  std::vector<ShellRequest> shell;
  int shellResult = 42;
  int winExecResult = 33;
  std::vector<RegistryValue> registry;
  std::map<HKEY, OpenKey> keys;
  uintptr_t nextKey = 0x1000;
};

State& S() {
  static State s;
  return s;
}

// A key path or value name as the store keeps it: upper case, no trailing backslash.
std::string KeyName(std::string s) {
  s = Upper(s);
  while (!s.empty() && s.back() == '\\') s.pop_back();
  return s;
}

bool Resolve(HKEY key, LPCSTR subKey, OpenKey& out) {
  if (reinterpret_cast<uintptr_t>(key) >= 0x80000000u && reinterpret_cast<uintptr_t>(key) <= 0x80000003u) {
    out = OpenKey{key, ""};
  } else {
    auto it = S().keys.find(key);
    if (it == S().keys.end()) return false;
    out = it->second;
  }
  if (subKey && *subKey) out.path = out.path.empty() ? KeyName(subKey) : out.path + "\\" + KeyName(subKey);
  return true;
}

bool KeyExists(const OpenKey& k) {
  if (k.path.empty()) return true;
  for (const auto& v : S().registry) {
    if (v.root != k.root) continue;
    if (v.key == k.path || (v.key.size() > k.path.size() && v.key.compare(0, k.path.size(), k.path) == 0 &&
                            v.key[k.path.size()] == '\\')) {
      return true;
    }
  }
  return false;
}

const RegistryValue* FindValue(const OpenKey& k, const std::string& name) {
  for (const auto& v : S().registry) {
    if (v.root == k.root && v.key == k.path && v.name == KeyName(name)) return &v;
  }
  return nullptr;
}

}  // namespace

void RecordMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type, int answer) {
  S().boxes.push_back(MessageBoxRecord{owner, text, caption, type, answer});
}

void RecordMenu(HWND owner, std::vector<std::string> items, UINT chosen) {
  S().menus.push_back(MenuRecord{owner, std::move(items), chosen});
}

void ResetRecords() {
  State fresh;
  std::swap(S(), fresh);
}

}  // namespace qwin::detail

namespace qwin {

const std::vector<MessageBoxRecord>& MessageBoxes() { return detail::S().boxes; }
const std::vector<UINT>& Beeps() { return detail::S().beeps; }
const std::vector<MenuRecord>& ShownMenus() { return detail::S().menus; }
const std::vector<ShellRequest>& ShellRequests() { return detail::S().shell; }
void SetShellExecuteResult(int result) { detail::S().shellResult = result; }
void SetWinExecResult(int result) { detail::S().winExecResult = result; }

void SetRegistryValue(HKEY root, const std::string& keyPath, const std::string& valueName, const std::string& value) {
  auto& list = detail::S().registry;
  std::string key = detail::KeyName(keyPath);
  std::string name = detail::KeyName(valueName);
  list.erase(std::remove_if(list.begin(), list.end(),
                            [&](const detail::RegistryValue& v) { return v.root == root && v.key == key && v.name == name; }),
             list.end());
  list.push_back(detail::RegistryValue{root, key, name, value});
}

}  // namespace qwin

using namespace qwin::detail;

BOOL MessageBeep(UINT type) {
  S().beeps.push_back(type);
  return TRUE;
}

// A request is recorded; it reaches the desktop only when the front end allowed the opener.
HINSTANCE ShellExecute(HWND, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, int showCommand) {
  qwin::ShellRequest request{"ShellExecute", verb ? verb : "", file ? file : "", parameters ? parameters : "",
                             directory ? directory : "", "", showCommand, S().shellResult, "recorded"};
  if (ShellOpenerEnabled()) request.result = OpenWithDesktop(request.verb, request.file, request.outcome);
  S().shell.push_back(request);
  return reinterpret_cast<HINSTANCE>(static_cast<intptr_t>(request.result));
}

// Never run: a command line is never built for, or handed to, a shell.
UINT WinExec(LPCSTR commandLine, UINT showCommand) {
  qwin::ShellRequest request{"WinExec", "", "", "", "", commandLine ? commandLine : "", static_cast<int>(showCommand),
                             S().winExecResult, "recorded"};
  S().shell.push_back(request);
  return static_cast<UINT>(request.result);
}

LONG RegOpenKeyEx(HKEY key, LPCSTR subKey, DWORD, REGSAM, PHKEY result) {
  OpenKey k;
  if (!result) return ERROR_INVALID_HANDLE;
  if (!Resolve(key, subKey, k)) return ERROR_INVALID_HANDLE;
  if (!KeyExists(k)) return ERROR_FILE_NOT_FOUND;
  HKEY handle = reinterpret_cast<HKEY>(S().nextKey);
  S().nextKey += 0x10;
  S().keys[handle] = k;
  *result = handle;
  return ERROR_SUCCESS;
}

LONG RegOpenKey(HKEY key, LPCSTR subKey, PHKEY result) { return RegOpenKeyEx(key, subKey, 0, KEY_READ, result); }

LONG RegCloseKey(HKEY key) { return S().keys.erase(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE; }

LONG RegQueryValue(HKEY key, LPCSTR subKey, LPSTR data, PLONG dataSize) {
  OpenKey k;
  if (!Resolve(key, subKey, k)) return ERROR_INVALID_HANDLE;
  if (!KeyExists(k)) return ERROR_FILE_NOT_FOUND;
  // A key without a default value reads as an empty string.
  const RegistryValue* v = FindValue(k, "");
  std::string value = v ? v->value : std::string();
  LONG need = static_cast<LONG>(value.size() + 1);
  if (!dataSize) return ERROR_INVALID_HANDLE;
  if (data && *dataSize < need) {
    *dataSize = need;
    return ERROR_MORE_DATA;
  }
  if (data) lstrcpy(data, value.c_str());
  *dataSize = need;
  return ERROR_SUCCESS;
}

LONG RegQueryValueEx(HKEY key, LPCSTR valueName, LPDWORD, LPDWORD type, LPBYTE data, LPDWORD dataSize) {
  OpenKey k;
  if (!Resolve(key, nullptr, k)) return ERROR_INVALID_HANDLE;
  const RegistryValue* v = FindValue(k, valueName ? valueName : "");
  if (!v) return ERROR_FILE_NOT_FOUND;
  if (type) *type = REG_SZ;
  DWORD need = static_cast<DWORD>(v->value.size() + 1);
  if (!dataSize) return data ? ERROR_INVALID_HANDLE : ERROR_SUCCESS;
  if (data && *dataSize < need) {
    *dataSize = need;
    return ERROR_MORE_DATA;
  }
  if (data) lstrcpy(reinterpret_cast<LPSTR>(data), v->value.c_str());
  *dataSize = need;
  return ERROR_SUCCESS;
}

LONG RegSetValueEx(HKEY, LPCSTR, DWORD, DWORD, const BYTE*, DWORD) {
  Unimplemented("RegSetValueEx (the registry stand-in is read-only)");
  return ERROR_ACCESS_DENIED;
}
