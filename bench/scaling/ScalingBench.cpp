// MTextToRtf and the host's MText layout on texts of 1, 4 and 16 MiB in the shapes that grow
// worst: for the converter, realistic mixed contents and contents of nothing but paragraph
// breaks and relative-height groups; for the layout, one long paragraph wrapped at a width and
// a text of backslashes. Each size reports its processor time as a ratio of the size four times
// smaller measured in the same run ("x_per_x4"; linear time gives 4, the bound is 4.5) and, at
// 1 MiB, the time itself ("seconds"; the bound is 0.2). Times are processor time, the least of
// three runs.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <ctime>
#include <functional>
#include <map>
#include <string>
#include <utility>

#include "bench/support/MTextShapes.h"
#include "converter/MTextRtfConverter.h"
#include "host/EditTarget.h"
#include "host/HostColors.h"
#include "qplatform/MText.h"

namespace {

using mtextshapes::BreaksAndHeights;
using mtextshapes::kWords;
using mtextshapes::Mixed;

std::string OneParagraph(size_t bytes) {
  std::string m;
  for (size_t n = 0; m.size() < bytes; ++n) (m += kWords[n % 10]) += ' ';
  return m;
}

std::string Backslashes(size_t bytes) { return std::string(bytes, '\\'); }

double CpuSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

void ToRtf(const std::string& contents) {
  HostColors colors;
  EditTarget target;
  target.textHeight = 2.5;
  MTextToRtfEditTarget link(target);
  MTextRtfConverter converter(colors, link);
  benchmark::DoNotOptimize(converter.MTextToRtf(CString(contents.data(), static_cast<int>(contents.size()))));
}

void LayOut(const std::string& contents) {
  qhost::mtext::LayoutParams params;
  params.width = 60;
  benchmark::DoNotOptimize(qhost::mtext::LayOut(contents, params));
}

struct Shape {
  const char* name;
  std::string (*make)(size_t);
  void (*run)(const std::string&);
};

// Processor time of one run by shape and size, so that each size compares with the one before.
std::map<std::pair<std::string, size_t>, double>& Measured() {
  static std::map<std::pair<std::string, size_t>, double> measured;
  return measured;
}

// The least of three runs: the first pays for memory the process has not touched yet, and other
// work on the machine lengthens single runs at random.
void BM_Scaling(benchmark::State& state, Shape shape, size_t mib) {
  const std::string contents = shape.make(mib << 20);
  double seconds = 0.0;
  for (auto _ : state) {
    for (int run = 0; run < 3; ++run) {
      double start = CpuSeconds();
      shape.run(contents);
      double took = CpuSeconds() - start;
      seconds = run == 0 ? took : std::min(seconds, took);
    }
    state.SetIterationTime(seconds);
  }
  Measured()[{shape.name, mib}] = seconds;
  state.counters["seconds"] = seconds;
  auto smaller = Measured().find({shape.name, mib / 4});
  if (smaller != Measured().end() && smaller->second > 0) state.counters["x_per_x4"] = seconds / smaller->second;
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(contents.size()));
}

int Register() {
  const Shape shapes[] = {{"MTextToRtf/mixed", Mixed, ToRtf},
                          {"MTextToRtf/breaks-and-heights", BreaksAndHeights, ToRtf},
                          {"LayOut/one-paragraph", OneParagraph, LayOut},
                          {"LayOut/backslashes", Backslashes, LayOut}};
  for (const Shape& shape : shapes) {
    for (size_t mib : {1, 4, 16}) {
      std::string name = std::string(shape.name) + "/" + std::to_string(mib) + "MiB";
      benchmark::RegisterBenchmark(name.c_str(), BM_Scaling, shape, mib)
          ->Unit(benchmark::kMillisecond)
          ->UseManualTime()
          ->Iterations(1);
    }
  }
  return 0;
}

const int kRegistered = Register();

}  // namespace

int main(int argc, char** argv) {
  // Freed memory stays in the process, so that the repeated runs of every size reuse what the first
  // touched: without this the allocator hands large blocks back to the system at once, and only the
  // sizes whose blocks happen to stay in the heap are measured warm.
  mallopt(M_MMAP_MAX, 0);
  mallopt(M_TRIM_THRESHOLD, INT32_MAX);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
