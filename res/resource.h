// Identifiers of Varnholt's resources and dialog controls.

#ifndef IDC_STATIC
#define IDC_STATIC                      (-1)
#endif

#define IDS_REGISTRY_ERROR              1
#define IDS_PROFILE_ERROR               2
#define IDS_SHELL_NOT_FOUND             3
#define IDS_SETTINGS_SAVED              4

#define IDD_MAIN                        101
#define IDB_BANNER                      102
#define IDI_APP                         104
#define IDD_EDIT_SHELL                  105

#define IDC_BROWSE                      1003
#define IDC_SHELL_PATH                  1004
#define IDC_SHELL_NAME                  1006
#define IDC_SHELL_LIST                  1007
#define IDC_NEW_SHELL                   1008
#define IDC_EDIT_SHELL                  1009
#define IDC_DELETE_SHELL                1010
#define IDC_CURRENT_SHELL               1011
