// Host stand-in: arrays of object ids.
#pragma once

#include "dbmain.h"
