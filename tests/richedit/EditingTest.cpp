// Editing: window text, keys, the selection, the clipboard, undo and the text limit.
#include "EngineFixture.h"
#include "support/Bytes.h"

#include <gtest/gtest.h>

using namespace qplatform;

namespace {

std::string Selection(EngineFixture& f) {
  const CHARRANGE range = GetSelection(f.send);
  return std::to_string(range.cpMin) + ".." + std::to_string(range.cpMax);
}

}  // namespace

TEST(WmGetText, JoinsParagraphsWithCrLf) {
  EngineFixture f;
  TypeText(f.send, "one\ntwo\n\nthree");
  EXPECT_EQ("one\r\ntwo\r\n\r\nthree", GetText(f.send));
  EXPECT_EQ(17, f.engine.Message(WM_GETTEXTLENGTH, 0, 0));
  char small[5];
  EXPECT_EQ(4, f.engine.Message(WM_GETTEXT, sizeof small, reinterpret_cast<LPARAM>(small)));
  EXPECT_STREQ("one\r", small);
  SetText(f.send, "a\nb\rc\r\nd");
  EXPECT_EQ("a\r\nb\r\nc\r\nd", GetText(f.send));
  EXPECT_EQ(4, f.engine.Message(EM_GETLINECOUNT, 0, 0));
  EXPECT_EQ(6, f.engine.Message(EM_LINEINDEX, 2, 0));
  EXPECT_EQ(2, f.engine.Message(EM_LINEFROMCHAR, 7, 0));
}

