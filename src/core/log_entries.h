// What an install log's entries may name. A log can be damaged or edited by hand, so the
// removal takes an entry only when its text alone shows that it names something the install
// could have made: a path inside the installed folder, a registry key of its own.
#pragma once
#include <windows.h>

enum PathPlace { PathOutside = 0, PathIsFolder = 1, PathBelowFolder = 2 };

// Where the path lies against the folder (given without or with its trailing backslash):
// the folder itself, below it, or outside. A path with "*" or "?", or with a part made only
// of dots and blanks (which the system reads as "." or ".."), counts as outside; "/" counts as
// a separator there. Letters compare without regard to case (ASCII only).
int PlaceOfPath(const char* path, const char* folder);

// True when the text holds "*" or "?".
bool HasWildcard(const char* text);

// An "[UninstallRegistry]" key: counter digits, an optional "(64)", then "HKLM\" and the path
// below HKEY_LOCAL_MACHINE. The path goes into the buffer (size bytes) and *view64 tells
// whether the 64-bit view was asked for. False when the entry names no such key: another
// root, a path that does not fit, or a wildcard.
bool ParseRegistryEntry(const char* entry, char* keyPath, unsigned size, bool* view64);

// True for a key whose deletion with all its subkeys would take other programs' settings:
// HKLM itself, a key right below it, or a key that many programs share (Software\Microsoft,
// Software\Classes, ...\CurrentVersion\Uninstall and the like, also below Wow6432Node). Empty
// parts ("a\\b", a trailing backslash) are not counted.
bool IsSharedRegistryKey(const char* keyPath);
