// The rich edit control of the editor and of the About box.
#include "controls/EditorRichEdit.h"

#include <cctype>
#include <cstring>
#include <string>

#include "resources/resource.h"

namespace {

// The context menu's select-all command; the editor's text area has the same id.
constexpr UINT kSelectAllCommand = IDC_RICHEDIT;
// Clipboard texts longer than this are refused.
constexpr int kPasteLimit = 16384;
// How far in front of a typed hexadecimal digit a "\U+XXXX" and the backslashes before it are looked for.
constexpr long kUnicodeLookBack = 32;
constexpr DWORD kFullMask = EditorRichEdit::kFullFormatMask;

DWORD CALLBACK CollectChunk(DWORD_PTR cookie, BYTE* buffer, LONG count, LONG* done) {
  *reinterpret_cast<CString*>(cookie) += CString(reinterpret_cast<LPCTSTR>(buffer), count);
  *done = count;
  return 0;
}

// Serves the text from its front and keeps the rest for the next call.
DWORD CALLBACK ServeChunk(DWORD_PTR cookie, BYTE* buffer, LONG count, LONG* done) {
  CString& rest = *reinterpret_cast<CString*>(cookie);
  if (rest.GetLength() < count) {
    *done = rest.GetLength();
    std::memcpy(buffer, rest.GetString(), static_cast<size_t>(*done));
    rest.Empty();
  } else {
    *done = count;
    std::memcpy(buffer, rest.GetString(), static_cast<size_t>(count));
    rest = rest.Mid(count);
  }
  return 0;
}

}  // namespace

BEGIN_MESSAGE_MAP(EditorRichEdit, CRichEditCtrl)
  ON_WM_CHAR()
  ON_CONTROL_REFLECT(EN_CHANGE, OnChange)
  ON_WM_RBUTTONDOWN()
  ON_COMMAND(ID_EDIT_UNDO, OnEditUndo)
  ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
  ON_COMMAND(ID_EDIT_CUT, OnEditCut)
  ON_COMMAND(ID_EDIT_PASTE, OnEditPaste)
  ON_COMMAND(kSelectAllCommand, OnSelectAll)
  ON_NOTIFY_REFLECT(EN_SELCHANGE, OnSelChange)
END_MESSAGE_MAP()

EditorRichEdit::EditorRichEdit(const char* codeFace) : m_codeFace(codeFace ? codeFace : "") {}
EditorRichEdit::~EditorRichEdit() = default;

bool EditorRichEdit::IsCodeFace(const CHARFORMAT& format) const {
  return !m_codeFace.IsEmpty() && std::strcmp(format.szFaceName, m_codeFace) == 0;
}

CString EditorRichEdit::GetRtf() {
  CString rtf;
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&rtf), 0, CollectChunk};
  StreamOut(SF_RTF, stream);
  return rtf;
}

void EditorRichEdit::SetRtf(CString rtf) {
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&rtf), 0, ServeChunk};
  StreamIn(SF_RTF, stream);
}

CString EditorRichEdit::GetSelectionRtf() {
  CString rtf;
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&rtf), 0, CollectChunk};
  StreamOut(SF_RTF | SFF_SELECTION, stream);
  return rtf;
}

void EditorRichEdit::ReplaceSelectionRtf(CString rtf) {
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&rtf), 0, ServeChunk};
  StreamIn(SF_RTF | SFF_SELECTION, stream);
}

std::vector<bool> EditorRichEdit::CodeTextMap() {
  const long length = GetWindowTextLength();
  std::vector<bool> code(static_cast<size_t>(length), false);
  if (m_codeFace.IsEmpty() || !std::strstr(GetRtf().GetString(), m_codeFace)) return code;
  const DWORD mask = GetEventMask();
  SetEventMask(0);
  long start = 0, end = 0;
  GetSel(start, end);
  for (long cp = 0; cp < length; ++cp) {
    SetSel(cp, cp + 1);
    code[static_cast<size_t>(cp)] = IsCodeFace(GetSelectionFormat(CFM_FACE));
  }
  SetSel(start, end);
  SetEventMask(mask);
  return code;
}

