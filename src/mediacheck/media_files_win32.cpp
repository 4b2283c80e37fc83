#include "mediacheck/media_files.h"
#include "core/format.h"

bool EnterMediaFolder(const char* folder) { return SetCurrentDirectoryA(folder) != 0; }

bool ListMediaFolder(const char* folder, MediaEntryVisitor visit, void* context)
{
    char pattern[MAX_PATH];
    if (!JoinPathParts(pattern, sizeof pattern, NULL, folder, *folder ? "\\*" : "*", (const char*)NULL)) return false;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    do {
        if (!lstrcmpA(found.cFileName, ".") || !lstrcmpA(found.cFileName, "..")) continue;
        MediaEntry entry;
        CopyText(found.cFileName, entry.name, sizeof entry.name);
        entry.isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.size = entry.isFolder ? 0 : (unsigned long long)found.nFileSizeHigh << 32 | found.nFileSizeLow;
        visit(&entry, context);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return true;
}

DWORD ReadFileStart(const char* path, void* buffer, DWORD size)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return 0;
    DWORD read = 0;
    if (!ReadFile(file, buffer, size, &read, NULL)) read = 0;
    CloseHandle(file);
    return read;
}
