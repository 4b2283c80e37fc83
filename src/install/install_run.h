// The install run: copies what the setup script lists into the installation folder, writes
// the install log and the uninstall entry, makes the shortcuts and registers components,
// showing its progress in a modeless window; then tells the user the outcome.
#pragma once
#include <windows.h>

struct ErrorStatus;
struct SetupContext;

// Installs afresh (update 0) or updates the copy in context->installDir (update 1), whose
// uninstall entry may be the earlier release's (earlierRelease 1, only with update). The
// owner is disabled while the run lasts and owns its final message boxes. A failure stays in
// the status, and the run then shows nothing; on success it shows the success message or
// asks to restart Windows. Returns 1 when a restart is needed and the user agreed to it now.
// Cancelling the disk-space warning (1223) leaves the machine as the run found it.
// takeBack, when given, gets NULL, or after a failed fresh install the install log as it would
// have read up to the failure, without the installation folder's line: a GlobalAlloc block
// for the removal run, which the caller frees.
int RunInstall(HWND owner, char* script, BOOL update, SetupContext* context, ErrorStatus* status,
               BOOL earlierRelease, char** takeBack = NULL);
