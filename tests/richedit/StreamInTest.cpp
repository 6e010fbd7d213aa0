// What the control makes of RTF streamed in: the dialect, the MText reader's documents, pasted RTF, any bytes.
#include "EngineFixture.h"
#include "support/Bytes.h"

#include <gtest/gtest.h>

#include <dirent.h>

using namespace qplatform;

namespace {

const std::string kTables =
    "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fnil MS Sans Serif;}{\\f1\\fswiss\\fcharset204 Arial;}}"
    "{\\colortbl\\red0\\green0\\blue0;\\red255\\green0\\blue0;}";

std::string SnapshotOf(const std::string& rtf) {
  EngineFixture f;
  StreamInRtf(f.send, rtf);
  return f.engine.Snapshot();
}

std::string Normalised(const std::string& rtf) { return RtfThroughControl(rtf); }

const char kDefaultRun[] = "face=\"MS Sans Serif\" charset=0 pitch=0x00 size=165 color=auto";

struct Case {
  const char* name;
  std::string rtf;
  std::string expected;
};

void ExpectSnapshots(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + ": " + testsupport::Readable(c.rtf));
    EXPECT_EQ(c.expected, SnapshotOf(c.rtf));
  }
}

void ExpectNormalised(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + ": " + testsupport::Readable(c.rtf));
    EXPECT_BYTES_EQ(c.expected, Normalised(c.rtf));
  }
}

}  // namespace

TEST(EmStreamIn, ReadsTheDialect) {
  const std::string rtf =
      "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fnil MS Sans Serif;}{\\f1\\froman\\fcharset2 Symbol;}"
      "{\\f2\\fswiss\\fprq2\\fcharset204 Arial;}}\r\n{\\colortbl\\red0\\green0\\blue0;\\red255\\green0\\blue0;}\r\n"
      "\\deflang1049\\pard\\qc\\tx720\\plain\\f2\\fs24\\cf1\\b Title\\plain\\f2\\fs20 \r\n"
      "\\par \\pard\\li200\\fi-200{\\*\\pn\\pnlvlblt\\pnf1\\pnindent200{\\pntxtb\\'b7}}\\plain\\f0\\fs17\\cf0\\i\\ul\\strike\\dn4 "
      "{\\pntext\\f1\\'b7\\tab}it\\'e0\\lquote \\tab x\\\\\\{\\}\r\n\\par }\r\n";
  EXPECT_EQ(
      "selection 0..0\n"
      "paragraph center tabs=720\n"
      "  run \"Title\" face=\"Arial\" charset=204 pitch=0x22 size=240 color=#ff0000 bold\n"
      "  mark face=\"Arial\" charset=204 pitch=0x22 size=200 color=auto\n"
      "paragraph left offset=200 bullet\n"
      "  run \"it\xE0\x91\\tx\\\\{}\" face=\"MS Sans Serif\" charset=0 pitch=0x00 size=170 color=#000000 italic underline "
      "strike offset=-40\n"
      "  mark face=\"MS Sans Serif\" charset=0 pitch=0x00 size=170 color=#000000 italic underline strike offset=-40\n",
      SnapshotOf(rtf));
  // The dialect comes back byte for byte.
  EXPECT_BYTES_EQ(rtf, Normalised(rtf));
}

TEST(EmStreamIn, ReadsTheMTextReadersDocuments) {
  const std::string run = " face=\"Arial\" charset=204 pitch=0x20 size=190 color=#ff0000 bold underline";
  ExpectSnapshots({
      // Groups left open at the end; the last paragraph's mark takes its last character's format.
      {"open group", kTables + "{\\fs31\\cf1 Hello\\par World",
       std::string("selection 0..0\nparagraph left\n") +
           "  run \"Hello\" face=\"MS Sans Serif\" charset=0 pitch=0x00 size=310 color=#ff0000\n" +
           "  mark face=\"MS Sans Serif\" charset=0 pitch=0x00 size=310 color=#ff0000\n" + "paragraph left\n" +
           "  run \"World\" face=\"MS Sans Serif\" charset=0 pitch=0x00 size=310 color=#ff0000\n" +
           "  mark face=\"MS Sans Serif\" charset=0 pitch=0x00 size=310 color=#ff0000\n"},
      // Unknown words (here the MText underline-off \l) are skipped with their parameter.
      {"pre-grouped with unknown words", kTables + "{{\\f1\\b {\\fs19\\cf1 \\ul Hello\\par \\l}}}",
       "selection 0..0\nparagraph left\n  run \"Hello\"" + run + "\n  mark" + run + "\n"},
      {"alignment and other codes", kTables + "{\\fs30\\cf0 \\A1 \\Q15 x\\pi3 y}",
       std::string("selection 0..0\nparagraph left\n") +
           "  run \"xy\" face=\"MS Sans Serif\" charset=0 pitch=0x00 size=300 color=#000000\n" +
           "  mark face=\"MS Sans Serif\" charset=0 pitch=0x00 size=300 color=#000000\n"},
      // A value with decimals ends the word at the point: the rest is text, as RTF reads it.
      {"a height with decimals", kTables + "{\\fs2.5 x}",
       std::string("selection 0..0\nparagraph left\n") +
           "  run \".5 x\" face=\"MS Sans Serif\" charset=0 pitch=0x00 size=20 color=auto\n" +
           "  mark face=\"MS Sans Serif\" charset=0 pitch=0x00 size=20 color=auto\n"},
      // Font entries without a family, or with words the control does not know.
      {"bare and shape font entries",
       "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fnil MS Sans Serif;}{\\f1 Arial;}{\\f2\\fnil\\fprg2 txt;}}"
       "{\\colortbl\\red0\\green0\\blue0;}{\\f1 a{\\f2 b}",
       std::string("selection 0..0\nparagraph left\n") +
           "  run \"a\" face=\"Arial\" charset=0 pitch=0x00 size=165 color=auto\n" +
           "  run \"b\" face=\"txt\" charset=0 pitch=0x00 size=165 color=auto\n" +
           "  mark face=\"txt\" charset=0 pitch=0x00 size=165 color=auto\n"},
  });
}

