// The host's renderer: colours, blocks, polylines and dimensions on small drawings, and every
// drawing of the corpus drawn with each text where the host's MText layout puts it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "dbdim.h"
#include "dbmtext.h"
#include "dbsymtb.h"
#include "qplatform/Drawing.h"
#include "qplatform/MText.h"
#include "qplatform/Render.h"
#include "support/Bytes.h"

namespace {

using qhost::render::Space;

std::string Groups(std::initializer_list<std::pair<int, std::string>> groups) {
  std::string s;
  for (const auto& [code, value] : groups) s += std::to_string(code) + "\n" + value + "\n";
  return s;
}

// A drawing with layers RED (colour 1) and OFF (turned off), block B based at (1,1) holding a
// ByBlock line, and the entities given.
std::string Drawing(const std::string& blocks, const std::string& entities) {
  return Groups({{0, "SECTION"}, {2, "HEADER"}, {9, "$ACADVER"}, {1, "AC1015"}, {9, "$DWGCODEPAGE"}, {3, "ANSI_1251"},
                 {0, "ENDSEC"}, {0, "SECTION"}, {2, "TABLES"}, {0, "TABLE"}, {2, "LAYER"},
                 {0, "LAYER"}, {2, "0"}, {70, "0"}, {62, "7"},
                 {0, "LAYER"}, {2, "RED"}, {70, "0"}, {62, "1"},
                 {0, "LAYER"}, {2, "OFF"}, {70, "0"}, {62, "-3"}, {0, "ENDTAB"}, {0, "ENDSEC"},
                 {0, "SECTION"}, {2, "BLOCKS"},
                 {0, "BLOCK"}, {8, "0"}, {2, "B"}, {70, "0"}, {10, "1.0"}, {20, "1.0"}, {30, "0.0"},
                 {0, "LINE"}, {8, "0"}, {62, "0"}, {10, "1.0"}, {20, "1.0"}, {30, "0.0"}, {11, "2.0"}, {21, "1.0"},
                 {31, "0.0"}, {0, "ENDBLK"}}) +
         blocks + Groups({{0, "ENDSEC"}, {0, "SECTION"}, {2, "ENTITIES"}}) + entities +
         Groups({{0, "ENDSEC"}, {0, "EOF"}});
}

std::unique_ptr<AcDbDatabase> Load(const std::string& bytes) {
  qhost::DrawingLoad load = qhost::LoadDrawingFromBytes(bytes, "test.dxf");
  EXPECT_TRUE(load.database) << load.error;
  return std::move(load.database);
}

const qhost::render::Entity* ByHandle(const qhost::render::Picture& p, const std::string& handle) {
  for (const auto& e : p.entities)
    if (e.handle == handle) return &e;
  return nullptr;
}

// ---- Colours, layers, blocks and curves ----

TEST(Render, ColoursComeFromTheEntityTheLayerOrTheBlockReference) {
  auto db = Load(Drawing("", Groups({{0, "LINE"}, {5, "A1"}, {8, "RED"}, {10, "0"}, {20, "0"}, {11, "5"}, {21, "0"},
                                     {0, "LINE"}, {5, "A2"}, {8, "OFF"}, {10, "0"}, {20, "0"}, {11, "5"}, {21, "5"},
                                     {0, "CIRCLE"}, {5, "A3"}, {8, "RED"}, {62, "3"}, {10, "0"}, {20, "0"}, {40, "2"},
                                     {0, "INSERT"}, {5, "A4"}, {8, "RED"}, {62, "5"}, {2, "B"}, {10, "10"}, {20, "10"},
                                     {41, "2"}, {42, "2"}, {50, "90"}})));
  auto p = qhost::render::Draw(*db, Space::kModel);
  ASSERT_NE(nullptr, ByHandle(p, "A1"));
  EXPECT_EQ(0xFF0000u, ByHandle(p, "A1")->shapes.at(0).rgb);  // ByLayer: the layer's red
  EXPECT_EQ(nullptr, ByHandle(p, "A2"));                      // its layer is off
  EXPECT_EQ(0x00FF00u, ByHandle(p, "A3")->shapes.at(0).rgb);
  // The block's line from its base point, twice as long, turned a quarter, in the reference's blue.
  const auto& line = ByHandle(p, "A4")->shapes.at(0);
  EXPECT_EQ(0x0000FFu, line.rgb);
  ASSERT_EQ(2u, line.points.size());
  EXPECT_NEAR(10.0, line.points[0].x, 1e-9);
  EXPECT_NEAR(10.0, line.points[0].y, 1e-9);
  EXPECT_NEAR(10.0, line.points[1].x, 1e-9);
  EXPECT_NEAR(12.0, line.points[1].y, 1e-9);
}

TEST(Render, PolylineBulgesBecomeArcsAndClosedPolylinesClose) {
  auto db = Load(Drawing("", Groups({{0, "LWPOLYLINE"}, {5, "B1"}, {8, "0"}, {90, "2"}, {70, "0"}, {10, "0"},
                                     {20, "0"}, {42, "1"}, {10, "4"}, {20, "0"},
                                     {0, "LWPOLYLINE"}, {5, "B2"}, {8, "0"}, {90, "3"}, {70, "1"}, {10, "0"},
                                     {20, "10"}, {10, "4"}, {20, "10"}, {10, "4"}, {20, "14"}})));
  auto p = qhost::render::Draw(*db, Space::kModel);
  // A bulge of 1 is a half circle over the chord, centre (2, 0), radius 2, clockwise below it.
  const auto& arc = ByHandle(p, "B1")->shapes.at(0).points;
  ASSERT_GT(arc.size(), 10u);
  for (const auto& pt : arc) {
    EXPECT_NEAR(2.0, std::hypot(pt.x - 2.0, pt.y), 1e-9);
    EXPECT_LE(pt.y, 1e-9);
  }
  EXPECT_NEAR(4.0, arc.back().x, 1e-9);
  const auto& closed = ByHandle(p, "B2")->shapes.at(0).points;
  ASSERT_EQ(4u, closed.size());
  EXPECT_NEAR(0.0, closed.back().x, 1e-9);
  EXPECT_NEAR(10.0, closed.back().y, 1e-9);
}

TEST(Render, PolyfaceMeshesDrawTheirVisibleFaceEdges) {
  // Four corners of a square, and one face over them whose third edge is hidden.
  auto vertex = [](const char* x, const char* y) {
    return Groups({{0, "VERTEX"}, {8, "0"}, {10, x}, {20, y}, {30, "0"}, {70, "192"}});
  };
  std::string mesh = Groups({{0, "POLYLINE"}, {5, "F1"}, {8, "0"}, {66, "1"}, {70, "64"}, {71, "4"}, {72, "1"}}) +
                     vertex("0", "0") + vertex("1", "0") + vertex("1", "1") + vertex("0", "1") +
                     Groups({{0, "VERTEX"}, {8, "0"}, {10, "0"}, {20, "0"}, {30, "0"}, {70, "128"}, {71, "1"},
                             {72, "2"}, {73, "-3"}, {74, "4"}, {0, "SEQEND"}, {8, "0"}});
  auto db = Load(Drawing("", mesh));
  auto p = qhost::render::Draw(*db, Space::kModel);
  ASSERT_NE(nullptr, ByHandle(p, "F1"));
  const auto& shapes = ByHandle(p, "F1")->shapes;
  ASSERT_EQ(3u, shapes.size());  // 1-2, 2-3 and 4-1; 3-4 begins at a hidden corner
  EXPECT_NEAR(1.0, shapes[1].points[1].y, 1e-9);
  EXPECT_NEAR(0.0, shapes[2].points[1].x, 1e-9);
  EXPECT_NEAR(0.0, shapes[2].points[1].y, 1e-9);
}

// ---- Texts ----

TEST(Render, MTextRunsKeepTheirFontsColoursAndStacks) {
  auto db = Load(Drawing("", Groups({{0, "MTEXT"}, {5, "C1"}, {8, "RED"}, {10, "0"}, {20, "0"}, {40, "2"},
                                     {71, "1"}, {1, "{\\fArial|b1|i0;Bold}\\P{\\C3;Green}\\L line\\l \\S1/2;"}})));
  auto p = qhost::render::Draw(*db, Space::kModel);
  const auto& text = ByHandle(p, "C1")->shapes.at(0);
  ASSERT_EQ(qhost::render::Shape::Kind::kText, text.kind);
  ASSERT_EQ(2u, text.lines.size());
  EXPECT_EQ("Arial", text.lines[0].runs.at(0).font);
  EXPECT_TRUE(text.lines[0].runs[0].bold);
  EXPECT_EQ(0xFF0000u, text.lines[0].runs[0].rgb);  // the entity's colour: ByLayer, red
  const auto& runs = text.lines[1].runs;
  ASSERT_EQ(4u, runs.size());
  EXPECT_EQ("Green", runs[0].text);
  EXPECT_EQ(0x00FF00u, runs[0].rgb);
  EXPECT_TRUE(runs[1].underline);
  EXPECT_EQ('/', runs[3].separator);
  EXPECT_EQ("1", runs[3].upper);
  EXPECT_EQ("2", runs[3].lower);
  std::string svg = qhost::render::Svg(p);
  EXPECT_TRUE(std::regex_search(
      svg, std::regex("font-family=\"'Arial', 'Noto Sans CJK SC', sans-serif\" fill=\"#ff0000\" font-weight=\"bold\"[^>]*>Bold</tspan>")));
  EXPECT_NE(std::string::npos, svg.find("text-decoration=\"underline\""));
  EXPECT_NE(std::string::npos, svg.find(">1</tspan>"));
  EXPECT_NE(std::string::npos, svg.find(">2</tspan>"));
}

TEST(Render, SpecialCharactersShowAsTheirCharacters) {
  // 0x88 is the euro sign in code page 1251.
  // (The expected text is a variable: the check's message quotes its arguments in code page 1251.)
  const std::string expected = u8"90° ±0.5 \u230012 50% Ж €";
  EXPECT_EQ(expected,
            qhost::render::ShownText(std::string("90%%d %%p0.5 %%c12 50%%% \\U+0416 ") + static_cast<char>(0x88)));
  EXPECT_EQ(u8"a\uFFFDb", qhost::render::ShownText("a\x01" "b"));
}

// Each <tspan> of the SVG as "decoration|text", in order.
std::vector<std::string> Spans(const std::string& svg) {
  static const std::regex span("<tspan ([^>]*)>([^<]*)</tspan>"), decoration("text-decoration=\"([^\"]*)\"");
  std::vector<std::string> out;
  for (auto it = std::sregex_iterator(svg.begin(), svg.end(), span); it != std::sregex_iterator(); ++it) {
    std::smatch d;
    std::string attributes = (*it)[1];
    out.push_back((std::regex_search(attributes, d, decoration) ? d[1].str() : "") + "|" + (*it)[2].str());
  }
  return out;
}

std::string SingleLineTextSvg(const std::string& text) {
  auto db = Load(Drawing("", Groups({{0, "TEXT"}, {5, "A1"}, {8, "0"}, {10, "0"}, {20, "0"}, {40, "2.5"}, {1, text}})));
  return qhost::render::Svg(qhost::render::Draw(*db, Space::kModel));
}

TEST(Render, SingleLineTextTogglesDrawAsUnderlineOverlineAndStrike) {
  // (Inputs are code page 1251 at run time; the SVG is UTF-8.)
  const struct {
    std::string text;
    std::vector<std::string> spans;
  } cases[] = {
      // As real drawings have them: a floor plan's room names, a Russian sheet's heading.
      {"%%uMASTER", {"underline|MASTER"}},
      {"%%uDINING ROOM", {"underline|DINING ROOM"}},
      {"%%U\xCF\xF0\xE8\xEB\xE0\xE3\xE0\xE5\xEC\xFB\xE5", {u8"underline|Прилагаемые"}},
      // Each toggle switches its own line off again, either case; they combine.
      {"a%%ob%%Oc", {"|a", "overline|b", "|c"}},
      {"%%k%%uboth%%K under", {"underline line-through|both", "underline| under"}},
      {"x%%kgone", {"|x", "line-through|gone"}},
      // "%%%" is a percent sign: the letter after it is text; the other codes stay symbols.
      {"50%%%u", {"|50%u"}},
      {"%%c10%%u%%d", {u8"|\u230010", u8"underline|°"}},
      // Backslashes and braces stay characters.
      {"%%u{\\L}", {"underline|{\\L}"}},
  };
  for (const auto& c : cases) {
    std::string svg = SingleLineTextSvg(c.text);
    EXPECT_EQ(c.spans, Spans(svg)) << testsupport::Readable(c.text) << "\n" << svg;
  }
  // The whole element, as the page shows it: the height as the font size, the face (none: the
  // fallbacks) and the run held to the width the host's layout gives it.
  std::string svg = SingleLineTextSvg("%%uMASTER");
  EXPECT_NE(std::string::npos,
            svg.find("<tspan x=\"0.2075\" y=\"2.7075\" font-size=\"2.5\" font-family=\"'Noto Sans CJK SC', sans-serif\" "
                     "fill=\"#ffffff\" text-decoration=\"underline\" textLength=\"10.375\" "
                     "lengthAdjust=\"spacingAndGlyphs\">MASTER</tspan>"))
      << svg;
}

// ---- Markup planted in a drawing ----

// The SVG read back by python3's XML parser: one line per element ("E tag"), per attribute
// ("A name=value") and per text ("T text"), in document order; "" when it does not parse.
std::string XmlTree(const std::string& svg) {
  char file[] = "/tmp/render-planted-XXXXXX";
  int fd = mkstemp(file);
  if (fd < 0) return "";
  bool written = write(fd, svg.data(), svg.size()) == static_cast<ssize_t>(svg.size());
  close(fd);
  std::string command = std::string("/usr/bin/python3 -c '") +
                        "import sys, xml.etree.ElementTree as T\n"
                        "def walk(e):\n"
                        "  print(\"E\", e.tag.split(\"}\")[-1])\n"
                        "  for k, v in e.attrib.items(): print(\"A\", k.split(\"}\")[-1] + \"=\" + v)\n"
                        "  if e.text and e.text.strip(): print(\"T\", e.text)\n"
                        "  for c in e: walk(c)\n"
                        "  if e.tail and e.tail.strip(): print(\"T\", e.tail)\n"
                        "walk(T.parse(sys.argv[1]).getroot())' " + file;
  std::string out;
  if (FILE* p = written ? popen(command.c_str(), "r") : nullptr) {
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, p)) > 0) out.append(buffer, n);
    if (pclose(p) != 0) out.clear();
  }
  unlink(file);
  return out;
}

