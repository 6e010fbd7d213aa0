// The fast reader against the literal reference: byte for byte on texts built from the pieces
// that the passes look for, and on shapes chosen for the shortcuts of the fast passes.
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "MTextToRtfFixture.h"
#include "bench/support/MTextShapes.h"
#include "converter/KeptCodes.h"
#include "support/Bytes.h"

namespace {

std::string Repeated(const std::string& text, int times) {
  std::string out;
  while (times-- > 0) out += text;
  return out;
}

void ExpectSame(const std::string& mtext, double height = 2.5) {
  if (!mtext_to_rtf_test::LiteralReferenceHolds(mtext, height)) return;
  EXPECT_BYTES_EQ(mtext_to_rtf_test::ReadLiterally(mtext, height), mtext_to_rtf_test::Read(mtext, height))
      << "contents: " << testsupport::Readable(mtext);
}

}  // namespace

TEST(MTextToRtfDifferential, RandomTextsOfCodePieces) {
  const char* pieces[] = {"{", "}", "{", "}", "\\f", "\\F", "\\H", "\\C", ";", "x", "a", "b", " ", "|b1", "|i0",
                          "|c204", "|p34", "\\", "1", "2", ".", ".shx", "\\P", "\\L", "\\l", "\\\\", "Arial",
                          "0.5x;", "2.5;", "\\A1;", "{{", "} ", "}a{", "\\a b;", "\\O", "__##", "//__", "\\{", "\\}"};
  std::mt19937 random(20261207);
  for (int n = 0; n < 20000; ++n) {
    std::string mtext;
    for (int k = random() % 30; k > 0; --k) mtext += pieces[random() % (sizeof pieces / sizeof *pieces)];
    ExpectSame(mtext, (random() % 8) * 0.75);
    if (HasFailure()) return;
  }
}

// Shapes that decide which form of a pass runs: gaps between groups that repeat or begin with
// one another, nested groups, codes that reach a ";" turned into a space.
TEST(MTextToRtfDifferential, ShapesOfTheShortcuts) {
  const std::vector<std::string> texts = {
      "\\H1;{\\C1;a} {\\C2;b} and more {\\C3;c} and",
      "\\H1;{a}b{c}bc",
      "\\H1;{a}bb{c}b{d}bbb",
      "\\H1;{a}b{c}b",
      "\\H1;{a}x}}y{b}x",
      "\\fA;{\\C1;a{\\H2x;b}}c{d}c",
      "\\H2;a}b}c}d",
      "\\H2;}a}a}a}a}a",
      "\\a;b;\\a b;",
      "\\x y;\\x;y;\\x y;",
      "\\C1;\\H2;a;b;\\C1 \\H2 a;",
      "{\\fArial;\\H2;x}",
      "\\H0.5x;{\\H2x;a}{\\H2x;b}c",
      // A height reaches to the end of its group, also into the font runs behind it.
      "{\\H2x;a}{\\H0.5x;b}\\H3;c{\\H0.5x;d{\\H2x;e}\\H2x;f}g",
      "{\\fA;\\H2x;a}{\\fB;\\H0.5x;b}\\fC;c\\H6;d\\fA;e{\\H2;f}\\fB;g",
      "{\\C1;\\fA;a}{\\fB;b}\\C2;{\\fA;\\C3;c}\\fB;d{\\C4\\fA;e}\\fB;f",
      "{\\C1;\\fA;a}{\\fB;b}\\C2;{\\fA;\\C3;c}\\fB;d\\H2;x",
      "\\fA|b1|c2;x\\fA|b1|c2;y\\fx|y|b1|c2;z\\fx|y|b1|c2;\\fA|i1|b0|c2|p34;w",
      "{{\\fA\\fB;x\\fA|b1;y}}",
      // Font groups close with the group their code stands in; one key begins another.
      "{\\C1;\\H2;\\fA;a}{\\fA;b}c{\\C2;\\fB;d{\\fA;e}f}g\\fA;h}i",
      "{\\C3;{\\H2;F}\\P}\\fA;{\\C1;x{y\\fB;z}}w",
      "\\fArial|c0;a\\fArial|c0|p0;b\\fArial|c0|p0|b1;c\\fArial;d",
      // Font runs that leave groups open hold the runs behind them, up to the "}" of their group.
      "\\fA;{\\H2x;a{\\fB;{\\H3x;b{\\fC;c}d}e}f}}g}h",
      "\\fA;{\\C1;a{\\fB;b}c\\fC;{d{\\fA;e}}f}g",
      "{\\H3;x{\\H2;y}z}v{\\H2x;a{\\C1;b}}c}d{e}f",
      // More "}" between two "{" than nested groups hold: the whole-text form of the wrapping.
      std::string(70, '}') + "\\H1;{a}b{c}b" + std::string(70, '}'),
      "\\H1;{a" + std::string(70, '}') + "b{c}b}}{d}b",
      // A long text behind the last "}": each of its ends is a gap of its own, and the "}" in
      // front of it stands behind a short list or, with more than eight alike, a long one.
      "\\H1;{a}" + std::string(3000, 'x'),
      "\\H1;" + Repeated("{a}xxxx", 12) + std::string(2000, 'x'),
      "\\H1;" + Repeated("{a}xx{b}\\Pxx", 10) + "{c}" + Repeated("x\\P", 600),
  };
  for (const std::string& text : texts) ExpectSame(text);
}

