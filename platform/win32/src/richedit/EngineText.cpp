// Text messages: typed characters, editing keys, window text, replacing the selection, limits and flags.
#include "EngineCore.h"

#include <cstring>
#include <optional>

namespace richedit::detail {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == 0x0B; }

// One step left or right: a paragraph mark is one step of two characters.
LONG CharLeft(const Document& doc, LONG cp) { return cp >= 2 && doc.IsMarkAt(cp - 2) ? cp - 2 : std::max<LONG>(cp - 1, 0); }
LONG CharRight(const Document& doc, LONG cp) {
  return doc.IsMarkAt(cp) ? cp + 2 : std::min<LONG>(cp + 1, doc.Length());
}

LONG WordLeft(const Document& doc, LONG cp) {
  const std::string& text = doc.Text();
  while (cp > 0 && IsSpace(text[cp - 1])) --cp;
  while (cp > 0 && !IsSpace(text[cp - 1])) --cp;
  return cp;
}

LONG WordRight(const Document& doc, LONG cp) {
  const std::string& text = doc.Text();
  const LONG length = doc.Length();
  while (cp < length && !IsSpace(text[cp])) ++cp;
  while (cp < length && IsSpace(text[cp])) ++cp;
  return doc.Snap(cp, true);
}

// The same column in the paragraph above or below (lines are paragraphs here).
LONG VerticalMove(const Document& doc, LONG cp, int direction) {
  const int paragraph = doc.ParagraphAt(cp);
  const int target = paragraph + direction;
  if (target < 0 || target >= doc.ParagraphCount()) return cp;
  const LONG column = cp - doc.ParagraphStart(paragraph);
  return std::min(doc.ParagraphStart(target) + column, doc.ParagraphEnd(target));
}

// Where a movement key puts the caret; nothing for other keys. Without Shift a horizontal arrow
// first collapses a selection to its side.
std::optional<LONG> MoveTarget(const Document& doc, WPARAM key, LONG caret, CHARRANGE selection, bool control) {
  switch (key) {
    case VK_LEFT:
      if (selection.cpMin != selection.cpMax) return selection.cpMin;
      return control ? WordLeft(doc, caret) : CharLeft(doc, caret);
    case VK_RIGHT:
      if (selection.cpMin != selection.cpMax) return selection.cpMax;
      return control ? WordRight(doc, caret) : CharRight(doc, caret);
    case VK_UP: return VerticalMove(doc, caret, -1);
    case VK_DOWN: return VerticalMove(doc, caret, 1);
    case VK_HOME: return control ? 0 : doc.ParagraphStart(doc.ParagraphAt(caret));
    case VK_END: return control ? doc.Length() : doc.ParagraphEnd(doc.ParagraphAt(caret));
    default: return std::nullopt;
  }
}

}  // namespace

LRESULT EngineCore::OnChar(WPARAM wParam, LPARAM) {
  const unsigned char c = static_cast<unsigned char>(wParam);
  // Control characters (Enter, Backspace, Ctrl+letter, Ctrl+Backspace's DEL) arrive as keys;
  // only the tab is typed.
  if ((c < 0x20 && c != '\t') || c == 0x7F || ReadOnly()) return 0;
  if (Room() < 1) {
    m_host.TxNotify(EN_MAXTEXT, nullptr);
    return 0;
  }
  ReplaceSelection(std::string(1, static_cast<char>(c)), UndoBuffer::Action::Typing);
  ContentChanged();
  return 0;
}

