// Windows stand-in: the shell's "open" handed to the desktop's opener, when the front end allows it.
// The address goes to the opener as one argument of its own; no shell and no command line are involved.
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include <shellapi.h>

#include "qplatform/Script.h"
#include "qplatform/WindowSystem.h"
#include "win32/src/Internal.h"

extern char** environ;

namespace qwin::detail {
namespace {

struct OpenerState {
  bool enabled = false;
  std::string program = "xdg-open";
  std::vector<pid_t> started;
};

OpenerState& O() {
  static OpenerState s;
  return s;
}

bool HasPrefixNoCase(const std::string& text, const char* prefix) {
  const size_t n = std::strlen(prefix);
  return text.size() > n && EqualNoCase(text.substr(0, n), prefix);
}

// Only web and mail addresses leave the stand-in; a control character makes an address malformed.
bool IsOpenableAddress(const std::string& address) {
  for (unsigned char c : address) {
    if (c < 0x20 || c == 0x7F) return false;
  }
  return HasPrefixNoCase(address, "http:") || HasPrefixNoCase(address, "https:") ||
         HasPrefixNoCase(address, "mailto:");
}

// Collects the openers that have ended, so that none stays a zombie.
void ReapEnded() {
  auto& started = O().started;
  for (auto it = started.begin(); it != started.end();) {
    int status = 0;
    pid_t done = waitpid(*it, &status, WNOHANG);
    it = done == 0 ? it + 1 : started.erase(it);
  }
}

int SpawnError(int error) {
  switch (error) {
    case ENOENT: return SE_ERR_FNF;
    case EACCES:
    case EPERM: return SE_ERR_ACCESSDENIED;
    case ENOMEM:
    case EAGAIN: return SE_ERR_OOM;
    default: return 0;
  }
}

}  // namespace

bool ShellOpenerEnabled() { return O().enabled; }

int OpenWithDesktop(const std::string& verb, const std::string& address, std::string& outcome) {
  ReapEnded();
  if (!(verb.empty() || EqualNoCase(verb, "open")) || !IsOpenableAddress(address)) {
    outcome = "refused";
    return SE_ERR_ACCESSDENIED;
  }
  // The desktop reads addresses in UTF-8; the module's strings are code page 1251.
  std::string program = O().program;
  std::string argument = qhost::Cp1251ToUtf8(address);
  char* argv[] = {program.data(), argument.data(), nullptr};
  pid_t pid = 0;
  int error = posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv, environ);
  if (error != 0) {
    outcome = "failed: " + std::string(std::strerror(error));
    return SpawnError(error);
  }
  O().started.push_back(pid);
  outcome = "opened";
  return 42;
}

}  // namespace qwin::detail

namespace qwin {

void SetShellOpenerEnabled(bool enabled) { detail::O().enabled = enabled; }

void SetShellOpenerProgram(const std::string& program) { detail::O().program = program; }

int WaitForShellOpeners() {
  auto& started = detail::O().started;
  int count = 0;
  for (pid_t pid : started) {
    int status = 0;
    if (waitpid(pid, &status, 0) == pid) ++count;
  }
  started.clear();
  return count;
}

}  // namespace qwin
