// Shared set-up of the window stand-in's tests: a clean window system and input queue per test,
// and events pushed the way a session script would send them.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "qplatform/InputQueue.h"
#include "qplatform/WindowSystem.h"

class WindowSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qwin::Reset();
    qwin::SetMachineFontsEnabled(false);
    qhost::InputQueue::Instance().Reset();
  }
  void TearDown() override {
    qwin::Reset();
    qhost::InputQueue::Instance().Reset();
  }
  // Queues one user-interface event; its origin names the test line that sent it.
  void Event(const std::string& verb, std::vector<std::string> args = {}) {
    qhost::InputQueue::Instance().Push(
        qhost::InputEvent{verb, std::move(args), "test event " + std::to_string(++m_events)});
  }

 private:
  int m_events = 0;
};

// A plain window class whose procedure is DefWindowProc, for parents that record what they receive.
inline HWND CreateFrame(const char* text = "frame", DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU) {
  static bool registered = false;
  if (!registered) {
    WNDCLASS wc{};
    wc.lpfnWndProc = DefWindowProc;
    wc.lpszClassName = "TestFrame";
    RegisterClass(&wc);
    registered = true;
  }
  return CreateWindowEx(0, "TestFrame", text, style, 10, 20, 300, 200, nullptr, nullptr, nullptr, nullptr);
}

inline HWND CreateChild(HWND parent, const char* cls, int id, DWORD style, const char* text = "",
                        RECT r = RECT{0, 0, 80, 20}) {
  return CreateWindowEx(0, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right - r.left,
                        r.bottom - r.top, parent, reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr,
                        nullptr);
}
