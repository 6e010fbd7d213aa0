// Windows stand-in: dialogs from compiled .rc templates (dialog units, fonts, control classes, texts
// in code page 1251) and modal dialog boxes fed from the input queue, including running out of input.
#include "Fixture.h"
#include "data/TestResource.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace {

using Entries = std::vector<std::string>;

struct Recorded {
  std::vector<std::string> log;
  INT_PTR initResult = TRUE;
};
Recorded* g_rec = nullptr;

INT_PTR CALLBACK RecordingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (!g_rec) return FALSE;
  if (message == WM_INITDIALOG) {
    g_rec->log.push_back("WM_INITDIALOG");
    for (const char* style : {"Standard", "Bold"}) {
      SendDlgItemMessage(dialog, IDC_STYLE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(style));
    }
    return g_rec->initResult;
  }
  if (message == WM_COMMAND) {
    g_rec->log.push_back("WM_COMMAND " + std::to_string(LOWORD(wParam)) + " " + std::to_string(HIWORD(wParam)));
    if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
}

class Dialogs : public WindowSystemTest {
 protected:
  void SetUp() override {
    WindowSystemTest::SetUp();
    g_rec = &m_rec;
  }
  void TearDown() override {
    g_rec = nullptr;
    WindowSystemTest::TearDown();
  }
  HWND Create() {
    return CreateDialogParam(GetModuleHandle(nullptr), MAKEINTRESOURCE(IDD_TEST), nullptr, RecordingDialogProc, 0);
  }
  INT_PTR Run() {
    return DialogBoxParam(GetModuleHandle(nullptr), MAKEINTRESOURCE(IDD_TEST), nullptr, RecordingDialogProc, 0);
  }
  static std::string ClassOf(HWND h) {
    char cls[64];
    GetClassName(h, cls, sizeof cls);
    return cls;
  }
  static RECT RectIn(HWND dialog, int id) {
    RECT r;
    GetWindowRect(GetDlgItem(dialog, id), &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  Recorded m_rec;
};

// ---- Templates ----

TEST_F(Dialogs, TemplateUnitsBecomePixelsWithTheFontsBaseUnits) {
  HWND dialog = Create();
  ASSERT_TRUE(dialog);
  // MS Sans Serif 8: base units 6 x 13; x' = x*6/4, y' = y*13/8, rounded
  RECT client;
  GetClientRect(dialog, &client);
  EXPECT_EQ(client.right, 300);
  EXPECT_EQ(client.bottom, 163);
  struct Case {
    int id;
    RECT expected;
  };
  const Case cases[] = {
      {IDOK, {11, 130, 11 + 75, 130 + 23}},
      {IDC_BOLD, {11, 11, 11 + 23, 11 + 21}},
      {IDC_WIDTH, {210, 41, 210 + 60, 41 + 20}},
  };
  for (const auto& c : cases) {
    RECT r = RectIn(dialog, c.id);
    EXPECT_EQ(r.left, c.expected.left) << c.id;
    EXPECT_EQ(r.top, c.expected.top) << c.id;
    EXPECT_EQ(r.right, c.expected.right) << c.id;
    EXPECT_EQ(r.bottom, c.expected.bottom) << c.id;
  }
  RECT units{4, 8, 8, 16};
  MapDialogRect(dialog, &units);
  EXPECT_EQ(units.left, 6);
  EXPECT_EQ(units.top, 13);
}

TEST_F(Dialogs, WithoutAFontTheSystemBaseUnitsApply) {
  HWND dialog = CreateDialogParam(GetModuleHandle(nullptr), MAKEINTRESOURCE(IDD_SMALL), nullptr, nullptr, 0);
  ASSERT_TRUE(dialog);
  RECT client;
  GetClientRect(dialog, &client);
  EXPECT_EQ(client.right, 80 * 8 / 4);
  EXPECT_EQ(client.bottom, 40 * 16 / 8);
}

TEST_F(Dialogs, ControlsGetTheirClassesStylesAndCp1251Texts) {
  HWND dialog = Create();
  ASSERT_TRUE(dialog);
  char text[64];
  GetWindowText(dialog, text, sizeof text);
  EXPECT_STREQ(text, "\xcf\xf0\xee\xe2\xe5\xf0\xea\xe0  V1");
  GetDlgItemText(dialog, IDC_LABEL, text, sizeof text);
  EXPECT_STREQ(text, "\xd8\xe8\xf0\xe8\xed\xe0");
  EXPECT_EQ(ClassOf(GetDlgItem(dialog, IDOK)), "BUTTON");
  EXPECT_EQ(ClassOf(GetDlgItem(dialog, IDC_STYLE)), "COMBOBOX");
  EXPECT_EQ(ClassOf(GetDlgItem(dialog, IDC_WIDTH)), "EDIT");
  EXPECT_EQ(ClassOf(GetDlgItem(dialog, IDC_LABEL)), "STATIC");
  DWORD bold = static_cast<DWORD>(GetWindowLong(GetDlgItem(dialog, IDC_BOLD), GWL_STYLE));
  EXPECT_EQ(bold & BS_TYPEMASK, BS_AUTOCHECKBOX);
  EXPECT_TRUE(bold & BS_PUSHLIKE);
  EXPECT_TRUE(bold & WS_CHILD);
  DWORD edit = static_cast<DWORD>(GetWindowLong(GetDlgItem(dialog, IDC_WIDTH), GWL_STYLE));
  EXPECT_TRUE(edit & WS_BORDER) << "EDITTEXT's default border";
  EXPECT_TRUE(edit & ES_AUTOHSCROLL);
  EXPECT_EQ(qwin::Snapshot(GetDlgItem(dialog, IDC_ICON)).find("image=resource 301") != std::string::npos, true)
      << qwin::Snapshot(GetDlgItem(dialog, IDC_ICON));
  EXPECT_EQ(m_rec.log, Entries{"WM_INITDIALOG"});
}

TEST_F(Dialogs, InitDialogTrueFocusesTheFirstTabStop) {
  HWND dialog = Create();
  EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDOK));
  DestroyWindow(dialog);
  m_rec.initResult = FALSE;
  dialog = Create();
  EXPECT_EQ(GetFocus(), nullptr);
}

