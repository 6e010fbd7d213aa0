// qhost: opens a drawing, loads modules and runs the host's command line from a terminal or a script.
#include <unistd.h>

#include <cerrno>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "qplatform/Drawing.h"
#include "qplatform/Host.h"
#include "qplatform/InputQueue.h"
#include "qplatform/Render.h"
#include "qplatform/Script.h"
#include "qplatform/Transcript.h"
#include "CharacterMap.h"
#include "qplatform/WindowSystem.h"
#include "UiView.h"
#include "UnsavedWork.h"
#include "WebFrontEnd.h"
#include "WebServer.h"
#include "rxdlinkr.h"
#include "windows.h"

namespace {

const char kUsage[] =
    "usage: qhost [drawing.dxf] [--script session.txt] [--load module.arx]... [--no-module] [--pickbox units]\n"
    "             [--show-ui] [--open-links] [--render picture.svg [--space model|paper]]\n"
    "             [--serve [--port N] [--allow-modules DIR]...]\n"
    "  Opens the drawing (a new one when none is given) and runs the command line: from the\n"
    "  script when given, otherwise from standard input (typed lines; \"!verb ...\" for script verbs).\n"
    "  Without --load, the Quillon module of this build is loaded when it is there (--no-module: not).\n"
    "  At a terminal, QUIT asks before it drops unsaved changes, and input that ends with changes\n"
    "  unsaved writes them to <drawing>.recovered.dxf and exits with status 4.\n"
    "  --show-ui: while a dialog waits, show it before each event, and the entities each redraw changed\n"
    "  (always on at a terminal).\n"
    "  --open-links: a link the module opens (http:, https:, mailto:) goes to the desktop's opener,\n"
    "  xdg-open; without it, opening a link is only recorded.\n"
    "  --render: writes the drawing as SVG (the current space, or the one --space names) and ends;\n"
    "  with --script, the drawing as the script left it.\n"
    "  --serve: serve the browser page at http://127.0.0.1:8251/?t=TOKEN (--port N: another port, 0 any\n"
    "  free one) beside the terminal; TOKEN is this run's secret, printed at the start, without which\n"
    "  the page is refused. The session ends with QUIT or Ctrl-C.\n"
    "  While serving, ARX Load loads only modules in the folder of this build's module or of a --load\n"
    "  module; --allow-modules DIR allows the modules in DIR too.\n";

// The person at the terminal already moved to a new line by pressing Enter (set by the terminal's
// reader, which has a thread of its own while the page is served).
std::atomic<bool> g_afterTyped{false};

class InteractiveSource : public qhost::TerminalSource {
 public:
  InteractiveSource(std::FILE* in, bool isTerminal) : TerminalSource(in, isTerminal), m_isTerminal(isTerminal) {}
  std::optional<qhost::InputEvent> Next(const std::string& waitingFor) override {
    std::fflush(stdout);
    auto event = TerminalSource::Next(waitingFor);
    g_afterTyped = m_isTerminal;
    return event;
  }

 private:
  bool m_isTerminal;
};

void Show(const std::string& cp1251) {
  std::string text = cp1251;
  if (g_afterTyped && !text.empty() && text[0] == '\n') text.erase(0, 1);
  g_afterTyped = false;
  std::fputs(qhost::Cp1251ToUtf8(text).c_str(), stdout);
}

// The host's main window, the parent of the modules' dialogs, and its resource instance.
HWND CreateMainWindow() {
  WNDCLASS wc{};
  wc.lpfnWndProc = DefWindowProc;
  wc.lpszClassName = "AfxFrameOrView";
  RegisterClass(&wc);
  HWND main = CreateWindowEx(0, wc.lpszClassName, "qhost", WS_OVERLAPPEDWINDOW, 0, 0, 1024, 768, nullptr, nullptr,
                             nullptr, nullptr);
  ShowWindow(main, SW_SHOW);
  qhost::SetHostWindows(main, nullptr, GetModuleHandle(nullptr));
  return main;
}

// Shows, before each wait takes its next event, the entities that redraws changed since the last
// event and the dialog that waits.
class UiShowingSource : public qhost::InputSource {
 public:
  explicit UiShowingSource(std::unique_ptr<qhost::InputSource> inner) : m_inner(std::move(inner)) {
    if (AcDbDatabase* db = qhost::CurrentDatabase()) m_watch.Changes(*db);
  }
  std::optional<qhost::InputEvent> Next(const std::string& waitingFor) override {
    const qhost::DisplayCounts& counts = qhost::Display();
    AcDbDatabase* db = qhost::CurrentDatabase();
    if (db && counts.updates + counts.flushes != m_redraws) {
      m_redraws = counts.updates + counts.flushes;
      ShowBlock(m_watch.Changes(*db));
    }
    if (waitingFor.rfind("dialog ", 0) == 0) ShowBlock(qhostui::RenderDialog(GetActiveWindow(), waitingFor));
    return m_inner->Next(waitingFor);
  }
  std::string Name() const override { return m_inner->Name(); }

