// The Welcome pages: the install wizard's first page (dressed by the setup script with a back
// colour, a picture and rich text), the removal confirmation and the update-or-remove choice.
#pragma once
#include <windows.h>

INT_PTR CALLBACK InstallWelcomePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK RemovalWelcomePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK UpdateOrRemovePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// Advises the user, in one message box, to close the web browser when it is running.
void WarnIfBrowserRunning(HWND owner);
