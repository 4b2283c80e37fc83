// Times one way of copying a media folder that bench/install.sh has laid out, and checks what
// arrived:
//   install_bench run      MEDIA TARGET   the install run on the media's setup.ini
//   install_bench loop     MEDIA TARGET   the run's own 2048-byte block copy with no progress
//                                         callback, so no pumping: the floor
//   install_bench pumped   MEDIA TARGET   the same copy pumping after every block
//   install_bench copyfile MEDIA TARGET   CopyFileA, the platform's own copy
//   install_bench parts    MEDIA TARGET   the run's other parts measured apart; nothing copied
// MEDIA holds setup.ini and the files it lists (given without a trailing backslash); TARGET
// must not exist yet.
#include <windows.h>
#include <stdio.h>
#include <string.h>
#include "bench_support.h"
#include "controls/progress_window.h"
#include "core/error_status.h"
#include "core/format.h"
#include "core/globals.h"
#include "core/script.h"
#include "install/file_ops.h"
#include "install/install_log.h"
#include "install/install_run.h"
#include "core/setup_context.h"
#include "resources/resource.h"

// (a) The run's own copy (CopyFileWithProgress: the 2048-byte block loop, the source's time
// and the archive attribute) with no progress callback, so with no pumping: the design's floor.
static BOOL BlockCopy(const char* source, const char* target)
{
    return CopyFileWithProgress(source, target, NULL, NULL);
}

// (a') The same loop pumping after every block, as the run did before it paced its pumps.
static void PumpAfterBlock(DWORD, void*)
{
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

static BOOL PumpedCopy(const char* source, const char* target)
{
    return CopyFileWithProgress(source, target, PumpAfterBlock, NULL);
}

static BOOL PlatformCopy(const char* source, const char* target) { return CopyFileA(source, target, FALSE); }

typedef BOOL (*CopyOne)(const char* source, const char* target);

// Copies every file below the source folder but its setup.ini to the same place below the
// target folder.
static BOOL CopyTree(const char* source, const char* target, CopyOne copy)
{
    if (!CreateDirectoryA(target, NULL)) return FALSE;
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
        ok = found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? CopyTree(from, to, copy) : copy(from, to);
    } while (ok && FindNextFileA(search, &found));
    FindClose(search);
    return ok;
}

static double Run(char* script, const char* target)
{
    SetupContext context;
    ZeroMemory(&context, sizeof context);
    CopyText(target, context.installDir, sizeof context.installDir);
    CopyText("none", context.fileTypes, sizeof context.fileTypes);
    context.script = script;
    if (!CreateDirectoryA(target, NULL)) return -1;
    MainWindow = CreateWindowExA(0, "STATIC", "Corvantis Vandrel Setup", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                 CW_USEDEFAULT, 300, 200, NULL, NULL, AppInstance, NULL);
    ShowWindow(MainWindow, SW_MINIMIZE);
    WatchForEndBox();
    ErrorStatus status = {};
    double start = BenchSeconds();
    RunInstall(MainWindow, script, FALSE, &context, &status, FALSE);
    double took = BoxSeenAt() - start;
    DestroyWindow(MainWindow);
    if (status.code) {
        printf("the install run failed: %s\n", status.text);
        return -1;
    }
    return took;
}

