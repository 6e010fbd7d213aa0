// Ids of the module's resources: the editor and About dialogs with their controls, the context
// menu, the button faces, the icon and the link cursor. Quillon.rc and the module's code share them.
#pragma once

// Dialogs
#define IDD_MTEXT_EDITOR 5000
#define IDD_ABOUT 5064
#define IDD_FIND 5074

// Menus and their commands
#define IDR_CONTEXT_MENU 5005
#define ID_EDITOR 32771
#define ID_FIND 32772
#define ID_SPELL 32773
#define IDM_ABOUTBOX 0x0010  // the system-menu item that opens the About box

// Icon and cursor
#define IDI_QUILLON 5004
#define IDC_LINK_HAND 5057

// Button faces
#define IDB_CUT 5006
#define IDB_EXIT 5010
#define IDB_PASTE 5013
#define IDB_EDIT_TEXT 5014
#define IDB_JUSTIFY_LEFT 5015
#define IDB_COPY 5016
#define IDB_ABOUT 5017
#define IDB_JUSTIFY_RIGHT 5018
#define IDB_JUSTIFY_CENTRE 5020
#define IDB_UNDO 5021
#define IDB_PICK_POINT 5025
#define IDB_BOLD 5027
#define IDB_ITALIC 5028
#define IDB_UNDERLINE 5029
#define IDB_TEXT_COLOUR 5030  // loaded with the others, shown on no button
#define IDB_SYMBOL 5035
#define IDB_SPACING_UP 5043
#define IDB_SPACING_DOWN 5045
#define IDB_OFFSET_DIRECTION 5046
#define IDB_OFFSET_X 5047
#define IDB_OFFSET_Y 5054
#define IDB_DYNAMIC_MODE 5063

// Controls of the editor dialog (the exit button is IDCANCEL)
#define IDC_RICHEDIT 5002
#define IDC_STYLE 5003
#define IDC_CUT 5004
#define IDC_COPY 5005
#define IDC_PASTE 5006
#define IDC_JUSTIFY_LEFT 5007
#define IDC_JUSTIFY_CENTRE 5008
#define IDC_JUSTIFY_RIGHT 5009
#define IDC_SPACING_STYLE 5010
#define IDC_UNDO 5012
#define IDC_EDIT_TEXT 5013
#define IDC_OFFSET_Y 5014
#define IDC_ABOUT 5015
#define IDC_PICK_POINT 5016
#define IDC_CAP_PANE 5023
#define IDC_NUM_PANE 5024
#define IDC_LAYOUT_PANE 5025
#define IDC_SYMBOL 5026
#define IDC_HEIGHT 5027
#define IDC_OFFSET_X 5028
#define IDC_ROTATION 5029
#define IDC_COLOR 5041
#define IDC_BOLD 5042
#define IDC_ITALIC 5043
#define IDC_UNDERLINE 5044
#define IDC_FONT 5053
#define IDC_SPACING_UP 5067
#define IDC_SPACING_DOWN 5068
#define IDC_OFFSET_DIRECTION 5069
#define IDC_DYNAMIC_MODE 5070
#define IDC_WIDTH 5073

// Controls of the About dialog
#define IDC_ABOUT_TEXT 5055
#define IDC_EMAIL 5056
#define IDC_HOMEPAGE 5057
#define IDC_ABOUT_EDIT 5065

// Controls of the find window (find next and close are IDOK and IDCANCEL); 5075 is the redo button's
#define IDC_FIND_TEXT 5076
#define IDC_REPLACE_TEXT 5077
#define IDC_MATCH_CASE 5078
#define IDC_WHOLE_WORD 5079
#define IDC_FIND_PREVIOUS 5080
#define IDC_REPLACE 5081
#define IDC_REPLACE_ALL 5082
#define IDC_REPLACE_LABEL 5083

#ifdef APSTUDIO_INVOKED
#ifndef APSTUDIO_READONLY_SYMBOLS
#define _APS_NEXT_RESOURCE_VALUE 5075
#define _APS_NEXT_COMMAND_VALUE 32774
#define _APS_NEXT_CONTROL_VALUE 5084
#define _APS_NEXT_SYMED_VALUE 5000
#endif
#endif
