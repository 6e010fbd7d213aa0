// The About box: its links, text and painted lines, and the click that closes it.
#include <richedit.h>
#include <shellapi.h>

#include <regex>
#include <string>
#include <vector>

#include "AboutFixture.h"
#include "controls/AboutDialog.h"

namespace {

class AboutDialogTest : public AboutTest {
 protected:
  void SetUp() override {
    AboutTest::SetUp();
    ASSERT_TRUE(m_dialog.Create(AboutDialog::IDD));
    m_dialog.ShowWindow(SW_SHOW);
  }
  void TearDown() override {
    m_dialog.DestroyWindow();
    AboutTest::TearDown();
  }
  // The character format of the first occurrence of `text` in the text area.
  CHARFORMAT FormatOf(const char* text) {
    CString all;
    m_dialog.m_aboutText.GetWindowText(all);
    const int start = all.Find(text);
    EXPECT_GE(start, 0) << text;
    m_dialog.m_aboutText.SetSel(start, start + lstrlen(text));
    return m_dialog.m_aboutText.GetSelectionFormat(CFM_BOLD | CFM_COLOR | CFM_SIZE | CFM_FACE);
  }
  AboutDialog m_dialog;
};

std::vector<std::string> Lines(const CString& text) {
  std::vector<std::string> lines;
  std::string rest(text);
  for (size_t at; (at = rest.find("\r\n")) != std::string::npos; rest.erase(0, at + 2)) {
    lines.push_back(rest.substr(0, at));
  }
  lines.push_back(rest);
  return lines;
}

// ---- The links ----

TEST_F(AboutDialogTest, TheLinksOpenTheProjectsAddressesAndKeepTheirWords) {
  EXPECT_EQ(m_dialog.m_emailLink.GetAddress(), "mailto:developers@quillon.example");
  EXPECT_EQ(m_dialog.m_homePageLink.GetAddress(), "http://quillon.example/");
  CString email, homePage;
  m_dialog.m_emailLink.GetWindowText(email);
  m_dialog.m_homePageLink.GetWindowText(homePage);
  EXPECT_EQ(email, "E-Mail");
  EXPECT_EQ(homePage, "HomePage");
  const std::string snapshot = qwin::Snapshot();
  EXPECT_NE(snapshot.find("tool 5056 \"mailto:developers@quillon.example\""), std::string::npos) << snapshot;
  EXPECT_NE(snapshot.find("tool 5057 \"http://quillon.example/\""), std::string::npos) << snapshot;
}

TEST_F(AboutDialogTest, TheLinksAreGreyNotUnderlinedAndShowTheHandCursor) {
  for (HyperlinkLabel* link : {&m_dialog.m_emailLink, &m_dialog.m_homePageLink}) {
    EXPECT_EQ(link->GetLinkColour(), RGB(128, 128, 128));
    EXPECT_EQ(link->GetVisitedColour(), RGB(85, 26, 139));
    EXPECT_FALSE(link->GetUnderline());
    ::SetCursor(nullptr);
    link->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(link->m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(qwin::CurrentCursorName(), "resource 5057");
  }
}

TEST_F(AboutDialogTest, TheMouseOverALinkReachesItsTooltip) {
  HWND link = m_dialog.m_emailLink.m_hWnd;
  MSG move{link, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3), 0, {0, 0}};
  CWnd::WalkPreTranslateTree(m_dialog.m_hWnd, &move);
  const std::string snapshot = qwin::Snapshot();
  EXPECT_NE(snapshot.find("tool 5056 \"mailto:developers@quillon.example\" showing"), std::string::npos) << snapshot;
}

// ---- The text ----

TEST_F(AboutDialogTest, TheTextAreaIsReadOnlyAndHoldsEightParagraphs) {
  EXPECT_TRUE(m_dialog.m_aboutText.GetStyle() & ES_READONLY);
  CString text;
  m_dialog.m_aboutText.GetWindowText(text);
  const std::string dashes(60, '-');
  const std::vector<std::string> expected = {
      dashes,
      "Quillon  V1.11  (c) Quillon developers",
      dashes,
      "Homepage: http://quillon.example/",
      "E-mail: developers@quillon.example",
      "\t\tsupport@quillon.example",
      dashes,
      "* Россия * Новосибирск * 2026 *",
  };
  EXPECT_EQ(Lines(text), expected);
  CString footer;
  m_dialog.GetDlgItemText(IDC_ABOUT_EDIT, footer);
  EXPECT_EQ(footer, "") << "the edit below the text";
}

TEST_F(AboutDialogTest, TheTextsColoursAndWeights) {
  const struct {
    const char* text;
    COLORREF colour;
    bool bold;
    LONG twips;
  } cases[] = {
      {"-----", RGB(0, 128, 128), false, 200},              // the first line of dashes: colour 10
      {"Quillon  V1.11", RGB(128, 128, 128), true, 200},    // the product line: colour 15, bold
      {"http://quillon.example/", RGB(0, 0, 255), false, 200},  // addresses: colour 2
      {"developers@quillon.example", RGB(0, 0, 255), false, 200},
      {"support@quillon.example", RGB(0, 0, 255), false, 200},
      {"2026 *", 0, true, 240},                             // the place and year: bold, 12 points
  };
  for (const auto& c : cases) {
    const CHARFORMAT format = FormatOf(c.text);
    if (c.colour) {
      EXPECT_EQ(format.crTextColor, c.colour) << c.text;
    }
    EXPECT_EQ((format.dwEffects & CFE_BOLD) != 0, c.bold) << c.text;
    EXPECT_EQ(format.yHeight, c.twips) << c.text;
  }
}

// ---- The painted lines ----

TEST_F(AboutDialogTest, PaintsThreeEmbossedLinesAcrossTheBox) {
  m_dialog.Invalidate();
  m_dialog.UpdateWindow();
  CRect window;
  m_dialog.GetWindowRect(window);
  const std::regex drawn(
      "DrawState prefixtext \"([^\"]*)\" at (-?\\d+),(\\d+) size (\\d+)x\\d+ state=0x20 font=([^ ]*) .*");
  struct Line {
    std::string text;
    int x, y, width;
    std::string font;
  };
  std::vector<Line> lines;
  for (const std::string& record : qwin::GdiRecord()) {
    std::smatch m;
    if (std::regex_search(record, m, drawn)) {
      lines.push_back({m[1], std::stoi(m[2]), std::stoi(m[3]), std::stoi(m[4]), m[5]});
    }
  }
  ASSERT_EQ(lines.size(), 3u);
  const int w = window.Width();
  EXPECT_EQ(lines[0].text, "Quillon developers");
  EXPECT_EQ(lines[0].x, (w - lines[0].width) / 2);
  EXPECT_EQ(lines[0].y, 5);
  EXPECT_EQ(lines[0].font.find("Verdana"), std::string::npos) << "the device context's own font";
  EXPECT_EQ(lines[1].text, "Quillon contributors");
  EXPECT_EQ(lines[1].x, 3 * (w - lines[1].width) / 4);
  EXPECT_EQ(lines[1].y, 25);
  EXPECT_EQ(lines[1].font, "Verdana/-16/bold/italic");
  EXPECT_EQ(lines[2].text, "2026");
  EXPECT_EQ(lines[2].x, 9 * (w - lines[2].width) / 10);
  EXPECT_EQ(lines[2].y, 45);
  EXPECT_EQ(lines[2].font, "Verdana/-16/bold/italic") << "the year keeps the author's font";
}

// ---- Running it ----

using AboutBoxRunTest = AboutTest;

TEST_F(AboutBoxRunTest, ClicksOnItsControlsKeepItOpenAndAClickOnItsSurfaceClosesIt) {
  Event("click", {"5055"});
  Event("click", {"5065"});
  Event("click", {"5057"});
  Event("click", {"dialog", "300", "20"});
  AboutDialog dialog;
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_FALSE(qhost::InputQueue::Instance().NextAtRest("after the About box")) << "every click was used";
  ASSERT_EQ(qwin::ShellRequests().size(), 1u);
  EXPECT_EQ(qwin::ShellRequests()[0].file, "http://quillon.example/");
  EXPECT_TRUE(dialog.m_homePageLink.GetVisited());
  EXPECT_FALSE(dialog.m_emailLink.GetVisited());
}

TEST_F(AboutBoxRunTest, ALinkThatCannotBeOpenedLeavesTheBoxOpen) {
  qwin::SetShellExecuteResult(SE_ERR_NOASSOC);
  Event("click", {"5056"});
  Event("answer", {"ok"});
  Event("click", {"dialog", "5", "140"});
  AboutDialog dialog;
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_FALSE(qhost::InputQueue::Instance().NextAtRest("after the About box"));
  ASSERT_EQ(qwin::MessageBoxes().size(), 1u);
  EXPECT_EQ(qwin::MessageBoxes()[0].text,
            "Unable to open hyperlink:\n\nThere is no application associated\nwith the given filename extension.");
  EXPECT_FALSE(dialog.m_emailLink.GetVisited());
}

}  // namespace