CHARFORMAT EditorRichEdit::GetSelectionFormat(DWORD mask) {
  CHARFORMAT format{};
  format.cbSize = sizeof(CHARFORMAT);
  format.dwMask = mask;
  GetSelectionCharFormat(format);
  return format;
}

void EditorRichEdit::ToggleEffect(DWORD maskBit, DWORD effect) {
  CHARFORMAT format = GetSelectionFormat(kFullMask);
  if (format.dwMask & maskBit) {
    format.dwEffects ^= effect;
  } else {
    format.dwEffects |= effect;
  }
  format.dwMask = maskBit;
  SetSelectionCharFormat(format);
}

PARAFORMAT EditorRichEdit::GetSelectionParaFormat() {
  PARAFORMAT format{};
  format.cbSize = sizeof(PARAFORMAT);
  format.dwMask = PFM_ALIGNMENT | PFM_NUMBERING;
  GetParaFormat(format);
  return format;
}

// Code text keeps its face: the new face goes to the selection's other characters only.
void EditorRichEdit::SetFaceName(LPCTSTR faceName) {
  CHARFORMAT format = GetSelectionFormat(kFullMask);
  lstrcpyn(format.szFaceName, faceName, sizeof(format.szFaceName));
  format.dwMask = CFM_FACE;
  long start = 0, end = 0;
  GetSel(start, end);
  if (start == end || m_codeFace.IsEmpty() || !std::strstr(GetRtf().GetString(), m_codeFace)) {
    SetSelectionCharFormat(format);
    return;
  }
  const DWORD mask = GetEventMask();
  SetEventMask(0);
  for (long cp = start; cp < end; ++cp) {
    SetSel(cp, cp + 1);
    if (!IsCodeFace(GetSelectionFormat(CFM_FACE))) SetSelectionCharFormat(format);
  }
  SetSel(start, end);
  SetEventMask(mask);
  OnChange();
}

void EditorRichEdit::SetSize(double points, BOOL asDefault) {
  CHARFORMAT format = GetSelectionFormat(kFullMask);
  format.yHeight = static_cast<LONG>(points * 20);
  format.dwMask = CFM_SIZE;
  if (asDefault) {
    SetDefaultCharFormat(format);
  } else {
    SetSelectionCharFormat(format);
  }
}

int EditorRichEdit::ClipboardTextLength() {
  if (!::OpenClipboard(m_hWnd)) return 0;
  HANDLE data = ::IsClipboardFormatAvailable(CF_TEXT) ? ::GetClipboardData(CF_TEXT) : nullptr;
  if (!data) {
    ::CloseClipboard();
    return 0;
  }
  const char* text = static_cast<const char*>(::GlobalLock(data));
  int length = text ? static_cast<int>(strnlen(text, ::GlobalSize(data))) : 0;
  ::GlobalUnlock(data);
  ::CloseClipboard();
  if (length <= kPasteLimit) return length;
  MessageBox("Не могу вставить данные, размер превышает 16К", "Quillon", MB_ICONEXCLAMATION);
  return 0;
}

void EditorRichEdit::LimitedPaste() {
  const int length = ClipboardTextLength();
  if (length == 0) return;
  {
    CWaitCursor wait;
    long start = 0, end = 0;
    GetSel(start, end);
    m_pasting = true;
    LeaveCodeFace();
    SendMessage(WM_PASTE);
    if (MarkUnicodeCodes(start, start + length)) OnChange();
    SetSel(start, start + length);
    SetSel(start + length, start + length);
    m_pasting = false;
  }
  SetFocus();
}

void EditorRichEdit::ForwardToParent(UINT code) {
  if (CWnd* parent = GetParent()) {
    parent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), code), reinterpret_cast<LPARAM>(m_hWnd));
  }
}

void EditorRichEdit::OnChange() { ForwardToParent(kTextChangedCode); }

void EditorRichEdit::OnChar(UINT nChar, UINT, UINT) {
  if (nChar >= ' ' || nChar == '\t' || nChar == '\r') LeaveCodeFace();
  Default();
  long start = 0, end = 0;
  GetSel(start, end);
  // The last digit of a "\U+XXXX" completes the code; the text in front of it tells whether
  // its backslash is a typed backslash's second half.
  if (std::isxdigit(static_cast<unsigned char>(nChar)) && MarkUnicodeCodes(start - kUnicodeLookBack, start)) {
    OnChange();
  }
}