// ---- Modal dialog boxes over the input queue ----

TEST_F(Dialogs, ClickingOkEndsTheDialogWithIdOk) {
  Event("click", {std::to_string(IDOK)});
  EXPECT_EQ(Run(), IDOK);
  EXPECT_EQ(m_rec.log, (Entries{"WM_INITDIALOG", "WM_COMMAND 1 0"}));
  EXPECT_FALSE(qhost::InputQueue::Instance().RanOut());
}

TEST_F(Dialogs, EscapeEnterAndTheCloseBoxAnswerAsTheDialogManagerDoes) {
  struct Case {
    const char* verb;
    std::vector<std::string> args;
    INT_PTR result;
  };
  const Case cases[] = {
      {"key", {"escape"}, IDCANCEL},
      {"escape", {}, IDCANCEL},
      {"key", {"enter"}, IDOK},
      {"close", {}, IDCANCEL},
      {"syscommand", {"close"}, IDCANCEL},
  };
  for (const auto& c : cases) {
    m_rec.log.clear();
    Event(c.verb, c.args);
    EXPECT_EQ(Run(), c.result) << c.verb;
    EXPECT_EQ(m_rec.log.back(), "WM_COMMAND " + std::to_string(c.result) + " 0") << c.verb;
  }
}

TEST_F(Dialogs, RunningOutOfInputCancelsTheDialogAndSaysWhichWasWaiting) {
  EXPECT_EQ(Run(), IDCANCEL);
  EXPECT_TRUE(qhost::InputQueue::Instance().RanOut());
  EXPECT_EQ(qhost::InputQueue::Instance().RanOutWhile(), "dialog 100");
}

