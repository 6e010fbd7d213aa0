// qtext over 1,000 drawings against the DXF reader (and writer) on the same files, in one run.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "qplatform/Drawing.h"

extern char** environ;

namespace {

constexpr size_t kDrawings = 1000;

struct Set {
  ~Set() {
    std::error_code ignored;
    if (!folder.empty()) std::filesystem::remove_all(folder, ignored);
  }
  std::string folder;  // empty when the corpus is absent; removed at the end
  std::vector<std::string> files;
  size_t bytes = 0;
  double loadSeconds = 0, loadSaveSeconds = 0;
};

double Seconds(const std::chrono::steady_clock::time_point& since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// 1,000 copies of the corpus drawings in a temporary folder, and the reader's baselines on them.
Set& Drawings() {
  static Set s;
  static const bool filled = [] {
    std::string corpus = std::string(QUILLON_SHARED_DIR) + "/corpus/dxf";
    std::vector<std::string> sources;
    if (DIR* dir = ::opendir(corpus.c_str())) {
      while (dirent* e = ::readdir(dir)) {
        std::string name = e->d_name;
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".dxf") == 0) sources.push_back(corpus + "/" + name);
      }
      ::closedir(dir);
    }
    if (sources.empty()) return false;
    char folder[] = "/tmp/qtext-bench-XXXXXX";
    if (::mkdtemp(folder) == nullptr) return false;
    s.folder = folder;
    for (size_t k = 0; k < kDrawings; ++k) {
      std::ifstream in(sources[k % sources.size()], std::ios::binary);
      std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      std::string path = s.folder + "/d" + std::to_string(k / 100) + "/" + std::to_string(k) + ".dxf";
      std::filesystem::create_directories(s.folder + "/d" + std::to_string(k / 100));
      std::ofstream(path, std::ios::binary) << bytes;
      s.files.push_back(path);
      s.bytes += bytes.size();
    }
    auto start = std::chrono::steady_clock::now();
    for (const auto& f : s.files) benchmark::DoNotOptimize(qhost::LoadDrawing(f).database);
    s.loadSeconds = Seconds(start);
    std::string out = s.folder + "/saved.dxf";
    start = std::chrono::steady_clock::now();
    for (const auto& f : s.files) {
      auto load = qhost::LoadDrawing(f);
      std::string error;
      if (load.database) qhost::SaveDrawing(*load.database, out, &error);
    }
    s.loadSaveSeconds = Seconds(start);
    return true;
  }();
  static_cast<void>(filled);
  return s;
}

double RunQText(std::vector<std::string> args) {
  const Set& s = Drawings();
  args.insert(args.begin(), QUILLON_QTEXT);
  for (const auto& f : s.files) args.push_back(f);
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  int status = 0;
  bool ran = posix_spawn(&pid, QUILLON_QTEXT, &actions, nullptr, argv.data(), environ) == 0 &&
             ::waitpid(pid, &status, 0) == pid;
  posix_spawn_file_actions_destroy(&actions);
  double seconds = Seconds(start);
  // Exit 0 (matched) and nothing else: a qtext that failed early would measure nothing.
  return ran && WIFEXITED(status) && WEXITSTATUS(status) == 0 ? seconds : -1;
}

void Report(benchmark::State& state, const std::vector<std::string>& args, bool replace) {
  const Set& s = Drawings();
  if (s.folder.empty()) {
    state.SkipWithError("../shared/corpus is absent");
    for (auto _ : state) {
    }
    return;
  }
  double seconds = 0;
  for (auto _ : state) {
    seconds = RunQText(args);
    if (seconds < 0) {
      state.SkipWithError("qtext did not exit with status 0");
      break;
    }
    state.SetIterationTime(seconds);
  }
  double baseline = replace ? s.loadSaveSeconds : s.loadSeconds;
  state.counters["value_s"] = seconds;
  state.counters[replace ? "load_save_s" : "load_s"] = baseline;
  state.counters[replace ? "x_load_save" : "x_load"] = seconds / baseline;
  state.counters["drawings_MiB"] = static_cast<double>(s.bytes) / (1 << 20);
}

void BM_QTextFind(benchmark::State& state) {
  Report(state, {"find", "-j", std::to_string(state.range(0)), "-i", "line"}, false);
}
void BM_QTextReplaceOut(benchmark::State& state) {
  std::string out = Drawings().folder + "/out" + std::to_string(state.range(0));
  Report(state, {"replace", "-j", std::to_string(state.range(0)), "-i", "line", "lane", "--out", out}, true);
}

BENCHMARK(BM_QTextFind)->Arg(1)->Arg(2)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QTextReplaceOut)->Arg(1)->Arg(2)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
