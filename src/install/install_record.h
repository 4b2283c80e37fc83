// What a fresh install has put on the machine so far, kept in memory as the run goes: the
// install log as it would read if the run ended now. At the end of a successful run it is
// written to "setup.ini" in the installation folder; after a failure it guides the removal
// that takes the run's work back.
#pragma once
#include <windows.h>
#include "install/install_log.h"

struct ErrorStatus;

struct InstallRecord {
    LogText files;        // "[UninstallFiles]" lines: files copied or scheduled, "Examples" if made
    LogText subfolders;   // the subfolders of copied trees, inner before outer
    LogText trees;        // the tops of copied trees, with their values as the script writes them
    LogText madeFolders;  // folders made for the targets of nested install files, newest first
    LogText later;        // "[UninstallRegistry]" and "[UninstallShortcuts]" with their lines
};

// The log's text in a new GlobalAlloc block: the file lines and the log's own line (when its
// path is not empty), then
// "[UninstallDirs]" with the subfolders, the trees, the made folders and, when installDir is
// given, the installation folder; then the later sections. NULL when it cannot be allocated
// (the status then holds the system's code).
char* ComposeInstallLog(const InstallRecord* record, const char* logPath, const char* installDir,
                        ErrorStatus* status);

void FreeInstallRecord(InstallRecord* record);