INT_PTR CALLBACK StubbornDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

TEST_F(Dialogs, ADialogThatIgnoresCancelIsEndedByForceWhenInputRunsOut) {
  INT_PTR result = DialogBoxParam(GetModuleHandle(nullptr), MAKEINTRESOURCE(IDD_TEST), nullptr, StubbornDialogProc, 0);
  EXPECT_EQ(result, IDCANCEL);
}

TEST_F(Dialogs, EventsThatDoNotFitAreReportedWithTheirOrigin) {
  Event("point", {"1,2"});
  Event("click", {"4242"});
  Event("click", {std::to_string(IDCANCEL)});
  EXPECT_EQ(Run(), IDCANCEL);
  ASSERT_EQ(qwin::InputErrors().size(), 2u);
  EXPECT_EQ(qwin::InputErrors()[0], "test event 1: 'point' is not a user-interface event (waiting for dialog 100)");
  EXPECT_EQ(qwin::InputErrors()[1], "test event 2: no control 4242 in dialog 100 (waiting for dialog 100)");
  // The host's queue counts them too, so the run that fed them fails.
  EXPECT_EQ(qhost::InputQueue::Instance().Failures(), qwin::InputErrors());
}

// ---- User-interface events on the dialog's controls ----

Entries CommandsFrom(const Entries& log, int id) {
  Entries out;
  std::string prefix = "WM_COMMAND " + std::to_string(id) + " ";
  for (const auto& line : log) {
    if (line.compare(0, prefix.size(), prefix) == 0) out.push_back(line.substr(prefix.size()));
  }
  return out;
}

TEST_F(Dialogs, ControlsCarryTheNamesTheirTemplateGaveThemAndEventsMayUseThem) {
  HWND dialog = Create();
  std::string snapshot = qwin::Snapshot(dialog);
  // The symbols the .rc file wrote for the ids; a control whose id was written as a number or as
  // IDC_STATIC has none.
  EXPECT_NE(snapshot.find(" \"\" name=IDC_BOLD style="), std::string::npos) << snapshot;
  EXPECT_NE(snapshot.find(" \"OK\" name=IDOK style="), std::string::npos) << snapshot;
  EXPECT_NE(snapshot.find(" \"\xd8\xe8\xf0\xe8\xed\xe0\" name=IDC_LABEL style="), std::string::npos) << snapshot;
  DestroyWindow(dialog);

  Event("click", {"idc_bold"});
  Event("click", {"IDC_NOSUCH"});
  Event("click", {"IDCANCEL"});
  EXPECT_EQ(Run(), IDCANCEL);
  EXPECT_EQ(CommandsFrom(m_rec.log, IDC_BOLD), (Entries{"0"}));
  ASSERT_EQ(qwin::InputErrors().size(), 1u);
  EXPECT_EQ(qwin::InputErrors()[0],
            "test event 2: 'IDC_NOSUCH' names no control of dialog 100 (a control id, a control name or \"dialog\") "
            "(waiting for dialog 100)");
}

TEST_F(Dialogs, ChoosingAComboItemFocusesDropsSelectsConfirmsAndCloses) {
  Event("choose", {std::to_string(IDC_STYLE), "bold"});
  Run();
  // CBN_SETFOCUS 3, CBN_DROPDOWN 7, CBN_SELCHANGE 1, CBN_SELENDOK 9, CBN_CLOSEUP 8, then CBN_KILLFOCUS 4
  // when the dialog ends and the focus leaves
  EXPECT_EQ(CommandsFrom(m_rec.log, IDC_STYLE), (Entries{"3", "7", "1", "9", "8", "4"}));
}

