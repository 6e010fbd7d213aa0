// The control's one level of undo.
#include "UndoBuffer.h"

#include <utility>

namespace richedit {

void UndoBuffer::Record(const EditState& before, Action action) {
  const bool typing = action == Action::Typing;
  if (!(typing && m_typing && m_saved)) m_saved = before;
  m_typing = typing;
}

bool UndoBuffer::Undo(EditState& current) {
  if (!m_saved) return false;
  std::swap(current, *m_saved);
  m_typing = false;
  return true;
}

void UndoBuffer::Clear() {
  m_saved.reset();
  m_typing = false;
}

}  // namespace richedit
