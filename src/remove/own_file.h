// The running setup program's hold on what a removal takes away. Started from the installed
// copy, setup finds itself in the log and cannot delete itself while it runs: its file goes at
// the next restart, and with it each logged folder that holds nothing else. Neither is a
// reason to ask the user to restart; anything else that could only be left for the restart
// still is.
#pragma once
#include <windows.h>

struct ErrorStatus;

struct OwnFile {
    char path[MAX_PATH];  // the running program's file, its long form when there is one
    BOOL scheduled;       // it was left for deletion at the next restart
};

void FindOwnFile(OwnFile* own);

// Makes the Windows folder this process's current folder: a folder that is a process's current
// folder cannot be removed, and setup started from the installation folder would hold it so.
void LeaveCurrentFolder();

// Deletes a logged file as RemovePath does. TRUE when something other than the own file was
// left for the restart and the status is clean.
BOOL RemoveLoggedFile(OwnFile* own, const char* path, ErrorStatus* status);

// Removes a logged folder as RemovePath does (with descent). Once the own file waits for the
// restart, a folder that holds nothing but that file is left for the restart after it. TRUE
// when anything else was left for the restart and the status is clean.
BOOL RemoveLoggedFolder(const OwnFile* own, const char* path, ErrorStatus* status);
