// MFC stand-in: the application object and its profile (an INI file), resource search over the
// application and the extension libraries, message boxes, the wait cursor, diagnostics.
#include <afxdllx.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

#include "mfc/src/AfxState.h"
#include "qplatform/Profile.h"
#include "qplatform/WindowServices.h"

using afxdetail::State;
using qwin::detail::Lower;

// ---- Diagnostics and exceptions ----

void AfxAssertFailedLine(LPCSTR fileName, int line) {
  std::cerr << "qplatform: ASSERT failed at " << fileName << ":" << line << "\n";
}

void AfxTrace(LPCTSTR format, ...) {
  va_list args;
  va_start(args, format);
  std::vfprintf(stderr, format, args);
  va_end(args);
}

void AfxThrowUserException() { throw new CUserException; }

void AfxThrowNotSupportedException() {
  std::cerr << "qplatform: not supported\n";
  throw new CUserException;
}

// ---- Profile storage ----

namespace {

std::string g_profileFolder;

std::string ConfigFolder() {
  if (!g_profileFolder.empty()) return g_profileFolder;
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  std::string base = xdg && *xdg ? xdg : std::string(std::getenv("HOME") ? std::getenv("HOME") : ".") + "/.config";
  return base + "/quillon";
}

std::string Trim(const std::string& s) {
  size_t a = s.find_first_not_of(" \t\r");
  size_t b = s.find_last_not_of(" \t\r");
  return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

// The INI file as lines; sections and keys are found without regard to case, as Windows does.
struct IniFile {
  std::vector<std::string> lines;

  static IniFile Read(const std::string& path) {
    IniFile file;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      file.lines.push_back(line);
    }
    return file;
  }

  // [first, end) of the section's lines after its header; first == npos when absent.
  std::pair<size_t, size_t> Section(const std::string& name) const {
    for (size_t i = 0; i < lines.size(); ++i) {
      std::string t = Trim(lines[i]);
      if (t.size() >= 2 && t.front() == '[' && t.back() == ']' && Lower(t.substr(1, t.size() - 2)) == Lower(name)) {
        size_t end = i + 1;
        while (end < lines.size() && !(Trim(lines[end]).size() > 0 && Trim(lines[end])[0] == '[')) ++end;
        return {i + 1, end};
      }
    }
    return {std::string::npos, std::string::npos};
  }

  size_t Key(std::pair<size_t, size_t> section, const std::string& key) const {
    for (size_t i = section.first; i < section.second; ++i) {
      size_t eq = lines[i].find('=');
      if (eq != std::string::npos && Lower(Trim(lines[i].substr(0, eq))) == Lower(key)) return i;
    }
    return std::string::npos;
  }

  bool Get(const std::string& section, const std::string& key, std::string& value) const {
    auto s = Section(section);
    if (s.first == std::string::npos) return false;
    size_t i = Key(s, key);
    if (i == std::string::npos) return false;
    value = Trim(lines[i].substr(lines[i].find('=') + 1));
    return true;
  }

  void Set(const std::string& section, const std::string& key, const std::string& value) {
    auto s = Section(section);
    if (s.first == std::string::npos) {
      if (!lines.empty() && !lines.back().empty()) lines.push_back("");
      lines.push_back("[" + section + "]");
      lines.push_back(key + "=" + value);
      return;
    }
    size_t i = Key(s, key);
    if (i != std::string::npos) {
      lines[i] = key + "=" + value;
    } else {
      size_t at = s.second;
      while (at > s.first && Trim(lines[at - 1]).empty()) --at;
      lines.insert(lines.begin() + static_cast<long>(at), key + "=" + value);
    }
  }

  // Written whole to a temporary file that then replaces the old one.
  bool Write(const std::string& path) const {
    std::string folder = path.substr(0, path.rfind('/'));
    for (size_t at = 1; at <= folder.size(); ++at) {
      if (at == folder.size() || folder[at] == '/') mkdir(folder.substr(0, at).c_str(), 0700);
    }
    std::string temp = path + ".tmp";
    {
      std::ofstream out(temp, std::ios::binary | std::ios::trunc);
      for (const auto& line : lines) out << line << "\n";
      if (!out.flush()) return false;
    }
    return std::rename(temp.c_str(), path.c_str()) == 0;
  }
};

}  // namespace

