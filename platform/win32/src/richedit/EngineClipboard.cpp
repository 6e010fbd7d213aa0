// Clipboard messages: cut, copy and paste as CF_TEXT and as "Rich Text Format", through the host.
#include "EngineCore.h"
#include "RtfReader.h"
#include "RtfWriter.h"

namespace richedit::detail {

UINT EngineCore::RtfClipboardFormat() {
  if (m_rtfFormat == 0) m_rtfFormat = m_host.TxRegisterClipboardFormat(CF_RTF);
  return m_rtfFormat;
}

bool EngineCore::CopySelection() {
  if (SelMin() == SelMax()) return false;
  const std::string text = Doc().Text().substr(SelMin(), SelMax() - SelMin());
  const std::string rtf = WriteRtf(Doc(), SelMin(), SelMax(), false);
  return m_host.TxSetClipboardData({{CF_TEXT, text}, {RtfClipboardFormat(), rtf}});
}

bool EngineCore::PasteFrom(UINT format) {
  std::string data;
  if (ReadOnly() || !m_host.TxGetClipboardData(format, data)) return false;
  Document fragment(InsertionFormat());
  if (format == CF_TEXT) {
    data = data.substr(0, data.find('\0'));
    fragment = TextFragment(data, InsertionFormat());
  } else {
    fragment = ReadRtf(data, m_defaultFormat);
  }
  if (fragment.Length() > Room()) {
    fragment.Truncate(Room());
    m_host.TxNotify(EN_MAXTEXT, nullptr);
  }
  ReplaceSelection(fragment, UndoBuffer::Action::Other, format != CF_TEXT);
  ContentChanged();
  return true;
}

LRESULT EngineCore::OnCut(WPARAM, LPARAM) {
  if (ReadOnly() || !CopySelection()) return 0;
  DeleteSelection();
  return 0;
}

LRESULT EngineCore::OnCopy(WPARAM, LPARAM) {
  CopySelection();
  return 0;
}

LRESULT EngineCore::OnPaste(WPARAM, LPARAM) {
  // The control's own format first: it keeps the formatting.
  if (!PasteFrom(RtfClipboardFormat())) PasteFrom(CF_TEXT);
  return 0;
}

LRESULT EngineCore::OnClear(WPARAM, LPARAM) {
  if (!ReadOnly()) DeleteSelection();
  return 0;
}

LRESULT EngineCore::OnCanPaste(WPARAM wParam, LPARAM) {
  std::string data;
  if (wParam != 0) return m_host.TxGetClipboardData(static_cast<UINT>(wParam), data) ? TRUE : FALSE;
  return m_host.TxGetClipboardData(RtfClipboardFormat(), data) || m_host.TxGetClipboardData(CF_TEXT, data);
}

LRESULT EngineCore::OnPasteSpecial(WPARAM wParam, LPARAM) {
  const UINT format = static_cast<UINT>(wParam);
  if (format != CF_TEXT && format != RtfClipboardFormat()) {
    LogOnce("EM_PASTESPECIAL of a format other than text and RTF");
    return 0;
  }
  PasteFrom(format);
  return 0;
}

}  // namespace richedit::detail
