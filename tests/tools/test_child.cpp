// A small program that tests start: it records its command line, can send a message to a
// window of its starter, waits if asked and exits with a chosen code.
//   test_child [record FILE] [send HWND MSG] [sleep MS] [exit CODE]
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int main(int argc, char** argv)
{
    int code = 0;
    for (int i = 1; i < argc; i++) {
        if (!strcmp(argv[i], "record") && i + 1 < argc) {
            FILE* file = fopen(argv[++i], "ab");
            if (file) {
                fprintf(file, "%s\n", GetCommandLineA());
                fclose(file);
            }
        } else if (!strcmp(argv[i], "send") && i + 2 < argc) {
            HWND window = (HWND)(UINT_PTR)strtoull(argv[i + 1], NULL, 0);
            UINT message = (UINT)strtoul(argv[i + 2], NULL, 0);
            i += 2;
            DWORD_PTR result = 0;
            // The starter answers with 42 if it delivers sent messages while it waits.
            if (!SendMessageTimeoutA(window, message, 0, 0, SMTO_BLOCK, 10000, &result) || result != 42)
                return 99;
        } else if (!strcmp(argv[i], "sleep") && i + 1 < argc) {
            Sleep((DWORD)atoi(argv[++i]));
        } else if (!strcmp(argv[i], "exit") && i + 1 < argc) {
            code = atoi(argv[++i]);
        }
    }
    return code;
}
