// qhost's care for unsaved work in an interactive session: the asking QUIT and the recovery files.
#include "UnsavedWork.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "accmd.h"
#include "acedads.h"
#include "adscodes.h"
#include "qplatform/Drawing.h"
#include "qplatform/Host.h"
#include "qplatform/Script.h"
#include "qplatform/Transcript.h"

namespace qhostui {
namespace {

// The drawing as it was opened: what "unchanged" means for a drawing never saved.
std::string& OpenedBytes() {
  static std::string bytes;
  return bytes;
}

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

enum class QuitAnswer { kSave, kDiscard, kStay };

// Asks until the answer is one of the three; Enter is Yes, Escape and input that ends are Cancel.
QuitAnswer AskBeforeQuitting() {
  std::string name = qhost::DrawingPath(*qhost::CurrentDatabase());
  name = name.empty() ? "Drawing1.dxf" : name.substr(name.find_last_of('/') + 1);
  std::string cp1251;
  if (!qhost::Utf8ToCp1251(name, cp1251)) cp1251 = name;
  const std::string prompt = "\nSave changes to " + cp1251 + "? [Yes/No/Cancel] <Yes>: ";
  for (;;) {
    char answer[133] = "";
    if (acedGetString(0, prompt.c_str(), answer) != RTNORM) return QuitAnswer::kStay;
    switch (std::toupper(static_cast<unsigned char>(answer[0]))) {
      case '\0':
      case 'Y': return QuitAnswer::kSave;
      case 'N': return QuitAnswer::kDiscard;
      case 'C': return QuitAnswer::kStay;
      default: qhost::Transcript::Instance().Write("\nAnswer Yes, No or Cancel.");
    }
  }
}

void QuitAskingCommand() {
  if (HasUnsavedWork()) {
    QuitAnswer answer = AskBeforeQuitting();
    if (answer == QuitAnswer::kStay) return;
    if (answer == QuitAnswer::kSave) {
      qhost::RunCommand("SAVE");
      if (HasUnsavedWork()) return;  // the save failed or was cancelled: the work stays open
    }
  }
  qhost::RequestQuit();
}

}  // namespace

void GuardUnsavedWork() {
  OpenedBytes() = qhost::DrawingToBytes(*qhost::CurrentDatabase());
  AcEdCommandStack* stack = acedRegCmds;
  stack->removeCmd("ACAD", "QUIT");
  stack->addCommand("ACAD", "QUIT", "QUIT", ACRX_CMD_MODAL, QuitAskingCommand);
}

bool HasUnsavedWork() {
  AcDbDatabase* db = qhost::CurrentDatabase();
  if (db == nullptr) return false;
  const std::string now = qhost::DrawingToBytes(*db);
  if (now == OpenedBytes()) return false;
  const std::string path = qhost::DrawingPath(*db);
  return path.empty() || FileBytes(path) != now;
}

namespace {

// The drawing's file name without its folder and without ".dxf" ("Drawing1" for a new one).
std::string Stem(const std::string& drawingPath) {
  std::string name = drawingPath.empty() ? "Drawing1.dxf" : drawingPath.substr(drawingPath.rfind('/') + 1);
  std::string lower;
  for (char c : name.substr(name.size() >= 4 ? name.size() - 4 : 0))
    lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (lower == ".dxf") name.erase(name.size() - 4);
  return name;
}

// Whether `name` is a recovery file's name for the drawing whose stem is `stem`.
bool IsRecoveryName(const std::string& name, const std::string& stem) {
  const std::string head = stem + ".recovered", tail = ".dxf";
  if (name.size() < head.size() + tail.size() || name.compare(0, head.size(), head) != 0 ||
      name.compare(name.size() - tail.size(), tail.size(), tail) != 0)
    return false;
  const std::string number = name.substr(head.size(), name.size() - head.size() - tail.size());
  return number.empty() || (number.size() > 1 && number[0] == '-' && number.find_first_not_of("0123456789", 1) == std::string::npos);
}

// Creates `folder` and the folders above it that are missing, private to the user.
bool MakeFolders(const std::string& folder, std::string& error) {
  for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
    const std::string part = folder.substr(0, slash);
    if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
      error = "cannot make the folder " + part + ": " + std::strerror(errno);
      return false;
    }
    if (slash == std::string::npos) return true;
  }
}

