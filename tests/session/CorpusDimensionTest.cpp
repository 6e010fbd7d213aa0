// Every dimension of the real drawings of ../shared/corpus/dxf, edited in qhost: opened in the
// editor, two characters typed at the end, left, saved. ezdxf judges each saved drawing
// (judge_dimension_edit.py): the override holds the characters and no new height code, the
// block's text shows them, nothing else changed.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "dbdim.h"
#include "dbsymtb.h"
#include "qplatform/Drawing.h"
#include "support/Bytes.h"

namespace fs = std::filesystem;

namespace {

const char kTyped[] = "Qz";

std::string SourceDir() {
  const char* dir = std::getenv("QUILLON_SOURCE_DIR");
  return dir ? dir : ".";
}

// The handles of the dimensions of model and paper space.
std::vector<std::string> DimensionHandles(const std::string& path) {
  std::vector<std::string> handles;
  qhost::DrawingLoad load = qhost::LoadDrawing(path);
  if (!load.database) return handles;
  for (const char* space : {ACDB_MODEL_SPACE, ACDB_PAPER_SPACE}) {
    for (AcDbObjectId id : qhost::EntityIds(*load.database, space)) {
      AcDbDimension* d = nullptr;
      if (acdbOpenObject(d, id, AcDb::kForRead) != Acad::eOk) continue;
      AcDbHandle handle;
      d->getAcDbHandle(handle);
      char text[32];
      handle.getIntoAsciiBuffer(text);
      handles.push_back(text);
      d->close();
    }
  }
  return handles;
}

// Runs `command` in a shell; its exit status and what it printed on standard output.
std::pair<int, std::string> Shell(const std::string& command, const fs::path& out) {
  int rc = std::system((command + " >'" + out.string() + "' 2>&1").c_str());
  return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, testsupport::ReadFile(out.string())};
}

TEST(CorpusDimensions, TypedCharactersReachTheOverrideAndTheBlockAndNothingElse) {
  REQUIRE_SHARED_DIR(shared);
  fs::path work = fs::temp_directory_path() / ("quillon-corpus-dims-" + std::to_string(::getpid()));
  fs::create_directories(work);
  const std::string judge = "/usr/bin/python3 '" + SourceDir() + "/tests/session/judge_dimension_edit.py'";
  int dimensions = 0, passed = 0, blockTexts = 0;
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(fs::path(shared) / "corpus/dxf"))
    if (entry.path().extension() == ".dxf") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  for (const fs::path& file : files) {
    for (const std::string& handle : DimensionHandles(file.string())) {
      ++dimensions;
      SCOPED_TRACE(file.filename().string() + " " + handle);
      fs::path drawing = work / "drawing.dxf";
      fs::copy_file(file, drawing, fs::copy_options::overwrite_existing);
      // The corpus is read-only; the copy is the user's own drawing, which SAVE may replace.
      fs::permissions(drawing, fs::perms::owner_write, fs::perm_options::add);
      std::ofstream(work / "session.txt") << "command CQuillon\nenter\npick handle " << handle
                                          << "\nkey ctrl+end\ntype \"" << kTyped << "\"\nescape\ncommand SAVE\n";
      auto [status, output] = Shell("cd '" + work.string() + "' && XDG_CONFIG_HOME='" + work.string() + "' " +
                                      QHOST_BINARY + " drawing.dxf --load " + QUILLON_MODULE +
                                      " --script session.txt </dev/null",
                                  work / "qhost.out");
      ASSERT_EQ(0, status) << output;
      auto [verdict, line] = Shell(judge + " '" + file.string() + "' '" + drawing.string() + "' " + handle + " " + kTyped,
                                 work / "judge.out");
      EXPECT_EQ(0, verdict) << line;
      if (verdict == 0) ++passed;
      if (line.find("block-text=") != std::string::npos) ++blockTexts;
    }
  }
  std::printf("corpus dimensions: %d edited, %d judged right, %d with a block text\n", dimensions, passed, blockTexts);
  EXPECT_GT(dimensions, 0);
  fs::remove_all(work);
}

}  // namespace
