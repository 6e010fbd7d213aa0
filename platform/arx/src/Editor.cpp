// The editor: prompts that take their answers from the input queue, output, redraw, the host's
// windows, the default context menu and the document manager.
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "acdocman.h"
#include "aced.h"
#include "acedads.h"
#include "adscodes.h"
#include "dbapserv.h"
#include "arx/src/DbInternals.h"
#include "qplatform/Drawing.h"
#include "qplatform/Host.h"
#include "qplatform/InputQueue.h"
#include "qplatform/Script.h"
#include "qplatform/Transcript.h"

namespace qhost {
namespace {

// ERRNO values the prompts set.
constexpr short kErrnoPickedNothing = 7;
constexpr short kErrnoNullResponse = 52;

std::string WaitName(const char* prompt) {
  std::string s = prompt ? prompt : "";
  size_t b = s.find_first_not_of(" \n\r\t");
  size_t e = s.find_last_not_of(" \n\r\t");
  return b == std::string::npos ? std::string("input") : s.substr(b, e - b + 1);
}

// One answer to a prompt, as the host understands its vocabulary.
struct Answer {
  enum Kind { kPoint, kText, kEnter, kEscape, kHandle } kind = kEscape;
  AcGePoint3d point;
  std::string text;
  std::string received;  // a text answer in the bytes the front end received it in
  bool fromTerminal = false;
};

bool ParseNumber(const std::string& s, double& v) {
  if (s.empty()) return false;
  char* end = nullptr;
  v = std::strtod(s.c_str(), &end);
  return end && *end == '\0' && std::isfinite(v);
}

// "x,y" or "x,y,z", relative to `base` with a leading "@".
bool ParsePoint(const std::string& text, const AcGePoint3d* base, AcGePoint3d& p) {
  std::string s = text;
  bool relative = !s.empty() && s[0] == '@';
  if (relative) s = s.substr(1);
  std::vector<double> v;
  size_t start = 0;
  while (true) {
    size_t comma = s.find(',', start);
    double d;
    if (!ParseNumber(s.substr(start, comma == std::string::npos ? std::string::npos : comma - start), d)) return false;
    v.push_back(d);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  if (v.size() < 2 || v.size() > 3) return false;
  p = AcGePoint3d(v[0], v[1], v.size() == 3 ? v[2] : 0.0);
  if (relative && base) p = AcGePoint3d(base->x + p.x, base->y + p.y, base->z + p.z);
  return true;
}

std::string FormatCoord(double v) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.10g", v);
  return buf;
}

std::string FormatPoint(const AcGePoint3d& p) {
  std::string s = FormatCoord(p.x) + "," + FormatCoord(p.y);
  if (p.z != 0.0) s += "," + FormatCoord(p.z);
  return s;
}

void Echo(const std::string& text, bool fromTerminal) { Transcript::Instance().Echo(text, fromTerminal); }

bool IsEntity(AcDbObjectId id) { return id.stub()->object && id.stub()->object->isKindOf(AcDbEntity::desc()); }

void Cancelled() { Transcript::Instance().Write("*Cancel*"); }

PromptKind& Waiting() {
  static PromptKind kind = PromptKind::kNone;
  return kind;
}

// Shows the prompt and takes the next answer. Input that is not the host's is rejected and
// cancels the prompt, as does input running out.
Answer Ask(const char* prompt, PromptKind kind) {
  Transcript::Instance().Write(prompt ? prompt : "");
  std::string wait = WaitName(prompt);
  auto& queue = InputQueue::Instance();
  Waiting() = kind;
  auto event = queue.Next(wait);
  Waiting() = PromptKind::kNone;
  Answer a;
  if (!event) {
    Cancelled();
    return a;
  }
  a.fromTerminal = event->origin == "terminal";
  const auto& args = event->args;
  double x, y, z = 0.0;
  if ((event->verb == "point" || event->verb == "pick") && args.size() >= 2 && ParseNumber(args[0], x) &&
      ParseNumber(args[1], y) && (args.size() < 3 || ParseNumber(args[2], z)) && args.size() <= 3) {
    a.kind = Answer::kPoint;
    a.point = AcGePoint3d(x, y, z);
    Echo(FormatPoint(a.point), a.fromTerminal);
  } else if (event->verb == "pick" && args.size() == 2 && args[0] == "handle") {
    a.kind = Answer::kHandle;
    a.text = args[1];
    Echo("handle " + args[1], a.fromTerminal);
  } else if (event->verb == "type" && args.size() <= 1) {
    a.text = args.empty() ? std::string() : args[0];
    a.received = event->received.size() == 1 ? event->received[0] : Cp1251ToUtf8(a.text);
    a.kind = a.text.empty() ? Answer::kEnter : Answer::kText;
    Echo(a.text, a.fromTerminal);
  } else if (event->verb == "enter" && args.empty()) {
    a.kind = Answer::kEnter;
  } else if (event->verb == "escape" && args.empty()) {
    Cancelled();
  } else {
    queue.Reject(*event, wait);
    Cancelled();
  }
  return a;
}

}  // namespace

bool GetFileName(const char* prompt, std::string& name) {
  Answer a = Ask(prompt, PromptKind::kString);
  if (a.kind != Answer::kText) return false;
  name = a.received;
  return true;
}

PromptKind WaitingPrompt() { return Waiting(); }

}  // namespace qhost

