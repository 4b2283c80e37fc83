// One run of the media checker: the setup script, indexed, and what the checks gather. The
// checks report through report.h; each unit checks one concern.
#pragma once
#include <windows.h>
#include "mediacheck/media_paths.h"
#include "mediacheck/report.h"
#include "mediacheck/script_index.h"

struct MediaCheck {
    ScriptIndex index;     // index.text is the script as the reader takes it
    MediaSummary summary;
    char notes[1024];      // lines added to the summary
};

// The installation folder that the wizard proposes on a standard system; installed paths must
// fit below it.
extern const char DefaultInstallFolder[];

// Section and key names: unknown ones, keys without a name, keys set twice, lines the reader
// passes over (name_checks.cpp).
void CheckScriptNames(MediaCheck* check);
// The values of the fixed keys: numbers, colours, points, margins, flags, and the files they
// name (value_checks.cpp).
void CheckScriptValues(MediaCheck* check);
// What is installed: files, folder trees, shortcuts, files removed on an update, fonts, file
// types, the licence, example files, and the main program (install_checks.cpp).
void CheckInstallEntries(MediaCheck* check);

// A file or folder that the script names, looked up on the media; reports it when it is missing
// or found only in another letter case. True when it is there (in any case).
bool CheckNamedPath(DWORD line, const char* what, const char* relative, bool folder, FoundPath* found);
// Reports text after a number that the reader passes over; false (and reported) when the value
// does not start with a digit.
bool CheckNumber(DWORD line, const char* key, const char* value, const char* what);
