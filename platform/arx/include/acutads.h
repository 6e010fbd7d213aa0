// Host stand-in: the utility functions of the ADS library (output, strings).
#pragma once

#include "acedads.h"
