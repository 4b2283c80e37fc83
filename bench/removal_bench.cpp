// Times the removal run on a generated installation of many files in nested folders, against
// "cmd /c rd /s /q" of the same tree, and splits the run's time into its parts.
//   removal_bench FOLDER [FILES]
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include "core/error_status.h"
#include "core/format.h"
#include "core/globals.h"
#include "core/script.h"
#include "install/file_ops.h"
#include "remove/removal.h"
#include "resources/resource.h"

static double Seconds(LARGE_INTEGER start, LARGE_INTEGER end)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return (double)(end.QuadPart - start.QuadPart) / (double)frequency.QuadPart;
}

static LARGE_INTEGER Now()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

// Builds root\inst\dNN\eNN\fNNNNN.txt and its install log; returns the log text.
static char* MakeInstallation(const char* root, int files)
{
    char inst[MAX_PATH], path[MAX_PATH];
    FormatText(inst, sizeof inst, "%s\\inst", root);
    CreateDirectoryA(inst, NULL);
    size_t capacity = (size_t)files * 96 + 65536;
    char* log = (char*)GlobalAlloc(GMEM_FIXED, capacity);
    char* out = log;
    unsigned left = (unsigned)capacity;
    AppendAtCursor("[UninstallFiles]\r\n", &out, &left);
    for (int i = 0; i < files; i++) {
        int outer = i / 1000, inner = (i / 100) % 10;
        FormatText(path, sizeof path, "%s\\d%02u", inst, outer);
        CreateDirectoryA(path, NULL);
        FormatText(path, sizeof path, "%s\\d%02u\\e%02u", inst, outer, inner);
        CreateDirectoryA(path, NULL);
        FormatText(path, sizeof path, "%s\\d%02u\\e%02u\\f%05u.txt", inst, outer, inner, i);
        HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        DWORD written;
        WriteFile(file, "data\r\n", 6, &written, NULL);
        CloseHandle(file);
        AppendAtCursor(path, &out, &left);
        AppendAtCursor("=0\r\n", &out, &left);
    }
    AppendAtCursor("\r\n[UninstallDirs]\r\n", &out, &left);
    for (int outer = 0; outer * 1000 < files; outer++) {
        for (int inner = 0; inner < 10 && outer * 1000 + inner * 100 < files; inner++) {
            FormatText(path, sizeof path, "%s\\d%02u\\e%02u=0\r\n", inst, outer, inner);
            AppendAtCursor(path, &out, &left);
        }
        FormatText(path, sizeof path, "%s\\d%02u=0\r\n", inst, outer);
        AppendAtCursor(path, &out, &left);
    }
    AppendAtCursor(inst, &out, &left);
    AppendAtCursor("=0\r\n", &out, &left);
    return log;
}

static DWORD WINAPI CloseSuccessBox(LPVOID)
{
    for (;;) {
        HWND box = FindWindowA("#32770", "Corvantis Vandrel Setup");
        if (box && GetDlgItem(box, 0xFFFF)) {
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            return 0;
        }
        Sleep(1);
    }
}

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: removal_bench FOLDER [FILES]\n");
        return 2;
    }
    AppInstance = GetModuleHandleA(NULL);
    IsWindowsNT = TRUE;
    int files = argc > 2 ? atoi(argv[2]) : 10000;
    const char* root = argv[1];
    CreateDirectoryA(root, NULL);
    char title[256];
    LoadResString(IDS_SETUP_TITLE, title, sizeof title, NULL);
    HWND owner = CreateWindowExA(0, "STATIC", "Owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, NULL, NULL, NULL, NULL);

    // The parts on their own: log lookups, existence tests, deletions, status texts with pumping.
    char* log = MakeInstallation(root, files);
    char* keys = NULL;
    DWORD capacity = 0;
    ErrorStatus status = {};
    GetScriptKeyList(log, "UninstallFiles", &keys, &capacity, &status);
    LARGE_INTEGER start = Now();
    for (const char* key = keys; *key; key += lstrlenA(key) + 1) {
        char value[256];
        GetScriptValue(log, "UninstallFiles", key, "", value, sizeof value);
    }
    double lookups = Seconds(start, Now());
    start = Now();
    for (const char* key = keys; *key; key += lstrlenA(key) + 1) {
        FileExists(key, &status);
        FolderExists(key, &status);
    }
    double existence = Seconds(start, Now());
    // Shown, as during the run: on Wine every text change is painted through the X server.
    HWND window = CreateDialogParamA(AppInstance, MAKEINTRESOURCEA(IDD_PROGRESS), owner, NULL, 0);
    ShowWindow(window, SW_SHOW);
    start = Now();
    for (const char* key = keys; *key; key += lstrlenA(key) + 1) {
        char text[256];
        LoadFormattedText(IDS_REMOVING, text, sizeof text, NULL, key);
        SetDlgItemTextA(window, IDC_PLAIN_PROGRESS_TEXT, text);
        MSG message;
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    double texts = 2 * Seconds(start, Now());  // the run shows two texts per entry
    DestroyWindow(window);
    start = Now();
    for (const char* key = keys; *key; key += lstrlenA(key) + 1) DeleteFileA(key);
    double deletions = Seconds(start, Now());
    GlobalFree(keys);
    GlobalFree(log);
    char command[MAX_PATH + 32];
    FormatText(command, sizeof command, "cmd /c rd /s /q \"%s\\inst\"", root);
    DWORD code;
    RunAndWait(NULL, command, &code);

    // The whole run.
    log = MakeInstallation(root, files);
    HANDLE closer = CreateThread(NULL, 0, CloseSuccessBox, NULL, 0, NULL);
    status.code = 0;
    start = Now();
    char installed[MAX_PATH];
    FormatText(installed, sizeof installed, "%s\\inst", root);
    RemoveInstallation(owner, log, installed, &status);
    double run = Seconds(start, Now());
    WaitForSingleObject(closer, 5000);
    GlobalFree(log);
    if (status.code) printf("the removal run failed: %s\n", status.text);

    // The platform's own removal of the same tree.
    log = MakeInstallation(root, files);
    GlobalFree(log);
    start = Now();
    RunAndWait(NULL, command, &code);
    double rd = Seconds(start, Now());
    char inst[MAX_PATH];
    FormatText(inst, sizeof inst, "%s\\inst", root);
    if (GetFileAttributesA(inst) != INVALID_FILE_ATTRIBUTES) printf("cmd /c rd left the tree in place\n");

    printf("files:                 %d\n", files);
    printf("removal run:           %.3f s\n", run);
    printf("cmd /c rd /s /q:       %.3f s\n", rd);
    printf("ratio:                 %.2f\n", run / rd);
    printf("where the run's time goes (measured apart):\n");
    printf("  log lookups:         %.3f s\n", lookups);
    printf("  existence tests:     %.3f s\n", existence);
    printf("  status texts, pump:  %.3f s\n", texts);
    printf("  file deletions:      %.3f s\n", deletions);
    DestroyWindow(owner);
    return 0;
}