TEST(Render, MarkupInEveryStringOfTheDrawingStaysText) {
  // Markup in each name and text the file gives: an entity type, a handle, layer, style, font and
  // block names, and the texts of TEXT, MTEXT and a block's TEXT (type names are upper-cased).
  const std::string type = "X--><IMG SRC=X ONERROR=ALERT(1)>";
  const std::string handle = "D1\"><script>alert(2)</script>";
  const std::string layer = "L\"/><script>alert(3)</script>";
  const std::string style = "S</text><img src=x onerror=alert(4)>";
  const std::string font = "F'\"><script>alert(5)</script>";
  const std::string block = "B]]><script>alert(6)</script>";
  const std::string text = "<img src=x onerror=alert(7)>&amp; <!-- -->";
  const std::string mtext = "</tspan></text><script>alert(8)</script><![CDATA[x]]>";
  const std::string inner = "<svg onload=alert(9)>";
  std::string tables = Groups({{0, "SECTION"}, {2, "HEADER"}, {9, "$ACADVER"}, {1, "AC1015"}, {0, "ENDSEC"},
                               {0, "SECTION"}, {2, "TABLES"}, {0, "TABLE"}, {2, "LAYER"}, {0, "LAYER"}, {2, "0"},
                               {70, "0"}, {62, "7"}, {0, "LAYER"}, {2, layer}, {70, "0"}, {62, "1"}, {0, "ENDTAB"},
                               {0, "TABLE"}, {2, "STYLE"}, {0, "STYLE"}, {2, style}, {70, "0"}, {40, "0"},
                               {3, font}, {0, "ENDTAB"}, {0, "ENDSEC"}});
  std::string blocks = Groups({{0, "SECTION"}, {2, "BLOCKS"}, {0, "BLOCK"}, {8, layer}, {2, block}, {70, "0"},
                               {10, "0"}, {20, "0"}, {30, "0"}, {0, "TEXT"}, {8, layer}, {7, style}, {10, "0"},
                               {20, "0"}, {40, "1"}, {1, inner}, {0, "ENDBLK"}, {0, "ENDSEC"}});
  std::string entities = Groups({{0, "SECTION"}, {2, "ENTITIES"},
                                 {0, type}, {5, "D0"}, {8, layer}, {10, "0"}, {20, "0"},
                                 {0, "TEXT"}, {5, handle}, {8, layer}, {7, style}, {10, "0"}, {20, "0"}, {40, "1"},
                                 {1, text},
                                 {0, "MTEXT"}, {5, "D2"}, {8, layer}, {7, style}, {10, "0"}, {20, "5"}, {40, "1"},
                                 {71, "1"}, {1, mtext},
                                 {0, "INSERT"}, {5, "D3"}, {8, layer}, {2, block}, {10, "10"}, {20, "10"},
                                 {0, "ENDSEC"}, {0, "EOF"}});
  auto db = Load(tables + blocks + entities);
  ASSERT_TRUE(db);
  qhost::render::Picture picture = qhost::render::Draw(*db, Space::kModel);
  std::string svg = qhost::render::Svg(picture);
  std::string tree = XmlTree(svg);
  ASSERT_FALSE(tree.empty()) << "the SVG does not parse as XML:\n" << testsupport::Readable(svg);

  // Only the renderer's own elements; the planted strings come back whole, as texts and values.
  const std::set<std::string> kElements = {"svg", "rect", "g", "path", "circle", "text", "tspan"};
  std::istringstream lines(tree);
  std::string line;
  std::set<std::string> texts, values;
  while (std::getline(lines, line)) {
    if (line.rfind("E ", 0) == 0) {
      EXPECT_TRUE(kElements.count(line.substr(2))) << line << "\n" << svg;
    }
    if (line.rfind("A ", 0) == 0) {
      EXPECT_EQ(std::string::npos, line.find(" on")) << "an attribute from the file: " << line;
      values.insert(line.substr(line.find('=') + 1));
    }
    if (line.rfind("T ", 0) == 0) texts.insert(line.substr(2));
  }
  EXPECT_TRUE(texts.count(text)) << tree;
  EXPECT_TRUE(texts.count(inner)) << tree;
  EXPECT_TRUE(picture.notDrawn.count(type)) << "the planted type is named in the comment only";
  ASSERT_EQ(3u, picture.entities.size()) << svg;
  for (const auto& e : picture.entities) {
    EXPECT_TRUE(values.count(qhost::render::PlainText(e.handle))) << e.handle << "\n" << tree;
    EXPECT_TRUE(values.count(qhost::render::PlainText(e.type))) << e.type << "\n" << tree;
  }
  bool mtextShown = false;
  for (const std::string& t : texts) mtextShown = mtextShown || t.find("<script>alert(8)</script>") != std::string::npos;
  EXPECT_TRUE(mtextShown) << tree;
  // The comment that names the types not drawn holds no "--" and ends where the renderer ends it.
  size_t comment = svg.find("<!-- not drawn:");
  ASSERT_NE(std::string::npos, comment) << svg;
  size_t end = svg.find("-->", comment);
  EXPECT_EQ(std::string::npos, svg.substr(comment + 4, end - comment - 4).find("--")) << svg.substr(comment, 200);
  EXPECT_EQ('\n', svg[end + 3]) << svg.substr(comment, 200);
}

