// Live update: what reaches the drawing while the user types, toggles dynamic mode, leaves the width
// edit or exits the editor.
#include <algorithm>
#include <string>

#include "DialogFixture.h"

namespace {

using LiveUpdate = EditorDialogTest;
using DynamicModeOff = EditorDialogTest;
using EditorExit = EditorDialogTest;

bool Holds(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// ---- Dynamic mode on ----

// Loading a text into the editor is no change: opening and leaving writes nothing, and neither do
// toggling dynamic mode or a property action (beyond its property) before the text changed.
TEST_F(LiveUpdate, OpeningAndLeavingWritesNothing) {
  theEditTarget.rtfText = "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}}\\f0 Hello}";
  theEditTarget.rtfPending = true;
  OpenEditor();
  EXPECT_EQ(Contents(), "");
  const int before = Writes();
  Click(IDC_DYNAMIC_MODE);
  Click(IDC_DYNAMIC_MODE);
  Click(IDC_JUSTIFY_RIGHT);
  EXPECT_EQ(Contents(), "") << "the justification alone is written";
  EXPECT_EQ(Writes(), before + 1);
  Click(IDCANCEL);
  EXPECT_EQ(Contents(), "") << "an editor that shows text erases nothing";
}

TEST_F(LiveUpdate, ATextTypedAndTakenBackGetsItsOwnContentsAgain) {
  OpenEditor();
  qplatform::TypeText(Editor(), "a");
  EXPECT_TRUE(Holds(Contents(), "a")) << Contents();
  qplatform::PressKey(Editor(), VK_BACK);
  EXPECT_EQ(Contents(), "");
}

TEST_F(LiveUpdate, EachTypedCharacterWritesOnce) {
  OpenEditor();
  dialog->m_richEdit.SetFocus();
  std::string typed;
  for (char c : std::string("Пр1")) {
    const int before = Writes();
    qplatform::TypeText(Editor(), std::string(1, c));
    typed += c;
    EXPECT_EQ(Writes() - before, 1) << "after " << typed;
    EXPECT_TRUE(Holds(Contents(), typed)) << Contents();
  }
}

TEST_F(LiveUpdate, AChangeThatLeavesTheRtfWritesNothing) {
  OpenEditor();
  qplatform::TypeText(Editor(), "ab");
  const std::string written = Contents();
  const int before = Writes();
  // the text area reports a change once more (a format set to what it already was)
  dialog->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_RICHEDIT, 1), reinterpret_cast<LPARAM>(dialog->m_richEdit.m_hWnd));
  EXPECT_EQ(Writes(), before);
  EXPECT_EQ(Contents(), written);
}

TEST_F(LiveUpdate, BulletedParagraphIsNeverWritten) {
  OpenEditor();
  qplatform::TypeText(Editor(), "a");
  const std::string written = Contents();
  PARAFORMAT bullet = qplatform::MakeParaFormat(PFM_NUMBERING);
  bullet.wNumbering = PFN_BULLET;
  qplatform::SetParaFormat(Editor(), bullet);
  ASSERT_NE(dialog->m_richEdit.GetRtf().Find("\\pntext"), -1);
  const int before = Writes();
  qplatform::TypeText(Editor(), "bc");
  EXPECT_EQ(Writes(), before);
  EXPECT_EQ(Contents(), written);
}

TEST_F(LiveUpdate, LastRtfSeenOutlivesTheDialog) {
  OpenEditor();
  qplatform::TypeText(Editor(), "x");
  EXPECT_EQ(theLastRtfSeen, dialog->m_richEdit.GetRtf());
  dialog->DestroyWindow();
  EXPECT_FALSE(theLastRtfSeen.IsEmpty());
}

TEST_F(LiveUpdate, ChoosingAStyleWithUnchangedTextWritesNothingUntilTheNextChange) {
  OpenEditor();
  qplatform::TypeText(Editor(), "a");
  const int before = Writes();
  theEditTarget.textStyleName = "";
  dialog->m_styleCombo.SetCurSel(0);
  dialog->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_STYLE, CBN_SELENDOK),
                      reinterpret_cast<LPARAM>(dialog->m_styleCombo.m_hWnd));
  EXPECT_EQ(std::string(theEditTarget.textStyleName.GetString()), "Standard");
  EXPECT_FALSE(theEditTarget.textStyleId.isNull());
  EXPECT_EQ(Writes(), before);
  qplatform::TypeText(Editor(), "b");
  EXPECT_EQ(Writes(), before + 1);
}

