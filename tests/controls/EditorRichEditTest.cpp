// The editor's rich edit control in a dialog: forwarded notifications and their order, the limited
// paste and its message, the context menu, RTF exchange, and the selection format operations.
#include <string>

#include "ControlsFixture.h"
#include "support/Bytes.h"

namespace {

const char kTooLong[] = "Не могу вставить данные, размер превышает 16К";

using EditorRichEditNotifications = ControlsTest;
using EditorRichEditPaste = ControlsTest;
using EditorRichEditMenu = ControlsTest;
using EditorRichEditRtf = ControlsTest;
using EditorRichEditFormat = ControlsTest;
using EditorRichEditCodeText = ControlsTest;

std::string TextOf(EditorRichEdit& edit) {
  CString text;
  edit.GetWindowText(text);
  return std::string(text.GetString(), static_cast<size_t>(text.GetLength()));
}

CHARRANGE SelectionOf(EditorRichEdit& edit) {
  CHARRANGE range{0, 0};
  edit.GetSel(range);
  return range;
}

// ---- Forwarded notifications: code 1 for a change, code 0 for a selection change ----

TEST_F(EditorRichEditNotifications, ATypedCharacterSendsSelectionThenChange) {
  Event("focus", {Id(IDC_RICH_TEXT)});
  Event("type", {"a"});
  ControlsDialog dialog;
  dialog.DoModal();
  EXPECT_EQ(dialog.log, (Log{"code 0", "code 1"}));
}

TEST_F(EditorRichEditNotifications, AFormatChangeSendsAChangeBeforeItsHandlerEnds) {
  Event("focus", {Id(IDC_RICH_TEXT)});
  Event("type", {"ab"});
  Event("select", {Id(IDC_RICH_TEXT), "0", "1"});
  Event("click", {Id(IDC_BOLD_BUTTON)});
  ControlsDialog dialog;
  dialog.DoModal();
  EXPECT_EQ(dialog.log, (Log{"code 0", "code 1", "code 0", "code 1", "code 0", "code 1", "bold"}));
}

TEST_F(EditorRichEditNotifications, ASelectionChangeSendsCodeZeroAlone) {
  Event("focus", {Id(IDC_RICH_TEXT)});
  Event("type", {"abc"});
  Event("select", {Id(IDC_RICH_TEXT), "1", "3"});
  ControlsDialog dialog;
  dialog.atEnd = [](ControlsDialog& d) { d.log.push_back("end"); };
  dialog.DoModal();
  ASSERT_GE(dialog.log.size(), 3u);
  EXPECT_EQ(Log(dialog.log.end() - 2, dialog.log.end()), (Log{"code 0", "end"}));
}

TEST_F(EditorRichEditNotifications, APasteChangesThenSelectsThePastedTextWhilePasting) {
  Event("clipboard", {"xyz"});
  Event("click", {Id(IDC_PASTE_BUTTON)});
  ControlsDialog dialog;
  dialog.DoModal();
  // the paste moves the caret and changes the text; then the pasted text is selected and the
  // caret put behind it, all with the paste flag up
  EXPECT_EQ(dialog.log, (Log{"code 0 pasting", "code 1", "code 0 pasting", "code 0 pasting", "paste"}));
  EXPECT_FALSE(dialog.m_richEdit.Pasting());
}

TEST_F(EditorRichEditNotifications, TheParentHearsEachNotificationThenItsForwardedCode) {
  ControlsDialog dialog;
  ASSERT_TRUE(dialog.Create(IDD_CONTROLS));
  dialog.m_richEdit.SetFocus();
  qwin::MessageRecorder recorder(dialog.m_hWnd);
  ::SendMessage(dialog.m_richEdit.m_hWnd, WM_CHAR, 'a', 1);
  // Each notification reaches the parent first and is reflected to the control, which sends its
  // code while the parent is still handling the notification.
  EXPECT_EQ(recorder.Entries({"WM_COMMAND", "WM_NOTIFY"}),
            (Log{"WM_NOTIFY 5002 EN_SELCHANGE", "WM_COMMAND 5002 0x0", "WM_COMMAND 5002 EN_CHANGE", "WM_COMMAND 5002 0x1"}));
  dialog.DestroyWindow();
}

// ---- The 16K paste limit ----

TEST_F(EditorRichEditPaste, ATextOfExactlyTheLimitIsPastedAndSelectedUpToTheCaret) {
  qwin::SetClipboardText(std::string(16384, 'x'));
  ControlsDialog dialog;
  ASSERT_TRUE(dialog.Create(IDD_CONTROLS));
  dialog.m_richEdit.SetWindowText("ab");
  dialog.m_richEdit.SetSel(1, 1);
  dialog.m_richEdit.LimitedPaste();
  EXPECT_EQ(dialog.m_richEdit.GetTextLength(), 16386);
  CHARRANGE range = SelectionOf(dialog.m_richEdit);
  EXPECT_EQ(range.cpMin, 16385);
  EXPECT_EQ(range.cpMax, 16385);
  EXPECT_TRUE(qwin::MessageBoxes().empty());
  EXPECT_EQ(CWnd::GetFocus(), &dialog.m_richEdit);
  EXPECT_EQ(qwin::CurrentCursorName(), "arrow");
  dialog.DestroyWindow();
}

TEST_F(EditorRichEditPaste, ATextOverTheLimitIsRefusedWithTheMessageAndNothingChanges) {
  qwin::SetClipboardText(std::string(16385, 'x'));
  ControlsDialog dialog;
  ASSERT_TRUE(dialog.Create(IDD_CONTROLS));
  dialog.m_richEdit.SetWindowText("ab");
  dialog.log.clear();
  dialog.m_richEdit.LimitedPaste();
  EXPECT_EQ(TextOf(dialog.m_richEdit), "ab");
  EXPECT_TRUE(dialog.log.empty());
  ASSERT_EQ(qwin::MessageBoxes().size(), 1u);
  const auto& box = qwin::MessageBoxes()[0];
  EXPECT_EQ(box.text, kTooLong);
  EXPECT_EQ(box.caption, "Quillon");
  EXPECT_EQ(box.type, MB_ICONEXCLAMATION);
  EXPECT_EQ(box.owner, dialog.m_richEdit.m_hWnd);
  dialog.DestroyWindow();
}

TEST_F(EditorRichEditPaste, NoTextOnTheClipboardGivesNoPasteAndNoMessage) {
  qwin::SetClipboardFormats({CF_BITMAP});
  ControlsDialog dialog;
  ASSERT_TRUE(dialog.Create(IDD_CONTROLS));
  EXPECT_EQ(dialog.m_richEdit.ClipboardTextLength(), 0);
  dialog.m_richEdit.LimitedPaste();
  EXPECT_EQ(dialog.m_richEdit.GetTextLength(), 0);
  EXPECT_TRUE(qwin::MessageBoxes().empty());
  qwin::SetClipboardText("abc");
  qwin::SetClipboardOpenFails(true);
  EXPECT_EQ(dialog.m_richEdit.ClipboardTextLength(), 0) << "a clipboard that cannot be opened holds nothing";
  dialog.DestroyWindow();
}

// ---- The context menu ----

TEST_F(EditorRichEditMenu, AnEmptyControlOffersUndoAlone) {
  Event("clipboard");
  Event("rclick", {Id(IDC_RICH_TEXT)});
  Event("escape");
  ControlsDialog dialog;
  HWND control = nullptr;
  dialog.atEnd = [&](ControlsDialog& d) { control = d.m_richEdit.m_hWnd; };
  dialog.DoModal();
  ASSERT_EQ(qwin::ShownMenus().size(), 1u);
  EXPECT_EQ(qwin::ShownMenus()[0].items, Log{"Отменить=57643"});
  EXPECT_EQ(qwin::ShownMenus()[0].owner, control);
}

TEST_F(EditorRichEditMenu, ASelectionClipboardTextAndTextGiveEveryItem) {
  Event("focus", {Id(IDC_RICH_TEXT)});
  Event("type", {"abc"});
  Event("select", {Id(IDC_RICH_TEXT), "0", "1"});
  Event("clipboard", {"z"});
  Event("rclick", {Id(IDC_RICH_TEXT)});
  Event("menu", {"Выделить все"});
  ControlsDialog dialog;
  CHARRANGE atEnd{0, 0};
  dialog.atEnd = [&](ControlsDialog& d) { atEnd = SelectionOf(d.m_richEdit); };
  dialog.DoModal();
  ASSERT_EQ(qwin::ShownMenus().size(), 1u);
  EXPECT_EQ(qwin::ShownMenus()[0].items, (Log{"Отменить=57643", "-", "Вырезать=57635", "Копировать=57634", "-",
                                              "Вставить=57637", "-", "Выделить все=5002"}));
  EXPECT_EQ(atEnd.cpMin, 0);
  EXPECT_EQ(atEnd.cpMax, 3);
}

TEST_F(EditorRichEditMenu, AnOverLongClipboardShowsTheMessageFirstThenAMenuWithoutPaste) {
  Event("clipboard", {std::string(20000, 'y')});
  Event("rclick", {Id(IDC_RICH_TEXT)});
  Event("answer", {"ok"});  // the message box comes first ...
  Event("escape");          // ... then the menu
  ControlsDialog dialog;
  dialog.DoModal();
  EXPECT_TRUE(qwin::InputErrors().empty()) << qwin::InputErrors()[0];
  ASSERT_EQ(qwin::MessageBoxes().size(), 1u);
  EXPECT_EQ(qwin::MessageBoxes()[0].text, kTooLong);
  ASSERT_EQ(qwin::ShownMenus().size(), 1u);
  EXPECT_EQ(qwin::ShownMenus()[0].items, Log{"Отменить=57643"});
}

TEST_F(EditorRichEditMenu, CutCopyPasteAndUndoReachTheControl) {
  Event("focus", {Id(IDC_RICH_TEXT)});
  Event("type", {"abc"});
  Event("select", {Id(IDC_RICH_TEXT), "0", "1"});
  Event("rclick", {Id(IDC_RICH_TEXT)});
  Event("menu", {"Вырезать"});  // "bc", clipboard "a"
  Event("select", {Id(IDC_RICH_TEXT), "2", "2"});
  Event("rclick", {Id(IDC_RICH_TEXT)});
  Event("menu", {"Вставить"});  // "bca"
  Event("select", {Id(IDC_RICH_TEXT), "0", "2"});
  Event("rclick", {Id(IDC_RICH_TEXT)});
  Event("menu", {"Копировать"});  // clipboard "bc"
  Event("rclick", {Id(IDC_RICH_TEXT)});
  Event("menu", {"Отменить"});  // the paste undone: "bc"
  ControlsDialog dialog;
  std::string text;
  dialog.atEnd = [&](ControlsDialog& d) { text = TextOf(d.m_richEdit); };
  dialog.DoModal();
  EXPECT_TRUE(qwin::InputErrors().empty());
  EXPECT_EQ(text, "bc");
  EXPECT_EQ(qwin::ClipboardText().value_or("none"), "bc");
}

// ---- Contents as RTF ----

TEST_F(EditorRichEditRtf, AnEmptyControlStreamsOutTheEmptyDocument) {
  ControlsDialog dialog;
  ASSERT_TRUE(dialog.Create(IDD_CONTROLS));
  EXPECT_BYTES_EQ(std::string("{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fnil MS Sans Serif;}"
                              "{\\f1\\froman\\fcharset2 Symbol;}}\r\n{\\colortbl\\red0\\green0\\blue0;}\r\n"
                              "\\deflang1049\\pard\\plain\\f0\\fs17 \r\n\\par }\r\n"),
                  dialog.m_richEdit.GetRtf());
  dialog.DestroyWindow();
}

TEST_F(EditorRichEditRtf, ADocumentLongerThanTheControlsRequestArrivesWholeAndReplacesTheText) {
  ControlsDialog dialog;
  ASSERT_TRUE(dialog.Create(IDD_CONTROLS));
  dialog.m_richEdit.SetWindowText("old");
  std::string body;
  for (int i = 0; i < 3000; ++i) body += "w" + std::to_string(i % 10) + " ";
  dialog.m_richEdit.SetRtf(("{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20 " + body + "\\par }").c_str());
  EXPECT_EQ(TextOf(dialog.m_richEdit), body);
  std::string out(dialog.m_richEdit.GetRtf().GetString());
  EXPECT_NE(out.find("{\\f2\\fswiss Arial;}"), std::string::npos);
  EXPECT_NE(out.find("\\plain\\f2\\fs20 " + body.substr(0, 12)), std::string::npos) << testsupport::Readable(out);
  dialog.DestroyWindow();
}

// ---- Code text ----

// A "\U+XXXX" typed to its last digit becomes code text in the face the owner gave the control;
// a control given none (as the About box's) has no code text, and the code keeps the typed face.
TEST_F(EditorRichEditCodeText, ATypedCodeTakesTheOwnersCodeFaceAndNoneWithoutOne) {
  struct Case {
    const char* codeFace;
    bool marked;
  };
  for (const Case& c : {Case{keptcodes::kCodeFace, true}, Case{nullptr, false}}) {
    ControlsDialog dialog(c.codeFace);
    ASSERT_TRUE(dialog.Create(IDD_CONTROLS));
    dialog.m_richEdit.SetFocus();
    for (char ch : std::string("x\\U+00D8")) ::SendMessage(dialog.m_richEdit.m_hWnd, WM_CHAR, ch, 1);
    ASSERT_EQ(TextOf(dialog.m_richEdit), "x\\U+00D8");
    dialog.m_richEdit.SetSel(0, 1);
    const std::string typed = dialog.m_richEdit.GetSelectionFormat(CFM_FACE).szFaceName;
    dialog.m_richEdit.SetSel(1, 8);
    const std::string code = dialog.m_richEdit.GetSelectionFormat(CFM_FACE).szFaceName;
    EXPECT_EQ(code, c.marked ? std::string(keptcodes::kCodeFace) : typed) << (c.marked ? "with a code face" : "without");
    dialog.DestroyWindow();
  }
}

// ---- Selection format operations ----

class EditorRichEditFormatTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    ASSERT_TRUE(dialog.Create(IDD_CONTROLS));
    // "ab" in bold, then "cd" regular, in Arial 10 points, red.
    dialog.m_richEdit.SetRtf(
        "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}}{\\colortbl;\\red255\\green0\\blue0;}"
        "\\f0\\fs20\\cf1\\b ab\\b0 cd\\par }");
  }
  void TearDown() override {
    dialog.DestroyWindow();
    ControlsTest::TearDown();
  }
  CHARFORMAT FormatAt(LONG from, LONG to) {
    dialog.m_richEdit.SetSel(from, to);
    return dialog.m_richEdit.GetSelectionFormat(CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_COLOR | CFM_FACE | CFM_SIZE);
  }
  ControlsDialog dialog;
};

