// The setup driver: decides between a fresh install, an update and a removal, runs the wizard
// and the run that the situation calls for, recovers from a failed install or update, shows
// the outcome and posts the quit message with the exit code (0 install or update, 2 removal,
// 1 failure or cancellation). Restarts the machine last when a run asked for it.
#pragma once
#include <windows.h>

void RunSetup(HWND mainWindow);
