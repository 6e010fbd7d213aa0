// The host's own commands, driven through the command line as a person would type them.
#include "HostFixture.h"
#include "acedads.h"
#include "adscodes.h"
#include "support/Bytes.h"

namespace {

class HostCommandsTest : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    qhost::RegisterHostCommands();
  }
};

TEST_F(HostCommandsTest, EraseRemovesThePickedEntity) {
  AcDbObjectId line = Add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0)));
  Queue({{"command", {"ERASE"}, "t"}, {"pick", {"5", "0"}, "t"}});
  EXPECT_EQ(0, qhost::RunCommandLine());
  EXPECT_TRUE(line.isErased());
}

TEST_F(HostCommandsTest, SetVarShowsTheCurrentValueAndSetsANewOne) {
  Queue({{"command", {"SETVAR", "TEXTSIZE", "5"}, "t"}, {"command", {"SETVAR", "LUPREC", "12"}, "t"},
         {"command", {"SETVAR", "NOSUCH"}, "t"}});
  EXPECT_EQ(0, qhost::RunCommandLine());
  EXPECT_EQ(5.0, db().textsize());
  EXPECT_EQ(4, db().luprec());
  EXPECT_BYTES_EQ(
      "\nCommand: SETVAR\nEnter variable name: TEXTSIZE\nEnter new value for TEXTSIZE <2.5>: 5"
      "\nCommand: SETVAR\nEnter variable name: LUPREC\nEnter new value for LUPREC <4>: 12\nInvalid value."
      "\nCommand: SETVAR\nEnter variable name: NOSUCH\nUnknown variable name.\nCommand: \n",
      Transcript());
}

TEST_F(HostCommandsTest, NewTextTakesTheCurrentStyleAndSizeInTheCurrentSpace) {
  resbuf rb{nullptr, RTSHORT, {}};
  rb.resval.rint = 0;
  acedSetVar("TILEMODE", &rb);
  Queue({{"command", {"MTEXT", "1,2", "\\LA\\lB"}, "t"}});
  EXPECT_EQ(0, qhost::RunCommandLine());
  AcDbObjectId id = qhost::EntityAt(db(), AcGePoint3d(1.5, 1.5, 0), 0.1);
  AcDbMText* m = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(m, id, AcDb::kForRead));
  EXPECT_STREQ("\\LA\\lB", m->contentsConst());
  EXPECT_EQ(2.5, m->textHeight());
  EXPECT_EQ(db().textstyle(), m->textStyle());
  EXPECT_EQ(AcDbMText::kTopLeft, m->attachment());
  m->close();
}

TEST_F(HostCommandsTest, ListPrintsPropertiesAndTheTextAsDrawn) {
  Queue({{"command", {"MTEXT", "0,0", "one\\Ptwo"}, "t"}, {"command", {"LIST"}, "t"}, {"pick", {"1", "-1"}, "t"}});
  EXPECT_EQ(0, qhost::RunCommandLine());
  EXPECT_NE(std::string::npos, Transcript().find("  Contents: one\\Ptwo\n  Text:\n    one\n    two\n")) << Transcript();
}

}  // namespace

namespace {

TEST_F(HostCommandsTest, ViewDrawsTheCurrentSpaceWithACoordinateRuler) {
  Add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(40, 0, 0)));
  auto* m = new AcDbMText();
  m->setLocation(AcGePoint3d(10, 12.5, 0));
  m->setContents("AB");
  Add(m);
  // The text's baseline at y 10 from x 10, the line along y 0, each labelled on the ruler.
  EXPECT_BYTES_EQ(
      "       |\n"
      "       |\n"
      "       |\n"
      "       |\n"
      "    10 +            AB\n"
      "       |\n"
      "       |\n"
      "       |\n"
      "       |\n"
      "     0 + --------------------------------------------\n"
      "       ++---------------------+--------------------+\n"
      "        0                     20                   40\n",
      qhost::DrawingPicture(db(), 52, 12));
  // Entities spread over the extents: the first view is the same whole.
  EXPECT_BYTES_EQ(qhost::DrawingPicture(db(), 52, 12), qhost::DrawingPicture(db(), 52, 12, nullptr, qhost::ViewFraming::kCrowded));
  qhost::DrawingWindow window{20, -5, 40, 5};
  EXPECT_EQ(std::string::npos, qhost::DrawingPicture(db(), 46, 7, &window).find("AB"));
  // Far from 0 a ruler step is lost in rounding; the ruler still ends.
  qhost::DrawingWindow far{1e20, 1e20, 1e20 + 1e3, 1e20 + 1e3};
  EXPECT_NE(std::string::npos, qhost::DrawingPicture(db(), 46, 7, &far).find("1e+20"));
  db().setTilemode(false);
  EXPECT_EQ("(nothing in this space)\n", qhost::DrawingPicture(db(), 11, 4));
}

