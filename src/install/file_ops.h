// The file-system layer of the install and removal runs: copying with progress, temporary
// names, existence tests, sizes, replacement and deletion at the next restart, folder paths
// and writing text to an open file.
//
// Paths are 8-bit ANSI of at most 260 characters (MAX_PATH). The copy and restart primitives
// return a truth value and leave the system's last error for the caller to store; the others
// report through the error status.
#pragma once
#include <windows.h>

struct ErrorStatus;

// Called after every block written (the bytes just copied) and, with 0, only to let the
// caller's windows handle their messages.
typedef void (*ProgressCallback)(DWORD bytes, void* context);

// The folder, a backslash when the folder is 1 to 258 characters long and does not already
// end in one, then the name; cut to MAX_PATH - 1 characters.
void JoinPath(const char* folder, const char* name, char* buffer /* MAX_PATH */);
// The same for paths from the setup script, the media or the log, which must never be cut: a
// path that does not fit is ERROR_FILENAME_EXCED_RANGE with the whole path in the status, and
// an empty buffer.
BOOL JoinPathWhole(const char* folder, const char* name, char* buffer /* MAX_PATH */, ErrorStatus* status);

// Creates or truncates a file for writing (no sharing, archive attribute). A read-only,
// hidden or system file loses those attributes and the create is tried once more. INVALID_HANDLE_VALUE with the system's
// last error on failure.
HANDLE CreateTargetFile(const char* path);

// Copies in blocks of 2048 bytes, calling back after each full write; the target gets the
// source's last-write time and the archive attribute only. A partly written target is
// deleted. FALSE with the system's last error on failure. The callback may be NULL.
BOOL CopyFileWithProgress(const char* source, const char* target, ProgressCallback callback,
                          void* context);

// A new empty file "vds*.tmp" in the temporary folder; the buffer is empty on failure (the
// caller reports the last error).
void MakeTempFileName(char* buffer /* MAX_PATH */);

// Existence tests. A missing file (2) is a plain "no" for both, a missing folder on the way
// (3) only for FolderExists; any other lookup error goes to the status and answers "no".
// Both answer whatever the status holds on entry.
BOOL FileExists(const char* path, ErrorStatus* status);
BOOL FolderExists(const char* path, ErrorStatus* status);

// TRUE when the folder holds nothing but "." and "..", or cannot be listed.
BOOL IsFolderEmpty(const char* folder, ErrorStatus* status /* not used */);

// The sizes of all files below the folder, summed in 64 bits, as the folder listings give them
// (no file is opened). A folder that cannot be listed counts 0.
ULONGLONG GetFolderSize(const char* folder, ErrorStatus* status);

// The file's size as its folder's listing gives it; 0 with "Unable to open file (%s)" when the
// file is missing, a folder, or named with "*" or "?".
ULONGLONG GetFileSizeChecked(const char* path, ErrorStatus* status);

// Records a rename (newPath given) or a deletion (newPath NULL) for the next restart:
// MoveFileExA on the NT family, the "[rename]" section of "wininit.ini" otherwise.
// Flags: MOVEFILE_REPLACE_EXISTING and MOVEFILE_DELAY_UNTIL_REBOOT. FALSE with the system's
// last error on failure.
BOOL MoveFileAtRestart(const char* existingPath, const char* newPath, DWORD flags);

// Copies the source over the target. When the target is in use (32) or denied (5) and a
// restart is allowed, the source goes to a new file "vds*.tmp" beside the target (in the
// temporary folder when the target's folder refuses one) that replaces the target at the
// next restart. TRUE exactly when such a replacement was scheduled; other failures are in
// the status ("Unable to copy file ...").
BOOL CopyOrReplaceAtRestart(const char* source, const char* target, HWND owner /* not used */,
                            BOOL allowRestart, ProgressCallback callback, void* context,
                            ErrorStatus* status);

// Creates every missing folder of a drive or UNC path, asking first when an owner is given.
// Codes: 161 bad syntax, 3 no such drive or network path, 5 a CD-ROM drive, 80 a file in the
// way, 1223 the user said No, else the system's code. TRUE if a folder was created.
BOOL CreateFolderPath(HWND owner, const char* path, ErrorStatus* status);

// "X:\" with components, or "\\server\share" with components; no trailing or doubled
// backslash except in a drive root.
BOOL IsValidFolderPath(const char* path);

// FALSE for NUL, the control characters and " * / : < > ? \ |.
BOOL IsValidPathChar(char character);

// The start of the next non-empty line, or the terminating NUL.
const char* NextLine(const char* text);
inline char* NextLine(char* text) { return (char*)NextLine((const char*)text); }

// One WriteFile of the text (length 0xFFFFFFFF: up to its NUL); TRUE if every byte was written.
BOOL WriteText(HANDLE file, const char* text, DWORD length);
