// Restarting the machine when a run left files for the next start and the user agreed.
#pragma once
#include <windows.h>

// Asks Windows to restart; on the NT family it first enables the shutdown privilege, and a
// failure to get it is shown once and no restart happens.
void RestartWindows(HWND owner);
