// Shared set-up of the MFC stand-in's tests: the window stand-in's fixture (a clean window system and
// input queue, events pushed as a session script sends them) and the ids of the test resources.
#pragma once

#include <afxcmn.h>
#include <afxdlgs.h>
#include <gtest/gtest.h>

#include <stdlib.h>

#include <cstdio>
#include <string>
#include <vector>

#include "data/MfcTestResource.h"
#include "qplatform/Profile.h"
#include "win32/Fixture.h"

using MfcTest = WindowSystemTest;

// A test whose application profile lives in a folder of its own, removed afterwards.
class ProfileFolderTest : public MfcTest {
 protected:
  void SetUp() override {
    MfcTest::SetUp();
    char pattern[] = "/tmp/quillon-profile-XXXXXX";
    m_folder = mkdtemp(pattern);
    qmfc::SetProfileFolder(m_folder);
  }
  void TearDown() override {
    std::remove(qmfc::ProfilePath("qhost").c_str());
    std::remove(m_folder.c_str());
    qmfc::SetProfileFolder("");
    MfcTest::TearDown();
  }
  std::string m_folder;
};
