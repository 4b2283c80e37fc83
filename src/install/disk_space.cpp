#include "install/disk_space.h"
#include "core/error_status.h"
#include "resources/resource.h"

DiskFreeSpaceFunction DiskFreeSpaceQuery = NULL;

// Kilobytes, rounded up, for the warning's "%lu".
static DWORD Kilobytes(ULONGLONG bytes)
{
    ULONGLONG kilobytes = bytes / 1024 + (bytes % 1024 ? 1 : 0);
    return kilobytes > 0xFFFFFFFF ? 0xFFFFFFFF : (DWORD)kilobytes;
}

void CheckDiskSpace(HWND window, const char* folder, ULONGLONG bytes, ErrorStatus* status)
{
    if (status->code) return;
    HMODULE kernel = LoadLibraryA("kernel32.dll");
    if (!kernel) return;
    DiskFreeSpaceFunction query = (DiskFreeSpaceFunction)GetProcAddress(kernel, "GetDiskFreeSpaceExA");
    if (query && DiskFreeSpaceQuery) query = DiskFreeSpaceQuery;

    while (query) {
        ULARGE_INTEGER freeToCaller, total, totalFree;
        if (!query(folder, &freeToCaller, &total, &totalFree)) break;
        if (bytes + 0x100000 < freeToCaller.QuadPart) break;
        DWORD requiredKb = Kilobytes(bytes);
        requiredKb = requiredKb > 0xFFFFFFFF - 1024 ? 0xFFFFFFFF : requiredKb + 1024;
        DWORD availableKb = Kilobytes(freeToCaller.QuadPart);
        int answer = MessageBoxById(window, IDS_DISK_SPACE, IDS_WARNING, MB_OKCANCEL | MB_ICONWARNING, requiredKb,
                                    availableKb);
        if (answer == IDCANCEL) SetStatus(status, ERROR_CANCELLED, 0);
        if (answer != IDOK) break;  // a box that could not be shown ends the check too
    }
    FreeLibrary(kernel);
}
