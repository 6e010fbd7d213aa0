// The host stand-in's one input queue: every front end puts events in, the main thread takes them out.
// Stand-in only: the front ends (qhost, tests) and the stand-ins use it; the module never does.
#pragma once

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
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

// Everything but Post, OpenFeed, CloseFeed and EndInput belongs to the main thread, which runs the
// host, the module and the windows. Front ends with threads of their own (a server, a terminal
// reader) only post events; what they show they take from snapshots the main thread publishes.
class InputQueue {
 public:
  static InputQueue& Instance();

  // Any thread: queues an event from a feed and wakes the main thread if it waits. Posted events
  // come after the pending ones and after the source's.
  void Post(InputEvent event);
  // Any thread: a feed is a front end that posts from a thread of its own. While one is open, a
  // wait with nothing pending and no source (or a source that has run out) sleeps until an event
  // is posted or the last feed closes; only then does the input run out.
  void OpenFeed();
  void CloseFeed();
  // Any thread: the input ends now, as if every source and feed had run out: every wait, now or
  // later, gets nothing, and events still queued are dropped. A signal that ends the session
  // does this, so that the main thread ends it as at the end of input.
  void EndInput();
  // Main thread: the next posted event, sleeping while a feed is open; nothing once none is. A
  // source that stands for the feeds (so that wrapping sources see their events) calls this.
  std::optional<InputEvent> WaitForPosted();

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
  std::optional<InputEvent> TakePending();
  bool Ended() const;

  mutable std::mutex m_mutex;
  std::condition_variable m_postedSignal;
  std::deque<InputEvent> m_posted;
  int m_feeds = 0;
  bool m_ended = false;  // EndInput was called
  std::deque<InputEvent> m_pending;
  std::unique_ptr<InputSource> m_source;
  std::string m_ranOutWhile;
  std::vector<std::string> m_failures;
};

}  // namespace qhost
