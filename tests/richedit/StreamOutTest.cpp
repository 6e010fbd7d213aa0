// The RTF the control streams out: the dialect byte for byte, point by point.
#include "EngineFixture.h"
#include "support/Bytes.h"

#include <gtest/gtest.h>

using namespace qplatform;

namespace {

void Paragraphs(EngineFixture& f, LONG from, LONG to, const PARAFORMAT& pf) {
  SetSelection(f.send, from, to);
  SetParaFormat(f.send, pf);
}

CHARFORMAT Effects(DWORD effects) { return MakeCharFormat(CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT, effects); }

CHARFORMAT Offset(LONG twips) {
  CHARFORMAT cf = MakeCharFormat(CFM_OFFSET);
  cf.yOffset = twips;
  return cf;
}

PARAFORMAT Alignment(WORD alignment) {
  PARAFORMAT pf = MakeParaFormat(PFM_ALIGNMENT);
  pf.wAlignment = alignment;
  return pf;
}

PARAFORMAT Indents(LONG start, LONG offset, LONG right) {
  PARAFORMAT pf = MakeParaFormat(PFM_STARTINDENT | PFM_OFFSET | PFM_RIGHTINDENT);
  pf.dxStartIndent = start;
  pf.dxOffset = offset;
  pf.dxRightIndent = right;
  return pf;
}

PARAFORMAT Tabs(std::initializer_list<LONG> tabs) {
  PARAFORMAT pf = MakeParaFormat(PFM_TABSTOPS);
  for (LONG tab : tabs) pf.rgxTabs[pf.cTabCount++] = tab;
  return pf;
}

PARAFORMAT Bullet(LONG offset) {
  PARAFORMAT pf = MakeParaFormat(PFM_NUMBERING | PFM_OFFSET);
  pf.wNumbering = PFN_BULLET;
  pf.dxOffset = offset;
  return pf;
}

struct Case {
  const char* name;
  std::function<void(EngineFixture&)> build;
  std::string expected;
};

void RunCases(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EngineFixture f;
    c.build(f);
    EXPECT_BYTES_EQ(c.expected, StreamOutRtf(f.send));
  }
}

}  // namespace

TEST(EmStreamOut, WritesTheEmptyDocument) {
  EngineFixture f;
  EXPECT_BYTES_EQ(
      "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fnil MS Sans Serif;}{\\f1\\froman\\fcharset2 Symbol;}}\r\n"
      "{\\colortbl\\red0\\green0\\blue0;}\r\n"
      "\\deflang1049\\pard\\plain\\f0\\fs17 \r\n"
      "\\par }\r\n",
      StreamOutRtf(f.send));
}

TEST(EmStreamOut, WritesRunsAndParagraphs) {
  RunCases({
      // A run header at the start, exactly one space, then the text.
      {"one run", [](EngineFixture& f) { TypeText(f.send, "Hello"); },
       DialectStream("", "", "\\pard\\plain\\f0\\fs17 Hello\r\n\\par ")},
      // A paragraph whose first character has the previous character's format follows \par directly.
      {"two paragraphs", [](EngineFixture& f) { TypeText(f.send, "A\nB"); },
       DialectStream("", "", "\\pard\\plain\\f0\\fs17 A\r\n\\par B\r\n\\par ")},
      {"empty paragraphs", [](EngineFixture& f) { TypeText(f.send, "\n\nC"); },
       DialectStream("", "", "\\pard\\plain\\f0\\fs17 \r\n\\par \r\n\\par C\r\n\\par ")},
      // A header wherever the format changes; its space is followed by the text's own space.
      {"a bold word", [](EngineFixture& f) {
         TypeText(f.send, "one two three");
         Format(f, 4, 7, Effects(CFE_BOLD));
       },
       DialectStream("", "", "\\pard\\plain\\f0\\fs17 one \\plain\\f0\\fs17\\b two\\plain\\f0\\fs17  three\r\n\\par ")},
      {"a new format at a paragraph start", [](EngineFixture& f) {
         TypeText(f.send, "Hi\nthere");
         Format(f, 4, 9, Effects(CFE_BOLD));
       },
       DialectStream("", "", "\\pard\\plain\\f0\\fs17 Hi\r\n\\par \\plain\\f0\\fs17\\b there\r\n\\par ")},
      // Long lines are never wrapped.
      {"a long line", [](EngineFixture& f) { TypeText(f.send, std::string(300, 'x')); },
       DialectStream("", "", "\\pard\\plain\\f0\\fs17 " + std::string(300, 'x') + "\r\n\\par ")},
  });
}

