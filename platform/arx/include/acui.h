// Host stand-in: the host's user-interface classes for modules (dialogs, colour list).
#pragma once

#include "acuiComboBox.h"
#include "acuiDialog.h"
