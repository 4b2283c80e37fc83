// Runs the removal run on an install log file, owned by a minimised window titled like
// setup's main window, and prints the result and status (the log's folder is taken for the
// installed folder):
//   removal_runner LOG-PATH [9x]
// "9x" selects the Windows 9x restart list instead of MoveFileExA.
#include <windows.h>
#include <stdio.h>
#include <string.h>
#include "core/error_status.h"
#include "core/globals.h"
#include "core/script.h"
#include "remove/removal.h"
#include "resources/resource.h"

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: removal_runner LOG-PATH [9x]\n");
        return 2;
    }
    AppInstance = GetModuleHandleA(NULL);
    IsWindowsNT = !(argc > 2 && !strcmp(argv[2], "9x"));
    char title[256];
    LoadResString(IDS_SETUP_TITLE, title, sizeof title, NULL);
    MainWindow = CreateWindowExA(0, "STATIC", title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                 300, 200, NULL, NULL, AppInstance, NULL);
    ShowWindow(MainWindow, SW_MINIMIZE);

    ErrorStatus status = {};
    char* log = ReadWholeFile(argv[1]);
    if (!log) {
        printf("cannot read %s (%lu)\n", argv[1], GetLastError());
        return 2;
    }
    // The log's folder is the installed folder, as when setup runs from there.
    char folder[MAX_PATH];
    lstrcpynA(folder, argv[1], sizeof folder);
    char* slash = strrchr(folder, '\\');
    if (slash) *slash = 0;
    BOOL restart = RemoveInstallation(MainWindow, log, folder, &status);
    GlobalFree(log);
    printf("result=%d\ncode=%lu\ntext=", restart ? 1 : 0, (unsigned long)status.code);
    for (const char* p = status.text; status.code && *p; p++) {
        if (*p == '\r') fputs("\\r", stdout);
        else if (*p == '\n') fputs("\\n", stdout);
        else putchar(*p);
    }
    printf("\nowner_enabled=%d\n", IsWindowEnabled(MainWindow) ? 1 : 0);
    DestroyWindow(MainWindow);
    return 0;
}
