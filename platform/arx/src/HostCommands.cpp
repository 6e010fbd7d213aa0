// The host's own commands: saving, listing, erasing, adding entities, system variables, modules.
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <strings.h>

#include "accmd.h"
#include "acedads.h"
#include "adscodes.h"
#include "dbapserv.h"
#include "dbdim.h"
#include "dbents.h"
#include "dbmtext.h"
#include "dbsymtb.h"
#include "qplatform/Drawing.h"
#include "qplatform/Host.h"
#include "qplatform/InputQueue.h"
#include "qplatform/Render.h"
#include "qplatform/Script.h"
#include "qplatform/Transcript.h"
#include "rxdlinkr.h"

namespace qhost {
namespace {

constexpr char kGroup[] = "ACAD";

AcDbDatabase* Db() { return acdbHostApplicationServices()->workingDatabase(); }

void Print(const std::string& text) { Transcript::Instance().Write(text); }

// A UTF-8 message (a file name in it) for the transcript, which is code page 1251.
std::string Utf8ToCp1251OrKeep(const std::string& utf8) {
  std::string cp1251;
  return Utf8ToCp1251(utf8, cp1251) ? cp1251 : utf8;
}

// Adds a new entity to the current space (TILEMODE) and closes it.
bool AppendToCurrentSpace(AcDbEntity* entity) {
  AcDbDatabase* db = Db();
  AcDbBlockTable* table = nullptr;
  if (db == nullptr || db->getBlockTable(table, AcDb::kForRead) != Acad::eOk) {
    delete entity;
    return false;
  }
  AcDbBlockTableRecord* space = nullptr;
  Acad::ErrorStatus es = table->getAt(db->tilemode() ? ACDB_MODEL_SPACE : ACDB_PAPER_SPACE, space, AcDb::kForWrite);
  table->close();
  if (es == Acad::eOk) {
    es = space->appendAcDbEntity(entity);
    space->close();
  }
  if (es != Acad::eOk) {
    delete entity;
    return false;
  }
  entity->close();
  return true;
}

bool GetPoint(const char* prompt, AcGePoint3d& p, const AcGePoint3d* base = nullptr) {
  ads_point in = {0, 0, 0}, out;
  if (base) {
    in[X] = base->x;
    in[Y] = base->y;
    in[Z] = base->z;
  }
  if (acedGetPoint(base ? in : nullptr, prompt, out) != RTNORM) return false;
  p = AcGePoint3d(out[X], out[Y], out[Z]);
  return true;
}

bool GetString(const char* prompt, std::string& text) {
  char buf[133];
  if (acedGetString(1, prompt, buf) != RTNORM) return false;
  text = buf;
  return true;
}

bool PickEntity(const char* prompt, AcDbObjectId& id) {
  ads_name name;
  ads_point pt;
  int rc = acedEntSel(prompt, name, pt);
  if (rc != RTNORM) {
    resbuf rb;
    if (rc == RTERROR && acedGetVar("ERRNO", &rb) == RTNORM && rb.resval.rint == 7) Print("\nNothing selected.");
    return false;
  }
  return acdbGetObjectId(id, name) == Acad::eOk;
}

// A file name (the file system's bytes) as the transcript shows it: code page 1251 when the
// name is UTF-8, otherwise with every byte outside ASCII as \xHH.
std::string ShownName(const std::string& bytes) {
  std::string shown;
  if (Utf8ToCp1251(bytes, shown)) return shown;
  shown.clear();
  for (unsigned char c : bytes) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "\\x%02x", c);
    shown += c < 0x80 ? std::string(1, static_cast<char>(c)) : hex;
  }
  return shown;
}

// Saves under `path`, the file system's bytes, and says how it went.
void Save(const std::string& path, SaveKind kind) {
  std::string error, note;
  if (SaveDrawing(*Db(), path, &error, kind, &note)) {
    Print("\nSaved \"" + ShownName(path) + "\".");
    // What the save could not keep is for whoever looks after the file, beside the session.
    if (!note.empty()) std::fprintf(stderr, "note: %s\n", note.c_str());
  } else {
    Print("\n" + ShownName(error));
    ReportCommandFailure();
  }
}

