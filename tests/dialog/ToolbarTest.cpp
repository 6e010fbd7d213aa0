// The toolbar's format actions over the selection, the toolbar following the caret, and the actions
// that move, replace or close the target: nudges, pick insertion point, edit another text.
#include <string>

#include <dbsymtb.h>

#include "DialogFixture.h"
#include "host/HostColors.h"
#include "qplatform/WindowSystem.h"

namespace {

using ToolbarFormat = EditorDialogTest;
using ToolbarFollowsSelection = EditorDialogTest;
using TargetActions = EditorDialogTest;

bool Holds(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Entities of model space that are not erased.
int EntityCount() {
  AcDbBlockTable* blocks = nullptr;
  qhost::CurrentDatabase()->getSymbolTable(blocks, AcDb::kForRead);
  AcDbBlockTableRecord* space = nullptr;
  blocks->getAt(ACDB_MODEL_SPACE, space, AcDb::kForRead);
  blocks->close();
  AcDbBlockTableRecordIterator* it = nullptr;
  space->newIterator(it);
  int count = 0;
  for (; !it->done(); it->step()) ++count;
  delete it;
  space->close();
  return count;
}

// A point as "(x, y, z)", for readable comparisons.
std::string At(const AcGePoint3d& p) {
  return "(" + std::to_string(p.x) + ", " + std::to_string(p.y) + ", " + std::to_string(p.z) + ")";
}

// Makes the named entity the target again, so that Contents() reads it.
void Retarget(const ads_name name) {
  theEditTarget.entityName[0] = name[0];
  theEditTarget.entityName[1] = name[1];
}

// The modal editor run over the queued events, ended by Escape or a cancelled prompt.
void RunModal() {
  MTextEditorDialog modal;
  EXPECT_EQ(modal.DoModal(), IDCANCEL);
  EXPECT_TRUE(qwin::InputErrors().empty());
}

void Choose(MTextEditorDialog& dialog, CComboBox& combo, int id, int item) {
  combo.SetCurSel(item);
  dialog.SendMessage(WM_COMMAND, MAKEWPARAM(id, CBN_SELENDOK), reinterpret_cast<LPARAM>(combo.m_hWnd));
}

// ---- Character format of the selection ----

TEST_F(ToolbarFormat, BoldOnAPartlyBoldSelectionMakesAllBoldThenAllRegular) {
  SetStandardFont("arial.ttf");
  OpenEditor();
  qplatform::TypeText(Editor(), "abcd");
  dialog->m_richEdit.SetSel(0, 2);
  Click(IDC_BOLD);
  dialog->m_richEdit.SetSel(0, 4);
  ASSERT_EQ(dialog->m_richEdit.GetSelectionFormat(CFM_BOLD).dwMask & CFM_BOLD, 0u) << "mixed selection";
  const int before = Writes();
  Click(IDC_BOLD);
  CHARFORMAT format = dialog->m_richEdit.GetSelectionFormat(CFM_BOLD);
  EXPECT_EQ(format.dwMask & CFM_BOLD, static_cast<DWORD>(CFM_BOLD));
  EXPECT_EQ(format.dwEffects & CFE_BOLD, static_cast<DWORD>(CFE_BOLD));
  EXPECT_GE(Writes(), before + 1);
  Click(IDC_BOLD);
  format = dialog->m_richEdit.GetSelectionFormat(CFM_BOLD);
  EXPECT_EQ(format.dwMask & CFM_BOLD, static_cast<DWORD>(CFM_BOLD));
  EXPECT_EQ(format.dwEffects & CFE_BOLD, 0u);
}

TEST_F(ToolbarFormat, ChosenHeightSetsSixPointsPerUnit) {
  OpenEditor();
  qplatform::TypeText(Editor(), "ab");
  dialog->m_richEdit.SetSel(0, 2);
  Choose(*dialog, dialog->m_heightCombo, IDC_HEIGHT, dialog->m_heightCombo.FindStringExact(-1, "3.5"));
  EXPECT_EQ(dialog->m_richEdit.GetSelectionFormat(CFM_SIZE).yHeight, 420);
  EXPECT_EQ(theEditTarget.textHeight, 3.5);
}

// A typed height takes the nearest whole half-point (0.7 x 12 = 8.4: 8, 80 twips), comes back as
// typed, and the box shows a selection's size truncated to one decimal at today's scale.
TEST_F(ToolbarFormat, TypedHeightIsTruncatedAndTheNextSelectionShowsIt) {
  OpenEditor();
  qplatform::TypeText(Editor(), "ab");
  dialog->m_richEdit.SetSel(0, 2);
  dialog->m_heightCombo.SetWindowText("0.7");
  dialog->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_HEIGHT, CBN_EDITCHANGE),
                      reinterpret_cast<LPARAM>(dialog->m_heightCombo.m_hWnd));
  EXPECT_EQ(dialog->m_richEdit.GetSelectionFormat(CFM_SIZE).yHeight, 80);
  EXPECT_TRUE(Holds(Contents(), "\\H0.7;")) << Contents();
  dialog->m_richEdit.SetSel(0, 1);
  EXPECT_EQ(Text(IDC_HEIGHT), "0.6");
}

