// The editor's font list: which faces the enumeration puts in, the owner-drawn items, and the
// LOGFONT copies that the list owns and frees.
#include <algorithm>
#include <cstdlib>
#include <new>
#include <set>

#include "ControlsFixture.h"

// Every block given back while the recorder is on, so that a test can see the list's copies go.
namespace {
bool g_recordFrees = false;
void* g_freed[8192];
size_t g_freedCount = 0;
void NoteFree(void* p) {
  if (g_recordFrees && p && g_freedCount < std::size(g_freed)) g_freed[g_freedCount++] = p;
}
}  // namespace

void operator delete(void* p) noexcept {
  NoteFree(p);
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  NoteFree(p);
  std::free(p);
}
void* operator new(std::size_t size) {
  void* p = std::malloc(size ? size : 1);
  if (!p) throw std::bad_alloc();
  return p;
}

namespace {

using FontListComboTest = ControlsTest;

Log Items(FontListCombo& combo) {
  Log items;
  for (int i = 0; i < combo.GetCount(); ++i) {
    CString text;
    combo.GetLBText(i, text);
    items.emplace_back(text.GetString());
  }
  return items;
}

std::set<void*> Copies(FontListCombo& combo) {
  std::set<void*> copies;
  for (int i = 0; i < combo.GetCount(); ++i) copies.insert(combo.GetItemDataPtr(i));
  return copies;
}

bool AllFreed(const std::set<void*>& copies) {
  return std::all_of(copies.begin(), copies.end(), [](void* p) {
    return std::find(g_freed, g_freed + g_freedCount, p) != g_freed + g_freedCount;
  });
}

// ---- Which faces are listed ----

TEST_F(FontListComboTest, ListsTheTrueTypeFacesOfWesternAndCyrillicCharacterSetsSorted) {
  ControlsDialog dialog;
  ASSERT_TRUE(dialog.Create(IDD_CONTROLS));
  // Not listed from the catalogue: symbol faces (Symbol, Wingdings, ...), the East European,
  // Greek, Turkish, Baltic, Hebrew, Arabic, Thai and Far Eastern faces, the raster faces
  // (MS Sans Serif, Courier, System, ...), the OEM faces (Terminal, Modern, ...) and a device face.
  EXPECT_EQ(Items(dialog.m_fontCombo),
            (Log{"Arial", "Arial Cyr", "Comic Sans MS", "Courier New", "Courier New Cyr", "Georgia", "Impact",
                 "Lucida Console", "Tahoma", "Times New Roman", "Times New Roman Cyr", "Trebuchet MS", "Verdana"}));
  for (int i = 0; i < dialog.m_fontCombo.GetCount(); ++i) {
    auto* face = static_cast<LOGFONT*>(dialog.m_fontCombo.GetItemDataPtr(i));
    ASSERT_NE(face, nullptr);
    CString text;
    dialog.m_fontCombo.GetLBText(i, text);
    EXPECT_STREQ(face->lfFaceName, text.GetString());
  }
  dialog.DestroyWindow();
}

TEST_F(FontListComboTest, RefusesTheListedCharacterSetsAndEveryTypeButTrueType) {
  struct Case {
    BYTE charset;
    DWORD type;
    BOOL accepted;
  };
  const Case cases[] = {
      // refused character sets, even in TrueType
      {2, TRUETYPE_FONTTYPE, FALSE}, {77, TRUETYPE_FONTTYPE, FALSE}, {238, TRUETYPE_FONTTYPE, FALSE},
      {186, TRUETYPE_FONTTYPE, FALSE}, {130, TRUETYPE_FONTTYPE, FALSE}, {177, TRUETYPE_FONTTYPE, FALSE},
      {178, TRUETYPE_FONTTYPE, FALSE}, {161, TRUETYPE_FONTTYPE, FALSE}, {162, TRUETYPE_FONTTYPE, FALSE},
      {222, TRUETYPE_FONTTYPE, FALSE}, {1, TRUETYPE_FONTTYPE, FALSE}, {128, TRUETYPE_FONTTYPE, FALSE},
      {134, TRUETYPE_FONTTYPE, FALSE}, {129, TRUETYPE_FONTTYPE, FALSE}, {136, TRUETYPE_FONTTYPE, FALSE},
      {255, TRUETYPE_FONTTYPE, FALSE},
      // other character sets in TrueType are taken, Vietnamese included
      {0, TRUETYPE_FONTTYPE, TRUE}, {204, TRUETYPE_FONTTYPE, TRUE}, {163, TRUETYPE_FONTTYPE, TRUE},
      // the type must be TrueType exactly
      {0, RASTER_FONTTYPE, FALSE}, {0, DEVICE_FONTTYPE, FALSE}, {0, 0, FALSE},
      {204, TRUETYPE_FONTTYPE | DEVICE_FONTTYPE, FALSE},
  };
  for (const Case& c : cases) {
    LOGFONT face{};
    face.lfCharSet = c.charset;
    EXPECT_EQ(FontListCombo::IsAcceptedFace(face, c.type), c.accepted)
        << "charset " << int(c.charset) << " type " << c.type;
  }
}

TEST_F(FontListComboTest, AComboCreatedInCodeFillsItselfAfterItsCreationAndMeasures14Pixels) {
  ControlsDialog dialog;
  ASSERT_TRUE(dialog.Create(IDD_CONTROLS));
  FontListCombo combo;
  ASSERT_TRUE(combo.Create(CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_SORT | CBS_HASSTRINGS | WS_VISIBLE,
                           CRect(0, 0, 150, 100), &dialog, 77));
  EXPECT_EQ(combo.GetCount(), 0) << "the fill waits for the posted message";
  qwin::PumpPostedMessages();
  EXPECT_EQ(Items(combo), Items(dialog.m_fontCombo));
  EXPECT_EQ(combo.GetItemHeight(0), 14);
  combo.DestroyWindow();
  dialog.DestroyWindow();
}

// ---- Owner-drawn items ----

TEST_F(FontListComboTest, EachItemIsDrawnInItsOwnFaceAtNinePointsAndTheSelectedOneHighlighted) {
  ControlsDialog dialog;
  ASSERT_TRUE(dialog.Create(IDD_CONTROLS));
  dialog.m_fontCombo.SetCurSel(dialog.m_fontCombo.FindStringExact(-1, "Georgia"));
  const int liveBefore = qwin::LiveGdiObjects();
  dialog.m_fontCombo.ShowDropDown(TRUE);
  Log georgia, impact;
  for (const std::string& line : qwin::GdiRecord()) {
    if (line.find("\"Georgia\"") != std::string::npos) georgia.push_back(line);
    if (line.find("\"Impact\"") != std::string::npos) impact.push_back(line);
  }
  ASSERT_EQ(georgia.size(), 1u);
  ASSERT_EQ(impact.size(), 1u);
  EXPECT_NE(georgia[0].find("font=Georgia/-12"), std::string::npos) << georgia[0];
  EXPECT_NE(georgia[0].find("flags=0x24"), std::string::npos) << georgia[0];
  EXPECT_NE(georgia[0].find("transparent"), std::string::npos) << georgia[0];
  EXPECT_NE(georgia[0].find("color=#ffffff"), std::string::npos) << georgia[0];
  EXPECT_NE(impact[0].find("font=Impact/-12"), std::string::npos) << impact[0];
  EXPECT_NE(impact[0].find("color=#000000"), std::string::npos) << impact[0];
  const Log& record = qwin::GdiRecord();
  EXPECT_TRUE(std::any_of(record.begin(), record.end(), [](const std::string& l) {
    return l.find("FillRect") != std::string::npos && l.find("#000080") != std::string::npos;
  })) << "the selected item's background";
  EXPECT_EQ(qwin::LiveGdiObjects(), liveBefore) << "each item's font and brush are deleted";
  dialog.DestroyWindow();
}

TEST_F(FontListComboTest, AnEmptyComboDrawsOnlyItsBackground) {
  ControlsDialog dialog;
  ASSERT_TRUE(dialog.Create(IDD_CONTROLS));
  dialog.m_fontCombo.ResetContent();
  DRAWITEMSTRUCT draw{ODT_COMBOBOX, IDC_FONT_LIST, static_cast<UINT>(-1), ODA_DRAWENTIRE, 0,
                      dialog.m_fontCombo.m_hWnd, ::GetDC(dialog.m_fontCombo.m_hWnd), RECT{0, 0, 100, 14}, 0};
  const size_t before = qwin::GdiRecord().size();
  dialog.m_fontCombo.DrawItem(&draw);
  ::ReleaseDC(dialog.m_fontCombo.m_hWnd, draw.hDC);
  Log drawn(qwin::GdiRecord().begin() + static_cast<long>(before), qwin::GdiRecord().end());
  ASSERT_EQ(drawn.size(), 1u);
  EXPECT_NE(drawn[0].find("FillRect rect=0,0,100,14 brush #ffffff"), std::string::npos) << drawn[0];
  dialog.DestroyWindow();
}

// ---- The LOGFONT copies ----

TEST_F(FontListComboTest, DestroyingTheDialogFreesEveryCopy) {
  ControlsDialog dialog;
  ASSERT_TRUE(dialog.Create(IDD_CONTROLS));
  std::set<void*> copies = Copies(dialog.m_fontCombo);
  ASSERT_EQ(copies.size(), static_cast<size_t>(dialog.m_fontCombo.GetCount()));
  g_freedCount = 0;
  g_recordFrees = true;
  dialog.DestroyWindow();
  g_recordFrees = false;
  EXPECT_TRUE(AllFreed(copies));
}

TEST_F(FontListComboTest, FillingAgainFreesTheFirstCopies) {
  ControlsDialog dialog;
  ASSERT_TRUE(dialog.Create(IDD_CONTROLS));
  std::set<void*> copies = Copies(dialog.m_fontCombo);
  const int count = dialog.m_fontCombo.GetCount();
  g_freedCount = 0;
  g_recordFrees = true;
  dialog.m_fontCombo.Fill();
  g_recordFrees = false;
  EXPECT_TRUE(AllFreed(copies));
  EXPECT_EQ(dialog.m_fontCombo.GetCount(), count) << "each face once";
  dialog.DestroyWindow();
}

}  // namespace
