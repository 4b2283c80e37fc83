// Runs one of setup's wizard sheets on the setup.ini beside this program and prints the
// resulting setup context and status, one "key=value" line each. It stands in for the setup
// driver, with its own minimised owner window.
//
//   sheet_runner install [EXAMPLES]        the install wizard (EXAMPLES 0 or 1, default 0)
//   sheet_runner update SHOW [EARLIER]     the update sheet with the show-agreement flag
//   sheet_runner removal                   the removal confirmation
//   sheet_runner choice                    the update-or-remove choice
//   sheet_runner eula-newer                AgreementVersionIsNewer of the script
//   sheet_runner browser                   whether the web browser counts as running
//
// The runner prints "ready" and its owner window once the script is read. Exit code 0 when
// it ran, 2 on bad use.
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include "core/error_status.h"
#include "core/format.h"
#include "core/globals.h"
#include "core/script.h"
#include "resources/resource.h"
#include "wizard/running_programs.h"
#include "wizard/agreement_version.h"
#include "core/setup_context.h"
#include "wizard/sheets.h"

static void PrintText(const char* key, const char* text)
{
    printf("%s=", key);
    for (; *text; text++) {
        if (*text == '\r') fputs("\\r", stdout);
        else if (*text == '\n') fputs("\\n", stdout);
        else putchar(*text);
    }
    putchar('\n');
}

static void PrintRect(const char* key, const RECT* rect)
{
    printf("%s=%ld,%ld,%ld,%ld\n", key, rect->left, rect->top, rect->right, rect->bottom);
}

static HWND CreateOwnerWindow()
{
    WNDCLASSA windowClass;
    ZeroMemory(&windowClass, sizeof windowClass);
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = AppInstance;
    windowClass.lpszClassName = "SheetRunnerWindow";
    RegisterClassA(&windowClass);
    char title[256];
    LoadResString(IDS_SETUP_TITLE, title, sizeof title, NULL);
    HWND window = CreateWindowExA(0, windowClass.lpszClassName, title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, NULL, NULL, AppInstance, NULL);
    if (window) ShowWindow(window, SW_MINIMIZE);
    return window;
}

int main(int argc, char** argv)
{
    if (argc < 2) return 2;
    const char* command = argv[1];
    AppInstance = GetModuleHandleA(NULL);
    OSVERSIONINFOA version;
    ZeroMemory(&version, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;
    if (GetVersionExA(&version)) {
        IsWindowsNT = version.dwPlatformId == VER_PLATFORM_WIN32_NT;
        OsVersion = (WORD)((version.dwMajorVersion & 0xFF) << 8 | (version.dwMinorVersion & 0xFF));
    }
    if (getenv("SHEET_RUNNER_9X")) IsWindowsNT = FALSE;
    GetModuleFolder(SetupFolder, sizeof SetupFolder);

    char scriptPath[MAX_PATH];
    JoinTexts(scriptPath, sizeof scriptPath, SetupFolder, "setup.ini", (const char*)NULL);
    SetupContext context;
    ZeroMemory(&context, sizeof context);
    context.script = ReadWholeFile(scriptPath);
    // Marks the rectangle so that a test can see whether the install wizard emptied it.
    SetRect(&context.wizardRect, 1, 2, 3, 4);
    MainWindow = CreateOwnerWindow();
    printf("ready\nowner=%p\n", (void*)MainWindow);
    fflush(stdout);

    ErrorStatus status = { 0, "" };
    DWORD choice = 7;
    if (!strcmp(command, "install")) {
        RunInstallWizard(MainWindow, argc > 2 && atoi(argv[2]), &context, &status);
    } else if (!strcmp(command, "update") && argc > 2) {
        unsigned long long flags = (unsigned)atoi(argv[2]);
        if (argc > 3) flags |= (unsigned long long)(unsigned)atoi(argv[3]) << 32;
        RunUpdateSheet(MainWindow, &context, flags, &status);
    } else if (!strcmp(command, "removal")) {
        RunRemovalConfirmation(MainWindow, &status);
    } else if (!strcmp(command, "choice")) {
        RunUpdateOrRemoveChoice(MainWindow, &choice, &status);
        printf("choice=%lu\n", (unsigned long)choice);
    } else if (!strcmp(command, "eula-newer")) {
        printf("newer=%d\n", AgreementVersionIsNewer(context.script, &status) ? 1 : 0);
    } else if (!strcmp(command, "browser")) {
        printf("running=%d\n", IsProgramRunning(IDS_BROWSER_PROGRAM) ? 1 : 0);
    } else {
        return 2;
    }

    printf("status=%lu\n", (unsigned long)status.code);
    PrintText("text", status.code ? status.text : "");
    PrintText("installDir", context.installDir);
    PrintText("programFolder", context.programFolder);
    PrintText("fileTypes", context.fileTypes);
    printf("flags=%lu\n", (unsigned long)context.flags);
    PrintRect("wizardRect", &context.wizardRect);
    PrintRect("dividerRect", &context.dividerRect);
    printf("richEdit=%d\n", context.richEditModule ? 1 : 0);
    fflush(stdout);

    if (context.richEditModule) FreeLibrary(context.richEditModule);
    if (context.script) GlobalFree(context.script);
    if (MainWindow) DestroyWindow(MainWindow);
    return 0;
}
