// Windows stand-in: windows, the message sequences of focus, visibility, sizing and destruction,
// subclassing, the posted queue, and the message names of the one list.
#include "Fixture.h"

#include <limits>

namespace {

using Entries = std::vector<std::string>;

// ---- Message names ----

TEST(MessageName, NamesByReceivingClass) {
  struct Case {
    const char* cls;
    UINT message;
    const char* name;
  };
  const Case cases[] = {
      // numbers below WM_USER mean the same everywhere
      {"", WM_SIZE, "WM_SIZE"},
      {"RICHEDIT", WM_SETTEXT, "WM_SETTEXT"},
      {"BUTTON", BM_SETCHECK, "BM_SETCHECK"},
      // numbers from WM_USER up mean what the receiver's class says
      {"RICHEDIT", 0x0449, "EM_STREAMIN"},
      {"tooltips_class32", 0x0404, "TTM_ADDTOOL"},
      {"#32770", 0x0400, "DM_GETDEFID"},
      {"TestFrame", 0x0449, "WM_USER+73"},
      // reflected messages keep the name of what they reflect
      {"BUTTON", WM_REFLECT_BASE + WM_COMMAND, "WM_REFLECT_BASE+WM_COMMAND"},
  };
  for (const auto& c : cases) EXPECT_EQ(qwin::MessageName(c.cls, c.message), c.name) << c.cls << " " << c.message;
}

TEST(NotificationName, NamesBySendingClass) {
  EXPECT_EQ(qwin::NotificationName("BUTTON", 0), "BN_CLICKED");
  EXPECT_EQ(qwin::NotificationName("STATIC", 0), "STN_CLICKED");
  EXPECT_EQ(qwin::NotificationName("COMBOBOX", 9), "CBN_SELENDOK");
  EXPECT_EQ(qwin::NotificationName("RICHEDIT", 0x0300), "EN_CHANGE");
  EXPECT_EQ(qwin::NotificationName("EDIT", 0x0300), "EN_CHANGE");
  EXPECT_EQ(qwin::NotificationName("RICHEDIT", 0x0702), "EN_SELCHANGE");
}

// ---- Creation, tree and geometry ----

using WindowTree = WindowSystemTest;

TEST_F(WindowTree, ChildrenAreFoundByIdAndKnowTheirParent) {
  HWND frame = CreateFrame();
  ASSERT_TRUE(frame);
  HWND button = CreateChild(frame, "BUTTON", 7, BS_PUSHBUTTON, "Go");
  ASSERT_TRUE(button);
  EXPECT_EQ(GetDlgItem(frame, 7), button);
  EXPECT_EQ(GetDlgCtrlID(button), 7);
  EXPECT_EQ(GetParent(button), frame);
  EXPECT_TRUE(IsChild(frame, button));
  EXPECT_FALSE(CreateWindowEx(0, "NoSuchClass", "", WS_CHILD, 0, 0, 1, 1, frame, nullptr, nullptr, nullptr));
}

TEST_F(WindowTree, ChildRectanglesAreInTheParentsClientCoordinates) {
  HWND frame = CreateFrame();
  HWND child = CreateChild(frame, "STATIC", 1, 0, "", RECT{5, 6, 45, 26});
  RECT client, window, childRect;
  GetClientRect(frame, &client);
  GetWindowRect(frame, &window);
  GetWindowRect(child, &childRect);
  // frame: 300x200 at 10,20 with caption (19) and the caption's 3-pixel dialog frame
  EXPECT_EQ(client.right, 300 - 6);
  EXPECT_EQ(client.bottom, 200 - 6 - 19);
  EXPECT_EQ(childRect.left, 10 + 3 + 5);
  EXPECT_EQ(childRect.top, 20 + 3 + 19 + 6);
  POINT p{0, 0};
  ClientToScreen(child, &p);
  ScreenToClient(frame, &p);
  EXPECT_EQ(p.x, 5);
  EXPECT_EQ(p.y, 6);
}

// Positions and sizes from anywhere (a page's event, a module) are held to a short's range, as
// the real system holds them, so that the sums of a window's origin stay in range.
TEST_F(WindowTree, PositionsAndSizesAreHeldToAShortsRange) {
  struct Case {
    int x, y, w, h;
    RECT expected;
  };
  const int kMax = std::numeric_limits<int>::max(), kMin = std::numeric_limits<int>::min();
  const Case cases[] = {
      {kMax, kMax, kMax, kMax, RECT{32767, 32767, 65534, 65534}},
      {kMin + 1, kMin + 1, kMin + 1, kMin + 1, RECT{-32768, -32768, -32768, -32768}},  // kMin: CW_USEDEFAULT
      {kMax - 5, -40000, 100, 40000, RECT{32767, -32768, 32867, -1}},
      {5, 6, 7, 8, RECT{5, 6, 12, 14}},
  };
  HWND frame = CreateFrame();
  HWND child = CreateChild(frame, "STATIC", 1, 0, "", RECT{5, 6, 45, 26});
  for (const Case& c : cases) {
    for (bool created : {false, true}) {
      HWND w = created ? CreateWindowEx(0, "STATIC", "", WS_POPUP, c.x, c.y, c.w, c.h, nullptr, nullptr, nullptr, nullptr)
                       : frame;
      if (!created) SetWindowPos(frame, nullptr, c.x, c.y, c.w, c.h, SWP_NOZORDER);
      RECT r;
      GetWindowRect(w, &r);
      EXPECT_EQ(c.expected.left, r.left) << c.x << (created ? " created" : " moved");
      EXPECT_EQ(c.expected.top, r.top) << c.y;
      EXPECT_EQ(c.expected.right, r.right) << c.w;
      EXPECT_EQ(c.expected.bottom, r.bottom) << c.h;
      if (created) DestroyWindow(w);
    }
  }
  SetWindowPos(frame, nullptr, kMax, kMax, kMax, kMax, SWP_NOZORDER);
  SetWindowPos(child, nullptr, kMax, kMax, kMax, kMax, SWP_NOZORDER);
  POINT p{32767, 32767};
  ClientToScreen(child, &p);
  EXPECT_EQ(3 * 32767 + 3 + 19, p.y) << "the child's origin in the frame's, each held to a short";
}

// The frames windows get and the sizes GetSystemMetrics reports are the same numbers: a frame
// read back through AdjustWindowRectEx and through a created window's client area.
TEST_F(WindowTree, FramesAreMadeOfTheSystemMetrics) {
  struct Case {
    DWORD style, exStyle;
    int side, top;  // the frame's width at the sides and at the top
  };
  const int caption = GetSystemMetrics(SM_CYCAPTION);
  const Case cases[] = {
      {WS_POPUP | WS_BORDER, 0, GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CYBORDER)},
      {WS_POPUP | WS_CAPTION, 0, GetSystemMetrics(SM_CXDLGFRAME), GetSystemMetrics(SM_CYDLGFRAME) + caption},
      {WS_POPUP | WS_CAPTION | WS_THICKFRAME, 0, GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME) + caption},
      {WS_POPUP, WS_EX_DLGMODALFRAME, GetSystemMetrics(SM_CXDLGFRAME), GetSystemMetrics(SM_CYDLGFRAME)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    RECT r{100, 100, 200, 150};
    ASSERT_TRUE(AdjustWindowRectEx(&r, c.style, FALSE, c.exStyle));
    EXPECT_EQ(100 - c.side, r.left);
    EXPECT_EQ(100 - c.top, r.top);
    EXPECT_EQ(200 + c.side, r.right);
    EXPECT_EQ(150 + c.side, r.bottom);
    HWND window = CreateWindowEx(c.exStyle, "STATIC", "", c.style, 0, 0, 100, 80, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(100 - 2 * c.side, client.right);
    EXPECT_EQ(80 - c.top - c.side, client.bottom);
    DestroyWindow(window);
  }
  // Scroll bars take their metric's width from the client area.
  HWND scrolled = CreateWindowEx(0, "STATIC", "", WS_POPUP | WS_VSCROLL | WS_HSCROLL, 0, 0, 100, 80, nullptr, nullptr,
                                 nullptr, nullptr);
  RECT client;
  GetClientRect(scrolled, &client);
  EXPECT_EQ(100 - GetSystemMetrics(SM_CXVSCROLL), client.right);
  EXPECT_EQ(80 - GetSystemMetrics(SM_CYHSCROLL), client.bottom);
}

TEST_F(WindowTree, DestroyWindowSendsDestroyParentFirstAndNcDestroyChildFirst) {
  HWND frame = CreateFrame();
  HWND child = CreateChild(frame, "STATIC", 1, 0);
  std::vector<std::string> order;
  struct Hook {
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
      if (m == WM_DESTROY || m == WM_NCDESTROY) {
        Log().push_back(qwin::MessageName("", m) + " " + (GetWindowLong(h, GWL_STYLE) & WS_CHILD ? "child" : "frame"));
      }
      return CallWindowProc(reinterpret_cast<WNDPROC>(Old(h)), h, m, w, l);
    }
    static std::vector<std::string>& Log() {
      static std::vector<std::string> log;
      return log;
    }
    static LONG_PTR& Old(HWND h) {
      static std::map<HWND, LONG_PTR> old;
      return old[h];
    }
  };
  Hook::Log().clear();
  Hook::Old(frame) = SetWindowLongPtr(frame, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(Hook::Proc));
  Hook::Old(child) = SetWindowLongPtr(child, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(Hook::Proc));
  DestroyWindow(frame);
  EXPECT_EQ(Hook::Log(), (Entries{"WM_DESTROY frame", "WM_DESTROY child", "WM_NCDESTROY child", "WM_NCDESTROY frame"}));
  EXPECT_FALSE(IsWindow(child));
  EXPECT_FALSE(IsWindow(frame));
}

