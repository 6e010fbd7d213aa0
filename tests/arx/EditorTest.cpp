// The editor's prompts, picking, system variables and number formatting.
#include <cmath>
#include <cstdlib>

#include "HostFixture.h"
#include "acdocman.h"
#include "acedads.h"
#include "adscodes.h"
#include "support/Bytes.h"

namespace {

using EditorTest = HostTest;
using qhost::InputEvent;

AcDbMText* MText(const char* contents, AcGePoint3d at) {
  auto* m = new AcDbMText();
  m->setLocation(at);
  m->setContents(contents);
  m->setTextHeight(2.5);
  return m;
}

short Errno() {
  resbuf rb;
  acedGetVar("ERRNO", &rb);
  return rb.resval.rint;
}

// --- Picking -------------------------------------------------------------------------------

TEST_F(EditorTest, PickHitsTheEntityUnderThePoint) {
  AcDbObjectId text = Add(MText("Hello\\Pworld", AcGePoint3d(10, 20, 0)));
  AcDbObjectId line = Add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(100, 0, 0)));
  struct Case {
    InputEvent event;
    int result;
    AcDbObjectId hit;
  } cases[] = {
      // Inside the text's extent (top left at the location, two lines down).
      {{"pick", {"12", "19"}, "t"}, RTNORM, text},
      {{"pick", {"12", "14"}, "t"}, RTNORM, text},
      // On the line, within the pick box.
      {{"pick", {"50", "0.3"}, "t"}, RTNORM, line},
      {{"type", {"50,-0.2"}, "t"}, RTNORM, line},
      // By handle.
      {{"pick", {"handle", "0"}, "t"}, RTERROR, AcDbObjectId()},
      {{"escape", {}, "t"}, RTCAN, AcDbObjectId()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.event.verb + " " + (c.event.args.empty() ? "" : c.event.args[0]));
    Queue({c.event});
    ads_name name;
    ads_point pt;
    EXPECT_EQ(c.result, acedEntSel("\nSelect: ", name, pt));
    AcDbObjectId got;
    if (c.result == RTNORM) acdbGetObjectId(got, name);
    EXPECT_EQ(c.hit, got);
  }
  char handle[24];
  text.handle().getIntoAsciiBuffer(handle);
  Queue({{"pick", {"handle", handle}, "t"}});
  ads_name name;
  ads_point pt;
  ASSERT_EQ(RTNORM, acedEntSel("\nSelect: ", name, pt));
  AcDbObjectId got;
  acdbGetObjectId(got, name);
  EXPECT_EQ(text, got);
}

TEST_F(EditorTest, PickOfEmptySpaceSetsErrno7AndEnterSets52) {
  Add(MText("Hello", AcGePoint3d(10, 20, 0)));
  Queue({{"pick", {"500", "500"}, "t"}});
  ads_name name;
  ads_point pt;
  EXPECT_EQ(RTERROR, acedEntSel("\nSelect: ", name, pt));
  EXPECT_EQ(7, Errno());
  Queue({{"enter", {}, "t"}});
  EXPECT_EQ(RTERROR, acedEntSel("\nSelect: ", name, pt));
  EXPECT_EQ(52, Errno());
}

TEST_F(EditorTest, PickSeesOnlyTheCurrentSpaceAndTheTopmostEntity) {
  AcDbObjectId model = Add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0)));
  AcDbObjectId above = Add(new AcDbLine(AcGePoint3d(5, -5, 0), AcGePoint3d(5, 5, 0)));
  AcDbObjectId paper = Add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0)), ACDB_PAPER_SPACE);
  EXPECT_EQ(above, qhost::EntityAt(db(), AcGePoint3d(5, 0, 0), 0.5));
  EXPECT_EQ(model, qhost::EntityAt(db(), AcGePoint3d(2, 0, 0), 0.5));
  db().setTilemode(false);
  EXPECT_EQ(paper, qhost::EntityAt(db(), AcGePoint3d(2, 0, 0), 0.5));
}

TEST_F(EditorTest, RotatedAndAttachedTextIsHitWhereItIsDrawn) {
  auto* m = MText("ABCDEFGHIJ", AcGePoint3d(0, 0, 0));
  m->setAttachment(AcDbMText::kBottomRight);
  m->setRotation(M_PI / 2);  // the text runs upwards, ends at the location, its top to the left
  AcDbObjectId id = Add(m);
  EXPECT_EQ(id, qhost::EntityAt(db(), AcGePoint3d(-1, -8, 0), 0.1));
  EXPECT_TRUE(qhost::EntityAt(db(), AcGePoint3d(1, -8, 0), 0.1).isNull());
  EXPECT_TRUE(qhost::EntityAt(db(), AcGePoint3d(-1, 8, 0), 0.1).isNull());
  EXPECT_TRUE(qhost::EntityAt(db(), AcGePoint3d(-8, -1, 0), 0.1).isNull());
}

