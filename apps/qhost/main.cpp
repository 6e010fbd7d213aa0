// qhost: opens a drawing, loads modules and runs the host's command line from a terminal or a script.
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <atomic>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "qplatform/Drawing.h"
#include "qplatform/Host.h"
#include "qplatform/InputQueue.h"
#include "qplatform/Render.h"
#include "qplatform/Script.h"
#include "qplatform/Transcript.h"
#include "CharacterMap.h"
#include "EndingSignals.h"
#include "LineEditor.h"
#include "ModuleLocation.h"
#include "apps/cli/ProgramOptions.h"
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
    "       qhost --help | --version\n"
    "  Opens the drawing (a new one when none is given) and runs the command line: from the\n"
    "  script when given, otherwise from standard input (typed lines; \"!verb ...\" for script verbs).\n"
    "  Without --load, the Quillon module installed beside qhost, or the one of its build, is loaded\n"
    "  when it is there (--no-module: not).\n"
    "  At a terminal or with --serve, QUIT asks before it drops unsaved changes, and a session that\n"
    "  ends otherwise (end of input, Ctrl-C, SIGTERM, a closed terminal) with changes unsaved writes\n"
    "  them to a new <drawing>.recovered[-N].dxf beside the drawing, else in $XDG_STATE_HOME/quillon,\n"
    "  and exits with status 4 (5 when nothing could be written).\n"
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
    "  module; --allow-modules DIR allows the modules in DIR too.\n"
    "  --help: this text; --version: qhost's version.\n"
    "exit statuses:\n"
    "  0  every event was used and every command did its work\n"
    "  1  an event could not be used, or input ran out while the host waited\n"
    "  2  bad arguments, or a drawing, script or module that cannot be opened; nothing ran\n"
    "  3  a command failed and said why (a SAVE that did not write its file, an ARX load)\n"
    "  4  an interactive session ended with unsaved changes: they went to a recovery file\n"
    "  5  an interactive session ended with unsaved changes and no recovery file could be written\n";
const qcli::Program kQhost{"qhost", kUsage};

// The options that take the next argument as their value.
bool TakesValue(const std::string& arg) {
  for (const char* option : {"--script", "--load", "--pickbox", "--render", "--space", "--port", "--allow-modules"})
    if (arg == option) return true;
  return false;
}

// The person at the terminal already moved to a new line by pressing Enter (set by the terminal's
// reader, which has a thread of its own while the page is served).
std::atomic<bool> g_afterTyped{false};
// The terminal's line editor while qhost runs at one; what qhost shows goes through it.
qhostui::LineEditor* g_lineEditor = nullptr;

// Lines from a pipe, read on the main thread: the prompt is shown before each.
class PipedSource : public qhost::TerminalSource {
 public:
  PipedSource() : TerminalSource(stdin, false) {}
  std::optional<qhost::InputEvent> Next(const std::string& waitingFor) override {
    std::fflush(stdout);
    return TerminalSource::Next(waitingFor);
  }
};

// The terminal's lines, read on a thread of their own and posted, so that the main thread waits
// on the input queue alone, whose input an ending signal ends. The thread reads a line only when
// the main thread asks for one, after it has shown the wait's prompt: the line editor then draws
// that prompt once, as its own, and nothing is read while no wait is there to take it.
class TerminalFeedSource : public qhost::InputSource {
 public:
  TerminalFeedSource() : m_asks(std::make_shared<Asks>()) {
    qhost::InputQueue::Instance().OpenFeed();
    // The thread shares the asks, not the source: it may outlive the source at the end.
    std::thread([asks = m_asks] {
      qhost::TerminalSource lines(stdin, true);
      for (;;) {
        {
          std::unique_lock<std::mutex> lock(asks->mutex);
          asks->asked.wait(lock, [&] { return asks->waiting; });
          asks->waiting = false;
        }
        auto event = lines.Next(std::string());
        if (!event) break;
        qhost::InputQueue::Instance().Post(std::move(*event));
      }
      qhost::InputQueue::Instance().CloseFeed();
    }).detach();
  }
  std::optional<qhost::InputEvent> Next(const std::string&) override {
    std::fflush(stdout);
    {
      std::lock_guard<std::mutex> lock(m_asks->mutex);
      m_asks->waiting = true;
    }
    m_asks->asked.notify_one();
    auto event = qhost::InputQueue::Instance().WaitForPosted();
    g_afterTyped = event.has_value();
    return event;
  }
  std::string Name() const override { return "terminal"; }

 private:
  struct Asks {
    std::mutex mutex;
    std::condition_variable asked;
    bool waiting = false;  // a wait of the main thread takes the next line
  };
  std::shared_ptr<Asks> m_asks;
};

// How the session ended, for the message about unsaved work.
std::string EndingCause() {
  switch (qhostui::EndingSignal()) {
    case 0: return "the input ended";
    case SIGINT: return "Ctrl-C (SIGINT) ended the session";
    case SIGHUP: return "the terminal closed (SIGHUP) and ended the session";
    default: return "SIGTERM ended the session";
  }
}