TEST(Render, TextsCarryOnlyCharactersXmlHas) {
  // Control bytes and \U+ codes of controls, surrogates and non-characters become U+FFFD.
  const std::pair<std::string, std::string> cases[] = {
      {"a\x01" "b", "a\xEF\xBF\xBD" "b"},
      {"\\U+0007", "\xEF\xBF\xBD"},
      {"\\U+D800", "\xEF\xBF\xBD"},
      {"\\U+FFFE", "\xEF\xBF\xBD"},
      {"\\U+00E9", "\xC3\xA9"},
      {"\x98", "\xEF\xBF\xBD"},  // no character in code page 1251
  };
  for (const auto& [cp1251, utf8] : cases) EXPECT_BYTES_EQ(utf8, qhost::render::ShownText(cp1251)) << cp1251;
  EXPECT_BYTES_EQ("\xEF\xBF\xBD&amp;&lt;&gt;&quot;'", qhost::render::Escaped("\x1f&<>\"'"));
  EXPECT_BYTES_EQ("A\xEF\xBF\xBD\xD0\x96", qhost::render::PlainText("A\x01\xC6"));
}

TEST(Render, AnEditedTextAndAnErasedLineShowAsTheyAreNow) {
  auto db = Load(Drawing("", Groups({{0, "MTEXT"}, {5, "D1"}, {8, "0"}, {10, "0"}, {20, "0"}, {40, "2"}, {71, "1"},
                                     {1, "old"}, {0, "LINE"}, {5, "D2"}, {8, "0"}, {10, "0"}, {20, "0"}, {11, "5"},
                                     {21, "0"}})));
  std::vector<AcDbObjectId> ids = qhost::EntityIds(*db);
  AcDbMText* m = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(m, ids.at(0), AcDb::kForWrite));
  m->setContents("new");
  m->close();
  AcDbEntity* line = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(line, ids.at(1), AcDb::kForWrite));
  line->erase();
  line->close();
  auto p = qhost::render::Draw(*db, Space::kModel);
  ASSERT_NE(nullptr, ByHandle(p, "D1"));
  EXPECT_EQ("new", ByHandle(p, "D1")->shapes.at(0).lines.at(0).runs.at(0).text);
  EXPECT_EQ(nullptr, ByHandle(p, "D2"));
}

