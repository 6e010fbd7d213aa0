// qhost's care for unsaved work at a terminal: the asking QUIT and the recovery file.
#include "UnsavedWork.h"

#include <cctype>
#include <cstdio>
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

std::string RecoveryPath() {
  std::string path = qhost::DrawingPath(*qhost::CurrentDatabase());
  if (path.empty()) return "Drawing1.recovered.dxf";
  const std::string extension = path.size() >= 4 ? path.substr(path.size() - 4) : "";
  std::string lower;
  for (char c : extension) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (lower == ".dxf") path.erase(path.size() - 4);
  return path + ".recovered.dxf";
}

bool RecoverUnsavedWork() {
  if (!HasUnsavedWork()) return false;
  AcDbDatabase& db = *qhost::CurrentDatabase();
  const std::string path = RecoveryPath(), drawing = qhost::DrawingPath(db);
  std::string error;
  const bool saved = qhost::SaveDrawing(db, path, &error);
  qhost::SetDrawingPath(db, drawing);  // the drawing's own name stays what it was
  if (saved) {
    std::fprintf(stderr, "qhost: the input ended with unsaved changes; they are saved in %s\n", path.c_str());
  } else {
    std::fprintf(stderr, "qhost: the input ended with unsaved changes, and saving them in %s failed: %s\n",
                 path.c_str(), error.c_str());
  }
  return true;
}

}  // namespace qhostui
