// How the wizard reads flags, numbers and titles from the setup script.
#pragma once
#include <windows.h>

// A value that is present and not empty is true when its leading decimal digits make a
// number other than 0 (so "yes" is false); a missing or empty value gives the default.
bool ReadScriptFlag(char* script, const char* section, const char* key, bool defaultValue);

// True when the value is present and not empty; the number is then its leading digits.
bool ReadScriptNumber(char* script, const char* section, const char* key, DWORD* number);

// The section's Title with its macros expanded, GlobalAlloc'ed; none when missing or empty.
char* ReadPageTitle(char* script, const char* section);
