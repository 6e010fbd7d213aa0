// Loading and saving a drawing without a change gives back the same bytes.
#include <dirent.h>

#include <algorithm>
#include <cstdlib>

#include "dbmtext.h"
#include "qplatform/Drawing.h"
#include "support/Bytes.h"

namespace {

std::vector<std::string> CorpusDrawings(const std::string& shared) {
  std::vector<std::string> files;
  std::string dir = shared + "/corpus/dxf";
  if (DIR* d = opendir(dir.c_str())) {
    while (dirent* e = readdir(d)) {
      std::string name = e->d_name;
      if (name.size() > 4 && name.substr(name.size() - 4) == ".dxf") files.push_back(dir + "/" + name);
    }
    closedir(d);
  }
  std::sort(files.begin(), files.end());
  return files;
}

TEST(DxfRoundTrip, EveryCorpusDrawingComesBackByteForByte) {
  REQUIRE_SHARED_DIR(shared);
  auto files = CorpusDrawings(shared);
  ASSERT_FALSE(files.empty());
  for (const std::string& path : files) {
    SCOPED_TRACE(path);
    qhost::DrawingLoad load = qhost::LoadDrawing(path);
    ASSERT_TRUE(load.database) << load.error;
    std::string original = testsupport::ReadFile(path);
    std::string saved = qhost::DrawingToBytes(*load.database);
    EXPECT_TRUE(saved == original) << "first difference at "
                                   << std::mismatch(saved.begin(), saved.end(), original.begin(), original.end()).first -
                                          saved.begin();
  }
}

TEST(DxfRoundTrip, OurOwnDrawingsComeBackByteForByte) {
  const char* source = std::getenv("QUILLON_SOURCE_DIR");
  ASSERT_NE(nullptr, source);
  for (const char* file : {"examples/sample.dxf", "fuzz/corpus/dxf_reader/mini_r12.dxf",
                           "fuzz/corpus/dxf_reader/mini_r2000.dxf", "fuzz/corpus/dxf_reader/mini_r2007_crlf.dxf",
                           "fuzz/corpus/dxf_reader/mini_ansi932.dxf"}) {
    std::string path = std::string(source) + "/" + file;
    SCOPED_TRACE(path);
    qhost::DrawingLoad load = qhost::LoadDrawing(path);
    ASSERT_TRUE(load.database) << load.error;
    EXPECT_BYTES_EQ(testsupport::ReadFile(path), qhost::DrawingToBytes(*load.database));
  }
}

TEST(DxfRoundTrip, DefaultDrawingComesBackByteForByte) {
  AcDbDatabase db;
  std::string first = qhost::DrawingToBytes(db);
  qhost::DrawingLoad again = qhost::LoadDrawingFromBytes(first, "default");
  ASSERT_TRUE(again.database) << again.error;
  EXPECT_BYTES_EQ(first, qhost::DrawingToBytes(*again.database));
}

}  // namespace
