// The setup-script reader on any bytes: key lists, lookups, image variants, the number parsers
// and the removal's judgement of log entries. The sanitizers catch reads past the text; the
// checks catch key lists and sizes that disagree, and a reader that changes the text.
#include <windows.h>
#include <stdlib.h>
#include <strings.h>
#include <initializer_list>
#include "core/error_status.h"
#include "core/format.h"
#include "core/log_entries.h"
#include "core/script.h"
static int Screen() { return 120; }
static void Check(bool condition) { if (!condition) abort(); }
static void JudgeLogEntry(const char* key, const char* value)
{
    ParseDecimal(value);
    POINT point;
    ParsePoint(value, &point);
    DWORD a, b, c, d;
    ParseFourNumbers(value, &a, &b, &c, &d);
    char path[208];
    bool view64;
    if (ParseRegistryEntry(key, path, sizeof path, &view64)) {
        Check(strlen(path) < sizeof path && !HasWildcard(path));
        IsSharedRegistryKey(path);
    }
    static const char folder[] = "C:\\Apps\\Prod";
    if (PlaceOfPath(key, folder) != PathOutside)
        Check(!strncasecmp(key, folder, sizeof folder - 1) && !HasWildcard(key));
}
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ScreenResolution = Screen;
    char* text = (char*)malloc(size + 1);
    memcpy(text, data, size);
    text[size] = 0;
    char* list = NULL;
    DWORD capacity = 0;
    ErrorStatus status = {};
    for (const char* section : { "UninstallFiles", "UninstallRegistry", "Setup", "" }) {
        GetScriptKeyList(text, section, &list, &capacity, &status);
        Check(!status.code);
        DWORD listed = 1;
        for (const char* key = list; *key; key = NextKey(key)) {
            listed += (DWORD)strlen(key) + 1;
            char value[256];
            DWORD length = GetScriptValue(text, section, key, "", value, sizeof value);
            Check(length == strlen(value));
            Check(GetScriptValueSize(text, section, key) != 0xFFFFFFFF);
            JudgeLogEntry(key, value);
        }
        Check(listed == GetScriptValueSize(text, section, NULL));
        SectionHasKeyLike(text, section, "\\Desktop\\");
    }
    char image[256];
    GetScriptValue(text, "Progress", "headerimage", "none", image, sizeof image);
    Check(!memcmp(text, data, size));
    free(list);
    free(text);
    return 0;
}
