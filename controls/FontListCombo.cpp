// The font list of the editor: filled by font enumeration, owner-drawn, owning a LOGFONT copy per item.
#include "controls/FontListCombo.h"

#include <algorithm>
#include <iterator>

namespace {

// Posted to itself on creation, so that the list fills once the window is complete.
constexpr UINT kFillMessage = WM_USER + 123;
constexpr UINT kItemHeight = 14;
// Items are drawn at 9 points (tenths of a point).
constexpr LONG kItemPointSize = 90;

// Symbol, Mac, East European, Baltic, Johab, Hebrew, Arabic, Greek, Turkish, Thai, default,
// Shift-JIS, GB2312, Hangul, Big5 and OEM faces are never listed.
constexpr BYTE kRefusedCharsets[] = {2, 77, 238, 186, 130, 177, 178, 161, 162, 222, 1, 128, 134, 129, 136, 255};

}  // namespace

BEGIN_MESSAGE_MAP(FontListCombo, CComboBox)
  ON_WM_CREATE()
  ON_MESSAGE(kFillMessage, OnFill)
  ON_WM_DESTROY()
END_MESSAGE_MAP()

FontListCombo::FontListCombo()
    : m_selectedBackground(::GetSysColor(COLOR_HIGHLIGHT)),
      m_textColor(::GetSysColor(COLOR_WINDOWTEXT)),
      m_selectedTextColor(::GetSysColor(COLOR_HIGHLIGHTTEXT)),
      m_background(::GetSysColor(COLOR_WINDOW)) {}

FontListCombo::~FontListCombo() = default;

BOOL FontListCombo::IsAcceptedFace(const LOGFONT& logFont, DWORD fontType) {
  if (std::find(std::begin(kRefusedCharsets), std::end(kRefusedCharsets), logFont.lfCharSet) !=
      std::end(kRefusedCharsets)) {
    return FALSE;
  }
  return fontType == TRUETYPE_FONTTYPE;
}

int CALLBACK FontListCombo::AddFace(const LOGFONT* logFont, const TEXTMETRIC*, DWORD fontType, LPARAM combo) {
  if (!IsAcceptedFace(*logFont, fontType)) return 1;
  auto* self = reinterpret_cast<FontListCombo*>(combo);
  int index = self->AddString(logFont->lfFaceName);
  if (index >= 0) self->SetItemDataPtr(index, new LOGFONT(*logFont));
  return 1;
}

void FontListCombo::Fill() {
  // A second fill would otherwise lose the copies of the first.
  FreeFaceCopies();
  ResetContent();
  CClientDC dc(this);
  ::EnumFonts(dc.GetSafeHdc(), nullptr, AddFace, reinterpret_cast<LPARAM>(this));
}

void FontListCombo::FreeFaceCopies() {
  for (int i = 0; i < GetCount(); ++i) {
    delete static_cast<LOGFONT*>(GetItemDataPtr(i));
    SetItemDataPtr(i, nullptr);
  }
}

int FontListCombo::OnCreate(LPCREATESTRUCT cs) {
  int result = CComboBox::OnCreate(cs);
  PostMessage(kFillMessage);
  return result;
}

LRESULT FontListCombo::OnFill(WPARAM, LPARAM) {
  Fill();
  return 0;
}

void FontListCombo::OnDestroy() {
  FreeFaceCopies();
  CComboBox::OnDestroy();
}

void FontListCombo::MeasureItem(LPMEASUREITEMSTRUCT measure) { measure->itemHeight = kItemHeight; }

void FontListCombo::DrawItem(LPDRAWITEMSTRUCT draw) {
  CDC* dc = CDC::FromHandle(draw->hDC);
  const bool selected = (draw->itemState & ODS_SELECTED) != 0;
  CBrush background(selected ? m_selectedBackground : m_background);
  dc->FillRect(&draw->rcItem, &background);
  dc->SetTextColor(selected ? m_selectedTextColor : m_textColor);
  dc->SetBkMode(TRANSPARENT);
  const int index = static_cast<int>(draw->itemID);
  auto* face = reinterpret_cast<LOGFONT*>(draw->itemData);
  if (index < 0 || !face) return;
  CString text;
  GetLBText(index, text);
  face->lfHeight = kItemPointSize;
  face->lfWidth = 0;
  CFont font;
  font.CreatePointFontIndirect(face, dc);
  CFont* previous = dc->SelectObject(&font);
  CRect rect(draw->rcItem);
  dc->DrawText(text, rect, DT_SINGLELINE | DT_VCENTER);
  dc->SelectObject(previous);
  font.DeleteObject();
}
