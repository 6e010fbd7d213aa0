// The host stand-in's one input queue: every front end puts events in, the main thread takes them out.
// Stand-in only: the front ends (qhost, tests) and the stand-ins use it; the module never does.
#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qhost {

// One event of the session-script vocabulary (docs/session-script.md): a verb and its words,
// text already in code page 1251.
struct InputEvent {
  std::string verb;               // "command", "point", "enter", "escape", "pick", "click", ...
  std::vector<std::string> args;  // the words after the verb, quotes removed
  std::string origin;             // where it came from, for messages ("session.txt:12")
  // The same words in the bytes the front end received them, before the conversion to code page
  // 1251: what a file name is. Empty when the event was made inside the host.
  std::vector<std::string> received{};
};

// Where events come from when nothing is pending: a script file, the terminal.
class InputSource {
 public:
  virtual ~InputSource() = default;
  // The next event, or nothing when the source has run out. `waitingFor` names the wait
  // (a prompt text, "dialog 5000", "menu") so that an interactive source can show it.
  virtual std::optional<InputEvent> Next(const std::string& waitingFor) = 0;
  // The source's name for messages ("session.txt"); empty for an unnamed one.
  virtual std::string Name() const { return std::string(); }
};

class InputQueue {
 public:
  static InputQueue& Instance();

  // Queues an event ahead of the source (typed input sent by the host itself, tests).
  void Push(InputEvent event);
  // Queues events ahead of everything pending, in their order (the rest of a typed line).
  void PushFront(std::vector<InputEvent> events);
  void SetSource(std::unique_ptr<InputSource> source);
  // The first pending event (queued ahead of the source), or null: a command with optional
  // entries looks whether its typed line carried any.
  const InputEvent* PeekPending() const { return m_pending.empty() ? nullptr : &m_pending.front(); }

  // The next event for the wait named by `waitingFor`: pending events first, then the
  // source. Nothing when both have run out: the caller then cancels its wait as Escape
  // would, and the queue remembers which wait was left without input.
  std::optional<InputEvent> Next(const std::string& waitingFor);

  // As Next, for a wait that may end the session when input runs out (the host's Command:
  // prompt): running out there is the normal end and not recorded.
  std::optional<InputEvent> NextAtRest(const std::string& waitingFor);

  bool RanOut() const { return !m_ranOutWhile.empty(); }
  const std::string& RanOutWhile() const { return m_ranOutWhile; }

  // Records that `event` could not answer the wait `waitingFor`; the caller then cancels its
  // wait as Escape would. The run fails.
  void Reject(const InputEvent& event, const std::string& waitingFor);
  // Records a failure that a consumer of the queue reports in its own words (an event that
  // a dialog could not use and dropped). The run fails all the same.
  void RecordFailure(const std::string& message) { m_failures.push_back(message); }
  // Every failure so far, as messages (code page 1251): input that could not be used, input
  // that ran out while the host waited.
  const std::vector<std::string>& Failures() const { return m_failures; }

  // Forgets pending events, the source and the ran-out state.
  void Reset();

 private:
  std::deque<InputEvent> m_pending;
  std::unique_ptr<InputSource> m_source;
  std::string m_ranOutWhile;
  std::vector<std::string> m_failures;
};

}  // namespace qhost