TEST(Render, DimensionsComeFromTheirBlocksUntilTheirTextChanges) {
  std::string block = Groups({{0, "BLOCK"}, {8, "0"}, {2, "*D1"}, {70, "1"}, {10, "0"}, {20, "0"}, {30, "0"},
                              {0, "LINE"}, {8, "0"}, {10, "0"}, {20, "5"}, {11, "25"}, {21, "5"},
                              {0, "MTEXT"}, {8, "0"}, {10, "12.5"}, {20, "6"}, {40, "2.5"}, {71, "8"}, {1, "25"},
                              {0, "ENDBLK"}});
  auto db = Load(Drawing(block, Groups({{0, "DIMENSION"}, {5, "E1"}, {8, "0"}, {2, "*D1"}, {10, "25"}, {20, "5"},
                                        {11, "12.5"}, {21, "6"}, {70, "33"}, {1, ""}, {13, "0"}, {23, "0"},
                                        {14, "25"}, {24, "0"}, {42, "25"}})));
  auto texts = [&]() {
    std::vector<std::string> out;
    qhost::render::Picture picture = qhost::render::Draw(*db, Space::kModel);
    for (const auto& s : ByHandle(picture, "E1")->shapes)
      for (const auto& l : s.lines) out.push_back(l.runs.at(0).text);
    return out;
  };
  EXPECT_EQ(std::vector<std::string>{"25"}, texts());
  AcDbObjectId id = qhost::EntityIds(*db).at(0);
  AcDbDimension* d = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(d, id, AcDb::kForWrite));
  d->setDimensionText("<> mm");
  d->close();
  EXPECT_EQ(std::vector<std::string>{"25 mm"}, texts());
}

