// Golden sessions of the editor in qhost. Each folder of tests/session (but data/) is one case:
// session.txt (the script; @MODULE@ stands for the module's file), transcript.txt (what qhost
// shows, dialog pictures included), drawing.dxf (the drawing as the session left it) and, when
// qhost complains, errors.txt (its standard error) and status.txt (its exit status, else 0).
// Every case starts from data/input.dxf, or from the drawing of data/ that its input.txt names.
// QUILLON_UPDATE_GOLDEN=1 rewrites the expected files.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>

#include "support/Bytes.h"

namespace fs = std::filesystem;

namespace {

std::string SourceDir() {
  const char* dir = std::getenv("QUILLON_SOURCE_DIR");
  return dir ? dir : ".";
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
  // A case's input.txt may name another drawing of data/.
  std::string input = "input.dxf";
  if (fs::exists(caseDir / "input.txt")) {
    input = testsupport::ReadFile((caseDir / "input.txt").string());
    input.erase(input.find_last_not_of(" \r\n") + 1);
  }
  fs::copy_file(fs::path(SourceDir()) / "tests/session/data" / input, work / "drawing.dxf",
                fs::copy_options::overwrite_existing);
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

TEST(Session, EveryCaseGivesItsTranscriptAndDrawing) {
  fs::path root = fs::path(SourceDir()) / "tests/session";
  ASSERT_TRUE(fs::exists(root / "data/input.dxf"));
  bool update = std::getenv("QUILLON_UPDATE_GOLDEN") != nullptr;
  fs::path work = fs::temp_directory_path() / ("quillon-session-" + std::to_string(::getpid()));
  int cases = 0;
  for (const auto& entry : fs::directory_iterator(root)) {
    if (!entry.is_directory() || !fs::exists(entry.path() / "session.txt")) continue;
    ++cases;
    std::string name = entry.path().filename().string();
    SCOPED_TRACE(name);
    Outcome run = RunCase(entry.path(), work / name);
    fs::path statusFile = entry.path() / "status.txt", errorsFile = entry.path() / "errors.txt";
    if (update) {
      std::ofstream(entry.path() / "transcript.txt", std::ios::binary) << run.transcript;
      std::ofstream(entry.path() / "drawing.dxf", std::ios::binary) << run.drawing;
      fs::remove(statusFile);
      fs::remove(errorsFile);
      if (run.status != 0) std::ofstream(statusFile) << run.status << "\n";
      if (!run.errors.empty()) std::ofstream(errorsFile, std::ios::binary) << run.errors;
      continue;
    }
    int status = fs::exists(statusFile) ? std::atoi(testsupport::ReadFile(statusFile.string()).c_str()) : 0;
    EXPECT_EQ(run.status, status) << run.errors;
    EXPECT_BYTES_EQ(fs::exists(errorsFile) ? testsupport::ReadFile(errorsFile.string()) : "", run.errors);
    EXPECT_BYTES_EQ(testsupport::ReadFile((entry.path() / "transcript.txt").string()), run.transcript);
    // Compared whole: the drawing is saved to the same bytes each time.
    EXPECT_TRUE(testsupport::ReadFile((entry.path() / "drawing.dxf").string()) == run.drawing)
        << "the saved drawing differs from " << (entry.path() / "drawing.dxf");
  }
  EXPECT_GT(cases, 0);
  fs::remove_all(work);
}

}  // namespace
