// MFC stand-in: the automation header; nothing of OLE automation is part of the stand-in.
#pragma once

#include <afxwin.h>
