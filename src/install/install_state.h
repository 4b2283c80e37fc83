// The state of one install run, shared by the units that carry out its steps: the run itself
// (install_run.cpp) and its copying stage (install_copy.cpp).
#pragma once
#include <windows.h>
#include "controls/progress_window.h"
#include "install/install_log.h"
#include "install/install_record.h"
#include "core/section_index.h"

struct SetupContext;

struct InstallRun {
    HWND owner;              // the main window; disabled while the progress window exists
    char* script;            // the setup script
    BOOL update;             // 0 = fresh install, 1 = update of an installed copy
    BOOL earlierRelease;     // the installed copy is registered under the earlier release's title
    SetupContext* context;

    SectionIndex files;      // the "InstallFiles" entries, each with its flags at hand
    SectionIndex dirs;       // the "InstallDirs" entries

    HANDLE log;              // fresh install: the install log, open from before the first copy
                             // to the end of the run, else INVALID_HANDLE_VALUE
    char logPath[MAX_PATH];  // "setup.ini" in the installation folder
    InstallRecord record;    // fresh install: the log's lines so far
    char* logText;           // update: the installed log as read (may be NULL)
    SectionIndex loggedFiles; // update: its "[UninstallFiles]", until the copying is over
    PendingChange* pending;  // update: changes to the log's "[UninstallFiles]"

    ProgressRecord progress; // its window is NULL when no progress window could be made
    BOOL ownerWasEnabled;
    char installingText[256];  // "Installing %s...", loaded once for the run's many steps
    char registeringText[256]; // "Registering %s..."

    BOOL restart;            // something waits for the next start of Windows
    BOOL comStarted;         // CoInitialize succeeded for the shortcuts
    char mainSource[MAX_PATH];  // the main program (flag 2), empty until one is installed
    char mainTarget[MAX_PATH];
};