 private:
  static void ShowBlock(std::string text) {
    while (!text.empty() && text.back() == '\n') text.pop_back();
    if (!text.empty()) Show("\n" + text);
  }
  std::unique_ptr<qhost::InputSource> m_inner;
  qhostui::DrawingWatch m_watch;
  int m_redraws = 0;
};

// Answers "help" at any wait with what that wait understands, and waits on.
class HelpSource : public qhost::InputSource {
 public:
  explicit HelpSource(std::unique_ptr<qhost::InputSource> inner) : m_inner(std::move(inner)) {}
  std::optional<qhost::InputEvent> Next(const std::string& waitingFor) override {
    for (;;) {
      auto event = m_inner->Next(waitingFor);
      if (!event || event->verb != "help" || !event->args.empty()) return event;
      Show("\n" + qhostui::Help(waitingFor, GetActiveWindow()));
    }
  }
  std::string Name() const override { return m_inner->Name(); }

 private:
  std::unique_ptr<qhost::InputSource> m_inner;
};

std::string FolderOf(const std::string& file) {
  size_t slash = file.rfind('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : file.substr(0, slash);
}

void Complain(const std::string& utf8) { std::fprintf(stderr, "qhost: %s\n", utf8.c_str()); }

}  // namespace

int main(int argc, char** argv) {
  std::string drawing, script, picture;
  qhost::render::Space space = qhost::render::Space::kCurrent;
  std::vector<std::string> modules, moduleFolders;
  bool builtModule = true;
  bool showUi = isatty(0) != 0;
  bool serve = false;
  bool portGiven = false;
  int port = qhostweb::kDefaultPort;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if ((arg == "--script" || arg == "--load" || arg == "--pickbox" || arg == "--render" || arg == "--space" ||
         arg == "--port" || arg == "--allow-modules") && i + 1 < argc) {
      std::string value = argv[++i];
      if (arg == "--render") picture = value;
      if (arg == "--space" && value != "model" && value != "paper") {
        std::fputs(kUsage, stderr);
        return 2;
      }
      if (arg == "--space") space = value == "model" ? qhost::render::Space::kModel : qhost::render::Space::kPaper;
      if (arg == "--script") script = value;
      if (arg == "--port" && (value.empty() || value.size() > 5 || value.find_first_not_of("0123456789") != std::string::npos ||
                              std::atoi(value.c_str()) > 65535)) {
        Complain("--port takes a number from 0 to 65535");
        return 2;
      }
      if (arg == "--port") port = std::atoi(value.c_str());
      portGiven = portGiven || arg == "--port";
      if (arg == "--load") modules.push_back(value);
      if (arg == "--allow-modules" && access((value + "/.").c_str(), X_OK) != 0) {
        Complain("--allow-modules " + value + ": " + std::strerror(errno));
        return 2;
      }
      if (arg == "--allow-modules") moduleFolders.push_back(value);
      if (arg == "--pickbox") qhost::SetPickAperture(std::atof(value.c_str()));
    } else if (arg == "--serve") {
      serve = true;
    } else if (arg == "--show-ui") {
      showUi = true;
    } else if (arg == "--open-links") {
      qwin::SetShellOpenerEnabled(true);
    } else if (arg == "--no-module") {
      builtModule = false;
    } else if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (!arg.empty() && arg[0] != '-' && drawing.empty()) {
      drawing = arg;
    } else {
      std::fputs(kUsage, stderr);
      return qhost::ExitCode(qhost::SessionStatus::kCannotStart);
    }
  }

  std::unique_ptr<AcDbDatabase> db;
  if (drawing.empty()) {
    db = std::make_unique<AcDbDatabase>();
  } else {
    qhost::DrawingLoad load = qhost::LoadDrawing(drawing);
    for (const std::string& w : load.warnings) Complain(drawing + ": " + w);
    if (!load.database) {
      Complain(load.error);
      return qhost::ExitCode(qhost::SessionStatus::kCannotStart);
    }
    db = std::move(load.database);
  }
  qhost::OpenDocument(std::move(db));

