// Host stand-in: the names of the status codes, for messages.
#pragma once

#include "acadstrc.h"

// The code's own name ("eWasOpenForWrite"), or "eUnknown".
const char* acadErrorStatusText(Acad::ErrorStatus status);
