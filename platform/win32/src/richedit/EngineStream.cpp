// Stream messages: the contents or the selection in and out as RTF or text, through the caller's callback in chunks.
#include "EngineCore.h"
#include "RtfReader.h"
#include "RtfWriter.h"

#include <cstring>
#include <vector>

namespace richedit::detail {

namespace {

// The size of the chunks the control asks for and hands over.
constexpr LONG kChunk = 4096;

bool IsRtf(WPARAM format) { return (format & 0x3) == SF_RTF || (format & 0x3) == SF_RTFNOOBJS; }

}  // namespace

LRESULT EngineCore::OnStreamIn(WPARAM wParam, LPARAM lParam) {
  auto* stream = reinterpret_cast<EDITSTREAM*>(lParam);
  if (!stream || !stream->pfnCallback) return 0;
  if (wParam & SF_TEXTIZED) LogOnce("EM_STREAMIN SF_TEXTIZED");
  stream->dwError = 0;
  std::string data;
  std::vector<BYTE> buffer(kChunk);
  for (;;) {
    LONG got = 0;
    const DWORD error = stream->pfnCallback(stream->dwCookie, buffer.data(), kChunk, &got);
    if (error != 0) {
      stream->dwError = error;
      break;
    }
    if (got <= 0) break;
    data.append(reinterpret_cast<const char*>(buffer.data()), std::min(got, kChunk));
  }

  const bool selection = (wParam & SFF_SELECTION) != 0;
  Document fragment = IsRtf(wParam) ? ReadRtf(data, m_defaultFormat)
                                    : TextFragment(data, selection ? InsertionFormat() : m_defaultFormat);
  if (selection) {
    ReplaceSelection(fragment, UndoBuffer::Action::Other, IsRtf(wParam));
  } else {
    // The stream's last \par ends the document: its mark is the control's last mark.
    if (IsRtf(wParam)) fragment.DropEmptyLastParagraph();
    m_edit.document = std::move(fragment);
    Select(0, 0);
    m_undo.Clear();
    m_modified = false;
  }
  ContentChanged();
  return static_cast<LRESULT>(data.size());
}

LRESULT EngineCore::OnStreamOut(WPARAM wParam, LPARAM lParam) {
  auto* stream = reinterpret_cast<EDITSTREAM*>(lParam);
  if (!stream || !stream->pfnCallback) return 0;
  if (wParam & SF_TEXTIZED) LogOnce("EM_STREAMOUT SF_TEXTIZED");
  stream->dwError = 0;
  const bool selection = (wParam & SFF_SELECTION) != 0;
  const LONG from = selection ? SelMin() : 0;
  const LONG to = selection ? SelMax() : Doc().Length();
  const std::string data =
      IsRtf(wParam) ? WriteRtf(Doc(), from, to, !selection) : Doc().Text().substr(from, to - from);

  std::vector<BYTE> buffer(kChunk);
  size_t done = 0;
  while (done < data.size()) {
    const LONG size = static_cast<LONG>(std::min<size_t>(kChunk, data.size() - done));
    std::memcpy(buffer.data(), data.data() + done, size);
    LONG taken = 0;
    const DWORD error = stream->pfnCallback(stream->dwCookie, buffer.data(), size, &taken);
    if (error != 0) {
      stream->dwError = error;
      break;
    }
    if (taken <= 0) break;
    done += std::min(taken, size);
  }
  return static_cast<LRESULT>(done);
}

}  // namespace richedit::detail