void SaveAsCommand() {
  std::string path;
  if (!GetFileName("\nFile name: ", path)) return;
  if (path.size() >= PATH_MAX) {
    Print("\nThe file name is longer than " + std::to_string(PATH_MAX - 1) + " bytes; nothing was saved.");
    ReportCommandFailure();
    return;
  }
  Save(path, SaveKind::kSaveAs);
}

// Whether to write over a file that another program changed since it was read; no answer is No.
bool OverwriteChangedFile(const std::string& path) {
  const std::string prompt = "\n\"" + ShownName(path) + "\" changed on disk since it was read. Overwrite? [Yes/No] <No>: ";
  for (;;) {
    char answer[133] = "";
    if (acedGetString(0, prompt.c_str(), answer) != RTNORM) return false;
    switch (std::toupper(static_cast<unsigned char>(answer[0]))) {
      case 'Y': return true;
      case '\0':
      case 'N': return false;
      default: Print("\nAnswer Yes or No.");
    }
  }
}

void SaveCommand() {
  const std::string path = DrawingPath(*Db());
  if (path.empty()) {
    SaveAsCommand();
  } else if (DrawingChangedOnDisk(*Db()) && !OverwriteChangedFile(path)) {
    Print("\nNothing was saved: \"" + ShownName(path) + "\" keeps what the other program wrote.");
    ReportCommandFailure();
  } else {
    Save(path, SaveKind::kSave);
  }
}

void QuitCommand() { RequestQuit(); }

void ListCommand() {
  AcDbObjectId id;
  if (PickEntity("\nSelect object: ", id)) Print("\n" + DescribeEntity(id));
}

void EraseCommand() {
  AcDbObjectId id;
  AcDbEntity* entity = nullptr;
  if (!PickEntity("\nSelect object: ", id) || acdbOpenObject(entity, id, AcDb::kForWrite) != Acad::eOk) return;
  entity->erase();
  entity->close();
}

void MTextCommand() {
  AcGePoint3d at;
  std::string contents;
  if (!GetPoint("\nSpecify insertion point: ", at) || !GetString("\nEnter text: ", contents)) return;
  auto* m = new AcDbMText();
  m->setLocation(at);
  m->setTextHeight(Db()->textsize());
  m->setTextStyle(Db()->textstyle());
  m->setAttachment(AcDbMText::kTopLeft);
  m->setContents(contents.c_str());
  AppendToCurrentSpace(m);
}

void LineCommand() {
  AcGePoint3d a, b;
  if (!GetPoint("\nSpecify first point: ", a) || !GetPoint("\nSpecify next point: ", b, &a)) return;
  AppendToCurrentSpace(new AcDbLine(a, b));
}

void CircleCommand() {
  AcGePoint3d c;
  std::string radius;
  if (!GetPoint("\nSpecify center point: ", c) || !GetString("\nSpecify radius: ", radius)) return;
  double r = std::atof(radius.c_str());
  if (!(r > 0)) {
    Print("\nThe radius must be positive.");
    return;
  }
  auto* circle = new AcDbCircle();
  circle->setCenter(c);
  circle->setRadius(r);
  AppendToCurrentSpace(circle);
}

void DimAlignedCommand() {
  AcGePoint3d p1, p2, at;
  std::string text;
  if (!GetPoint("\nSpecify first extension line origin: ", p1) ||
      !GetPoint("\nSpecify second extension line origin: ", p2, &p1) ||
      !GetPoint("\nSpecify dimension line location: ", at, &p2) || !GetString("\nDimension text <>: ", text))
    return;
  double length = std::hypot(p2.x - p1.x, p2.y - p1.y);
  if (length == 0.0) {
    Print("\nThe two points are the same.");
    return;
  }
  // The dimension line runs parallel to p1-p2 through `at`.
  double nx = -(p2.y - p1.y) / length, ny = (p2.x - p1.x) / length;
  double offset = (at.x - p1.x) * nx + (at.y - p1.y) * ny;
  AcGePoint3d d1(p1.x + nx * offset, p1.y + ny * offset, p1.z), d2(p2.x + nx * offset, p2.y + ny * offset, p2.z);
  auto* dim = new AcDbAlignedDimension();
  dim->setXLine1Point(p1);
  dim->setXLine2Point(p2);
  dim->setDimLinePoint(d2);
  dim->setTextPosition(AcGePoint3d((d1.x + d2.x) / 2, (d1.y + d2.y) / 2, d1.z));
  dim->setMeasurement(length);
  dim->setDimensionText(text.c_str());
  AppendToCurrentSpace(dim);
}

