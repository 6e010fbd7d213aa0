// The link label: binding, auto size, colours, cursor, and opening with its failures and the
// registry's web-page handler.
#include <shellapi.h>
#include <winreg.h>

#include <string>
#include <vector>

#include "AboutFixture.h"

namespace {

using HyperlinkLabelTest = AboutTest;

constexpr const char* kPrefix = "Unable to open hyperlink:\n\n";

// ---- Binding ----

TEST_F(HyperlinkLabelTest, AnEmptyAddressTakesTheWindowText) {
  LabelInFrame frame(SS_LEFT, "E-Mail");
  EXPECT_EQ(frame.label.GetAddress(), "E-Mail");
  EXPECT_TRUE(frame.label.GetStyle() & SS_NOTIFY);
  const std::string snapshot = qwin::Snapshot();
  EXPECT_NE(snapshot.find("tool 5057 \"E-Mail\""), std::string::npos) << snapshot;
}

TEST_F(HyperlinkLabelTest, AnEmptyWindowTextShowsTheAddress) {
  LabelInFrame frame(SS_LEFT, "", RECT{10, 20, 110, 60}, "http://quillon.example/");
  CString text;
  frame.label.GetWindowText(text);
  EXPECT_EQ(text, "http://quillon.example/");
  EXPECT_EQ(frame.label.GetAddress(), "http://quillon.example/");
}

TEST_F(HyperlinkLabelTest, ANewAddressBecomesTheTooltipAndLeavesTheTextAlone) {
  LabelInFrame frame(SS_LEFT, "HomePage");
  frame.label.SetAddress("http://quillon.example/news");
  CString text;
  frame.label.GetWindowText(text);
  EXPECT_EQ(text, "HomePage");
  const std::string snapshot = qwin::Snapshot();
  EXPECT_NE(snapshot.find("tool 5057 \"http://quillon.example/news\""), std::string::npos) << snapshot;
}

// ---- Cursor ----

TEST_F(HyperlinkLabelTest, ShowsTheArrowUntilGivenItsOwnCursor) {
  LabelInFrame frame;
  const auto hover = [&] {
    return ::SendMessage(frame.window, WM_SETCURSOR, reinterpret_cast<WPARAM>(frame.window),
                         MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  };
  ::SetCursor(nullptr);
  EXPECT_EQ(hover(), TRUE) << "handled";
  EXPECT_EQ(qwin::CurrentCursorName(), "arrow");
  frame.label.SetLinkCursor(::LoadCursor(::GetModuleHandle(nullptr), MAKEINTRESOURCE(5057)));
  hover();
  EXPECT_EQ(qwin::CurrentCursorName(), "resource 5057");
}

// ---- Auto size ----

struct SizeCase {
  const char* what;
  DWORD style;
  // Expected rectangle from the text's extent (cx, cy) in the 10,20-110,60 box.
  RECT (*expected)(SIZE extent);
};

TEST_F(HyperlinkLabelTest, FitsItsWindowToTheTextOnTheSideItIsAlignedTo) {
  const SizeCase cases[] = {
      {"left", SS_LEFT, [](SIZE e) { return RECT{10, 20, 10 + e.cx, 20 + e.cy}; }},
      {"simple (left, though its type has the centre bit)", SS_SIMPLE,
       [](SIZE e) { return RECT{10, 20, 10 + e.cx, 20 + e.cy}; }},
      {"centred", SS_CENTER, [](SIZE e) {
         const LONG left = 10 + (100 - e.cx) / 2;
         return RECT{left, 20, left + e.cx, 20 + e.cy};
       }},
      {"right", SS_RIGHT, [](SIZE e) { return RECT{110 - e.cx, 20, 110, 20 + e.cy}; }},
      {"centred vertically", SS_LEFT | SS_CENTERIMAGE, [](SIZE e) {
         const LONG top = 20 + (40 - e.cy) / 2;
         return RECT{10, top, 10 + e.cx, top + e.cy};
       }},
  };
  for (const SizeCase& c : cases) {
    LabelInFrame frame(c.style, "HomePage");
    const CSize extent = frame.Extent("HomePage");
    ASSERT_GT(extent.cx, 0);
    EXPECT_EQ(frame.Rect(), CRect(c.expected(extent))) << c.what;
  }
}

TEST_F(HyperlinkLabelTest, WithoutAutoSizeTheWindowKeepsItsRectangle) {
  LabelInFrame frame;
  frame.label.SetAutoSize(FALSE);
  ::SetWindowText(frame.window, "A much longer text than before");
  frame.label.SetAddress("http://quillon.example/");
  EXPECT_EQ(frame.Rect().Width(), frame.Extent("HomePage").cx);
  frame.label.SetAutoSize(TRUE);
  EXPECT_EQ(frame.Rect().Width(), frame.Extent("A much longer text than before").cx);
}

// ---- Colours ----

struct Painted {
  COLORREF text;
  int mode;
  LRESULT brush;
  LOGFONT font;
};

Painted AskColours(LabelInFrame& frame) {
  HDC dc = ::GetDC(frame.window);
  Painted p{};
  p.brush = ::SendMessage(frame.parent.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                          reinterpret_cast<LPARAM>(frame.window));
  p.text = ::GetTextColor(dc);
  p.mode = ::GetBkMode(dc);
  HGDIOBJ font = ::SelectObject(dc, ::GetStockObject(SYSTEM_FONT));
  ::GetObject(font, sizeof(LOGFONT), &p.font);
  ::ReleaseDC(frame.window, dc);
  return p;
}

TEST_F(HyperlinkLabelTest, PaintsInTheLinkColourUnderlinedOnATransparentBackground) {
  LabelInFrame frame;
  const Painted p = AskColours(frame);
  EXPECT_EQ(p.text, RGB(0, 0, 238));
  EXPECT_EQ(p.mode, TRANSPARENT);
  EXPECT_EQ(p.brush, reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH)));
  EXPECT_EQ(p.font.lfUnderline, 1);
}

