// The setup script's file natively: the whole file and a NUL in one block, as on Windows.
#include <windows.h>
#include <stdio.h>
#include "core/script.h"

char* ReadWholeFile(const char* path) { return ReadWholeFileSized(path, NULL); }

char* ReadWholeFileSized(const char* path, DWORD* bytes)
{
    FILE* file = fopen(path, "rb");
    if (!file) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return NULL;
    }
    char* text = NULL;
    long size = fseek(file, 0, SEEK_END) == 0 ? ftell(file) : -1;
    if (size >= 0 && size < 0x7FFFFFFF && fseek(file, 0, SEEK_SET) == 0
        && (text = (char*)GlobalAlloc(GMEM_FIXED, (SIZE_T)size + 1)) != NULL) {
        if (fread(text, 1, (size_t)size, file) == (size_t)size) {
            text[size] = 0;
            if (bytes) *bytes = (DWORD)size;
        } else {
            GlobalFree(text);
            text = NULL;
        }
    }
    fclose(file);
    if (!text) SetLastError(ERROR_FILE_NOT_FOUND);
    return text;
}
