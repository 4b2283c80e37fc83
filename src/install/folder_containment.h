// Whether one path lies in a folder: the folder itself or anything below it, compared as full
// paths without regard to case. The destination page uses it to keep the installation out of
// the folder that holds the setup program.
#pragma once
#include <windows.h>

// TRUE when the path names the folder or a path inside it. Both are made full (relative parts
// and "." or ".." resolved, long names for what exists) and a trailing backslash is ignored, so
// "C:\Media\Sub" and "c:\media\" are inside "C:\Media" while "C:\Media2" is not. FALSE when
// either cannot be made full within MAX_PATH.
BOOL IsSameOrInsideFolder(const char* path, const char* folder);
