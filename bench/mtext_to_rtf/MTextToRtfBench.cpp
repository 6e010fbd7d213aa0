// MTextToRtf on contents of 1, 16 and 64 KiB in four styles (plain text; the host's codes for
// fonts, heights and colours every few words, in single groups and in groups inside font
// groups; RtfToMText's own grouped output), and the literal reference on the same contents;
// each case reports its processor time as a ratio of the reference's ("x_literal", below 1 is
// faster) and of a single memchr and memcpy pass over the same contents ("x_copy").
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <utility>

#include "bench/support/BenchSupport.h"
#include "converter/MTextRtfConverter.h"
#include "converter/reference/LiteralMTextToRtf.h"
#include "host/EditTarget.h"
#include "host/HostColors.h"

namespace {

enum class Style { kPlain, kHost, kNested, kWriter };

const char* Name(Style style) {
  switch (style) {
    case Style::kPlain: return "plain";
    case Style::kHost: return "host";
    case Style::kNested: return "host-nested";
    case Style::kWriter: return "writer";
  }
  return "";
}

const char* const kWords[] = {"drawing", "\xf7\xe5\xf0\xf2\xe5\xe6", "layer", "\xf2\xe5\xea\xf1\xf2", "scale",
                              "1:100",   "\xeb\xe8\xf1\xf2",         "note",  "\xf0\xe0\xe7\xec\xe5\xf0", "A-3"};
const char* const kHostCodes[] = {
    "\\fArial|b0|i0|c204|p34;", "\\H2.5;", "{\\C1;", "\\C3;", "{\\fTimes New Roman|b1|i0|c204|p18;",
    "\\H0.8x;", "\\fArial|b1|i1|c204|p34;", "{\\H3.5;\\C5;", "\\A1;", "\\C256;"};
// The host's groups inside font groups: "{\f...;{\C1;...} ... {\H2x;...}} ...".
const char* const kNestedCodes[] = {"{\\fArial|b0|i0|c204|p34;{\\C1;", "} ", "{\\H2x;", "}} ", "\\H2.5;",
                                    "{\\fTimes New Roman|b1|i0|c204|p18;", "{\\C3;", "}} ", "\\C256;", ""};
const char* const kWriterRuns[] = {"{\\fArial|c204|p34|b0|i0;{\\H2.5\\C7;", "{\\fArial|c204|p34|b1|i0;{\\H3.0\\C1;",
                                   "{\\fTimes New Roman|c204|p18|b0|i1;{\\H1.7\\C256;\\L",
                                   "{{\\H2.0\\C3;"};

// Contents of about `bytes` bytes: words, a paragraph break every dozen words, and the style's codes.
std::string Contents(Style style, size_t bytes) {
  std::string m = style == Style::kWriter ? "{" : "";
  int word = 0, code = 0;
  bool open = false;
  while (m.size() < bytes) {
    if (style == Style::kWriter && word % 7 == 0) {
      if (word > 0) m += "}}";
      m += kWriterRuns[code++ % 4];
    } else if (style == Style::kNested && word % 3 == 0) {
      m += kNestedCodes[code++ % 10];
    } else if (style == Style::kHost && word % 4 == 0) {
      const char* c = kHostCodes[code++ % 10];
      if (open && c[0] == '{') m += "}", open = false;
      m += c;
      open = open || c[0] == '{';
    }
    m += kWords[word % 10];
    m += ++word % 12 == 0 ? "\\P" : " ";
  }
  if (style == Style::kWriter) m += "}}}";
  if (open) m += "}";
  return m;
}

CString ContentsOf(Style style, size_t kib) {
  std::string m = Contents(style, kib * 1024);
  return CString(m.data(), static_cast<int>(m.size()));
}

// The reference is slow: it is timed once per case and kept.
double LiteralSeconds(Style style, size_t kib, const CString& mtext) {
  static std::map<std::pair<Style, size_t>, double> measured;
  auto key = std::make_pair(style, kib);
  auto found = measured.find(key);
  if (found != measured.end()) return found->second;
  HostColors colors;
  int repeats = kib >= 64 ? 1 : kib >= 16 ? 2 : 10;
  double start = benchsupport::CpuSeconds();
  for (int r = 0; r < repeats; ++r) benchmark::DoNotOptimize(literal::MTextToRtf(mtext, 2.5, colors));
  return measured[key] = (benchsupport::CpuSeconds() - start) / repeats;
}

void BM_MTextToRtf(benchmark::State& state, Style style, size_t kib) {
  CString mtext = ContentsOf(style, kib);
  HostColors colors;
  EditTarget target;
  target.textHeight = 2.5;
  MTextToRtfEditTarget link(target);
  const double seconds = benchsupport::TimedLoop(state, [&] {
    MTextRtfConverter converter(colors, link);
    benchmark::DoNotOptimize(converter.MTextToRtf(mtext));
  });
  state.counters["contents_bytes"] = mtext.GetLength();
  benchsupport::ReportValue(state, seconds);
  benchsupport::ReportAgainst(state, "literal", seconds, LiteralSeconds(style, kib, mtext));
  benchsupport::ReportAgainst(state, "copy", seconds,
                              benchsupport::CopyPassSeconds(mtext.GetString(), static_cast<size_t>(mtext.GetLength())));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * mtext.GetLength());
}

int Register() {
  for (Style style : {Style::kPlain, Style::kHost, Style::kNested, Style::kWriter}) {
    for (size_t kib : {1, 16, 64}) {
      std::string name = std::string("MTextToRtf/") + Name(style) + "/" + std::to_string(kib) + "KiB";
      benchmark::RegisterBenchmark(name.c_str(), BM_MTextToRtf, style, kib)->Unit(benchmark::kMicrosecond);
    }
  }
  return 0;
}

const int kRegistered = Register();

}  // namespace

BENCHMARK_MAIN();
