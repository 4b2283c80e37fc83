// The record of one setup run: what the wizard gathered and what the runs read. Owned by the
// driver, lent to the wizard and to the install, update and removal runs.
#pragma once
#include <windows.h>

// Bits of SetupContext::flags.
const DWORD AllUsersFlag = 1;         // shortcuts and program folder for every user
const DWORD DesktopShortcutFlag = 2;  // make the desktop shortcut
const DWORD ExampleFilesFlag = 4;     // install the example files

struct SetupContext {
    DWORD flags;  // bit 0 all users, bit 1 desktop shortcut, bit 2 example files
    HMODULE richEditModule;
    char* script;
    RECT wizardRect;
    RECT dividerRect;
    char installDir[260];     // no trailing backslash
    char fileTypes[256];
    char programFolder[256];  // the Start-menu folder of the shortcuts; may be empty
    char madeFolder[260];     // the outermost folder that the destination page made for
                              // installDir; empty when it made none
};
