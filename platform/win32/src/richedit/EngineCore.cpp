// The engine's message entry point, its dispatch table and the operations the handlers share.
#include "EngineCore.h"

#include <cstdio>

namespace richedit::detail {

namespace {

// The name of a message for the log, from the one message list.
std::string MessageName(UINT msg) {
  struct Entry {
    const char* cls;
    const char* name;
    UINT value;
  };
  static const Entry kMessages[] = {
#define QMSG(cls, name, value) {cls, #name, value},
#include <winmsgs.def>
#undef QMSG
  };
  for (const Entry& entry : kMessages) {
    if (entry.value != msg) continue;
    if (msg < WM_USER || std::string(entry.cls) == RICHEDIT_CLASS) return entry.name;
  }
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "message 0x%04X", msg);
  return buffer;
}

// The edit control's own messages and the rich edit's: those a control answers even when it does
// not implement them, so that they are worth a line in the log.
bool IsControlMessage(UINT msg) { return (msg >= 0x00B0 && msg <= 0x00DF) || (msg >= WM_USER && msg < 0x0500); }

}  // namespace

EngineCore::EngineCore(RichEditHost& host, DWORD styleBits) : style(styleBits), m_host(host) {
  m_edit.document = Document(m_defaultFormat);
}

const std::unordered_map<UINT, EngineCore::Handler>& EngineCore::Handlers() {
  static const std::unordered_map<UINT, Handler> handlers = {
      {EM_GETSEL, &EngineCore::OnGetSel},
      {EM_SETSEL, &EngineCore::OnSetSel},
      {EM_EXGETSEL, &EngineCore::OnExGetSel},
      {EM_EXSETSEL, &EngineCore::OnExSetSel},
      {EM_SELECTIONTYPE, &EngineCore::OnSelectionType},
      {EM_GETSELTEXT, &EngineCore::OnGetSelText},
      {EM_GETTEXTRANGE, &EngineCore::OnGetTextRange},
      {EM_LINEFROMCHAR, &EngineCore::OnLineFromChar},
      {EM_EXLINEFROMCHAR, &EngineCore::OnExLineFromChar},
      {EM_LINEINDEX, &EngineCore::OnLineIndex},
      {EM_LINELENGTH, &EngineCore::OnLineLength},
      {EM_GETLINECOUNT, &EngineCore::OnGetLineCount},
      {EM_GETCHARFORMAT, &EngineCore::OnGetCharFormat},
      {EM_SETCHARFORMAT, &EngineCore::OnSetCharFormat},
      {EM_GETPARAFORMAT, &EngineCore::OnGetParaFormat},
      {EM_SETPARAFORMAT, &EngineCore::OnSetParaFormat},
      {EM_GETEVENTMASK, &EngineCore::OnGetEventMask},
      {EM_SETEVENTMASK, &EngineCore::OnSetEventMask},
      {EM_SETBKGNDCOLOR, &EngineCore::OnSetBkgndColor},
      {EM_STREAMIN, &EngineCore::OnStreamIn},
      {EM_STREAMOUT, &EngineCore::OnStreamOut},
      {EM_UNDO, &EngineCore::OnUndo},
      {WM_UNDO, &EngineCore::OnUndo},
      {EM_CANUNDO, &EngineCore::OnCanUndo},
      {EM_EMPTYUNDOBUFFER, &EngineCore::OnEmptyUndoBuffer},
      {WM_CHAR, &EngineCore::OnChar},
      {WM_KEYDOWN, &EngineCore::OnKeyDown},
      {WM_GETTEXT, &EngineCore::OnGetText},
      {WM_SETTEXT, &EngineCore::OnSetText},
      {WM_GETTEXTLENGTH, &EngineCore::OnGetTextLength},
      {EM_REPLACESEL, &EngineCore::OnReplaceSel},
      {EM_LIMITTEXT, &EngineCore::OnLimitText},
      {EM_EXLIMITTEXT, &EngineCore::OnLimitText},
      {EM_SETREADONLY, &EngineCore::OnSetReadOnly},
      {EM_GETMODIFY, &EngineCore::OnGetModify},
      {EM_SETMODIFY, &EngineCore::OnSetModify},
      {WM_SETFOCUS, &EngineCore::OnSetFocus},
      {WM_KILLFOCUS, &EngineCore::OnKillFocus},
      {WM_CUT, &EngineCore::OnCut},
      {WM_COPY, &EngineCore::OnCopy},
      {WM_PASTE, &EngineCore::OnPaste},
      {WM_CLEAR, &EngineCore::OnClear},
      {EM_CANPASTE, &EngineCore::OnCanPaste},
      {EM_PASTESPECIAL, &EngineCore::OnPasteSpecial},
  };
  return handlers;
}

