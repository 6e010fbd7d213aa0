// The control's one level of undo: the state before the last action; undoing twice redoes.
#pragma once

#include "Document.h"

#include <optional>

namespace richedit {

struct EditState {
  Document document;
  LONG anchor = 0;
  LONG caret = 0;
};

class UndoBuffer {
 public:
  enum class Action { Typing, Other };

  // Keeps the state from before an action. Characters typed one after another make one action,
  // so typing keeps the state from before its first character.
  void Record(const EditState& before, Action action);
  // The caret moved or something else happened: the next typed character starts a new action.
  void EndTyping() { m_typing = false; }
  bool CanUndo() const { return m_saved.has_value(); }
  // Exchanges `current` with the kept state; false when there is none.
  bool Undo(EditState& current);
  void Clear();

 private:
  std::optional<EditState> m_saved;
  bool m_typing = false;
};

}  // namespace richedit
