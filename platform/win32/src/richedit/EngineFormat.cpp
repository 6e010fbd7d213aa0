// Format messages: character and paragraph formats of the selection and the default, event mask, background.
#include "EngineCore.h"

namespace richedit::detail {

namespace {

constexpr COLORREF kWindowColor = RGB(255, 255, 255);

bool ValidRecord(const CHARFORMAT* cf) { return cf && cf->cbSize >= sizeof(CHARFORMAT); }
bool ValidRecord(const PARAFORMAT* pf) { return pf && pf->cbSize >= sizeof(PARAFORMAT); }

bool IsWordByte(char c) { return c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != 0x0B; }

}  // namespace

LRESULT EngineCore::OnGetCharFormat(WPARAM wParam, LPARAM lParam) {
  auto* cf = reinterpret_cast<CHARFORMAT*>(lParam);
  if (!ValidRecord(cf)) return 0;
  if (!(wParam & SCF_SELECTION)) {
    *cf = ToCharFormatRecord(m_defaultFormat);
    return cf->dwMask;
  }
  if (SelMax() == SelMin()) {
    *cf = ToCharFormatRecord(InsertionFormat());
    return cf->dwMask;
  }
  // The first character's values; a mask bit stays only where every character of the selection
  // agrees. Paragraph marks count only when the selection holds nothing else.
  const auto runs = Doc().Runs(SelMin(), SelMax(), false);
  const CharFormat* first = nullptr;
  DWORD mask = CFM_ALL;
  for (const Document::Run& run : runs) {
    if (run.mark) continue;
    if (!first) first = run.format;
    mask &= CharFormatAgreement(*first, *run.format);
  }
  *cf = ToCharFormatRecord(first ? *first : Doc().FormatAt(SelMin()));
  cf->dwMask = mask;
  return mask;
}

LRESULT EngineCore::OnSetCharFormat(WPARAM wParam, LPARAM lParam) {
  const auto* cf = reinterpret_cast<const CHARFORMAT*>(lParam);
  if (!ValidRecord(cf)) return 0;
  if (!(wParam & SCF_SELECTION)) {
    ApplyCharFormat(m_defaultFormat, *cf);
    // An empty control shows its default format: its one paragraph mark takes the change.
    if (Doc().Length() == 0) {
      m_edit.document.SetFinalMarkFormat(m_defaultFormat);
      ContentChanged();
    }
    return 1;
  }
  LONG from = SelMin();
  LONG to = SelMax();
  if (from == to && (wParam & SCF_WORD)) {
    const std::string& text = Doc().Text();
    while (from > 0 && IsWordByte(text[from - 1])) --from;
    while (to < Doc().Length() && IsWordByte(text[to])) ++to;
  }
  if (from == to) {
    // At a caret the format waits for the next typed character.
    CharFormat format = InsertionFormat();
    ApplyCharFormat(format, *cf);
    m_insertionFormat = format;
    return 1;
  }
  m_undo.Record(m_edit, UndoBuffer::Action::Other);
  // A selection that reaches the end of the text takes the last paragraph mark with it.
  m_edit.document.ApplyCharFormat(from, to, *cf, to == Doc().Length());
  m_modified = true;
  ContentChanged();
  return 1;
}

LRESULT EngineCore::OnGetParaFormat(WPARAM, LPARAM lParam) {
  auto* pf = reinterpret_cast<PARAFORMAT*>(lParam);
  if (!ValidRecord(pf)) return 0;
  const int first = Doc().ParagraphAt(SelMin());
  const int last = Doc().ParagraphAt(SelMax());
  DWORD mask = PFM_STARTINDENT | PFM_RIGHTINDENT | PFM_OFFSET | PFM_ALIGNMENT | PFM_TABSTOPS | PFM_NUMBERING;
  for (int p = first + 1; p <= last; ++p) mask &= ParaFormatAgreement(Doc().Paragraph(first), Doc().Paragraph(p));
  *pf = ToParaFormatRecord(Doc().Paragraph(first));
  pf->dwMask = mask;
  return mask;
}

LRESULT EngineCore::OnSetParaFormat(WPARAM, LPARAM lParam) {
  const auto* pf = reinterpret_cast<const PARAFORMAT*>(lParam);
  if (!ValidRecord(pf)) return 0;
  m_undo.Record(m_edit, UndoBuffer::Action::Other);
  m_edit.document.ApplyParaFormat(Doc().ParagraphAt(SelMin()), Doc().ParagraphAt(SelMax()), *pf);
  m_modified = true;
  ContentChanged();
  return 1;
}

LRESULT EngineCore::OnGetEventMask(WPARAM, LPARAM) { return m_eventMask; }

LRESULT EngineCore::OnSetEventMask(WPARAM, LPARAM lParam) {
  const DWORD previous = m_eventMask;
  m_eventMask = static_cast<DWORD>(lParam);
  return previous;
}

LRESULT EngineCore::OnSetBkgndColor(WPARAM wParam, LPARAM lParam) {
  const COLORREF previous = m_systemBackground ? kWindowColor : m_background;
  m_systemBackground = wParam != 0;
  if (!m_systemBackground) m_background = static_cast<COLORREF>(lParam);
  m_host.TxInvalidate();
  return previous;
}

}  // namespace richedit::detail
