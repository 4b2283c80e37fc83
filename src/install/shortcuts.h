// The product's shortcuts: one shell link per "InstallShortcuts" entry in a Start-menu program
// folder, and the optional desktop shortcut, each recorded in the install log's
// "[UninstallShortcuts]" so that the removal run can take them away.
//
// Links are made through the shell's COM objects (IShellLinkA with IPersistFile); only the
// target and the description are set. Denied access to a shortcut folder or a shortcut is a
// warning owned by the progress window; every other failure goes to the status.
#pragma once
#include <windows.h>
#include <objidl.h>
#include "install/install_log.h"

struct ErrorStatus;
struct ProgressRecord;
struct SetupContext;

// The path of a shell folder (CSIDL_PROGRAMS, CSIDL_COMMON_PROGRAMS, CSIDL_DESKTOP,
// CSIDL_COMMON_DESKTOPDIRECTORY, ...). A failing HRESULT of the allocator or the folder lookup
// goes to the status. TRUE only when a path was obtained.
BOOL GetSpecialFolderPath(HWND owner, int folderId, char* buffer /* MAX_PATH */, ErrorStatus* status);

// Saves a prepared link as "<folder>\<name>.lnk", the name cut so that the path keeps within
// MAX_PATH - 1 characters (a folder that leaves no room for a name is ERROR_FILENAME_EXCED_RANGE
// with the folder in the text), and records it: in an update's log text
// (updateLog not NULL) the key is set to "4" in "[UninstallShortcuts]", a section that is added
// when the log has none; else in the fresh install's log text (not NULL) as "<path>=0". Denied access (5 or E_ACCESSDENIED) shows warning 303 with the name, owned by
// the progress window, clears the status and sets *stop when stop is given.
void SaveShortcut(const char* folder, const char* name, IPersistFile* link, LogText* installLog, char** updateLog,
                  HWND progressWindow, BOOL* stop, ErrorStatus* status);

// The install run's shortcut step: the program-folder shortcuts, then the desktop shortcut.
//
// progress     the run's record: its window (may be NULL) shows the step texts and owns the
//              warnings; its statusTextId names the text control.
// script       the setup script: "InstallShortcuts", and "Destination"'s "DesktopShortcut"
//              and "DesktopShortcutDescription".
// context      installDir, programFolder (empty: no program-folder shortcuts) and the flags;
//              an update may set the all-users bit (the earlier release's log names
//              "ProgramData") and the desktop-shortcut bit (the old log names "\Desktop\").
// update       0 fresh install, 1 update; earlierRelease with update: the installation was
//              registered by the earlier release, whose logged shortcuts are deleted first.
// installLog   fresh install: the log's text so far, which gets "[UninstallShortcuts]" and a
//              "=0" line per created shortcut folder and shortcut. Not used in an update (NULL
//              means none).
// updateLog    update: the install log's text (a GlobalAlloc block, as ReadWholeFile gives it)
//              read again before this step; *updateLog may be NULL when there is none. Each
//              shortcut saved, and the program folder when this step made it, is set to "4" in
//              its "[UninstallShortcuts]" (added when missing); the text may move. The run
//              writes it back. Fresh install: NULL.
// restart      set (never cleared) when an earlier release's shortcut could only be left for
//              deletion at the next restart; may be NULL.
// comStarted   set when COM was initialised here (left alone otherwise); the run ends COM with
//              CoUninitialize in its closing steps. NULL: COM is ended before returning.
// Does nothing when the status already holds a code.
void CreateShortcuts(ProgressRecord* progress, char* script, SetupContext* context, BOOL update,
                     BOOL earlierRelease, LogText* installLog, char** updateLog, BOOL* restart, BOOL* comStarted,
                     ErrorStatus* status);
