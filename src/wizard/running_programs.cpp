#include "wizard/running_programs.h"
#include "core/error_status.h"
#include "core/globals.h"
#include <tlhelp32.h>

static_assert(sizeof(PROCESSENTRY32) == 304, "the tool-help entry is 304 bytes");

typedef HANDLE(WINAPI* CreateSnapshotFunction)(DWORD, DWORD);
typedef BOOL(WINAPI* ProcessWalkFunction)(HANDLE, PROCESSENTRY32*);
typedef BOOL(WINAPI* EnumProcessesFunction)(DWORD*, DWORD, DWORD*);
typedef BOOL(WINAPI* EnumProcessModulesFunction)(HANDLE, HMODULE*, DWORD, DWORD*);
typedef DWORD(WINAPI* GetModuleFileNameExFunction)(HANDLE, HMODULE, char*, DWORD);

bool PathNamesProgram(const char* path, const char* name)
{
    int pathLength = lstrlenA(path), nameLength = lstrlenA(name);
    if (!nameLength || nameLength > pathLength) return false;
    const char* tail = path + pathLength - nameLength;
    if (lstrcmpiA(tail, name)) return false;
    return tail == path || tail[-1] == '\\' || tail[-1] == ':';
}

// Fixed-size entries: the structure's size field must be set before every call.
static bool FoundBySnapshot(const char* name)
{
    HMODULE kernel = LoadLibraryA("kernel32.dll");
    if (!kernel) return false;
    CreateSnapshotFunction createSnapshot = (CreateSnapshotFunction)GetProcAddress(kernel, "CreateToolhelp32Snapshot");
    ProcessWalkFunction first = (ProcessWalkFunction)GetProcAddress(kernel, "Process32First");
    ProcessWalkFunction next = (ProcessWalkFunction)GetProcAddress(kernel, "Process32Next");
    bool found = false;
    if (createSnapshot && first && next) {
        HANDLE snapshot = createSnapshot(TH32CS_SNAPPROCESS, 0);
        if (snapshot != INVALID_HANDLE_VALUE) {
            PROCESSENTRY32 entry;
            entry.dwSize = sizeof entry;
            for (BOOL more = first(snapshot, &entry); more && !found; more = next(snapshot, &entry)) {
                found = PathNamesProgram(entry.szExeFile, name);
                entry.dwSize = sizeof entry;
            }
            CloseHandle(snapshot);
        }
    }
    FreeLibrary(kernel);
    return found;
}

// The process ids, in a buffer that grows until the list fits (up to a million processes);
// none on failure.
static DWORD* ListProcessIds(EnumProcessesFunction enumProcesses, DWORD* count)
{
    DWORD size = 1024;
    for (;;) {
        DWORD* ids = (DWORD*)GlobalAlloc(GMEM_FIXED, size);
        if (!ids) return NULL;
        DWORD returned = 0;
        if (!enumProcesses(ids, size, &returned)) {
            GlobalFree(ids);
            return NULL;
        }
        if (returned != size || size >= 4 << 20) {
            *count = returned / sizeof(DWORD);
            return ids;
        }
        GlobalFree(ids);
        size += 1024;
    }
}

static bool FoundByProcessStatus(const char* name)
{
    HMODULE psapi = LoadLibraryA("psapi.dll");
    if (!psapi) return false;
    EnumProcessesFunction enumProcesses = (EnumProcessesFunction)GetProcAddress(psapi, "EnumProcesses");
    EnumProcessModulesFunction enumModules = (EnumProcessModulesFunction)GetProcAddress(psapi, "EnumProcessModules");
    GetModuleFileNameExFunction moduleFileName =
        (GetModuleFileNameExFunction)GetProcAddress(psapi, "GetModuleFileNameExA");
    bool found = false;
    DWORD count = 0;
    DWORD* ids = enumProcesses && enumModules && moduleFileName ? ListProcessIds(enumProcesses, &count) : NULL;
    for (DWORD i = 0; ids && i < count && !found; i++) {
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, ids[i]);
        if (!process) continue;
        HMODULE module;
        DWORD needed;
        if (enumModules(process, &module, sizeof module, &needed)) {
            char path[MAX_PATH];
            DWORD length = moduleFileName(process, module, path, sizeof path);
            if (length) {
                path[length < sizeof path ? length : sizeof path - 1] = 0;
                found = PathNamesProgram(path, name);
            }
        }
        CloseHandle(process);
    }
    if (ids) GlobalFree(ids);
    FreeLibrary(psapi);
    return found;
}

bool IsProgramRunning(WORD programNameId)
{
    char name[256];
    LoadResString(programNameId, name, sizeof name, NULL);
    if (!name[0]) return false;
    return IsWindowsNT ? FoundByProcessStatus(name) : FoundBySnapshot(name);
}
