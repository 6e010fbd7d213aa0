// Shared set-up of the MFC stand-in's tests: a clean window system and input queue, events pushed
// as a session script sends them, and the test form dialog with a log of what its handlers saw.
#pragma once

#include <afxcmn.h>
#include <afxdlgs.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/MfcTestResource.h"
#include "qplatform/InputQueue.h"
#include "qplatform/WindowSystem.h"

class MfcTest : public ::testing::Test {
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
  void Event(const std::string& verb, std::vector<std::string> args = {}) {
    qhost::InputQueue::Instance().Push(qhost::InputEvent{verb, std::move(args), "test"});
  }
};