TEST(RichEditKeys, MoveAndEdit) {
  struct Case {
    const char* name;
    std::string text;  // typed first; the caret ends behind it
    LONG selMin, selMax;
    std::vector<int> modifiers;
    int key;
    std::string expectedText;
    std::string expectedSelection;
  };
  const std::vector<Case> cases = {
      // A paragraph mark is one step of two characters.
      {"left over a mark", "ab\ncd", 4, 4, {}, VK_LEFT, "ab\r\ncd", "2..2"},
      {"right over a mark", "ab\ncd", 2, 2, {}, VK_RIGHT, "ab\r\ncd", "4..4"},
      {"shift right extends", "abc", 0, 0, {VK_SHIFT}, VK_RIGHT, "abc", "0..1"},
      {"shift left extends from the caret", "abc", 3, 3, {VK_SHIFT}, VK_LEFT, "abc", "2..3"},
      {"left collapses a selection", "abc", 1, 3, {}, VK_LEFT, "abc", "1..1"},
      {"right collapses a selection", "abc", 0, 2, {}, VK_RIGHT, "abc", "2..2"},
      {"home and end of the paragraph", "ab\ncd", 5, 5, {}, VK_HOME, "ab\r\ncd", "4..4"},
      {"end", "ab\ncd", 0, 0, {}, VK_END, "ab\r\ncd", "2..2"},
      {"shift end", "ab\ncd", 4, 4, {VK_SHIFT}, VK_END, "ab\r\ncd", "4..6"},
      {"ctrl home", "ab\ncd", 5, 5, {VK_CONTROL}, VK_HOME, "ab\r\ncd", "0..0"},
      {"ctrl end", "ab\ncd", 0, 0, {VK_CONTROL}, VK_END, "ab\r\ncd", "6..6"},
      {"ctrl right to the next word", "one two", 0, 0, {VK_CONTROL}, VK_RIGHT, "one two", "4..4"},
      {"ctrl left to the word start", "one two", 7, 7, {VK_CONTROL}, VK_LEFT, "one two", "4..4"},
      {"up keeps the column", "abc\nde", 7, 7, {}, VK_UP, "abc\r\nde", "2..2"},
      {"down clamps to the line", "abc\nde", 3, 3, {}, VK_DOWN, "abc\r\nde", "7..7"},
      {"up on the first line stays", "abc", 1, 1, {}, VK_UP, "abc", "1..1"},
      {"backspace", "abc", 3, 3, {}, VK_BACK, "ab", "2..2"},
      {"backspace joins paragraphs", "ab\ncd", 4, 4, {}, VK_BACK, "abcd", "2..2"},
      {"backspace at the start", "ab", 0, 0, {}, VK_BACK, "ab", "0..0"},
      {"delete joins paragraphs", "ab\ncd", 2, 2, {}, VK_DELETE, "abcd", "2..2"},
      {"delete at the end", "ab", 2, 2, {}, VK_DELETE, "ab", "2..2"},
      {"delete a selection", "abcd", 1, 3, {}, VK_DELETE, "ad", "1..1"},
      {"enter splits", "abcd", 2, 2, {}, VK_RETURN, "ab\r\ncd", "4..4"},
      {"enter replaces a selection", "abcd", 1, 3, {}, VK_RETURN, "a\r\nd", "3..3"},
      {"ctrl a", "ab\ncd", 1, 1, {VK_CONTROL}, 'A', "ab\r\ncd", "0..6"},
      {"ctrl z", "abc", 3, 3, {VK_CONTROL}, 'Z', "", "0..0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EngineFixture f;
    TypeText(f.send, c.text);
    SetSelection(f.send, c.selMin, c.selMax);
    for (int key : c.modifiers) f.host.keysDown[key] = true;
    PressKey(f.send, c.key);
    EXPECT_EQ(c.expectedText, GetText(f.send));
    EXPECT_EQ(c.expectedSelection, Selection(f));
  }
}

TEST(RichEditKeys, TabIsTypedAndControlCharactersAreNot) {
  EngineFixture f;
  TypeText(f.send, "a\tb");
  for (int c : {0x01, 0x08, 0x0D, 0x1B, 0x7F}) f.engine.Message(WM_CHAR, c, 0);
  EXPECT_EQ("a\tb", GetText(f.send));
}

TEST(RichEditKeys, EnterKeepsTheParagraphFormatInBothHalves) {
  EngineFixture f;
  TypeText(f.send, "abcd");
  PARAFORMAT centre = MakeParaFormat(PFM_ALIGNMENT);
  centre.wAlignment = PFA_CENTER;
  SetParaFormat(f.send, centre);
  SetSelection(f.send, 2, 2);
  PressKey(f.send, VK_RETURN);
  EXPECT_BYTES_EQ(DialectStream("", "", "\\pard\\qc\\plain\\f0\\fs17 ab\r\n\\par cd\r\n\\par "), StreamOutRtf(f.send));
}

TEST(RichEditKeys, ReadOnlyRefusesEdits) {
  EngineFixture f;
  TypeText(f.send, "ab");
  f.engine.Message(EM_SETREADONLY, TRUE, 0);
  TypeText(f.send, "c\n");
  PressKey(f.send, VK_BACK);
  f.host.clipboard[CF_TEXT] = "x";
  f.engine.Message(WM_PASTE, 0, 0);
  EXPECT_EQ("ab", GetText(f.send));
}

TEST(RichEditSelection, SnapsOutOfParagraphMarksAndClamps) {
  EngineFixture f;
  TypeText(f.send, "ab\ncd");
  SetSelection(f.send, 3, 3);
  EXPECT_EQ("2..2", Selection(f));
  SetSelection(f.send, 1, 3);
  EXPECT_EQ("1..4", Selection(f));
  SetSelection(f.send, 5, 100);
  EXPECT_EQ("5..6", Selection(f));
  f.engine.Message(EM_SETSEL, 0, -1);
  EXPECT_EQ("0..6", Selection(f));
  DWORD start = 0, end = 0;
  EXPECT_EQ(MAKELONG(0, 6), f.engine.Message(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end)));
  EXPECT_EQ(6u, end);
  f.engine.Message(EM_SETSEL, static_cast<WPARAM>(-1), 0);
  EXPECT_EQ("6..6", Selection(f));
  EXPECT_EQ(SEL_EMPTY, f.engine.Message(EM_SELECTIONTYPE, 0, 0));
}

