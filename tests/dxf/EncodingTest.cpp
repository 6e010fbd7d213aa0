// Texts in memory are code page 1251 whatever the file's encoding; saving gives them back as they were.
#include "MiniDxf.h"
#include "qplatform/Drawing.h"
#include "support/Bytes.h"

namespace {

using testsupport::Cp1251;

struct Case {
  const char* name;
  const char* version;
  const char* codePage;
  std::string fileBytes;  // the group 1 value as stored in the file
  std::string memory;     // what the module sees (code page 1251)
};

std::string Contents(const Case& c, std::vector<std::string>* warnings = nullptr) {
  std::string file = minidxf::Drawing(c.version, c.codePage, minidxf::MText("A1", {{1, c.fileBytes}}));
  auto load = qhost::LoadDrawingFromBytes(file, c.name);
  EXPECT_TRUE(load.database) << load.error;
  if (!load.database) return "";
  if (warnings) *warnings = load.warnings;
  AcDbMText* m = minidxf::FirstMText(*load.database, AcDb::kForRead);
  std::string contents = m->contentsConst();
  m->close();
  return contents;
}

const Case kCases[] = {
    // Code page 1251 files are bytes as they are.
    {"ansi1251", "AC1015", "ANSI_1251", Cp1251(u8"Привет"), Cp1251(u8"Привет")},
    // UTF-8 (R2007 and later) is converted; what code page 1251 lacks becomes \U+XXXX.
    {"utf8", "AC1021", "ANSI_1252", u8"Привет ≈ 5°", Cp1251(u8"Привет ") + "\\U+2248 5" + Cp1251(u8"°")},
    // Beyond the first plane: the escapes of the surrogate pair.
    {"astral", "AC1032", "", u8"a😀b", "a\\U+D83D\\U+DE00b"},
    // Code page 1252; no code page and a name that is not one read as 1252.
    {"ansi1252", "AC1015", "ANSI_1252", "caf\xE9 \xBD", "caf\\U+00E9 \\U+00BD"},
    {"none", "AC1015", "", "\xE9", "\\U+00E9"},
    {"ascii", "AC1015", "ASCII", "\xE9", "\\U+00E9"},
    // A double-byte character whose second byte is a caret stays whole.
    {"double-byte", "AC1015", "ANSI_932", "\x83\x5EJ", "\\U+30BFJ"},
    // Caret escapes are decoded.
    {"carets", "AC1015", "ANSI_1251", "a^Jb^Ic^ d^", "a\nb\tc^d^"},
    // Escapes already in the file stay as they are.
    {"escapes", "AC1015", "", "\\U+0416\\\\U+0041", "\\U+0416\\\\U+0041"},
};

TEST(DxfEncoding, TextsLoadAsCodePage1251) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_BYTES_EQ(c.memory, Contents(c));
  }
}

TEST(DxfEncoding, ChangedTextGoesBackInTheFileEncoding) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    std::string file = minidxf::Drawing(c.version, c.codePage, minidxf::MText("A1", {{1, "x"}}));
    auto load = qhost::LoadDrawingFromBytes(file, c.name);
    ASSERT_TRUE(load.database) << load.error;
    AcDbMText* m = minidxf::FirstMText(*load.database, AcDb::kForWrite);
    m->setContents(c.memory.c_str());
    m->close();
    std::string expected = minidxf::Drawing(c.version, c.codePage, minidxf::MText("A1", {{1, c.fileBytes}}));
    if (std::string(c.name) == "carets") expected = minidxf::Drawing(c.version, c.codePage, minidxf::MText("A1", {{1, "a^Jb^Ic^ d^ "}}));
    EXPECT_BYTES_EQ(expected, qhost::DrawingToBytes(*load.database));
  }
}

TEST(DxfEncoding, CyrillicTypedIntoA1252DrawingIsSavedAsEscapes) {
  std::string file = minidxf::Drawing("AC1015", "ANSI_1252", minidxf::MText("A1", {{1, "x"}}));
  auto load = qhost::LoadDrawingFromBytes(file, "t");
  ASSERT_TRUE(load.database);
  AcDbMText* m = minidxf::FirstMText(*load.database, AcDb::kForWrite);
  m->setContents(Cp1251(u8"Да").c_str());
  m->close();
  EXPECT_BYTES_EQ(minidxf::Drawing("AC1015", "ANSI_1252", minidxf::MText("A1", {{1, "\\U+0414\\U+0430"}})),
                  qhost::DrawingToBytes(*load.database));
}

TEST(DxfEncoding, BytesThatDoNotFitLoadWithAWarningAndLoseNothing) {
  // A UTF-8 drawing holding code page 1251 bytes, as found in the wild.
  Case c{"misfit", "AC1021", "ANSI_1251", Cp1251(u8"Дом"), Cp1251(u8"Дом")};
  std::vector<std::string> warnings;
  EXPECT_BYTES_EQ(c.memory, Contents(c, &warnings));
  ASSERT_EQ(1u, warnings.size());
  EXPECT_NE(std::string::npos, warnings[0].find("UTF-8")) << warnings[0];

  // Unchanged, it is saved exactly as it was.
  std::string file = minidxf::Drawing(c.version, c.codePage, minidxf::MText("A1", {{1, c.fileBytes}}));
  auto load = qhost::LoadDrawingFromBytes(file, "misfit");
  ASSERT_TRUE(load.database);
  EXPECT_BYTES_EQ(file, qhost::DrawingToBytes(*load.database));
}

}  // namespace