void SetVarCommand() {
  std::string name, value;
  if (!GetString("\nEnter variable name: ", name) || name.empty()) return;
  resbuf current;
  if (acedGetVar(name.c_str(), &current) != RTNORM) {
    Print("\nUnknown variable name.");
    return;
  }
  std::string shown;
  if (current.restype == RTSTR) {
    shown = current.resval.rstring;
    std::free(current.resval.rstring);
  } else {
    char buf[64];
    if (current.restype == RTREAL)
      std::snprintf(buf, sizeof buf, "%g", current.resval.rreal);
    else
      std::snprintf(buf, sizeof buf, "%d", current.resval.rint);
    shown = buf;
  }
  std::string prompt = "\nEnter new value for " + name + " <" + shown + ">: ";
  if (!GetString(prompt.c_str(), value) || value.empty()) return;
  resbuf rb;
  rb.rbnext = nullptr;
  rb.restype = current.restype;
  if (current.restype == RTSTR)
    rb.resval.rstring = value.data();
  else if (current.restype == RTREAL)
    rb.resval.rreal = std::atof(value.c_str());
  else
    rb.resval.rint = static_cast<short>(std::atoi(value.c_str()));
  if (acedSetVar(name.c_str(), &rb) != RTNORM) Print("\nInvalid value.");
}

void SnapshotCommand() { Print("\n" + DrawingSnapshot(*Db())); }

void RenderCommand() {
  std::string file;
  if (!GetString("\nFile name: ", file) || file.empty()) return;
  bool ok = false;
  Print("\n" + Utf8ToCp1251OrKeep(render::WriteSvg(*Db(), render::Space::kCurrent, Cp1251ToUtf8(file), ok)));
}

// The window VIEW shows; none: the part where the entities crowd until ZOOM E asks for the extents.
std::optional<DrawingWindow> g_viewWindow;
ViewFraming g_viewFraming = ViewFraming::kCrowded;

constexpr int kViewColumns = 100;
constexpr int kViewRows = 36;

void ShowView() {
  Print("\n" + DrawingPicture(*Db(), kViewColumns, kViewRows, g_viewWindow ? &*g_viewWindow : nullptr, g_viewFraming));
}

// Two corners of a window, as four numbers (x1 y1 x2 y2); Enter at the first keeps the window shown.
// False when the person gave none or gave something else (said why).
bool GetWindow(DrawingWindow& window) {
  static const char* const prompts[] = {"\nWindow: first corner x <current>: ", "\nFirst corner y: ",
                                        "\nOpposite corner x: ", "\nOpposite corner y: "};
  double v[4];
  for (int i = 0; i < 4; ++i) {
    std::string word;
    if (!GetString(prompts[i], word) || (i == 0 && word.empty())) return false;
    // A corner may come as a point, "x,y" (acedCommand hands points over so): it answers the
    // corner's y prompt as well.
    const size_t comma = i % 2 == 0 ? word.find(',') : std::string::npos;
    const std::string x = word.substr(0, comma);
    char* end = nullptr;
    v[i] = std::strtod(x.c_str(), &end);
    bool number = !x.empty() && *end == '\0' && std::isfinite(v[i]);
    if (number && comma != std::string::npos) {
      const std::string y = word.substr(comma + 1);
      v[++i] = std::strtod(y.c_str(), &end);
      number = !y.empty() && *end == '\0' && std::isfinite(v[i]);
    }
    if (!number) {
      Print("\nA number was expected.");
      return false;
    }
  }
  if (v[0] == v[2] || v[1] == v[3]) {
    Print("\nThe window has no area.");
    return false;
  }
  window = DrawingWindow{std::min(v[0], v[2]), std::min(v[1], v[3]), std::max(v[0], v[2]), std::max(v[1], v[3])};
  return true;
}

// VIEW alone shows the window set last (the extents until one is set); VIEW x1 y1 x2 y2 on one
// typed line sets the window first. VIEW asks for nothing unless its line carried entries.
void ViewCommand() {
  const InputEvent* next = InputQueue::Instance().PeekPending();
  DrawingWindow window;
  if (next && next->verb == "type" && GetWindow(window)) g_viewWindow = window;
  ShowView();
}