TEST_F(EditorRichEditFormatTest, BoldOnAPartlyBoldSelectionMakesAllBoldThenAllRegular) {
  CHARFORMAT mixed = FormatAt(1, 3);
  EXPECT_EQ(mixed.cbSize, 60u);
  EXPECT_EQ(mixed.dwMask & CFM_BOLD, 0u) << "a mixed selection clears the bold mask bit";
  dialog.m_richEdit.ToggleEffect(CFM_BOLD, CFE_BOLD);
  CHARFORMAT once = FormatAt(1, 3);
  EXPECT_NE(once.dwMask & CFM_BOLD, 0u);
  EXPECT_NE(once.dwEffects & CFE_BOLD, 0u);
  dialog.m_richEdit.SetSel(1, 3);
  dialog.m_richEdit.ToggleEffect(CFM_BOLD, CFE_BOLD);
  CHARFORMAT twice = FormatAt(1, 3);
  EXPECT_NE(twice.dwMask & CFM_BOLD, 0u);
  EXPECT_EQ(twice.dwEffects & CFE_BOLD, 0u);
  EXPECT_NE(FormatAt(0, 1).dwEffects & CFE_BOLD, 0u) << "outside the selection nothing changes";
}

TEST_F(EditorRichEditFormatTest, ItalicAndUnderlineToggleOnlyTheirOwnEffect) {
  dialog.m_richEdit.SetSel(0, 4);
  dialog.m_richEdit.ToggleEffect(CFM_ITALIC, CFE_ITALIC);
  dialog.m_richEdit.ToggleEffect(CFM_UNDERLINE, CFE_UNDERLINE);
  CHARFORMAT all = FormatAt(0, 4);
  EXPECT_EQ(all.dwEffects & (CFE_ITALIC | CFE_UNDERLINE), static_cast<DWORD>(CFE_ITALIC | CFE_UNDERLINE));
  EXPECT_EQ(all.dwMask & CFM_BOLD, 0u) << "bold stays mixed";
}

