// The drawing adapter on the host stand-in: new texts, writing MText and dimension override texts.
#include "host/DrawingAdapter.h"

#include <acedads.h>
#include <adscodes.h>
#include <dbdim.h>
#include <dbents.h>

#include <string>
#include <vector>

#include "arx/HostFixture.h"
#include "converter/MTextRtfConverter.h"
#include "host/EditTarget.h"
#include "host/HostColors.h"
#include "qplatform/Drawing.h"
#include "qplatform/MText.h"
#include "qplatform/RichEditTesting.h"
#include "qplatform/WindowSystem.h"
#include "support/Bytes.h"
#include "win32/Fixture.h"

namespace {

class DrawingAdapterTest : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    qwin::Reset();
    theEditTarget = EditTarget();
  }
  void TearDown() override {
    theEditTarget = EditTarget();
    qwin::Reset();
    HostTest::TearDown();
  }

  // What RtfToMText makes of `typed` in a fresh rich edit control, as the editor converts it.
  static CString TypedAsMText(const std::string& typed) {
    HWND frame = CreateFrame();
    HWND edit = CreateChild(frame, "RICHEDIT", 1, ES_MULTILINE, "", RECT{0, 0, 200, 100});
    auto send = [edit](UINT m, WPARAM w, LPARAM l) { return SendMessage(edit, m, w, l); };
    qplatform::ReplaceSelection(send, typed);
    std::string rtf = qplatform::StreamOutRtf(send);
    DestroyWindow(frame);
    HostColors colors;
    return MTextRtfConverter(colors).RtfToMText(CString(rtf.c_str()));
  }

  static std::string PlainText(const std::string& contents) {
    std::string text;
    for (const auto& token : qhost::mtext::Tokenize(contents))
      if (token.kind == qhost::mtext::TokenKind::kText) text += token.text;
    return text;
  }

  // Makes the entity the target, with a text the user changed: the contents given are written.
  void Target(AcDbObjectId id) {
    acdbGetAdsName(theEditTarget.entityName, id);
    theEditTarget.textEdited = true;
  }

  AcDbObjectId AddDimension(const char* overrideText) {
    auto* dim = new AcDbAlignedDimension;
    dim->setDimensionText(overrideText);
    return Add(dim);
  }
  std::string DimensionText(AcDbObjectId id) {
    AcDbDimension* dim = nullptr;
    EXPECT_EQ(acdbOpenObject(dim, id, AcDb::kForRead), Acad::eOk);
    char* text = dim->dimensionText();
    std::string result = text;
    acutDelString(text);
    dim->close();
    return result;
  }
};

// ---- Dimension override texts from what the user typed ----

