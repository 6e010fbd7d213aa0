// Texts in memory are code page 1251 whatever the file's encoding; saving gives them back as they were.
#include <iconv.h>

#include <algorithm>
#include <cstdio>

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
    // A noncharacter is a character all the same.
    {"nonchar", "AC1021", "", u8"Я\xEF\xBF\xBE", Cp1251(u8"Я") + "\\U+FFFE"},
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

// Every character of the first plane, in texts of a UTF-8 drawing, loads as iconv converts it to
// code page 1251, or as its \U+XXXX escape when code page 1251 lacks it, and goes back as itself.
TEST(DxfEncoding, EveryCharacterOfTheFirstPlaneLoadsAsIconvConvertsItAndGoesBack) {
  iconv_t toCp1251 = iconv_open("CP1251", "UTF-32LE");
  ASSERT_NE(reinterpret_cast<iconv_t>(-1), toCp1251);
  std::string entities, changed, expected;
  int handle = 0x20;
  for (uint32_t first = 0; first < 0x10000; first += 64) {
    std::string utf8, memory;
    for (uint32_t cp = std::max(first, 0x20u); cp < first + 64; ++cp) {
      // Control characters and carets: the caret tests.
      if ((cp >= 0xD800 && cp < 0xE000) || cp == '^') continue;
      if (cp < 0x80) {
        utf8 += static_cast<char>(cp);
      } else if (cp < 0x800) {
        utf8 += {static_cast<char>(0xC0 | (cp >> 6)), static_cast<char>(0x80 | (cp & 0x3F))};
      } else {
        utf8 += {static_cast<char>(0xE0 | (cp >> 12)), static_cast<char>(0x80 | ((cp >> 6) & 0x3F)),
                 static_cast<char>(0x80 | (cp & 0x3F))};
      }
      char in[4] = {static_cast<char>(cp), static_cast<char>(cp >> 8), 0, 0};
      char out[4];
      char* src = in;
      char* dst = out;
      size_t srcLeft = 4, dstLeft = sizeof out;
      iconv(toCp1251, nullptr, nullptr, nullptr, nullptr);
      if (iconv(toCp1251, &src, &srcLeft, &dst, &dstLeft) != static_cast<size_t>(-1) && dst == out + 1) {
        memory += out[0];
      } else {
        char escape[16];
        std::snprintf(escape, sizeof escape, "\\U+%04X", cp);
        memory += escape;
      }
    }
    char h[16];
    std::snprintf(h, sizeof h, "%X", handle++);
    entities += minidxf::MText(h, {{1, utf8}});
    changed += minidxf::MText(h, {{1, utf8 + "+"}});
    expected += memory;
  }
  iconv_close(toCp1251);
  auto load = qhost::LoadDrawingFromBytes(minidxf::Drawing("AC1021", "", entities), "plane");
  ASSERT_TRUE(load.database) << load.error;
  EXPECT_TRUE(load.warnings.empty());
  std::string loaded;
  for (AcDbObjectId id : qhost::EntityIds(*load.database)) {
    AcDbMText* m = nullptr;
    ASSERT_EQ(Acad::eOk, acdbOpenObject(m, id, AcDb::kForWrite));
    loaded += m->contentsConst();
    m->setContents((m->contentsConst() + std::string("+")).c_str());
    m->close();
  }
  EXPECT_BYTES_EQ(expected, loaded);
  // Changed, every character goes back as the UTF-8 it was.
  EXPECT_BYTES_EQ(minidxf::Drawing("AC1021", "", changed), qhost::DrawingToBytes(*load.database));
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

// Bytes that are not UTF-8 in a UTF-8 file are read as code page 1251, whatever stands around them.
const Case kMisfits[] = {
    // A UTF-8 drawing holding code page 1251 bytes, as found in the wild.
    {"cp1251", "AC1021", "ANSI_1251", Cp1251(u8"Дом"), Cp1251(u8"Дом")},
    // An overlong form, a surrogate, a character cut short, a stray continuation byte.
    {"overlong", "AC1021", "", u8"Я\xC0\x80", Cp1251(u8"Я") + "\xC0\x80"},
    {"surrogate", "AC1021", "", u8"Я\xED\xA0\x80", Cp1251(u8"Я") + "\xED\xA0\x80"},
    {"cut", "AC1021", "", u8"Я\xE2\x82", Cp1251(u8"Я") + "\xE2\x82"},
    {"stray", "AC1021", "", u8"\x80Я", "\x80" + Cp1251(u8"Я")},
};

TEST(DxfEncoding, BytesThatDoNotFitLoadWithAWarningAndLoseNothing) {
  for (const Case& c : kMisfits) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> warnings;
    EXPECT_BYTES_EQ(c.memory, Contents(c, &warnings));
    ASSERT_EQ(1u, warnings.size());
    EXPECT_NE(std::string::npos, warnings[0].find("UTF-8")) << warnings[0];

    // Unchanged, it is saved exactly as it was.
    std::string file = minidxf::Drawing(c.version, c.codePage, minidxf::MText("A1", {{1, c.fileBytes}}));
    auto load = qhost::LoadDrawingFromBytes(file, c.name);
    ASSERT_TRUE(load.database);
    EXPECT_BYTES_EQ(file, qhost::DrawingToBytes(*load.database));
  }
}

}  // namespace
