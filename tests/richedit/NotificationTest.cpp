// The notifications the control sends its parent, and in which order.
#include "EngineFixture.h"

#include <gtest/gtest.h>

using namespace qplatform;
using Events = std::vector<std::string>;

namespace {

// The event mask the editor dialog sets.
constexpr LPARAM kDialogMask = 0x00080205;

struct NotifyingFixture : EngineFixture {
  NotifyingFixture() { engine.Message(EM_SETEVENTMASK, 0, kDialogMask); }
  // The events of one step alone.
  Events During(const std::function<void()>& step) {
    host.events.clear();
    step();
    return host.events;
  }
};

}  // namespace

TEST(RichEditNotifications, FollowTheEventMask) {
  EngineFixture f;
  EXPECT_EQ(0, f.engine.Message(EM_SETEVENTMASK, 0, ENM_CHANGE));
  TypeText(f.send, "a");
  EXPECT_EQ((Events{"EN_CHANGE"}), f.host.events);
  EXPECT_EQ(ENM_CHANGE, f.engine.Message(EM_SETEVENTMASK, 0, ENM_SELCHANGE));
  EXPECT_EQ(ENM_SELCHANGE, f.engine.Message(EM_GETEVENTMASK, 0, 0));
  f.host.events.clear();
  TypeText(f.send, "b");
  EXPECT_EQ((Events{"EN_SELCHANGE 2..2"}), f.host.events);
  f.engine.Message(EM_SETEVENTMASK, 0, 0);
  f.host.events.clear();
  TypeText(f.send, "c");
  SetSelection(f.send, 0, 1);
  EXPECT_EQ(Events{}, f.host.events);
}

