// Ids of the controls tests' dialog.
#define IDD_CONTROLS 300
#define IDC_PASTE_BUTTON 1201
#define IDC_BOLD_BUTTON 1202
#define IDC_FONT_LIST 5053
#define IDC_RICH_TEXT 5002
#define IDC_WIDTH_EDIT 5073
