// Services of the install run for each installed file: registering a component after it has
// been copied, and, in an update, deleting the files that a newly installed file replaces.
#pragma once
#include <windows.h>

struct ErrorStatus;
struct PendingChange;
struct SetupContext;

// Registers an installed component: a program (".exe", any case) is run with
// "\"<path>\" /RegServer" and waited for; a library gets its DllRegisterServer called. A
// non-zero exit code, a program that cannot be started, or a negative HRESULT shows a warning
// (strings 82 and 83) owned by the given window; a library that does not load or has no entry
// point is passed over. Never touches a status: the installation goes on.
void RegisterComponent(HWND owner, const char* path);

// Deletes the files that the script's "RemoveOnInstall" value for the "InstallFiles" key names
// ("|"-separated, relative to context->installDir). A read-only file is made writable first; a
// file in use is deleted at the next restart. Each file deleted or scheduled is noted in the
// pending-change list (may be NULL) with RemoveLogEntry, so that it leaves the install log.
// Missing files are passed over; a missing folder (3) and any other deletion error go to the
// status and end the work. TRUE when a deletion had to be left for the next restart.
BOOL RemoveOnInstall(char* script, const SetupContext* context, const char* key, PendingChange** list,
                     ErrorStatus* status);
