// Real MText from other programs: every string converts quickly and keeps the characters a
// reader sees, in order, in the RTF body; fast passes and the literal reference agree on it.
#include <iconv.h>

#include <chrono>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "MTextToRtfFixture.h"
#include "converter/KeptCodes.h"
#include "support/Bytes.h"

namespace {

// UTF-8 lines as code page 1251; a character the code page lacks becomes "?".
std::string ToCp1251(const std::string& utf8) {
  iconv_t cd = iconv_open("CP1251", "UTF-8");
  std::string out;
  char buffer[256];
  char* src = const_cast<char*>(utf8.data());
  size_t left = utf8.size();
  while (left > 0) {
    char* dst = buffer;
    size_t room = sizeof buffer;
    size_t rc = iconv(cd, &src, &left, &dst, &room);
    out.append(buffer, dst - buffer);
    if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
      out += '?';  // skip one UTF-8 character
      do {
        ++src;
        --left;
      } while (left > 0 && (static_cast<unsigned char>(*src) & 0xC0) == 0x80);
    }
  }
  iconv_close(cd);
  return out;
}

std::vector<std::string> CorpusLines(const std::string& dir) {
  std::istringstream in(testsupport::ReadFile(dir + "/corpus/mtext_strings.txt"));
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(ToCp1251(line));
  return lines;
}

// The characters compared: Latin letters, digits, Cyrillic letters and a few punctuation marks.
bool Seen(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 0xC0 ||
         c == 0xA8 || c == 0xB8 || c == '.' || c == ',' || c == '!' || c == '?' || c == '(' || c == ')';
}

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// What a reader of the drawing sees of MText contents: codes with a ";" and one-letter codes
// skipped (stacked text shows its numbers), escaped characters kept, braces dropped.
std::string VisibleInMText(const std::string& m) {
  std::string seen;
  for (size_t i = 0; i < m.size(); ++i) {
    char c = m[i];
    if (c == '{' || c == '}') continue;
    if (c != '\\') {
      if (Seen(c)) seen += c;
      continue;
    }
    char code = i + 1 < m.size() ? m[i + 1] : '\0';
    if (code == '\\') {
      ++i;
    } else if (code == 'U' || code == 'M') {
      i += code == 'U' ? 6 : 7;  // \U+XXXX, \M+NXXXX: not in the code page
    } else if (code == 'S') {
      ++i;  // stacked text: its numbers are seen, the code and its separators are not
    } else if (std::string("fFHCATQWpca").find(code) != std::string::npos) {
      size_t semi = m.find(';', i);
      i = semi == std::string::npos ? m.size() : semi;
    } else {
      ++i;
    }
  }
  return seen;
}

// What the rich edit control shows of MTextToRtf's document: the body without control words.
std::string VisibleInRtf(const std::string& rtf) {
  std::string body = rtf.substr(rtf.find('}', rtf.find("{\\colortbl")) + 1);
  std::string seen;
  for (size_t i = 0; i < body.size(); ++i) {
    char c = body[i];
    if (c == '{' || c == '}') continue;
    if (c != '\\') {
      if (Seen(c)) seen += c;
      continue;
    }
    if (i + 1 < body.size() && IsLetter(body[i + 1])) {
      ++i;
      while (i + 1 < body.size() && IsLetter(body[i + 1])) ++i;
      if (i + 1 < body.size() && body[i + 1] == '-') ++i;
      while (i + 1 < body.size() && body[i + 1] >= '0' && body[i + 1] <= '9') ++i;
      if (i + 1 < body.size() && body[i + 1] == ' ') ++i;
    } else {
      ++i;
    }
  }
  return seen;
}

bool InOrder(const std::string& wanted, const std::string& text) {
  size_t at = 0;
  for (char c : wanted) {
    at = text.find(c, at);
    if (at == std::string::npos) return false;
    ++at;
  }
  return true;
}

// Where the passes themselves change what a reader sees, as the rules of the format say.
struct Quirk {
  const char* marker;  // the strings that hold it
  const char* why;
};
// None at present: stacks and the other codes the control cannot show are kept as code text.
const std::vector<Quirk> kQuirks;

const Quirk* QuirkOf(const std::string& m) {
  for (const Quirk& q : kQuirks) {
    if (m.find(q.marker) != std::string::npos) return &q;
  }
  return nullptr;
}

}  // namespace

TEST(MTextToRtfCorpus, EveryStringKeepsItsTextInOrder) {
  REQUIRE_SHARED_DIR(dir);
  std::vector<std::string> lines = CorpusLines(dir);
  ASSERT_GT(lines.size(), 100u);
  int kept = 0, quirks = 0;
  std::set<const Quirk*> seenQuirks;
  for (const std::string& m : lines) {
    auto start = std::chrono::steady_clock::now();
    std::string rtf = mtext_to_rtf_test::Read(m);
    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(ms, 200.0) << testsupport::Readable(m);
    ASSERT_EQ(0u, rtf.find("{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fnil MS Sans Serif;}"));
    if (InOrder(VisibleInMText(m), VisibleInRtf(rtf))) {
      ++kept;
    } else if (const Quirk* quirk = QuirkOf(m)) {
      ++quirks;
      seenQuirks.insert(quirk);
    } else {
      ADD_FAILURE() << "text lost or reordered: " << testsupport::Readable(m) << "\n  " << testsupport::Readable(rtf);
    }
  }
  RecordProperty("kept", kept);
  RecordProperty("quirks", quirks);
  EXPECT_GT(kept, static_cast<int>(lines.size()) * 3 / 4);
  // Each quirk listed still shows in the corpus; one that no longer does is to be struck off.
  for (const Quirk& q : kQuirks) EXPECT_TRUE(seenQuirks.count(&q)) << "no longer seen: " << q.why;
}

TEST(MTextToRtfCorpus, FastPassesMatchTheLiteralReference) {
  REQUIRE_SHARED_DIR(dir);
  for (const std::string& m : CorpusLines(dir)) {
    if (m.size() > 4096) continue;  // the reference is quadratic
    if (!mtext_to_rtf_test::LiteralReferenceHolds(m)) continue;
    EXPECT_BYTES_EQ(mtext_to_rtf_test::ReadLiterally(m), mtext_to_rtf_test::Read(m)) << testsupport::Readable(m);
  }
}
