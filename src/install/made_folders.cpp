#include "install/made_folders.h"
#include "core/format.h"
#include "install/file_ops.h"

// Cuts the path at its last backslash; FALSE when that would leave a drive root, a share or
// nothing.
static BOOL CutLastFolder(char* path)
{
    char* last = NULL;
    for (char* p = path; *p; p = CharNextA(p))
        if (*p == '\\') last = p;
    if (!last || last - path < 3 || last[-1] == ':') return FALSE;
    if (path[0] == '\\' && path[1] == '\\') {
        // "\\server\share" stays: only folders below a share are made.
        int backslashes = 0;
        for (char* p = path + 2; p < last; p = CharNextA(p))
            if (*p == '\\') backslashes++;
        if (backslashes < 1) return FALSE;
    }
    *last = 0;
    return TRUE;
}

void FindOutermostMissingFolder(const char* path, char* buffer)
{
    buffer[0] = 0;
    if (!IsValidFolderPath(path) || lstrlenA(path) >= MAX_PATH) return;
    char candidate[MAX_PATH];
    CopyText(path, candidate, sizeof candidate);
    for (;;) {
        if (GetFileAttributesA(candidate) != INVALID_FILE_ATTRIBUTES) return;
        DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) return;
        CopyText(candidate, buffer, MAX_PATH);
        if (!CutLastFolder(candidate)) return;
    }
}

void RemoveMadeFolders(const char* installDir, const char* made)
{
    int length = lstrlenA(made);
    if (!length || length >= MAX_PATH || lstrlenA(installDir) >= MAX_PATH) return;
    if (CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, installDir, length, made, length) != CSTR_EQUAL) return;
    if (installDir[length] && installDir[length] != '\\') return;
    char folder[MAX_PATH];
    CopyText(installDir, folder, sizeof folder);
    while (lstrlenA(folder) >= length) {
        if (!RemoveDirectoryA(folder)) return;
        if (!CutLastFolder(folder)) return;
    }
}
