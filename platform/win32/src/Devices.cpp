// Windows stand-in: the clipboard over global memory blocks, the keyboard state and layout name that
// the front end sets, and the small kernel services (strings, MulDiv, last error, tick count).
#include <algorithm>
#include <chrono>
#include <cctype>
#include <cstring>
#include <set>

#include "qplatform/WindowSystem.h"
#include "win32/src/Internal.h"

namespace qwin::detail {
namespace {

struct Block {
  std::vector<char> bytes;
  int locks = 0;
};

struct State {
  std::set<Block*> blocks;
  bool open = false;
  HWND owner = nullptr;
  bool openFails = false;
  std::map<UINT, HGLOBAL> formats;
  std::map<std::string, UINT> registered;
  BYTE keys[256] = {};
  std::string layout = "00000409";
  DWORD lastError = 0;
};

State& S() {
  static State s;
  return s;
}

Block* BlockOf(HGLOBAL memory) {
  auto* block = static_cast<Block*>(memory);
  return S().blocks.count(block) ? block : nullptr;
}

void ClearFormats() {
  for (auto& [format, memory] : S().formats) GlobalFree(memory);
  S().formats.clear();
}

void PutText(UINT format, const std::string& text) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  std::memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
  GlobalUnlock(memory);
  S().formats[format] = memory;
}

bool IsLockKey(int vk) { return vk == VK_CAPITAL || vk == VK_NUMLOCK || vk == VK_SCROLL; }

}  // namespace

void ApplyKeyState(int virtualKey, bool down) {
  BYTE& key = S().keys[virtualKey & 0xFF];
  if (down) {
    if (!(key & 0x80) && IsLockKey(virtualKey)) key ^= 0x01;
    key |= 0x80;
  } else {
    key &= static_cast<BYTE>(~0x80);
  }
}

BYTE* KeyStateTable() { return S().keys; }

void ResetDevices() {
  ClearFormats();
  S().open = false;
  S().owner = nullptr;
  S().openFails = false;
  std::fill(std::begin(S().keys), std::end(S().keys), BYTE{0});
  S().layout = "00000409";
}

}  // namespace qwin::detail

namespace qwin {

using namespace detail;

void SetKeyDown(int virtualKey, bool down) {
  BYTE& key = S().keys[virtualKey & 0xFF];
  key = down ? static_cast<BYTE>(key | 0x80) : static_cast<BYTE>(key & ~0x80);
}

void SetKeyToggled(int virtualKey, bool on) {
  BYTE& key = S().keys[virtualKey & 0xFF];
  key = on ? static_cast<BYTE>(key | 0x01) : static_cast<BYTE>(key & ~0x01);
}

void SetKeyboardLayoutName(const std::string& name) { S().layout = name.substr(0, KL_NAMELENGTH - 1); }

void SetClipboardText(const std::string& text) {
  ClearFormats();
  PutText(CF_TEXT, text);
}

void SetClipboardFormats(const std::vector<UINT>& formats) {
  ClearFormats();
  for (UINT format : formats) PutText(format, "");
}

std::optional<std::string> ClipboardText() {
  auto it = S().formats.find(CF_TEXT);
  if (it == S().formats.end()) return std::nullopt;
  Block* block = BlockOf(it->second);
  return block ? std::optional<std::string>(std::string(block->bytes.data())) : std::nullopt;
}

void SetClipboardOpenFails(bool fails) { S().openFails = fails; }

}  // namespace qwin

using namespace qwin::detail;

HGLOBAL GlobalAlloc(UINT, size_t bytes) {
  auto* block = new Block;
  block->bytes.assign(bytes + 1, 0);
  block->bytes.resize(bytes ? bytes : 1);
  S().blocks.insert(block);
  return block;
}

LPVOID GlobalLock(HGLOBAL memory) {
  Block* block = BlockOf(memory);
  if (!block) return nullptr;
  ++block->locks;
  return block->bytes.data();
}

BOOL GlobalUnlock(HGLOBAL memory) {
  Block* block = BlockOf(memory);
  if (!block || block->locks == 0) return FALSE;
  return --block->locks > 0;
}

size_t GlobalSize(HGLOBAL memory) {
  Block* block = BlockOf(memory);
  return block ? block->bytes.size() : 0;
}

HGLOBAL GlobalFree(HGLOBAL memory) {
  Block* block = BlockOf(memory);
  if (!block) return memory;
  S().blocks.erase(block);
  delete block;
  return nullptr;
}

