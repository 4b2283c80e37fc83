// Runs the install run on the setup.ini of a media folder, owned by a minimised window titled
// like setup's main window, and prints the result, the status, what the run left in its
// context and the shell folders where shortcuts go:
//   install_runner MEDIA-FOLDER INSTALL-DIR [OPTION...]
// Options:
//   update           update the installation in INSTALL-DIR
//   earlier          its uninstall entry is the earlier release's (with update)
//   flags=N          the context's flags (1 all users, 2 desktop shortcut, 4 example files)
//   folder=NAME      the program folder
//   types=TEXT       the file-type choice
//   wizard           the wizard's rectangle is known (not empty)
//   free=N           the disk-space question answers N bytes free to the caller
#include <windows.h>
#include <shlobj.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include "core/error_status.h"
#include "core/format.h"
#include "core/globals.h"
#include "core/script.h"
#include "install/disk_space.h"
#include "install/install_run.h"
#include "install/shortcuts.h"
#include "core/setup_context.h"
#include "resources/resource.h"

static ULONGLONG FreeBytes;

static BOOL WINAPI AnswerFreeSpace(LPCSTR, PULARGE_INTEGER freeToCaller, PULARGE_INTEGER total,
                                   PULARGE_INTEGER totalFree)
{
    freeToCaller->QuadPart = FreeBytes;
    if (total) total->QuadPart = FreeBytes;
    if (totalFree) totalFree->QuadPart = FreeBytes;
    return TRUE;
}

static const char* Option(const char* argument, const char* name)
{
    size_t length = strlen(name);
    return strncmp(argument, name, length) ? NULL : argument + length;
}

static void PrintEscaped(const char* text)
{
    for (const char* p = text; *p; p++) {
        if (*p == '\r') fputs("\\r", stdout);
        else if (*p == '\n') fputs("\\n", stdout);
        else putchar(*p);
    }
}

int main(int argc, char** argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: install_runner MEDIA-FOLDER INSTALL-DIR [OPTION...]\n");
        return 2;
    }
    AppInstance = GetModuleHandleA(NULL);
    IsWindowsNT = TRUE;
    JoinTexts(SetupFolder, sizeof SetupFolder, argv[1], "\\", (const char*)NULL);

    SetupContext context;
    ZeroMemory(&context, sizeof context);
    CopyText(argv[2], context.installDir, sizeof context.installDir);
    CopyText("all", context.fileTypes, sizeof context.fileTypes);
    BOOL update = FALSE, earlier = FALSE;
    for (int i = 3; i < argc; i++) {
        const char* value;
        if (!strcmp(argv[i], "update")) update = TRUE;
        else if (!strcmp(argv[i], "earlier")) earlier = TRUE;
        else if (!strcmp(argv[i], "wizard")) SetRect(&context.wizardRect, 100, 100, 600, 460);
        else if ((value = Option(argv[i], "flags="))) context.flags = strtoul(value, NULL, 10);
        else if ((value = Option(argv[i], "folder="))) CopyText(value, context.programFolder, sizeof context.programFolder);
        else if ((value = Option(argv[i], "types="))) CopyText(value, context.fileTypes, sizeof context.fileTypes);
        else if ((value = Option(argv[i], "free="))) {
            FreeBytes = strtoull(value, NULL, 10);
            DiskFreeSpaceQuery = AnswerFreeSpace;
        } else {
            fprintf(stderr, "unknown option %s\n", argv[i]);
            return 2;
        }
    }

    char scriptPath[MAX_PATH];
    JoinTexts(scriptPath, sizeof scriptPath, SetupFolder, "setup.ini", (const char*)NULL);
    char* script = ReadWholeFile(scriptPath);
    if (!script) {
        printf("cannot read %s (%lu)\n", scriptPath, GetLastError());
        return 2;
    }
    context.script = script;

    char title[256];
    LoadResString(IDS_SETUP_TITLE, title, sizeof title, NULL);
    MainWindow = CreateWindowExA(0, "STATIC", title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 300, 200,
                                 NULL, NULL, AppInstance, NULL);
    ShowWindow(MainWindow, SW_MINIMIZE);

    ErrorStatus status = {};
    int result = RunInstall(MainWindow, script, update, &context, &status, earlier);
    GlobalFree(script);
    printf("result=%d\ncode=%lu\ntext=", result, (unsigned long)status.code);
    if (status.code) PrintEscaped(status.text);
    printf("\nowner_enabled=%d\nprogram_folder=%s\nflags=%lu\n", IsWindowEnabled(MainWindow) ? 1 : 0,
           context.programFolder, (unsigned long)context.flags);
    static const struct { const char* name; int id; } folders[] = {
        { "programs", CSIDL_PROGRAMS }, { "desktop", CSIDL_DESKTOP },
        { "common_programs", CSIDL_COMMON_PROGRAMS }, { "common_desktop", CSIDL_COMMON_DESKTOPDIRECTORY },
    };
    for (const auto& folder : folders) {
        char path[MAX_PATH] = "";
        ErrorStatus lookup = {};
        GetSpecialFolderPath(NULL, folder.id, path, &lookup);
        printf("%s=%s\n", folder.name, path);
    }
    DestroyWindow(MainWindow);
    return 0;
}
