// Windows stand-in as a front end sees it: an input source is asked for each event with the name of
// the wait, and can show the snapshot of what waits (a dialog with its rich edit, a menu, a message box).
#include <richedit.h>

#include <memory>

#include "Fixture.h"
#include "qplatform/Verbs.h"
#include "data/TestResource.h"

namespace {

// A scripted source that keeps what a terminal front end would have shown before each event.
class ShowingSource : public qhost::InputSource {
 public:
  ShowingSource(std::vector<qhost::InputEvent> events, std::vector<std::string>* shown)
      : m_events(std::move(events)), m_shown(shown) {}
  std::optional<qhost::InputEvent> Next(const std::string& waitingFor) override {
    m_shown->push_back("waiting for " + waitingFor + "\n" + qwin::Snapshot());
    if (m_next >= m_events.size()) return std::nullopt;
    return m_events[m_next++];
  }

 private:
  std::vector<qhost::InputEvent> m_events;
  size_t m_next = 0;
  std::vector<std::string>* m_shown;
};

INT_PTR CALLBACK MenuOnRightClick(HWND dialog, UINT message, WPARAM, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_CONTEXTMENU) {
    HMENU menu = CreatePopupMenu();
    AppendMenu(menu, MF_STRING, 10, "Ask");
    UINT chosen = static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD, 1, 2, 0, dialog, nullptr));
    DestroyMenu(menu);
    if (chosen == 10) MessageBox(dialog, "Sure?", "Quillon", MB_YESNO);
    return TRUE;
  }
  if (message == WM_COMMAND) {
    EndDialog(dialog, IDCANCEL);
    return TRUE;
  }
  return FALSE;
}

using FrontEnd = WindowSystemTest;

TEST_F(FrontEnd, EachWaitShowsWhatIsOpen) {
  std::vector<std::string> shown;
  qhost::InputQueue::Instance().SetSource(std::make_unique<ShowingSource>(
      std::vector<qhost::InputEvent>{{"rclick", {"dialog"}, "s:1"}, {"menu", {"Ask"}, "s:2"}, {"answer", {"yes"}, "s:3"},
                                     {"escape", {}, "s:4"}},
      &shown));
  DialogBoxParam(GetModuleHandle(nullptr), MAKEINTRESOURCE(IDD_SMALL), nullptr, MenuOnRightClick, 0);
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_EQ(shown[0].rfind("waiting for dialog 101\n#32770 ", 0), 0u) << shown[0];
  EXPECT_NE(shown[0].find(" active\n"), std::string::npos) << "the shown dialog is the active window";
  EXPECT_EQ(shown[1].rfind("waiting for menu\n", 0), 0u) << shown[1];
  EXPECT_NE(shown[1].find("open menu at 1,2: \"Ask=10\"\n"), std::string::npos) << shown[1];
  EXPECT_NE(shown[2].find("open message box \"Quillon\": \"Sure?\" buttons: yes no\n"), std::string::npos) << shown[2];
  EXPECT_EQ(shown[3].find("open "), std::string::npos) << "nothing is open any more: " << shown[3];
  EXPECT_EQ(qwin::MessageBoxes().back().answer, IDYES);
}

INT_PTR CALLBACK Editor(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) {
    SetFocus(GetDlgItem(dialog, IDC_TEXT));
    return FALSE;
  }
  if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
    EndDialog(dialog, IDCANCEL);
    return TRUE;
  }
  return FALSE;
}

TEST_F(FrontEnd, TheSnapshotShowsTheRichEditsParagraphsRunsAndSelection) {
  std::vector<std::string> shown;
  qhost::InputQueue::Instance().SetSource(std::make_unique<ShowingSource>(
      std::vector<qhost::InputEvent>{{"type", {"ab"}, "s:1"}, {"escape", {}, "s:2"}}, &shown));
  DialogBoxParam(GetModuleHandle(nullptr), MAKEINTRESOURCE(IDD_EDITOR), nullptr, Editor, 0);
  ASSERT_EQ(shown.size(), 2u);
  const std::string& picture = shown[1];
  size_t edit = picture.find("  RICHEDIT 1010 ");
  ASSERT_NE(edit, std::string::npos) << picture;
  EXPECT_NE(picture.find(" focus", edit), std::string::npos) << picture;
  EXPECT_NE(picture.find("    ", picture.find('\n', edit)), std::string::npos) << "the document follows, indented";
  EXPECT_NE(picture.find("\"ab\"", edit), std::string::npos) << picture;
}

}  // namespace

namespace {

// The dialog verbs of the one table (which the Verbs tests hold to the vocabulary page); help
// never reaches a wait.
std::vector<std::string> DialogVerbs() {
  std::vector<std::string> verbs;
  for (const qhost::Verb& verb : qhost::Verbs())
    if ((verb.waits & qhost::kAtDialog) && std::string(verb.name) != "help") verbs.push_back(verb.name);
  return verbs;
}

TEST_F(FrontEnd, EveryDialogVerbOfTheTableIsUnderstoodByADialogWait) {
  std::vector<std::string> verbs = DialogVerbs();
  ASSERT_GE(verbs.size(), 15u);
  for (const auto& verb : verbs) Event(verb);
  DialogBoxParam(GetModuleHandle(nullptr), MAKEINTRESOURCE(IDD_SMALL), nullptr, nullptr, 0);
  for (const auto& error : qwin::InputErrors()) {
    EXPECT_EQ(error.find("is not a user-interface event"), std::string::npos) << error;
  }
}

}  // namespace