// ---- Focus, visibility, enabling, sizing ----

TEST_F(WindowTree, FocusMovesWithKillFocusBeforeSetFocus) {
  HWND frame = CreateFrame();
  HWND a = CreateChild(frame, "EDIT", 1, 0);
  HWND b = CreateChild(frame, "EDIT", 2, 0);
  SetFocus(a);
  qwin::MessageRecorder recA(a), recB(b), recFrame(frame);
  EXPECT_EQ(SetFocus(b), a);
  EXPECT_EQ(GetFocus(), b);
  EXPECT_EQ(recA.Entries({"WM_KILLFOCUS"}), Entries{"WM_KILLFOCUS"});
  EXPECT_EQ(recB.Entries({"WM_SETFOCUS"}), Entries{"WM_SETFOCUS"});
  // the edits tell their parent, in the same order
  EXPECT_EQ(recFrame.Entries({"WM_COMMAND"}), (Entries{"WM_COMMAND 1 EN_KILLFOCUS", "WM_COMMAND 2 EN_SETFOCUS"}));
}

TEST_F(WindowTree, DisablingTheFocusedWindowTakesTheFocusAway) {
  HWND frame = CreateFrame();
  HWND a = CreateChild(frame, "EDIT", 1, 0);
  SetFocus(a);
  qwin::MessageRecorder rec(a);
  EXPECT_FALSE(EnableWindow(a, FALSE));
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_EQ(rec.Entries(), (Entries{"WM_KILLFOCUS", "WM_ENABLE 0"}));
  EXPECT_EQ(SetFocus(a), nullptr) << "a disabled window cannot take the focus";
  EXPECT_TRUE(EnableWindow(a, TRUE)) << "EnableWindow answers whether it was disabled";
}

