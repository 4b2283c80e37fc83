// The removal run: undoes an installation as its install log describes it.
#pragma once
#include <windows.h>

struct ErrorStatus;

// Unregisters and deletes the logged files, removes the logged folders, registry keys and
// values and shortcuts, then the uninstall entry and the product's key; tells the user the
// product was removed, or asks for a restart when something is left for the next start.
// True when the user asked to restart now; false otherwise, and on failure.
BOOL RemoveInstallation(HWND owner, char* log, ErrorStatus* status);

// Runs a program with "/UnRegServer", or calls a library's DllUnregisterServer; failures only
// warn.
void UnregisterComponent(HWND owner, const char* path);
