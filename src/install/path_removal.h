// Deleting installed paths: files, folders and shortcuts, with what cannot go now left for
// deletion at the next restart.
#pragma once
#include <windows.h>

struct ErrorStatus;

// Deletes the shortcuts and shortcut folders of the log's "UninstallShortcuts" that lie below
// the Start-menu programs folders or the desktops (all users' and this user's); other entries
// are passed over. Returns the restart flag, set when something was left for deletion at
// restart; unchanged when the status already holds a failure.
BOOL RemoveShortcuts(BOOL restart, char* log, ErrorStatus* status);

// Deletes a file, or a folder (with descend, its content first). True when the path was left
// for deletion at restart and the status is still clean.
BOOL RemovePath(const char* path, BOOL isFolder, BOOL descend, ErrorStatus* status);
