// MFC stand-in: the dialog header (CDialog and data exchange live in afxwin.h, as MFC 4.2 has them).
#pragma once

#include <afxwin.h>