TEST(RichEditClipboard, CopiesTextAndRtfAndPastesRtfFirst) {
  EngineFixture f;
  TypeText(f.send, "one\ntwo");
  SetSelection(f.send, 2, 7);
  SetSelectionFormat(f.send, MakeCharFormat(CFM_BOLD, CFE_BOLD));
  f.engine.Message(WM_COPY, 0, 0);
  EXPECT_EQ("e\r\ntw", f.host.clipboard[CF_TEXT]);
  EXPECT_BYTES_EQ(DialectStream("", "", "\\pard\\plain\\f0\\fs17\\b e\r\n\\par tw"), f.host.clipboard[RecordingHost::kRtfFormat]);

  // Pasting the RTF keeps the formatting.
  SetSelection(f.send, 0, 0);
  f.engine.Message(WM_PASTE, 0, 0);
  EXPECT_EQ("e\r\ntwone\r\ntwo", GetText(f.send));
  EXPECT_EQ("5..5", Selection(f));
  EXPECT_BYTES_EQ(DialectStream("", "",
                                "\\pard\\plain\\f0\\fs17\\b e\r\n\\par tw\\plain\\f0\\fs17 on\\plain\\f0\\fs17\\b e\r\n\\par "
                                "tw\\plain\\f0\\fs17 o\r\n\\par "),
                  StreamOutRtf(f.send));

  // Plain text only: pasted in the format at the caret.
  f.host.clipboard.erase(RecordingHost::kRtfFormat);
  f.host.clipboard[CF_TEXT] = std::string("x\ny\0junk", 8);
  SetSelection(f.send, 0, 0);
  EXPECT_EQ(TRUE, f.engine.Message(EM_CANPASTE, 0, 0));
  f.engine.Message(WM_PASTE, 0, 0);
  EXPECT_EQ("x\r\nye\r\ntwone\r\ntwo", GetText(f.send));

  // Cut takes the selection away.
  SetSelection(f.send, 0, 4);
  f.engine.Message(WM_CUT, 0, 0);
  EXPECT_EQ("x\r\ny", f.host.clipboard[CF_TEXT]);
  EXPECT_EQ("e\r\ntwone\r\ntwo", GetText(f.send));

  f.host.clipboard.clear();
  EXPECT_EQ(FALSE, f.engine.Message(EM_CANPASTE, 0, 0));
  f.engine.Message(WM_PASTE, 0, 0);
  EXPECT_EQ("e\r\ntwone\r\ntwo", GetText(f.send));
}

TEST(RichEditClipboard, KeysCopyCutAndPaste) {
  EngineFixture f;
  TypeText(f.send, "abc");
  SetSelection(f.send, 0, 1);
  f.host.keysDown[VK_CONTROL] = true;
  PressKey(f.send, 'C');
  EXPECT_EQ("a", f.host.clipboard[CF_TEXT]);
  SetSelection(f.send, 1, 2);
  PressKey(f.send, 'X');
  EXPECT_EQ("ac", GetText(f.send));
  PressKey(f.send, 'V');
  PressKey(f.send, 'V');
  EXPECT_EQ("abbc", GetText(f.send));
}

TEST(EmUndo, UndoesOneActionAndASecondUndoRedoesIt) {
  EngineFixture f;
  EXPECT_EQ(FALSE, f.engine.Message(EM_CANUNDO, 0, 0));
  TypeText(f.send, "abc");
  EXPECT_EQ(TRUE, f.engine.Message(EM_CANUNDO, 0, 0));
  // Characters typed one after another are one action.
  f.engine.Message(EM_UNDO, 0, 0);
  EXPECT_EQ("", GetText(f.send));
  f.engine.Message(EM_UNDO, 0, 0);
  EXPECT_EQ("abc", GetText(f.send));
  EXPECT_EQ("3..3", Selection(f));

  // A caret move starts a new action; only the last one is undone.
  PressKey(f.send, VK_LEFT);
  TypeText(f.send, "X");
  f.engine.Message(EM_UNDO, 0, 0);
  EXPECT_EQ("abc", GetText(f.send));

  // A format change is an action too.
  SetSelection(f.send, 0, 3);
  const std::string plain = StreamOutRtf(f.send);
  SetSelectionFormat(f.send, MakeCharFormat(CFM_ITALIC, CFE_ITALIC));
  f.engine.Message(EM_UNDO, 0, 0);
  EXPECT_BYTES_EQ(plain, StreamOutRtf(f.send));

  // Loading new contents empties the buffer.
  StreamInRtf(f.send, "{\\rtf1 new}");
  EXPECT_EQ(FALSE, f.engine.Message(EM_CANUNDO, 0, 0));
  EXPECT_EQ(FALSE, f.engine.Message(EM_UNDO, 0, 0));
}

TEST(EmReplaceSel, InsertsInTheFormatAtTheCaret) {
  EngineFixture f;
  TypeText(f.send, "ad");
  SetSelection(f.send, 0, 1);
  SetSelectionFormat(f.send, MakeCharFormat(CFM_BOLD, CFE_BOLD));
  SetSelection(f.send, 1, 1);
  ReplaceSelection(f.send, "b\nc");
  EXPECT_EQ("ab\r\ncd", GetText(f.send));
  EXPECT_EQ("5..5", Selection(f));
  EXPECT_BYTES_EQ(DialectStream("", "", "\\pard\\plain\\f0\\fs17\\b ab\r\n\\par c\\plain\\f0\\fs17 d\r\n\\par "),
                  StreamOutRtf(f.send));
}
