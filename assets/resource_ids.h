// Resource numbers shared by the .rc file and the Win32 backend.
#pragma once

#include "quillmere_version.h"

// Icon and cursor.
#define IDI_QUILLMERE 1
#define IDC_QUILLMERE_HAND 2

// Pictures of the preview window and the settings dialog.
#define IDB_PREVIEW 101
#define IDB_TITLE 102
#define IDB_EXIT_RELEASED 103
#define IDB_EXIT_PRESSED 104
#define IDB_BUTTON_RELEASED 105
#define IDB_BUTTON_PRESSED 106
#define IDB_OPTION_ON 107
#define IDB_OPTION_OFF 108
#define IDB_TEXTURE 109
// Pattern k's strip is IDB_PATTERN0 + k.
#define IDB_PATTERN0 110
#define IDB_PATTERN1 111
#define IDB_PATTERN2 112
#define IDB_PATTERN3 113
#define IDB_PATTERN4 114