TEST(EmStreamOut, WritesTheParagraphMarksOwnFormat) {
  RunCases({
      // The mark keeps the format it had: a header with no text stands before the CR LF.
      {"mark differs from the text", [](EngineFixture& f) {
         TypeText(f.send, "Hi\nthere");
         Format(f, 0, 2, FaceFormat("Arial", 0, 0x22));
       },
       DialectStream("{\\f2\\fswiss\\fprq2 Arial;}", "",
              "\\pard\\plain\\f2\\fs17 Hi\\plain\\f0\\fs17 \r\n\\par there\r\n\\par ")},
      // A selection that reaches the end of the text formats the last mark with it.
      {"select all and format", [](EngineFixture& f) {
         TypeText(f.send, "Hi");
         Format(f, 0, -1, SizeFormat(240));
       },
       DialectStream("", "", "\\pard\\plain\\f0\\fs24 Hi\r\n\\par ")},
      {"text formatted short of the end", [](EngineFixture& f) {
         TypeText(f.send, "Hi");
         Format(f, 0, 1, SizeFormat(240));
       },
       DialectStream("", "", "\\pard\\plain\\f0\\fs24 H\\plain\\f0\\fs17 i\r\n\\par ")},
      // An empty paragraph is its mark: one header at its start, none before the CR LF.
      {"an empty paragraph with its own format", [](EngineFixture& f) {
         TypeText(f.send, "A\n\nB");
         Format(f, 3, 5, Effects(CFE_ITALIC));
       },
       DialectStream("", "", "\\pard\\plain\\f0\\fs17 A\r\n\\par \\plain\\f0\\fs17\\i \r\n\\par \\plain\\f0\\fs17 B\r\n\\par ")},
  });
}

TEST(EmStreamOut, WritesColours) {
  RunCases({
      // Automatic colour writes no \cf; explicit black is \cf0; others in order of first use.
      {"auto, black and red", [](EngineFixture& f) {
         TypeText(f.send, "r k a");
         Format(f, 0, 1, ColorFormat(RGB(255, 0, 0)));
         Format(f, 2, 3, ColorFormat(RGB(0, 0, 0)));
       },
       DialectStream("", "\\red255\\green0\\blue0;",
              "\\pard\\plain\\f0\\fs17\\cf1 r\\plain\\f0\\fs17  \\plain\\f0\\fs17\\cf0 k\\plain\\f0\\fs17  a\r\n\\par ")},
      {"order of first use", [](EngineFixture& f) {
         TypeText(f.send, "bbrrbb");
         Format(f, 0, 2, ColorFormat(RGB(0, 0, 255)));
         Format(f, 2, 4, ColorFormat(RGB(128, 0, 64)));
         Format(f, 4, 6, ColorFormat(RGB(0, 0, 255)));
       },
       DialectStream("", "\\red0\\green0\\blue255;\\red128\\green0\\blue64;",
              "\\pard\\plain\\f0\\fs17\\cf1 bb\\plain\\f0\\fs17\\cf2 rr\\plain\\f0\\fs17\\cf1 bb\r\n\\par ")},
      {"back to automatic", [](EngineFixture& f) {
         TypeText(f.send, "ab");
         Format(f, 0, 2, ColorFormat(RGB(0, 128, 0)));
         Format(f, 1, 2, MakeCharFormat(CFM_COLOR, CFE_AUTOCOLOR));
       },
       DialectStream("", "\\red0\\green128\\blue0;", "\\pard\\plain\\f0\\fs17\\cf1 a\\plain\\f0\\fs17 b\r\n\\par ")},
  });
}

