// Character and paragraph formats of the selection and the default: the mask semantics of the real control.
#include "EngineFixture.h"
#include "support/Bytes.h"

#include <gtest/gtest.h>

using namespace qplatform;

namespace {

constexpr DWORD kFullMask = 0xF800001F;  // CFM_ALL of the version 1.0 interface

// The dialog's toggle: flip a uniform effect, set a mixed one, write with that mask bit only.
void Toggle(EngineFixture& f, DWORD bit) {
  CHARFORMAT cf = GetSelectionFormat(f.send);
  if (cf.dwMask & bit) cf.dwEffects ^= bit;
  else cf.dwEffects |= bit;
  cf.dwMask = bit;
  SetSelectionFormat(f.send, cf);
}

}  // namespace

TEST(EmGetCharFormat, ClearsTheMaskBitOfEachMixedAttribute) {
  struct Case {
    const char* name;
    CHARFORMAT second;  // applied to the second of two characters
    DWORD cleared;
  };
  const Case cases[] = {
      {"bold", MakeCharFormat(CFM_BOLD, CFE_BOLD), CFM_BOLD},
      {"italic", MakeCharFormat(CFM_ITALIC, CFE_ITALIC), CFM_ITALIC},
      {"underline", MakeCharFormat(CFM_UNDERLINE, CFE_UNDERLINE), CFM_UNDERLINE},
      {"strike-out", MakeCharFormat(CFM_STRIKEOUT, CFE_STRIKEOUT), CFM_STRIKEOUT},
      {"colour", ColorFormat(RGB(1, 2, 3)), CFM_COLOR},
      {"explicit black against automatic", ColorFormat(RGB(0, 0, 0)), CFM_COLOR},
      {"size", SizeFormat(300), CFM_SIZE},
      {"face", FaceFormat("Arial"), CFM_FACE},
      {"pitch and family alone", FaceFormat("MS Sans Serif", 0, 0x22), CFM_FACE},
      {"character set", FaceFormat("MS Sans Serif", 204, 0), CFM_CHARSET},
      {"two attributes at once", MakeCharFormat(CFM_BOLD | CFM_ITALIC, CFE_BOLD | CFE_ITALIC), CFM_BOLD | CFM_ITALIC},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EngineFixture f;
    TypeText(f.send, "ab");
    Format(f, 1, 2, c.second);
    SetSelection(f.send, 0, 2);
    const CHARFORMAT got = GetSelectionFormat(f.send);
    EXPECT_EQ(kFullMask & ~c.cleared, got.dwMask);
    EXPECT_EQ(kFullMask & ~c.cleared, static_cast<DWORD>(f.engine.Message(EM_GETCHARFORMAT, SCF_SELECTION,
                                                                          reinterpret_cast<LPARAM>(&got))));
    // The values are the first character's.
    EXPECT_EQ(0u, got.dwEffects & (CFE_BOLD | CFE_ITALIC));
    EXPECT_STREQ("MS Sans Serif", got.szFaceName);
    EXPECT_EQ(165, got.yHeight);
    EXPECT_EQ(sizeof(CHARFORMAT), got.cbSize);
  }
}

TEST(EmGetCharFormat, ReportsAUniformSelectionWithTheFullMask) {
  EngineFixture f;
  TypeText(f.send, "abc\ndef");
  Format(f, 0, -1, FaceFormat("Arial", 204, 0x22));
  Format(f, 0, 3, MakeCharFormat(CFM_BOLD, CFE_BOLD));
  // The paragraph mark between them differs, but marks count only when nothing else is selected.
  Format(f, 5, 8, MakeCharFormat(CFM_BOLD, CFE_BOLD));
  SetSelection(f.send, 0, 8);
  const CHARFORMAT cf = GetSelectionFormat(f.send);
  EXPECT_EQ(kFullMask, cf.dwMask);
  EXPECT_EQ(static_cast<DWORD>(CFE_BOLD | CFE_AUTOCOLOR), cf.dwEffects);
  EXPECT_STREQ("Arial", cf.szFaceName);
  EXPECT_EQ(204, cf.bCharSet);
  EXPECT_EQ(0x22, cf.bPitchAndFamily);
}

TEST(EmSetCharFormat, ToggleMakesAPartlyBoldSelectionBoldThenRegular) {
  EngineFixture f;
  TypeText(f.send, "abcd");
  Format(f, 1, 2, MakeCharFormat(CFM_BOLD, CFE_BOLD));
  SetSelection(f.send, 0, 4);
  Toggle(f, CFM_BOLD);
  EXPECT_BYTES_EQ(DialectStream("", "", "\\pard\\plain\\f0\\fs17\\b abcd\r\n\\par "), StreamOutRtf(f.send));
  Toggle(f, CFM_BOLD);
  EXPECT_BYTES_EQ(DialectStream("", "", "\\pard\\plain\\f0\\fs17 abcd\r\n\\par "), StreamOutRtf(f.send));
}

TEST(EmSetCharFormat, AtTheCaretWaitsForTheNextTypedCharacter) {
  EngineFixture f;
  TypeText(f.send, "ab");
  const std::string before = StreamOutRtf(f.send);
  SetSelection(f.send, 1, 1);
  SetSelectionFormat(f.send, MakeCharFormat(CFM_ITALIC, CFE_ITALIC));
  EXPECT_BYTES_EQ(before, StreamOutRtf(f.send));
  EXPECT_TRUE(GetSelectionFormat(f.send).dwEffects & CFE_ITALIC);
  TypeText(f.send, "XY");
  EXPECT_BYTES_EQ(DialectStream("", "", "\\pard\\plain\\f0\\fs17 a\\plain\\f0\\fs17\\i XY\\plain\\f0\\fs17 b\r\n\\par "),
                  StreamOutRtf(f.send));
  // Moving the caret forgets a waiting format.
  SetSelection(f.send, 0, 0);
  SetSelectionFormat(f.send, MakeCharFormat(CFM_BOLD, CFE_BOLD));
  SetSelection(f.send, 0, 0);
  EXPECT_FALSE(GetSelectionFormat(f.send).dwEffects & CFE_BOLD);
}

