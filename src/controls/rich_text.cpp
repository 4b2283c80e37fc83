#include "controls/rich_text.h"
#include "core/format.h"
#include "core/globals.h"
#include <richedit.h>

// Hands the control what it asks for; a read of 0 bytes ends the stream.
static DWORD CALLBACK ReadRichTextFile(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* delivered)
{
    DWORD read = 0;
    if (!ReadFile((HANDLE)cookie, buffer, (DWORD)wanted, &read, NULL)) read = 0;
    *delivered = (LONG)read;
    return 0;
}

HWND CreateRichTextControl(HMODULE* module, const char* fileName, int x, int y, int width, int height,
                           HWND parent)
{
    // A cut path could name another file; the page then goes without its text.
    char path[MAX_PATH];
    if (!JoinPathParts(path, sizeof path, NULL, SetupFolder, fileName, (const char*)NULL)) return NULL;
    HANDLE file = CreateFileA(path, GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return NULL;

    if (!*module) *module = LoadLibraryA("riched32.dll");
    HWND control = NULL;
    if (*module) {
        control = CreateWindowExA(0, "RICHEDIT", "", WS_CHILD | WS_VISIBLE | WS_DISABLED | ES_MULTILINE, x, y,
                                  width, height, parent, NULL, (HINSTANCE)GetWindowLongPtrA(parent, GWLP_HINSTANCE),
                                  NULL);
        if (control) {
            EDITSTREAM stream;
            ZeroMemory(&stream, sizeof stream);
            stream.dwCookie = (DWORD_PTR)file;
            stream.pfnCallback = ReadRichTextFile;
            SendMessageA(control, EM_STREAMIN, SF_RTF, (LPARAM)&stream);
        }
    }
    CloseHandle(file);
    return control;
}
