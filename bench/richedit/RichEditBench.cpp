// The control's work in one keystroke of live update (a typed character, then the whole RTF
// streamed out) and a whole stream-in, on documents of 1, 16 and 64 KiB with 1 and 300 runs.
// Each reports its time as a ratio of RtfToMText on the same stream ("vs_writer"), the other
// half of the live update, measured in the same run; times are processor time, as the machine
// is shared.
#include <benchmark/benchmark.h>

#include <qplatform/RichEditTesting.h>

#include <ctime>
#include <string>

#include "converter/MTextRtfConverter.h"
#include "converter/reference/RtfDocuments.h"
#include "host/HostColors.h"

namespace {

struct Case {
  size_t kib;
  int runs;
};

const Case kCases[] = {{1, 1}, {1, 300}, {16, 1}, {16, 300}, {64, 1}, {64, 300}};

double CpuSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

double WriterSeconds(const std::string& rtf) {
  const CString text(rtf.data(), static_cast<int>(rtf.size()));
  HostColors colors;
  const int repeats = 20;
  const double start = CpuSeconds();
  for (int r = 0; r < repeats; ++r) {
    MTextRtfConverter converter(colors);
    benchmark::DoNotOptimize(converter.RtfToMText(text));
  }
  return (CpuSeconds() - start) / repeats;
}

// A document of about the size asked for, as the control itself writes it.
std::string ControlDocument(const Case& c) {
  return qplatform::RtfThroughControl(rtfdocs::SizedDocument(c.kib * 1024, c.runs, true));
}

void Report(benchmark::State& state, const std::string& rtf, double seconds) {
  state.counters["stream_bytes"] = static_cast<double>(rtf.size());
  state.counters["vs_writer"] = seconds / WriterSeconds(rtf);
}

void BM_Keystroke(benchmark::State& state, Case c) {
  const std::string rtf = ControlDocument(c);
  qplatform::StandaloneRichEdit control;
  const auto& send = control.Send();
  qplatform::StreamInRtf(send, rtf);
  qplatform::SetSelection(send, static_cast<LONG>(rtf.size() / 4), static_cast<LONG>(rtf.size() / 4));
  int keystrokes = 0;
  const double start = CpuSeconds();
  for (auto _ : state) {
    // Typing and erasing in turn keeps the document the same size.
    if (keystrokes++ % 2 == 0) send(WM_CHAR, 'x', 1);
    else qplatform::PressKey(send, VK_BACK);
    benchmark::DoNotOptimize(qplatform::StreamOutRtf(send));
  }
  const double seconds = CpuSeconds() - start;
  Report(state, rtf, seconds / std::max(keystrokes, 1));
}

void BM_StreamIn(benchmark::State& state, Case c) {
  const std::string rtf = ControlDocument(c);
  qplatform::StandaloneRichEdit control;
  int loads = 0;
  const double start = CpuSeconds();
  for (auto _ : state) {
    qplatform::StreamInRtf(control.Send(), rtf);
    ++loads;
  }
  const double seconds = CpuSeconds() - start;
  Report(state, rtf, seconds / std::max(loads, 1));
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
