// Shared set-up of the About box tests: a clean window system, a label bound inside a parent window
// that reflects notifications, and the shell and opener settings put back after each test.
#pragma once

#include <afxwin.h>
#include <gtest/gtest.h>

#include "controls/HyperlinkLabel.h"
#include "win32/Fixture.h"

class AboutTest : public WindowSystemTest {
 protected:
  void TearDown() override {
    qwin::SetShellOpenerEnabled(false);
    qwin::SetShellOpenerProgram("xdg-open");
    qwin::WaitForShellOpeners();
    std::string missing;
    for (const std::string& name : qwin::Unimplemented()) missing += name + "; ";
    EXPECT_EQ(missing, "");
    EXPECT_FALSE(qhost::InputQueue::Instance().RanOut()) << qhost::InputQueue::Instance().RanOutWhile();
    EXPECT_TRUE(qwin::InputErrors().empty());
    WindowSystemTest::TearDown();
  }
};

// A label of `style` with `text` at `rect` in a frame that an MFC object owns, so that the label's
// clicks and colour requests are reflected to it as in a dialog.
struct LabelInFrame {
  explicit LabelInFrame(DWORD style = SS_LEFT, const char* text = "HomePage", RECT rect = RECT{10, 20, 110, 60},
                        const char* address = nullptr) {
    parent.SubclassWindow(CreateFrame());
    window = CreateChild(parent.m_hWnd, "STATIC", 5057, style, text, rect);
    if (address) label.SetAddress(address);
    label.SubclassWindow(window);
  }
  CRect Rect() const {
    CRect r;
    ::GetWindowRect(window, r);
    ::ScreenToClient(parent.m_hWnd, reinterpret_cast<POINT*>(&r.left));
    ::ScreenToClient(parent.m_hWnd, reinterpret_cast<POINT*>(&r.right));
    return r;
  }
  // The extent of `text` in the label's own device context.
  CSize Extent(const char* text) const {
    HDC dc = ::GetDC(window);
    SIZE size{};
    ::GetTextExtentPoint32(dc, text, lstrlen(text), &size);
    ::ReleaseDC(window, dc);
    return size;
  }
  void Click() { ::SendMessage(window, WM_LBUTTONUP, 0, 0); }

  CWnd parent;
  HWND window = nullptr;
  HyperlinkLabel label;
};