namespace qmfc {

void SetProfileFolder(const std::string& folder) { g_profileFolder = folder; }

std::string ProfilePath(const std::string& profileName) {
  std::string name = profileName.empty() ? "qhost" : profileName;
  std::string lower = Lower(name);
  if (lower.size() < 4 || lower.compare(lower.size() - 4, 4, ".ini") != 0) name += ".ini";
  return ConfigFolder() + "/" + name;
}

}  // namespace qmfc

// ---- The application ----

namespace {

// The process always has an application object, as the host program is an MFC application.
CWinApp& DefaultApp() {
  static CWinApp* app = new CWinApp("qhost");
  return *app;
}

}  // namespace

CWinApp::CWinApp(LPCTSTR appName) {
  m_appName = appName ? appName : "qhost";
  m_profileName = m_appName;
  m_pszAppName = m_appName;
  m_pszProfileName = m_profileName;
  m_hInstance = ::GetModuleHandle(nullptr);
  if (!State().app || appName) State().app = this;
}

CWinApp::~CWinApp() {
  if (State().app == this) State().app = nullptr;
}

UINT CWinApp::GetProfileInt(LPCTSTR section, LPCTSTR entry, int defaultValue) {
  std::string value;
  if (!IniFile::Read(qmfc::ProfilePath(m_pszProfileName)).Get(section, entry, value)) {
    return static_cast<UINT>(defaultValue);
  }
  return static_cast<UINT>(std::strtol(value.c_str(), nullptr, 10));
}

BOOL CWinApp::WriteProfileInt(LPCTSTR section, LPCTSTR entry, int value) {
  return WriteProfileString(section, entry, std::to_string(value).c_str());
}

CString CWinApp::GetProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR defaultValue) {
  std::string value;
  if (!IniFile::Read(qmfc::ProfilePath(m_pszProfileName)).Get(section, entry, value)) {
    return CString(defaultValue ? defaultValue : "");
  }
  return CString(value.c_str());
}

BOOL CWinApp::WriteProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR value) {
  std::string path = qmfc::ProfilePath(m_pszProfileName);
  IniFile file = IniFile::Read(path);
  if (!value) {
    qwin::detail::Unimplemented("WriteProfileString removing an entry");
    return FALSE;
  }
  file.Set(section, entry, value);
  return file.Write(path);
}

void CWinApp::SetRegistryKey(LPCTSTR key) {
  // The profile stays an INI file here; the key only names the application's part of it.
  m_pszRegistryKey = key;
}

HCURSOR CWinApp::LoadCursor(LPCTSTR name) const { return ::LoadCursor(AfxFindResourceHandle(name, RT_GROUP_CURSOR), name); }
HCURSOR CWinApp::LoadCursor(UINT nID) const { return LoadCursor(MAKEINTRESOURCE(nID)); }
HCURSOR CWinApp::LoadStandardCursor(LPCTSTR name) const { return ::LoadCursor(nullptr, name); }
HICON CWinApp::LoadIcon(LPCTSTR name) const { return ::LoadIcon(AfxFindResourceHandle(name, RT_GROUP_ICON), name); }
HICON CWinApp::LoadIcon(UINT nID) const { return LoadIcon(MAKEINTRESOURCE(nID)); }
HICON CWinApp::LoadStandardIcon(LPCTSTR name) const { return ::LoadIcon(nullptr, name); }

void CWinApp::DoWaitCursor(int code) {
  m_nWaitCursorCount += code;
  if (m_nWaitCursorCount > 0) {
    HCURSOR previous = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    if (code > 0 && m_nWaitCursorCount == 1) m_hcurWaitCursorRestore = previous;
  } else {
    m_nWaitCursorCount = 0;
    ::SetCursor(m_hcurWaitCursorRestore ? m_hcurWaitCursorRestore : ::LoadCursor(nullptr, IDC_ARROW));
  }
}

