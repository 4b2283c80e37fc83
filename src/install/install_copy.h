// The copying stage of the install run: what the setup script's "InstallFiles" and
// "InstallDirs" entries and the example files put into the installation folder, and the lines
// of the install log (fresh install) or the pending changes (update) that record them.
//
// Sources lie in the setup program's folder (SetupFolder) under an entry's key, targets in the
// installation folder under the same key. Flags are an entry value's leading digits:
// 1 skipped on the NT family, 2 the main program, 4 optional source, 8 a component.
// A target in use or denied is replaced at the next restart and sets the run's restart flag.
#pragma once
#include <windows.h>

#include "core/setup_context.h"

struct ErrorStatus;
struct InstallRun;

const DWORD FlagSkipOnNT = 1;
const DWORD FlagMainProgram = 2;
const DWORD FlagOptional = 4;
const DWORD FlagComponent = 8;

// The bytes the run will copy, without copying: the entries that are not skipped and, when
// wanted, the example files. A missing required source stops with "Unable to open file (%s)".
DWORD SumInstallSize(InstallRun* run, ErrorStatus* status);

// The "InstallFiles" entries in the section's order: copy, remove what they replace (update),
// record, start the main program (fresh install) and register components.
void InstallFileEntries(InstallRun* run, ErrorStatus* status);

// The "InstallDirs" trees in the section's order; their subfolders go to the scratch list.
void InstallFolderEntries(InstallRun* run, ErrorStatus* status);

// The files directly inside the setup program's "Examples" folder, into the installation
// folder's "Examples".
void InstallExampleFiles(InstallRun* run, ErrorStatus* status);

// Fresh install: the log's own line, then "[UninstallDirs]" with the scratch list's lines,
// the installed folder entries with their values as the script writes them, and the
// installation folder last. Closes the scratch list.
void FinishLogFolders(InstallRun* run, ErrorStatus* status);
