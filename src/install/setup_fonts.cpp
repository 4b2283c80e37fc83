#include "install/setup_fonts.h"
#include "core/error_status.h"
#include "core/format.h"
#include "core/globals.h"
#include "core/script.h"

typedef HANDLE(WINAPI* AddFontFunction)(PVOID bytes, DWORD size, PVOID reserved, DWORD* fontCount);

static void LoadFontFile(AddFontFunction addFont, const char* relativePath)
{
    // A cut path could name another file.
    if (lstrlenA(SetupFolder) + lstrlenA(relativePath) >= MAX_PATH) return;
    char path[MAX_PATH];
    JoinTexts(path, sizeof path, SetupFolder, relativePath, (const char*)NULL);
    HANDLE file = CreateFileA(path, GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD size = GetFileSize(file, NULL);
    if (size != INVALID_FILE_SIZE && size != 0) {
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
        void* bytes = memory ? GlobalLock(memory) : NULL;
        DWORD read = 0;
        if (bytes && ReadFile(file, bytes, size, &read, NULL)) {
            // GDI keeps its own copy; the count of fonts installed is not needed.
            DWORD fontCount = 0;
            addFont(bytes, read, NULL, &fontCount);
        }
        if (bytes) GlobalUnlock(memory);
        if (memory) GlobalFree(memory);
    }
    CloseHandle(file);
}

void LoadSetupFonts(char* script, ErrorStatus* status)
{
    if (status->code) return;
    // A list that cannot be had means no fonts, not a failure of the setup.
    ErrorStatus listStatus;
    listStatus.code = 0;
    char* keys = NULL;
    DWORD capacity = 0;
    GetScriptKeyList(script, "fonts", &keys, &capacity, &listStatus);

    HMODULE gdi = GetModuleHandleA("gdi32.dll");
    AddFontFunction addFont = gdi ? (AddFontFunction)GetProcAddress(gdi, "AddFontMemResourceEx") : NULL;
    if (addFont && keys && !listStatus.code)
        for (const char* key = keys; *key; key += lstrlenA(key) + 1) LoadFontFile(addFont, key);
    if (keys) GlobalFree(keys);
}
