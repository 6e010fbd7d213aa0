// The editor's find window: matches of the text area as displayed, selected, replaced one by one
// or all at once, each replacement one step of the text area's undo.
#include "dialog/FindDialog.h"

#include <algorithm>

#include "converter/KeptCodes.h"

namespace {

const char kFindCaption[] = "Найти";
const char kReplaceCaption[] = "Заменить";
// The controls only the replace mode shows.
const int kReplaceControls[] = {IDC_REPLACE_LABEL, IDC_REPLACE_TEXT, IDC_REPLACE, IDC_REPLACE_ALL};
// The rich edit's largest text limit (EM_EXLIMITTEXT).
constexpr LPARAM kLargestTextLimit = 0x7FFFFFFF;

// The text area's characters as a search sees them: code text left out, a paragraph mark (CR LF,
// two positions) one line break; each character keeps the positions it stands at.
mtextsearch::DisplayedText ShownText(EditorRichEdit& text) {
  mtextsearch::DisplayedText shown;
  CString window;
  text.GetWindowText(window);
  const std::string all(window.GetString(), static_cast<size_t>(window.GetLength()));
  const std::vector<bool> code = text.CodeTextMap();
  const long length = static_cast<long>(all.size());
  for (long cp = 0; cp < length; ++cp) {
    const size_t at = static_cast<size_t>(cp);
    const bool mark = all[at] == '\r' && cp + 1 < length && all[at + 1] == '\n';
    const long end = cp + (mark ? 2 : 1);
    if (at < code.size() && !code[at]) {
      mtextsearch::DisplayedText::Char c{static_cast<uint32_t>(shown.utf8.size()), static_cast<uint32_t>(cp),
                                         static_cast<uint32_t>(end)};
      shown.utf8 += mark ? std::string("\n") : mtextsearch::Cp1251ToUtf8(all.substr(at, 1));
      shown.chars.push_back(c);
    }
    cp = end - 1;
  }
  return shown;
}

// The pieces of a match that are text: the code text between them stays.
std::vector<CHARRANGE> TextPieces(const mtextsearch::DisplayedText& shown, const mtextsearch::Match& match) {
  std::vector<CHARRANGE> pieces;
  for (size_t i = match.begin; i < match.end; ++i) {
    const auto& c = shown.chars[i];
    if (!pieces.empty() && pieces.back().cpMax == static_cast<LONG>(c.sourceBegin))
      pieces.back().cpMax = static_cast<LONG>(c.sourceEnd);
    else
      pieces.push_back({static_cast<LONG>(c.sourceBegin), static_cast<LONG>(c.sourceEnd)});
  }
  return pieces;
}

}  // namespace

FindDialog::FindDialog(EditorRichEdit& text) : CDialog(IDD), m_text(text) {}

FindDialog::~FindDialog() {
  if (m_hWnd != nullptr) DestroyWindow();
}

BEGIN_MESSAGE_MAP(FindDialog, CDialog)
ON_BN_CLICKED(IDC_FIND_PREVIOUS, OnFindPrevious)
ON_BN_CLICKED(IDC_REPLACE, OnReplace)
ON_BN_CLICKED(IDC_REPLACE_ALL, OnReplaceAll)
END_MESSAGE_MAP()

BOOL FindDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  return TRUE;
}

void FindDialog::Show(CWnd* owner, Mode mode) {
  if (m_hWnd == nullptr) Create(IDD, owner);
  m_mode = mode;
  SetWindowText(mode == Mode::kFind ? kFindCaption : kReplaceCaption);
  for (int id : kReplaceControls)
    if (CWnd* control = GetDlgItem(id)) control->ShowWindow(mode == Mode::kReplace ? SW_SHOW : SW_HIDE);
  ShowWindow(SW_SHOW);
  if (CWnd* box = GetDlgItem(IDC_FIND_TEXT)) box->SetFocus();
}

mtextsearch::Pattern FindDialog::CurrentPattern() {
  CString text;
  GetDlgItemText(IDC_FIND_TEXT, text);
  mtextsearch::SearchOptions options;
  options.ignoreCase = IsDlgButtonChecked(IDC_MATCH_CASE) != BST_CHECKED;
  options.wholeWord = IsDlgButtonChecked(IDC_WHOLE_WORD) == BST_CHECKED;
  return mtextsearch::Pattern::FromCp1251(text.GetString(), options);
}

CString FindDialog::ReplacementText() {
  CString text;
  GetDlgItemText(IDC_REPLACE_TEXT, text);
  return text;
}

