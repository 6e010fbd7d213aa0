// qtext over 1,000 drawings against the DXF reader (and writer) on the same files, in one run.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <vector>

#include "bench/support/CorpusCopies.h"
#include "qplatform/Drawing.h"

namespace {

constexpr size_t kDrawings = 1000;

struct Set {
  benchsupport::CorpusCopies copies;
  double loadSeconds = 0, loadSaveSeconds = 0;
};

// 1,000 copies of the corpus drawings in a temporary folder, and the reader's baselines on them.
Set& Drawings() {
  static Set s;
  static const bool filled = [] {
    benchsupport::CopyCorpus(QUILLON_SHARED_DIR, kDrawings, s.copies);
    if (s.copies.folder.empty()) return false;
    auto start = std::chrono::steady_clock::now();
    for (const auto& f : s.copies.files) benchmark::DoNotOptimize(qhost::LoadDrawing(f).database);
    s.loadSeconds = benchsupport::SecondsSince(start);
    std::string out = s.copies.folder + "/saved.dxf";
    start = std::chrono::steady_clock::now();
    for (const auto& f : s.copies.files) {
      auto load = qhost::LoadDrawing(f);
      std::string error;
      if (load.database) qhost::SaveDrawing(*load.database, out, &error);
    }
    s.loadSaveSeconds = benchsupport::SecondsSince(start);
    return true;
  }();
  static_cast<void>(filled);
  return s;
}

// Exit 0 (matched) and nothing else: a qtext that failed early would measure nothing.
double RunQText(const std::vector<std::string>& args) {
  return benchsupport::RunOverFiles(QUILLON_QTEXT, args, Drawings().copies.files, 0);
}

void Report(benchmark::State& state, const std::vector<std::string>& args, bool replace) {
  const Set& s = Drawings();
  if (s.copies.folder.empty()) {
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
  state.counters["drawings_MiB"] = static_cast<double>(s.copies.bytes) / (1 << 20);
}

void BM_QTextFind(benchmark::State& state) {
  Report(state, {"find", "-j", std::to_string(state.range(0)), "-i", "line"}, false);
}
void BM_QTextReplaceOut(benchmark::State& state) {
  std::string out = Drawings().copies.folder + "/out" + std::to_string(state.range(0));
  Report(state, {"replace", "-j", std::to_string(state.range(0)), "-i", "line", "lane", "--out", out}, true);
}

BENCHMARK(BM_QTextFind)->Arg(1)->Arg(2)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QTextReplaceOut)->Arg(1)->Arg(2)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
