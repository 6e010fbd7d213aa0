// The host stand-in's input queue.
#include "qplatform/InputQueue.h"

namespace qhost {

InputQueue& InputQueue::Instance() {
  static InputQueue queue;
  return queue;
}

void InputQueue::Push(InputEvent event) { m_pending.push_back(std::move(event)); }

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
  if (m_ranOutWhile.empty()) m_ranOutWhile = waitingFor.empty() ? "input" : waitingFor;
  return std::nullopt;
}

void InputQueue::Reset() {
  m_pending.clear();
  m_source.reset();
  m_ranOutWhile.clear();
}

}  // namespace qhost