// ---- The corpus ----

struct SvgText {
  double x, y;
  std::string text;
};

// The entity groups of an SVG the writer made: type, handle and the texts of each.
struct SvgEntity {
  std::string type, handle;
  std::vector<SvgText> texts;
};

// The value of attribute `name` in the tag that starts at `at`, or "".
std::string Attribute(const std::string& svg, size_t at, const std::string& name) {
  size_t close = svg.find('>', at);
  size_t found = svg.find(" " + name + "=\"", at);
  if (found == std::string::npos || found > close) return std::string();
  size_t begin = found + name.size() + 3;
  return svg.substr(begin, svg.find('"', begin) - begin);
}

std::vector<SvgEntity> ParseSvg(const std::string& svg, double& originX, double& originY) {
  size_t root = svg.find("<svg ");
  originX = std::stod(Attribute(svg, root, "data-origin-x"));
  originY = std::stod(Attribute(svg, root, "data-origin-y"));
  std::vector<SvgEntity> out;
  size_t at = 0;
  while ((at = svg.find("<g data-type=", at)) != std::string::npos) {
    size_t end = svg.find("</g>\n", at);
    SvgEntity e{Attribute(svg, at, "data-type"), Attribute(svg, at, "data-handle"), {}};
    for (size_t t = svg.find("<text ", at); t < end; t = svg.find("<text ", t + 1)) {
      SvgText st{std::stod(Attribute(svg, t, "x")), std::stod(Attribute(svg, t, "y")), {}};
      size_t textEnd = svg.find("</text>", t);
      // The characters of the runs; a stack's parts are not characters of the line.
      for (size_t span = svg.find("<tspan", t); span < textEnd; span = svg.find("<tspan", span + 1)) {
        if (Attribute(svg, span, "class") == "stack") continue;
        size_t from = svg.find('>', span) + 1;
        st.text += svg.substr(from, svg.find("</tspan>", from) - from);
      }
      e.texts.push_back(st);
    }
    out.push_back(std::move(e));
    at = end;
  }
  return out;
}