TEST_F(HostCommandsTest, FirstViewFramesWhereTheEntitiesCrowdWhenTheExtentsSpanMillions) {
  // A room of 10 by 8 with its name near the origin, and one stray line four million units away.
  const AcGePoint3d corners[] = {{0, 0, 0}, {10, 0, 0}, {10, 8, 0}, {0, 8, 0}};
  for (int i = 0; i < 4; ++i) Add(new AcDbLine(corners[i], corners[(i + 1) % 4]));
  auto* name = new AcDbMText();
  name->setLocation(AcGePoint3d(2, 5, 0));
  name->setContents("KITCHEN");
  Add(name);
  Add(new AcDbLine(AcGePoint3d(4e6, 3e6, 0), AcGePoint3d(4e6 + 5, 3e6, 0)));
  Queue({{"command", {"VIEW"}, "t"}, {"command", {"ZOOM", "E"}, "t"}});
  EXPECT_EQ(0, qhost::RunCommandLine());
  std::string t = Transcript();
  size_t zoom = t.find("Command: ZOOM");
  ASSERT_NE(std::string::npos, zoom) << t;
  std::string first = t.substr(0, zoom), whole = t.substr(zoom);
  // The first view: the room's name readable, the ruler in the room's units, and how to see the rest.
  EXPECT_NE(std::string::npos, first.find("KITCHEN")) << first;
  EXPECT_NE(std::string::npos, first.find(" 0           2           4           6           8           10")) << first;
  EXPECT_NE(std::string::npos,
            first.find("This view frames where the entities crowd (5 of 6); the drawing reaches from 0,0 to "
                       "4e+06,3e+06: ZOOM E shows it all.\n"))
      << first;
  // ZOOM E: the whole, labelled in millions, without the note; the name is lost in one cell.
  EXPECT_NE(std::string::npos, whole.find("4e+06")) << whole;
  EXPECT_EQ(std::string::npos, whole.find("crowd")) << whole;
}

TEST_F(HostCommandsTest, ViewKeepsTheWindowItWasGivenUntilZoomExtents) {
  Add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1000, 0, 0)));
  Queue({{"command", {"VIEW", "0", "-10", "50", "10"}, "t"}, {"command", {"VIEW"}, "t"},
         {"command", {"ZOOM", "E"}, "t"}, {"command", {"VIEW", "1", "x"}, "t"}});
  EXPECT_EQ(0, qhost::RunCommandLine());
  std::string t = Transcript();
  size_t second = t.find("Command: VIEW", t.find("Opposite corner y: 10"));
  size_t zoom = t.find("Command: ZOOM");
  ASSERT_NE(std::string::npos, second) << t;
  ASSERT_LT(second, zoom) << t;
  // The window's right end, 50, is labelled in both VIEWs; the extents run to 1000.
  EXPECT_NE(std::string::npos, t.substr(second, zoom - second).find(" 50\n")) << t;
  EXPECT_EQ(std::string::npos, t.substr(second, zoom - second).find("1000")) << t;
  EXPECT_NE(std::string::npos, t.substr(zoom).find("1000")) << t;
  EXPECT_NE(std::string::npos, t.find("First corner y: x\nA number was expected.")) << t;
}

}  // namespace