void Show(const std::string& cp1251) {
  std::string text = cp1251;
  if (g_afterTyped && !text.empty() && text[0] == '\n') text.erase(0, 1);
  g_afterTyped = false;
  if (g_lineEditor)
    g_lineEditor->Write(qhost::Cp1251ToUtf8(text));
  else
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
    if (waitingFor.rfind("dialog ", 0) == 0) {
      // A modeless window over the waiting dialog (its find window) shows below the dialog.
      HWND active = GetActiveWindow();
      HWND owner = GetWindow(active, GW_OWNER);
      char ownerClass[16] = "";
      if (owner && GetClassName(owner, ownerClass, sizeof ownerClass) && std::strcmp(ownerClass, "#32770") == 0) {
        ShowBlock(qhostui::RenderDialog(owner, waitingFor));
        ShowBlock(qhostui::RenderDialog(active, "window over " + waitingFor));
      } else {
        ShowBlock(qhostui::RenderDialog(active, waitingFor));
      }
    }
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
    if (TakesValue(arg) && i + 1 < argc) {
      std::string value = argv[++i];
      if (arg == "--render") picture = value;
      if (arg == "--space" && value != "model" && value != "paper")
        return qcli::Refuse(kQhost, "--space takes model or paper");
      if (arg == "--space") space = value == "model" ? qhost::render::Space::kModel : qhost::render::Space::kPaper;
      if (arg == "--script") script = value;
      if (arg == "--port" && (value.empty() || value.size() > 5 || value.find_first_not_of("0123456789") != std::string::npos ||
                              std::atoi(value.c_str()) > 65535))
        return qcli::Refuse(kQhost, "--port takes a number from 0 to 65535");
      if (arg == "--port") port = std::atoi(value.c_str());
      portGiven = portGiven || arg == "--port";
      if (arg == "--load") modules.push_back(value);
      if (arg == "--allow-modules" && access((value + "/.").c_str(), X_OK) != 0) {
        return qcli::Refuse(kQhost, "--allow-modules " + value + ": " + std::strerror(errno));
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
    } else if (int status = 0; qcli::AnswerCommonOption(kQhost, arg, status)) {
      return status;
    } else if (!arg.empty() && arg[0] != '-' && drawing.empty()) {
      drawing = arg;
    } else if (!arg.empty() && arg[0] != '-') {
      return qcli::Refuse(kQhost, "one drawing at a time, not also '" + arg + "'");
    } else if (TakesValue(arg)) {
      return qcli::Refuse(kQhost, arg + " needs a value");
    } else {
      return qcli::RefuseUnknownOption(kQhost, arg);
    }
  }

  // A file size limit (ulimit -f) makes a save fail with a message instead of killing qhost.
  std::signal(SIGXFSZ, SIG_IGN);
  // A person at a terminal or the page is asked before changes are dropped, and a session that
  // ends otherwise leaves them in a recovery file; a script's run never asks and ends as it ends.
  const bool interactive = script.empty() && picture.empty() && (isatty(0) != 0 || serve);
  if (interactive) {
    qhostui::EndInputOnSignals();
    std::signal(SIGPIPE, SIG_IGN);  // a closed terminal or page must not end the session before it recovers
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
    qhost::LoadBlockTexts(*db);  // the host holds every block's texts, as a drawing it opened does
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
  // Typed lines are edited with libedit at a terminal; a script or a pipe is read as it comes.
  std::unique_ptr<qhostui::LineEditor> lineEditor;
  if (script.empty()) lineEditor = qhostui::LineEditor::Open(qhostui::HistoryPath());
  if (lineEditor) {
    g_lineEditor = lineEditor.get();
    qhost::SetTerminalLineReader([] { return g_lineEditor->ReadLine(); });
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
  } else if (isatty(0)) {
    source = std::make_unique<TerminalFeedSource>();
  } else {
    source = std::make_unique<PipedSource>();
  }
  source = std::make_unique<qhostui::CharacterMapSource>(std::move(source), showUi ? Show : nullptr);
  source = std::make_unique<HelpSource>(std::move(source));
  if (showUi) source = std::make_unique<UiShowingSource>(std::move(source));
  queue.SetSource(std::move(source));
  qhost::Transcript::Instance().SetSink(Show);

  if (interactive) {
    qhostui::GuardUnsavedWork();
    for (const std::string& earlier : qhostui::EarlierRecoveries(drawing))
      Complain("unsaved changes an earlier session left are in " + earlier);
  }
  const std::string defaultModule = qhostui::DefaultModule();
  if (builtModule && modules.empty() && !defaultModule.empty()) modules.push_back(defaultModule);
  // A page may type ARX Load: it loads only modules of the folders qhost itself loads from.
  if (serve) {
    if (!defaultModule.empty()) moduleFolders.push_back(FolderOf(defaultModule));
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
  if (lineEditor) lineEditor->Flush();  // the prompt of a wait the end cut short, before what follows
  web.Stop();
  if (modulesLoaded && interactive && !qhost::QuitRequested()) {
    switch (qhostui::RecoverUnsavedWork(EndingCause())) {
      case qhostui::Recovery::kNothingUnsaved: break;
      case qhostui::Recovery::kRecovered: status = qhost::ExitCode(qhost::SessionStatus::kWorkRecovered); break;
      case qhostui::Recovery::kLost: status = qhost::ExitCode(qhost::SessionStatus::kWorkLost); break;
    }
  }
  if (!picture.empty() && !render("\n") && status == 0) status = qhost::ExitCode(qhost::SessionStatus::kCommandFailed);
  qhost::UnloadAllModules();
  std::fflush(stdout);
  for (const std::string& failure : queue.Failures()) Complain(qhost::Cp1251ToUtf8(failure));
  qhost::CloseDocument();
  g_lineEditor = nullptr;
  lineEditor.reset();
  return status;
}
