// Host stand-in: the host's base user-interface classes.
#pragma once

#include "aduiBaseDialog.h"
