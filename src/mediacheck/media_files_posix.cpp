// The media checker's file system on POSIX systems: the script's backslashes become slashes.
#include "mediacheck/media_files.h"
#include <dirent.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

static void NativePath(const char* path, char* buffer)
{
    size_t i = 0;
    for (; path[i] && i < MAX_PATH - 1; i++) buffer[i] = path[i] == '\\' ? '/' : path[i];
    buffer[i] = 0;
}

bool EnterMediaFolder(const char* folder) { return chdir(folder) == 0; }

bool ListMediaFolder(const char* folder, MediaEntryVisitor visit, void* context)
{
    char path[MAX_PATH];
    NativePath(*folder ? folder : ".", path);
    if (strlen(folder) >= MAX_PATH - 1) return false;
    DIR* directory = opendir(path);
    if (!directory) return false;
    while (struct dirent* found = readdir(directory)) {
        if (!strcmp(found->d_name, ".") || !strcmp(found->d_name, "..") || strlen(found->d_name) >= MAX_PATH)
            continue;
        MediaEntry entry;
        strcpy(entry.name, found->d_name);
        char full[2 * MAX_PATH + 2];
        snprintf(full, sizeof full, "%s/%s", path, found->d_name);
        struct stat info;
        if (stat(full, &info) != 0) continue;
        entry.isFolder = S_ISDIR(info.st_mode);
        entry.size = entry.isFolder ? 0 : (unsigned long long)info.st_size;
        visit(&entry, context);
    }
    closedir(directory);
    return true;
}

DWORD ReadFileStart(const char* path, void* buffer, DWORD size)
{
    char native[MAX_PATH];
    NativePath(path, native);
    FILE* file = fopen(native, "rb");
    if (!file) return 0;
    DWORD read = (DWORD)fread(buffer, 1, size, file);
    fclose(file);
    return read;
}
