// A stand-in for the product's programs in tests. It appends its command line to "calls.log"
// in its own folder (or to the file that PRODUCT_CALLS_LOG names), waits the milliseconds
// written in "<its name>.sleep" beside it, then while a file "<its name>.hold" lies beside it
// (60 s at most), and exits with the code written in "<its name>.exitcode" (0 when there is none).
//   product_program lock PATH SECONDS   holds PATH open without sharing; writes PATH.locked
//                                       once it holds it
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static int ReadNumber(const char* path, int fallback)
{
    FILE* file = fopen(path, "rb");
    if (!file) return fallback;
    int value = fallback;
    if (fscanf(file, "%d", &value) != 1) value = fallback;
    fclose(file);
    return value;
}

int main(int argc, char** argv)
{
    if (argc >= 4 && !strcmp(argv[1], "lock")) {
        HANDLE held = CreateFileA(argv[2], GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
        if (held == INVALID_HANDLE_VALUE) return 3;
        char marker[MAX_PATH + 8];
        snprintf(marker, sizeof marker, "%s.locked", argv[2]);
        FILE* file = fopen(marker, "wb");
        if (file) fclose(file);
        Sleep(1000 * atoi(argv[3]));
        CloseHandle(held);
        return 0;
    }

    char path[MAX_PATH], folder[MAX_PATH], log[MAX_PATH], side[MAX_PATH + 16];
    GetModuleFileNameA(NULL, path, sizeof path);
    strcpy(folder, path);
    char* slash = strrchr(folder, '\\');
    if (slash) slash[1] = 0;
    snprintf(log, sizeof log, "%scalls.log", folder);
    char elsewhere[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("PRODUCT_CALLS_LOG", elsewhere, sizeof elsewhere);
    if (length && length < sizeof elsewhere) strcpy(log, elsewhere);
    FILE* file = fopen(log, "ab");
    if (file) {
        fprintf(file, "%s\n", GetCommandLineA());
        fclose(file);
    }
    snprintf(side, sizeof side, "%s.sleep", path);
    Sleep((DWORD)ReadNumber(side, 0));
    snprintf(side, sizeof side, "%s.hold", path);
    for (int waited = 0; waited < 600 && GetFileAttributesA(side) != INVALID_FILE_ATTRIBUTES; waited++) Sleep(100);
    snprintf(side, sizeof side, "%s.exitcode", path);
    return ReadNumber(side, 0);
}
