// The host stand-in's input queue.
#include "qplatform/InputQueue.h"

#include <iterator>

namespace qhost {

InputQueue& InputQueue::Instance() {
  static InputQueue queue;
  return queue;
}

void InputQueue::Push(InputEvent event) { m_pending.push_back(std::move(event)); }

void InputQueue::PushFront(std::vector<InputEvent> events) {
  m_pending.insert(m_pending.begin(), std::make_move_iterator(events.begin()), std::make_move_iterator(events.end()));
}

void InputQueue::SetSource(std::unique_ptr<InputSource> source) { m_source = std::move(source); }

std::optional<InputEvent> InputQueue::Next(const std::string& waitingFor) {
  if (!m_pending.empty()) {
    InputEvent event = std::move(m_pending.front());
    m_pending.pop_front();
    return event;
  }
  if (m_source) {
    if (auto event = m_source->Next(waitingFor)) return event;
  }
  if (m_ranOutWhile.empty()) {
    m_ranOutWhile = waitingFor.empty() ? "input" : waitingFor;
    std::string name = m_source ? m_source->Name() : std::string();
    m_failures.push_back((name.empty() ? std::string() : name + ": ") + "the input ended while the host waited for \"" +
                         m_ranOutWhile + "\"; that wait was cancelled");
  }
  return std::nullopt;
}

std::optional<InputEvent> InputQueue::NextAtRest(const std::string& waitingFor) {
  if (!m_pending.empty() || m_source) {
    std::string ranOut = m_ranOutWhile;
    size_t failures = m_failures.size();
    auto event = Next(waitingFor);
    if (!event) {
      m_ranOutWhile = ranOut;
      m_failures.resize(failures);
    }
    return event;
  }
  return std::nullopt;
}

void InputQueue::Reject(const InputEvent& event, const std::string& waitingFor) {
  std::string where = event.origin.empty() ? std::string() : event.origin + ": ";
  m_failures.push_back(where + "\"" + event.verb + "\" cannot answer \"" + waitingFor + "\"; that wait was cancelled");
}

void InputQueue::Reset() {
  m_pending.clear();
  m_source.reset();
  m_ranOutWhile.clear();
  m_failures.clear();
}

}  // namespace qhost
