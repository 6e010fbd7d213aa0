// qconvert end to end: exit statuses and what it does with RTF that is not the control's own.
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "support/Bytes.h"

namespace {

struct Converted {
  int status;
  std::string out, err;
};

class QconvertTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/qconvert-e2e-XXXXXX";
    dir_ = mkdtemp(tmpl);
  }
  void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

  Converted Qconvert(const std::string& args, const std::string& input) {
    std::ofstream(dir_ + "/in", std::ios::binary) << input;
    std::string cmd = std::string(QCONVERT_BINARY) + " " + args + " <" + dir_ + "/in >" + dir_ + "/out 2>" + dir_ + "/err";
    int rc = std::system(cmd.c_str());
    return Converted{WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, testsupport::ReadFile(dir_ + "/out"),
               testsupport::ReadFile(dir_ + "/err")};
  }

  std::string dir_;
};

// RTF of another writer goes through the control first, as a paste into the editor would take
// it, and gives the same MText as the control's own document of that text.
TEST_F(QconvertTest, RtfOfAnotherDialectKeepsItsText) {
  Converted foreign = Qconvert("rtf-to-mtext", "{\\rtf1\\ansi abc\\par def}");
  ASSERT_EQ(0, foreign.status) << foreign.err;
  EXPECT_NE(std::string::npos, foreign.out.find("abc\\Pdef")) << testsupport::Readable(foreign.out);
  Converted control = Qconvert("rtf-through-control", "{\\rtf1\\ansi abc\\par def}");
  ASSERT_EQ(0, control.status) << control.err;
  Converted own = Qconvert("rtf-to-mtext", control.out);
  EXPECT_BYTES_EQ(own.out, foreign.out);
}

// The batch round trip gives each string what a process of its own gives it: nothing one text
// leaves in the edit record (its heights, its fonts) reaches the next, and empty strings and a
// last string without its NUL count.
TEST_F(QconvertTest, BatchRoundTripGivesWhatOneRunPerStringGives) {
  const std::vector<std::string> strings = {"{\\H2.26;AB}", "x", "{\\fArial|b0|i0|c0|p7;AB}", "\\fArial|b0|i0;y",
                                            "", "a\\P\xc4\xe0", "\\S3/4;"};
  std::string batch, expected;
  for (const auto& text : strings) {
    Converted one = Qconvert("mtext-roundtrip --height 2.25", text);
    ASSERT_EQ(0, one.status) << one.err;
    batch += text + '\0';
    expected += one.out + '\0';
  }
  Converted all = Qconvert("mtext-roundtrip-batch --height 2.25", batch);
  ASSERT_EQ(0, all.status) << all.err;
  EXPECT_BYTES_EQ(expected, all.out);
  batch.pop_back();
  all = Qconvert("mtext-roundtrip-batch --height 2.25", batch);
  EXPECT_BYTES_EQ(expected, all.out);
  EXPECT_BYTES_EQ("", Qconvert("mtext-roundtrip-batch", "").out);
}

TEST_F(QconvertTest, AFolderOrAMissingFileIsNoInput) {
  Converted run = Qconvert("rtf-to-mtext " + dir_, "");
  EXPECT_EQ(1, run.status);
  EXPECT_EQ("qconvert: cannot read '" + dir_ + "': Is a directory\n", run.err);
  EXPECT_EQ("", run.out);
  run = Qconvert("mtext-to-rtf " + dir_ + "/missing", "");
  EXPECT_EQ(1, run.status);
  EXPECT_EQ("qconvert: cannot read '" + dir_ + "/missing': No such file or directory\n", run.err);
  run = Qconvert("no-such-command", "");
  EXPECT_EQ(2, run.status);
}

}  // namespace