// --- Point prompts ---------------------------------------------------------------------------

TEST_F(EditorTest, GetPointAnswers) {
  struct Case {
    InputEvent event;
    int result;
    double x, y;
  } cases[] = {
      {{"point", {"1.5", "-2"}, "t"}, RTNORM, 1.5, -2},
      {{"type", {"3,4"}, "t"}, RTNORM, 3, 4},
      {{"type", {"@1,1"}, "t"}, RTNORM, 11, 21},  // relative to the base point
      {{"enter", {}, "t"}, RTNONE, 0, 0},
      {{"type", {""}, "t"}, RTNONE, 0, 0},
      {{"escape", {}, "t"}, RTCAN, 0, 0},
  };
  ads_point base = {10, 20, 0};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.event.verb);
    Queue({c.event});
    ads_point p = {0, 0, 0};
    EXPECT_EQ(c.result, acedGetPoint(base, "\nPoint: ", p));
    EXPECT_EQ(c.x, p[X]);
    EXPECT_EQ(c.y, p[Y]);
  }
  EXPECT_TRUE(qhost::InputQueue::Instance().Failures().empty());
}

TEST_F(EditorTest, InvalidPointPromptsAgain) {
  Queue({{"type", {"abc"}, "t"}, {"point", {"1", "2"}, "t"}});
  ads_point p;
  EXPECT_EQ(RTNORM, acedGetPoint(nullptr, "\nPoint: ", p));
  EXPECT_BYTES_EQ("\nPoint: abc\nInvalid point.\nPoint: 1,2", Transcript());
}

TEST_F(EditorTest, InputThatIsNotAnAnswerCancelsAndFails) {
  Queue({{"click", {"5013"}, "session.txt:4"}});
  ads_point p;
  EXPECT_EQ(RTCAN, acedGetPoint(nullptr, "\nPick a point: ", p));
  ASSERT_EQ(1u, qhost::InputQueue::Instance().Failures().size());
  EXPECT_EQ("session.txt:4: \"click\" cannot answer \"Pick a point:\"; that wait was cancelled",
            qhost::InputQueue::Instance().Failures()[0]);
}

TEST_F(EditorTest, InputRunningOutCancelsTheWaitAndNamesIt) {
  ads_point p;
  EXPECT_EQ(RTCAN, acedGetPoint(nullptr, "\nPick a point: ", p));
  EXPECT_TRUE(qhost::InputQueue::Instance().RanOut());
  EXPECT_EQ("Pick a point:", qhost::InputQueue::Instance().RanOutWhile());
  EXPECT_BYTES_EQ("\nPick a point: *Cancel*", Transcript());
}

// --- System variables and units --------------------------------------------------------------

TEST_F(EditorTest, SystemVariablesHaveTheHostDefaults) {
  resbuf rb;
  ASSERT_EQ(RTNORM, acedGetVar("TEXTSTYLE", &rb));
  EXPECT_EQ(RTSTR, rb.restype);
  EXPECT_STREQ("Standard", rb.resval.rstring);
  std::free(rb.resval.rstring);
  ASSERT_EQ(RTNORM, acedGetVar("TEXTSIZE", &rb));
  EXPECT_EQ(RTREAL, rb.restype);
  EXPECT_EQ(2.5, rb.resval.rreal);
  const std::pair<const char*, short> shorts[] = {{"TILEMODE", 1}, {"ERRNO", 0}, {"LUNITS", 2}, {"LUPREC", 4}};
  for (const auto& [name, value] : shorts) {
    ASSERT_EQ(RTNORM, acedGetVar(name, &rb)) << name;
    EXPECT_EQ(RTSHORT, rb.restype) << name;
    EXPECT_EQ(value, rb.resval.rint) << name;
  }
  EXPECT_EQ(RTERROR, acedGetVar("NOSUCHVAR", &rb));
}

TEST_F(EditorTest, SetVarChecksTypeAndRange) {
  resbuf rb{nullptr, RTSHORT, {}};
  rb.resval.rint = 0;
  EXPECT_EQ(RTNORM, acedSetVar("TILEMODE", &rb));
  EXPECT_FALSE(db().tilemode());
  rb.resval.rint = 9;
  EXPECT_EQ(RTERROR, acedSetVar("LUPREC", &rb));
  rb.restype = RTREAL;
  rb.resval.rreal = 3.5;
  EXPECT_EQ(RTNORM, acedSetVar("TEXTSIZE", &rb));
  EXPECT_EQ(3.5, db().textsize());
  rb.restype = RTSTR;
  char none[] = "NoSuchStyle";
  rb.resval.rstring = none;
  EXPECT_EQ(RTERROR, acedSetVar("TEXTSTYLE", &rb));
}

