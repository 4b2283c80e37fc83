// Finding the files that the setup script names on the media, one path part at a time, so that
// a name found only in another letter case is told apart: Windows finds it, a copy of the media
// on a case-sensitive file system does not.
#pragma once
#include <windows.h>

enum PathResult { PathFound, PathCaseDiffers, PathMissing, PathFolderMissing, PathOutsideMedia };

struct FoundPath {
    int result;        // PathResult
    bool isFolder;
    unsigned long long size;
    char actual[MAX_PATH];  // the path as the media spells it (found or found in another case)
};

// The path relative to the media folder ("\" or "/" between parts).
void FindMediaPath(const char* relative, FoundPath* found);

// Whether a relative path of the script stays inside its folder: not absolute, no "..".
bool StaysInside(const char* relative);

// Every file and folder below the folder (relative to the media folder), depth first.
typedef void (*TreeVisitor)(const char* relative, bool isFolder, unsigned long long size, void* context);
void WalkMediaTree(const char* folder, TreeVisitor visit, void* context);