using qhost::Answer;

int acedGetPoint(const ads_point pt, const char* prompt, ads_point result) {
  AcGePoint3d base;
  if (pt) base = AcGePoint3d(pt[X], pt[Y], pt[Z]);
  while (true) {
    Answer a = qhost::Ask(prompt, qhost::PromptKind::kPoint);
    AcGePoint3d p;
    switch (a.kind) {
      case Answer::kPoint:
        p = a.point;
        break;
      case Answer::kText:
        if (!qhost::ParsePoint(a.text, pt ? &base : nullptr, p)) {
          qhost::Transcript::Instance().Write("\nInvalid point.");
          continue;
        }
        break;
      case Answer::kEnter:
        return RTNONE;
      case Answer::kHandle:
        qhost::Transcript::Instance().Write("\nInvalid point.");
        continue;
      case Answer::kEscape:
        return RTCAN;
    }
    result[X] = p.x;
    result[Y] = p.y;
    result[Z] = p.z;
    return RTNORM;
  }
}

int acedEntSel(const char* str, ads_name entres, ads_point ptres) {
  ads_name_clear(entres);
  Answer a = qhost::Ask(str ? str : "\nSelect object: ", qhost::PromptKind::kEntity);
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  AcDbObjectId id;
  AcGePoint3d p;
  switch (a.kind) {
    case Answer::kEscape:
      return RTCAN;
    case Answer::kEnter:
      qhost::SetErrno(qhost::kErrnoNullResponse);
      return RTERROR;
    case Answer::kText:
      if (!qhost::ParsePoint(a.text, nullptr, p)) {
        qhost::SetErrno(qhost::kErrnoPickedNothing);
        return RTERROR;
      }
      if (db) id = qhost::EntityAt(*db, p, qhost::PickAperture());
      break;
    case Answer::kPoint:
      p = a.point;
      if (db) id = qhost::EntityAt(*db, p, qhost::PickAperture());
      break;
    case Answer::kHandle:
      if (db) db->getAcDbObjectId(id, false, AcDbHandle(a.text.c_str()));
      if (!id.isNull() && !qhost::IsEntity(id)) id.setNull();
      break;
  }
  if (id.isNull() || id.isErased()) {
    qhost::SetErrno(qhost::kErrnoPickedNothing);
    return RTERROR;
  }
  ads_name name;
  acdbGetAdsName(name, id);
  ads_name_set(name, entres);
  ptres[X] = p.x;
  ptres[Y] = p.y;
  ptres[Z] = p.z;
  return RTNORM;
}

int acedGetString(int, const char* prompt, char* result) {
  Answer a = qhost::Ask(prompt, qhost::PromptKind::kString);
  std::string text;
  switch (a.kind) {
    case Answer::kEscape:
      return RTCAN;
    case Answer::kPoint:
      text = qhost::FormatPoint(a.point);
      break;
    case Answer::kText:
    case Answer::kHandle:
      text = a.text;
      break;
    case Answer::kEnter:
      break;
  }
  // The host's string prompts hold at most 132 bytes.
  std::strncpy(result, text.c_str(), 132);
  result[132] = '\0';
  return RTNORM;
}

int acutPrintf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string text(n > 0 ? static_cast<size_t>(n) : 0, '\0');
  if (n > 0) std::vsnprintf(text.data(), text.size() + 1, format, args);
  va_end(args);
  qhost::Transcript::Instance().Write(text);
  return n;
}

// --- Display, windows, context menus ------------------------------------------------------