TEST_F(WindowTree, ShowHideMinimiseRestore) {
  HWND frame = CreateFrame("f", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
  qwin::MessageRecorder rec(frame);
  EXPECT_FALSE(IsWindowVisible(frame));
  ShowWindow(frame, SW_SHOW);
  EXPECT_TRUE(IsWindowVisible(frame));
  ShowWindow(frame, SW_MINIMIZE);
  EXPECT_TRUE(IsIconic(frame));
  ShowWindow(frame, SW_RESTORE);
  EXPECT_FALSE(IsIconic(frame));
  ShowWindow(frame, SW_HIDE);
  EXPECT_EQ(rec.Entries({"WM_SHOWWINDOW", "WM_SIZE"}),
            (Entries{"WM_SHOWWINDOW 1", "WM_SIZE 1 0x0", "WM_SIZE 0 294x175", "WM_SHOWWINDOW 0"}));
}

TEST_F(WindowTree, SetWindowPosSendsSizeWithTheClientSize) {
  HWND frame = CreateFrame();
  qwin::MessageRecorder rec(frame);
  SetWindowPos(frame, nullptr, 0, 0, 340, 230, SWP_NOMOVE | SWP_NOZORDER);
  SetWindowPos(frame, nullptr, 0, 0, 340, 230, SWP_NOMOVE | SWP_NOZORDER);
  MoveWindow(frame, 50, 60, 340, 230, TRUE);
  EXPECT_EQ(rec.Entries({"WM_SIZE", "WM_MOVE"}), (Entries{"WM_SIZE 0 334x205", "WM_MOVE"}))
      << "an unchanged size sends nothing; a move sends WM_MOVE alone";
}

TEST_F(WindowTree, WindowTextThroughMessages) {
  HWND frame = CreateFrame("start");
  char buffer[4];
  EXPECT_EQ(GetWindowText(frame, buffer, sizeof buffer), 3) << "cut to the buffer with its terminator";
  EXPECT_STREQ(buffer, "sta");
  SetWindowText(frame, "\xcf\xf0\xe8");
  EXPECT_EQ(GetWindowTextLength(frame), 3);
}

// ---- Subclassing and the posted queue ----

LRESULT CALLBACK Upper(HWND h, UINT m, WPARAM w, LPARAM l);
WNDPROC g_edit = nullptr;

LRESULT CALLBACK Upper(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_CHAR && w >= 'a' && w <= 'z') w -= 32;
  return CallWindowProc(g_edit, h, m, w, l);
}

