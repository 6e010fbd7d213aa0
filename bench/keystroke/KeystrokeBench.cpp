// One keystroke in the editor dialog with dynamic mode on, end to end: the character message to the
// text area, its change notification, the stream-out, RtfToMText, the write to the entity and the
// redraw. Cyrillic documents of 1 and 16 KiB with 100 runs, and of 16 KiB with 300. "x_writer" is the keystroke's processor
// time as a ratio of RtfToMText alone on the same stream, "x_copy" of a single memchr and memcpy
// pass over the stream's bytes, both measured in the same run.
#include <benchmark/benchmark.h>

#include <qplatform/Host.h>
#include <qplatform/InputQueue.h>
#include <qplatform/RichEditTesting.h>
#include <qplatform/WindowSystem.h>

#include <memory>
#include <string>

#include "bench/support/BenchSupport.h"
#include "converter/MTextRtfConverter.h"
#include "dialog/MTextEditorDialog.h"
#include "host/DrawingAdapter.h"
#include "host/EditTarget.h"
#include "host/EditingRun.h"
#include "host/HostColors.h"

namespace {

double WriterSeconds(const CString& rtf) {
  HostColors colors;
  const int repeats = 20;
  const double start = benchsupport::CpuSeconds();
  for (int r = 0; r < repeats; ++r) {
    MTextRtfConverter converter(colors);
    benchmark::DoNotOptimize(converter.RtfToMText(rtf));
  }
  return (benchsupport::CpuSeconds() - start) / repeats;
}

// `textBytes` of Cyrillic words in `runs` runs of varying font, size, colour and style, as RTF.
std::string CyrillicDocument(size_t textBytes, int runs) {
  const char* words[] = {"\xef\xf0\xe8\xe2\xe5\xf2", "\xf2\xe5\xea\xf1\xf2", "\xf7\xe5\xf0\xf2\xb8\xe6",
                         "\xe2\xfb\xf1\xee\xf2\xe0", "\xf8\xf0\xe8\xf4\xf2"};
  std::string rtf =
      "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset204 Arial;}{\\f1\\froman\\fcharset204 Times New Roman;}}"
      "{\\colortbl\\red0\\green0\\blue0;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\\pard";
  const size_t perRun = textBytes / runs;
  size_t word = 0;
  for (int r = 0; r < runs; ++r) {
    rtf += "\\plain\\f" + std::to_string(r % 2) + "\\fs" + std::to_string(20 + 2 * (r % 5)) + "\\cf" +
           std::to_string(r % 3) + (r % 2 ? "\\b" : "") + (r % 3 == 1 ? "\\i" : "") + " ";
    std::string text;
    while (text.size() < perRun) {
      text += words[word++ % 5];
      text += (word % 40 == 0) ? "\n\\par " : " ";
    }
    rtf += text;
  }
  return rtf + "\\par }";
}

// A fresh session whose target is a new MText holding `rtf`, with the editor open on it.
std::unique_ptr<MTextEditorDialog> OpenEditorOn(const std::string& rtf) {
  qwin::Reset();
  qhost::InputQueue::Instance().Reset();
  qhost::ResetSession();
  qhost::OpenDocument(std::make_unique<AcDbDatabase>());
  theEditTarget = EditTarget();
  theLastRtfSeen.Empty();
  CreateMText("");
  theEditTarget.rtfText = CString(rtf.data(), static_cast<int>(rtf.size()));
  theEditTarget.rtfPending = true;
  auto dialog = std::make_unique<MTextEditorDialog>();
  dialog->Create(IDD_MTEXT_EDITOR);
  return dialog;
}

void BM_Keystroke(benchmark::State& state, size_t kib, int runs) {
  const std::string rtf = qplatform::RtfThroughControl(CyrillicDocument(kib * 1024, runs));
  auto dialog = OpenEditorOn(rtf);
  HWND edit = dialog->m_richEdit.m_hWnd;
  const qplatform::RichEditSend send = [edit](UINT m, WPARAM w, LPARAM l) { return SendMessage(edit, m, w, l); };
  qplatform::SetSelection(send, static_cast<LONG>(rtf.size() / 8), static_cast<LONG>(rtf.size() / 8));
  // One character ahead, so that erasing never brings back the loaded text, which is not converted.
  SendMessage(edit, WM_CHAR, static_cast<unsigned char>('\xE6'), 1);
  const int writesBefore = qhost::Display().updates;
  int keystrokes = 0;
  const double perKey = benchsupport::TimedLoop(state, [&] {
    // Typing and erasing in turn keeps the document the same size.
    if (keystrokes++ % 2 == 0) SendMessage(edit, WM_CHAR, static_cast<unsigned char>('\xE6'), 1);
    else qplatform::PressKey(send, VK_BACK);
  });
  state.counters["writes_per_key"] =
      static_cast<double>(qhost::Display().updates - writesBefore) / std::max(keystrokes, 1);
  const CString stream = dialog->m_richEdit.GetRtf();
  state.counters["stream_bytes"] = stream.GetLength();
  benchsupport::ReportValue(state, perKey);
  benchsupport::ReportAgainst(state, "writer", perKey, WriterSeconds(stream));
  benchsupport::ReportAgainst(state, "copy", perKey,
                              benchsupport::CopyPassSeconds(stream.GetString(), static_cast<size_t>(stream.GetLength())));
  dialog->DestroyWindow();
  dialog.reset();
  qhost::CloseDocument();
}

BENCHMARK_CAPTURE(BM_Keystroke, Cyrillic1KiB_runs100, 1, 100)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Keystroke, Cyrillic16KiB_runs100, 16, 100)->Unit(benchmark::kMillisecond);
// 16,384 Cyrillic characters in 300 runs: about 64 KiB of the control's RTF.
BENCHMARK_CAPTURE(BM_Keystroke, Cyrillic16KiB_runs300, 16, 300)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
