// Whether a program is running, found by its file name among the running processes.
#pragma once
#include <windows.h>

// True when a running process's image path matches the program file name of the string id.
// On the NT family the process-status functions are used, elsewhere the tool-help snapshot.
// Nothing is reported: whatever cannot be looked at counts as not running.
bool IsProgramRunning(WORD programNameId);

// A path matches a file name when it ends with the name (in any letter case) and either is
// the name or has a backslash or a colon just before it.
bool PathNamesProgram(const char* path, const char* name);
