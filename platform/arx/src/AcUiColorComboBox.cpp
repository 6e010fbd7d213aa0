// CAcUiColorComboBox: the host's colour list, its swatches and its index and RGB look-ups.
#include "acuiComboBox.h"

#include <cstdio>

#include "dbcolor.h"

IMPLEMENT_DYNAMIC(CAcUiColorComboBox, CComboBox)

namespace {

// The index whose RGB stands for ByLayer: the writer of MText turns it back into ByLayer.
constexpr int kLayerShownAs = 139;
constexpr int kDefaultColor = 7;
// The editor's background behind the text (the RGB of index 0). The colours the editor shows run
// from white down to ByLayer's dark teal (index 139), with red, magenta and blue in between, so
// no background contrasts with all of them by brightness alone; distance in CIELAB counts hue
// too. Of the greys, this one lies farthest from the nearest of those colours: white and index
// 139 tie at a distance of about 43, the other standard colours lie 58 and more away.
constexpr COLORREF kBackground = RGB(135, 135, 135);
constexpr int kSwatchWidth = 16;
constexpr int kItemHeight = 14;

COLORREF PaletteRgb(int index) {
  AcCmColor color;
  color.setColorIndex(static_cast<std::uint16_t>(index));
  return RGB(color.red(), color.green(), color.blue());
}

}  // namespace

CAcUiColorComboBox::CAcUiColorComboBox() : m_layerColorIndex(kLayerShownAs), m_blockColorIndex(kDefaultColor) {}

CAcUiColorComboBox::~CAcUiColorComboBox() = default;

COLORREF CAcUiColorComboBox::GetColorFromIndex(int colorIndex) {
  if (colorIndex == AcCmColor::kByBlock) return kBackground;
  if (colorIndex == AcCmColor::kByLayer) colorIndex = GetLayerColorIndex();
  if (colorIndex < 1 || colorIndex > 255) colorIndex = kDefaultColor;
  return PaletteRgb(colorIndex);
}

int CAcUiColorComboBox::GetColorIndex(COLORREF color) {
  AcCmColor nearest;
  nearest.setRGB(GetRValue(color), GetGValue(color), GetBValue(color));
  return nearest.colorIndex();
}

CString CAcUiColorComboBox::ColorName(int colorIndex) {
  static const char* const kNames[] = {"ПоБлоку", "Красный", "Желтый", "Зеленый", "Голубой",
                                       "Синий", "Фиолетовый", "Белый"};
  if (colorIndex == AcCmColor::kByLayer) return CString("ПоСлою");
  if (colorIndex >= 0 && colorIndex <= kDefaultColor) return CString(kNames[colorIndex]);
  char name[24];
  std::snprintf(name, sizeof name, "Цвет %d", colorIndex);
  return CString(name);
}

void CAcUiColorComboBox::PreSubclassWindow() {
  CComboBox::PreSubclassWindow();
  Fill();
}

// ByLayer first and selected (a new text's colour), then ByBlock, the standard seven, the rest.
void CAcUiColorComboBox::Fill() {
  ResetContent();
  auto add = [this](int colorIndex) { SetItemData(AddString(ColorName(colorIndex)), static_cast<DWORD_PTR>(colorIndex)); };
  add(AcCmColor::kByLayer);
  for (int i = 0; i <= 255; ++i) add(i);
  SetCurSel(0);
}

int CAcUiColorComboBox::FindItemByColorIndex(int colorIndex) {
  if (!m_hWnd) return -1;
  for (int i = 0, n = GetCount(); i < n; ++i)
    if (static_cast<int>(GetItemData(i)) == colorIndex) return i;
  return -1;
}

int CAcUiColorComboBox::GetCurrentItemColorIndex() {
  int selected = m_hWnd ? GetCurSel() : -1;
  return selected < 0 ? AcCmColor::kByLayer : static_cast<int>(GetItemData(selected));
}

BOOL CAcUiColorComboBox::SetCurrentItemColorIndex(int colorIndex) {
  int item = FindItemByColorIndex(colorIndex);
  if (item < 0) return FALSE;
  SetCurSel(item);
  return TRUE;
}

void CAcUiColorComboBox::MeasureItem(LPMEASUREITEMSTRUCT item) { item->itemHeight = kItemHeight; }

void CAcUiColorComboBox::DrawItem(LPDRAWITEMSTRUCT item) {
  if (item->itemID == static_cast<UINT>(-1)) return;
  CDC* dc = CDC::FromHandle(item->hDC);
  CRect rect(item->rcItem);
  bool selected = (item->itemState & ODS_SELECTED) != 0;
  dc->FillSolidRect(&rect, ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  int colorIndex = static_cast<int>(item->itemData);
  COLORREF swatch = GetColorFromIndex(colorIndex == AcCmColor::kByBlock ? m_blockColorIndex : colorIndex);
  CRect box(rect.left + 2, rect.top + 2, rect.left + 2 + kSwatchWidth, rect.bottom - 2);
  dc->FillSolidRect(&box, swatch);
  CBrush frame(RGB(0, 0, 0));
  dc->FrameRect(&box, &frame);
  CString text;
  GetLBText(static_cast<int>(item->itemID), text);
  CRect label(box.right + 4, rect.top, rect.right, rect.bottom);
  dc->SetBkMode(TRANSPARENT);
  dc->SetTextColor(::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  dc->DrawText(text, &label, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  if (item->itemState & ODS_FOCUS) dc->DrawFocusRect(&rect);
}
