// The host's colour list: its items, its selection and its index and RGB look-ups.
#include <acui.h>
#include <dbcolor.h>

#include <cmath>
#include <string>

#include "HostUiResource.h"
#include "win32/Fixture.h"

namespace {

// A dialog that binds the colour list and records what it held when the dialog ended.
class ColorDialog : public CAcUiDialog {
 public:
  ColorDialog() : CAcUiDialog(IDD_HOSTUI) {}
  CAcUiColorComboBox colors;
  int count = 0;
  int current = -1;
  int firstItems[10] = {};
  std::string names[10];
  int itemOf139 = -2, itemOf300 = -2;

 protected:
  void DoDataExchange(CDataExchange* dx) override {
    CAcUiDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_COLORS, colors);
  }
  void OnCancel() override {
    count = colors.GetCount();
    current = colors.GetCurrentItemColorIndex();
    for (int i = 0; i < 10; ++i) {
      firstItems[i] = static_cast<int>(colors.GetItemData(i));
      CString text;
      colors.GetLBText(i, text);
      names[i] = static_cast<const char*>(text);
    }
    itemOf139 = colors.FindItemByColorIndex(139);
    itemOf300 = colors.FindItemByColorIndex(300);
    CAcUiDialog::OnCancel();
  }
};

using ColorComboTest = WindowSystemTest;

TEST_F(ColorComboTest, ListsByLayerByBlockTheStandardSevenThenEveryOtherIndex) {
  Event("escape");
  ColorDialog dialog;
  dialog.DoModal();
  EXPECT_EQ(dialog.count, 257);
  const int expected[10] = {256, 0, 1, 2, 3, 4, 5, 6, 7, 8};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(dialog.firstItems[i], expected[i]) << i;
  EXPECT_EQ(dialog.names[0], "ПоСлою");
  EXPECT_EQ(dialog.names[1], "ПоБлоку");
  EXPECT_EQ(dialog.names[2], "Красный");
  EXPECT_EQ(dialog.names[8], "Белый");
  EXPECT_EQ(dialog.names[9], "Цвет 8");
  EXPECT_EQ(dialog.itemOf139, 140);
  EXPECT_EQ(dialog.itemOf300, -1);
  EXPECT_EQ(dialog.current, 256);  // ByLayer until the user chooses
}

TEST_F(ColorComboTest, ChoosingAnItemMakesItsIndexCurrent) {
  struct Case {
    const char* item;
    int index;
  } cases[] = {{"Синий", 5}, {"ПоБлоку", 0}, {"Цвет 139", 139}, {"#0", 256}};
  for (const Case& c : cases) {
    Event("choose", {std::to_string(IDC_COLORS), c.item});
    Event("escape");
    ColorDialog dialog;
    dialog.DoModal();
    EXPECT_EQ(dialog.current, c.index) << c.item;
  }
  EXPECT_TRUE(qwin::InputErrors().empty());
}

TEST_F(ColorComboTest, EveryPaletteIndexComesBackFromItsRgb) {
  CAcUiColorComboBox colors;  // the look-ups need no window
  for (int i = 1; i <= 255; ++i) EXPECT_EQ(colors.GetColorIndex(colors.GetColorFromIndex(i)), i) << i;
}

TEST_F(ColorComboTest, ByLayerShowsAsIndex139AndOddNumbersAsIndex7) {
  CAcUiColorComboBox colors;
  EXPECT_EQ(colors.GetLayerColorIndex(), 139);
  EXPECT_EQ(colors.GetColorFromIndex(256), colors.GetColorFromIndex(139));
  EXPECT_EQ(colors.GetBlockColorIndex(), 7);
  EXPECT_EQ(colors.GetColorFromIndex(-1), RGB(255, 255, 255));
  EXPECT_EQ(colors.GetColorFromIndex(257), RGB(255, 255, 255));
  EXPECT_EQ(colors.FindItemByColorIndex(5), -1);
  EXPECT_EQ(colors.GetCurrentItemColorIndex(), 256);
}

// The CIE76 colour difference of two sRGB colours (D65 white): about 2.3 is just noticeable; text
// stays readable on a background some tens of units away.
struct Lab {
  double l, a, b;
};
Lab ToLab(COLORREF c) {
  auto linear = [](int v) {
    double s = v / 255.0;
    return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  double r = linear(GetRValue(c)), g = linear(GetGValue(c)), b = linear(GetBValue(c));
  double x = (0.4124 * r + 0.3576 * g + 0.1805 * b) / 0.95047, y = 0.2126 * r + 0.7152 * g + 0.0722 * b,
         z = (0.0193 * r + 0.1192 * g + 0.9505 * b) / 1.08883;
  auto f = [](double t) { return t > 0.008856 ? std::cbrt(t) : 7.787 * t + 16.0 / 116.0; };
  return {116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
}
double Difference(COLORREF p, COLORREF q) {
  Lab a = ToLab(p), b = ToLab(q);
  return std::sqrt((a.l - b.l) * (a.l - b.l) + (a.a - b.a) * (a.a - b.a) + (a.b - b.b) * (a.b - b.b));
}

TEST_F(ColorComboTest, TextInEveryStandardColourStaysReadableOnTheEditorsBackground) {
  CAcUiColorComboBox colors;
  COLORREF background = colors.GetColorFromIndex(0);
  // The standard seven, ByLayer as shown, ByBlock as drawn.
  int shown[] = {1, 2, 3, 4, 5, 6, 7, 256, colors.GetBlockColorIndex()};
  for (int index : shown) EXPECT_GE(Difference(colors.GetColorFromIndex(index), background), 40.0) << index;
}

}  // namespace
