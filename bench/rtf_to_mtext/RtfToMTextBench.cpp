// RtfToMText on streams of 1, 16 and 64 KiB (Latin and Cyrillic text, 1 and 30 or 300 runs), in
// processor time, against the literal reference on the same stream ("x_literal", below 1 is
// faster) and a single memchr and memcpy pass over its bytes ("x_copy").
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <tuple>

#include "bench/support/BenchSupport.h"
#include "converter/MTextRtfConverter.h"
#include "converter/reference/LiteralRtfToMText.h"
#include "converter/reference/RtfDocuments.h"
#include "host/HostColors.h"

namespace {

struct Case {
  size_t kib;
  bool cyrillic;
  int runs;
};

const Case kCases[] = {
    // A kilobyte holds a word or two for each of 30 runs.
    {1, false, 1}, {1, true, 1}, {1, false, 30}, {1, true, 30},
    {16, false, 1}, {16, true, 1}, {16, false, 300}, {16, true, 300},
    {64, false, 1}, {64, true, 1}, {64, false, 300}, {64, true, 300},
};

CString Stream(const Case& c) {
  std::string rtf = rtfdocs::SizedDocument(c.kib * 1024, c.runs, c.cyrillic);
  return CString(rtf.data(), static_cast<int>(rtf.size()));
}

template <typename Writer>
double SecondsPerConversion(const CString& rtf, int repeats) {
  HostColors colors;
  const double start = benchsupport::CpuSeconds();
  for (int r = 0; r < repeats; ++r) {
    Writer writer(colors);
    benchmark::DoNotOptimize(writer.RtfToMText(rtf));
  }
  return (benchsupport::CpuSeconds() - start) / repeats;
}

// The reference is slow: it is timed once per case, a few conversions, and kept.
double LiteralSeconds(const Case& c, const CString& rtf) {
  static std::map<std::tuple<size_t, bool, int>, double> measured;
  auto key = std::make_tuple(c.kib, c.cyrillic, c.runs);
  auto found = measured.find(key);
  if (found != measured.end()) return found->second;
  SecondsPerConversion<literal::RtfToMTextConverter>(rtf, 1);
  double seconds = SecondsPerConversion<literal::RtfToMTextConverter>(rtf, c.kib >= 64 ? 2 : 5);
  return measured[key] = seconds;
}

void BM_RtfToMText(benchmark::State& state, Case c) {
  CString rtf = Stream(c);
  HostColors colors;
  const double seconds = benchsupport::TimedLoop(state, [&] {
    MTextRtfConverter converter(colors);
    benchmark::DoNotOptimize(converter.RtfToMText(rtf));
  });
  state.counters["stream_bytes"] = rtf.GetLength();
  benchsupport::ReportValue(state, seconds);
  benchsupport::ReportAgainst(state, "literal", seconds, LiteralSeconds(c, rtf));
  benchsupport::ReportAgainst(state, "copy", seconds,
                              benchsupport::CopyPassSeconds(rtf.GetString(), static_cast<size_t>(rtf.GetLength())));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * rtf.GetLength());
}

void BM_LiteralRtfToMText(benchmark::State& state, Case c) {
  CString rtf = Stream(c);
  HostColors colors;
  for (auto _ : state) {
    literal::RtfToMTextConverter writer(colors);
    benchmark::DoNotOptimize(writer.RtfToMText(rtf));
  }
}

int Register() {
  for (const Case& c : kCases) {
    std::string name = std::to_string(c.kib) + "KiB/" + (c.cyrillic ? "cyrillic" : "latin") + "/runs:" +
                       std::to_string(c.runs);
    benchmark::RegisterBenchmark(("RtfToMText/" + name).c_str(), BM_RtfToMText, c)->Unit(benchmark::kMicrosecond);
  }
  // The reference alone on the smallest and the key case, for its own iteration statistics.
  benchmark::RegisterBenchmark("LiteralRtfToMText/1KiB/cyrillic/runs:30", BM_LiteralRtfToMText, kCases[3])
      ->Unit(benchmark::kMicrosecond);
  return 0;
}

const int kRegistered = Register();

}  // namespace

BENCHMARK_MAIN();
