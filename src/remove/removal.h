// The removal run: undoes an installation as its install log describes it.
#pragma once
#include <windows.h>

struct ErrorStatus;

// Unregisters and deletes the logged files, removes the logged folders, registry keys and
// values and shortcuts, then the uninstall entry and the product's key; tells the user the
// product was removed, or asks for a restart when something is left for the next start.
// True when the user asked to restart now; false otherwise, and on failure.
// Entries that the install cannot have made are passed over in silence: files and folders
// outside logFolder (the folder that holds the log, without its trailing backslash), shortcuts
// outside the Start-menu programs folders and desktops, keys with "*" or "?", and whole
// registry keys that other programs share.
BOOL RemoveInstallation(HWND owner, char* log, const char* logFolder, ErrorStatus* status);

// Runs a program with "/UnRegServer", or calls a library's DllUnregisterServer; failures only
// warn.
void UnregisterComponent(HWND owner, const char* path);
