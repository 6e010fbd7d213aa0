// Undo messages: one level; a second undo takes the first one back.
#include "EngineCore.h"

namespace richedit::detail {

LRESULT EngineCore::OnUndo(WPARAM, LPARAM) {
  if (!m_undo.Undo(m_edit)) return FALSE;
  m_insertionFormat.reset();
  m_modified = true;
  ContentChanged();
  return TRUE;
}

LRESULT EngineCore::OnCanUndo(WPARAM, LPARAM) { return m_undo.CanUndo() ? TRUE : FALSE; }

LRESULT EngineCore::OnEmptyUndoBuffer(WPARAM, LPARAM) {
  m_undo.Clear();
  return 0;
}

}  // namespace richedit::detail
