// The fast writer held to the literal one: the same MText and the same lists for documents in
// the control's dialect, for mutated documents and for arbitrary bytes.
#include <random>

#include "converter/KeptCodes.h"
#include "converter/MTextRtfConverter.h"
#include "converter/reference/LiteralRtfToMText.h"
#include "converter/reference/RtfDocuments.h"
#include "host/HostColors.h"
#include "support/Bytes.h"
#include "tests/rtf_to_mtext/ControlSamples.h"

namespace {

CString C(const std::string& s) { return CString(s.data(), static_cast<int>(s.size())); }

std::string Joined(const CStringArray& list) {
  std::string all;
  for (int k = 0; k < list.GetSize(); ++k) all += std::string(list[k].GetString(), list[k].GetLength()) + "\x01";
  return all;
}

// Converts with both RtfToMText converters and compares the result and every list. Marked code text and
// literal backslashes follow rules of their own, which the literal RtfToMText does not know.
void ExpectSameAsLiteral(const std::string& rtf) {
  if (keptcodes::HoldsMarkedText(rtf)) return;
  HostColors colors;
  MTextRtfConverter fast(colors);
  literal::RtfToMTextConverter reference(colors);
  CString expected = reference.RtfToMText(C(rtf));
  CString actual = fast.RtfToMText(C(rtf));
  SCOPED_TRACE("rtf: " + testsupport::Readable(rtf));
  ASSERT_BYTES_EQ(expected, actual);
  ASSERT_BYTES_EQ(Joined(reference.fontDescriptors), Joined(fast.fontDescriptors));
  ASSERT_BYTES_EQ(Joined(reference.colorCodes), Joined(fast.colorCodes));
  ASSERT_BYTES_EQ(Joined(reference.runTexts), Joined(fast.runTexts));
  ASSERT_BYTES_EQ(reference.bodyText, fast.bodyText);
}

// Words and fragments that the passes react to, for splicing into documents.
const char* const kSplices[] = {
    "\\pard", "\\li200", "\\fi-200", "\\tx720", "\\lang1049 ", "\\b", "\\i", "\\ul", "\\fs", "\\fs30", "\\cf",
    "\\cf12", "\\f", "\\f21", "\\f1", "\\f0", "\\strike", "\\v", "\\brdrdb\\", "{\\*\\", "\\'8", "\\'e0", "}}", ";}",
    "\\plain", "\\plain ", "\\deflang", " ", "\\tab", "\\lquote ", "\\emdash", "\r\n", "\\par", "\\\\par ", "//__",
    "{\\colortbl", "\\red300", "fonttbl", "{\\f3\\fnil\\fcharset", "C18; ", "C139;", "\\L ", "\\", "{", "}",
    "{\\fSymbol\xB7   }", "{\\f1\\'b7\\tab}", "\\wbmwidthbytes1", "\\pict", "|b0|i0;", "\\up6", "\\fs1e9", "\\fsnan"};

std::string Mutate(std::mt19937& rng, std::string doc) {
  int edits = 1 + static_cast<int>(rng() % 6);
  for (int e = 0; e < edits; ++e) {
    size_t at = doc.empty() ? 0 : rng() % (doc.size() + 1);
    switch (rng() % 4) {
      case 0:
      case 1: doc.insert(at, kSplices[rng() % std::size(kSplices)]); break;
      case 2: doc.erase(at, rng() % 12); break;
      default: doc.resize(at); break;
    }
  }
  return doc;
}

TEST(RtfToMText, MatchesTheLiteralWriterOnDialectDocuments) {
  std::mt19937 rng(20);
  for (int round = 0; round < 1500; ++round) {
    ExpectSameAsLiteral(rtfdocs::RandomDocument(rng, 8));
    if (HasFatalFailure()) return;
  }
}

TEST(RtfToMText, MatchesTheLiteralWriterOnMutatedDocuments) {
  std::mt19937 rng(1251);
  for (int round = 0; round < 3000; ++round) {
    ExpectSameAsLiteral(Mutate(rng, rtfdocs::RandomDocument(rng, 5)));
    if (HasFatalFailure()) return;
  }
}

TEST(RtfToMText, MatchesTheLiteralWriterOnSplicedBytes) {
  std::mt19937 rng(7);
  for (int round = 0; round < 3000; ++round) {
    std::string doc;
    int pieces = static_cast<int>(rng() % 24);
    for (int p = 0; p < pieces; ++p) {
      if (rng() % 3 == 0) {
        doc += static_cast<char>(rng() % 256);
      } else {
        doc += kSplices[rng() % std::size(kSplices)];
      }
    }
    ExpectSameAsLiteral(doc);
    if (HasFatalFailure()) return;
  }
}

TEST(RtfToMText, MatchesTheLiteralWriterOnManyFontsAndColours) {
  // Descriptors that hold or begin another font's reference, and colours sharing one index.
  rtfdocs::Document doc;
  doc.AddFont({"fswiss", 204, "Arial"});
  doc.AddFont({"fnil", 0, "6a"});
  doc.AddFont({"fnil", 0, "3"});
  doc.AddFont({"fnil", 0, "\\f5"});
  doc.AddFont({"froman", 0, "4x"});
  doc.AddFont({"fswiss", 0, "Tahoma"});
  for (int k = 0; k < 12; ++k) doc.AddColor({k % 3 == 0 ? 0 : 255, 0, k % 2 ? 0 : 1});
  for (int r = 0; r < 40; ++r) {
    rtfdocs::Format f;
    f.font = r % 8 == 1 ? 0 : r % 8;
    f.size = 20;
    f.color = r % 14 - 1;
    doc.Add(f, r % 3 ? "  spaced  " : "C18;  cf3 \\f4 ");
  }
  ExpectSameAsLiteral(doc.Rtf());
}

TEST(RtfToMText, MatchesTheLiteralWriterOnTheControlsOwnDocuments) {
  REQUIRE_SHARED_DIR(shared);
  ASSERT_FALSE(ControlSamples(shared).empty());
  for (const std::string& path : ControlSamples(shared)) {
    SCOPED_TRACE(path);
    ExpectSameAsLiteral(testsupport::ReadFile(path));
  }
}

TEST(StripControlWords, MatchesTheLiteralPassOnSplicedBytes) {
  HostColors colors;
  MTextRtfConverter fast(colors);
  literal::RtfToMTextConverter reference(colors);
  std::mt19937 rng(14);
  for (int round = 0; round < 5000; ++round) {
    std::string text;
    int pieces = static_cast<int>(rng() % 16);
    for (int p = 0; p < pieces; ++p) text += rng() % 4 ? kSplices[rng() % std::size(kSplices)] : "x";
    SCOPED_TRACE(testsupport::Readable(text));
    ASSERT_BYTES_EQ(reference.StripControlWords(C(text)), fast.StripControlWords(C(text)));
    ASSERT_BYTES_EQ(reference.ConvertRun(C(text)), fast.ConvertRun(C(text)));
  }
}

}  // namespace