TEST(EmStreamOut, WritesFontsWithFamilyPitchAndCharacterSet) {
  RunCases({
      // \fprq and \fcharset only when not 0, \fprq first; numbered from 2 in order of first use.
      {"families", [](EngineFixture& f) {
         TypeText(f.send, "abcdef");
         Format(f, 0, 1, FaceFormat("Arial", 204, 0x22));
         Format(f, 1, 2, FaceFormat("Times New Roman", 0, 0x12));
         Format(f, 2, 3, FaceFormat("Courier New", 0, 0x31));
         Format(f, 3, 4, FaceFormat("Script", 0, 0x40));
         Format(f, 4, 5, FaceFormat("Wingdings", 2, 0x50));
         Format(f, 5, 6, FaceFormat("Fixedsys", 0, 0x00));
       },
       DialectStream("{\\f2\\fswiss\\fprq2\\fcharset204 Arial;}{\\f3\\froman\\fprq2 Times New Roman;}"
              "{\\f4\\fmodern\\fprq1 Courier New;}{\\f5\\fscript Script;}{\\f6\\fdecor\\fcharset2 Wingdings;}"
              "{\\f7\\fnil Fixedsys;}",
              "",
              "\\pard\\plain\\f2\\fs17 a\\plain\\f3\\fs17 b\\plain\\f4\\fs17 c\\plain\\f5\\fs17 d\\plain\\f6\\fs17 "
              "e\\plain\\f7\\fs17 f\r\n\\par ")},
      // One face with two character sets makes two entries; MS Sans Serif is always font 0.
      {"charsets and the default face", [](EngineFixture& f) {
         TypeText(f.send, "abc");
         Format(f, 0, 1, FaceFormat("Arial", 204, 0x22));
         Format(f, 1, 2, FaceFormat("Arial", 0, 0x22));
         Format(f, 2, 3, FaceFormat("MS Sans Serif", 204, 0x22));
       },
       DialectStream("{\\f2\\fswiss\\fprq2\\fcharset204 Arial;}{\\f3\\fswiss\\fprq2 Arial;}", "",
              "\\pard\\plain\\f2\\fs17 a\\plain\\f3\\fs17 b\\plain\\f0\\fs17 c\r\n\\par ")},
      {"face name bytes above 0x7F", [](EngineFixture& f) {
         TypeText(f.send, "a");
         Format(f, 0, 1, FaceFormat("\xC0rial", 204, 0x00));
       },
       DialectStream("{\\f2\\fnil\\fcharset204 \\'c0rial;}", "", "\\pard\\plain\\f2\\fs17 a\r\n\\par ")},
      {"a font used only by a paragraph mark", [](EngineFixture& f) {
         TypeText(f.send, "a\nb");
         Format(f, 1, 3, FaceFormat("Arial", 0, 0x20));
       },
       DialectStream("{\\f2\\fswiss Arial;}", "", "\\pard\\plain\\f0\\fs17 a\\plain\\f2\\fs17 \r\n\\par \\plain\\f0\\fs17 b\r\n\\par ")},
  });
}

TEST(EmStreamOut, WritesSizesEffectsAndOffsets) {
  RunCases({
      // \fs is yHeight / 10 rounded half up.
      {"sizes", [](EngineFixture& f) {
         TypeText(f.send, "abcd");
         Format(f, 0, 1, SizeFormat(164));
         Format(f, 1, 2, SizeFormat(175));
         Format(f, 2, 3, SizeFormat(240));
         Format(f, 3, 4, SizeFormat(0));
       },
       DialectStream("", "", "\\pard\\plain\\f0\\fs16 a\\plain\\f0\\fs18 b\\plain\\f0\\fs24 c\\plain\\f0\\fs0 d\r\n\\par ")},
      // The words come in the order \cf \b \i \ul \strike \up|\dn.
      {"every effect", [](EngineFixture& f) {
         TypeText(f.send, "ab");
         Format(f, 0, 1, Effects(CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT));
         Format(f, 0, 1, ColorFormat(RGB(1, 2, 3)));
         Format(f, 0, 1, Offset(60));
         Format(f, 1, 2, Offset(-80));
       },
       DialectStream("", "\\red1\\green2\\blue3;",
              "\\pard\\plain\\f0\\fs17\\cf1\\b\\i\\ul\\strike\\up6 a\\plain\\f0\\fs17\\dn8 b\r\n\\par ")},
  });
}

TEST(EmStreamOut, EscapesText) {
  RunCases({
      {"syntax characters", [](EngineFixture& f) { TypeText(f.send, "a\\b{c}"); },
       DialectStream("", "", "\\pard\\plain\\f0\\fs17 a\\\\b\\{c\\}\r\n\\par ")},
      // Bytes from 0x80 as \'hh in lowercase, but the seven typographic words, each with its space.
      {"high bytes", [](EngineFixture& f) { TypeText(f.send, "\x80\x90\x98\xAB\xE0\xFF"); },
       DialectStream("", "", "\\pard\\plain\\f0\\fs17 \\'80\\'90\\'98\\'ab\\'e0\\'ff\r\n\\par ")},
      {"the seven words", [](EngineFixture& f) { TypeText(f.send, "\x91\x92\x93\x94\x95\x96\x97x"); },
       DialectStream("", "",
              "\\pard\\plain\\f0\\fs17 \\lquote \\rquote \\ldblquote \\rdblquote \\bullet \\endash \\emdash x\r\n\\par ")},
      {"tabs", [](EngineFixture& f) { TypeText(f.send, "a\tb\t"); },
       DialectStream("", "", "\\pard\\plain\\f0\\fs17 a\\tab b\\tab \r\n\\par ")},
  });
}