BOOL OpenClipboard(HWND owner) {
  if (S().openFails || S().open) return FALSE;
  S().open = true;
  S().owner = owner;
  return TRUE;
}

BOOL CloseClipboard() {
  if (!S().open) return FALSE;
  S().open = false;
  return TRUE;
}

BOOL EmptyClipboard() {
  if (!S().open) return FALSE;
  ClearFormats();
  return TRUE;
}

HANDLE GetClipboardData(UINT format) {
  if (!S().open) return nullptr;
  auto it = S().formats.find(format);
  return it == S().formats.end() ? nullptr : it->second;
}

HANDLE SetClipboardData(UINT format, HANDLE data) {
  if (!S().open || !BlockOf(data)) return nullptr;
  auto it = S().formats.find(format);
  if (it != S().formats.end() && it->second != data) GlobalFree(it->second);
  S().formats[format] = data;
  return data;
}

BOOL IsClipboardFormatAvailable(UINT format) { return S().formats.count(format) ? TRUE : FALSE; }

UINT RegisterClipboardFormat(LPCSTR name) {
  if (!name || !*name) return 0;
  std::string key = name;
  for (auto& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  auto it = S().registered.find(key);
  if (it != S().registered.end()) return it->second;
  UINT id = 0xC000 + static_cast<UINT>(S().registered.size());
  S().registered[key] = id;
  return id;
}

int CountClipboardFormats() { return static_cast<int>(S().formats.size()); }

UINT EnumClipboardFormats(UINT format) {
  if (!S().open) return 0;
  auto it = format ? S().formats.upper_bound(format) : S().formats.begin();
  return it == S().formats.end() ? 0 : it->first;
}

HWND GetClipboardOwner() { return S().owner; }

SHORT GetKeyState(int virtualKey) {
  BYTE key = S().keys[virtualKey & 0xFF];
  return static_cast<SHORT>(((key & 0x80) ? 0xFF80 : 0) | (key & 0x01));
}

SHORT GetAsyncKeyState(int virtualKey) { return static_cast<SHORT>((S().keys[virtualKey & 0xFF] & 0x80) ? 0x8000 : 0); }

BOOL GetKeyboardState(BYTE* keyState) {
  if (!keyState) return FALSE;
  std::memcpy(keyState, S().keys, 256);
  return TRUE;
}

BOOL SetKeyboardState(BYTE* keyState) {
  if (!keyState) return FALSE;
  std::memcpy(S().keys, keyState, 256);
  return TRUE;
}

BOOL GetKeyboardLayoutName(LPSTR name) {
  if (!name) return FALSE;
  lstrcpyn(name, S().layout.c_str(), KL_NAMELENGTH);
  return TRUE;
}

HKL GetKeyboardLayout(DWORD) {
  return reinterpret_cast<HKL>(static_cast<uintptr_t>(std::strtoul(S().layout.c_str(), nullptr, 16)));
}

int lstrlen(LPCSTR text) { return text ? static_cast<int>(std::strlen(text)) : 0; }

LPSTR lstrcpy(LPSTR to, LPCSTR from) { return std::strcpy(to, from ? from : ""); }

LPSTR lstrcpyn(LPSTR to, LPCSTR from, int max) {
  if (!to || max <= 0) return to;
  int i = 0;
  for (; from && i < max - 1 && from[i]; ++i) to[i] = from[i];
  to[i] = 0;
  return to;
}

LPSTR lstrcat(LPSTR to, LPCSTR from) { return std::strcat(to, from ? from : ""); }

int lstrcmp(LPCSTR a, LPCSTR b) { return std::strcmp(a ? a : "", b ? b : ""); }

int lstrcmpi(LPCSTR a, LPCSTR b) {
  a = a ? a : "";
  b = b ? b : "";
  for (;; ++a, ++b) {
    int x = std::tolower(static_cast<unsigned char>(*a));
    int y = std::tolower(static_cast<unsigned char>(*b));
    if (x != y || !x) return x < y ? -1 : x > y ? 1 : 0;
  }
}

int MulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  long long product = static_cast<long long>(number) * numerator;
  long long half = (denominator < 0 ? -denominator : denominator) / 2;
  bool negative = (product < 0) != (denominator < 0);
  long long magnitude = ((product < 0 ? -product : product) + half) / (denominator < 0 ? -denominator : denominator);
  return static_cast<int>(negative ? -magnitude : magnitude);
}

DWORD GetLastError() { return S().lastError; }
void SetLastError(DWORD error) { S().lastError = error; }

DWORD GetTickCount() {
  using namespace std::chrono;
  return static_cast<DWORD>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}