TEST(EmStreamIn, ReadsPastedRtf) {
  const std::string word =
      "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049{\\fonttbl{\\f0\\froman\\fprq2\\fcharset204"
      "{\\*\\panose 02020603050405020304}Times New Roman;}{\\f1\\fswiss Arial;}}\r\n"
      "{\\colortbl ;\\red255\\green0\\blue0;}\r\n{\\*\\generator Riched20 5.41;}{\\stylesheet{\\s0 Normal;}}"
      "{\\info{\\title T}{\\author A}}\\viewkind4\\uc1\\pard\\sa200\\sl276\\slmult1\\f0\\fs22 Hello \\cf1\\b bold"
      "\\cf0\\b0  \\u1055?x\\line y\\par\r\n\\pard\\qj{\\pntext\\f1 1.\\tab}{\\*\\pn\\pnlvlbody\\pnstart1}\\f1 z\\par\r\n}";
  const std::string times = "face=\"Times New Roman\" charset=204 pitch=0x12 size=220";
  EXPECT_EQ("selection 0..0\n"
            "paragraph left\n"
            "  run \"Hello \" " + times + " color=auto\n"
            "  run \"bold\" " + times + " color=#ff0000 bold\n"
            "  run \" ?x\\x0by\" " + times + " color=auto\n"
            "  mark " + times + " color=auto\n"
            "paragraph left bullet\n"
            "  run \"z\" face=\"Arial\" charset=0 pitch=0x20 size=220 color=auto\n"
            "  mark face=\"Arial\" charset=0 pitch=0x20 size=220 color=auto\n",
            SnapshotOf(word));
}

TEST(EmStreamIn, FollowsGroupsPlainAndPard) {
  ExpectSnapshots({
      {"groups restore the character format", kTables + "{\\b bold} plain}",
       std::string("selection 0..0\nparagraph left\n") + "  run \"bold\" " + kDefaultRun + " bold\n" + "  run \" plain\" " +
           kDefaultRun + "\n  mark " + kDefaultRun + "\n"},
      {"\\plain resets, \\pard resets the paragraph", kTables + "\\qr\\b a\\par \\pard\\plain b}",
       std::string("selection 0..0\nparagraph right\n") + "  run \"a\" " + kDefaultRun + " bold\n" + "  mark " +
           kDefaultRun + " bold\n" + "paragraph left\n  run \"b\" " + kDefaultRun + "\n  mark " + kDefaultRun + "\n"},
      // CR and LF bytes are syntax, not text; \'hh takes either case.
      {"line ends and hex escapes", kTables + "a\r\nb\\'E0\\'e0\\~}",
       std::string("selection 0..0\nparagraph left\n") + "  run \"ab\xE0\xE0\xA0\" " + kDefaultRun + "\n  mark " +
           kDefaultRun + "\n"},
      // Nothing after the outermost group closes is read.
      {"text after the document", kTables + "a}b", std::string("selection 0..0\nparagraph left\n") + "  run \"a\" " +
                                                      kDefaultRun + "\n  mark " + kDefaultRun + "\n"},
  });
}