// An open list takes Enter and Escape itself: Enter chooses its item, Escape closes it; neither
// reaches the dialog's default button or its cancel. A closed list leaves them to the dialog.
TEST_F(Dialogs, EnterAndEscapeInAnOpenListStayWithTheList) {
  Event("click", {std::to_string(IDC_STYLE)});
  Event("key", {"down"});
  Event("key", {"enter"});
  Event("click", {std::to_string(IDC_STYLE)});
  Event("key", {"escape"});
  Event("key", {"enter"});
  EXPECT_EQ(Run(), IDOK);
  // CBN_SELENDOK 9 after Enter, CBN_SELENDCANCEL 10 after Escape
  const Entries style = CommandsFrom(m_rec.log, IDC_STYLE);
  EXPECT_EQ(std::count(style.begin(), style.end(), "9"), 1) << testing::PrintToString(style);
  EXPECT_EQ(std::count(style.begin(), style.end(), "10"), 1) << testing::PrintToString(style);
  EXPECT_EQ(CommandsFrom(m_rec.log, IDOK), Entries{"0"}) << "only the last Enter, in the closed list";
  EXPECT_TRUE(CommandsFrom(m_rec.log, IDCANCEL).empty());
}

TEST_F(Dialogs, ChoosingAnItemThatIsNotThereIsAnError) {
  Event("choose", {std::to_string(IDC_STYLE), "Italic"});
  Run();
  ASSERT_EQ(qwin::InputErrors().size(), 1u);
  EXPECT_NE(qwin::InputErrors()[0].find("combo box 1004 has no item \"Italic\""), std::string::npos);
}

TEST_F(Dialogs, EditingAComboTypesTheTextKeyByKey) {
  Event("edit", {std::to_string(IDC_HEIGHT), "2.5"});
  Event("click", {std::to_string(IDOK)});
  struct Spy {
    static INT_PTR CALLBACK Proc(HWND d, UINT m, WPARAM w, LPARAM l) {
      if (m == WM_COMMAND && LOWORD(w) == IDOK) GetDlgItemText(d, IDC_HEIGHT, Text(), 16);
      return RecordingDialogProc(d, m, w, l);
    }
    static char* Text() {
      static char text[16];
      return text;
    }
  };
  DialogBoxParam(GetModuleHandle(nullptr), MAKEINTRESOURCE(IDD_TEST), nullptr, Spy::Proc, 0);
  EXPECT_STREQ(Spy::Text(), "2.5");
  // focus (3), then CBN_EDITUPDATE 6 and CBN_EDITCHANGE 5 for each of the three keys, then losing the focus
  EXPECT_EQ(CommandsFrom(m_rec.log, IDC_HEIGHT), (Entries{"3", "6", "5", "6", "5", "6", "5", "4"}));
}

TEST_F(Dialogs, ClickingANotifyingStaticAndTheDialogSurface) {
  Event("click", {std::to_string(IDC_LABEL)});
  Event("click", {"dialog", "2", "2"});
  struct Spy {
    static INT_PTR CALLBACK Proc(HWND d, UINT m, WPARAM w, LPARAM l) {
      if (m == WM_LBUTTONDOWN && g_rec) g_rec->log.push_back("WM_LBUTTONDOWN " + std::to_string(LOWORD(l)));
      return RecordingDialogProc(d, m, w, l);
    }
  };
  DialogBoxParam(GetModuleHandle(nullptr), MAKEINTRESOURCE(IDD_TEST), nullptr, Spy::Proc, 0);
  EXPECT_EQ(m_rec.log, (Entries{"WM_INITDIALOG", "WM_COMMAND 1007 0", "WM_LBUTTONDOWN 2", "WM_COMMAND 2 0"}));
}