TEST(EmSetCharFormat, WithWordFormatsTheWordAtTheCaret) {
  EngineFixture f;
  TypeText(f.send, "one two three");
  SetSelection(f.send, 5, 5);
  const CHARFORMAT bold = MakeCharFormat(CFM_BOLD, CFE_BOLD);
  f.engine.Message(EM_SETCHARFORMAT, SCF_SELECTION | SCF_WORD, reinterpret_cast<LPARAM>(&bold));
  EXPECT_BYTES_EQ(
      DialectStream("", "", "\\pard\\plain\\f0\\fs17 one \\plain\\f0\\fs17\\b two\\plain\\f0\\fs17  three\r\n\\par "),
      StreamOutRtf(f.send));
}

TEST(EmSetCharFormat, DefaultFormatShowsInAnEmptyControlOnly) {
  EngineFixture f;
  EXPECT_STREQ("MS Sans Serif", GetDefaultFormat(f.send).szFaceName);
  EXPECT_EQ(165, GetDefaultFormat(f.send).yHeight);
  SetDefaultFormat(f.send, SizeFormat(420));
  EXPECT_EQ(420, GetDefaultFormat(f.send).yHeight);
  TypeText(f.send, "a");
  SetDefaultFormat(f.send, SizeFormat(200));
  EXPECT_BYTES_EQ(DialectStream("", "", "\\pard\\plain\\f0\\fs42 a\r\n\\par "), StreamOutRtf(f.send));
  // The window text comes in the default format.
  SetText(f.send, "b");
  EXPECT_BYTES_EQ(DialectStream("", "", "\\pard\\plain\\f0\\fs20 b\r\n\\par "), StreamOutRtf(f.send));
}

TEST(EmSetCharFormat, RefusesARecordWithoutItsSize) {
  EngineFixture f;
  TypeText(f.send, "a");
  SetSelection(f.send, 0, 1);
  CHARFORMAT cf = MakeCharFormat(CFM_BOLD, CFE_BOLD);
  cf.cbSize = 0;
  EXPECT_EQ(0, f.engine.Message(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf)));
  EXPECT_EQ(0, f.engine.Message(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf)));
  EXPECT_FALSE(GetSelectionFormat(f.send).dwEffects & CFE_BOLD);
}

TEST(EmGetParaFormat, ClearsTheMaskOfMixedParagraphs) {
  EngineFixture f;
  TypeText(f.send, "a\nb");
  PARAFORMAT centre = MakeParaFormat(PFM_ALIGNMENT);
  centre.wAlignment = PFA_CENTER;
  SetSelection(f.send, 0, 0);
  SetParaFormat(f.send, centre);
  SetSelection(f.send, 0, 4);
  PARAFORMAT pf = GetParaFormat(f.send);
  EXPECT_EQ(static_cast<DWORD>(PFM_STARTINDENT | PFM_RIGHTINDENT | PFM_OFFSET | PFM_TABSTOPS | PFM_NUMBERING), pf.dwMask);
  EXPECT_EQ(PFA_CENTER, pf.wAlignment);
  EXPECT_EQ(sizeof(PARAFORMAT), pf.cbSize);
  SetSelection(f.send, 3, 4);
  EXPECT_EQ(PFA_LEFT, GetParaFormat(f.send).wAlignment);
}

TEST(EmSetParaFormat, RemovesNumberingAndIndentsAsTheDialogDoesAfterAPaste) {
  EngineFixture f;
  StreamInRtf(f.send,
              "{\\rtf1{\\fonttbl{\\f0\\fnil MS Sans Serif;}}\\pard\\li200\\fi-200{\\*\\pn\\pnlvlblt}one\\par two\\par "
              "\\pard three\\par }");
  SetSelection(f.send, 0, 8);
  PARAFORMAT pf = GetParaFormat(f.send);
  EXPECT_EQ(PFN_BULLET, pf.wNumbering);
  pf.wNumbering = 0;
  pf.dxStartIndent = 0;
  pf.dxOffset = 0;
  pf.dwMask = 0x25;
  SetParaFormat(f.send, pf);
  EXPECT_BYTES_EQ(DialectStream("", "", "\\pard\\plain\\f0\\fs17 one\r\n\\par two\r\n\\par three\r\n\\par "),
                  StreamOutRtf(f.send));
}

TEST(EmSetBkgndColor, ReturnsThePreviousColour) {
  EngineFixture f;
  EXPECT_EQ(static_cast<LRESULT>(RGB(255, 255, 255)), f.engine.Message(EM_SETBKGNDCOLOR, 0, RGB(10, 20, 30)));
  EXPECT_EQ(static_cast<LRESULT>(RGB(10, 20, 30)), f.engine.Message(EM_SETBKGNDCOLOR, 1, 0));
  EXPECT_EQ(static_cast<LRESULT>(RGB(255, 255, 255)), f.engine.Message(EM_SETBKGNDCOLOR, 0, RGB(1, 1, 1)));
}
