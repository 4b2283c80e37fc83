// The formatter's helpers that need Windows itself: the program's folder and starting programs
// (declared in format.h). Kept apart so that the formatter builds on other platforms too.
#include "core/format.h"

void GetModuleFolder(char* buffer, unsigned size)
{
    if (!size) return;
    DWORD length = GetModuleFileNameA(NULL, buffer, size);
    if (length >= size) length = size - 1;
    buffer[length] = 0;
    char* cut = buffer;
    for (char* p = buffer; *p; p = CharNextA(p))
        if (*p == '\\') cut = p + 1;
    *cut = 0;
}

int RunAndWait(const char* programPath, char* commandLine, DWORD* exitCode)
{
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!CreateProcessA(programPath, commandLine, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process))
        return 0;

    if (exitCode) {
        // Only messages sent to this thread are delivered; posted messages and input wait.
        while (MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
            MSG message;
            PeekMessageA(&message, NULL, 0, 0, PM_NOREMOVE);
        }
        GetExitCodeProcess(process.hProcess, exitCode);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 1;
}
