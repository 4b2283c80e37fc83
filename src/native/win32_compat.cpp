// The native meaning of the Win32 calls in win32_compat.h.
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

static thread_local DWORD LastError;

static char Folded(char c) { return (char)(c >= 'A' && c <= 'Z' ? c + 32 : c); }

int lstrlenA(const char* text) { return text ? (int)strlen(text) : 0; }

int lstrcmpA(const char* a, const char* b) { return strcmp(a, b); }

int lstrcmpiA(const char* a, const char* b)
{
    for (;; a++, b++) {
        int x = (unsigned char)Folded(*a), y = (unsigned char)Folded(*b);
        if (x != y || !x) return x - y;
    }
}

char* CharNextA(const char* text) { return (char*)(*text ? text + 1 : text); }

int wsprintfA(char* buffer, const char* format, ...)
{
    // A Win32 long is 32 bits, so "%lu" takes what "%u" takes here; like the original, the
    // output stops at 1024 characters.
    char native[64];
    size_t n = 0;
    for (const char* f = format; *f && n + 1 < sizeof native; f++)
        if (*f != 'l') native[n++] = *f;
    native[n] = 0;
    va_list args;
    va_start(args, format);
    int length = vsnprintf(buffer, 1025, native, args);
    va_end(args);
    return length;
}

HGLOBAL GlobalAlloc(UINT, SIZE_T bytes)
{
    void* block = malloc(bytes ? bytes : 1);
    if (!block) LastError = ERROR_NOT_ENOUGH_MEMORY;
    return block;
}

HGLOBAL GlobalFree(HGLOBAL block)
{
    free(block);
    return NULL;
}

DWORD GetLastError() { return LastError; }
void SetLastError(DWORD code) { LastError = code; }

BOOL GetCPInfo(UINT, CPINFO* info)
{
    memset(info, 0, sizeof *info);
    info->MaxCharSize = 1;
    info->DefaultChar[0] = '?';
    return TRUE;
}

LCID GetThreadLocale() { return 0x409; }
int GetLocaleInfoA(LCID, DWORD, char*, int) { return 0; }