TEST(RichEditNotifications, SequencesOfTheEditorsActions) {
  struct Case {
    const char* name;
    std::function<void(NotifyingFixture&)> setup;
    std::function<void(NotifyingFixture&)> step;
    Events expected;
  };
  const std::vector<Case> cases = {
      // A typed character moves the caret first, then reports the change.
      {"typed character", [](NotifyingFixture&) {}, [](NotifyingFixture& f) { TypeText(f.send, "x"); },
       {"EN_SELCHANGE 1..1", "EN_CHANGE"}},
      {"Enter", [](NotifyingFixture& f) { TypeText(f.send, "ab"); },
       [](NotifyingFixture& f) { PressKey(f.send, VK_RETURN); }, {"EN_SELCHANGE 4..4", "EN_CHANGE"}},
      {"Backspace", [](NotifyingFixture& f) { TypeText(f.send, "ab"); },
       [](NotifyingFixture& f) { PressKey(f.send, VK_BACK); }, {"EN_SELCHANGE 1..1", "EN_CHANGE"}},
      // A format change reports a change of the contents; the selection stays.
      {"format of the selection", [](NotifyingFixture& f) { TypeText(f.send, "ab"); SetSelection(f.send, 0, 2); },
       [](NotifyingFixture& f) { SetSelectionFormat(f.send, MakeCharFormat(CFM_BOLD, CFE_BOLD)); }, {"EN_CHANGE"}},
      {"format at the caret", [](NotifyingFixture& f) { TypeText(f.send, "ab"); },
       [](NotifyingFixture& f) { SetSelectionFormat(f.send, MakeCharFormat(CFM_BOLD, CFE_BOLD)); }, {}},
      {"paragraph format", [](NotifyingFixture& f) { TypeText(f.send, "ab"); },
       [](NotifyingFixture& f) { SetParaFormat(f.send, MakeParaFormat(PFM_ALIGNMENT)); }, {"EN_CHANGE"}},
      // Selection moves report the new selection only when it differs.
      {"selection set", [](NotifyingFixture& f) { TypeText(f.send, "abc"); },
       [](NotifyingFixture& f) { SetSelection(f.send, 0, 2); SetSelection(f.send, 0, 2); }, {"EN_SELCHANGE 0..2"}},
      {"arrow keys", [](NotifyingFixture& f) { TypeText(f.send, "abc"); },
       [](NotifyingFixture& f) { PressKey(f.send, VK_LEFT); PressKey(f.send, VK_END); PressKey(f.send, VK_END); },
       {"EN_SELCHANGE 2..2", "EN_SELCHANGE 3..3"}},
      // The limited paste: WM_PASTE, select the pasted text, put the caret behind it.
      {"paste", [](NotifyingFixture& f) { TypeText(f.send, "ab"); SetSelection(f.send, 1, 1); f.host.clipboard[CF_TEXT] = "XYZ"; },
       [](NotifyingFixture& f) {
         f.engine.Message(WM_PASTE, 0, 0);
         SetSelection(f.send, 1, 4);
         SetSelection(f.send, 4, 4);
       },
       {"EN_SELCHANGE 4..4", "EN_CHANGE", "EN_SELCHANGE 1..4", "EN_SELCHANGE 4..4"}},
      {"cut", [](NotifyingFixture& f) { TypeText(f.send, "abc"); SetSelection(f.send, 0, 2); },
       [](NotifyingFixture& f) { f.engine.Message(WM_CUT, 0, 0); }, {"EN_SELCHANGE 0..0", "EN_CHANGE"}},
      {"copy", [](NotifyingFixture& f) { TypeText(f.send, "abc"); SetSelection(f.send, 0, 2); },
       [](NotifyingFixture& f) { f.engine.Message(WM_COPY, 0, 0); }, {}},
      {"undo", [](NotifyingFixture& f) { TypeText(f.send, "abc"); },
       [](NotifyingFixture& f) { f.engine.Message(EM_UNDO, 0, 0); }, {"EN_SELCHANGE 0..0", "EN_CHANGE"}},
      {"stream in", [](NotifyingFixture& f) { TypeText(f.send, "abc"); },
       [](NotifyingFixture& f) { StreamInRtf(f.send, "{\\rtf1 new}"); }, {"EN_SELCHANGE 0..0", "EN_CHANGE"}},
      {"window text", [](NotifyingFixture&) {}, [](NotifyingFixture& f) { SetText(f.send, "new"); }, {"EN_CHANGE"}},
      {"stream out", [](NotifyingFixture& f) { TypeText(f.send, "abc"); },
       [](NotifyingFixture& f) { StreamOutRtf(f.send); }, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    NotifyingFixture f;
    c.setup(f);
    EXPECT_EQ(c.expected, f.During([&] { c.step(f); }));
  }
}

TEST(RichEditNotifications, AParentThatChangesTheFormatInAnswerSeesItsOwnChangeFirst) {
  // The dialog's selection-change update may set the colour of the selection at once.
  NotifyingFixture f;
  f.host.onNotify = [&f](DWORD code) {
    if (code != EN_SELCHANGE) return;
    f.host.onNotify = nullptr;
    SetSelectionFormat(f.send, ColorFormat(RGB(255, 0, 0)));
  };
  TypeText(f.send, "a");
  EXPECT_EQ((Events{"EN_SELCHANGE 1..1", "EN_CHANGE"}), f.host.events);
  TypeText(f.send, "b");
  EXPECT_NE(std::string::npos, StreamOutRtf(f.send).find("\\cf1 b"));
}

TEST(RichEditNotifications, ReportsTheTextLimit) {
  NotifyingFixture f;
  f.engine.Message(EM_EXLIMITTEXT, 0, 3);
  TypeText(f.send, "abcd");
  EXPECT_EQ("abc", GetText(f.send));
  EXPECT_EQ("EN_MAXTEXT", f.host.events.back());
}

TEST(RichEditNotifications, TellsFocusChanges) {
  NotifyingFixture f;
  EXPECT_EQ((Events{"EN_SETFOCUS", "EN_KILLFOCUS"}), f.During([&] {
              f.engine.Message(WM_SETFOCUS, 0, 0);
              f.engine.Message(WM_KILLFOCUS, 0, 0);
            }));
}

TEST(RichEditUnimplemented, IsLoggedOnceByNameAndAnsweredWithZero) {
  EngineFixture f;
  EXPECT_EQ(0, f.engine.Message(EM_FINDTEXT, 0, 0));
  EXPECT_EQ(0, f.engine.Message(EM_FINDTEXT, 0, 0));
  EXPECT_EQ(0, f.engine.Message(EM_SCROLLCARET, 0, 0));
  EXPECT_EQ((std::vector<std::string>{"EM_FINDTEXT", "EM_SCROLLCARET"}), f.host.logged);
  EXPECT_TRUE(f.engine.Handles(EM_FINDTEXT));
  EXPECT_TRUE(f.engine.Handles(EM_STREAMOUT));
  EXPECT_FALSE(f.engine.Handles(WM_PAINT));
  EXPECT_EQ(0, f.engine.Message(WM_PAINT, 0, 0));
  EXPECT_EQ(2u, f.host.logged.size());
}
