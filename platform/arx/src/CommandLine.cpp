// The host's command line: the "Command: " prompt, typed command names, the default context menu.
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <strings.h>

#include "accmd.h"
#include "aced.h"
#include "acedads.h"
#include "adscodes.h"
#include "dbmtext.h"
#include "qplatform/Host.h"
#include "qplatform/InputQueue.h"
#include "qplatform/Transcript.h"

namespace qhost {
namespace {

bool& Quit() {
  static bool quit = false;
  return quit;
}

bool& CommandFailed() {
  static bool failed = false;
  return failed;
}

const char* const kCommandPrompt = "\nCommand: ";

std::function<bool(const InputEvent&)>& PromptHandler() {
  static std::function<bool(const InputEvent&)> handler;
  return handler;
}

std::vector<std::string> SplitEntries(const std::string& line) {
  std::vector<std::string> entries;
  size_t start = 0;
  while (start <= line.size()) {
    size_t blank = line.find(' ', start);
    std::string entry = line.substr(start, blank == std::string::npos ? std::string::npos : blank - start);
    if (!entry.empty()) entries.push_back(entry);
    if (blank == std::string::npos) break;
    start = blank + 1;
  }
  return entries;
}

// Runs `entries[0]` as a command; the other entries answer its prompts, in order, each with
// the bytes it was received in when the front end gave them.
void RunTyped(const std::vector<std::string>& entries, const std::vector<std::string>& received,
              const std::string& origin, bool fromTerminal) {
  if (entries.empty()) return;
  std::vector<InputEvent> rest;
  for (size_t i = 1; i < entries.size(); ++i) {
    rest.push_back({"type", {entries[i]}, origin});
    if (received.size() == entries.size()) rest.back().received = {received[i]};
  }
  InputQueue::Instance().PushFront(std::move(rest));
  Transcript::Instance().Echo(entries[0], fromTerminal);
  if (!RunCommand(entries[0]))
    Transcript::Instance().Write("\nUnknown command \"" + entries[0] + "\".  Press F1 for help.");
}

// The context-menu verb: the item `id` of the module menu titled `title`.
void ChooseContextMenuItem(const InputEvent& event) {
  for (const auto& item : DefaultContextMenus()) {
    if (event.args.size() != 2 || strcasecmp(item.title.c_str(), event.args[0].c_str()) != 0) continue;
    Transcript::Instance().Echo("[" + item.title + "]", event.origin == "terminal");
    AcDbObjectIdArray none;
    item.context->getMenuContext(AcDbMText::desc(), none);
    item.context->onCommand(static_cast<Adesk::UInt32>(std::strtoul(event.args[1].c_str(), nullptr, 10)));
    return;
  }
  InputQueue::Instance().Reject(event, "Command: ");
}

}  // namespace

void RequestQuit() { Quit() = true; }
void SetCommandPromptHandler(std::function<bool(const InputEvent&)> handler) { PromptHandler() = std::move(handler); }
bool QuitRequested() { return Quit(); }
void ReportCommandFailure() { CommandFailed() = true; }

bool RunCommand(const std::string& typed) {
  // "_LINE" and ".LINE" name the same command as "LINE".
  std::string name = typed;
  while (!name.empty() && (name[0] == '_' || name[0] == '.')) name.erase(0, 1);
  AcEdCommandStack* stack = acedRegCmds;
  AcEdCommand* command = stack->lookupGlobalCmd(name.c_str());
  if (command == nullptr) command = stack->lookupLocalCmd(name.c_str());
  if (command == nullptr) return false;
  command->functionAddr()();
  return true;
}

int RunCommandLine() {
  auto& queue = InputQueue::Instance();
  auto& transcript = Transcript::Instance();
  while (!Quit()) {
    transcript.Write(kCommandPrompt);
    auto event = queue.NextAtRest("Command: ");
    if (!event) break;
    bool fromTerminal = event->origin == "terminal";
    if (event->verb == "command" && !event->args.empty()) {
      RunTyped(event->args, event->received, event->origin, fromTerminal);
    } else if (event->verb == "type" && event->args.size() <= 1) {
      const bool typed = !event->args.empty(), raw = event->received.size() == 1;
      RunTyped(SplitEntries(typed ? event->args[0] : std::string()), SplitEntries(raw ? event->received[0] : std::string()),
               event->origin, fromTerminal);
    } else if (event->verb == "enter" || event->verb == "escape") {
      if (event->verb == "escape") transcript.Write("*Cancel*");
    } else if (event->verb == "context-menu") {
      ChooseContextMenuItem(*event);
    } else if (!PromptHandler() || !PromptHandler()(*event)) {
      queue.Reject(*event, "Command: ");
    }
  }
  transcript.Write("\n");
  if (!queue.Failures().empty()) return ExitCode(SessionStatus::kInputError);
  return ExitCode(CommandFailed() ? SessionStatus::kCommandFailed : SessionStatus::kCompleted);
}

void ResetSession() {
  InputQueue::Instance().Reset();
  Transcript::Instance().Clear();
  SetErrno(0);
  Quit() = false;
  CommandFailed() = false;
  Display() = DisplayCounts{};
}

}  // namespace qhost

// The command runs at once; its answers go to the front of the input, so that its prompts take
// them before anything the user gave.
int acedCommand(int rtype, ...) {
  std::vector<std::string> entries;
  va_list args;
  va_start(args, rtype);
  bool known = true;
  for (int type = rtype; type != RTNONE && known; type = va_arg(args, int)) {
    char number[64];
    switch (type) {
      case RTSTR:
        entries.emplace_back(va_arg(args, const char*));
        break;
      case RTPOINT: {
        const double* p = va_arg(args, const double*);
        std::snprintf(number, sizeof number, "%.10g,%.10g", p[0], p[1]);
        entries.emplace_back(number);
        break;
      }
      case RTREAL:
        std::snprintf(number, sizeof number, "%.10g", va_arg(args, double));
        entries.emplace_back(number);
        break;
      case RTSHORT:
        std::snprintf(number, sizeof number, "%d", va_arg(args, int));
        entries.emplace_back(number);
        break;
      default:
        known = false;
        break;
    }
  }
  va_end(args);
  if (!known || entries.empty()) return RTERROR;
  std::vector<qhost::InputEvent> answers;
  for (size_t i = 1; i < entries.size(); ++i) answers.push_back({"type", {entries[i]}, "acedCommand"});
  qhost::InputQueue::Instance().PushFront(std::move(answers));
  return qhost::RunCommand(entries[0]) ? RTNORM : RTERROR;
}
