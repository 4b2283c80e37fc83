#include "install/disk_space.h"
#include "core/error_status.h"
#include "resources/resource.h"

DiskFreeSpaceFunction DiskFreeSpaceQuery = NULL;

void CheckDiskSpace(HWND window, const char* folder, DWORD bytes, ErrorStatus* status)
{
    if (status->code) return;
    HMODULE kernel = LoadLibraryA("kernel32.dll");
    if (!kernel) return;
    DiskFreeSpaceFunction query = (DiskFreeSpaceFunction)GetProcAddress(kernel, "GetDiskFreeSpaceExA");
    if (query && DiskFreeSpaceQuery) query = DiskFreeSpaceQuery;

    while (query) {
        ULARGE_INTEGER freeToCaller, total, totalFree;
        if (!query(folder, &freeToCaller, &total, &totalFree)) break;
        // The margin is added in 32 bits, as the sum itself is kept.
        DWORD needed = bytes + 0x100000;
        if (needed < freeToCaller.QuadPart) break;
        DWORD requiredKb = (bytes + 1023) / 1024 + 1024;
        DWORD availableKb = (DWORD)((freeToCaller.QuadPart + 1023) / 1024);
        int answer = MessageBoxById(window, IDS_DISK_SPACE, IDS_WARNING, MB_OKCANCEL | MB_ICONWARNING, requiredKb,
                                    availableKb);
        if (answer == IDCANCEL) SetStatus(status, ERROR_CANCELLED, 0);
        if (answer != IDOK) break;  // a box that could not be shown ends the check too
    }
    FreeLibrary(kernel);
}