// ByLayer is shown in the colour the combo draws it in, ByBlock in the RGB RtfToMText reads back
// as ByBlock; automatic colour is cleared, and the colour box shows the chosen item again.
TEST_F(ToolbarFormat, ColourItemsByLayerByBlockAndIndex) {
  OpenEditor();
  qplatform::TypeText(Editor(), "ab");
  CAcUiColorComboBox& combo = dialog->m_colorCombo;
  dialog->m_richEdit.SetSel(0, 2);
  EXPECT_EQ(Text(IDC_COLOR), "ПоСлою") << "typed text is in the automatic colour, the entity's";
  struct Case {
    int index;
    COLORREF shown;
  };
  for (const Case& c : {Case{256, combo.GetColorFromIndex(combo.GetLayerColorIndex())},
                        Case{0, static_cast<COLORREF>(HostColors().RgbOfIndex(0))}, Case{1, combo.GetColorFromIndex(1)},
                        Case{30, combo.GetColorFromIndex(30)}}) {
    dialog->m_richEdit.SetSel(0, 2);
    Choose(*dialog, combo, IDC_COLOR, combo.FindItemByColorIndex(c.index));
    const CHARFORMAT format = dialog->m_richEdit.GetSelectionFormat(CFM_COLOR);
    EXPECT_EQ(format.crTextColor, c.shown) << c.index;
    EXPECT_EQ(format.dwEffects & CFE_AUTOCOLOR, 0u) << c.index;
    dialog->m_richEdit.SetSel(2, 2);
    dialog->m_richEdit.SetSel(0, 1);
    EXPECT_EQ(combo.GetCurrentItemColorIndex(), c.index);
    EXPECT_EQ(dialog->m_richEdit.GetSelectionFormat(CFM_COLOR).crTextColor, c.shown) << "showing recolours nothing";
  }
}

TEST_F(ToolbarFormat, LineSpacing301PressesUpThenDown) {
  theEditTarget.lineSpacingFactor = 1.0;
  OpenEditor();
  for (int i = 0; i < 300; ++i) Click(IDC_SPACING_UP);
  EXPECT_LT(theEditTarget.lineSpacingFactor, 4.0);
  Click(IDC_SPACING_UP);
  EXPECT_NEAR(theEditTarget.lineSpacingFactor, 4.01, 1e-9);
  const double top = theEditTarget.lineSpacingFactor;
  const int before = Writes();
  Click(IDC_SPACING_UP);
  EXPECT_EQ(theEditTarget.lineSpacingFactor, top);
  EXPECT_EQ(Writes(), before);
  for (int i = 0; i < 301; ++i) Click(IDC_SPACING_DOWN);
  EXPECT_NEAR(theEditTarget.lineSpacingFactor, 1.0, 1e-9);
}

TEST_F(ToolbarFormat, LineSpacingOutsideItsRangeStays) {
  for (double factor : {0.8, 4.2}) {
    theEditTarget.lineSpacingFactor = factor;
    OpenEditor();
    Click(IDC_SPACING_UP);
    Click(IDC_SPACING_DOWN);
    EXPECT_EQ(theEditTarget.lineSpacingFactor, factor);
    dialog->DestroyWindow();
  }
}

TEST_F(ToolbarFormat, SymbolButtonStartsTheCharacterMap) {
  OpenEditor();
  Click(IDC_SYMBOL);
  ASSERT_FALSE(qwin::ShellRequests().empty());
  EXPECT_EQ(qwin::ShellRequests().back().commandLine, "Charmap.exe");
  EXPECT_EQ(qwin::ShellRequests().back().showCommand, SW_SHOW);
}

// ---- The toolbar follows the caret ----

