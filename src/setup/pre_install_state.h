// What setup changes on the machine before its install or update run copies anything, so that
// a cancel at the disk-space warning leaves the machine as setup found it: the accepted
// agreement version that the wizard stores under the product's key, and the folders that the
// destination page made for the installation folder.
#pragma once
#include <windows.h>

struct SetupContext;

struct PreInstallState {
    BOOL productKeyFound;  // HKEY_LOCAL_MACHINE\Software\Corvantis Vandrel
    BOOL versionFound;     // its EULAVersion value
    DWORD versionType;
    DWORD versionSize;
    BOOL versionTooLong;   // longer than the buffer: left as it is found
    BYTE version[512];
};

// Taken before the first sheet.
void RememberPreInstallState(PreInstallState* state);

// The agreement version as it was (the product's key goes again when it was missing), and
// the folders that the destination page made, while they are empty.
void RestorePreInstallState(const PreInstallState* state, const SetupContext* context);
