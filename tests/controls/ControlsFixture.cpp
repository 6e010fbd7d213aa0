// The controls tests' dialog: its message map.
#include "ControlsFixture.h"

BEGIN_MESSAGE_MAP(ControlsDialog, CDialog)
  ON_CONTROL(1, IDC_RICH_TEXT, OnTextChanged)
  ON_CONTROL(0, IDC_RICH_TEXT, OnSelectionChanged)
  ON_BN_CLICKED(IDC_PASTE_BUTTON, OnPasteButton)
  ON_BN_CLICKED(IDC_BOLD_BUTTON, OnBoldButton)
END_MESSAGE_MAP()
