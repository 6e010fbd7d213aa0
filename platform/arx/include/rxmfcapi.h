// Host stand-in: the host's windows and resources as the MFC-based API gives them.
#pragma once

#include "aced.h"
