// The program-folder page (template 6): the Start-menu folder for the shortcuts.
#pragma once
#include <windows.h>

INT_PTR CALLBACK ProgramFolderPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
