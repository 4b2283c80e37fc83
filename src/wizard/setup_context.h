// The record of one setup run: owned by the driver, filled by the install wizard, read by the
// install run and its progress window.
#pragma once
#include <windows.h>

// Bits of SetupContext::flags.
enum SetupFlag : DWORD {
    allUsersFlag = 0x1,         // shortcuts and program folder for every user of the machine
    desktopShortcutFlag = 0x2,  // make the desktop shortcut
    exampleFilesFlag = 0x4,     // install the example files
};

struct SetupContext {
    DWORD flags;
    HMODULE richEditModule;      // riched32.dll once a page made a rich-text control; the driver frees it
    char* script;                // the setup script text
    RECT wizardRect;             // where the wizard stood on the screen; empty = unknown
    RECT dividerRect;            // the sheet's divider line, in the sheet's client coordinates
    char installDir[MAX_PATH];   // the installation folder, without a trailing backslash
    char fileTypes[256];         // "all", "none" or the chosen type names separated by blanks
    char programFolder[256];     // the Start-menu folder for the shortcuts
};