TEST_F(EditorRichEditFormatTest, FaceAndSizeChangeOnlyTheirOwnField) {
  dialog.m_richEdit.SetSel(0, 2);
  dialog.m_richEdit.SetFaceName("Times New Roman");
  dialog.m_richEdit.SetSize(17.5);
  CHARFORMAT changed = FormatAt(0, 2);
  EXPECT_STREQ(changed.szFaceName, "Times New Roman");
  EXPECT_EQ(changed.yHeight, 350);
  EXPECT_NE(changed.dwEffects & CFE_BOLD, 0u);
  EXPECT_EQ(changed.crTextColor, RGB(255, 0, 0));
  EXPECT_STREQ(FormatAt(2, 4).szFaceName, "Arial");
  EXPECT_EQ(FormatAt(2, 4).yHeight, 200);
}

TEST_F(EditorRichEditFormatTest, ASizeIsTruncatedToTwipsAndCanGoToTheDefaultFormat) {
  dialog.m_richEdit.SetSel(0, 1);
  dialog.m_richEdit.SetSize(6 * 0.7);  // 83.99... twips
  EXPECT_EQ(FormatAt(0, 1).yHeight, 83);
  dialog.m_richEdit.SetSize(15, TRUE);
  CHARFORMAT defaults{};
  defaults.cbSize = sizeof(defaults);
  dialog.m_richEdit.GetDefaultCharFormat(defaults);
  EXPECT_EQ(defaults.yHeight, 300);
  EXPECT_EQ(FormatAt(0, 1).yHeight, 83) << "the selection keeps its size";
}

TEST_F(EditorRichEditFormatTest, TheParagraphFormatIsReadWithItsFullSize) {
  PARAFORMAT format = dialog.m_richEdit.GetSelectionParaFormat();
  EXPECT_EQ(format.cbSize, 156u);
  EXPECT_EQ(format.wNumbering, 0);
}

}  // namespace

