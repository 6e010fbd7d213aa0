// Host stand-in: the ADS library in one include.
#pragma once

#include "adscodes.h"
#include "adsdef.h"
#include "acedads.h"
