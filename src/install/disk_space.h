// The free-space check before an install or update copies anything.
#pragma once
#include <windows.h>

struct ErrorStatus;

// The signature of GetDiskFreeSpaceExA.
typedef BOOL(WINAPI* DiskFreeSpaceFunction)(LPCSTR folder, PULARGE_INTEGER freeToCaller, PULARGE_INTEGER total,
                                            PULARGE_INTEGER totalFree);

// Tests point this at a function of their own; NULL asks the system (GetDiskFreeSpaceExA,
// looked up at run time).
extern DiskFreeSpaceFunction DiskFreeSpaceQuery;

// Warns, owned by the window, while the bytes plus 1 MB do not fit in the space free to the
// caller on the folder's volume: OK asks again, Cancel stores 1223. No check when the
// function is missing or the question fails. Sizes are 64-bit; the kilobytes shown stop at
// the largest 32-bit number.
void CheckDiskSpace(HWND window, const char* folder, ULONGLONG bytes, ErrorStatus* status);