// Every element closes, in order: the document is well formed as far as its tags go.
bool TagsBalance(const std::string& svg, std::string& problem) {
  std::vector<std::string> open;
  for (size_t at = svg.find('<'); at != std::string::npos; at = svg.find('<', at + 1)) {
    size_t close = svg.find('>', at);
    if (close == std::string::npos) {
      problem = "a tag that does not end at offset " + std::to_string(at);
      return false;
    }
    if (svg[at + 1] == '?' || svg[at + 1] == '!' || svg[close - 1] == '/') continue;
    bool closing = svg[at + 1] == '/';
    size_t nameStart = at + (closing ? 2 : 1);
    std::string name = svg.substr(nameStart, svg.find_first_of(" >", nameStart) - nameStart);
    if (!closing) {
      open.push_back(name);
    } else if (open.empty() || open.back() != name) {
      problem = "</" + name + "> at offset " + std::to_string(at);
      return false;
    } else {
      open.pop_back();
    }
  }
  problem = open.empty() ? "" : "<" + open.back() + "> left open";
  return open.empty();
}

// The types of the ENTITIES section, read straight from the file's group 0 lines.
std::set<std::string> EntityTypes(const std::string& bytes) {
  std::set<std::string> types;
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < bytes.size()) {
    size_t nl = bytes.find('\n', at);
    std::string line = bytes.substr(at, (nl == std::string::npos ? bytes.size() : nl) - at);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    line.erase(0, line.find_first_not_of(' '));
    lines.push_back(line);
    at = nl == std::string::npos ? bytes.size() : nl + 1;
  }
  bool inside = false;
  for (size_t i = 0; i + 1 < lines.size(); i += 2) {
    if (lines[i] != "0") continue;
    if (lines[i + 1] == "SECTION") inside = i + 3 < lines.size() && lines[i + 3] == "ENTITIES";
    else if (lines[i + 1] == "ENDSEC") inside = false;
    else if (inside && lines[i + 1] != "VERTEX" && lines[i + 1] != "SEQEND" && lines[i + 1] != "ATTRIB")
      types.insert(lines[i + 1]);
  }
  return types;
}

