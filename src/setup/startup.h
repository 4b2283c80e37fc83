// Start-up: the process-wide facts, the single-instance check and the main window.
#pragma once
#include <windows.h>

struct ErrorStatus;

// Records the globals, refuses to run beside another copy (code 1223, nothing shown),
// registers the window class and creates the minimised main window.
void StartUp(HINSTANCE instance, ErrorStatus* status);

// Runs the message loop until the quit message; returns its exit code.
int RunMessageLoop();

// Destroys the main window, unregisters the class and frees the theme library.
void CleanUp();
