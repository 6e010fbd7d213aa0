// The editor dialog opened on a drawing: its lists, toolbar faces and text area after
// initialisation, and how the target's properties are shown.
#include <string>
#include <vector>

#include "DialogFixture.h"
#include "converter/MTextRtfConverter.h"
#include "host/HostColors.h"

namespace {

using EditorInitialisation = EditorDialogTest;
using EditorShowsTarget = EditorDialogTest;

std::vector<std::string> Items(CComboBox& combo) {
  std::vector<std::string> items;
  for (int i = 0; i < combo.GetCount(); ++i) {
    CString text;
    combo.GetLBText(i, text);
    items.emplace_back(text.GetString());
  }
  return items;
}

// ---- Lists, toolbar and text area after initialisation ----

TEST_F(EditorInitialisation, StyleListHoldsTheDrawingsStyles) {
  OpenEditor();
  EXPECT_EQ(Items(dialog->m_styleCombo), (std::vector<std::string>{"Standard"}));
}

TEST_F(EditorInitialisation, PresetListsKeepTheirOrder) {
  OpenEditor();
  EXPECT_EQ(Items(dialog->m_heightCombo), (std::vector<std::string>{"1.8", "2.5", "3.5", "5", "7", "10", "18"}));
  EXPECT_EQ(Items(dialog->m_rotationCombo), (std::vector<std::string>{"0", "90"}));
  EXPECT_EQ(Items(dialog->m_spacingStyleCombo), (std::vector<std::string>{"Не менее", "Точно"}));
}

TEST_F(EditorInitialisation, SpacingStyleShownByItsName) {
  struct Case {
    int style;
    std::string shown;
  };
  for (const Case& c : {Case{0, ""}, Case{1, "Не менее"}, Case{2, "Точно"}, Case{3, ""}}) {
    SetUp();
    theEditTarget.lineSpacingStyle = static_cast<SpacingStyle>(c.style);
    OpenEditor();
    EXPECT_EQ(Text(IDC_SPACING_STYLE), c.shown) << "lineSpacingStyle " << c.style;
    TearDown();
  }
}

TEST_F(EditorInitialisation, ZeroSpacingFactorBecomesOneOthersStay) {
  theEditTarget.lineSpacingFactor = 0.0;
  OpenEditor();
  EXPECT_EQ(theEditTarget.lineSpacingFactor, 1.0);
  TearDown();
  SetUp();
  theEditTarget.lineSpacingFactor = 1.5;
  OpenEditor();
  EXPECT_EQ(theEditTarget.lineSpacingFactor, 1.5);
}

TEST_F(EditorInitialisation, DynamicModeOnAndNudgeNegative) {
  theEditTarget.offsetMode = OffsetMode::kPositive;
  OpenEditor();
  EXPECT_TRUE(theEditTarget.liveUpdate);
  EXPECT_EQ(theEditTarget.offsetMode, OffsetMode::kNegative);
  EXPECT_EQ(dialog->m_dynamicModeCheck.GetCheck(), 1);
}

TEST_F(EditorInitialisation, TextAreaReportsChangesScrollingAndSelection) {
  OpenEditor();
  EXPECT_EQ(dialog->m_richEdit.GetEventMask(), 0x00080205u);
}

TEST_F(EditorInitialisation, EveryButtonShowsItsFace) {
  OpenEditor();
  for (int i = 0; i < MTextEditorDialog::kFaceCount; ++i) {
    EXPECT_NE(dialog->m_bitmaps[i].GetSafeHandle(), nullptr) << "face " << i;
  }
  CButton* buttons[] = {&dialog->m_cutButton, &dialog->m_copyButton, &dialog->m_pasteButton,
                        &dialog->m_justifyLeftButton, &dialog->m_justifyCentreButton, &dialog->m_justifyRightButton,
                        &dialog->m_undoButton, &dialog->m_editTextButton, &dialog->m_aboutButton,
                        &dialog->m_exitButton, &dialog->m_pickPointButton, &dialog->m_boldButton,
                        &dialog->m_italicButton, &dialog->m_underlineButton, &dialog->m_symbolButton,
                        &dialog->m_spacingUpButton, &dialog->m_spacingDownButton, &dialog->m_offsetYButton,
                        &dialog->m_offsetXButton, &dialog->m_offsetDirectionCheck, &dialog->m_dynamicModeCheck};
  for (CButton* button : buttons) {
    EXPECT_NE(button->GetBitmap(), nullptr) << "button " << button->GetDlgCtrlID();
  }
}


// ---- The target's properties as the dialog shows them ----

TEST_F(EditorShowsTarget, RotationInWholeDegreesTowardZero) {
  struct Case {
    double radians;
    std::string shown;
  };
  for (const Case& c : {Case{-0.5, "-28"}, Case{1.0, "57"}, Case{0.0, "0"}}) {
    SetUp();
    theEditTarget.rotation = c.radians;
    OpenEditor();
    EXPECT_EQ(Text(IDC_ROTATION), c.shown) << c.radians << " rad";
    TearDown();
  }
}

TEST_F(EditorShowsTarget, HeightSetsSixPointsPerUnit) {
  theEditTarget.textHeight = 2.5;
  OpenEditor();
  EXPECT_EQ(dialog->m_richEdit.GetSelectionFormat(CFM_SIZE).yHeight, 300);
  CHARFORMAT defaults{};
  defaults.cbSize = sizeof defaults;
  dialog->m_richEdit.GetDefaultCharFormat(defaults);
  EXPECT_EQ(defaults.yHeight, 300);
}

TEST_F(EditorShowsTarget, HeightInCurrentUnitsAlwaysWithAPoint) {
  SetVar("LUPREC", 0);
  theEditTarget.textHeight = 3.0;
  OpenEditor();
  EXPECT_EQ(Text(IDC_HEIGHT), "3.0");
  EXPECT_EQ(dialog->m_heightText, "3.0");
}

// A new text made while no height is set takes TEXTSIZE, which the box shows in the drawing's
// units format (which rounds it, and with LUNITS 5 writes a fraction: no number to read back).
TEST_F(EditorShowsTarget, UnsetHeightShowsTextSizeAndANewTextTakesIt) {
  resbuf size{};
  size.restype = RTREAL;
  size.resval.rreal = 3.456;
  acedSetVar("TEXTSIZE", &size);
  SetVar("LUPREC", 2);
  OpenEditor();
  EXPECT_EQ(Text(IDC_HEIGHT), "3.46");
  EXPECT_EQ(theEditTarget.textHeight, 3.456);
  EXPECT_EQ(EntityHeight(), 3.456);
}

// A dimension picked before any height was set keeps the height the dialog shows, not 0.
TEST_F(EditorShowsTarget, UnsetHeightReadsTextAtTextSize) {
  resbuf size{};
  size.restype = RTREAL;
  size.resval.rreal = 3.5;
  acedSetVar("TEXTSIZE", &size);
  theEditTarget.textHeight = 0.0;
  MTextToRtfEditTarget target(theEditTarget);
  HostColors colors;
  MTextRtfConverter converter(colors, target);
  const std::string rtf(converter.MTextToRtf("<> mm").GetString());
  EXPECT_NE(rtf.find("\\fs42"), std::string::npos) << rtf;
  theEditTarget.textHeight = 5.0;
  MTextRtfConverter second(colors, target);
  EXPECT_NE(std::string(second.MTextToRtf("x").GetString()).find("\\fs60"), std::string::npos);
}

TEST_F(EditorShowsTarget, WidthCutAfterTheFirstDecimal) {
  theEditTarget.width = 12.345678;
  OpenEditor();
  EXPECT_EQ(Text(IDC_WIDTH), "12.3");
}

TEST_F(EditorShowsTarget, UnknownStyleFallsBackToTextStyle) {
  theEditTarget.textStyleName = "NoSuchStyle";
  OpenEditor();
  EXPECT_EQ(std::string(theEditTarget.textStyleName.GetString()), "Standard");
  EXPECT_FALSE(theEditTarget.textStyleId.isNull());
  EXPECT_EQ(Text(IDC_STYLE), "Standard");
}

TEST_F(EditorShowsTarget, JustificationChecksItsButton) {
  theEditTarget.justification = Justification::kRight;
  OpenEditor();
  EXPECT_EQ(dialog->m_justifyLeftButton.GetCheck(), 0);
  EXPECT_EQ(dialog->m_justifyRightButton.GetCheck(), 1);
}

TEST_F(EditorShowsTarget, PendingTextIsStreamedInOnce) {
  theEditTarget.rtfText = "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}}\\f0 Hello}";
  theEditTarget.rtfPending = true;
  OpenEditor();
  EXPECT_FALSE(theEditTarget.rtfPending);
  EXPECT_EQ(qplatform::GetText(Editor()), "Hello");
}

}  // namespace
