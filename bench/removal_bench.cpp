// Times one way of removing an installation that bench/removal.sh has laid out, with its
// install log, and checks what went:
//   removal_bench run   LOG FOLDER   the removal run on the log
//   removal_bench bare  LOG FOLDER   DeleteFileA per logged file and RemoveDirectoryA per logged
//                                    folder, in one loop with no texts: the floor
//   removal_bench parts LOG FOLDER   the run's parts measured apart; nothing is deleted
// FOLDER is the installed folder the log names (no trailing backslash).
#include <windows.h>
#include <stdio.h>
#include <string.h>
#include "bench_support.h"
#include "controls/progress_window.h"
#include "core/error_status.h"
#include "core/format.h"
#include "core/globals.h"
#include "core/script.h"
#include "core/section_index.h"
#include "install/file_ops.h"
#include "remove/removal.h"
#include "resources/resource.h"

static char* Keys(char* log, const char* section)
{
    char* keys = NULL;
    DWORD capacity = 0;
    ErrorStatus status = {};
    GetScriptKeyList(log, section, &keys, &capacity, &status);
    return keys;
}

static DWORD CountKeys(const char* keys)
{
    DWORD count = 0;
    for (const char* key = keys; *key; key = NextKey(key)) count++;
    return count;
}

static double Bare(char* log)
{
    char* files = Keys(log, "UninstallFiles");
    char* folders = Keys(log, "UninstallDirs");
    double start = BenchSeconds();
    for (const char* key = files; *key; key = NextKey(key)) DeleteFileA(key);
    for (const char* key = folders; *key; key = NextKey(key)) RemoveDirectoryA(key);
    double took = BenchSeconds() - start;
    GlobalFree(files);
    GlobalFree(folders);
    return took;
}

static double Run(char* log, const char* folder)
{
    HWND owner = CreateWindowExA(0, "STATIC", "Owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, NULL, NULL, NULL, NULL);
    WatchForEndBox();
    ErrorStatus status = {};
    double start = BenchSeconds();
    RemoveInstallation(owner, log, folder, &status);
    double took = BoxSeenAt() - start;
    DestroyWindow(owner);
    if (status.code) {
        printf("the removal run failed: %s\n", status.text);
        return -1;
    }
    return took;
}

// The parts of the run on their own: reading the log (keys and flags in one walk), one
// existence test per file entry, and the status texts (two per file entry, one per folder) as
// the run sets them and pumps.
static void Parts(char* log)
{
    double start = BenchSeconds();
    SectionIndex files;
    ErrorStatus status = {};
    BuildSectionIndex(log, "UninstallFiles", &files, &status);
    char value[256];
    DWORD flags = 0;
    for (DWORD i = 0; i < files.count; i++) {
        GetEntryValue(&files, i, value, sizeof value);
        flags |= ParseDecimal(value);
    }
    printf("log reading %.3f\n", BenchSeconds() - start);

    start = BenchSeconds();
    for (DWORD i = 0; i < files.count; i++) FileExists(files.entries[i].key, &status);
    printf("existence tests %.3f\n", BenchSeconds() - start);

    char* folders = Keys(log, "UninstallDirs");
    ProgressRecord record = {};
    record.window = CreatePlainProgressWindow(NULL);
    record.statusTextId = IDC_PLAIN_PROGRESS_TEXT;
    ShowWindow(record.window, SW_SHOW);
    char format[256];
    LoadResString(IDS_REMOVING, format, sizeof format, NULL);
    start = BenchSeconds();
    for (int pass = 0; pass < 2; pass++)
        for (DWORD i = 0; i < files.count; i++) ShowProgressStep(&record, format, files.entries[i].key);
    for (const char* key = folders; *key; key = NextKey(key)) ShowProgressStep(&record, format, key);
    FlushProgress(&record);
    printf("status texts %.3f\n", BenchSeconds() - start);
    DestroyWindow(record.window);
    GlobalFree(folders);
    FreeSectionIndex(&files);
}

int main(int argc, char** argv)
{
    if (argc < 4) {
        fprintf(stderr, "usage: removal_bench run|bare|parts LOG FOLDER\n");
        return 2;
    }
    AppInstance = GetModuleHandleA(NULL);
    IsWindowsNT = TRUE;
    const char* mode = argv[1];
    char* log = ReadWholeFile(argv[2]);
    if (!log) {
        printf("cannot read %s\n", argv[2]);
        return 1;
    }
    char* files = Keys(log, "UninstallFiles");
    DWORD logged = CountKeys(files);
    GlobalFree(files);
    TreeCount before = CountOf(argv[3]);
    if (before.files != logged) {
        printf("the folder holds %lu files, the log names %lu\n", (unsigned long)before.files, (unsigned long)logged);
        return 1;
    }

    double took = 0;
    if (!strcmp(mode, "parts")) {
        Parts(log);
        GlobalFree(log);
        return 0;
    }
    took = !strcmp(mode, "run") ? Run(log, argv[3]) : Bare(log);
    GlobalFree(log);
    TreeCount after = CountOf(argv[3]);
    BOOL folderGone = GetFileAttributesA(argv[3]) == INVALID_FILE_ATTRIBUTES;
    // Only a removal that took every file and folder counts.
    if (took < 0 || after.files || after.folders || !folderGone) {
        printf("%s left %lu files and %lu folders (installed folder %s)\n", mode, (unsigned long)after.files,
               (unsigned long)after.folders, folderGone ? "gone" : "still there");
        return 1;
    }
    printf("%s %.3f deleted %lu files and %lu folders\n", mode, took, (unsigned long)before.files,
           (unsigned long)before.folders + 1);
    return 0;
}
