// Fuzz target: any bytes streamed into the rich edit control as RTF end without a crash, and what
// the control then streams out is its dialect, which reads back to itself.
#include <qplatform/RichEditTesting.h>

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  qplatform::StandaloneRichEdit control;
  const auto& send = control.Send();

  // In chunks of an odd size, so that words and escapes fall across them.
  qplatform::StreamInRtf(send, input, false, 97);
  const std::string out = qplatform::StreamOutRtf(send);
  if (qplatform::RtfThroughControl(out) != out) std::abort();

  // The same bytes pasted into a selection, then a few edits on the result.
  qplatform::SetSelection(send, 1, 4);
  qplatform::StreamInRtf(send, input, true);
  qplatform::SetSelection(send, 0, -1);
  qplatform::SetSelectionFormat(send, qplatform::MakeCharFormat(CFM_BOLD, CFE_BOLD));
  qplatform::StreamOutRtf(send, true);
  send(EM_UNDO, 0, 0);
  qplatform::StreamOutRtf(send);
  return 0;
}