TEST_F(EditorTest, RealToStringFollowsLunitsAndLuprec) {
  struct Case {
    double value;
    int unit, prec;
    const char* expected;
  } cases[] = {
      {2.5, -1, -1, "2.5000"},  // decimal, 4 places by default
      {3, 2, 0, "3"},
      {-0.00001, 2, 2, "0.00"},
      {12.5, 1, 4, "1.2500E+01"},
      {17.5, 3, 2, "1'-5.50\""},
      {17.5, 4, 4, "1'-5 1/2\""},
      {17.5, 5, 4, "17 1/2"},
      {0.25, 5, 1, "1/2"},  // to the nearest half, halves away from zero
      {1e20, 4, 2, "1.00E+20"},  // too large for feet and inches
  };
  for (const Case& c : cases) {
    char buf[64];
    ASSERT_EQ(RTNORM, acdbRToS(c.value, c.unit, c.prec, buf));
    EXPECT_STREQ(c.expected, buf) << c.value;
  }
  resbuf rb{nullptr, RTSHORT, {}};
  rb.resval.rint = 2;
  acedSetVar("LUPREC", &rb);
  char buf[64];
  acdbRToS(3.14159, -1, -1, buf);
  EXPECT_STREQ("3.14", buf);
  EXPECT_EQ(RTERROR, acdbRToS(1, 7, 2, buf));
}

// --- Document, display, context menus --------------------------------------------------------

TEST_F(EditorTest, SendStringToExecuteRunsTheTextAsTyped) {
  qhost::RegisterHostCommands();
  ASSERT_EQ(Acad::eOk, acDocManager->sendStringToExecute(acDocManager->curDocument(), "LINE 0,0 5,5 "));
  EXPECT_EQ(0, qhost::RunCommandLine());
  EXPECT_BYTES_EQ("\nCommand: LINE\nSpecify first point: 0,0\nSpecify next point: 5,5\nCommand: \n", Transcript());
}

TEST_F(EditorTest, RedrawsAreCounted) {
  AcApDocument* doc = acDocManager->curDocument();
  doc->transactionManager()->queueForGraphicsFlush();
  doc->transactionManager()->flushGraphics();
  acedUpdateDisplay();
  EXPECT_EQ(1, qhost::Display().queued);
  EXPECT_EQ(1, qhost::Display().flushes);
  EXPECT_EQ(1, qhost::Display().updates);
}

class RecordingMenu : public AcEdUIContext {
 public:
  void* getMenuContext(const AcRxClass*, const AcDbObjectIdArray&) override {
    ++asked;
    return &handle;
  }
  void onCommand(Adesk::UInt32 id) override { chosen = id; }
  void* handle = nullptr;
  int asked = 0;
  Adesk::UInt32 chosen = 0;
};

TEST_F(EditorTest, ContextMenuItemIsChosenByTitleAndId) {
  RecordingMenu menu;
  ASSERT_TRUE(acedAddDefaultContextMenu(&menu, this, "Menu"));
  EXPECT_FALSE(acedAddDefaultContextMenu(&menu, this, "Menu")) << "added once";
  Queue({{"context-menu", {"Menu", "32771"}, "t"}});
  EXPECT_EQ(0, qhost::RunCommandLine());
  EXPECT_EQ(1, menu.asked);
  EXPECT_EQ(32771u, menu.chosen);
  EXPECT_TRUE(acedRemoveDefaultContextMenu(&menu));
  EXPECT_TRUE(qhost::DefaultContextMenus().empty());
  Queue({{"context-menu", {"Menu", "32771"}, "t"}});
  EXPECT_EQ(1, qhost::RunCommandLine()) << "no such menu any more";
}

TEST_F(EditorTest, WindowsAreNullUntilTheWindowsStandInSetsThem) {
  EXPECT_EQ(nullptr, adsw_acadMainWnd());
  EXPECT_EQ(nullptr, acedGetAcadDwgView());
  qhost::SetHostWindows(reinterpret_cast<HWND>(0x10), nullptr, reinterpret_cast<HINSTANCE>(0x20));
  EXPECT_EQ(reinterpret_cast<HWND>(0x10), adsw_acadMainWnd());
  EXPECT_EQ(reinterpret_cast<HINSTANCE>(0x20), acedGetAcadResourceInstance());
  qhost::SetHostWindows(nullptr, nullptr, nullptr);
}

TEST_F(EditorTest, AbortStopsTheHost) {
  EXPECT_DEATH(acrx_abort("Failed AcDbObject::close()"), "FATAL ERROR: Failed AcDbObject::close\\(\\)");
}

}  // namespace
