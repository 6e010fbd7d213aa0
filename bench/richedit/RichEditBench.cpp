// The control's work in one keystroke of live update (a typed character, then the whole RTF
// streamed out) and a whole stream-in, on documents of 1, 16 and 64 KiB with 1 and 30 or 300
// runs. Each reports its processor time as a ratio of RtfToMText on the same stream ("x_writer"),
// the other half of the live update, and of a single memchr and memcpy pass over the stream's
// bytes ("x_copy"), both measured in the same run.
#include <benchmark/benchmark.h>

#include <qplatform/RichEditTesting.h>

#include <string>

#include "bench/support/BenchSupport.h"
#include "converter/MTextRtfConverter.h"
#include "converter/reference/RtfDocuments.h"
#include "host/HostColors.h"

namespace {

struct Case {
  size_t kib;
  int runs;
};

// A kilobyte holds a word or two for each of 30 runs.
const Case kCases[] = {{1, 1}, {1, 30}, {16, 1}, {16, 300}, {64, 1}, {64, 300}};

double WriterSeconds(const std::string& rtf) {
  const CString text(rtf.data(), static_cast<int>(rtf.size()));
  HostColors colors;
  const int repeats = 20;
  const double start = benchsupport::CpuSeconds();
  for (int r = 0; r < repeats; ++r) {
    MTextRtfConverter converter(colors);
    benchmark::DoNotOptimize(converter.RtfToMText(text));
  }
  return (benchsupport::CpuSeconds() - start) / repeats;
}

// A document of about the size asked for, as the control itself writes it.
std::string ControlDocument(const Case& c) {
  return qplatform::RtfThroughControl(rtfdocs::SizedDocument(c.kib * 1024, c.runs, true));
}

void Report(benchmark::State& state, const std::string& rtf, double seconds) {
  state.counters["stream_bytes"] = static_cast<double>(rtf.size());
  benchsupport::ReportValue(state, seconds);
  benchsupport::ReportAgainst(state, "writer", seconds, WriterSeconds(rtf));
  benchsupport::ReportAgainst(state, "copy", seconds, benchsupport::CopyPassSeconds(rtf.data(), rtf.size()));
}

void BM_Keystroke(benchmark::State& state, Case c) {
  const std::string rtf = ControlDocument(c);
  qplatform::StandaloneRichEdit control;
  const auto& send = control.Send();
  qplatform::StreamInRtf(send, rtf);
  qplatform::SetSelection(send, static_cast<LONG>(rtf.size() / 4), static_cast<LONG>(rtf.size() / 4));
  int keystrokes = 0;
  const double seconds = benchsupport::TimedLoop(state, [&] {
    // Typing and erasing in turn keeps the document the same size.
    if (keystrokes++ % 2 == 0) send(WM_CHAR, 'x', 1);
    else qplatform::PressKey(send, VK_BACK);
    benchmark::DoNotOptimize(qplatform::StreamOutRtf(send));
  });
  Report(state, rtf, seconds);
}

void BM_StreamIn(benchmark::State& state, Case c) {
  const std::string rtf = ControlDocument(c);
  qplatform::StandaloneRichEdit control;
  const double seconds = benchsupport::TimedLoop(state, [&] { qplatform::StreamInRtf(control.Send(), rtf); });
  Report(state, rtf, seconds);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(rtf.size()));
}

int Register() {
  for (const Case& c : kCases) {
    const std::string name = std::to_string(c.kib) + "KiB/runs:" + std::to_string(c.runs);
    benchmark::RegisterBenchmark(("Keystroke/" + name).c_str(), BM_Keystroke, c)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("StreamIn/" + name).c_str(), BM_StreamIn, c)->Unit(benchmark::kMicrosecond);
  }
  return 0;
}

const int kRegistered = Register();

}  // namespace

BENCHMARK_MAIN();
