// What the media checker needs of the file system: the folder it checks, the entries of a
// folder and the first bytes of a file. Paths are relative to the media folder and written as
// the setup script writes them, with backslashes. One implementation for Windows
// (media_files_win32.cpp) and one for POSIX systems (media_files_posix.cpp).
#pragma once
#include <windows.h>

struct MediaEntry {
    char name[MAX_PATH];
    bool isFolder;
    unsigned long long size;  // files only
};

// Makes the folder the current one, as setup.exe's own folder is when it is started from its
// media: bitmaps and the files of version macros are found from there.
bool EnterMediaFolder(const char* folder);

// Each entry of the folder ("" for the media folder) but "." and "..", in no particular order.
// False when the folder cannot be listed.
typedef void (*MediaEntryVisitor)(const MediaEntry* entry, void* context);
bool ListMediaFolder(const char* folder, MediaEntryVisitor visit, void* context);

// Up to size bytes from the start of the file; the number read, 0 when it cannot be read.
DWORD ReadFileStart(const char* path, void* buffer, DWORD size);
