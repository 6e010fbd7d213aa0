// Dimensions as the host keeps them: styles, a dimension's overrides, its block and the block's text.
#include "MiniDxf.h"
#include "dbdim.h"
#include "dbents.h"
#include "qplatform/Drawing.h"
#include "support/Bytes.h"

namespace {

using minidxf::Write;

// A drawing with two dimension styles, the blocks `blocks` and the entities `entities`.
std::string Drawing(const std::string& version, const std::string& blocks, const std::string& entities) {
  return Write({{0, "SECTION"}, {2, "HEADER"}, {9, "$ACADVER"}, {1, version}, {9, "$HANDSEED"}, {5, "100"},
                {0, "ENDSEC"}, {0, "SECTION"}, {2, "TABLES"}, {0, "TABLE"}, {2, "STYLE"}, {0, "STYLE"}, {5, "11"},
                {2, "Standard"}, {3, "txt"}, {40, "0.0"}, {0, "STYLE"}, {5, "12"}, {2, "GOST"}, {3, "gost.shx"},
                {40, "0.0"}, {0, "ENDTAB"}, {0, "TABLE"}, {2, "DIMSTYLE"}, {0, "DIMSTYLE"}, {105, "27"},
                {2, "Standard"}, {70, "0"}, {0, "DIMSTYLE"}, {105, "28"}, {2, "ISO-25"}, {70, "0"}, {40, "2.0"},
                {140, "2.5"}, {147, "0.625"}, {178, "3"}, {271, "2"}, {277, "2"}, {340, "12"}, {0, "ENDTAB"},
                {0, "TABLE"}, {2, "BLOCK_RECORD"}, {0, "BLOCK_RECORD"}, {5, "1F"}, {2, "*Model_Space"},
                {0, "BLOCK_RECORD"}, {5, "1B"}, {2, "*Paper_Space"}, {0, "ENDTAB"}, {0, "ENDSEC"}, {0, "SECTION"},
                {2, "BLOCKS"}}) +
         blocks + Write({{0, "ENDSEC"}, {0, "SECTION"}, {2, "ENTITIES"}}) + entities +
         Write({{0, "ENDSEC"}, {0, "EOF"}});
}

std::string Block(const std::string& name, const std::string& entities) {
  return Write({{0, "BLOCK"}, {5, "B0"}, {8, "0"}, {2, name}, {70, "1"}, {10, "0.0"}, {20, "0.0"}, {30, "0.0"},
                {3, name}}) +
         Write({{0, "LINE"}, {5, "B1"}, {8, "0"}, {10, "0.0"}, {20, "0.0"}, {30, "0.0"}, {11, "30.0"}, {21, "0.0"},
                {31, "0.0"}}) +
         entities + Write({{0, "ENDBLK"}, {5, "B9"}, {8, "0"}});
}

std::string BlockMText(const std::string& contents) {
  return Write({{0, "MTEXT"}, {5, "B2"}, {8, "0"}, {100, "AcDbMText"}, {10, "15.0"}, {20, "1.0"}, {30, "0.0"},
                {40, "2.5"}, {41, "0.0"}, {71, "5"}, {1, contents}, {7, "GOST"}});
}

// A dimension of `style` drawn by `block`, with `text` as its override (no group 1 when null),
// and `xdata` after its groups.
std::string Dimension(const char* text, const std::string& style, const std::string& xdata = "",
                      int type = 33, const std::string& block = "*D1") {
  std::string s = Write({{0, "DIMENSION"}, {5, "40"}, {8, "0"}, {100, "AcDbDimension"}, {2, block}, {10, "30.0"},
                         {20, "5.0"}, {30, "0.0"}, {11, "15.0"}, {21, "5.0"}, {31, "0.0"}, {70, std::to_string(type)}});
  if (text != nullptr) s += Write({{1, text}});
  return s + Write({{3, style}, {42, "30.25"}, {100, "AcDbAlignedDimension"}}) + xdata;
}

// The ACAD DSTYLE extended data with `pairs` inside the braces.
std::string DStyle(minidxf::Groups pairs) {
  return Write({{1001, "ACAD"}, {1000, "DSTYLE"}, {1002, "{"}}) + Write(pairs) + Write({{1002, "}"}});
}

std::unique_ptr<AcDbDatabase> Load(const std::string& bytes) {
  auto load = qhost::LoadDrawingFromBytes(bytes, "test.dxf");
  EXPECT_TRUE(load.database) << load.error;
  return std::move(load.database);
}

AcDbDimension* OpenDimension(AcDbDatabase& db, AcDb::OpenMode mode) {
  AcDbObjectId id;
  db.getAcDbObjectId(id, false, AcDbHandle("40"));
  AcDbDimension* d = nullptr;
  EXPECT_EQ(Acad::eOk, acdbOpenObject(d, id, mode));
  return d;
}

std::string NameOf(AcDbObjectId id) {
  AcDbSymbolTableRecord* record = nullptr;
  if (acdbOpenObject(record, id, AcDb::kForRead) != Acad::eOk) return "(none)";
  const char* name = nullptr;
  record->getName(name);
  std::string result = name;
  record->close();
  return result;
}

// The override text set, the block recomputed, the drawing as the saver writes it.
std::string AfterEdit(AcDbDatabase& db, const char* text) {
  AcDbDimension* d = OpenDimension(db, AcDb::kForWrite);
  d->setDimensionText(text);
  EXPECT_EQ(Acad::eOk, d->recomputeDimBlock());
  d->close();
  return qhost::DrawingToBytes(db);
}

// --- What the host knows of a dimension -------------------------------------------------

TEST(DxfDimension, StyleGivesTheVariablesAndTheDimensionItsOwnOverrides) {
  auto db = Load(Drawing("AC1015", Block("*D1", BlockMText("30,25")),
                         Dimension("", "ISO-25", DStyle({{1070, "140"}, {1040, "3.5"}, {1070, "271"}, {1070, "1"},
                                                         {1070, "340"}, {1005, "11"}}))));
  AcDbDimension* d = OpenDimension(*db, AcDb::kForRead);
  EXPECT_EQ("ISO-25", NameOf(d->dimensionStyle()));
  // Overridden: text height, decimal places, text style.
  EXPECT_DOUBLE_EQ(3.5, d->dimtxt());
  EXPECT_EQ(1, d->dimdec());
  EXPECT_EQ("Standard", NameOf(d->dimtxsty()));
  // The style's own.
  EXPECT_DOUBLE_EQ(2.0, d->dimscale());
  EXPECT_DOUBLE_EQ(0.625, d->dimgap());
  EXPECT_EQ(3, d->dimclrt().colorIndex());
  EXPECT_EQ(2, d->dimlunit());
  EXPECT_DOUBLE_EQ(30.25, d->measurement());
  EXPECT_EQ("*D1", NameOf(d->dimBlockId()));
  d->close();
}

TEST(DxfDimension, VariablesTheStyleLacksHaveTheHostDefaults) {
  // "Standard" gives no variables; a style name the table lacks means "Standard".
  for (const char* style : {"Standard", "Missing"}) {
    SCOPED_TRACE(style);
    auto db = Load(Drawing("AC1015", "", Dimension("", style)));
    AcDbDimension* d = OpenDimension(*db, AcDb::kForRead);
    EXPECT_DOUBLE_EQ(0.18, d->dimtxt());
    EXPECT_DOUBLE_EQ(1.0, d->dimscale());
    EXPECT_DOUBLE_EQ(0.09, d->dimgap());
    EXPECT_TRUE(d->dimclrt().isByBlock());
    EXPECT_EQ(4, d->dimdec());
    EXPECT_EQ(2, d->dimlunit());
    EXPECT_TRUE(d->dimBlockId().isNull());  // the file has no block *D1
    d->close();
  }
}

TEST(DxfDimension, UnchangedDrawingSavesToTheSameBytes) {
  std::string file = Drawing("AC1015", Block("*D1", BlockMText("30,25")),
                             Dimension("<> mm", "ISO-25", DStyle({{1070, "140"}, {1040, "3.5"}})));
  auto db = Load(file);
  AcDbDimension* d = OpenDimension(*db, AcDb::kForWrite);
  d->close();
  EXPECT_BYTES_EQ(file, qhost::DrawingToBytes(*db));
}

// --- The block follows the text ---------------------------------------------------------

TEST(DxfDimensionBlock, TextShowsTheOverrideWithTheMeasurementTheBlockShowed) {
  struct Case {
    const char* what;
    const char* loaded;   // the override text in the file
    const char* shown;    // the block's text in the file
    const char* typed;    // the new override text
    const char* expected; // the block's text after it
  } cases[] = {
      {"the measurement alone, then beside text", "", "\\A1;30,25", "<>AB", "\\A1;30,25AB"},
      {"the placeholder alone", "<>", "30,25", "{\\C1;<>AB}", "{\\C1;30,25AB}"},
      {"text around the placeholder", "L=<> mm", "L=30,25 mm", "<>x", "30,25x"},
      {"no placeholder: the text alone", "", "30,25", "free", "free"},
      {"back to the measurement", "L=<>", "L=30,25", "", "30,25"},
      // The override replaced the measurement: it is formatted with the dimension's places.
      {"measurement not shown", "free", "free", "<>", "30.25"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto db = Load(Drawing("AC1015", Block("*D1", BlockMText(c.shown)), Dimension(c.loaded, "ISO-25")));
    EXPECT_BYTES_EQ(Drawing("AC1015", Block("*D1", BlockMText(c.expected)), Dimension(c.typed, "ISO-25")),
                    AfterEdit(*db, c.typed));
  }
}

TEST(DxfDimensionBlock, SecondEditFindsTheMeasurementAgain) {
  auto db = Load(Drawing("AC1015", Block("*D1", BlockMText("30,25")), Dimension("", "ISO-25")));
  AfterEdit(*db, "[<>]");
  EXPECT_BYTES_EQ(Drawing("AC1015", Block("*D1", BlockMText("30,25 mm")), Dimension("<> mm", "ISO-25")),
                  AfterEdit(*db, "<> mm"));
}

TEST(DxfDimensionBlock, SingleLineTextOfAnOldDrawingShowsTheCharactersWithoutCodes) {
  auto text = [](const std::string& s) {
    return Write({{0, "TEXT"}, {5, "B2"}, {8, "0"}, {10, "15.0"}, {20, "1.0"}, {30, "0.0"}, {40, "2.5"}, {1, s}});
  };
  auto db = Load(Drawing("AC1009", Block("*D1", text("108%%d")), Dimension(nullptr, "Standard", "", 34)));
  EXPECT_BYTES_EQ(Drawing("AC1009", Block("*D1", text("108%%dAB")), Dimension("{\\C1;<>AB}", "Standard", "", 34)),
                  AfterEdit(*db, "{\\C1;<>AB}"));
}

TEST(DxfDimensionBlock, WithoutABlockOrAWriteOpenNothingIsDrawn) {
  std::string file = Drawing("AC1015", "", Dimension("", "ISO-25"));
  auto db = Load(file);
  AcDbDimension* d = OpenDimension(*db, AcDb::kForRead);
  EXPECT_EQ(Acad::eNotOpenForWrite, d->recomputeDimBlock());
  d->close();
  EXPECT_BYTES_EQ(Drawing("AC1015", "", Dimension("<>AB", "ISO-25")), AfterEdit(*db, "<>AB"));

  // A dimension that names model space as its block draws nothing there.
  std::string text = minidxf::MText("41", {{1, "30,25"}});
  db = Load(Drawing("AC1015", "", Dimension("", "ISO-25", "", 33, "*Model_Space") + text));
  EXPECT_BYTES_EQ(Drawing("AC1015", "", Dimension("<>AB", "ISO-25", "", 33, "*Model_Space") + text),
                  AfterEdit(*db, "<>AB"));
}

}  // namespace
