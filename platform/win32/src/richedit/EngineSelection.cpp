// Selection messages: getting and setting the selection, its text, and lines (one per paragraph: no layout).
#include "EngineCore.h"

#include <algorithm>
#include <cstring>

namespace richedit::detail {

namespace {

LONG AsLong(WPARAM value) { return static_cast<LONG>(static_cast<INT_PTR>(value)); }

}  // namespace

LRESULT EngineCore::OnGetSel(WPARAM wParam, LPARAM lParam) {
  if (auto* start = reinterpret_cast<DWORD*>(wParam)) *start = static_cast<DWORD>(SelMin());
  if (auto* end = reinterpret_cast<DWORD*>(lParam)) *end = static_cast<DWORD>(SelMax());
  if (SelMax() > 0xFFFF) return -1;
  return MAKELONG(SelMin(), SelMax());
}

LRESULT EngineCore::OnSetSel(WPARAM wParam, LPARAM lParam) {
  const CHARRANGE range{AsLong(wParam), static_cast<LONG>(lParam)};
  OnExSetSel(0, reinterpret_cast<LPARAM>(&range));
  return 0;
}

LRESULT EngineCore::OnExGetSel(WPARAM, LPARAM lParam) {
  if (auto* range = reinterpret_cast<CHARRANGE*>(lParam)) *range = CHARRANGE{SelMin(), SelMax()};
  return 0;
}

LRESULT EngineCore::OnExSetSel(WPARAM, LPARAM lParam) {
  const auto* range = reinterpret_cast<const CHARRANGE*>(lParam);
  if (!range) return SelMax();
  const LONG length = Doc().Length();
  if (range->cpMin < 0) {
    Select(m_edit.caret, m_edit.caret);  // -1 as the start drops the selection and keeps the caret
  } else {
    const LONG end = range->cpMax < 0 || range->cpMax > length ? length : range->cpMax;
    Select(std::min(range->cpMin, length), end);
  }
  SelectionChanged();
  return SelMax();
}

LRESULT EngineCore::OnSelectionType(WPARAM, LPARAM) {
  const LONG length = SelMax() - SelMin();
  return length == 0 ? SEL_EMPTY : length == 1 ? SEL_TEXT : SEL_TEXT | SEL_MULTICHAR;
}

LRESULT EngineCore::OnGetSelText(WPARAM, LPARAM lParam) {
  auto* buffer = reinterpret_cast<char*>(lParam);
  const std::string text = Doc().Text().substr(SelMin(), SelMax() - SelMin());
  if (!buffer) return 0;
  std::memcpy(buffer, text.data(), text.size());
  buffer[text.size()] = '\0';
  return static_cast<LRESULT>(text.size());
}

LRESULT EngineCore::OnGetTextRange(WPARAM, LPARAM lParam) {
  auto* range = reinterpret_cast<TEXTRANGE*>(lParam);
  if (!range || !range->lpstrText) return 0;
  const LONG length = Doc().Length();
  const LONG from = std::clamp<LONG>(range->chrg.cpMin, 0, length);
  const LONG to = range->chrg.cpMax < 0 ? length : std::clamp<LONG>(range->chrg.cpMax, from, length);
  std::memcpy(range->lpstrText, Doc().Text().data() + from, to - from);
  range->lpstrText[to - from] = '\0';
  return to - from;
}

LRESULT EngineCore::OnLineFromChar(WPARAM wParam, LPARAM) {
  const LONG cp = AsLong(wParam);
  return Doc().ParagraphAt(cp < 0 ? SelMin() : std::min(cp, Doc().Length()));
}

LRESULT EngineCore::OnExLineFromChar(WPARAM, LPARAM lParam) {
  return OnLineFromChar(static_cast<WPARAM>(lParam), 0);
}

LRESULT EngineCore::OnLineIndex(WPARAM wParam, LPARAM) {
  const LONG line = AsLong(wParam);
  if (line < 0) return Doc().ParagraphStart(Doc().ParagraphAt(m_edit.caret));
  if (line >= Doc().ParagraphCount()) return -1;
  return Doc().ParagraphStart(line);
}

LRESULT EngineCore::OnLineLength(WPARAM wParam, LPARAM) {
  const LONG cp = AsLong(wParam);
  const int line = Doc().ParagraphAt(cp < 0 ? SelMin() : std::min(cp, Doc().Length()));
  return Doc().ParagraphEnd(line) - Doc().ParagraphStart(line);
}

LRESULT EngineCore::OnGetLineCount(WPARAM, LPARAM) { return Doc().ParagraphCount(); }

}  // namespace richedit::detail