// The run's parts but the copy: the size sum, one status text per listed file and per folder
// (the run's step texts) with its pumping, the progress callback after every 2048 bytes, and
// the log's lines.
static void Parts(char* script, const char* media)
{
    double start = BenchSeconds();
    ErrorStatus status = {};
    ULONGLONG total = GetFolderSize(media, &status);
    printf("size sum %.3f\n", BenchSeconds() - start);

    TreeCount count = CountOf(media);
    char* keys = NULL;
    DWORD capacity = 0;
    GetScriptKeyList(script, "InstallFiles", &keys, &capacity, &status);
    HWND window = CreatePlainProgressWindow(NULL);
    ProgressRecord record = {};
    record.window = window;
    record.statusTextId = IDC_PLAIN_PROGRESS_TEXT;
    record.progressBarId = IDC_PLAIN_PROGRESS_BAR;
    record.total = total;
    ShowWindow(window, SW_SHOW);
    char format[256];
    LoadResString(IDS_INSTALLING, format, sizeof format, NULL);
    start = BenchSeconds();
    DWORD texts = count.folders;
    for (const char* key = keys; *key; key = NextKey(key)) texts++;
    for (DWORD i = 0; i < texts; i++) ShowProgressStep(&record, format, keys);
    FlushProgress(&record);
    printf("status texts %.3f\n", BenchSeconds() - start);

    start = BenchSeconds();
    for (ULONGLONG done = 0; done < total; done += 2048) AdvanceProgress(2048, &record);
    FlushProgress(&record);
    printf("progress callback %.3f\n", BenchSeconds() - start);
    DestroyWindow(window);

    start = BenchSeconds();
    LogText log = { NULL, 0, 0 };
    char path[MAX_PATH];
    JoinPath(media, "d00\\e00\\f00000.bin", path);
    for (DWORD i = 0; i < count.files; i++) AddLogEntry(&log, path, 0, &status);
    printf("log lines %.3f\n", BenchSeconds() - start);
    FreeLogText(&log);
    GlobalFree(keys);
}

int main(int argc, char** argv)
{
    if (argc < 4) {
        fprintf(stderr, "usage: install_bench run|loop|pumped|copyfile|parts MEDIA TARGET\n");
        return 2;
    }
    AppInstance = GetModuleHandleA(NULL);
    IsWindowsNT = TRUE;
    const char* mode = argv[1];
    const char* media = argv[2];
    const char* target = argv[3];
    JoinTexts(SetupFolder, sizeof SetupFolder, media, "\\", (const char*)NULL);
    char scriptPath[MAX_PATH];
    JoinPath(media, "setup.ini", scriptPath);
    char* script = ReadWholeFile(scriptPath);
    if (!script) {
        printf("cannot read %s\n", scriptPath);
        return 1;
    }
    TreeCount source = CountOf(media);
    source.files--;  // setup.ini stays on the media

    if (!strcmp(mode, "parts")) {
        Parts(script, media);
        GlobalFree(script);
        return 0;
    }
    double took;
    if (!strcmp(mode, "run")) {
        took = Run(script, target);
    } else {
        CopyOne copy = !strcmp(mode, "copyfile") ? PlatformCopy : !strcmp(mode, "pumped") ? PumpedCopy : BlockCopy;
        double start = BenchSeconds();
        took = CopyTree(media, target, copy) ? BenchSeconds() - start : -1;
    }
    GlobalFree(script);

    // Every file arrived whole; the run adds its log.
    TreeCount copied = CountOf(target);
    DWORD expected = source.files + (!strcmp(mode, "run") ? 1 : 0);
    ErrorStatus status = {};
    ULONGLONG sourceBytes = GetFolderSize(media, &status) - GetFileSizeChecked(scriptPath, &status);
    char log[MAX_PATH];
    JoinPath(target, "setup.ini", log);
    ULONGLONG logBytes = !strcmp(mode, "run") ? GetFileSizeChecked(log, &status) : 0;
    ULONGLONG copiedBytes = GetFolderSize(target, &status) - logBytes;
    if (took < 0 || copied.files != expected || copied.folders != source.folders || copiedBytes != sourceBytes) {
        printf("%s copied %lu of %lu files, %lu of %lu folders, %llu of %llu bytes\n", mode,
               (unsigned long)copied.files, (unsigned long)expected, (unsigned long)copied.folders,
               (unsigned long)source.folders, copiedBytes, sourceBytes);
        return 1;
    }
    printf("%s %.3f copied %lu files, %llu bytes\n", mode, took, (unsigned long)copied.files, copiedBytes);
    return 0;
}