CString EditorRichEdit::TextFaceNear(long at) {
  const long length = GetWindowTextLength();
  for (long step : {-1L, 1L}) {
    for (long cp = step < 0 ? at - 1 : at; cp >= 0 && cp < length; cp += step) {
      SetSel(cp, cp + 1);
      CHARFORMAT format = GetSelectionFormat(CFM_FACE);
      if (!IsCodeFace(format)) return format.szFaceName;
    }
  }
  CHARFORMAT format{};
  format.cbSize = sizeof format;
  GetDefaultCharFormat(format);
  return format.szFaceName;
}

void EditorRichEdit::LeaveCodeFace() {
  if (!IsCodeFace(GetSelectionFormat(CFM_FACE))) return;
  const DWORD mask = GetEventMask();
  SetEventMask(0);
  long start = 0, end = 0;
  GetSel(start, end);
  CString face = TextFaceNear(start);
  SetSel(start, end);
  CHARFORMAT format = GetSelectionFormat(CFM_FACE);
  lstrcpyn(format.szFaceName, face, sizeof(format.szFaceName));
  format.dwMask = CFM_FACE;
  SetSelectionCharFormat(format);
  SetEventMask(mask);
}

bool EditorRichEdit::MarkUnicodeCodes(long first, long last) {
  if (m_codeFace.IsEmpty()) return false;
  if (first < 0) first = 0;
  if (last - first < 7) return false;
  const DWORD mask = GetEventMask();
  SetEventMask(0);
  long start = 0, end = 0;
  GetSel(start, end);
  SetSel(first, last);
  const std::string text(GetSelText().GetString());
  bool marked = false;
  for (size_t i = 0; i + 7 <= text.size(); ++i) {
    if (text.compare(i, 3, "\\U+") != 0) continue;
    bool hex = true;
    for (size_t k = 3; k < 7; ++k) hex = hex && std::isxdigit(static_cast<unsigned char>(text[i + k]));
    // A backslash typed twice is a literal backslash, and what follows it is text.
    size_t backslashes = 0;
    while (backslashes < i && text[i - 1 - backslashes] == '\\') ++backslashes;
    if (!hex || backslashes % 2) continue;
    SetSel(first + static_cast<long>(i), first + static_cast<long>(i) + 7);
    CHARFORMAT format = GetSelectionFormat(CFM_FACE);
    if (IsCodeFace(format)) continue;
    lstrcpyn(format.szFaceName, m_codeFace, sizeof(format.szFaceName));
    format.dwMask = CFM_FACE;
    SetSelectionCharFormat(format);
    marked = true;
    i += 6;
  }
  SetSel(start, end);
  SetEventMask(mask);
  return marked;
}

void EditorRichEdit::OnSelChange(NMHDR*, LRESULT* result) {
  ForwardToParent(kSelectionChangedCode);
  *result = 0;
}

void EditorRichEdit::OnRButtonDown(UINT, CPoint) {
  CMenu menu;
  menu.CreatePopupMenu();
  menu.AppendMenu(MF_STRING, ID_EDIT_UNDO, "Отменить");
  long start = 0, end = 0;
  GetSel(start, end);
  if (start != end) {
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, ID_EDIT_CUT, "Вырезать");
    menu.AppendMenu(MF_STRING, ID_EDIT_COPY, "Копировать");
  }
  if (ClipboardTextLength() != 0) {
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, ID_EDIT_PASTE, "Вставить");
  }
  if (GetWindowTextLength() != 0) {
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, kSelectAllCommand, "Выделить все");
  }
  const MSG* message = GetCurrentMessage();
  menu.TrackPopupMenu(TPM_RIGHTBUTTON, message->pt.x, message->pt.y, this);
  menu.DestroyMenu();
}

void EditorRichEdit::OnEditUndo() { SendMessage(EM_UNDO); }
void EditorRichEdit::OnEditCopy() { SendMessage(WM_COPY); }
void EditorRichEdit::OnEditCut() { SendMessage(WM_CUT); }
void EditorRichEdit::OnEditPaste() { LimitedPaste(); }
void EditorRichEdit::OnSelectAll() { SetSel(0, -1); }