TEST(RenderCorpus, EveryDrawingIsDrawnWithEachTextWhereTheLayoutPutsIt) {
  REQUIRE_SHARED_DIR(shared);
  const std::set<std::string> drawable = {"LINE", "ARC", "CIRCLE", "LWPOLYLINE", "POLYLINE", "TEXT", "MTEXT",
                                          "DIMENSION", "INSERT", "ELLIPSE", "SPLINE", "SOLID", "POINT", "3DFACE",
                                          "LEADER", "ATTDEF", "ARC_DIMENSION"};
  std::set<std::string> drawnAnywhere;
  int drawings = 0, texts = 0;
  for (const auto& file : std::filesystem::directory_iterator(shared + "/corpus/dxf")) {
    std::string path = file.path().string();
    SCOPED_TRACE(path);
    qhost::DrawingLoad load = qhost::LoadDrawing(path);
    if (!load.database) continue;  // the loader's own tests judge files it refuses
    ++drawings;
    std::set<std::string> drawn, notDrawn, hidden;
    for (Space space : {Space::kModel, Space::kPaper}) {
      qhost::render::Picture picture = qhost::render::Draw(*load.database, space);
      for (const auto& [type, count] : picture.notDrawn) notDrawn.insert(type);
      for (const auto& [type, count] : picture.hidden) hidden.insert(type);
      std::string svg = qhost::render::Svg(picture);
      std::string problem;
      EXPECT_TRUE(TagsBalance(svg, problem)) << problem;
      double ox = 0, oy = 0;
      std::map<std::string, SvgEntity> byHandle;
      for (SvgEntity& e : ParseSvg(svg, ox, oy)) {
        drawn.insert(e.type);
        byHandle[e.handle] = e;
      }
      // Each multiline text of the space: a <text> per line that has characters, at the start
      // of that line's baseline as the host's layout gives it, with that line's characters.
      const char* record = space == Space::kModel ? ACDB_MODEL_SPACE : ACDB_PAPER_SPACE;
      for (AcDbObjectId id : qhost::EntityIds(*load.database, record)) {
        AcDbMText* m = nullptr;
        if (acdbOpenObject(m, id, AcDb::kForRead) != Acad::eOk) continue;
        qhost::mtext::Layout layout = qhost::mtext::LayOut(*m);
        char handle[32];
        m->objectId().handle().getIntoAsciiBuffer(handle);
        const double c = std::cos(m->rotation()), s = std::sin(m->rotation());
        m->close();
        auto e = byHandle.find(handle);
        if (e == byHandle.end()) continue;  // on a layer that is off
        std::vector<SvgText> expected;
        for (const auto& line : layout.lines) {
          if (line.runs.empty()) continue;
          std::string chars;
          for (const auto& run : line.runs)
            if (!run.separator) chars += qhost::render::Escaped(qhost::render::ShownText(run.text));
          expected.push_back({layout.corners[3].x + line.x * c + line.y * s, layout.corners[3].y + line.x * s - line.y * c,
                              chars});
        }
        ASSERT_EQ(expected.size(), e->second.texts.size()) << "MTEXT " << handle;
        for (size_t i = 0; i < expected.size(); ++i) {
          const SvgText& got = e->second.texts[i];
          double tolerance = 1e-3 + 1e-9 * std::fabs(expected[i].x) + 1e-9 * std::fabs(expected[i].y);
          EXPECT_NEAR(expected[i].x, ox + got.x, tolerance) << "MTEXT " << handle << " line " << i;
          EXPECT_NEAR(expected[i].y, oy - got.y, tolerance) << "MTEXT " << handle << " line " << i;
          EXPECT_EQ(expected[i].text, got.text) << "MTEXT " << handle << " line " << i;
          ++texts;
        }
      }
    }
    // Every type of the file's entities is drawn, named as not drawn, or on a hidden layer; the
    // host draws the ones it knows.
    for (const std::string& type : EntityTypes(testsupport::ReadFile(path)))
      EXPECT_TRUE(drawn.count(type) || notDrawn.count(type) || hidden.count(type)) << type;
    for (const std::string& type : notDrawn) EXPECT_FALSE(drawable.count(type)) << type << " was not drawn";
    drawnAnywhere.insert(drawn.begin(), drawn.end());
  }
  if (drawings == 0) GTEST_SKIP() << "no drawings in the corpus";
  for (const std::string& type : drawable) EXPECT_TRUE(drawnAnywhere.count(type)) << type << " drawn nowhere";
  EXPECT_GT(texts, 100);
}

}  // namespace