// Writes the drawing to the first free name in `folder`; "" or why it could not.
std::string RecoverInto(AcDbDatabase& db, const std::string& folder, std::string& written) {
  constexpr int kMostRecoveries = 1000;
  const std::string drawing = qhost::DrawingPath(db);
  for (int n = 1; n <= kMostRecoveries; ++n) {
    const std::string path = folder + RecoveryName(drawing, n);
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0) continue;  // an earlier recovery, or anything else: never replaced
    std::string error;
    if (qhost::SaveDrawing(db, path, &error, qhost::SaveKind::kNewFile)) {
      written = path;
      return std::string();
    }
    if (::lstat(path.c_str(), &st) != 0) return error;  // not a name taken meanwhile: the folder fails
  }
  return "cannot save in " + folder + ": " + std::to_string(kMostRecoveries) + " recovery files are there already";
}

}  // namespace

std::vector<std::string> RecoveryFolders(const std::string& drawingPath) {
  std::vector<std::string> folders{
      drawingPath.find('/') == std::string::npos ? std::string() : drawingPath.substr(0, drawingPath.rfind('/') + 1)};
  // A relative $XDG_STATE_HOME is to be ignored, as the base directory rules say.
  const char* state = std::getenv("XDG_STATE_HOME");
  const char* home = std::getenv("HOME");
  if (state != nullptr && state[0] == '/')
    folders.push_back(std::string(state) + "/quillon/");
  else if (home != nullptr && home[0] == '/')
    folders.push_back(std::string(home) + "/.local/state/quillon/");
  return folders;
}

std::string RecoveryName(const std::string& drawingPath, int n) {
  return Stem(drawingPath) + ".recovered" + (n > 1 ? "-" + std::to_string(n) : std::string()) + ".dxf";
}

std::vector<std::string> EarlierRecoveries(const std::string& drawingPath) {
  std::vector<std::string> found;
  const std::string stem = Stem(drawingPath);
  for (const std::string& folder : RecoveryFolders(drawingPath)) {
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr) continue;
    std::vector<std::string> names;
    while (dirent* entry = ::readdir(dir))
      if (IsRecoveryName(entry->d_name, stem)) names.push_back(folder + entry->d_name);
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    found.insert(found.end(), names.begin(), names.end());
  }
  return found;
}

Recovery RecoverUnsavedWork(const std::string& why) {
  if (!HasUnsavedWork()) return Recovery::kNothingUnsaved;
  AcDbDatabase& db = *qhost::CurrentDatabase();
  std::vector<std::string> failures;
  const std::vector<std::string> folders = RecoveryFolders(qhost::DrawingPath(db));
  for (size_t i = 0; i < folders.size(); ++i) {
    const std::string& folder = folders[i];
    std::string error, written;
    // The drawing's own folder exists (or is gone with it); the fallback is made when needed.
    if (i > 0 && !MakeFolders(folder.substr(0, folder.size() - 1), error)) {
      failures.push_back(error);
      continue;
    }
    error = RecoverInto(db, folder, written);
    if (error.empty()) {
      for (const std::string& failure : failures) std::fprintf(stderr, "qhost: %s\n", failure.c_str());
      std::fprintf(stderr, "qhost: %s with unsaved changes; they are saved in %s\n", why.c_str(), written.c_str());
      return Recovery::kRecovered;
    }
    failures.push_back(error);
  }
  std::string all;
  for (const std::string& failure : failures) all += "\n  " + failure;
  std::fprintf(stderr, "qhost: %s with unsaved changes, and no recovery file could be written; they are lost:%s\n",
               why.c_str(), all.c_str());
  return Recovery::kLost;
}

}  // namespace qhostui