TEST_F(ToolbarFollowsSelection, ColourHeightAndFontShowTheSelections) {
  OpenEditor();
  qplatform::TypeText(Editor(), "abcd");
  dialog->m_richEdit.SetSel(2, 4);
  Choose(*dialog, dialog->m_colorCombo, IDC_COLOR, dialog->m_colorCombo.FindItemByColorIndex(1));
  Choose(*dialog, dialog->m_heightCombo, IDC_HEIGHT, dialog->m_heightCombo.FindStringExact(-1, "10"));
  Choose(*dialog, dialog->m_fontCombo, IDC_FONT, dialog->m_fontCombo.FindStringExact(-1, "Arial"));
  dialog->m_richEdit.SetSel(0, 0);
  EXPECT_NE(Text(IDC_HEIGHT), "10.0");
  dialog->m_richEdit.SetSel(3, 3);
  EXPECT_EQ(dialog->m_colorCombo.GetCurrentItemColorIndex(), 1);
  EXPECT_EQ(Text(IDC_HEIGHT), "10.0");
  EXPECT_EQ(dialog->m_fontCombo.GetCurSel(), dialog->m_fontCombo.FindStringExact(-1, "arial"));
}

TEST_F(ToolbarFollowsSelection, AFaceNotInTheListClearsTheFontChoice) {
  OpenEditor();
  qplatform::TypeText(Editor(), "ab");
  dialog->m_richEdit.SetSel(0, 2);
  qplatform::SetSelectionFormat(Editor(), qplatform::FaceFormat("No Such Face"));
  dialog->m_richEdit.SetSel(1, 1);
  EXPECT_EQ(dialog->m_fontCombo.GetCurSel(), CB_ERR);
}

TEST_F(ToolbarFollowsSelection, PastedParagraphsLoseNumberingAndIndents) {
  OpenEditor();
  qplatform::TypeText(Editor(), "x");
  PARAFORMAT numbered = qplatform::MakeParaFormat(PFM_NUMBERING | PFM_STARTINDENT | PFM_OFFSET);
  numbered.wNumbering = PFN_BULLET;
  numbered.dxStartIndent = 360;
  numbered.dxOffset = 200;
  qplatform::SetParaFormat(Editor(), numbered);
  qwin::SetClipboardText("pasted");
  Click(IDC_PASTE);
  const PARAFORMAT para = qplatform::GetParaFormat(Editor());
  EXPECT_EQ(para.wNumbering, 0);
  EXPECT_EQ(para.dxStartIndent, 0);
  EXPECT_EQ(para.dxOffset, 0);
  EXPECT_TRUE(Holds(Contents(), "xpasted")) << Contents();
}

// ---- Nudges ----

