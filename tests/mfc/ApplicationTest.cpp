// MFC stand-in: the application object: its profile in an INI file that outlives the process,
// resource search over extension libraries, message boxes, the wait cursor, rich edit initialisation.
#include <afxdllx.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "MfcFixture.h"
#include "qplatform/Profile.h"

int QuillonTestLibraryAnchor();

namespace {

using Profile = ProfileFolderTest;

TEST_F(Profile, ValuesWrittenByOneProcessAreReadByTheNext) {
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // The first process: nothing remembered yet; it writes and exits.
    CWinApp first("qhost");
    bool ok = first.GetProfileInt("1388", "CX", 0) == 0u && first.WriteProfileInt("1388", "CX", 640) &&
              first.WriteProfileInt("1388", "CY", 200) && first.WriteProfileInt("1388", "CX", 700);
    _exit(ok ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the first process could not write its profile";
  CWinApp second("qhost");
  EXPECT_EQ(second.GetProfileInt("1388", "cx", 0), 700u) << "keys are found without regard to case";
  EXPECT_EQ(second.GetProfileInt("1388", "CY", 0), 200u);
  EXPECT_EQ(second.GetProfileInt("1389", "CX", 5), 5u);
  std::ifstream file(qmfc::ProfilePath("qhost"));
  std::stringstream text;
  text << file.rdbuf();
  EXPECT_EQ(text.str(), "[1388]\nCX=700\nCY=200\n");
}

TEST_F(Profile, TheFolderFollowsXdgConfigHome) {
  qmfc::SetProfileFolder("");
  setenv("XDG_CONFIG_HOME", "/tmp/xdg-test", 1);
  EXPECT_EQ(qmfc::ProfilePath("qhost"), "/tmp/xdg-test/quillon/qhost.ini");
  unsetenv("XDG_CONFIG_HOME");
  qmfc::SetProfileFolder(m_folder);
}

// ---- Resources of extension libraries ----

using Resources = MfcTest;

TEST_F(Resources, AnExtensionLibrarysResourcesAreFoundOnlyWhileItIsRegistered) {
  ASSERT_EQ(QuillonTestLibraryAnchor(), 1);
  HMODULE library = ::GetModuleHandle("libmfc_test_library.so");
  ASSERT_NE(library, nullptr);
  EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(IDD_LIBRARY), RT_DIALOG), AfxGetResourceHandle());
  AFX_EXTENSION_MODULE module;
  ASSERT_TRUE(AfxInitExtensionModule(module, library));
  new CDynLinkLibrary(module);  // deleted by AfxTermExtensionModule, as in a library's detach
  EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(IDD_LIBRARY), RT_DIALOG), library);
  EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(IDD_FORM), RT_DIALOG), AfxGetResourceHandle())
      << "the application comes first";
  Event("click", {"2"});
  CDialog dialog(IDD_LIBRARY);
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_FALSE(qhost::InputQueue::Instance().RanOut()) << "the click closed it";
  AfxTermExtensionModule(module);
  EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(IDD_LIBRARY), RT_DIALOG), AfxGetResourceHandle());
  CDialog missing(IDD_LIBRARY);
  EXPECT_EQ(missing.DoModal(), -1);
}

TEST_F(Resources, AStaticLibrarysResourcesBelongToTheProgramThatLinksIt) {
  char text[64];
  EXPECT_GT(::LoadString(::GetModuleHandle(nullptr), IDS_STATIC_HELLO, text, sizeof text), 0);
  EXPECT_STREQ(text, "from a static library");
  EXPECT_EQ(::LoadString(::GetModuleHandle("libmfc_test_library.so"), IDS_STATIC_HELLO, text, sizeof text), 0);
}

// ---- Message boxes, cursors, rich edit ----

using Application = MfcTest;

TEST_F(Application, AfxMessageBoxUsesTheApplicationsNameAsCaption) {
  Event("answer", {"yes"});
  EXPECT_EQ(AfxMessageBox("Save?", MB_YESNO | MB_ICONQUESTION), IDYES);
  ASSERT_EQ(qwin::MessageBoxes().size(), 1u);
  EXPECT_EQ(qwin::MessageBoxes()[0].caption, "qhost");
  EXPECT_EQ(qwin::MessageBoxes()[0].type, MB_YESNO | MB_ICONQUESTION);
}

TEST_F(Application, WaitCursorShowsTheHourglassUntilItGoes) {
  ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
  {
    CWaitCursor wait;
    EXPECT_EQ(qwin::CurrentCursorName(), "wait");
    {
      CWaitCursor nested;
    }
    EXPECT_EQ(qwin::CurrentCursorName(), "wait") << "the outer wait cursor stays";
  }
  EXPECT_EQ(qwin::CurrentCursorName(), "arrow");
}

TEST_F(Application, RichEditIsReadyAfterAfxInitRichEdit) {
  EXPECT_TRUE(AfxInitRichEdit());
  CRichEditCtrl edit;
  ASSERT_TRUE(edit.Create(WS_VISIBLE | ES_MULTILINE, CRect(0, 0, 100, 50), CWnd::FromHandle(::CreateWindowEx(
      0, "STATIC", "", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr, nullptr, nullptr)), 77));
  edit.ReplaceSel("abc");
  CHARFORMAT format{};
  format.dwMask = CFM_BOLD;
  format.dwEffects = CFE_BOLD;
  edit.SetSel(0, 1);
  EXPECT_TRUE(edit.SetSelectionCharFormat(format));
  CHARFORMAT read{};
  edit.SetSel(0, 3);
  DWORD mask = edit.GetSelectionCharFormat(read);
  EXPECT_EQ(mask & CFM_BOLD, 0u) << "a mixed selection clears the bold bit of the mask";
  EXPECT_EQ(edit.GetTextLength(), 3);
  edit.DestroyWindow();
}

}  // namespace
