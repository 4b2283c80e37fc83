// The destination pages: the combined page (template 13, with the header band and the
// divider label) and the classic page (template 3).
#pragma once
#include <windows.h>

INT_PTR CALLBACK CombinedDestinationPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK ClassicDestinationPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
