// A malformed drawing is refused with the line at fault, and nothing is loaded.
#include "MiniDxf.h"
#include "qplatform/Drawing.h"
#include "support/Bytes.h"

namespace {

struct Case {
  const char* name;
  std::string bytes;
  const char* error;  // the whole message after "bad.dxf:"
};

TEST(DxfLoad, MalformedFilesAreRefusedWithTheLine) {
  std::string good = minidxf::Drawing("AC1015", "ANSI_1251", minidxf::MText("A1", {{1, "t"}}));
  std::string badNumber = good;
  badNumber.replace(badNumber.find(" 40\n2.5"), 7, " 40\nabc");
  // strtod reads these, but DXF writes reals in decimal only.
  std::string hexNumber = good, infinity = good, junkNumber = good;
  hexNumber.replace(hexNumber.find(" 40\n2.5"), 7, " 40\n0x10");
  infinity.replace(infinity.find(" 40\n2.5"), 7, " 40\n-inf");
  junkNumber.replace(junkNumber.find(" 40\n2.5"), 7, std::string(" 40\n2\x1b[2J\xff\\\"", 12));
  const Case cases[] = {
      {"empty", "", "1: the file is empty"},
      {"binary", std::string("AutoCAD Binary DXF\r\n\x1a\0", 22), "1: a binary DXF file; only ASCII DXF can be read"},
      {"code not a number", "  0\nSECTION\nxyz\nHEADER\n", "3: a group code was expected, found \"xyz\""},
      {"value missing", "  0\nSECTION\n  2", "3: group 2 has no value: the file ends"},
      {"no section", "  2\nHEADER\n  0\nEOF\n", "1: a SECTION was expected, found group 2"},
      {"no ENDSEC", "  0\nSECTION\n  2\nHEADER\n  0\nSECTION\n  2\nTABLES\n  0\nENDSEC\n  0\nEOF\n",
       "5: section HEADER (line 1) has no ENDSEC"},
      {"no EOF", "  0\nSECTION\n  2\nHEADER\n  0\nENDSEC\n", "5: the file ends without EOF"},
      {"bad number", badNumber, "92: a number was expected for group 40 of MTEXT, found \"abc\""},
      {"hexadecimal number", hexNumber, "92: a number was expected for group 40 of MTEXT, found \"0x10\""},
      {"infinite number", infinity, "92: a number was expected for group 40 of MTEXT, found \"-inf\""},
      // Junk bytes from the file are shown escaped.
      {"junk number", junkNumber,
       "92: a number was expected for group 40 of MTEXT, found \"2\\x1b[2J\\xff\\x5c\\x22\""},
      {"junk code", "  0\nSECTION\n\x07\xe9\n", "3: a group code was expected, found \"\\x07\\xe9\""},
      {"junk section", "  0\nSE\rCTION\n  2\nX\n", "1: a SECTION was expected, found \"SE\\x0dCTION\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto load = qhost::LoadDrawingFromBytes(c.bytes, "bad.dxf");
    EXPECT_EQ(nullptr, load.database);
    EXPECT_EQ(std::string("bad.dxf:") + c.error, load.error);
  }
}

TEST(DxfLoad, MissingFileSaysSo) {
  auto load = qhost::LoadDrawing("/nonexistent/drawing.dxf");
  EXPECT_EQ(nullptr, load.database);
  EXPECT_EQ("/nonexistent/drawing.dxf: cannot open the file: No such file or directory", load.error);
}

TEST(DxfLoad, AFolderIsNoDrawing) {
  auto load = qhost::LoadDrawing("/tmp");
  EXPECT_EQ(nullptr, load.database);
  EXPECT_EQ("/tmp: cannot open the file: Is a directory", load.error);
}

TEST(DxfLoad, DecimalRealsInEveryWrittenFormLoad) {
  for (const char* value : {"2.5", "+2.5", "25e-1", " 2.50 ", ".25E1", "25.E-1"}) {
    SCOPED_TRACE(value);
    std::string file = minidxf::Drawing("AC1015", "ANSI_1251", minidxf::MText("A1", {{1, "t"}}));
    file.replace(file.find(" 40\n2.5\n"), 8, std::string(" 40\n") + value + "\n");
    auto load = qhost::LoadDrawingFromBytes(file, "t");
    ASSERT_TRUE(load.database) << load.error;
    AcDbMText* m = minidxf::FirstMText(*load.database, AcDb::kForRead);
    ASSERT_NE(nullptr, m);
    EXPECT_EQ(2.5, m->textHeight());
    m->close();
  }
}

TEST(DxfLoad, BytesAfterEofAreKept) {
  std::string file = minidxf::Drawing("AC1015", "ANSI_1251", "") + "trailing\x1a";
  auto load = qhost::LoadDrawingFromBytes(file, "t");
  ASSERT_TRUE(load.database) << load.error;
  EXPECT_BYTES_EQ(file, qhost::DrawingToBytes(*load.database));
}

}  // namespace

namespace {

TEST(DxfLoad, CommentsBeforeTheFirstEntityAreKept) {
  std::string file = minidxf::Drawing("AC1015", "ANSI_1251", minidxf::Write({{999, "made by hand"}}) +
                                                                  minidxf::MText("A1", {{1, "t"}}));
  auto load = qhost::LoadDrawingFromBytes(file, "t");
  ASSERT_TRUE(load.database) << load.error;
  AcDbMText* m = minidxf::FirstMText(*load.database, AcDb::kForRead);
  ASSERT_NE(nullptr, m);
  EXPECT_STREQ("t", m->contentsConst());
  m->close();
  EXPECT_BYTES_EQ(file, qhost::DrawingToBytes(*load.database));
}

}  // namespace
