// Ids of the host dialog tests' resources.
#pragma once

#define IDD_HOSTUI 5000
#define IDC_PICK 101
#define IDC_COLORS 102
