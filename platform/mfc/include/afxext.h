// MFC stand-in: the extension header; the module's needs are all in afxwin.h and afxdllx.h.
#pragma once

#include <afxdlgs.h>
#include <afxdllx.h>
