// Shared set-up of the MFC stand-in's tests: the window stand-in's fixture (a clean window system and
// input queue, events pushed as a session script sends them) and the ids of the test resources.
#pragma once

#include <afxcmn.h>
#include <afxdlgs.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/MfcTestResource.h"
#include "win32/Fixture.h"

using MfcTest = WindowSystemTest;