TEST(EmStreamOut, WritesParagraphWordsWhenTheFormatChanges) {
  RunCases({
      // After \pard always a run header, even when the format has not changed.
      {"centred with tabs, then left", [](EngineFixture& f) {
         TypeText(f.send, "A\nB\nC");
         Paragraphs(f, 0, 0, Alignment(PFA_CENTER));
         Paragraphs(f, 0, 0, Tabs({1440, 720}));
         Paragraphs(f, 3, 3, Alignment(PFA_CENTER));
         Paragraphs(f, 3, 3, Tabs({720, 1440}));
       },
       DialectStream("", "",
              "\\pard\\qc\\tx720\\tx1440\\plain\\f0\\fs17 A\r\n\\par B\r\n\\par \\pard\\plain\\f0\\fs17 C\r\n\\par ")},
      // \li is start + offset, \fi minus the offset; \ri; never \ql.
      {"indents", [](EngineFixture& f) {
         TypeText(f.send, "A\nB");
         Paragraphs(f, 0, 0, Indents(360, 1080, 0));
         Paragraphs(f, 3, 3, Indents(0, 0, 200));
         Paragraphs(f, 3, 3, Alignment(PFA_RIGHT));
       },
       DialectStream("", "", "\\pard\\li1440\\fi-1080\\plain\\f0\\fs17 A\r\n\\par \\pard\\qr\\ri200\\plain\\f0\\fs17 B\r\n\\par ")},
      {"all words in order", [](EngineFixture& f) {
         TypeText(f.send, "A");
         Paragraphs(f, 0, 0, Indents(100, 200, 300));
         Paragraphs(f, 0, 0, Alignment(PFA_CENTER));
         Paragraphs(f, 0, 0, Tabs({500}));
       },
       DialectStream("", "", "\\pard\\qc\\li300\\fi-200\\ri300\\tx500\\plain\\f0\\fs17 A\r\n\\par ")},
  });
}

TEST(EmStreamOut, WritesBullets) {
  RunCases({
      {"two bullets, then a plain paragraph", [](EngineFixture& f) {
         TypeText(f.send, "One\nTwo\nThree");
         Paragraphs(f, 0, 6, Bullet(200));
       },
       DialectStream("", "",
              "\\pard\\li200\\fi-200{\\*\\pn\\pnlvlblt\\pnf1\\pnindent200{\\pntxtb\\'b7}}\\plain\\f0\\fs17 "
              "{\\pntext\\f1\\'b7\\tab}One\r\n\\par {\\pntext\\f1\\'b7\\tab}Two\r\n\\par "
              "\\pard\\plain\\f0\\fs17 Three\r\n\\par ")},
      // The run header of a changed format comes before the bullet text.
      {"a bold bullet", [](EngineFixture& f) {
         TypeText(f.send, "a\nb");
         Paragraphs(f, 0, 3, Bullet(200));
         Format(f, 3, 4, Effects(CFE_BOLD));
       },
       DialectStream("", "",
              "\\pard\\li200\\fi-200{\\*\\pn\\pnlvlblt\\pnf1\\pnindent200{\\pntxtb\\'b7}}\\plain\\f0\\fs17 "
              "{\\pntext\\f1\\'b7\\tab}a\r\n\\par \\plain\\f0\\fs17\\b {\\pntext\\f1\\'b7\\tab}b\r\n\\par ")},
  });
}

TEST(EmStreamOut, WritesTheSelectionAlone) {
  EngineFixture f;
  TypeText(f.send, "Hello\nWorld");
  SetSelection(f.send, 1, 4);
  EXPECT_BYTES_EQ(DialectStream("", "", "\\pard\\plain\\f0\\fs17 ell"), StreamOutRtf(f.send, true));
  SetSelection(f.send, 3, 7);
  EXPECT_BYTES_EQ(DialectStream("", "", "\\pard\\plain\\f0\\fs17 lo\r\n\\par "), StreamOutRtf(f.send, true));
  EXPECT_BYTES_EQ("lo\r\n", StreamOutText(f.send, true));
  EXPECT_BYTES_EQ("Hello\r\nWorld", StreamOutText(f.send));
}

TEST(EmStreamOut, HandsOverALongDocumentInChunks) {
  EngineFixture f;
  const std::string text(10000, 'q');
  TypeText(f.send, text);
  std::vector<LONG> chunks;
  std::string out;
  struct Sink {
    std::vector<LONG>* chunks;
    std::string* out;
  } sink{&chunks, &out};
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&sink), 0, [](DWORD_PTR cookie, BYTE* buffer, LONG cb, LONG* pcb) -> DWORD {
                      auto* s = reinterpret_cast<Sink*>(cookie);
                      s->chunks->push_back(cb);
                      s->out->append(reinterpret_cast<const char*>(buffer), cb);
                      *pcb = cb;
                      return 0;
                    }};
  const LRESULT written = f.engine.Message(EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&stream));
  EXPECT_BYTES_EQ(DialectStream("", "", "\\pard\\plain\\f0\\fs17 " + text + "\r\n\\par "), out);
  EXPECT_EQ(static_cast<LRESULT>(out.size()), written);
  ASSERT_GT(chunks.size(), 2u);
  for (LONG chunk : chunks) EXPECT_LE(chunk, 4096);
}