TEST_F(HyperlinkLabelTest, VisitedAndNotUnderlinedAsSet) {
  LabelInFrame frame;
  frame.label.SetVisited(TRUE);
  frame.label.SetUnderline(FALSE);
  const Painted p = AskColours(frame);
  EXPECT_EQ(p.text, RGB(85, 26, 139));
  EXPECT_EQ(p.font.lfUnderline, 0);
  frame.label.SetColours(RGB(1, 2, 3), RGB(4, 5, 6));
  EXPECT_EQ(AskColours(frame).text, RGB(4, 5, 6));
  frame.label.SetVisited(FALSE);
  EXPECT_EQ(AskColours(frame).text, RGB(1, 2, 3));
}

// ---- Opening through the shell ----

TEST_F(HyperlinkLabelTest, AClickThatTheShellOpensTurnsTheLinkVisited) {
  LabelInFrame frame(SS_LEFT, "HomePage", RECT{10, 20, 110, 60}, "http://quillon.example/");
  frame.Click();
  ASSERT_EQ(qwin::ShellRequests().size(), 1u);
  const qwin::ShellRequest& request = qwin::ShellRequests()[0];
  EXPECT_EQ(request.function, "ShellExecute");
  EXPECT_EQ(request.verb, "open");
  EXPECT_EQ(request.file, "http://quillon.example/");
  EXPECT_EQ(request.parameters, "");
  EXPECT_EQ(request.showCommand, SW_SHOW);
  EXPECT_TRUE(frame.label.GetVisited());
  EXPECT_EQ(AskColours(frame).text, RGB(85, 26, 139));
  EXPECT_TRUE(qwin::Beeps().empty());
  EXPECT_TRUE(qwin::MessageBoxes().empty());
}