TEST_F(Dialogs, ResizeMinimiseAndRestoreEvents) {
  Event("resize", {"420", "260"});
  Event("minimize");
  Event("restore");
  struct Spy {
    static INT_PTR CALLBACK Proc(HWND d, UINT m, WPARAM w, LPARAM l) {
      if (m == WM_SIZE && g_rec) {
        g_rec->log.push_back("WM_SIZE " + std::to_string(w) + " " + std::to_string(LOWORD(l)) + "x" +
                             std::to_string(HIWORD(l)));
      }
      return RecordingDialogProc(d, m, w, l);
    }
  };
  DialogBoxParam(GetModuleHandle(nullptr), MAKEINTRESOURCE(IDD_TEST), nullptr, Spy::Proc, 0);
  // the client is the outer size less the caption (19) and the modal frame (3 on each side)
  EXPECT_EQ(m_rec.log, (Entries{"WM_INITDIALOG", "WM_SIZE 0 414x235", "WM_SIZE 1 0x0", "WM_SIZE 0 414x235",
                                "WM_COMMAND 2 0"}));
}

// A page may send any number: positions and sizes near and past 2^31 are held to the screen's
// range before any sum is taken (the sanitizer build fails on a signed overflow).
TEST_F(Dialogs, ClicksAndSizesFarOffTheScreenAreHeldToItsRange) {
  Event("click", {"dialog", "2147483647", "-2147483648"});
  Event("click", {std::to_string(IDC_BOLD), "99999999999999999999", "2147483600"});
  Event("resize", {"2147483647", "2147483647"});
  Event("resize", {"-2147483648", "-5"});
  struct Spy {
    static INT_PTR CALLBACK Proc(HWND d, UINT m, WPARAM w, LPARAM l) {
      if (m == WM_LBUTTONDOWN && g_rec) {
        g_rec->log.push_back("WM_LBUTTONDOWN " + std::to_string(static_cast<short>(LOWORD(l))) + "," +
                             std::to_string(static_cast<short>(HIWORD(l))));
      }
      if (m == WM_SIZE && g_rec) {
        RECT r;
        GetWindowRect(d, &r);
        g_rec->log.push_back("WM_SIZE " + std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top));
      }
      return RecordingDialogProc(d, m, w, l);
    }
  };
  DialogBoxParam(GetModuleHandle(nullptr), MAKEINTRESOURCE(IDD_TEST), nullptr, Spy::Proc, 0);
  ASSERT_GE(m_rec.log.size(), 4u);
  EXPECT_EQ("WM_LBUTTONDOWN 32767,-32768", m_rec.log[1]) << "the dialog's own surface";
  // Both sizes end inside the dialog's own limits (its largest is the screen's size).
  std::vector<std::string> sizes;
  std::copy_if(m_rec.log.begin(), m_rec.log.end(), std::back_inserter(sizes),
               [](const std::string& e) { return e.rfind("WM_SIZE", 0) == 0; });
  ASSERT_EQ(2u, sizes.size()) << ::testing::PrintToString(m_rec.log);
  for (const std::string& size : sizes) {
    int w = 0, h = 0;
    ASSERT_EQ(2, std::sscanf(size.c_str(), "WM_SIZE %dx%d", &w, &h)) << size;
    EXPECT_TRUE(w > 0 && w <= 32767 && h > 0 && h <= 32767) << size;
  }
  EXPECT_EQ("WM_COMMAND 2 0", m_rec.log.back()) << "the input ran out and the dialog was cancelled";
}

int g_focusAtCancel = 0;

INT_PTR CALLBACK FocusSpyProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) g_focusAtCancel = GetDlgCtrlID(GetFocus());
  return RecordingDialogProc(dialog, message, wParam, lParam);
}

TEST_F(Dialogs, TabMovesTheFocusAlongTheTabStops) {
  // OK -> Cancel -> bold -> style combo (the radio buttons are no tab stops), then back to bold
  Event("key", {"tab"});
  Event("key", {"tab"});
  Event("key", {"tab"});
  Event("key", {"shift+tab"});
  DialogBoxParam(GetModuleHandle(nullptr), MAKEINTRESOURCE(IDD_TEST), nullptr, FocusSpyProc, 0);
  EXPECT_EQ(g_focusAtCancel, IDC_BOLD);
  EXPECT_EQ(GetKeyState(VK_SHIFT), 0) << "the modifier is released after the stroke";
}

}  // namespace
