#include "setup/restart.h"
#include "core/error_status.h"

void RestartWindows(HWND owner)
{
    OSVERSIONINFOA version;
    ZeroMemory(&version, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;  // 148 bytes
    GetVersionExA(&version);
    if (version.dwPlatformId != VER_PLATFORM_WIN32_NT) {
        ExitWindowsEx(EWX_REBOOT, 0);
        return;
    }

    ErrorStatus status;
    status.code = 0;
    status.text[0] = 0;
    HANDLE token = NULL;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        SetStatus(&status, GetLastError(), 0);
    TOKEN_PRIVILEGES privileges;
    ZeroMemory(&privileges, sizeof privileges);
    if (!status.code && !LookupPrivilegeValueA("", "SeShutdownPrivilege", &privileges.Privileges[0].Luid))
        SetStatus(&status, GetLastError(), 0);
    if (!status.code) {
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        if (!AdjustTokenPrivileges(token, FALSE, &privileges, 0, NULL, NULL)) SetStatus(&status, GetLastError(), 0);
    }
    if (token) CloseHandle(token);
    if (!status.code) {
        ExitWindowsEx(EWX_REBOOT, 0);
        return;
    }
    ShowStatus(owner, &status);
}