TEST(EmStreamIn, NormalisesAnyRtfToTheDialect) {
  ExpectNormalised({
      // The fixed entries, \deflang1049 and the default face as font 0, whatever the input said.
      {"another writer's tables",
       "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fswiss MS Sans Serif;}{\\f1\\fnil\\fcharset2 Symbol;}"
       "{\\f2\\fswiss\\fprq2 MS Sans Serif;}{\\f3\\fnil Arial;}}\r\n{\\colortbl\\red0\\green0\\blue0;\\red0\\green0\\blue255;}\r\n"
       "\\deflang1033\\pard\\plain\\f3\\fs24\\up6   \\plain\\f2\\fs24\\b\\cf1 Index\\plain\\f2\\fs24\\b \r\n\\par }\r\n",
       DialectStream("{\\f2\\fnil Arial;}", "\\red0\\green0\\blue255;",
                     "\\pard\\plain\\f2\\fs24\\up6   \\plain\\f0\\fs24\\cf1\\b Index\\plain\\f0\\fs24\\b \r\n\\par ")},
      {"the MText reader's open groups", kTables + "{\\fs31\\cf1 Hello\\par World",
       DialectStream("", "\\red255\\green0\\blue0;",
                     "\\pard\\plain\\f0\\fs31\\cf1 Hello\r\n\\par World\r\n\\par ")},
      {"toggles and \\par followed by CR LF", "{\\rtf1{\\fonttbl{\\f0\\fnil MS Sans Serif;}}\\b a\\b0 b\\par\r\n}",
       DialectStream("", "", "\\pard\\plain\\f0\\fs17\\b a\\plain\\f0\\fs17 b\r\n\\par ")},
      {"empty input", "", DialectStream("", "", "\\pard\\plain\\f0\\fs17 \r\n\\par ")},
  });
}

TEST(EmStreamIn, NeverFails) {
  const std::vector<std::string> inputs = {
      "}",      "\\",      "{\\'",          "{\\'g0}", "\\bin999999 x", std::string(20000, '{'), std::string(300, '}'),
      "{\\f-",  "{\\fs99999999999999999999 x}", "{\\*}",  "{\\colortbl;;;}\\cf2 x\\cf-1 y\\cf99 z",
      "{\\fonttbl{\\f1;}}\\f1 a", std::string("a\0b", 3),
      // A face name cut to 31 bytes just behind a blank.
      "{\\fonttbl{\\f2 " + std::string(30, 'n') + " tail;}}\\f2 a",
  };
  for (const std::string& input : inputs) {
    SCOPED_TRACE(testsupport::Readable(input.substr(0, 60)));
    EngineFixture f;
    StreamInRtf(f.send, input);
    const std::string out = StreamOutRtf(f.send);
    EXPECT_EQ(0u, out.rfind("{\\rtf1\\ansi\\deff0", 0));
    // What came out reads back to itself.
    EXPECT_BYTES_EQ(out, Normalised(out));
  }
}

TEST(EmStreamIn, ReplacesTheContentsOrTheSelection) {
  EngineFixture f;
  TypeText(f.send, "old text");
  StreamInRtf(f.send, kTables + "new}");
  EXPECT_EQ("new", GetText(f.send));
  EXPECT_EQ(0, GetSelection(f.send).cpMin);
  EXPECT_EQ(0, f.engine.Message(EM_CANUNDO, 0, 0));

  // Into the selection: a stream ending in \par brings a paragraph break; the caret ends behind it.
  SetSelection(f.send, 1, 2);
  StreamInRtf(f.send, kTables + "\\b X\\par Y}", true);
  EXPECT_EQ("nX\r\nYw", GetText(f.send));
  EXPECT_EQ(5, GetSelection(f.send).cpMin);
  EXPECT_EQ(5, GetSelection(f.send).cpMax);
  StreamInText(f.send, "1\r\n2\n3\r4", true);
  EXPECT_EQ("nX\r\nY1\r\n2\r\n3\r\n4w", GetText(f.send));
}

TEST(EmStreamIn, TakesALongDocumentInConsecutiveChunks) {
  const std::string text(10000, 'z');
  const std::string rtf = kTables + text + "}";
  for (LONG chunk : {1, 100, 4095, 4096, 100000}) {
    SCOPED_TRACE(chunk);
    EngineFixture f;
    StreamInRtf(f.send, rtf, false, chunk);
    EXPECT_EQ(text, GetText(f.send));
  }
}

TEST(EmStreamIn, NormalisesTheSharedSamplesToAFixedPoint) {
  REQUIRE_SHARED_DIR(shared);
  const std::string dir = shared + "/richedit10-samples";
  DIR* listing = opendir(dir.c_str());
  if (!listing) GTEST_SKIP() << dir << " is absent";
  int count = 0;
  while (const dirent* entry = readdir(listing)) {
    const std::string name = entry->d_name;
    if (name.size() < 4 || name.substr(name.size() - 4) != ".rtf") continue;
    SCOPED_TRACE(name);
    const std::string original = testsupport::ReadFile(dir + "/" + name);
    const std::string once = Normalised(original);
    EXPECT_BYTES_EQ(once, Normalised(once));
    // The text survives; the formats do too, but for the pitch and character set of the default
    // face, which the dialect always writes as font 0.
    EngineFixture a, b;
    StreamInRtf(a.send, original);
    StreamInRtf(b.send, once);
    EXPECT_EQ(GetText(a.send), GetText(b.send));
    ++count;
  }
  closedir(listing);
  EXPECT_GT(count, 0);
}
