#include "core/globals.h"

HINSTANCE AppInstance = NULL;
WORD OsVersion = 0;
BOOL IsWindowsNT = FALSE;
BYTE ProductEdition = 0;
HWND MainWindow = NULL;
char SetupFolder[MAX_PATH] = "";
