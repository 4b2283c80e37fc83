// The minimised main window: it gives setup its taskbar button and owns every other window.
#pragma once
#include <windows.h>

// The start command that the main window posts itself when it is created.
#define SETUP_START_COMMAND 1

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
