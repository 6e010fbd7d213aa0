// Fuzz target: any bytes streamed into the rich edit control as RTF end without a crash, and what
// the control then streams out is its dialect, which reads back to itself.
#include "../platform/win32/src/richedit/RichEditEngine.h"

#include <qplatform/RichEditTesting.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

class QuietHost : public RichEditHost {
 public:
  LRESULT TxNotify(DWORD, void*) override { return 0; }
  void TxInvalidate() override {}
  SHORT TxGetKeyState(int) override { return 0; }
  bool TxGetClipboardData(UINT, std::string&) override { return false; }
  bool TxSetClipboardData(const std::vector<std::pair<UINT, std::string>>&) override { return true; }
  UINT TxRegisterClipboardFormat(const char*) override { return 0xC001; }
  void TxLogUnimplemented(const char*) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  QuietHost host;
  RichEditEngine engine(host, 0x1004);
  const auto send = qplatform::SenderFor(engine);

  qplatform::StreamInRtf(send, input, false, 97);
  const std::string out = qplatform::StreamOutRtf(send);
  qplatform::StreamInRtf(send, out);
  if (qplatform::StreamOutRtf(send) != out) std::abort();

  // The same bytes pasted into a selection, then a few edits on the result.
  qplatform::SetSelection(send, 1, 4);
  qplatform::StreamInRtf(send, input, true);
  qplatform::SetSelection(send, 0, -1);
  qplatform::SetSelectionFormat(send, qplatform::MakeCharFormat(CFM_BOLD, CFE_BOLD));
  qplatform::StreamOutRtf(send, true);
  engine.Message(EM_UNDO, 0, 0);
  qplatform::StreamOutRtf(send);
  return 0;
}
