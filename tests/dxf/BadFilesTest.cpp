// A malformed drawing is refused with the line at fault, and nothing is loaded.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "MiniDxf.h"
#include "qplatform/Host.h"
#include "qplatform/Render.h"
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

// A real no drawing can hold is refused wherever it stands, modelled or not, at the line of its
// value: nothing later computes with it (extents, views, arcs of bulges).
TEST(DxfLoad, NonFiniteNumbersAreRefusedWithTheLine) {
  struct NumberCase {
    const char* name;
    std::string entity;  // the value "@" stands for the number
    const char* owner;
    int code;
  };
  const std::string polyline =
      minidxf::Write({{0, "LWPOLYLINE"}, {5, "A2"}, {8, "0"}, {90, "2"}, {10, "0"}, {20, "0"}, {42, "1"}, {10, "@"}, {20, "0"}});
  const NumberCase places[] = {
      {"a polyline's vertex, which the database does not model", polyline, "LWPOLYLINE", 10},
      {"a polyline's bulge", minidxf::Write({{0, "LWPOLYLINE"}, {5, "A2"}, {90, "1"}, {10, "0"}, {20, "0"}, {42, "@"}}),
       "LWPOLYLINE", 42},
      {"a text's position", minidxf::Write({{0, "MTEXT"}, {5, "A3"}, {10, "@"}, {20, "0"}, {40, "2.5"}, {1, "t"}}), "MTEXT", 10},
      {"an extended data real", minidxf::Write({{0, "POINT"}, {5, "A4"}, {10, "0"}, {1001, "APP"}, {1040, "@"}}), "POINT", 1040},
  };
  const std::string hugeDigits = "1" + std::string(400, '0');
  for (const std::string number : {"inf", "-inf", "nan", "NAN(0x1)", "infinity", "1e309", "-1E400", "0x1p2000", hugeDigits.c_str()}) {
    for (const NumberCase& place : places) {
      SCOPED_TRACE(std::string(place.name) + ": " + number);
      std::string file = minidxf::Drawing("AC1015", "ANSI_1251", place.entity);
      const size_t at = file.find("\n@\n") + 1;
      file.replace(at, 1, number);
      const long line = 1 + std::count(file.begin(), file.begin() + static_cast<long>(at), '\n');
      auto load = qhost::LoadDrawingFromBytes(file, "bad.dxf");
      EXPECT_EQ(nullptr, load.database);
      EXPECT_EQ("bad.dxf:" + std::to_string(line) + ": a number was expected for group " + std::to_string(place.code) +
                    " of " + place.owner + ", found \"" + number.substr(0, 40) + "\"",
                load.error);
    }
  }
  // A header variable is named as the owner; tiny and huge finite numbers load.
  std::string header = minidxf::Drawing("AC1015", "ANSI_1251", "");
  header.insert(header.find("  9\n$HANDSEED"), minidxf::Write({{9, "$EXTMIN"}, {10, "1e999"}, {20, "0"}}));
  EXPECT_EQ("bad.dxf:16: a number was expected for group 10 of $EXTMIN, found \"1e999\"",
            qhost::LoadDrawingFromBytes(header, "bad.dxf").error);
  for (const char* number : {"1e-400", "1.7976931348623157e308", "-1e308"}) {
    std::string file = minidxf::Drawing("AC1015", "ANSI_1251", polyline);
    file.replace(file.find("\n@\n") + 1, 1, number);
    EXPECT_TRUE(qhost::LoadDrawingFromBytes(file, "t").database) << number;
  }
}

// Coordinates at the ends of the doubles, with bulges between them, are drawn (as chords where
// no arc can be computed) and viewed without an exception.
TEST(DxfLoad, HugeCoordinatesWithBulgesAreDrawnAndViewed) {
  const std::string file = minidxf::Drawing(
      "AC1015", "ANSI_1251",
      minidxf::Write({{0, "LWPOLYLINE"}, {5, "A2"}, {8, "0"}, {90, "3"}, {10, "-1e308"}, {20, "0"}, {42, "1"},
                      {10, "1.7976931348623157e308"}, {20, "1e308"}, {42, "-0.5"}, {10, "0"}, {20, "-1e308"}, {42, "1"}}));
  auto load = qhost::LoadDrawingFromBytes(file, "t");
  ASSERT_TRUE(load.database) << load.error;
  const std::string svg = qhost::render::Svg(qhost::render::Draw(*load.database, qhost::render::Space::kModel));
  EXPECT_NE(std::string::npos, svg.find("</svg>"));
  const std::string picture = qhost::DrawingPicture(*load.database, 80, 24);
  EXPECT_NE(std::string::npos, picture.find('+')) << picture;
}

// Only a regular file is read as a drawing: a named pipe would wait for a writer, a device
// never end. Both are refused before a byte is read.
TEST(DxfLoad, OnlyRegularFilesAreRead) {
  char folder[] = "/tmp/qhost-fifo-XXXXXX";
  ASSERT_NE(nullptr, mkdtemp(folder));
  const std::string fifo = std::string(folder) + "/drawing.dxf";
  ASSERT_EQ(0, mkfifo(fifo.c_str(), 0600));
  auto load = qhost::LoadDrawing(fifo);
  EXPECT_EQ(nullptr, load.database);
  EXPECT_EQ(fifo + ": cannot open the file: it is a named pipe (FIFO), not a regular file", load.error);
  unlink(fifo.c_str());
  rmdir(folder);
  load = qhost::LoadDrawing("/dev/zero");
  EXPECT_EQ(nullptr, load.database);
  EXPECT_EQ("/dev/zero: cannot open the file: it is a device, not a regular file", load.error);
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