// ---- Dynamic mode off ----

TEST_F(DynamicModeOff, TurningItOffWritesNothingTurningItOnWritesAtOnce) {
  OpenEditor();
  const int before = Writes();
  Click(IDC_DYNAMIC_MODE);
  EXPECT_FALSE(theEditTarget.liveUpdate);
  qplatform::TypeText(Editor(), "ab");
  EXPECT_EQ(Writes(), before);
  Click(IDC_DYNAMIC_MODE);
  EXPECT_TRUE(theEditTarget.liveUpdate);
  EXPECT_EQ(Writes(), before + 1);
  EXPECT_TRUE(Holds(Contents(), "ab")) << Contents();
}

TEST_F(DynamicModeOff, TypingWritesNothingUntilTheWidthEditLosesFocus) {
  OpenEditor();
  Click(IDC_DYNAMIC_MODE);
  const std::string opened = Contents();
  const int before = Writes();
  qplatform::TypeText(Editor(), "abc");
  EXPECT_EQ(Writes(), before);
  EXPECT_EQ(Contents(), opened);
  dialog->m_widthEdit.SetFocus();
  dialog->m_widthEdit.SetWindowText("40.5");
  EXPECT_EQ(Writes(), before);
  dialog->m_richEdit.SetFocus();
  EXPECT_EQ(Writes(), before + 1);
  EXPECT_TRUE(Holds(Contents(), "abc")) << Contents();
  EXPECT_EQ(theEditTarget.width, 40.5);
}

TEST_F(DynamicModeOff, ExitWritesTheText) {
  OpenEditor();
  Click(IDC_DYNAMIC_MODE);
  const std::string opened = Contents();
  qplatform::TypeText(Editor(), "xyz");
  EXPECT_EQ(Contents(), opened);
  Click(IDCANCEL);
  EXPECT_TRUE(Holds(Contents(), "xyz")) << Contents();
}

// ---- Exit ----

TEST_F(EditorExit, AnEmptyEditorLeavesNoEntity) {
  OpenEditor();
  Click(IDCANCEL);
  EXPECT_EQ(Contents(), "<erased>");
}

TEST_F(EditorExit, ATextOfTheDrawingThatShowsNothingIsNotErased) {
  OpenEditor();
  theEditTarget.created = false;  // picked from the drawing, with nothing to show
  Click(IDCANCEL);
  EXPECT_NE(Contents(), "<erased>");
}

TEST_F(EditorExit, ATextOfTheDrawingThatTheUserEmptiedIsErased) {
  theEditTarget.rtfText = "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}}\\f0 Hello}";
  theEditTarget.rtfPending = true;
  OpenEditor();
  theEditTarget.created = false;
  qplatform::SetSelection(Editor(), 0, -1);
  qplatform::PressKey(Editor(), VK_DELETE);
  Click(IDCANCEL);
  EXPECT_EQ(Contents(), "<erased>");
}

TEST_F(EditorExit, ADimensionIsNeverErased) {
  OpenEditor();
  theEditTarget.isDimension = true;
  Click(IDCANCEL);
  EXPECT_NE(Contents(), "<erased>");
}

// ---- The height box and the width edit ----

// Each keystroke in the height box reaches the entity as it is typed: "1", then "12".
TEST_F(LiveUpdate, TypedHeightTakesEffectOnTheSameKeystroke) {
  OpenEditor();
  qplatform::TypeText(Editor(), "ab");
  dialog->m_richEdit.SetSel(0, -1);
  for (const char* typed : {"1", "12"}) {
    dialog->m_heightCombo.SetWindowText(typed);
    dialog->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_HEIGHT, CBN_EDITCHANGE),
                        reinterpret_cast<LPARAM>(dialog->m_heightCombo.m_hWnd));
    EXPECT_EQ(theEditTarget.textHeight, std::atof(typed));
    EXPECT_EQ(EntityHeight(), std::atof(typed)) << typed;
    EXPECT_TRUE(Holds(Contents(), std::string("\\H") + typed + ";")) << Contents();  // as typed
  }
  EXPECT_EQ(dialog->m_richEdit.GetSelectionFormat(CFM_SIZE).yHeight, 1440);
}