int CWinApp::DoMessageBox(LPCTSTR prompt, UINT type, UINT) {
  CWnd* owner = AfxGetMainWnd();
  HWND active = ::GetActiveWindow();
  HWND window = active ? active : (owner ? owner->m_hWnd : nullptr);
  return ::MessageBox(window, prompt, m_pszAppName, type);
}

void CCmdTarget::BeginWaitCursor() { AfxGetApp()->DoWaitCursor(1); }
void CCmdTarget::EndWaitCursor() { AfxGetApp()->DoWaitCursor(-1); }
void CCmdTarget::RestoreWaitCursor() { AfxGetApp()->DoWaitCursor(0); }

CWaitCursor::CWaitCursor() { AfxGetApp()->DoWaitCursor(1); }
CWaitCursor::~CWaitCursor() { AfxGetApp()->DoWaitCursor(-1); }
void CWaitCursor::Restore() { AfxGetApp()->DoWaitCursor(0); }

CWinApp* AFXAPI AfxGetApp() { return State().app ? State().app : &DefaultApp(); }
CWnd* AFXAPI AfxGetMainWnd() { return AfxGetApp()->m_pMainWnd; }
CWinThread* AFXAPI AfxGetThread() { return AfxGetApp(); }
HINSTANCE AFXAPI AfxGetInstanceHandle() { return AfxGetApp()->m_hInstance; }
LPCTSTR AFXAPI AfxGetAppName() { return AfxGetApp()->m_pszAppName; }

HINSTANCE AFXAPI AfxGetResourceHandle() {
  return State().resource ? State().resource : AfxGetInstanceHandle();
}

void AFXAPI AfxSetResourceHandle(HINSTANCE resource) { State().resource = resource; }

HINSTANCE AFXAPI AfxFindResourceHandle(LPCTSTR name, LPCTSTR type) {
  HINSTANCE first = AfxGetResourceHandle();
  if (::FindResource(first, name, type)) return first;
  for (CDynLinkLibrary* library : State().libraries) {
    if (library->m_hResource && ::FindResource(library->m_hResource, name, type)) return library->m_hResource;
  }
  return first;
}

int AFXAPI AfxMessageBox(LPCTSTR text, UINT type, UINT helpId) { return AfxGetApp()->DoMessageBox(text, type, helpId); }

int AFXAPI AfxMessageBox(UINT promptId, UINT type, UINT helpId) {
  char text[512];
  if (!::LoadString(AfxFindResourceHandle(MAKEINTRESOURCE((promptId >> 4) + 1), RT_STRING), promptId, text, sizeof text)) {
    std::snprintf(text, sizeof text, "(string %u)", promptId);
  }
  return AfxMessageBox(text, type, helpId == static_cast<UINT>(-1) ? promptId : helpId);
}

BOOL AFXAPI AfxInitRichEdit() { return ::LoadLibrary("RICHED32.DLL") != nullptr; }

void AFXAPI AfxEnableControlContainer() {}

// ---- Extension libraries ----

BOOL AFXAPI AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE module) {
  if (state.bInitialized) return TRUE;
  state.hModule = module;
  state.hResource = module;
  state.bInitialized = TRUE;
  return TRUE;
}

void AFXAPI AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL all) {
  std::vector<CDynLinkLibrary*> doomed;
  for (CDynLinkLibrary* library : State().libraries) {
    if (all || library->m_hModule == state.hModule) doomed.push_back(library);
  }
  for (CDynLinkLibrary* library : doomed) delete library;
}

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL system)
    : m_hModule(state.hModule), m_hResource(state.hResource), m_bSystem(system) {
  State().libraries.push_back(this);
}

CDynLinkLibrary::~CDynLinkLibrary() {
  auto& list = State().libraries;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
}
