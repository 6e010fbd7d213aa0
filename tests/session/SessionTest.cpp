// Golden sessions of the editor in qhost. Each folder of tests/session (but data/) is one case:
// session.txt (the script; @MODULE@ stands for the module's file), transcript.txt (what qhost
// shows, dialog pictures included), drawing.diff (the drawing as the session left it, as its
// differences from the input drawing: LineDiff.h) and, when qhost complains, errors.txt (its
// standard error) and status.txt (its exit status, else 0). Every case starts from
// data/input.dxf, or from the drawing of data/ that its input.txt names. Each case is a test of
// its own, named after its folder with '-' as '_' (Session/Golden.Run/edit_mtext).
// QUILLON_UPDATE_GOLDEN=1 rewrites the expected files.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "LineDiff.h"
#include "support/Bytes.h"

namespace fs = std::filesystem;

namespace {

// The source tree: QUILLON_SOURCE_DIR, else the one this test was built from (test discovery
// runs without the environment).
std::string SourceDir() {
  const char* dir = std::getenv("QUILLON_SOURCE_DIR");
  return dir && *dir ? dir : QUILLON_SOURCE_TREE;
}

fs::path SessionRoot() { return fs::path(SourceDir()) / "tests/session"; }

// The case folders, in name order.
std::vector<std::string> CaseNames() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(SessionRoot()))
    if (entry.is_directory() && fs::exists(entry.path() / "session.txt")) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// The drawing a case starts from: data/input.dxf, or the one of data/ its input.txt names.
fs::path InputDrawing(const fs::path& caseDir) {
  std::string input = "input.dxf";
  if (fs::exists(caseDir / "input.txt")) {
    input = testsupport::ReadFile((caseDir / "input.txt").string());
    input.erase(input.find_last_not_of(" \r\n") + 1);
  }
  return SessionRoot() / "data" / input;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); !from.empty() && at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

// Handles become #1, #2, ... in the order they first appear.
std::string NormaliseHandles(const std::string& text) {
  static const std::regex handle("Handle = ([0-9A-F]+)");
  std::map<std::string, int> numbers;
  std::string out;
  auto begin = std::sregex_iterator(text.begin(), text.end(), handle);
  size_t last = 0;
  for (auto it = begin; it != std::sregex_iterator(); ++it) {
    auto [pos, inserted] = numbers.emplace((*it)[1].str(), static_cast<int>(numbers.size()) + 1);
    out += text.substr(last, it->position() - last) + "Handle = #" + std::to_string(pos->second);
    last = it->position() + it->length();
  }
  return out + text.substr(last);
}

// The qhost and module under test: this build's, or the ones QUILLON_QHOST and QUILLON_MODULE_FILE
// name (the sanitizer build's).
std::string FromEnvironment(const char* name, const char* otherwise) {
  const char* value = std::getenv(name);
  return value && *value ? value : otherwise;
}
const std::string kQhost = FromEnvironment("QUILLON_QHOST", QHOST_BINARY);
const std::string kModule = FromEnvironment("QUILLON_MODULE_FILE", QUILLON_MODULE);

struct Outcome {
  int status;
  std::string transcript, errors, drawing;
};

Outcome RunCase(const fs::path& caseDir, const fs::path& work) {
  fs::create_directories(work);
  fs::copy_file(InputDrawing(caseDir), work / "drawing.dxf", fs::copy_options::overwrite_existing);
  std::string script = Replace(testsupport::ReadFile((caseDir / "session.txt").string()), "@MODULE@", kModule);
  std::ofstream(work / "session.txt", std::ios::binary) << script;
  std::string cmd = "cd '" + work.string() + "' && XDG_CONFIG_HOME='" + work.string() + "' " + kQhost +
                    " drawing.dxf --show-ui --script session.txt </dev/null >stdout 2>stderr";
  int rc = std::system(cmd.c_str());
  Outcome run;
  run.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  run.transcript = NormaliseHandles(
      Replace(testsupport::ReadFile((work / "stdout").string()), kModule, "@MODULE@"));
  run.errors = testsupport::ReadFile((work / "stderr").string());
  run.drawing = testsupport::ReadFile((work / "drawing.dxf").string());
  return run;
}

class Golden : public ::testing::TestWithParam<std::string> {};

TEST_P(Golden, Run) {
  fs::path caseDir = SessionRoot() / GetParam();
  bool update = std::getenv("QUILLON_UPDATE_GOLDEN") != nullptr;
  fs::path work = fs::temp_directory_path() / ("quillon-session-" + std::to_string(::getpid())) / GetParam();
  Outcome run = RunCase(caseDir, work);
  std::error_code ignored;
  fs::remove_all(work, ignored);
  fs::remove(work.parent_path(), ignored);  // once no other case of this run is using it
  std::string input = testsupport::ReadFile(InputDrawing(caseDir).string());
  fs::path statusFile = caseDir / "status.txt", errorsFile = caseDir / "errors.txt", drawingFile = caseDir / "drawing.diff";
  if (update) {
    std::ofstream(caseDir / "transcript.txt", std::ios::binary) << run.transcript;
    std::ofstream(drawingFile, std::ios::binary) << linediff::Diff(input, run.drawing);
    fs::remove(statusFile);
    fs::remove(errorsFile);
    if (run.status != 0) std::ofstream(statusFile) << run.status << "\n";
    if (!run.errors.empty()) std::ofstream(errorsFile, std::ios::binary) << run.errors;
    return;
  }
  int status = fs::exists(statusFile) ? std::atoi(testsupport::ReadFile(statusFile.string()).c_str()) : 0;
  EXPECT_EQ(run.status, status) << run.errors;
  EXPECT_BYTES_EQ(fs::exists(errorsFile) ? testsupport::ReadFile(errorsFile.string()) : "", run.errors);
  EXPECT_BYTES_EQ(testsupport::ReadFile((caseDir / "transcript.txt").string()), run.transcript);
  // Compared whole: the drawing is saved to the same bytes each time. On a difference, the
  // differences from the expected drawing show where.
  std::string expected = linediff::Apply(input, testsupport::ReadFile(drawingFile.string()));
  EXPECT_TRUE(expected == run.drawing) << "the saved drawing differs from " << drawingFile << ":\n"
                                       << linediff::Diff(expected, run.drawing);
}

// Each stored difference is the one Diff writes for the expected drawing, so that applying and
// taking the difference again gives the stored bytes back exactly.
TEST(Session, StoredDifferencesRoundTrip) {
  for (const std::string& name : CaseNames()) {
    SCOPED_TRACE(name);
    fs::path caseDir = SessionRoot() / name;
    std::string input = testsupport::ReadFile(InputDrawing(caseDir).string());
    std::string stored = testsupport::ReadFile((caseDir / "drawing.diff").string());
    EXPECT_BYTES_EQ(stored, linediff::Diff(input, linediff::Apply(input, stored)));
  }
}

INSTANTIATE_TEST_SUITE_P(Session, Golden, ::testing::ValuesIn(CaseNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           std::string name = info.param;
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

}  // namespace
