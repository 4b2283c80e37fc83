// Times the install run on a media folder against two references that copy the same files:
// (a) a bare loop that copies in 2048-byte blocks and lets pending messages through after each
// block, the floor that copying with a live window sets, and (b) CopyFileA, the platform's own
// copy. Every round copies into fresh folders; the best round of each counts.
//   install_bench MEDIA-FOLDER TARGET-FOLDER [ROUNDS]
// MEDIA-FOLDER holds setup.ini and the files it lists.
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include "core/error_status.h"
#include "core/format.h"
#include "core/globals.h"
#include "core/script.h"
#include "install/file_ops.h"
#include "install/install_run.h"
#include "core/setup_context.h"
#include "resources/resource.h"

static double Seconds()
{
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return (double)now.QuadPart / (double)frequency.QuadPart;
}

// The run ends with a message box: its activation marks the end, and it is closed at once.
static double RunEnd;

static LRESULT CALLBACK WatchBoxes(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        char className[32];
        GetClassNameA((HWND)wParam, className, sizeof className);
        if (!lstrcmpA(className, "#32770") && GetDlgItem((HWND)wParam, 0xFFFF)) {
            if (!RunEnd) RunEnd = Seconds();
            PostMessageA((HWND)wParam, WM_COMMAND, IDOK, 0);
        }
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

static void Pump()
{
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// (a): the copy loop of the install run without anything around it.
static BOOL BlockCopy(const char* source, const char* target)
{
    HANDLE in = CreateFileA(source, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (in == INVALID_HANDLE_VALUE) return FALSE;
    HANDLE out = CreateFileA(target, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_ARCHIVE, NULL);
    if (out == INVALID_HANDLE_VALUE) {
        CloseHandle(in);
        return FALSE;
    }
    char block[2048];
    DWORD got, written;
    BOOL ok = TRUE;
    while ((ok = ReadFile(in, block, sizeof block, &got, NULL)) && got) {
        if (!WriteFile(out, block, got, &written, NULL) || written != got) {
            ok = FALSE;
            break;
        }
        Pump();
    }
    CloseHandle(out);
    CloseHandle(in);
    return ok;
}

typedef BOOL (*CopyOne)(const char* source, const char* target);

static BOOL PlatformCopy(const char* source, const char* target) { return CopyFileA(source, target, FALSE); }

// Copies every file below the source folder to the same place below the target folder.
static BOOL CopyTree(const char* source, const char* target, CopyOne copy, DWORD* files)
{
    if (!CreateDirectoryA(target, NULL) && GetLastError() != ERROR_ALREADY_EXISTS) return FALSE;
    char pattern[MAX_PATH];
    JoinPath(source, "*", pattern);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return TRUE;
    BOOL ok = TRUE;
    do {
        if (!lstrcmpA(found.cFileName, ".") || !lstrcmpA(found.cFileName, "..")) continue;
        if (!lstrcmpiA(found.cFileName, "setup.ini")) continue;
        char from[MAX_PATH], to[MAX_PATH];
        JoinPath(source, found.cFileName, from);
        JoinPath(target, found.cFileName, to);
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            ok = CopyTree(from, to, copy, files);
        } else {
            ok = copy(from, to);
            ++*files;
        }
    } while (ok && FindNextFileA(search, &found));
    FindClose(search);
    return ok;
}

static double TimeInstallRun(char* script, const char* target)
{
    SetupContext context;
    ZeroMemory(&context, sizeof context);
    CopyText(target, context.installDir, sizeof context.installDir);
    CopyText("none", context.fileTypes, sizeof context.fileTypes);
    context.script = script;
    CreateDirectoryA(target, NULL);

    ErrorStatus status = {};
    RunEnd = 0;
    double start = Seconds();
    RunInstall(MainWindow, script, FALSE, &context, &status, FALSE);
    if (status.code) {
        printf("the install run failed: %s\n", status.text);
        exit(1);
    }
    return RunEnd - start;
}

static double TimeCopy(const char* media, const char* target, CopyOne copy, DWORD* files)
{
    *files = 0;
    double start = Seconds();
    if (!CopyTree(media, target, copy, files)) {
        printf("copying into %s failed (%lu)\n", target, GetLastError());
        exit(1);
    }
    return Seconds() - start;
}

int main(int argc, char** argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: install_bench MEDIA-FOLDER TARGET-FOLDER [ROUNDS]\n");
        return 2;
    }
    int rounds = argc > 3 ? atoi(argv[3]) : 2;
    AppInstance = GetModuleHandleA(NULL);
    IsWindowsNT = TRUE;
    JoinTexts(SetupFolder, sizeof SetupFolder, argv[1], "\\", (const char*)NULL);
    char scriptPath[MAX_PATH];
    JoinPath(argv[1], "setup.ini", scriptPath);
    char* script = ReadWholeFile(scriptPath);
    if (!script) {
        printf("cannot read %s\n", scriptPath);
        return 1;
    }

    MainWindow = CreateWindowExA(0, "STATIC", "Corvantis Vandrel Setup", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                 CW_USEDEFAULT, 300, 200, NULL, NULL, AppInstance, NULL);
    ShowWindow(MainWindow, SW_MINIMIZE);
    SetWindowsHookExA(WH_CBT, WatchBoxes, NULL, GetCurrentThreadId());
    CreateDirectoryA(argv[2], NULL);

    double bestRun = 1e9, bestFloor = 1e9, bestCopy = 1e9, bestSum = 1e9;
    DWORD files = 0;
    for (int round = 1; round <= rounds; round++) {
        char folder[MAX_PATH], target[MAX_PATH];
        FormatText(folder, sizeof folder, "%s\\round%d", argv[2], round);
        CreateDirectoryA(folder, NULL);

        JoinPath(folder, "floor", target);
        double floorTime = TimeCopy(argv[1], target, BlockCopy, &files);
        JoinPath(folder, "run", target);
        double runTime = TimeInstallRun(script, target);
        JoinPath(folder, "copy", target);
        double copyTime = TimeCopy(argv[1], target, PlatformCopy, &files);
        // The run's first pass, which opens every source once to sum the sizes.
        ErrorStatus status = {};
        double start = Seconds();
        GetFolderSize(argv[1], &status);
        double sumTime = Seconds() - start;
        printf("round %d: install run %.2f s, block loop %.2f s, CopyFileA %.2f s, size sum %.2f s\n", round, runTime,
               floorTime, copyTime, sumTime);
        fflush(stdout);
        if (runTime < bestRun) bestRun = runTime;
        if (floorTime < bestFloor) bestFloor = floorTime;
        if (copyTime < bestCopy) bestCopy = copyTime;
        if (sumTime < bestSum) bestSum = sumTime;
    }
    printf("files: %lu\n", (unsigned long)files);
    printf("install run:                 %.2f s\n", bestRun);
    printf("(a) 2048-byte loop + pumping: %.2f s\n", bestFloor);
    printf("(b) CopyFileA:               %.2f s\n", bestCopy);
    printf("the run's size sum alone:    %.2f s\n", bestSum);
    printf("install run / (a): %.2f (target <= 1.25)\n", bestRun / bestFloor);
    printf("install run / (b): %.2f\n", bestRun / bestCopy);
    printf("(a) / (b):         %.2f\n", bestFloor / bestCopy);
    GlobalFree(script);
    DestroyWindow(MainWindow);
    return 0;
}
