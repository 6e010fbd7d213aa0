// The host's colour look-ups: the one-to-one palette and what HostColors gives the converters.
#include <dbcolor.h>

#include "host/HostColors.h"
#include "support/Bytes.h"

namespace {

TEST(AcCmColor, EveryIndexComesBackAsItself) {
  for (int index = 1; index <= 255; ++index) {
    AcCmColor color;
    ASSERT_TRUE(color.setColorIndex(static_cast<std::uint16_t>(index)));
    AcCmColor back;
    back.setRGB(color.red(), color.green(), color.blue());
    EXPECT_EQ(index, back.colorIndex()) << "RGB " << int(color.red()) << "," << int(color.green()) << ","
                                         << int(color.blue());
  }
}

TEST(AcCmColor, FindsTheNearestIndex) {
  const struct {
    int red, green, blue, index;
  } cases[] = {
      {0, 0, 0, 18},      {255, 255, 255, 7}, {255, 0, 0, 1},   {0, 0, 255, 5},   {254, 0, 0, 10},
      {250, 2, 3, 10},    {128, 128, 128, 8}, {19, 38, 38, 139}, {1, 1, 1, 18},   {200, 200, 200, 9},
  };
  for (const auto& c : cases) {
    AcCmColor color;
    color.setRGB(static_cast<std::uint8_t>(c.red), static_cast<std::uint8_t>(c.green), static_cast<std::uint8_t>(c.blue));
    EXPECT_EQ(c.index, color.colorIndex()) << c.red << "," << c.green << "," << c.blue;
  }
}

TEST(AcCmColor, KeepsByBlockAndByLayerAndRefusesOtherNumbers) {
  AcCmColor color;
  EXPECT_TRUE(color.isByLayer());
  EXPECT_TRUE(color.setColorIndex(AcCmColor::kByBlock));
  EXPECT_TRUE(color.isByBlock());
  EXPECT_EQ(0, color.red() + color.green() + color.blue());
  EXPECT_TRUE(color.setColorIndex(3));
  EXPECT_FALSE(color.setColorIndex(257));
  EXPECT_EQ(3, color.colorIndex());
  EXPECT_EQ(255, color.green());
}

TEST(HostColors, ShowsByLayerAndByBlockSoThatTheWriterReadsThemBack) {
  HostColors colors;
  unsigned long byLayer = colors.RgbOfIndex(256);
  EXPECT_EQ(0x262613u, byLayer);  // index 139: red 19, green 38, blue 38
  EXPECT_EQ(139, colors.NearestIndex(byLayer & 0xFF, (byLayer >> 8) & 0xFF, (byLayer >> 16) & 0xFF));
  unsigned long byBlock = colors.RgbOfIndex(0);
  EXPECT_EQ(0xFEFEFEu, byBlock);
  EXPECT_EQ(0, colors.NearestIndex(byBlock & 0xFF, (byBlock >> 8) & 0xFF, (byBlock >> 16) & 0xFF));
  EXPECT_NE(0, colors.NearestIndex(0xFD, 0xFE, 0xFE)) << "only that RGB is ByBlock";
  EXPECT_EQ(0xFFFFFFu, colors.RgbOfIndex(300));
  EXPECT_EQ(0x0000FFu, colors.RgbOfIndex(1));
  // Channels outside 0 to 255 reach the host as their low byte.
  EXPECT_EQ(colors.NearestIndex(255, 0, 0), colors.NearestIndex(511, 256, 0));
}

}  // namespace
