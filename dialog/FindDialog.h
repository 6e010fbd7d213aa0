// The editor's find window: a modeless window over the editor that finds and replaces in its text
// area as the text is displayed (code text is never matched and never broken).
#pragma once

#include <afxwin.h>

#include <vector>

#include "controls/EditorRichEdit.h"
#include "converter/MTextSearch.h"
#include "resources/resource.h"

class FindDialog : public CDialog {
 public:
  enum { IDD = IDD_FIND };
  enum class Mode { kFind, kReplace };

  // `text` is the text area searched; it outlives the window.
  explicit FindDialog(EditorRichEdit& text);
  ~FindDialog() override;

  // Shows the window over `owner` (creating it the first time) in `mode`, the focus in its find
  // box: "Найти" without, "Заменить" with the replacement box and buttons.
  void Show(CWnd* owner, Mode mode);

  // Selects the next match after the selection (the previous one before it when not `forward`),
  // starting over at the other end; false, and the user told, when the text has none.
  bool FindNext(bool forward);
  // Replaces the selection when it is a match, then finds the next one.
  void ReplaceCurrent();
  // Replaces every match as one step of the text area's undo; the count replaced.
  size_t ReplaceAll();

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;      // find next (the default button, Enter)
  void OnCancel() override;  // hides the window; the editor keeps it for the next Ctrl+F
  afx_msg void OnFindPrevious();
  afx_msg void OnReplace();
  afx_msg void OnReplaceAll();
  DECLARE_MESSAGE_MAP()

 private:
  EditorRichEdit& m_text;
  Mode m_mode = Mode::kFind;

  mtextsearch::Pattern CurrentPattern();
  CString ReplacementText();
  // The matches in the text area; positions are the control's character positions.
  std::vector<mtextsearch::Match> Matches(mtextsearch::DisplayedText& shown);
  // Replaces `matches` (in order) in one change of the text area; the count replaced.
  size_t Apply(const mtextsearch::DisplayedText& shown, const std::vector<mtextsearch::Match>& matches);
  void SayNotFound();
};
