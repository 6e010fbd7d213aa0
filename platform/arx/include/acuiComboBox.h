// Host stand-in: CAcUiColorComboBox, the host's owner-drawn list of colour indexes.
#pragma once

#include <afxwin.h>

// Lists ByLayer, ByBlock, the seven standard colours and then every other index 8 to 255, each
// with a swatch; the item data is the colour index. The look-ups work without a window.
class CAcUiColorComboBox : public CComboBox {
  DECLARE_DYNAMIC(CAcUiColorComboBox)

 public:
  CAcUiColorComboBox();
  ~CAcUiColorComboBox() override;

  // The RGB value shown for a colour index. ByLayer is shown as GetLayerColorIndex(); index 0
  // gives the editor's background (a mid grey), on which every colour of the list stays readable;
  // a number outside 0 to 256 is shown as index 7.
  virtual COLORREF GetColorFromIndex(int colorIndex);
  // The nearest palette index (1 to 255) of an RGB value.
  virtual int GetColorIndex(COLORREF color);
  // The index whose RGB stands for ByLayer on screen.
  virtual int GetLayerColorIndex() { return m_layerColorIndex; }
  void SetLayerColorIndex(int colorIndex) { m_layerColorIndex = colorIndex; }
  // The index that ByBlock is drawn in.
  int GetBlockColorIndex() const { return m_blockColorIndex; }
  void SetBlockColorIndex(int colorIndex) { m_blockColorIndex = colorIndex; }

  // The list position of a colour index, or -1.
  int FindItemByColorIndex(int colorIndex);
  // The colour index of the selected item; ByLayer (256) when nothing is selected.
  int GetCurrentItemColorIndex();
  // Selects the item of a colour index; false when the list has none.
  BOOL SetCurrentItemColorIndex(int colorIndex);
  // The item's text: "ПоСлою", "ПоБлоку", the standard colours by name, the others by number.
  static CString ColorName(int colorIndex);

  void DrawItem(LPDRAWITEMSTRUCT item) override;
  void MeasureItem(LPMEASUREITEMSTRUCT item) override;

 protected:
  void PreSubclassWindow() override;

 private:
  void Fill();
  int m_layerColorIndex;
  int m_blockColorIndex;
};
