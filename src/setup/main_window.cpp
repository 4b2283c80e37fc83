#include "setup/main_window.h"
#include "setup/setup_driver.h"

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        PostMessageA(window, WM_COMMAND, SETUP_START_COMMAND, 0);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == SETUP_START_COMMAND) {
            // The whole setup runs inside this one dispatch; the driver posts the quit message.
            RunSetup(window);
            return 0;
        }
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
