// The setup script's ties to the machine: its file, and the screen that picks image variants.
// Kept apart from the reader so that the reader builds on other platforms too.
#include "core/script.h"
#include "core/error_status.h"

static int ReadScreenResolution()
{
    HDC screen = GetDC(NULL);
    int resolution = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(NULL, screen);
    return resolution;
}

int (*ScreenResolution)() = ReadScreenResolution;

char* ReadWholeFile(const char* path) { return ReadWholeFileSized(path, NULL); }

char* ReadWholeFileSized(const char* path, DWORD* bytes)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return NULL;

    char* text = NULL;
    DWORD error = NO_ERROR;
    DWORD high = 0;
    SetLastError(NO_ERROR);
    DWORD size = GetFileSize(file, &high);
    if (size == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) {
        error = GetLastError();
    } else if (high || size == 0xFFFFFFFF) {
        error = ERROR_FILE_TOO_LARGE;
    } else if ((text = (char*)GlobalAlloc(GMEM_FIXED, size + 1)) == NULL) {
        error = GetLastError();
    } else {
        DWORD read = 0;
        if (!ReadFile(file, text, size, &read, NULL)) error = GetLastError();
        else if (read != size) error = ERROR_HANDLE_EOF;
        if (error != NO_ERROR) {
            GlobalFree(text);
            text = NULL;
        } else {
            text[size] = 0;
            if (bytes) *bytes = size;
        }
    }
    CloseHandle(file);
    if (!text) SetLastError(error);
    return text;
}

void WriteWholeFile(const char* text, const char* path, ErrorStatus* status)
{
    if (status && status->code) return;
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_ARCHIVE, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        SetStatus(status, GetLastError(), 0);
        return;
    }
    DWORD length = lstrlenA(text);
    DWORD written = 0;
    // A text that did not reach the disk whole must not pass for written.
    if (!WriteFile(file, text, length, &written, NULL)) SetStatus(status, GetLastError(), 0);
    else if (written != length) SetStatus(status, ERROR_WRITE_FAULT, 0);
    CloseHandle(file);
}
