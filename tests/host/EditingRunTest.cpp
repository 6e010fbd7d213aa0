// The editing run through the editor interface alone, without the dialog: what it shows of the
// target, and which texts of the editor it converts and writes.
#include "host/EditingRun.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "arx/HostFixture.h"
#include "host/EditTarget.h"
#include "host/EditorWindow.h"

namespace {

// An editor that records what the run asks of it; its text area holds `rtf`.
class RecordingEditor : public EditorWindow {
 public:
  void ShowTarget(const ShownTarget& shown) override {
    this->shown = shown;
    loaded = shown.rtf != nullptr ? std::string(*shown.rtf) : "<none>";
    if (shown.rtf != nullptr) rtf = *shown.rtf;
  }
  CString EditorRtf() override { return rtf; }
  void KeepConverted(const CString& contents) override { converted.emplace_back(contents); }
  void WriteTarget() override { ++writes; }

  ShownTarget shown;
  std::string loaded;
  CString rtf = "{\\rtf1 empty\\par }";
  std::vector<std::string> converted;
  int writes = 0;
};

const char kTypedRtf[] = "{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil MS Sans Serif;}}\\plain\\f0\\fs30 typed\\par }";

class EditingRunTest : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    theEditTarget = EditTarget();
    theLastRtfSeen.Empty();
  }
  void TearDown() override {
    theEditTarget = EditTarget();
    HostTest::TearDown();
  }
  RecordingEditor editor;
};

TEST_F(EditingRunTest, LoadingShowsTheTargetsValuesAndTakesTheLoadedTextAsUnchanged) {
  EditTarget& target = theEditTarget;
  target.justification = Justification::kRight;
  target.rotation = 1.5707963267948966;  // 90 degrees
  target.textStyleName = "Standard";
  target.textHeight = 2.5;
  target.width = 12.345;
  target.rtfText = "{\\rtf1 loaded\\par }";
  target.rtfPending = true;
  LoadTargetIntoEditor(editor);
  EXPECT_EQ(editor.shown.justification, Justification::kRight);
  EXPECT_EQ(std::string(editor.shown.rotationText), "90");
  EXPECT_EQ(std::string(editor.shown.styleName), "Standard");
  EXPECT_EQ(std::string(editor.shown.heightText), "2.5000");
  EXPECT_EQ(std::string(editor.shown.widthText), "12.3");
  EXPECT_EQ(editor.loaded, "{\\rtf1 loaded\\par }");
  EXPECT_FALSE(target.rtfPending);
  EXPECT_FALSE(target.textStyleId.isNull());
  EXPECT_EQ(std::string(target.baselineRtf), "{\\rtf1 loaded\\par }");
  EXPECT_EQ(std::string(theLastRtfSeen), "{\\rtf1 loaded\\par }");
  EXPECT_FALSE(target.textEdited);
  EXPECT_FALSE(target.loading);

  // A second load with nothing pending loads no document.
  LoadTargetIntoEditor(editor);
  EXPECT_EQ(editor.loaded, "<none>");
}

TEST_F(EditingRunTest, LiveUpdateConvertsOnlyAChangedTextWithoutListNumbering) {
  LoadTargetIntoEditor(editor);
  LiveUpdate(editor);
  EXPECT_EQ(editor.writes, 0) << "the loaded text is not written again";

  editor.rtf = "{\\rtf1{\\pntext\\f1\\'b7\\tab}item\\par }";
  LiveUpdate(editor);
  EXPECT_EQ(editor.writes, 0) << "list numbering would reach the MText as text";

  editor.rtf = kTypedRtf;
  LiveUpdate(editor);
  EXPECT_EQ(editor.writes, 1);
  ASSERT_EQ(editor.converted.size(), 1u);
  EXPECT_NE(editor.converted[0].find("typed"), std::string::npos) << editor.converted[0];
  EXPECT_TRUE(theEditTarget.textEdited);
  LiveUpdate(editor);
  EXPECT_EQ(editor.writes, 1) << "the same text once";
}

TEST_F(EditingRunTest, CommitWritesEvenTheLoadedTextButConvertsOnlyAChangedOne) {
  LoadTargetIntoEditor(editor);
  CommitEditor(editor);
  EXPECT_EQ(editor.writes, 1);
  EXPECT_TRUE(editor.converted.empty());
  EXPECT_FALSE(theEditTarget.textEdited);
  editor.rtf = kTypedRtf;
  CommitEditor(editor);
  EXPECT_EQ(editor.writes, 2);
  EXPECT_EQ(editor.converted.size(), 1u);
}

// What MTextToRtf kept of the loaded text reaches RtfToMText: a font's pitch field that the
// control's font table cannot hold, and a height as it was written.
TEST_F(EditingRunTest, AChangedTextIsWrittenWithTheLoadedFontsAndHeights) {
  LoadTargetIntoEditor(editor);
  theEditTarget.knownFonts["Arial|c0"] = "Arial|c0|p0";
  theEditTarget.knownHeights[27] = "2.25";
  editor.rtf =
      "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fnil MS Sans Serif;}{\\f1\\froman\\fcharset2 Symbol;}"
      "{\\f2\\fnil Arial;}}\r\n{\\colortbl\\red0\\green0\\blue0;}\r\n\\deflang1049\\pard\\plain\\f2\\fs27 x\r\n\\par }\r\n";
  CommitEditor(editor);
  ASSERT_EQ(editor.converted.size(), 1u);
  EXPECT_EQ(editor.converted[0], "{{\\fArial|c0|p0|b0|i0;{\\H2.25;x}}}");
}

TEST_F(EditingRunTest, TextChangesWhileLoadingOrWithoutLiveUpdateWriteNothing) {
  LoadTargetIntoEditor(editor);
  editor.rtf = kTypedRtf;
  theEditTarget.liveUpdate = false;
  RichTextChanged(editor);
  theEditTarget.liveUpdate = true;
  theEditTarget.loading = true;
  RichTextChanged(editor);
  EXPECT_EQ(editor.writes, 0);
  theEditTarget.loading = false;
  RichTextChanged(editor);
  EXPECT_EQ(editor.writes, 1);
}

TEST_F(EditingRunTest, TheWidthBoxsOwnRoundingNeverChangesTheWidth) {
  theEditTarget.width = 12.345;
  TakeWidthText("12.3");
  EXPECT_EQ(theEditTarget.width, 12.345);
  TakeWidthText("20");
  EXPECT_EQ(theEditTarget.width, 20.0);
}

}  // namespace
