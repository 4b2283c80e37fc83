// The copying stage of the install run: what the setup script's "InstallFiles" and
// "InstallDirs" entries and the example files put into the installation folder, and the lines
// of the run's record (fresh install) or the pending changes (update) that log them.
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
// wanted, the example files. A missing required source, file or folder tree, stops with
// "Unable to open file (%s)".
ULONGLONG SumInstallSize(InstallRun* run, ErrorStatus* status);

// The "InstallFiles" entries in the section's order: make the missing folders of a nested
// key's target, copy, remove what they replace (update), record, start the main program
// (fresh install) and register components.
void InstallFileEntries(InstallRun* run, ErrorStatus* status);

// The "InstallDirs" trees in the section's order; a fresh install records each tree's top with
// its value as the script writes it, and its subfolders inner before outer.
void InstallFolderEntries(InstallRun* run, ErrorStatus* status);

// The files directly inside the setup program's "Examples" folder, into the installation
// folder's "Examples".
void InstallExampleFiles(InstallRun* run, ErrorStatus* status);

// Update: the folders made for nested keys go to the pending changes, inner before outer,
// unless the installed log lists them already.
void NoteMadeFolders(InstallRun* run, ErrorStatus* status);