std::vector<mtextsearch::Match> FindDialog::Matches(mtextsearch::DisplayedText& shown) {
  shown = ShownText(m_text);
  const mtextsearch::Pattern pattern = CurrentPattern();
  return pattern.valid() ? mtextsearch::Find(pattern, shown) : std::vector<mtextsearch::Match>();
}

void FindDialog::SayNotFound() {
  CString text;
  GetDlgItemText(IDC_FIND_TEXT, text);
  MessageBox("Не найдено: " + text, "Quillon", MB_ICONINFORMATION);
}

bool FindDialog::FindNext(bool forward) {
  mtextsearch::DisplayedText shown;
  const std::vector<mtextsearch::Match> matches = Matches(shown);
  if (matches.empty()) {
    SayNotFound();
    return false;
  }
  long start = 0, end = 0;
  m_text.GetSel(start, end);
  const mtextsearch::Match* next = nullptr;
  if (forward) {
    auto it = std::find_if(matches.begin(), matches.end(),
                           [&](const mtextsearch::Match& m) { return static_cast<long>(m.sourceBegin) >= end; });
    next = it != matches.end() ? &*it : &matches.front();
  } else {
    auto it = std::find_if(matches.rbegin(), matches.rend(),
                           [&](const mtextsearch::Match& m) { return static_cast<long>(m.sourceEnd) <= start; });
    next = it != matches.rend() ? &*it : &matches.back();
  }
  m_text.SetSel(static_cast<long>(next->sourceBegin), static_cast<long>(next->sourceEnd));
  return true;
}

void FindDialog::ReplaceCurrent() {
  mtextsearch::DisplayedText shown;
  const std::vector<mtextsearch::Match> matches = Matches(shown);
  long start = 0, end = 0;
  m_text.GetSel(start, end);
  auto selected = std::find_if(matches.begin(), matches.end(), [&](const mtextsearch::Match& m) {
    return static_cast<long>(m.sourceBegin) == start && static_cast<long>(m.sourceEnd) == end;
  });
  if (selected != matches.end()) Apply(shown, {*selected});
  FindNext(true);
}

size_t FindDialog::ReplaceAll() {
  mtextsearch::DisplayedText shown;
  const std::vector<mtextsearch::Match> matches = Matches(shown);
  if (matches.empty()) {
    SayNotFound();
    return 0;
  }
  return Apply(shown, matches);
}

// The stretch from the first match to the last is copied into a hidden rich edit of the same
// kind, replaced there match by match, and streamed back over the stretch in one piece: the text
// area changes once, so its one level of undo takes the whole replacement back, and the drawing
// is written once.
size_t FindDialog::Apply(const mtextsearch::DisplayedText& shown, const std::vector<mtextsearch::Match>& matches) {
  if (matches.empty()) return 0;
  const long first = static_cast<long>(matches.front().sourceBegin);
  const long last = static_cast<long>(matches.back().sourceEnd);
  const DWORD mask = m_text.GetEventMask();
  m_text.SetEventMask(0);
  m_text.SetSel(first, last);
  const CString stretch = m_text.GetSelectionRtf();

  EditorRichEdit scratch;
  scratch.Create(ES_MULTILINE, CRect(0, 0, 0, 0), this, 0);
  scratch.SendMessage(EM_EXLIMITTEXT, 0, kLargestTextLimit);
  scratch.SetRtf(stretch);
  const CString replacement = ReplacementText();
  for (auto match = matches.rbegin(); match != matches.rend(); ++match) {
    const std::vector<CHARRANGE> pieces = TextPieces(shown, *match);
    for (size_t i = pieces.size(); i-- > 0;) {
      scratch.SetSel(pieces[i].cpMin - first, pieces[i].cpMax - first);
      scratch.ReplaceSel(i == 0 ? replacement.GetString() : "");
    }
  }
  scratch.SetSel(0, -1);
  const CString replaced = scratch.GetSelectionRtf();
  scratch.DestroyWindow();

  m_text.SetEventMask(mask);
  m_text.ReplaceSelectionRtf(replaced);
  return matches.size();
}

void FindDialog::OnOK() { FindNext(true); }
void FindDialog::OnCancel() { ShowWindow(SW_HIDE); }
void FindDialog::OnFindPrevious() { FindNext(false); }
void FindDialog::OnReplace() { ReplaceCurrent(); }
void FindDialog::OnReplaceAll() { ReplaceAll(); }
