// The host stand-in's input queue.
#include "qplatform/InputQueue.h"

#include <iterator>

namespace qhost {

InputQueue& InputQueue::Instance() {
  static InputQueue queue;
  return queue;
}

void InputQueue::Push(InputEvent event) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_pending.push_back(std::move(event));
}

void InputQueue::PushFront(std::vector<InputEvent> events) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_pending.insert(m_pending.begin(), std::make_move_iterator(events.begin()), std::make_move_iterator(events.end()));
}

void InputQueue::Post(InputEvent event) {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_posted.push_back(std::move(event));
  }
  m_postedSignal.notify_one();
}

void InputQueue::OpenFeed() {
  std::lock_guard<std::mutex> lock(m_mutex);
  ++m_feeds;
}

void InputQueue::CloseFeed() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_feeds > 0) --m_feeds;
  }
  m_postedSignal.notify_one();
}

void InputQueue::EndInput() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_ended = true;
    m_pending.clear();
    m_posted.clear();
  }
  m_postedSignal.notify_all();
}

void InputQueue::SetSource(std::unique_ptr<InputSource> source) { m_source = std::move(source); }

bool InputQueue::Ended() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_ended;
}

std::optional<InputEvent> InputQueue::TakePending() {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (m_ended || m_pending.empty()) return std::nullopt;
  InputEvent event = std::move(m_pending.front());
  m_pending.pop_front();
  return event;
}

std::optional<InputEvent> InputQueue::WaitForPosted() {
  std::unique_lock<std::mutex> lock(m_mutex);
  m_postedSignal.wait(lock, [this] { return !m_posted.empty() || m_feeds == 0 || m_ended; });
  if (m_ended || m_posted.empty()) return std::nullopt;
  InputEvent event = std::move(m_posted.front());
  m_posted.pop_front();
  return event;
}

std::optional<InputEvent> InputQueue::Next(const std::string& waitingFor) {
  if (auto event = TakePending()) return event;
  if (m_source && !Ended()) {
    if (auto event = m_source->Next(waitingFor)) return event;
  }
  if (auto event = WaitForPosted()) return event;
  if (m_ranOutWhile.empty()) {
    m_ranOutWhile = waitingFor.empty() ? "input" : waitingFor;
    std::string name = m_source ? m_source->Name() : std::string();
    m_failures.push_back((name.empty() ? std::string() : name + ": ") + "the input ended while the host waited for \"" +
                         m_ranOutWhile + "\"; that wait was cancelled");
  }
  return std::nullopt;
}

std::optional<InputEvent> InputQueue::NextAtRest(const std::string& waitingFor) {
  std::string ranOut = m_ranOutWhile;
  size_t failures = m_failures.size();
  auto event = Next(waitingFor);
  if (!event) {
    m_ranOutWhile = ranOut;
    m_failures.resize(failures);
  }
  return event;
}

void InputQueue::Reject(const InputEvent& event, const std::string& waitingFor) {
  std::string where = event.origin.empty() ? std::string() : event.origin + ": ";
  m_failures.push_back(where + "\"" + event.verb + "\" cannot answer \"" + waitingFor + "\"; that wait was cancelled");
}

void InputQueue::Reset() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_pending.clear();
    m_posted.clear();
    m_feeds = 0;
    m_ended = false;
  }
  m_source.reset();
  m_ranOutWhile.clear();
  m_failures.clear();
}

}  // namespace qhost
