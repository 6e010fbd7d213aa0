// MFC stand-in: MFC's private messages (WM_REFLECT_BASE, WM_KICKIDLE, ...) come from the one message list.
#pragma once

#include <afxwin.h>
