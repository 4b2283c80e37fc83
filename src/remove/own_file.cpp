#include "remove/own_file.h"
#include "core/error_status.h"
#include "core/format.h"
#include "install/file_ops.h"
#include "install/path_removal.h"

// The long form of a path, so that a short name in the log still matches; the path itself
// when it has none or it does not fit.
static void LongForm(const char* path, char* buffer /* MAX_PATH */)
{
    DWORD length = GetLongPathNameA(path, buffer, MAX_PATH);
    if (!length || length >= MAX_PATH) CopyText(path, buffer, MAX_PATH);
}

static BOOL IsOwnFile(const OwnFile* own, const char* path)
{
    char longPath[MAX_PATH];
    LongForm(path, longPath);
    return !lstrcmpiA(longPath, own->path);
}

void FindOwnFile(OwnFile* own)
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(NULL, path, sizeof path);
    own->scheduled = FALSE;
    own->path[0] = 0;
    if (length && length < sizeof path) LongForm(path, own->path);
}

void LeaveCurrentFolder()
{
    char windows[MAX_PATH];
    DWORD length = GetWindowsDirectoryA(windows, sizeof windows);
    if (length && length < sizeof windows) SetCurrentDirectoryA(windows);
}

BOOL RemoveLoggedFile(OwnFile* own, const char* path, ErrorStatus* status)
{
    if (!RemovePath(path, FALSE, FALSE, status)) return FALSE;
    if (!own->path[0] || !IsOwnFile(own, path)) return TRUE;
    own->scheduled = TRUE;
    return FALSE;
}

// Whether the folder's only entry is the own file.
static BOOL HoldsOnlyOwnFile(const OwnFile* own, const char* folder)
{
    if (lstrlenA(folder) + 2 >= MAX_PATH) return FALSE;
    char pattern[MAX_PATH];
    JoinTexts(pattern, sizeof pattern, folder, "\\*", (const char*)NULL);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return FALSE;
    int others = 0;
    BOOL ownFound = FALSE;
    do {
        if (!lstrcmpA(found.cFileName, ".") || !lstrcmpA(found.cFileName, "..")) continue;
        char entry[MAX_PATH];
        BOOL fits = lstrlenA(folder) + 1 + lstrlenA(found.cFileName) < MAX_PATH;
        JoinTexts(entry, sizeof entry, folder, "\\", found.cFileName, (const char*)NULL);
        if (fits && !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsOwnFile(own, entry)) ownFound = TRUE;
        else others++;
    } while (!others && FindNextFileA(search, &found));
    FindClose(search);
    return ownFound && !others;
}

BOOL RemoveLoggedFolder(const OwnFile* own, const char* path, ErrorStatus* status)
{
    if (status->code) return FALSE;
    if (!own->scheduled || !HoldsOnlyOwnFile(own, path)) return RemovePath(path, TRUE, TRUE, status);
    // Scheduled after the file, so that the restart finds the folder empty.
    if (!MoveFileAtRestart(path, NULL, MOVEFILE_DELAY_UNTIL_REBOOT)) SetStatus(status, GetLastError(), 0);
    return FALSE;
}
