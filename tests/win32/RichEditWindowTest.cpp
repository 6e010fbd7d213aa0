// Windows stand-in: the RICHEDIT window class in a dialog: typing through input events, formatting
// the selection, the notifications the parent receives and in which order, streaming out, snapshots.
#include <richedit.h>

#include <cstring>

#include "Fixture.h"
#include "data/TestResource.h"

namespace {

using Entries = std::vector<std::string>;

std::string StreamOut(HWND edit) {
  std::string out;
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&out), 0,
                    [](DWORD_PTR cookie, BYTE* buffer, LONG count, LONG* done) -> DWORD {
                      reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<char*>(buffer),
                                                                    static_cast<size_t>(count));
                      *done = count;
                      return 0;
                    }};
  SendMessage(edit, EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&stream));
  return out;
}

struct EditorRun {
  Entries notifications;  // what the dialog received from the rich edit
  std::string rtf;        // streamed out when the dialog was cancelled
  std::string snapshot;
};
EditorRun* g_run = nullptr;

INT_PTR CALLBACK EditorProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND edit = GetDlgItem(dialog, IDC_TEXT);
  switch (message) {
    case WM_INITDIALOG:
      SendMessage(edit, EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SELCHANGE);
      SetFocus(edit);
      return FALSE;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header->code == EN_SELCHANGE) {
        auto* change = reinterpret_cast<SELCHANGE*>(lParam);
        g_run->notifications.push_back("EN_SELCHANGE " + std::to_string(change->chrg.cpMin) + "," +
                                       std::to_string(change->chrg.cpMax));
      }
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_TEXT) {
        g_run->notifications.push_back(qwin::NotificationName("RICHEDIT", HIWORD(wParam)));
      } else if (LOWORD(wParam) == IDC_BOLD) {
        CHARFORMAT format{};
        format.cbSize = sizeof format;
        format.dwMask = CFM_BOLD;
        format.dwEffects = CFE_BOLD;
        SendMessage(edit, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        SetFocus(edit);
      } else if (LOWORD(wParam) == IDCANCEL) {
        g_run->rtf = StreamOut(edit);
        g_run->snapshot = qwin::Snapshot(edit);
        EndDialog(dialog, IDCANCEL);
      }
      return TRUE;
    default:
      return FALSE;
  }
}

class RichEditWindow : public WindowSystemTest {
 protected:
  void SetUp() override {
    WindowSystemTest::SetUp();
    g_run = &m_run;
  }
  void TearDown() override {
    g_run = nullptr;
    WindowSystemTest::TearDown();
  }
  void Run() { DialogBoxParam(GetModuleHandle(nullptr), MAKEINTRESOURCE(IDD_EDITOR), nullptr, EditorProc, 0); }
  EditorRun m_run;
};

TEST_F(RichEditWindow, ATypedCharacterSendsSelChangeThenChange) {
  Event("type", {"a"});
  Run();
  EXPECT_EQ(m_run.notifications, (Entries{"EN_SETFOCUS", "EN_SELCHANGE 1,1", "EN_CHANGE", "EN_KILLFOCUS"}))
      << "focused at initialisation; the focus leaves the control when the dialog ends";
}

TEST_F(RichEditWindow, SelectingSendsSelChangeAloneAndPastingSendsSelChangeThenChange) {
  qwin::SetClipboardText("xyz");
  Event("type", {"ab"});
  Event("select", {std::to_string(IDC_TEXT), "0", "1"});
  Event("key", {"ctrl+v"});
  Run();
  EXPECT_EQ(m_run.notifications, (Entries{"EN_SETFOCUS", "EN_SELCHANGE 1,1", "EN_CHANGE", "EN_SELCHANGE 2,2",
                                          "EN_CHANGE", "EN_SELCHANGE 0,1", "EN_SELCHANGE 3,3", "EN_CHANGE",
                                          "EN_KILLFOCUS"}));
}

TEST_F(RichEditWindow, TypedAndFormattedTextStreamsOutInTheDialect) {
  Event("type", {"ab\ncd"});
  Event("select", {std::to_string(IDC_TEXT), "0", "2"});
  Event("click", {std::to_string(IDC_BOLD)});
  Run();
  EXPECT_NE(m_run.rtf.find("\\pard\\plain\\f0\\fs17\\b ab\\plain\\f0\\fs17 \r\n\\par cd\r\n\\par }"),
            std::string::npos)
      << m_run.rtf;
  EXPECT_NE(m_run.snapshot.find("RICHEDIT 1010"), std::string::npos) << m_run.snapshot;
}

TEST_F(RichEditWindow, EnterInAWantReturnEditBreaksTheLineInsteadOfPressingADefaultButton) {
  Event("type", {"x"});
  Event("key", {"enter"});
  Event("type", {"y"});
  Run();
  size_t pars = 0;
  for (size_t at = m_run.rtf.find("\\par"); at != std::string::npos; at = m_run.rtf.find("\\par", at + 1)) {
    if (m_run.rtf.compare(at, 5, "\\pard") != 0) ++pars;
  }
  EXPECT_EQ(pars, 2u) << m_run.rtf;
}

TEST_F(RichEditWindow, CopyAndPasteGoThroughTheWindowClipboard) {
  Event("type", {"hello"});
  Event("key", {"ctrl+a"});
  Event("key", {"ctrl+c"});
  Run();
  EXPECT_EQ(qwin::ClipboardText(), std::optional<std::string>("hello"));
  EXPECT_TRUE(IsClipboardFormatAvailable(RegisterClipboardFormat(CF_RTF)));
}

}  // namespace
