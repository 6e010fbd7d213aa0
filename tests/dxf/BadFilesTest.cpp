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
