// Host stand-in: CAcUiDialog, the host's dialog class for modules.
#pragma once

#include "aduiBaseDialog.h"

class CAcUiDialog : public CAdUiBaseDialog {
  DECLARE_DYNAMIC(CAcUiDialog)

 public:
  explicit CAcUiDialog(UINT idd, CWnd* parent = nullptr, HINSTANCE resources = nullptr);
  ~CAcUiDialog() override;
};