// The wrapping between groups looks a pattern up by its longest lead: gaps that begin alike
// ("\\P" and a word), share 8, 16 or 32 bytes and then differ, repeat whole, or stand behind a
// "}" that a "{" does not follow; in texts long enough to hold many of each.
TEST(MTextToRtfDifferential, GapsThatBeginAlike) {
  const char* const gaps[] = {"\\Pdrawing layer ", "\\Pdrawing layer scale", "\\Pdrawing layers", "\\Pdr",
                              "\\Pdrawing", "\\Pdrawing layer scale 1:100 note A-3 and more", "\\Pdrawing layer}x",
                              " ", "\\P", "\\Pdrawing layer scale 1:100 note A-3 and more!"};
  const char* const groups[] = {"{\\H1.5x;a}", "{\\C1;b}", "{\\H2x;\\C3;c d}", "{\\fArial|b1;e}"};
  std::mt19937 random(15);
  for (int n = 0; n < 40; ++n) {
    std::string mtext = n % 2 ? "\\H2.5;" : "";
    for (int k = 0; k < 60; ++k) {
      mtext += groups[random() % 4];
      mtext += gaps[random() % 10];
    }
    ExpectSame(mtext);
    if (HasFailure()) return;
  }
}

// Mixed contents leave a group open in every round of their codes, and the font runs in front of
// those groups hold the runs behind them: the reader's shape that stacks font groups deepest.
// Their kept codes and literal backslashes, which the reference does not know, are left out.
TEST(MTextToRtfDifferential, MixedContentsWithoutKeptCodes) {
  std::string mixed = mtextshapes::Mixed(16 << 10);
  for (const std::string kept : {"\\S1/2;", "\\~", "\\\\"}) {
    for (size_t at = mixed.find(kept); at != std::string::npos; at = mixed.find(kept, at)) mixed.erase(at, kept.size());
  }
  ASSERT_FALSE(keptcodes::HoldsKeptCode(mixed));
  ExpectSame(mixed);
  ExpectSame(mixed.substr(0, 3000), 0.75);
}

namespace {

// FNV-1a, 64 bits: a fingerprint of a long output that a changed byte changes.
std::uint64_t Fingerprint(const std::string& bytes) {
  std::uint64_t hash = 0xcbf29ce484222325u;
  for (unsigned char c : bytes) hash = (hash ^ c) * 0x100000001b3u;
  return hash;
}

}  // namespace

// Large texts in the shapes the scaling benchmark measures, where the fast passes take their
// indexed forms. The literal reference is too slow for 256 KiB in every run, and mixed contents
// hold kept codes it does not know: the fingerprints and lengths below are those of the output
// MTextToRtf gave once a font run that leaves groups of its own open kept its font group open
// over the runs behind it, up to the "}" of the group its font code stands in. They were computed
// from that build, whose output on 256 KiB of the mixed shape without its kept codes was the
// reference's byte for byte. Read character by character, its document of the second shape shows
// every character as the build before did; that of the mixed shape shows every character's font
// and height as the host reads the text (the build before closed a font group that left groups
// open with the "}" of its last one, and the text behind it lost their heights), checked by
// reading the written-back text of 16 KiB of that shape with ezdxf. Texts of the second shape
// small enough for the reference are compared with it as well.
TEST(MTextToRtfDifferential, LargeTextsKeepTheirOutput) {
  const std::string mixed = mtext_to_rtf_test::Read(mtextshapes::Mixed(256 << 10));
  EXPECT_EQ(mixed.size(), 266520u);
  EXPECT_EQ(Fingerprint(mixed), 0x01d79a2196d5087bu);
  const std::string breaks = mtext_to_rtf_test::Read(mtextshapes::BreaksAndHeights(256 << 10));
  EXPECT_EQ(breaks.size(), 294034u);
  EXPECT_EQ(Fingerprint(breaks), 0xcdbec3adab997fa3u);
  ExpectSame(mtextshapes::BreaksAndHeights(16 << 10));
  ExpectSame(mtextshapes::BreaksAndHeights(3000), 0.75);
}
