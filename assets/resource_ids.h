// Resource numbers shared by the .rc file and the Win32 backend.
#pragma once

#define QUILLMERE_VERSION_COMMAS 1,1,0,0
#define QUILLMERE_VERSION_TEXT "1.1.0"
