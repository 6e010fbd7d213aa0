// Ids of the MFC stand-in's test resources.
#define IDD_FORM 200
#define IDD_LIBRARY 210
#define IDR_CONTEXT 220
#define IDS_LIBRARY_HELLO 230
#define IDC_PUSH 1101
#define IDC_CHECK 1102
#define IDC_STYLES 1103
#define IDC_FONTS 1104
#define IDC_WIDTH 1105
#define IDC_LINK 1106
#define IDC_TEXT 1107
#define IDC_MEMO 1108
#define IDS_STATIC_HELLO 240
#define IDI_FORM 250
