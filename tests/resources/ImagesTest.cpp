// The module's context menu, button faces, icon and link cursor as compiled into the module.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "qplatform/WindowSystem.h"
#include "resources/resource.h"

namespace {

std::vector<unsigned char> ResourceBytes(int id, LPCSTR type) {
  HMODULE module = GetModuleHandle(nullptr);
  HRSRC resource = FindResource(module, MAKEINTRESOURCE(id), type);
  if (!resource) return {};
  const auto* data = static_cast<const unsigned char*>(LockResource(LoadResource(module, resource)));
  return std::vector<unsigned char>(data, data + SizeofResource(module, resource));
}

unsigned U16(const std::vector<unsigned char>& b, size_t at) { return b[at] | (b[at + 1] << 8); }
unsigned U32(const std::vector<unsigned char>& b, size_t at) { return U16(b, at) | (U16(b, at + 2) << 16); }

// The faces that the editor dialog loads, in the order it loads them.
const int kFaces[] = {5006, 5016, 5013, 5015, 5020, 5018, 5017, 5010, 5014, 5021, 5025,
                      5027, 5028, 5029, 5030, 5045, 5043, 5035, 5046, 5047, 5054, 5063};

// A 15 x 13 dialog-unit button in pixels at MS Sans Serif 8 pt (base units 6 x 13).
constexpr int kFaceWidth = 23;
constexpr int kFaceHeight = 21;

class ModuleImages : public ::testing::Test {
 protected:
  void SetUp() override { qwin::Reset(); }
  void TearDown() override { qwin::Reset(); }
};

// ---- Context menu ----

TEST_F(ModuleImages, ContextMenuIsOnePopupHoldingTheEditorFindAndSpellingItems) {
  HMENU menu = LoadMenu(GetModuleHandle(nullptr), MAKEINTRESOURCE(IDR_CONTEXT_MENU));
  ASSERT_TRUE(menu);
  ASSERT_EQ(GetMenuItemCount(menu), 1);
  char text[64];
  GetMenuString(menu, 0, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "МТекст редактор");
  HMENU popup = GetSubMenu(menu, 0);
  ASSERT_TRUE(popup);
  ASSERT_EQ(GetMenuItemCount(popup), 3);
  EXPECT_EQ(GetMenuItemID(popup, 0), static_cast<UINT>(ID_EDITOR));
  EXPECT_EQ(GetMenuItemID(popup, 0), 32771u);
  GetMenuString(popup, ID_EDITOR, text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ(text, "Редактор");
  EXPECT_EQ(GetMenuItemID(popup, 1), static_cast<UINT>(ID_FIND));
  GetMenuString(popup, ID_FIND, text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ(text, "Найти и заменить");
  EXPECT_EQ(GetMenuItemID(popup, 2), static_cast<UINT>(ID_SPELL));
  GetMenuString(popup, ID_SPELL, text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ(text, "Орфография");
  DestroyMenu(menu);
}

// ---- Button faces ----

TEST_F(ModuleImages, EveryLoadedFaceHasTheButtonsPixelSize) {
  HMODULE module = GetModuleHandle(nullptr);
  for (int id : kFaces) {
    HBITMAP face = LoadBitmap(module, MAKEINTRESOURCE(id));
    ASSERT_TRUE(face) << id;
    BITMAP info{};
    ASSERT_TRUE(GetObject(face, sizeof info, &info)) << id;
    EXPECT_EQ(info.bmWidth, kFaceWidth) << id;
    EXPECT_EQ(info.bmHeight, kFaceHeight) << id;
    DeleteObject(face);
  }
}

TEST_F(ModuleImages, EveryFaceIsAPictureOfItsOwn) {
  std::set<std::vector<unsigned char>> seen;
  for (int id : kFaces) {
    std::vector<unsigned char> dib = ResourceBytes(id, RT_BITMAP);
    ASSERT_GE(dib.size(), 40u + 16 * 4) << id;
    // A 16-colour bottom-up picture; rows are padded to four bytes.
    ASSERT_EQ(U32(dib, 0), 40u) << id;
    ASSERT_EQ(U16(dib, 14), 4u) << id;
    size_t stride = ((kFaceWidth * 4 + 31) / 32) * 4;
    ASSERT_EQ(dib.size(), 40u + 16 * 4 + stride * kFaceHeight) << id;
    std::vector<unsigned char> pixels(dib.begin() + 40 + 16 * 4, dib.end());
    std::set<int> colours;
    for (int y = 0; y < kFaceHeight; ++y) {
      for (int x = 0; x < kFaceWidth; ++x) {
        unsigned char b = pixels[y * stride + x / 2];
        colours.insert(x % 2 ? b & 0x0F : b >> 4);
      }
    }
    EXPECT_GE(colours.size(), 2u) << id << " is blank";
    EXPECT_TRUE(seen.insert(pixels).second) << id << " repeats another face";
  }
}

// ---- Icon and cursor ----

// An icon or cursor file with one image: its directory entry and the image's header.
struct IconFile {
  unsigned kind, count, width, height, hotX, hotY;
  std::vector<unsigned char> bytes;
  size_t image;
};

IconFile ReadIconFile(int id, LPCSTR type) {
  IconFile f{};
  f.bytes = ResourceBytes(id, type);
  if (f.bytes.size() < 6 + 16 + 40) return f;
  f.kind = U16(f.bytes, 2);
  f.count = U16(f.bytes, 4);
  f.width = f.bytes[6];
  f.height = f.bytes[7];
  f.hotX = U16(f.bytes, 10);
  f.hotY = U16(f.bytes, 12);
  f.image = U32(f.bytes, 18);
  return f;
}

TEST_F(ModuleImages, IconIsOneThirtyTwoSquareSixteenColourImage) {
  IconFile icon = ReadIconFile(IDI_QUILLON, RT_GROUP_ICON);
  ASSERT_FALSE(icon.bytes.empty());
  EXPECT_EQ(icon.kind, 1u);
  EXPECT_EQ(icon.count, 1u);
  EXPECT_EQ(icon.width, 32u);
  EXPECT_EQ(icon.height, 32u);
  ASSERT_LE(icon.image + 40, icon.bytes.size());
  EXPECT_EQ(U32(icon.bytes, icon.image + 8), 64u);  // colour picture and mask
  EXPECT_EQ(U16(icon.bytes, icon.image + 14), 4u);
  // The picture, 16 colours, then the mask: 32 rows of 16 and of 4 bytes.
  EXPECT_EQ(icon.bytes.size(), icon.image + 40 + 16 * 4 + 32 * 16 + 32 * 4);
  EXPECT_TRUE(LoadIcon(GetModuleHandle(nullptr), MAKEINTRESOURCE(IDI_QUILLON)));
}

TEST_F(ModuleImages, LinkCursorPointsWithItsFingertip) {
  IconFile cursor = ReadIconFile(IDC_LINK_HAND, RT_GROUP_CURSOR);
  ASSERT_FALSE(cursor.bytes.empty());
  EXPECT_EQ(cursor.kind, 2u);
  EXPECT_EQ(cursor.count, 1u);
  EXPECT_EQ(cursor.width, 32u);
  EXPECT_EQ(cursor.height, 32u);
  ASSERT_EQ(U16(cursor.bytes, cursor.image + 14), 1u);
  // Monochrome: two palette entries, 32 rows of 4 bytes of picture, then the same of mask.
  size_t mask = cursor.image + 40 + 2 * 4 + 32 * 4;
  ASSERT_EQ(cursor.bytes.size(), mask + 32 * 4);
  auto opaque = [&](unsigned x, unsigned y) {
    unsigned char b = cursor.bytes[mask + (31 - y) * 4 + x / 8];
    return !((b >> (7 - x % 8)) & 1);
  };
  ASSERT_LT(cursor.hotX, 32u);
  ASSERT_LT(cursor.hotY, 32u);
  EXPECT_TRUE(opaque(cursor.hotX, cursor.hotY));
  // Nothing of the hand lies above the hot spot: it is the top of the pointing finger.
  for (unsigned y = 0; y < cursor.hotY; ++y) {
    for (unsigned x = 0; x < 32; ++x) EXPECT_FALSE(opaque(x, y)) << x << "," << y;
  }
  HCURSOR hand = LoadCursor(GetModuleHandle(nullptr), MAKEINTRESOURCE(IDC_LINK_HAND));
  ASSERT_TRUE(hand);
  SetCursor(hand);
  EXPECT_EQ(qwin::CurrentCursorName(), "resource 5057");
}

}  // namespace
