// The engine's state and its message handlers; the handlers live in files by topic.
#pragma once

#include "Document.h"
#include "RichEditEngine.h"
#include "UndoBuffer.h"

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>

namespace richedit::detail {

class EngineCore {
 public:
  EngineCore(RichEditHost& host, DWORD style);

  LRESULT Message(UINT msg, WPARAM wParam, LPARAM lParam);
  bool Handles(UINT msg) const;
  std::string Snapshot() const;
  // The background EM_SETBKGNDCOLOR chose; none while the system's window colour applies.
  std::optional<COLORREF> Background() const {
    return m_systemBackground ? std::nullopt : std::optional<COLORREF>(m_background);
  }

  DWORD style;

 private:
  using Handler = LRESULT (EngineCore::*)(WPARAM, LPARAM);
  static const std::unordered_map<UINT, Handler>& Handlers();

  // Selection (EngineSelection.cpp).
  LRESULT OnGetSel(WPARAM, LPARAM);
  LRESULT OnSetSel(WPARAM, LPARAM);
  LRESULT OnExGetSel(WPARAM, LPARAM);
  LRESULT OnExSetSel(WPARAM, LPARAM);
  LRESULT OnSelectionType(WPARAM, LPARAM);
  LRESULT OnGetSelText(WPARAM, LPARAM);
  LRESULT OnGetTextRange(WPARAM, LPARAM);
  LRESULT OnLineFromChar(WPARAM, LPARAM);
  LRESULT OnExLineFromChar(WPARAM, LPARAM);
  LRESULT OnLineIndex(WPARAM, LPARAM);
  LRESULT OnLineLength(WPARAM, LPARAM);
  LRESULT OnGetLineCount(WPARAM, LPARAM);

  // Formats, event mask and background (EngineFormat.cpp).
  LRESULT OnGetCharFormat(WPARAM, LPARAM);
  LRESULT OnSetCharFormat(WPARAM, LPARAM);
  LRESULT OnGetParaFormat(WPARAM, LPARAM);
  LRESULT OnSetParaFormat(WPARAM, LPARAM);
  LRESULT OnGetEventMask(WPARAM, LPARAM);
  LRESULT OnSetEventMask(WPARAM, LPARAM);
  LRESULT OnSetBkgndColor(WPARAM, LPARAM);

  // Streams (EngineStream.cpp).
  LRESULT OnStreamIn(WPARAM, LPARAM);
  LRESULT OnStreamOut(WPARAM, LPARAM);

  // Undo (EngineUndo.cpp).
  LRESULT OnUndo(WPARAM, LPARAM);
  LRESULT OnCanUndo(WPARAM, LPARAM);
  LRESULT OnEmptyUndoBuffer(WPARAM, LPARAM);

  // Text, typed characters and keys (EngineText.cpp).
  LRESULT OnChar(WPARAM, LPARAM);
  LRESULT OnKeyDown(WPARAM, LPARAM);
  LRESULT OnGetText(WPARAM, LPARAM);
  LRESULT OnSetText(WPARAM, LPARAM);
  LRESULT OnGetTextLength(WPARAM, LPARAM);
  LRESULT OnReplaceSel(WPARAM, LPARAM);
  LRESULT OnLimitText(WPARAM, LPARAM);
  LRESULT OnSetReadOnly(WPARAM, LPARAM);
  LRESULT OnGetModify(WPARAM, LPARAM);
  LRESULT OnSetModify(WPARAM, LPARAM);
  LRESULT OnSetFocus(WPARAM, LPARAM);
  LRESULT OnKillFocus(WPARAM, LPARAM);

  // Clipboard (EngineClipboard.cpp).
  LRESULT OnCut(WPARAM, LPARAM);
  LRESULT OnCopy(WPARAM, LPARAM);
  LRESULT OnPaste(WPARAM, LPARAM);
  LRESULT OnClear(WPARAM, LPARAM);
  LRESULT OnCanPaste(WPARAM, LPARAM);
  LRESULT OnPasteSpecial(WPARAM, LPARAM);

  // --- shared operations ---
  LONG SelMin() const { return std::min(m_edit.anchor, m_edit.caret); }
  LONG SelMax() const { return std::max(m_edit.anchor, m_edit.caret); }
  const Document& Doc() const { return m_edit.document; }
  bool ReadOnly() const;
  // Sets the selection (snapped out of paragraph marks); the caret is the active end.
  void Select(LONG anchor, LONG caret);
  void SelectAll() { Select(0, Doc().Length()); }
  // The format that typed text takes.
  CharFormat InsertionFormat() const;
  // Replaces the selection, keeping the state before for undo; the caret ends behind the new text.
  // New paragraphs take the fragment's paragraph formats when `ownParagraphs` (RTF), else the
  // format of the paragraph they are inserted in (text).
  void ReplaceSelection(const Document& fragment, UndoBuffer::Action action, bool ownParagraphs);
  void ReplaceSelection(const std::string& text, UndoBuffer::Action action);
  // A fragment that holds `text` (any line ends) in one format.
  static Document TextFragment(const std::string& text, const CharFormat& format);
  // How much text fits under the text limit in place of the selection.
  LONG Room() const;
  void DeleteSelection();
  bool CopySelection();
  bool PasteFrom(UINT format);
  UINT RtfClipboardFormat();
  // After a change of the contents: redraw, EN_SELCHANGE when the selection moved, then EN_CHANGE.
  void ContentChanged();
  // After a move of the selection alone: redraw and EN_SELCHANGE when it moved.
  void SelectionChanged();
  void NotifySelection();
  void LogOnce(const std::string& name);

  RichEditHost& m_host;
  EditState m_edit;
  UndoBuffer m_undo;
  std::optional<CharFormat> m_insertionFormat;
  CharFormat m_defaultFormat;
  DWORD m_eventMask = ENM_NONE;
  COLORREF m_background = 0;
  bool m_systemBackground = true;
  LONG m_textLimit = 32767;
  bool m_modified = false;
  CHARRANGE m_notifiedSelection{0, 0};
  UINT m_rtfFormat = 0;
  std::set<std::string> m_logged;
};

// Window styles the engine reads (the edit control's values).
constexpr DWORD kStyleMultiline = 0x0004;
constexpr DWORD kStyleReadOnly = 0x0800;

}  // namespace richedit::detail