// Every failure code of the shell with the words the user reads; nothing registered for web pages.
TEST_F(HyperlinkLabelTest, AFailedOpenBeepsAndNamesTheShellsResult) {
  const std::vector<std::pair<int, std::string>> cases = {
      {0, "The operating system is out\nof memory or resources."},
      {2, "The specified file was not found."},
      {3, "The specified path was not found."},
      {5, "The operating system denied\naccess to the specified file."},
      {8, "There was not enough memory to complete the operation."},
      {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
      {26, "A sharing violation occurred. "},
      {27, "The filename association is\nincomplete or invalid."},
      {28, "The DDE transaction could not\nbe completed because the request timed out."},
      {29, "The DDE transaction failed."},
      {30, "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed."},
      {31, "There is no application associated\nwith the given filename extension."},
      {32, "The specified dynamic-link library was not found."},
      {1, "Unknown Error (1) occurred."},
      {-7, "Unknown Error (-7) occurred."},
  };
  for (const auto& [code, text] : cases) {
    qwin::Reset();
    LabelInFrame fresh(SS_LEFT, "HomePage", RECT{10, 20, 110, 60}, "http://quillon.example/");
    qwin::SetShellExecuteResult(code);
    Event("answer", {"ok"});
    fresh.Click();
    EXPECT_EQ(qwin::Beeps(), std::vector<UINT>{MB_ICONEXCLAMATION}) << code;
    ASSERT_EQ(qwin::MessageBoxes().size(), 1u) << code;
    EXPECT_EQ(qwin::MessageBoxes()[0].text, kPrefix + text) << code;
    EXPECT_TRUE(qwin::MessageBoxes()[0].type & MB_ICONEXCLAMATION) << code;
    EXPECT_FALSE(fresh.label.GetVisited()) << code;
    EXPECT_EQ(qwin::ShellRequests().size(), 1u) << "no handler, no second attempt: " << code;
  }
}

// ---- The registered web-page handler ----

void RegisterWebPageHandler(const char* command) {
  qwin::SetRegistryValue(HKEY_CLASSES_ROOT, ".htm", "", "htmlfile");
  qwin::SetRegistryValue(HKEY_CLASSES_ROOT, "htmlfile\\shell\\open\\command", "", command);
}

TEST_F(HyperlinkLabelTest, TheHandlersCommandLineGetsTheAddressInPlaceOfItsPlaceholder) {
  const struct {
    const char* what;
    const char* command;
    const char* expected;
  } cases[] = {
      {"options, then the quoted placeholder", "\"C:\\Browser\\browse.exe\" -nohome \"%1\"",
       "\"C:\\Browser\\browse.exe\" -nohome  http://quillon.example/"},
      {"a bare placeholder", "C:\\Browser\\browse.exe %1 -new", "C:\\Browser\\browse.exe  http://quillon.example/"},
      {"the quoted placeholder comes before a bare one", "browse.exe %1x \"%1\"",
       "browse.exe %1x  http://quillon.example/"},
      {"no placeholder", "C:\\Browser\\browse.exe -nohome", "C:\\Browser\\browse.exe -nohome http://quillon.example/"},
  };
  for (const auto& c : cases) {
    qwin::Reset();
    RegisterWebPageHandler(c.command);
    qwin::SetShellExecuteResult(SE_ERR_NOASSOC);
    LabelInFrame frame(SS_LEFT, "HomePage", RECT{10, 20, 110, 60}, "http://quillon.example/");
    frame.Click();
    ASSERT_EQ(qwin::ShellRequests().size(), 2u) << c.what;
    EXPECT_EQ(qwin::ShellRequests()[1].function, "WinExec") << c.what;
    EXPECT_EQ(qwin::ShellRequests()[1].commandLine, c.expected) << c.what;
    EXPECT_EQ(qwin::ShellRequests()[1].showCommand, SW_SHOW) << c.what;
    EXPECT_TRUE(frame.label.GetVisited()) << c.what;
    EXPECT_TRUE(qwin::Beeps().empty()) << c.what;
  }
}

TEST_F(HyperlinkLabelTest, AFailingHandlerNamesItsOwnResult) {
  RegisterWebPageHandler("browse.exe \"%1\"");
  qwin::SetShellExecuteResult(SE_ERR_NOASSOC);
  qwin::SetWinExecResult(SE_ERR_FNF);
  LabelInFrame frame(SS_LEFT, "HomePage", RECT{10, 20, 110, 60}, "http://quillon.example/");
  Event("answer", {"ok"});
  frame.Click();
  ASSERT_EQ(qwin::MessageBoxes().size(), 1u);
  EXPECT_EQ(qwin::MessageBoxes()[0].text, std::string(kPrefix) + "The specified file was not found.");
  EXPECT_FALSE(frame.label.GetVisited());
}

TEST_F(HyperlinkLabelTest, AHandlerNameWithoutACommandLeavesTheShellsResult) {
  qwin::SetRegistryValue(HKEY_CLASSES_ROOT, ".htm", "", "htmlfile");
  qwin::SetShellExecuteResult(SE_ERR_NOASSOC);
  LabelInFrame frame(SS_LEFT, "HomePage", RECT{10, 20, 110, 60}, "http://quillon.example/");
  Event("answer", {"ok"});
  frame.Click();
  EXPECT_EQ(qwin::ShellRequests().size(), 1u) << "nothing is run";
  ASSERT_EQ(qwin::MessageBoxes().size(), 1u);
  EXPECT_EQ(qwin::MessageBoxes()[0].text,
            std::string(kPrefix) + "There is no application associated\nwith the given filename extension.");
}

}  // namespace
