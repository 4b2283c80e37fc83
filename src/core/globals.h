// Process-wide facts recorded at start-up and read by every part of setup.
#pragma once
#include <windows.h>

extern HINSTANCE AppInstance;   // every resource is loaded from this module
extern WORD OsVersion;          // major version << 8 | minor version
extern BOOL IsWindowsNT;        // the NT family (else the 9x family)
extern BYTE ProductEdition;     // 0, or 4 for the second edition
extern HWND MainWindow;         // owner of every sheet, dialog and message box
extern char SetupFolder[MAX_PATH];  // the setup program's folder, trailing backslash kept
