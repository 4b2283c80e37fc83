// The version resource calls natively: no file has a version resource. Kept in a file of their
// own so that a native program may bring its own (the version macro's fuzz target does).
#include <windows.h>

DWORD GetModuleFileNameA(HMODULE, char* buffer, DWORD size)
{
    if (size) buffer[0] = 0;
    SetLastError(ERROR_FILE_NOT_FOUND);
    return 0;
}

DWORD GetFileVersionInfoSizeA(const char*, DWORD* handle)
{
    if (handle) *handle = 0;
    SetLastError(ERROR_FILE_NOT_FOUND);
    return 0;
}

BOOL GetFileVersionInfoA(const char*, DWORD, DWORD, void*)
{
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
}

BOOL VerQueryValueA(const void*, const char*, void**, UINT* length)
{
    if (length) *length = 0;
    return FALSE;
}
