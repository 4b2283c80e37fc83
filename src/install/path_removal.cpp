#include "install/path_removal.h"
#include <shlobj.h>
#include "core/error_status.h"
#include "core/format.h"
#include "core/log_entries.h"
#include "core/script.h"
#include "install/file_ops.h"
#include "install/shortcuts.h"
#include "resources/resource.h"

// Leaves a path for deletion at the next restart; true when the status is clean after.
static BOOL DeleteAtRestart(const char* path, ErrorStatus* status)
{
    if (!MoveFileAtRestart(path, NULL, MOVEFILE_DELAY_UNTIL_REBOOT)) SetStatus(status, GetLastError(), 0);
    return status->code == 0;
}

// Clears a read-only attribute and tries the deletion again; true when it then went.
static BOOL RetryWithoutReadOnly(const char* path, BOOL isFolder)
{
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY)) return FALSE;
    SetFileAttributesA(path, attributes & ~FILE_ATTRIBUTE_READONLY);
    return isFolder ? RemoveDirectoryA(path) : DeleteFileA(path);
}

static BOOL RemoveFolder(const char* path, BOOL descend, ErrorStatus* status)
{
    if (RemoveDirectoryA(path)) return FALSE;
    DWORD error = GetLastError();
    if (error == ERROR_SHARING_VIOLATION) return status->code ? FALSE : DeleteAtRestart(path, status);
    if (error != ERROR_ACCESS_DENIED) return FALSE;  // a folder that still holds files stays

    if (RetryWithoutReadOnly(path, TRUE)) return FALSE;
    // A folder whose attributes cannot be read is not known to be there: IsFolderEmpty would
    // call it empty, and a restart would be asked for nothing.
    DWORD attributes = GetFileAttributesA(path);
    bool stillThere = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    if (stillThere && IsFolderEmpty(path, status)) return status->code ? FALSE : DeleteAtRestart(path, status);
    if (!descend) return FALSE;

    char pattern[MAX_PATH];
    if (!JoinPathParts(pattern, sizeof pattern, status, path, "\\*", (const char*)NULL)) return FALSE;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) break;
            if (!lstrcmpA(found.cFileName, ".") || !lstrcmpA(found.cFileName, "..")) continue;
            char inner[MAX_PATH];
            if (JoinPathParts(inner, sizeof inner, status, path, "\\", found.cFileName, (const char*)NULL))
                RemovePath(inner, TRUE, TRUE, status);
        } while (!status->code && FindNextFileA(search, &found));
        FindClose(search);
    }
    if (!status->code) RemoveDirectoryA(path);
    return FALSE;
}

BOOL RemovePath(const char* path, BOOL isFolder, BOOL descend, ErrorStatus* status)
{
    if (isFolder) return RemoveFolder(path, descend, status);
    if (DeleteFileA(path)) return FALSE;
    DWORD error = GetLastError();
    if (error == ERROR_ACCESS_DENIED) {
        if (RetryWithoutReadOnly(path, FALSE)) return FALSE;
    } else if (error != ERROR_SHARING_VIOLATION) {
        SetStatus(status, error, IDS_PLAIN_TEXT, path);
        return FALSE;
    }
    return DeleteAtRestart(path, status);
}

// The folders where the install makes shortcuts: the Start-menu programs folders and the
// desktops, for all users and for this one. One that cannot be had stays empty.
struct ShortcutFolders {
    char paths[4][MAX_PATH];
};

static void FindShortcutFolders(ShortcutFolders* folders)
{
    static const int ids[4] = { CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS, CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_DESKTOP };
    for (int i = 0; i < 4; i++) {
        // A folder the shell cannot name only narrows what may be deleted; it is no failure.
        ErrorStatus ignored = {};
        GetSpecialFolderPath(NULL, ids[i], folders->paths[i], &ignored);
    }
}

static bool IsInShortcutFolder(const ShortcutFolders* folders, const char* path)
{
    for (int i = 0; i < 4; i++)
        if (PlaceOfPath(path, folders->paths[i]) == PathBelowFolder) return true;
    return false;
}

BOOL RemoveShortcuts(BOOL restart, char* log, ErrorStatus* status)
{
    if (status->code) return restart;
    char* keys = NULL;
    DWORD capacity = 0;
    GetScriptKeyList(log, "UninstallShortcuts", &keys, &capacity, status);
    if (status->code) {
        if (keys) GlobalFree(keys);
        return restart;
    }

    ShortcutFolders folders;
    FindShortcutFolders(&folders);
    for (const char* path = keys; *path && !status->code; path = NextKey(path)) {
        if (!IsInShortcutFolder(&folders, path)) continue;
        if (!FileExists(path, status)) {
            status->code = 0;
            continue;
        }
        if (DeleteFileA(path)) continue;
        DWORD error = GetLastError();
        if (error == ERROR_ACCESS_DENIED) {
            if (RetryWithoutReadOnly(path, FALSE)) continue;
        } else if (error != ERROR_SHARING_VIOLATION) {
            SetStatus(status, error, IDS_PLAIN_TEXT, path);
            continue;
        }
        if (DeleteAtRestart(path, status)) restart = TRUE;
    }
    for (const char* path = keys; *path && !status->code; path = NextKey(path)) {
        if (!IsInShortcutFolder(&folders, path)) continue;
        if (FolderExists(path, status)) {
            if (RemovePath(path, TRUE, TRUE, status)) restart = TRUE;
        } else {
            status->code = 0;
        }
    }
    GlobalFree(keys);
    return restart;
}
