// Registry access: opening or creating a key from a path given in parts, deleting a key
// with its subkeys, deleting a value, reading a string with a default, writing values.
//
// Path parts, value names and string data are texts or string ids (MAKEINTRESOURCEA(id),
// loaded first). The parts of a path follow the status and end with NULL; they are joined
// with single backslashes and cut to 259 characters. Access masks are the Win32 ones
// (KEY_READ, KEY_WRITE, both, each possibly with KEY_WOW64_64KEY). Every operation does
// nothing when the status (never NULL) already holds a code. The caller closes every key it
// receives with RegCloseKey.
#pragma once
#include <windows.h>
#include <stdarg.h>

struct ErrorStatus;

// Opens the key; an access of exactly KEY_WRITE (or KEY_WRITE | KEY_WOW64_64KEY) creates it
// when missing. NULL on failure with "Unable to open registry key (%s)", except that a
// missing key is not reported unless reportMissing is set.
HKEY OpenRegKey(HKEY root, REGSAM access, BOOL reportMissing, ErrorStatus* status, ...);
HKEY OpenRegKeyV(HKEY root, REGSAM access, BOOL reportMissing, ErrorStatus* status, va_list parts);

// HKEY_LOCAL_MACHINE\Software\Quernell\Vandrel Setup\1.0; NULL when missing (not reported).
HKEY OpenSetupKey(REGSAM access, ErrorStatus* status);

// Deletes the key and everything below it, deepest keys first; a missing key is no error.
// Subkeys are found by their wide names; one that cannot be opened or deleted is passed over,
// and the key that holds it then fails with "Unable to delete registry key (%s)".
void DeleteRegTree(HKEY root, ErrorStatus* status, REGSAM access, ...);

// Deletes one value of a key, if the key exists; a missing value is no error.
void DeleteRegValue(HKEY root, ErrorStatus* status, REGSAM access, const char* keyPath,
                    const char* valueName);

// Reads a REG_SZ value into the buffer (cut to its size). A missing value (also with no key),
// a value of another type or one longer than the buffer yields the default when one is given;
// else "Unable to query registry value (%s)" goes to the status and the buffer is emptied.
void QueryRegString(HKEY key, const char* valueName, const char* defaultValue, char* buffer,
                    DWORD size, ErrorStatus* status);

// Writes a REG_SZ value; a NULL text deletes the value (a missing one is no error).
void SetRegString(HKEY key, const char* valueName, const char* text, ErrorStatus* status);

// Writes a REG_DWORD value.
void SetRegDword(HKEY key, const char* valueName, DWORD value, ErrorStatus* status);
