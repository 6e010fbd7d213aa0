// Ids of the window stand-in's test resources.
#define IDD_TEST 100
#define IDD_SMALL 101
#define IDD_EDITOR 102
#define IDR_EDIT_MENU 200
#define IDB_FACE 300
#define IDI_APP 301
#define IDC_POINTER 302
#define IDS_HELLO 400
#define IDS_PLAIN 401
#define IDC_BOLD 1001
#define IDC_LEFT 1002
#define IDC_RIGHT 1003
#define IDC_STYLE 1004
#define IDC_FONT 1005
#define IDC_WIDTH 1006
#define IDC_LABEL 1007
#define IDC_HEIGHT 1008
#define IDC_ICON 1009
#define IDC_TEXT 1010

#ifdef APSTUDIO_INVOKED
#define _APS_NEXT_RESOURCE_VALUE 500
#endif