  qhost::RegisterHostCommands();
  HWND mainWindow = CreateMainWindow();
  qhostweb::WebFrontEnd web;
  auto& queue = qhost::InputQueue::Instance();
  // Writes the picture that --render asks for; false when it cannot.
  auto render = [&](const char* before) {
    bool ok = false;
    std::string said = qhost::render::WriteSvg(*qhost::CurrentDatabase(), space, picture, ok);
    if (ok)
      std::printf("%s%s\n", before, said.c_str());
    else
      Complain(said);
    return ok;
  };
  if (!picture.empty() && script.empty()) {
    bool ok = render("");
    qhost::CloseDocument();
    return ok ? 0 : 1;
  }
  std::unique_ptr<qhost::InputSource> source;
  if (serve) {
    std::string error;
    if (!script.empty()) {
      Complain("--serve takes its events from the page and the terminal, not a script");
      return 2;
    }
    // The default port may be taken by another qhost: then any free one, which is printed all the same.
    qhostweb::WebFrontEnd::Options options{mainWindow, port, isatty(0) != 0, [] { g_afterTyped = true; },
                                           qhostui::CharacterMapOpen};
    bool started = web.Start(options, error);
    if (!started && !portGiven) {
      options.port = 0;
      started = web.Start(options, error);
    }
    if (!started) {
      Complain(error);
      return 2;
    }
    std::fprintf(stderr, "qhost: the page is at %s\n", web.Address().c_str());
    source = web.Source();
  } else if (!script.empty()) {
    std::string error;
    source = qhost::ScriptSource::FromFile(script, error);
    if (!source) {
      Complain(error);
      return qhost::ExitCode(qhost::SessionStatus::kCannotStart);
    }
  } else {
    source = std::make_unique<InteractiveSource>(stdin, isatty(0) != 0);
  }
  source = std::make_unique<qhostui::CharacterMapSource>(std::move(source), showUi ? Show : nullptr);
  source = std::make_unique<HelpSource>(std::move(source));
  if (showUi) source = std::make_unique<UiShowingSource>(std::move(source));
  queue.SetSource(std::move(source));
  qhost::Transcript::Instance().SetSink(Show);

  // A person at a terminal is asked before changes are dropped; a script never is.
  const bool atTerminal = script.empty() && isatty(0) != 0;
  if (atTerminal) qhostui::GuardUnsavedWork();
#ifdef QHOST_MODULE_FILE
  if (builtModule && modules.empty() && access(QHOST_MODULE_FILE, R_OK) == 0) modules.push_back(QHOST_MODULE_FILE);
#else
  (void)builtModule;
#endif
  // A page may type ARX Load: it loads only modules of the folders qhost itself loads from.
  if (serve) {
#ifdef QHOST_MODULE_FILE
    moduleFolders.push_back(FolderOf(QHOST_MODULE_FILE));
#endif
    for (const std::string& m : modules) moduleFolders.push_back(FolderOf(m));
    qhost::RestrictModuleFolders(moduleFolders);
  }
  // A module that does not load ends the session before it starts: the transcript says why.
  bool modulesLoaded = true;
  for (const std::string& m : modules) {
    if (!acrxDynamicLinker->loadModule(m.c_str(), true)) {
      std::string why = access(m.c_str(), R_OK) != 0 ? std::strerror(errno) : "the transcript says why";
      Complain("cannot load the module " + m + " (" + why + "); the session does not start");
      modulesLoaded = false;
      break;
    }
  }

  int status = modulesLoaded ? qhost::RunCommandLine() : qhost::ExitCode(qhost::SessionStatus::kCannotStart);
  web.Stop();
  if (modulesLoaded && atTerminal && !qhost::QuitRequested() && qhostui::RecoverUnsavedWork())
    status = qhost::ExitCode(qhost::SessionStatus::kWorkRecovered);
  if (!picture.empty() && !render("\n") && status == 0) status = qhost::ExitCode(qhost::SessionStatus::kCommandFailed);
  qhost::UnloadAllModules();
  std::fflush(stdout);
  for (const std::string& failure : queue.Failures()) Complain(qhost::Cp1251ToUtf8(failure));
  qhost::CloseDocument();
  return status;
}