namespace qhost {
namespace {
struct Windows {
  HWND main = nullptr;
  CView* view = nullptr;
  HINSTANCE resources = nullptr;
};
Windows& HostWindows() {
  static Windows w;
  return w;
}
std::vector<ContextMenuItem>& Menus() {
  static std::vector<ContextMenuItem> menus;
  return menus;
}
}  // namespace

void SetHostWindows(HWND mainWindow, CView* drawingView, HINSTANCE resources) {
  HostWindows() = Windows{mainWindow, drawingView, resources};
}
DisplayCounts& Display() {
  static DisplayCounts counts;
  return counts;
}
const std::vector<ContextMenuItem>& DefaultContextMenus() { return Menus(); }

}  // namespace qhost

void acedUpdateDisplay() { ++qhost::Display().updates; }

HWND adsw_acadMainWnd() { return qhost::HostWindows().main; }
CView* acedGetAcadDwgView() { return qhost::HostWindows().view; }
HINSTANCE acedGetAcadResourceInstance() { return qhost::HostWindows().resources; }

Adesk::Boolean acedAddDefaultContextMenu(AcEdUIContext* pContext, const void* appId, const char* appName) {
  if (pContext == nullptr) return false;
  for (const auto& item : qhost::Menus())
    if (item.context == pContext) return false;
  qhost::Menus().push_back({pContext, appId, appName ? appName : ""});
  return true;
}

Adesk::Boolean acedRemoveDefaultContextMenu(AcEdUIContext* pContext) {
  auto& menus = qhost::Menus();
  for (auto it = menus.begin(); it != menus.end(); ++it) {
    if (it->context == pContext) {
      menus.erase(it);
      return true;
    }
  }
  return false;
}

// --- The document manager ---------------------------------------------------------------

namespace qhost {
namespace {
std::unique_ptr<AcDbDatabase>& DocumentDatabase() {
  static std::unique_ptr<AcDbDatabase> db;
  return db;
}
}  // namespace

void OpenDocument(std::unique_ptr<AcDbDatabase> db) {
  DocumentDatabase() = std::move(db);
  acdbHostApplicationServices()->setWorkingDatabase(DocumentDatabase().get());
}
AcDbDatabase* CurrentDatabase() { return DocumentDatabase().get(); }
std::unique_ptr<AcDbDatabase> CloseDocument() {
  acdbHostApplicationServices()->setWorkingDatabase(nullptr);
  return std::move(DocumentDatabase());
}
}  // namespace qhost

AcDbDatabase* AcApDocument::database() const { return qhost::CurrentDatabase(); }
const char* AcApDocument::fileName() const {
  static std::string name;
  name = qhost::CurrentDatabase() ? qhost::DrawingPath(*qhost::CurrentDatabase()) : std::string();
  return name.c_str();
}
const char* AcApDocument::docTitle() const {
  const char* path = fileName();
  const char* slash = std::strrchr(path, '/');
  return *path ? (slash ? slash + 1 : path) : "Drawing1.dwg";
}

AcApDocManager* acDocManagerPtr() {
  static AcApDocManager manager;
  return &manager;
}

AcApDocument* AcApDocManager::curDocument() const {
  static AcApDocument document;
  return qhost::CurrentDatabase() ? &document : nullptr;
}

Acad::ErrorStatus AcApDocManager::sendStringToExecute(AcApDocument* doc, const char* text, bool, bool, bool) {
  if (doc == nullptr || text == nullptr) return Acad::eInvalidInput;
  // Each entry ends at a blank or a newline, as typed; what follows the last one is entered too.
  std::string entry;
  auto push = [&] {
    qhost::InputQueue::Instance().Push({"type", {entry}, "sendStringToExecute"});
    entry.clear();
  };
  for (const char* p = text; *p; ++p) {
    if (*p == ' ' || *p == '\n' || *p == '\r')
      push();
    else
      entry += *p;
  }
  if (!entry.empty()) push();
  return Acad::eOk;
}

Acad::ErrorStatus AcTransactionManager::queueForGraphicsFlush() {
  m_queued = true;
  ++qhost::Display().queued;
  return Acad::eOk;
}
Acad::ErrorStatus AcTransactionManager::flushGraphics() {
  if (m_enabled) {
    ++qhost::Display().flushes;
    m_queued = false;
  }
  return Acad::eOk;
}
Acad::ErrorStatus AcTransactionManager::enableGraphicsFlush(bool doEnable) {
  m_enabled = doEnable;
  return Acad::eOk;
}