TEST_F(WindowTree, SubclassedProcedureSeesMessagesFirst) {
  HWND frame = CreateFrame();
  HWND edit = CreateChild(frame, "EDIT", 1, 0);
  g_edit = reinterpret_cast<WNDPROC>(SetWindowLongPtr(edit, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(Upper)));
  SendMessage(edit, WM_CHAR, 'q', 0);
  PostMessage(edit, WM_CHAR, 'z', 0);
  char text[8];
  GetWindowText(edit, text, sizeof text);
  EXPECT_STREQ(text, "Q") << "a posted message waits for the queue to be pumped";
  qwin::PumpPostedMessages();
  GetWindowText(edit, text, sizeof text);
  EXPECT_STREQ(text, "QZ");
}

TEST_F(WindowTree, TranslateMessageMakesCharactersFromKeysAndTheKeyState) {
  HWND frame = CreateFrame();
  HWND edit = CreateChild(frame, "EDIT", 1, 0);
  SetFocus(edit);
  qwin::MessageRecorder rec(edit);
  MSG msg{edit, WM_KEYDOWN, 'A', 0, 0, {0, 0}};
  TranslateMessage(&msg);
  qwin::SetKeyDown(VK_SHIFT, true);
  TranslateMessage(&msg);
  qwin::SetKeyDown(VK_SHIFT, false);
  qwin::SetKeyDown(VK_CONTROL, true);
  TranslateMessage(&msg);
  qwin::SetKeyDown(VK_CONTROL, false);
  msg.wParam = VK_LEFT;
  EXPECT_FALSE(TranslateMessage(&msg)) << "an arrow makes no character";
  qwin::PumpPostedMessages();
  // each translated character goes to the front of the queue, so they arrive newest first
  EXPECT_EQ(rec.Entries({"WM_CHAR"}), (Entries{"WM_CHAR 0x01", "WM_CHAR 'A'", "WM_CHAR 'a'"}));
}

TEST_F(WindowTree, UnimplementedPiecesAreNamedOnce) {
  HWND frame = CreateFrame();
  SendMessage(frame, WM_SYSCOMMAND, SC_MOVE, 0);
  SendMessage(frame, WM_SYSCOMMAND, SC_MOVE, 0);
  const auto& names = qwin::Unimplemented();
  EXPECT_EQ(std::count(names.begin(), names.end(), "WM_SYSCOMMAND 0xf010"), 1);
}

}  // namespace