LRESULT EngineCore::Message(UINT msg, WPARAM wParam, LPARAM lParam) {
  const auto& handlers = Handlers();
  const auto found = handlers.find(msg);
  if (found != handlers.end()) return (this->*found->second)(wParam, lParam);
  // Not implemented: the control would answer 0 to any of these (no result, nothing done).
  if (IsControlMessage(msg)) LogOnce(MessageName(msg));
  return 0;
}

bool EngineCore::Handles(UINT msg) const { return Handlers().count(msg) != 0 || IsControlMessage(msg); }

bool EngineCore::ReadOnly() const { return (style & kStyleReadOnly) != 0; }

void EngineCore::Select(LONG anchor, LONG caret) {
  const Document& doc = Doc();
  if (anchor == caret) {
    anchor = caret = doc.Snap(caret);
  } else if (anchor < caret) {
    anchor = doc.Snap(anchor);
    caret = doc.Snap(caret, true);
  } else {
    anchor = doc.Snap(anchor, true);
    caret = doc.Snap(caret);
  }
  m_edit.anchor = anchor;
  m_edit.caret = caret;
  m_insertionFormat.reset();
  m_undo.EndTyping();
}

CharFormat EngineCore::InsertionFormat() const {
  if (m_insertionFormat) return *m_insertionFormat;
  const Document& doc = Doc();
  const LONG at = SelMin();
  // Typed text takes the format of the first selected character, or of the character before the
  // caret; at the start of a paragraph, of the paragraph's first character (its mark when empty).
  if (SelMax() > at || at == doc.ParagraphStart(doc.ParagraphAt(at))) return doc.FormatAt(at);
  return doc.FormatAt(at - 1);
}

void EngineCore::ReplaceSelection(const Document& fragment, UndoBuffer::Action action, bool ownParagraphs) {
  m_undo.Record(m_edit, action);
  const LONG at = SelMin();
  m_edit.document.Erase(at, SelMax());
  m_edit.document.Insert(at, fragment, ownParagraphs);
  m_edit.anchor = m_edit.caret = at + fragment.Length();
  m_insertionFormat.reset();
  m_modified = true;
}

void EngineCore::ReplaceSelection(const std::string& text, UndoBuffer::Action action) {
  ReplaceSelection(TextFragment(text, InsertionFormat()), action, false);
}

Document EngineCore::TextFragment(const std::string& text, const CharFormat& format) {
  // Any line end (CR LF, CR, LF) becomes a paragraph mark; other control bytes but the tab are dropped.
  std::string normal;
  normal.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '\r' || c == '\n') {
      normal += "\r\n";
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (c >= 0x20 || c == '\t' || c == 0x0B) {
      normal += static_cast<char>(c);
    }
  }
  Document fragment(format);
  fragment.Insert(0, normal, format);
  return fragment;
}

LONG EngineCore::Room() const { return std::max<LONG>(0, m_textLimit - (Doc().Length() - (SelMax() - SelMin()))); }

void EngineCore::DeleteSelection() {
  if (SelMax() == SelMin()) return;
  ReplaceSelection(Document(InsertionFormat()), UndoBuffer::Action::Other, false);
  ContentChanged();
}

void EngineCore::ContentChanged() {
  m_host.TxInvalidate();
  NotifySelection();
  if (m_eventMask & ENM_CHANGE) m_host.TxNotify(EN_CHANGE, nullptr);
}

void EngineCore::SelectionChanged() {
  m_host.TxInvalidate();
  NotifySelection();
}

void EngineCore::NotifySelection() {
  const CHARRANGE now{SelMin(), SelMax()};
  if (now.cpMin == m_notifiedSelection.cpMin && now.cpMax == m_notifiedSelection.cpMax) return;
  // Remembered before the parent hears of it: the parent may well change the selection in answer.
  m_notifiedSelection = now;
  if (!(m_eventMask & ENM_SELCHANGE)) return;
  SELCHANGE change{};
  change.nmhdr.code = EN_SELCHANGE;
  change.chrg = now;
  const LONG length = now.cpMax - now.cpMin;
  change.seltyp = length == 0 ? SEL_EMPTY : length == 1 ? SEL_TEXT : SEL_TEXT | SEL_MULTICHAR;
  m_host.TxNotify(EN_SELCHANGE, &change);
}

void EngineCore::LogOnce(const std::string& name) {
  if (m_logged.insert(name).second) m_host.TxLogUnimplemented(name.c_str());
}

}  // namespace richedit::detail