TEST_F(DrawingAdapterTest, TypedTextOnADimensionBecomesItsOverrideText) {
  struct Case {
    const char* what;
    std::string typed;
    std::string plain;  // the override text's plain text
  } cases[] = {
      {"three letters", "ABC", "ABC"},
      {"the placeholder alone keeps the empty override", "<>", ""},
      {"placeholder in a text", "L=<> mm", "L=<> mm"},
      {"two paragraphs keep the first break", "one\rtwo", "onetwo"},
      {"Cyrillic", "\xC4\xEB\xE8\xED\xE0", "\xC4\xEB\xE8\xED\xE0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    AcDbObjectId id = AddDimension("");
    Target(id);
    theEditTarget.isDimension = true;
    WriteTargetContents(TypedAsMText(c.typed), "");
    std::string written = DimensionText(id);
    EXPECT_EQ(PlainText(written), c.plain) << written;
    EXPECT_EQ(std::string(theEditTarget.currentContents), written);
    // Every group the text opens is closed again.
    int depth = 0;
    for (const auto& token : qhost::mtext::Tokenize(written)) {
      if (token.kind == qhost::mtext::TokenKind::kGroupOpen) ++depth;
      if (token.kind == qhost::mtext::TokenKind::kGroupClose) --depth;
    }
    EXPECT_EQ(depth, 0) << written;
  }
}

TEST_F(DrawingAdapterTest, AnEmptyEditorGivesTheEmptyOverrideSoTheMeasurementShowsAgain) {
  AcDbObjectId id = AddDimension("old text");
  Target(id);
  theEditTarget.isDimension = true;
  int updates = qhost::Display().updates;
  WriteTargetContents(TypedAsMText(""), "");
  EXPECT_EQ(DimensionText(id), "");
  EXPECT_EQ(qhost::Display().updates, updates + 1);
}

TEST_F(DrawingAdapterTest, OverrideTextKeepsEveryLine) {
  struct Case {
    const char* contents;
    const char* expected;
  } cases[] = {
      // RtfToMText's shape: every line stays, a two-line override and an own last empty line too.
      {"{{\\fArial|b0;{\\H1.7;ABC}}}", "{{\\fArial|b0;{\\H1.7;ABC}}}"},
      {"{{\\fArial|b0;{\\H1.7;A\\PB}}}", "{{\\fArial|b0;{\\H1.7;A\\PB}}}"},
      {"{{\\fArial|b0;{\\H1.7;A\\P}}}", "{{\\fArial|b0;{\\H1.7;A\\P}}}"},
      {"ABCD", "ABCD"},
      // What the text leaves open is closed.
      {"{\\fArial;AB\\PCD", "{\\fArial;AB\\PCD}"},
      // Only codes: the empty override.
      {"{\\fArial|b0;\\P}", ""},
      {"{{\\fArial|b0;{\\H1.7\\C7;}}}", ""},
      {"", ""},
      // Escaped characters are text: "\\P" is no break, "\{" opens no group.
      {"{\\fA;x\\\\P}", "{\\fA;x\\\\P}"},
      {"{\\fA;\\{\\P}", "{\\fA;\\{\\P}"},
  };
  for (const Case& c : cases) EXPECT_BYTES_EQ(c.expected, DimensionOverrideText(c.contents)) << c.contents;
}

// ---- A dimension's own text height ----

TEST_F(DrawingAdapterTest, DimensionTextHeightIsTheOverridesHeightCodeElseTheStyles) {
  struct Case {
    const char* overrideText;
    double height;
  } cases[] = {
      {"", 2.5},  // the default drawing's style: DIMTXT 2.5, DIMSCALE 1
      {"<> mm", 2.5},
      {"{\\H3.5;<>}", 3.5},
      {"{\\fArial;\\H7\\C1;x}", 7.0},  // a height code whose ';' is missing
      {"{\\H2x;<>}", 5.0},              // relative to the style's
      {"a\\\\H9;b", 2.5},                // an escaped backslash: text, not a code
  };
  for (const Case& c : cases) {
    AcDbObjectId id = AddDimension(c.overrideText);
    AcDbDimension* dim = nullptr;
    ASSERT_EQ(acdbOpenObject(dim, id, AcDb::kForRead), Acad::eOk);
    EXPECT_DOUBLE_EQ(c.height, DimensionTextHeight(*dim, c.overrideText)) << c.overrideText;
    dim->close();
  }
}

TEST_F(DrawingAdapterTest, HeightCodesOfTheDimensionsOwnHeightGoUnlessTheOverrideHadThem) {
  struct Case {
    const char* what;
    const char* text;
    double height;
    const char* original;
    const char* expected;
  } cases[] = {
      {"RtfToMText's base height goes", "{{{\\H2.5\\C7;<>xy}}}", 2.5, "", "{{{\\C7;<>xy}}}"},
      {"with its ';'", "{\\H2.5;<>xy}", 2.5, "<>", "{<>xy}"},
      {"a height the user set stays", "{\\H2.5;<>{\\H5;xy}}", 2.5, "", "{<>{\\H5;xy}}"},
      {"heights equal in half-points at the dimension's view scale are the same", "{\\H0.1797;<>}", 0.18, "", "{<>}"},
      {"a height a half-point off at that scale stays", "{\\H0.1667;<>}", 0.18, "", "{\\H0.1667;<>}"},
      {"a tall dimension's own height goes", "{{{\\H500;<>xy}}}", 500.0, "", "{{{<>xy}}}"},
      {"the override had the code: it stays", "{\\H3.5;<>xy}", 3.5, "{\\H3.5;<>}", "{\\H3.5;<>xy}"},
      {"a relative height stays", "{\\H2.5x;<>}", 2.5, "", "{\\H2.5x;<>}"},
      {"escaped backslash before H is text", "a\\\\H2.5;b", 2.5, "", "a\\\\H2.5;b"},
      {"no height known: nothing goes", "{\\H2.5;x}", 0.0, "", "{\\H2.5;x}"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_BYTES_EQ(c.expected, WithoutAddedHeightCodes(c.text, c.height, c.original));
  }
}

TEST_F(DrawingAdapterTest, MeasurementAloneKeepsTheOverrideTheDrawingHad) {
  for (const char* original : {"", "<>"}) {
    AcDbObjectId id = AddDimension(original);
    Target(id);
    theEditTarget.isDimension = true;
    theEditTarget.dimensionText = original;
    WriteTargetContents("{{\\fArial|b0;{\\C7;<>}}}", "");
    EXPECT_EQ(original, DimensionText(id));
  }
  // Text beside it is written.
  AcDbObjectId id = AddDimension("");
  Target(id);
  WriteTargetContents("{\\C7;<>x\\Py}", "");
  EXPECT_EQ("{\\C7;<>x\\Py}", DimensionText(id)) << "a two-line override keeps both lines";
}

TEST_F(DrawingAdapterTest, WithoutTheDimensionFlagTheContentsAreWrittenAsTheyAre) {
  AcDbObjectId id = AddDimension("");
  Target(id);
  theEditTarget.isDimension = false;
  WriteTargetContents("{\\fA;x\\P}", "");
  EXPECT_EQ(DimensionText(id), "{\\fA;x\\P}");
}

// ---- MText ----

TEST_F(DrawingAdapterTest, WritingAnMTextSetsContentsAndEveryProperty) {
  auto* mtext = new AcDbMText;
  AcDbObjectId id = Add(mtext);
  Target(id);
  EditTarget& t = theEditTarget;
  t.textHeight = 5;
  t.rotation = 0.5;
  t.justification = Justification::kRight;
  t.location = AcGePoint3d(10, 20, 0);
  t.lineSpacingStyle = SpacingStyle::kExactly;
  t.lineSpacingFactor = 1.5;
  t.width = 40;
  t.textStyleId = StyleIdByName("Standard");
  WriteTargetContents("{\\fArial;Hi\\P}", "");
  AcDbMText* written = nullptr;
  ASSERT_EQ(acdbOpenObject(written, id, AcDb::kForRead), Acad::eOk);
  EXPECT_STREQ(written->contentsConst(), "{\\fArial;Hi\\P}");
  EXPECT_EQ(written->textHeight(), 5);
  EXPECT_EQ(written->rotation(), 0.5);
  EXPECT_EQ(written->horizontalMode(), static_cast<AcDb::TextHorzMode>(2));
  EXPECT_EQ(written->location().x, 10);
  EXPECT_EQ(written->lineSpacingStyle(), static_cast<AcDb::LineSpacingStyle>(2));
  EXPECT_EQ(written->lineSpacingFactor(), 1.5);
  EXPECT_EQ(written->width(), 40);
  EXPECT_EQ(written->textStyle(), t.textStyleId);
  written->close();
  // No style text in the dialog: the name follows the id written.
  EXPECT_EQ(std::string(t.textStyleName), "Standard");
  WriteTargetContents("x", "Other");
  EXPECT_EQ(std::string(t.textStyleName), "Other");
}

TEST_F(DrawingAdapterTest, ANewTextTakesTheCurrentStyleWhenItsOwnNamesNone) {
  theEditTarget.textStyleName = "Missing";
  theEditTarget.location = AcGePoint3d(1, 2, 0);
  theEditTarget.textHeight = 5;
  theEditTarget.lineSpacingStyle = SpacingStyle::kAtLeast;
  theEditTarget.lineSpacingFactor = 1;
  CreateMText("");
  EXPECT_EQ(std::string(theEditTarget.textStyleName), "Standard");
  EXPECT_TRUE(theEditTarget.textStyleId.isNull());  // used for this entity only
  AcDbObjectId id;
  ASSERT_EQ(acdbGetObjectId(id, theEditTarget.entityName), Acad::eOk);
  AcDbMText* mtext = nullptr;
  ASSERT_EQ(acdbOpenObject(mtext, id, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(mtext->textHeight(), 5);
  EXPECT_EQ(mtext->location().y, 2);
  EXPECT_EQ(mtext->textStyle(), StyleIdByName("Standard"));
  mtext->close();
}

// ---- Only what the user changed is written ----

// An MText as a drawing may hold it, with every property the record holds as well.
AcDbMText* LoadedMText(const char* contents) {
  auto* mtext = new AcDbMText;
  mtext->setContents(contents);
  mtext->setTextHeight(3);
  mtext->setLocation(AcGePoint3d(4, 5, 0));
  mtext->setWidth(69.6875);
  return mtext;
}

void TargetHoldsWhatTheEntityHolds(AcDbObjectId id, const char* contents) {
  EditTarget& t = theEditTarget;
  acdbGetAdsName(t.entityName, id);
  t.loadedContents = contents;
  t.textEdited = false;
  t.textHeight = 3;
  t.location = AcGePoint3d(4, 5, 0);
  t.width = 69.6875;
  t.lineSpacingStyle = SpacingStyle::kAtLeast;
  t.lineSpacingFactor = 1;
}

TEST_F(DrawingAdapterTest, AnUnchangedTextWithUnchangedPropertiesIsNotTouched) {
  // Codes RtfToMText would never give back as they are.
  const char* contents = "{\\fGOST|b0;\\H0.7x;\\S1/2;}\\P";
  AcDbObjectId id = Add(LoadedMText(contents));
  TargetHoldsWhatTheEntityHolds(id, contents);
  const std::string before = qhost::DrawingToBytes(db());
  const int updates = qhost::Display().updates;
  WriteTargetContents("{{\\H3.0;converted\\P}}", "");
  EXPECT_BYTES_EQ(before, qhost::DrawingToBytes(db()));
  EXPECT_EQ(qhost::Display().updates, updates) << "nothing to redraw";
}

TEST_F(DrawingAdapterTest, APropertyChangedBeforeTheTextWritesOnlyThatProperty) {
  const char* contents = "{\\fGOST|b0;odd}";
  AcDbObjectId id = Add(LoadedMText(contents));
  TargetHoldsWhatTheEntityHolds(id, contents);
  theEditTarget.justification = Justification::kRight;
  WriteTargetContents("", "");  // the dialog's converted text: never filled yet
  AcDbMText* mtext = nullptr;
  ASSERT_EQ(acdbOpenObject(mtext, id, AcDb::kForRead), Acad::eOk);
  EXPECT_STREQ(mtext->contentsConst(), contents);
  EXPECT_EQ(mtext->horizontalMode(), static_cast<AcDb::TextHorzMode>(2));
  EXPECT_EQ(mtext->width(), 69.6875);
  mtext->close();
}

TEST_F(DrawingAdapterTest, ATextChangedAndChangedBackGetsItsOwnContentsAgain) {
  const char* contents = "{\\fGOST|b0;odd}";
  AcDbObjectId id = Add(LoadedMText(contents));
  TargetHoldsWhatTheEntityHolds(id, contents);
  theEditTarget.textEdited = true;
  WriteTargetContents("{{typed\\P}}", "");
  theEditTarget.textEdited = false;  // the editor shows the loaded text again
  WriteTargetContents("{{typed\\P}}", "");
  AcDbMText* mtext = nullptr;
  ASSERT_EQ(acdbOpenObject(mtext, id, AcDb::kForRead), Acad::eOk);
  EXPECT_STREQ(mtext->contentsConst(), contents);
  mtext->close();
}

TEST_F(DrawingAdapterTest, AnUnchangedDimensionKeepsItsOverrideText) {
  // Cut at its last break, this text would lose its second line.
  AcDbObjectId id = AddDimension("<>\\Pmm");
  acdbGetAdsName(theEditTarget.entityName, id);
  theEditTarget.isDimension = true;
  theEditTarget.loadedContents = "<>\\Pmm";
  theEditTarget.textEdited = false;
  WriteTargetContents("", "");
  EXPECT_EQ(DimensionText(id), "<>\\Pmm");
}

// TEXTSIZE itself, not the height box's text, which the drawing's units format rounds (3.5 here).
TEST_F(DrawingAdapterTest, ANewTextWithoutAHeightGetsTextSize) {
  resbuf size{};
  size.restype = RTREAL;
  size.resval.rreal = 3.456;
  ASSERT_EQ(acedSetVar("TEXTSIZE", &size), RTNORM);
  resbuf precision{};
  precision.restype = RTSHORT;
  precision.resval.rint = 1;
  ASSERT_EQ(acedSetVar("LUPREC", &precision), RTNORM);
  theEditTarget.textHeight = 0.0;
  CreateMText("");
  EXPECT_EQ(theEditTarget.textHeight, 3.456);
  AcDbObjectId id;
  ASSERT_EQ(acdbGetObjectId(id, theEditTarget.entityName), Acad::eOk);
  AcDbMText* mtext = nullptr;
  ASSERT_EQ(acdbOpenObject(mtext, id, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(mtext->textHeight(), 3.456);
  mtext->close();
  // In fractional units the box shows "3 1/2", no number to read back.
  size.resval.rreal = 3.5;
  ASSERT_EQ(acedSetVar("TEXTSIZE", &size), RTNORM);
  resbuf units{};
  units.restype = RTSHORT;
  units.resval.rint = 5;
  ASSERT_EQ(acedSetVar("LUNITS", &units), RTNORM);
  theEditTarget.textHeight = 0.0;
  CreateMText("");
  EXPECT_EQ(theEditTarget.textHeight, 3.5) << HeightText(0.0);
}

// A new text knows its own height at its own view scale, and nothing of the heights and fonts the
// text edited before it knew (a size of those would come back as their text).
TEST_F(DrawingAdapterTest, ANewTextKnowsOnlyItsOwnHeight) {
  const struct {
    double height;
    KnownHeights known;
    double halfPointsPerUnit;
  } cases[] = {
      {2.25, {{27, "2.25"}}, 12.0},
      {500.0, {{24, "500"}}, 24.0 / 500.0},
      {0.0001, {{24, "0.0001"}}, 24.0 / 0.0001},
  };
  for (const auto& c : cases) {
    theEditTarget.knownHeights = {{27, "2.26"}, {30, "2.5"}};
    theEditTarget.knownFonts = {{"Arial|c0", "Arial|c0|p7"}};
    theEditTarget.textHeight = c.height;
    CreateMText("");
    EXPECT_EQ(theEditTarget.knownHeights, c.known) << c.height;
    EXPECT_TRUE(theEditTarget.knownFonts.empty());
    EXPECT_DOUBLE_EQ(theEditTarget.halfPointsPerUnit, c.halfPointsPerUnit);
  }
}

TEST_F(DrawingAdapterTest, ANewTextGoesToPaperSpaceWhenTilemodeIsOff) {
  resbuf off{};
  off.restype = RTSHORT;
  off.resval.rint = 0;
  ASSERT_EQ(acedSetVar("TILEMODE", &off), RTNORM);
  theEditTarget.textHeight = 2.5;
  theEditTarget.lineSpacingStyle = SpacingStyle::kAtLeast;
  theEditTarget.lineSpacingFactor = 1;
  CreateMText("");
  AcDbObjectId id;
  ASSERT_EQ(acdbGetObjectId(id, theEditTarget.entityName), Acad::eOk);
  AcDbMText* mtext = nullptr;
  ASSERT_EQ(acdbOpenObject(mtext, id, AcDb::kForRead), Acad::eOk);
  AcDbObjectId space = mtext->blockId();
  mtext->close();
  AcDbBlockTable* table = nullptr;
  db().getBlockTable(table, AcDb::kForRead);
  AcDbObjectId paper;
  table->getAt(ACDB_PAPER_SPACE, paper);
  table->close();
  EXPECT_EQ(space, paper);
}

// ---- Reading the chosen entity into the record ----

TEST_F(DrawingAdapterTest, ReadingTheTargetTakesAnMTextsPropertiesAndADimensionsOverride) {
  theEditTarget.textHeight = 7.0;  // a dimension leaves the record's height for the next new text
  auto* mtext = new AcDbMText;
  mtext->setContents("{\\Ftimes|c204;Hello}");
  mtext->setTextHeight(3.5);
  mtext->setWidth(40.0);
  mtext->setRotation(0.5);
  mtext->setLocation(AcGePoint3d(1, 2, 0));
  mtext->setHorizontalMode(AcDb::kTextRight);
  mtext->setLineSpacingFactor(1.5);
  mtext->setLineSpacingStyle(AcDb::kExactly);
  mtext->setTextStyle(StyleIdByName("Standard"));
  AcDbObjectId dimension = AddDimension("L=<>");
  AcDbObjectId line = Add(new AcDbLine);
  AcDbObjectId mtextId = Add(mtext);

  struct Case {
    const char* what;
    AcDbObjectId id;
    TargetEntity kind;
    std::string text;
  } cases[] = {
      {"a dimension: its override text", dimension, TargetEntity::kDimension, "L=<>"},
      {"another entity: its class name", line, TargetEntity::kOther, "AcDbLine"},
      {"an MText: its contents", mtextId, TargetEntity::kMText, "{\\Ftimes|c204;Hello}"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    theEditTarget.isDimension = false;
    acdbGetAdsName(theEditTarget.entityName, c.id);
    CString text;
    EXPECT_EQ(ReadTargetEntity(text), c.kind);
    EXPECT_EQ(std::string(text), c.text);
    EXPECT_EQ(theEditTarget.isDimension, c.kind == TargetEntity::kDimension);
    // The entity is closed again: the test can open it for write.
    AcDbObject* object = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(object, c.id, AcDb::kForWrite), Acad::eOk);
    object->close();
    if (c.kind == TargetEntity::kDimension) {
      EXPECT_EQ(std::string(theEditTarget.dimensionText), "L=<>");
      EXPECT_GT(theEditTarget.dimensionHeight, 0.0);
      EXPECT_EQ(theEditTarget.textHeight, 7.0);
    }
  }
  const EditTarget& t = theEditTarget;
  EXPECT_EQ(t.textHeight, 3.5);
  EXPECT_EQ(t.width, 40.0);
  EXPECT_EQ(t.rotation, 0.5);
  EXPECT_EQ(t.location, AcGePoint3d(1, 2, 0));
  EXPECT_EQ(t.justification, Justification::kRight);
  EXPECT_EQ(t.lineSpacingFactor, 1.5);
  EXPECT_EQ(t.lineSpacingStyle, SpacingStyle::kExactly);
  EXPECT_EQ(std::string(t.textStyleName), "Standard");

  // An entity open elsewhere is passed over, the text left as it was.
  AcDbMText* open = nullptr;
  ASSERT_EQ(acdbOpenObject(open, mtextId, AcDb::kForWrite), Acad::eOk);
  CString text("before");
  EXPECT_EQ(ReadTargetEntity(text), TargetEntity::kUnopened);
  EXPECT_EQ(std::string(text), "before");
  open->close();
}

// ---- Moving the target and listing styles ----

TEST_F(DrawingAdapterTest, MovingTheTargetSetsOnlyItsLocationAndAlignmentPoint) {
  auto* mtext = new AcDbMText;
  mtext->setContents("kept");
  mtext->setLocation(AcGePoint3d(1, 2, 0));
  AcDbObjectId id = Add(mtext);
  acdbGetAdsName(theEditTarget.entityName, id);
  theEditTarget.location = AcGePoint3d(3.5, 2, 0);
  EXPECT_TRUE(MoveTargetToLocation());
  AcDbMText* moved = nullptr;
  ASSERT_EQ(acdbOpenObject(moved, id, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(moved->location(), AcGePoint3d(3.5, 2, 0));
  EXPECT_EQ(moved->alignmentPoint(), AcGePoint3d(3.5, 2, 0));
  EXPECT_EQ(std::string(moved->contentsConst()), "kept");
  moved->close();

  // A dimension is no MText: it stays where it is.
  AcDbObjectId dim = AddDimension("");
  acdbGetAdsName(theEditTarget.entityName, dim);
  EXPECT_FALSE(MoveTargetToLocation());
}

TEST_F(DrawingAdapterTest, TheStyleListHoldsTheDrawingsTextStylesInTableOrder) {
  AcDbTextStyleTable* table = nullptr;
  ASSERT_EQ(db().getTextStyleTable(table, AcDb::kForWrite), Acad::eOk);
  auto* record = new AcDbTextStyleTableRecord;
  record->setName("Narrow");
  AcDbObjectId id;
  ASSERT_EQ(table->add(id, record), Acad::eOk);
  record->close();
  table->close();
  std::vector<std::string> names;
  for (const CString& name : TextStyleNames()) names.emplace_back(name);
  EXPECT_EQ(names, (std::vector<std::string>{"Standard", "Narrow"}));
}

}  // namespace