TEST_F(LiveUpdate, PassingThroughTheWidthEditKeepsTheWidth) {
  theEditTarget.width = 69.6875;
  OpenEditor();
  EXPECT_EQ(Text(IDC_WIDTH), "69.6");
  dialog->m_widthEdit.SetFocus();
  dialog->m_richEdit.SetFocus();
  EXPECT_EQ(theEditTarget.width, 69.6875);
  dialog->m_widthEdit.SetFocus();
  dialog->m_widthEdit.SetWindowText("70");
  dialog->m_richEdit.SetFocus();
  EXPECT_EQ(theEditTarget.width, 70.0);
}

}  // namespace

namespace {

using EditorModal = EditorDialogTest;

// ---- The dialog run modally from the input queue, as a session runs it ----

TEST_F(EditorModal, TypedTextReachesTheDrawingAndEscapeExits) {
  CreateMText("");
  Event("focus", {"5002"});
  Event("type", {"Да"});
  Event("escape");
  const int before = Writes();
  MTextEditorDialog modal;
  EXPECT_EQ(modal.DoModal(), IDCANCEL);
  EXPECT_TRUE(qwin::InputErrors().empty());
  EXPECT_NE(Contents().find("Да"), std::string::npos) << Contents();
  // one write per character; opening writes nothing
  EXPECT_EQ(Writes() - before, 2);
}

TEST_F(EditorModal, OpeningMeetsNothingTheStandInsLack) {
  OpenEditor();
  EXPECT_TRUE(qwin::Unimplemented().empty()) << qwin::Unimplemented().front();
}

}  // namespace

namespace {

using EditorKeys = EditorDialogTest;

// ---- Enter, and texts longer than the control's default limit ----

// Enter in the height box applies the typed height and gives the text the focus; the dialog goes
// on until the exit, so that nothing typed is lost.
TEST_F(EditorKeys, EnterInABoxAppliesItAndReturnsToTheText) {
  CreateMText("");
  Event("focus", {"5002"});
  Event("type", {"ab"});
  Event("key", {"ctrl+a"});
  Event("edit", {"5027", "7"});
  Event("key", {"enter"});
  Event("key", {"end"});
  Event("type", {"c"});
  Event("escape");
  MTextEditorDialog modal;
  EXPECT_EQ(modal.DoModal(), IDCANCEL);
  EXPECT_TRUE(qwin::InputErrors().empty());
  EXPECT_EQ(EntityHeight(), 7.0);
  EXPECT_TRUE(Holds(Contents(), "\\H7;") && Holds(Contents(), "abc")) << Contents();
}

TEST_F(EditorKeys, ALoadedTextLongerThanTheDefaultLimitStaysEditable) {
  const std::string longText(40000, 'x');
  theEditTarget.rtfText = ("{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}}\\f0 " + longText + "}").c_str();
  theEditTarget.rtfPending = true;
  OpenEditor();
  dialog->m_richEdit.SetSel(-1, -1);
  qplatform::TypeText(Editor(), "y");
  EXPECT_EQ(dialog->m_richEdit.GetWindowTextLength(), 40001);
  const std::string written = Contents();
  EXPECT_EQ(std::count(written.begin(), written.end(), 'x'), 40000);
  EXPECT_TRUE(Holds(written, "y")) << written.substr(written.size() - 40);
  EXPECT_TRUE(qwin::MessageBoxes().empty());
}

// Should the limit be reached all the same, the user hears and reads why typing stops.
TEST_F(EditorKeys, TheFullControlBeepsAndSaysSo) {
  OpenEditor();
  dialog->m_richEdit.LimitText(2);
  qplatform::TypeText(Editor(), "abc");
  EXPECT_EQ(dialog->m_richEdit.GetWindowTextLength(), 2);
  ASSERT_EQ(qwin::MessageBoxes().size(), 1u);
  EXPECT_EQ(qwin::MessageBoxes()[0].caption, "Quillon");
  EXPECT_EQ(qwin::MessageBoxes()[0].type, static_cast<UINT>(MB_ICONEXCLAMATION));
  EXPECT_EQ(qwin::Beeps(), std::vector<UINT>{MB_ICONEXCLAMATION});
}

}  // namespace
