// What every benchmark measures its figures against: processor time, and the plainest pass over
// the same bytes that any converter has to beat.
#pragma once

#include <benchmark/benchmark.h>

#include <cstring>
#include <ctime>
#include <string>
#include <string_view>

namespace benchsupport {

// Processor time of this process, so that other work on the machine does not count.
inline double CpuSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// One pass over `bytes` as a copy that looks at its codes: memchr to each backslash, memcpy of
// what lies before it. Seconds per pass, timed over enough passes to be read reliably.
inline double CopyPassSeconds(const char* data, size_t size) {
  const std::string_view bytes(data, size);
  std::string out(bytes.size(), '\0');
  auto pass = [&] {
    const char* at = bytes.data();
    const char* end = at + bytes.size();
    char* to = out.data();
    while (at < end) {
      const void* hit = std::memchr(at, '\\', static_cast<size_t>(end - at));
      const char* stop = hit ? static_cast<const char*>(hit) + 1 : end;
      std::memcpy(to, at, static_cast<size_t>(stop - at));
      to += stop - at;
      at = stop;
    }
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  };
  int passes = 0;
  const double start = CpuSeconds();
  double elapsed = 0;
  while (passes < 1000 || elapsed < 0.02) {
    pass();
    ++passes;
    elapsed = CpuSeconds() - start;
  }
  return elapsed / passes;
}

// Runs the benchmark's loop, `step` once per iteration; processor seconds per iteration.
template <class Step>
double TimedLoop(benchmark::State& state, Step&& step) {
  long iterations = 0;
  const double start = CpuSeconds();
  for (auto _ : state) {
    step();
    ++iterations;
  }
  return (CpuSeconds() - start) / static_cast<double>(iterations > 0 ? iterations : 1);
}

// The counters that the summary table of `make bench` reads: "value_us", this benchmark's
// processor time per iteration, and per baseline "<name>_us" and the ratio "x_<name>".
inline void ReportValue(benchmark::State& state, double seconds) { state.counters["value_us"] = seconds * 1e6; }
inline void ReportAgainst(benchmark::State& state, const std::string& name, double seconds, double baselineSeconds) {
  state.counters[name + "_us"] = baselineSeconds * 1e6;
  state.counters["x_" + name] = seconds / baselineSeconds;
}

}  // namespace benchsupport
