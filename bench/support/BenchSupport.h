// What every benchmark measures its figures against: processor time, and a plain copy of the
// same bytes.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

namespace benchsupport {

// Processor time of this process, so that other work on the machine does not count.
inline double CpuSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// A single pass over the bytes at the speed of copying them: memchr through all of them (for a
// NUL, which a text lacks) and memcpy of all of them. Seconds per pass, timed over enough passes
// to be read reliably.
inline double CopyPassSeconds(const char* data, size_t size) {
  std::string out(size, '\0');
  auto pass = [&] {
    benchmark::DoNotOptimize(std::memchr(data, '\0', size));
    std::memcpy(out.data(), data, size);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  };
  // In batches, so that reading the clock does not count; the median batch, so that a batch
  // that another process's work slowed down does not either.
  std::vector<double> batches;
  const double start = CpuSeconds();
  while (batches.size() < 9 || CpuSeconds() - start < 0.02) {
    const double batchStart = CpuSeconds();
    for (int k = 0; k < 100; ++k) pass();
    batches.push_back((CpuSeconds() - batchStart) / 100);
  }
  std::nth_element(batches.begin(), batches.begin() + static_cast<long>(batches.size() / 2), batches.end());
  return batches[batches.size() / 2];
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