// An option as a program gives it: "_W" is the option W whatever the host's language.
std::string GlobalOption(const std::string& option) { return option.rfind('_', 0) == 0 ? option.substr(1) : option; }

void ZoomCommand() {
  std::string option;
  if (!GetString("\nEnter an option [Extents/Window] <Extents>: ", option)) return;
  option = GlobalOption(option);
  char o = option.empty() ? 'E' : static_cast<char>(std::toupper(static_cast<unsigned char>(option[0])));
  if (o == 'E') {
    g_viewWindow.reset();
    g_viewFraming = ViewFraming::kExtents;
  } else if (o == 'W') {
    DrawingWindow window;
    if (!GetWindow(window)) return;
    g_viewWindow = window;
  } else {
    Print("\nInvalid option.");
    return;
  }
  ShowView();
}

// The host keeps no undo history: UNDO takes the marks that group a command's changes into one
// step (BEgin, End) and counts them, and says so for every other option.
int g_undoGroupDepth = 0;

void UndoCommand() {
  std::string option;
  if (!GetString("\nEnter an option [BEgin/End]: ", option) || option.empty()) return;
  option = GlobalOption(option);
  if (strncasecmp(option.c_str(), "BE", 2) == 0) {
    ++g_undoGroupDepth;
  } else if (strncasecmp(option.c_str(), "E", 1) == 0) {
    if (g_undoGroupDepth > 0) --g_undoGroupDepth;
  } else {
    Print("\nThis host keeps no undo history; UNDO takes BEgin and End only.");
  }
}

void ArxCommand() {
  std::string option, file;
  if (!GetString("\nEnter an option [?/Load/Unload/Reload]: ", option) || option.empty()) return;
  AcRxDynamicLinker* linker = acrxDynamicLinker;
  char o = static_cast<char>(std::toupper(static_cast<unsigned char>(option[0])));
  if (o == '?') {
    for (const std::string& m : LoadedModules()) Print("\n" + m);
    return;
  }
  if (std::strchr("LUR", o) == nullptr) {
    Print("\nInvalid option.");
    return;
  }
  if (!GetString("\nModule file: ", file) || file.empty()) return;
  std::string path = Cp1251ToUtf8(file);
  // Checked before anything of the file runs: loading it runs its constructors.
  std::string why, load = o == 'U' ? path : ModuleFileAllowed(path, why);
  if (load.empty()) {
    Print("\nCannot load \"" + file + "\": it " + why + ".");
    ReportCommandFailure();
    return;
  }
  bool done = true;
  if (o == 'L') done = linker->loadModule(load.c_str(), true);
  if (o == 'U') done = linker->unloadModule(path.c_str(), true);
  if (o == 'R') done = linker->unloadModule(path.c_str(), true) && linker->loadModule(load.c_str(), true);
  if (!done) ReportCommandFailure();
}

}  // namespace

void RegisterHostCommands() {
  AcEdCommandStack* stack = acedRegCmds;
  stack->removeGroup(kGroup);
  // A new session's first view frames where the entities crowd.
  g_viewWindow.reset();
  g_viewFraming = ViewFraming::kCrowded;
  g_undoGroupDepth = 0;
  const std::pair<const char*, AcRxFunctionPtr> commands[] = {
      {"SAVE", SaveCommand},       {"SAVEAS", SaveAsCommand},         {"QUIT", QuitCommand},
      {"LIST", ListCommand},       {"ERASE", EraseCommand},           {"MTEXT", MTextCommand},
      {"LINE", LineCommand},       {"CIRCLE", CircleCommand},         {"DIMALIGNED", DimAlignedCommand},
      {"SETVAR", SetVarCommand},   {"SNAPSHOT", SnapshotCommand},     {"VIEW", ViewCommand},
      {"ARX", ArxCommand},         {"RENDER", RenderCommand},         {"ZOOM", ZoomCommand},
      {"UNDO", UndoCommand}};
  for (const auto& [name, function] : commands) stack->addCommand(kGroup, name, name, ACRX_CMD_MODAL, function);
}

}  // namespace qhost
