// The editor's find window: Ctrl+F and Ctrl+H taken before the text area, find next and previous
// wrapping, replacements that keep code text and are one step of the text area's undo.
#include <string>

#include "DialogFixture.h"
#include "support/Bytes.h"
#include "converter/MTextRtfConverter.h"
#include "dialog/FindDialog.h"
#include "host/HostColors.h"
#include "qplatform/WindowSystem.h"

namespace {

using FindWindowKeys = EditorDialogTest;
using FindWindowReplace = EditorDialogTest;

void TypeInto(CWnd& window, const std::string& text) {
  for (char c : text) window.SendMessage(WM_CHAR, static_cast<unsigned char>(c), 1);
}

// ---- Keys and moving through the matches (the modal editor, driven as a user drives it) ----

struct KeyCase {
  const char* name;
  std::vector<std::vector<std::string>> events;
  const char* contents;  // the text as the drawing holds it afterwards
};

TEST_F(FindWindowKeys, KeysOpenTheWindowAndItsButtonsMoveThroughTheMatches) {
  const KeyCase cases[] = {
      // Ctrl+H opens the replace mode, and the text area never takes it for a backspace.
      {"ctrl+h replaces, no backspace",
       {{"focus", "IDC_RICHEDIT"}, {"type", "abc"}, {"key", "ctrl+h"}, {"edit", "IDC_FIND_TEXT", "b"},
        {"edit", "IDC_REPLACE_TEXT", "XY"}, {"click", "IDC_REPLACE_ALL"}, {"click", "IDCANCEL"}},
       "{{{\\H2.5;aXYc}}}"},
      // Find next goes from match to match and starts over after the last.
      {"find next wraps",
       {{"focus", "IDC_RICHEDIT"}, {"type", "one two one"}, {"key", "ctrl+f"}, {"edit", "IDC_FIND_TEXT", "one"},
        {"click", "IDOK"}, {"click", "IDOK"}, {"click", "IDOK"}, {"focus", "IDC_RICHEDIT"}, {"type", "Z"},
        {"click", "IDCANCEL"}},
       "{{{\\H2.5;Z two one}}}"},
      // Find previous from the first match starts over at the last.
      {"find previous wraps",
       {{"focus", "IDC_RICHEDIT"}, {"type", "one two one"}, {"key", "ctrl+f"}, {"edit", "IDC_FIND_TEXT", "one"},
        {"click", "IDOK"}, {"click", "IDC_FIND_PREVIOUS"}, {"focus", "IDC_RICHEDIT"}, {"type", "Z"},
        {"click", "IDCANCEL"}},
       "{{{\\H2.5;one two Z}}}"},
      // Case is ignored unless asked for; whole words leave parts of words alone.
      {"match case and whole word",
       {{"focus", "IDC_RICHEDIT"}, {"type", "Aa aa aab"}, {"key", "ctrl+h"}, {"edit", "IDC_FIND_TEXT", "aa"},
        {"edit", "IDC_REPLACE_TEXT", "x"}, {"click", "IDC_MATCH_CASE"}, {"click", "IDC_WHOLE_WORD"},
        {"click", "IDC_REPLACE_ALL"}, {"click", "IDCANCEL"}},
       "{{{\\H2.5;Aa x aab}}}"},
      // Replace takes the selected match and moves on; the next one is replaced by the next click.
      {"replace one by one",
       {{"focus", "IDC_RICHEDIT"}, {"type", "a a a"}, {"key", "ctrl+h"}, {"edit", "IDC_FIND_TEXT", "a"},
        {"edit", "IDC_REPLACE_TEXT", "b"}, {"click", "IDOK"}, {"click", "IDC_REPLACE"}, {"click", "IDC_REPLACE"},
        {"click", "IDCANCEL"}},
       "{{{\\H2.5;b b a}}}"},
  };
  for (const KeyCase& c : cases) {
    SCOPED_TRACE(c.name);
    qhost::CloseDocument();
    qhost::ResetSession();
    qhost::OpenDocument(std::make_unique<AcDbDatabase>());
    theEditTarget = EditTarget();
    CreateMText("");
    const size_t errors = qwin::InputErrors().size();
    for (const auto& event : c.events) Event(event[0], std::vector<std::string>(event.begin() + 1, event.end()));
    MTextEditorDialog modal;
    EXPECT_EQ(modal.DoModal(), IDCANCEL);
    for (size_t i = errors; i < qwin::InputErrors().size(); ++i) ADD_FAILURE() << qwin::InputErrors()[i];
    EXPECT_EQ(Contents(), c.contents);
  }
}

TEST_F(FindWindowKeys, FindModeHidesTheReplaceControls) {
  OpenEditor();
  FindDialog find(dialog->m_richEdit);
  find.Show(dialog.get(), FindDialog::Mode::kFind);
  CString caption;
  find.GetWindowText(caption);
  EXPECT_STREQ(caption, "Найти");
  EXPECT_FALSE(find.GetDlgItem(IDC_REPLACE_ALL)->IsWindowVisible());
  EXPECT_FALSE(find.GetDlgItem(IDC_REPLACE_TEXT)->IsWindowVisible());
  find.Show(dialog.get(), FindDialog::Mode::kReplace);
  find.GetWindowText(caption);
  EXPECT_STREQ(caption, "Заменить");
  EXPECT_TRUE(find.GetDlgItem(IDC_REPLACE_ALL)->IsWindowVisible());
}

// ---- Replacing (the window driven directly) ----

TEST_F(FindWindowReplace, ReplaceAllIsOneUndoStepAndOneWrite) {
  OpenEditor();
  TypeInto(dialog->m_richEdit, "a-b-a-b-a");
  const CString before = dialog->m_richEdit.GetRtf();
  const std::string contentsBefore = Contents();
  FindDialog find(dialog->m_richEdit);
  find.Show(dialog.get(), FindDialog::Mode::kReplace);
  find.SetDlgItemText(IDC_FIND_TEXT, "a");
  find.SetDlgItemText(IDC_REPLACE_TEXT, "XX");
  const int writes = Writes();
  EXPECT_EQ(find.ReplaceAll(), 3u);
  EXPECT_EQ(Contents(), "{{{\\H2.5;XX-b-XX-b-XX}}}");
  EXPECT_EQ(Writes() - writes, 1);
  dialog->m_richEdit.Undo();
  EXPECT_BYTES_EQ(std::string(dialog->m_richEdit.GetRtf()), std::string(before));
  EXPECT_EQ(Contents(), contentsBefore);
}

TEST_F(FindWindowReplace, CodeTextIsNeverMatchedNorBroken) {
  OpenEditor();
  HostColors colors;
  MTextToRtfEditTarget target(theEditTarget);
  MTextRtfConverter converter(colors, target);
  // \U+00D8 and the stack are code text in the editor; "1/2" outside the stack is text.
  dialog->m_richEdit.SetRtf(converter.MTextToRtf("x\\U+00D8y 1/2 \\S1/2;"));
  FindDialog find(dialog->m_richEdit);
  find.Show(dialog.get(), FindDialog::Mode::kReplace);

  find.SetDlgItemText(IDC_FIND_TEXT, "1/2");
  ASSERT_TRUE(find.FindNext(true));
  long start = 0, end = 0;
  dialog->m_richEdit.GetSel(start, end);
  EXPECT_EQ(start, 10);
  EXPECT_EQ(end, 13);
  ASSERT_TRUE(find.FindNext(true));  // the only match again: the stack's code is no text
  dialog->m_richEdit.GetSel(start, end);
  EXPECT_EQ(start, 10);

  Event("answer", {"ok"});  // "Не найдено": code is never matched
  find.SetDlgItemText(IDC_FIND_TEXT, "U+00D8");
  EXPECT_FALSE(find.FindNext(true));

  // A match across code text: the replacement stands where its first character stood, the code stays.
  find.SetDlgItemText(IDC_FIND_TEXT, "xy");
  find.SetDlgItemText(IDC_REPLACE_TEXT, "Q");
  EXPECT_EQ(find.ReplaceAll(), 1u);
  CString shown;
  dialog->m_richEdit.GetWindowText(shown);
  EXPECT_STREQ(shown, "Q\\U+00D8 1/2 \\S1/2;");
  EXPECT_EQ(Contents(), "{{{\\H2.5;Q}}{{\\H2.5;\\U+00D8}}{{\\H2.5; 1/2 }}{{\\H2.5;\\S1/2;}}}");
  EXPECT_TRUE(qwin::InputErrors().empty());
}

}  // namespace