LRESULT EngineCore::OnKeyDown(WPARAM wParam, LPARAM) {
  const bool shift = (m_host.TxGetKeyState(VK_SHIFT) & 0x8000) != 0;
  const bool control = (m_host.TxGetKeyState(VK_CONTROL) & 0x8000) != 0;
  if (const auto target = MoveTarget(Doc(), wParam, m_edit.caret, shift || control ? CHARRANGE{m_edit.caret, m_edit.caret}
                                                                                   : CHARRANGE{SelMin(), SelMax()},
                                     control)) {
    Select(shift ? m_edit.anchor : *target, *target);
    SelectionChanged();
    return 0;
  }
  if (wParam == VK_INSERT && control) return OnCopy(0, 0);
  if ((wParam == VK_INSERT && shift) || (wParam == 'V' && control)) return OnPaste(0, 0);
  if ((wParam == VK_DELETE && shift) || (wParam == 'X' && control)) return OnCut(0, 0);
  if (wParam == 'C' && control) return OnCopy(0, 0);
  if (wParam == 'Z' && control) return OnUndo(0, 0);
  if (wParam == 'A' && control) {
    SelectAll();
    SelectionChanged();
    return 0;
  }
  if (ReadOnly()) return 0;
  if (wParam == VK_BACK || wParam == VK_DELETE) {
    if (SelMin() == SelMax()) {
      const LONG caret = m_edit.caret;
      const LONG from = wParam == VK_BACK ? CharLeft(Doc(), caret) : caret;
      const LONG to = wParam == VK_BACK ? caret : CharRight(Doc(), caret);
      if (from == to) return 0;
      Select(from, to);
    }
    DeleteSelection();
  } else if (wParam == VK_RETURN && (style & kStyleMultiline)) {
    if (Room() < 2) {
      m_host.TxNotify(EN_MAXTEXT, nullptr);
      return 0;
    }
    ReplaceSelection(std::string("\r\n"), UndoBuffer::Action::Typing);
    ContentChanged();
  }
  return 0;
}

LRESULT EngineCore::OnGetText(WPARAM wParam, LPARAM lParam) {
  auto* buffer = reinterpret_cast<char*>(lParam);
  if (!buffer || wParam == 0) return 0;
  const size_t count = std::min<size_t>(wParam - 1, Doc().Text().size());
  std::memcpy(buffer, Doc().Text().data(), count);
  buffer[count] = '\0';
  return static_cast<LRESULT>(count);
}

LRESULT EngineCore::OnSetText(WPARAM, LPARAM lParam) {
  const char* text = reinterpret_cast<const char*>(lParam);
  m_edit.document = TextFragment(text ? text : "", m_defaultFormat);
  Select(0, 0);
  m_undo.Clear();
  m_modified = false;
  ContentChanged();
  return TRUE;
}

LRESULT EngineCore::OnGetTextLength(WPARAM, LPARAM) { return Doc().Length(); }

LRESULT EngineCore::OnReplaceSel(WPARAM wParam, LPARAM lParam) {
  const char* text = reinterpret_cast<const char*>(lParam);
  Document fragment = TextFragment(text ? text : "", InsertionFormat());
  if (fragment.Length() > Room()) {
    fragment.Truncate(Room());
    m_host.TxNotify(EN_MAXTEXT, nullptr);
  }
  ReplaceSelection(fragment, UndoBuffer::Action::Other, false);
  if (!wParam) m_undo.Clear();  // the caller asked for no undo
  ContentChanged();
  return 0;
}

LRESULT EngineCore::OnLimitText(WPARAM wParam, LPARAM lParam) {
  // EM_LIMITTEXT gives the limit in wParam, EM_EXLIMITTEXT in lParam; 0 means the largest.
  const LONG limit = static_cast<LONG>(wParam != 0 ? static_cast<LONG>(wParam) : lParam);
  m_textLimit = limit > 0 ? limit : 0xFFFF;
  return 0;
}

LRESULT EngineCore::OnSetReadOnly(WPARAM wParam, LPARAM) {
  style = wParam ? (style | kStyleReadOnly) : (style & ~kStyleReadOnly);
  return TRUE;
}

LRESULT EngineCore::OnGetModify(WPARAM, LPARAM) { return m_modified ? TRUE : FALSE; }

LRESULT EngineCore::OnSetModify(WPARAM wParam, LPARAM) {
  m_modified = wParam != 0;
  return 0;
}

LRESULT EngineCore::OnSetFocus(WPARAM, LPARAM) {
  m_host.TxNotify(EN_SETFOCUS, nullptr);
  return 0;
}

LRESULT EngineCore::OnKillFocus(WPARAM, LPARAM) {
  m_host.TxNotify(EN_KILLFOCUS, nullptr);
  return 0;
}

}  // namespace richedit::detail
