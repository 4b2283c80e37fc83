#include "install/folder_containment.h"

// The full path, with long names when the path exists, without a trailing backslash ("C:\"
// becomes "C:"). FALSE when it cannot be had within the buffer.
static BOOL FullPath(const char* path, char* buffer /* MAX_PATH */)
{
    DWORD length = GetFullPathNameA(path, MAX_PATH, buffer, NULL);
    if (!length || length >= MAX_PATH) return FALSE;
    char longer[MAX_PATH];
    length = GetLongPathNameA(buffer, longer, sizeof longer);
    if (length && length < sizeof longer) lstrcpyA(buffer, longer);
    length = lstrlenA(buffer);
    if (length && buffer[length - 1] == '\\') buffer[length - 1] = 0;
    return TRUE;
}

BOOL IsSameOrInsideFolder(const char* path, const char* folder)
{
    char fullPath[MAX_PATH], fullFolder[MAX_PATH];
    if (!path[0] || !folder[0] || !FullPath(path, fullPath) || !FullPath(folder, fullFolder)) return FALSE;
    int length = lstrlenA(fullFolder);
    if (lstrlenA(fullPath) < length) return FALSE;
    // Only a whole component matches: "C:\Media2" starts with "C:\Media" but is not in it.
    char end = fullPath[length];
    if (end && end != '\\') return FALSE;
    fullPath[length] = 0;
    return lstrcmpiA(fullPath, fullFolder) == 0;
}
