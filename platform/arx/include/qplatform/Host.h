// The host session: its document, its command line, picking and what it shows (stand-in only).
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "aced.h"
#include "dbmain.h"
#include "qplatform/InputQueue.h"

namespace qhost {

// The host's one document. It owns the database, which becomes the working database.
void OpenDocument(std::unique_ptr<AcDbDatabase> db);
AcDbDatabase* CurrentDatabase();
std::unique_ptr<AcDbDatabase> CloseDocument();

// The windows and the resource instance the host hands to modules; the Windows stand-in sets
// them once it has made its windows. Null until then.
void SetHostWindows(HWND mainWindow, CView* drawingView, HINSTANCE resources);

// How often the drawing was redrawn (acedUpdateDisplay) and flushed (flushGraphics).
struct DisplayCounts {
  int updates = 0;
  int flushes = 0;
  int queued = 0;
};
DisplayCounts& Display();

// The pick box: a pick hits an entity within this many drawing units of the point.
double PickAperture();
void SetPickAperture(double units);
// The topmost entity of the current space (TILEMODE) under `point`, or the null id.
AcDbObjectId EntityAt(AcDbDatabase& db, const AcGePoint3d& point, double aperture);

// The modules' items of the drawing area's default context menu.
struct ContextMenuItem {
  AcEdUIContext* context;
  const void* appId;
  std::string title;
};
const std::vector<ContextMenuItem>& DefaultContextMenus();

// How a session ends: qhost's exit status.
enum class SessionStatus : int {
  kCompleted = 0,      // every event was used and every command did its work
  kInputError = 1,     // input could not be used or ran out while the host waited
  kCannotStart = 2,    // bad arguments, or a drawing, script or module that cannot be opened
  kCommandFailed = 3,  // a command failed and said why (a save that did not write its file)
  kWorkRecovered = 4,  // an interactive session ended with unsaved changes: they went to a recovery file
  kWorkLost = 5,       // an interactive session ended with unsaved changes, and no recovery file could be written
};
constexpr int ExitCode(SessionStatus status) { return static_cast<int>(status); }

// The command line: "Command: " prompts until the input ends or QUIT. Returns the ExitCode of
// kInputError when input could not be used or ran out while the host waited
// (InputQueue::Failures), else of kCommandFailed when a command reported a failure, else of
// kCompleted.
int RunCommandLine();
// A command that could not do its work says so once it has printed why.
void ReportCommandFailure();
// The host's own prompt for a file name (SAVEAS): the whole typed answer, in the bytes the
// front end received (the file system's bytes, never converted to code page 1251 and back).
// False for Enter, Escape or an answer that is not text.
bool GetFileName(const char* prompt, std::string& name);
// Runs a registered command by global or local name; false when there is none.
bool RunCommand(const std::string& name);
void RequestQuit();
bool QuitRequested();
// Gives events of other verbs at the "Command: " prompt to another part of the host (the
// Windows stand-in's user-interface events); it returns false for what it cannot use either.
void SetCommandPromptHandler(std::function<bool(const InputEvent&)> handler);

// What the prompt that waits now asks for (kNone at the "Command: " prompt and in modal loops), so
// that a front end can answer a click in the drawing with a pick or a point.
enum class PromptKind { kNone, kPoint, kEntity, kString };
PromptKind WaitingPrompt();

// The host's own commands: SAVE, SAVEAS, QUIT, LIST, ERASE, MTEXT, LINE, CIRCLE, DIMALIGNED,
// SETVAR, SNAPSHOT, VIEW, ZOOM, RENDER, ARX.
void RegisterHostCommands();

// What LIST prints for an entity, and the whole drawing as the host would draw it (code page 1251).
std::string DescribeEntity(AcDbObjectId id);
std::string DrawingSnapshot(AcDbDatabase& db);
// A window of the drawing, in drawing units.
struct DrawingWindow {
  double minX = 0, minY = 0, maxX = 0, maxY = 0;
};
// What a picture without a window frames: the extents, or (the first view of a drawing) the part
// where the entities crowd when the extents are far wider, with a line saying how to see it all.
enum class ViewFraming { kExtents, kCrowded };
// The current space on a grid of `cols` by `rows` characters as the renderer draws it, with a
// ruler of drawing coordinates on the left and below: `window`, or as `framing` says when null.
std::string DrawingPicture(AcDbDatabase& db, int cols, int rows, const DrawingWindow* window = nullptr,
                           ViewFraming framing = ViewFraming::kExtents);

// Limits the ARX command's Load and Reload to module files that lie, links followed, directly in
// one of `folders` (none: any file). A page that drives the host must not load code from anywhere.
void RestrictModuleFolders(const std::vector<std::string>& folders);
// The file the ARX command loads for `file` (its real path while folders are limited), or "" with
// `why` when it may not.
std::string ModuleFileAllowed(const std::string& file, std::string& why);

// The file names of the loaded modules, in load order.
std::vector<std::string> LoadedModules();
// Tells every loaded module to unload, locked or not, and unloads it (the end of the session).
void UnloadAllModules();

// Back to a fresh session for tests: queue, transcript, ERRNO, quit flag, counters.
void ResetSession();

// ERRNO as the host sets it.
void SetErrno(short value);

}  // namespace qhost
