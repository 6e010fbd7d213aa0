// Caret escapes of text values: read as drawings are read, written so that they read the same, and
// NUL kept whole in memory.
#include <string>

#include "MiniDxf.h"
#include "qplatform/Drawing.h"
#include "support/Bytes.h"

namespace {

using testsupport::Cp1251;

// The contents of the drawing's one MText, loaded from `file`.
std::string Loaded(const std::string& file) {
  auto load = qhost::LoadDrawingFromBytes(file, "carets");
  EXPECT_TRUE(load.database) << load.error;
  if (!load.database) return "";
  AcDbMText* m = minidxf::FirstMText(*load.database, AcDb::kForRead);
  std::string contents = m->contentsConst();
  m->close();
  return contents;
}

// The file bytes of a drawing whose one MText was given `contents`.
std::string Saved(const std::string& version, const std::string& codePage, const std::string& contents) {
  const std::string file = minidxf::Drawing(version, codePage, minidxf::MText("A1", {{1, "x"}}));
  auto load = qhost::LoadDrawingFromBytes(file, "carets");
  EXPECT_TRUE(load.database) << load.error;
  if (!load.database) return "";
  AcDbMText* m = minidxf::FirstMText(*load.database, AcDb::kForWrite);
  m->setContents(contents.c_str());
  m->close();
  return qhost::DrawingToBytes(*load.database);
}

struct Pair {
  const char* version;
  std::string file;    // group 1 as stored
  std::string memory;  // what the module sees
};

TEST(DxfCarets, EachPairReadsAsDrawingsAreRead) {
  const Pair pairs[] = {
      {"AC1015", "a^Jb^Ic^Md", "a\nb\tc\rd"},
      {"AC1015", "^A^Z^[^\\^]^^^_", "\x01\x1A\x1B\x1C\x1D\x1E\x1F"},
      {"AC1015", "^ x^^^", std::string("^x\x1E^")},  // a caret that ends the text is itself
      // Beyond "^@".."^_": the character 64 below, modulo 126.
      {"AC1015", "^a^z^`^~^?^0^!", "!: >}n_"},
      // NUL is its escape in memory, so the text is whole.
      {"AC1015", "ab^@cd", "ab\\U+0000cd"},
      // After a caret, a character of the code page counts as its code point (U+0416).
      {"AC1015", Cp1251(u8"^Ж"), "d"},
      {"AC1021", u8"^Ж", "d"},
  };
  for (const Pair& p : pairs) {
    SCOPED_TRACE(testsupport::Readable(p.file));
    EXPECT_BYTES_EQ(p.memory, Loaded(minidxf::Drawing(p.version, "ANSI_1251", minidxf::MText("A1", {{1, p.file}}))));
  }
}

TEST(DxfCarets, APairSplitOverTwoGroupsIsOnePair) {
  const std::string a249(249, 'a');
  const std::string file = minidxf::Drawing("AC1015", "ANSI_1251", minidxf::MText("A1", {{3, a249 + "^"}, {1, "ab"}}));
  EXPECT_BYTES_EQ(a249 + "!b", Loaded(file));
}

TEST(DxfCarets, ControlCharactersAndTheirEscapesAreSavedAsCarets) {
  const Pair pairs[] = {
      {"AC1015", "^@x^E^ ^I", "\\U+0000x\\U+0005^\t"},
      {"AC1015", "^A^_^J", "\x01\x1F\n"},
      // A literal backslash before it, a lower-case "u" or a character that is no control: not one.
      {"AC1015", "\\\\U+0000\\u+0001\\U+0020\\U+001", "\\\\U+0000\\u+0001\\U+0020\\U+001"},
      {"AC1021", "^@\\U+0416", "\\U+0000\\U+0416"},
  };
  for (const Pair& p : pairs) {
    SCOPED_TRACE(testsupport::Readable(p.memory));
    EXPECT_BYTES_EQ(minidxf::Drawing(p.version, "ANSI_1251", minidxf::MText("A1", {{1, p.file}})),
                    Saved(p.version, "ANSI_1251", p.memory));
  }
}

// Every caret pair of a printable character, loaded, changed and saved, reads as before; unchanged,
// the drawing is saved as it was.
TEST(DxfCarets, ATextLoadedAndSavedReadsTheSame) {
  for (int c = 0x20; c < 0x7F; ++c) {
    const std::string pair = std::string("^") + char(c);
    const std::string file = minidxf::Drawing("AC1015", "ANSI_1251", minidxf::MText("A1", {{1, "a" + pair + "b"}}));
    SCOPED_TRACE(testsupport::Readable(pair));
    auto load = qhost::LoadDrawingFromBytes(file, "carets");
    ASSERT_TRUE(load.database) << load.error;
    EXPECT_BYTES_EQ(file, qhost::DrawingToBytes(*load.database));
    AcDbMText* m = minidxf::FirstMText(*load.database, AcDb::kForWrite);
    const std::string before = m->contentsConst();
    m->setContents((before + "+").c_str());
    m->close();
    EXPECT_BYTES_EQ(before + "+", Loaded(qhost::DrawingToBytes(*load.database)));
  }
}

}  // namespace
