#include "setup/main_window.h"

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        PostMessageA(window, WM_COMMAND, SETUP_START_COMMAND, 0);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == SETUP_START_COMMAND) {
            // Until the setup driver exists, the start command only ends the program with 0.
            PostQuitMessage(0);
            return 0;
        }
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