TEST_F(TargetActions, TwoNudgesWithTheToggleOffThenOneWithItOn) {
  theEditTarget.location = AcGePoint3d(10, 20, 0);
  OpenEditor();
  qplatform::TypeText(Editor(), "moved");
  Click(IDC_OFFSET_X);
  Click(IDC_OFFSET_X);
  EXPECT_EQ(theEditTarget.location.x, 9.0);
  EXPECT_EQ(theEditTarget.location.y, 20.0);
  Click(IDC_OFFSET_DIRECTION);
  EXPECT_EQ(theEditTarget.offsetMode, OffsetMode::kPositive);
  Click(IDC_OFFSET_Y);
  EXPECT_EQ(theEditTarget.location.x, 9.0);
  EXPECT_EQ(theEditTarget.location.y, 20.5);
  // the same entity, at the moved point, with its text
  AcDbObjectId id;
  acdbGetObjectId(id, theEditTarget.entityName);
  AcDbMText* mtext = nullptr;
  ASSERT_EQ(acdbOpenObject(mtext, id, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(mtext->location(), AcGePoint3d(9, 20.5, 0));
  EXPECT_TRUE(Holds(mtext->contentsConst(), "moved")) << mtext->contentsConst();
  mtext->close();
  EXPECT_EQ(EntityCount(), 1);
}

// Each nudge button, in the toggle state that moves the text, moves it its own way by half a
// unit: the record and the entity alike, and nothing along the other axis.
TEST_F(TargetActions, EachNudgeDirectionMovesTheTextItsWayByHalfAUnit) {
  struct Case {
    const char* direction;
    bool toggleOn;
    int button;
    double dx, dy;
  };
  const Case cases[] = {
      {"+X", true, IDC_OFFSET_X, 0.5, 0.0},
      {"-X", false, IDC_OFFSET_X, -0.5, 0.0},
      {"+Y", true, IDC_OFFSET_Y, 0.0, 0.5},
      {"-Y", false, IDC_OFFSET_Y, 0.0, -0.5},
  };
  for (const Case& c : cases) {
    SetUp();
    theEditTarget.location = AcGePoint3d(10, 20, 0);
    OpenEditor();
    if (c.toggleOn) Click(IDC_OFFSET_DIRECTION);
    Click(c.button);
    const AcGePoint3d expected(10 + c.dx, 20 + c.dy, 0);
    EXPECT_EQ(At(theEditTarget.location), At(expected)) << c.direction;
    AcDbObjectId id;
    acdbGetObjectId(id, theEditTarget.entityName);
    AcDbMText* mtext = nullptr;
    ASSERT_EQ(acdbOpenObject(mtext, id, AcDb::kForRead), Acad::eOk) << c.direction;
    EXPECT_EQ(At(mtext->location()), At(expected)) << c.direction;
    mtext->close();
    TearDown();
  }
}

// A nudge moves the entity in place and writes no text: with dynamic mode off the typed text
// reaches the same entity at the exit.
TEST_F(TargetActions, NudgeMovesTheSameEntityAndWritesNoText) {
  OpenEditor();
  const ads_name before = {theEditTarget.entityName[0], theEditTarget.entityName[1]};
  Click(IDC_DYNAMIC_MODE);
  qplatform::TypeText(Editor(), "kept");
  Click(IDC_OFFSET_Y);
  EXPECT_EQ(theEditTarget.entityName[0], before[0]);
  EXPECT_EQ(theEditTarget.entityName[1], before[1]);
  EXPECT_EQ(Contents(), "");
  Click(IDCANCEL);
  EXPECT_TRUE(Holds(Contents(), "kept")) << Contents();
  EXPECT_EQ(EntityCount(), 1);
}

TEST_F(TargetActions, NudgeLeavesADimensionAndCreatesNothing) {
  OpenEditor();
  theEditTarget.isDimension = true;
  const AcGePoint3d at = theEditTarget.location;
  const std::string before = Contents();
  Click(IDC_OFFSET_X);
  EXPECT_EQ(Contents(), before);
  EXPECT_EQ(theEditTarget.location, at);
  EXPECT_EQ(EntityCount(), 1);
}

// ---- Pick insertion point ----

TEST_F(TargetActions, PickInsertionPointLeavesTheTextAndStartsAnEmptyOne) {
  OpenEditor();
  qplatform::TypeText(Editor(), "first");
  ads_name first = {theEditTarget.entityName[0], theEditTarget.entityName[1]};
  Event("point", {"50", "60"});
  Click(IDC_PICK_POINT);
  EXPECT_EQ(theEditTarget.location, AcGePoint3d(50, 60, 0));
  // the new text holds only the empty editor's formatting
  EXPECT_FALSE(Holds(Contents(), "first")) << Contents();
  EXPECT_EQ(EntityCount(), 2);
  EXPECT_EQ(dialog->m_richEdit.GetWindowTextLength(), 0);
  EXPECT_TRUE(dialog->IsWindowVisible());
  ads_name second = {theEditTarget.entityName[0], theEditTarget.entityName[1]};
  Retarget(first);
  EXPECT_TRUE(Holds(Contents(), "first")) << Contents();
  Retarget(second);
}

TEST_F(TargetActions, EscapeAtThePointPromptClosesTheEditorAndKeepsTheText) {
  CreateMText("");
  Event("focus", {"5002"});
  Event("type", {"stays"});
  Event("click", {"5016"});
  Event("escape");
  RunModal();
  EXPECT_TRUE(Holds(Contents(), "stays")) << Contents();
}

// ---- Edit another text ----

TEST_F(TargetActions, EditAnotherTextWritesTheFirstAndLoadsTheSecond) {
  theEditTarget.location = AcGePoint3d(100, 100, 0);
  CreateMText("Other");
  AcDbObjectId otherId;
  acdbGetObjectId(otherId, theEditTarget.entityName);
  char handle[20] = "";
  otherId.handle().getIntoAsciiBuffer(handle);
  theEditTarget.location = AcGePoint3d(0, 0, 0);
  CreateMText("");
  ads_name first = {theEditTarget.entityName[0], theEditTarget.entityName[1]};
  Event("focus", {"5002"});
  Event("type", {"one"});
  Event("click", {"5013"});
  Event("pick", {"handle", handle});
  Event("type", {"Z"});
  Event("escape");
  RunModal();
  EXPECT_TRUE(Holds(Contents(), "Other")) << Contents();
  EXPECT_TRUE(Holds(Contents(), "Z")) << Contents();
  Retarget(first);
  EXPECT_TRUE(Holds(Contents(), "one")) << Contents();
}

TEST_F(TargetActions, EscapeAtTheTextPromptClosesTheEditor) {
  CreateMText("");
  ads_name first = {theEditTarget.entityName[0], theEditTarget.entityName[1]};
  Event("focus", {"5002"});
  Event("type", {"kept"});
  Event("click", {"5013"});
  Event("escape");
  RunModal();
  Retarget(first);
  EXPECT_TRUE(Holds(Contents(), "kept")) << Contents();
}

}  // namespace
