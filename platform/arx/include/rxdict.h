// Host stand-in: the runtime dictionaries (declared with the system registry).
#pragma once

#include "rxregsvc.h"
