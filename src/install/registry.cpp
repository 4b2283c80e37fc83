#include "install/registry.h"
#include "core/error_status.h"
#include "core/format.h"
#include "resources/resource.h"

// A text, or the string-table text of an id, in the buffer; NULL stays NULL. FALSE when an
// id cannot be loaded (the status then holds why).
static BOOL LoadText(const char* textOrId, char* buffer, int size, const char** text, ErrorStatus* status)
{
    *text = textOrId;
    if (!textOrId || !IS_INTRESOURCE(textOrId)) return TRUE;
    if (!LoadResString(LOWORD((ULONG_PTR)textOrId), buffer, size, status)) return FALSE;
    *text = buffer;
    return TRUE;
}

// Joins the parts with single backslashes into at most MAX_PATH - 1 characters.
static BOOL JoinKeyPath(char* path, va_list parts, ErrorStatus* status)
{
    path[0] = 0;
    char* end = path;
    unsigned left = MAX_PATH;
    const char* part;
    while ((part = va_arg(parts, const char*)) != NULL) {
        char loaded[MAX_PATH];
        if (!LoadText(part, loaded, sizeof loaded, &part, status)) return FALSE;
        if (end != path && end[-1] != '\\' && *part != '\\') AppendAtCursor("\\", &end, &left);
        AppendAtCursor(part, &end, &left);
    }
    return TRUE;
}

static bool CreatesKey(REGSAM access)
{
    return access == KEY_WRITE || access == (KEY_WRITE | KEY_WOW64_64KEY);
}

HKEY OpenRegKeyV(HKEY root, REGSAM access, BOOL reportMissing, ErrorStatus* status, va_list parts)
{
    if (status->code) return NULL;
    char path[MAX_PATH];
    if (!JoinKeyPath(path, parts, status)) return NULL;

    HKEY key = NULL;
    LONG error = CreatesKey(access)
        ? RegCreateKeyExA(root, path, 0, NULL, 0, access, NULL, &key, NULL)
        : RegOpenKeyExA(root, path, 0, access, &key);
    if (error == ERROR_SUCCESS) return key;
    if (error != ERROR_FILE_NOT_FOUND || reportMissing)
        SetStatus(status, (DWORD)error, IDS_UNABLE_TO_OPEN_KEY, path);
    return NULL;
}

HKEY OpenRegKey(HKEY root, REGSAM access, BOOL reportMissing, ErrorStatus* status, ...)
{
    va_list parts;
    va_start(parts, status);
    HKEY key = OpenRegKeyV(root, access, reportMissing, status, parts);
    va_end(parts);
    return key;
}

HKEY OpenSetupKey(REGSAM access, ErrorStatus* status)
{
    return OpenRegKey(HKEY_LOCAL_MACHINE, access, FALSE, status, MAKEINTRESOURCEA(IDS_SOFTWARE),
                      MAKEINTRESOURCEA(IDS_MAKER), MAKEINTRESOURCEA(IDS_SETUP_KEY_NAME),
                      MAKEINTRESOURCEA(IDS_SETUP_VERSION), (const char*)NULL);
}

// Empties an open key, deepest keys first, enumerating by wide names: a name that the ANSI
// code page cannot hold comes back from RegEnumKeyExA with "?" in it and never opens. A subkey
// that cannot be opened (a link to a missing key, one denied) or deleted is passed over and
// the enumeration moves on past it, so that this always ends. False when a subkey was left.
static BOOL DeleteSubkeys(HKEY key, REGSAM view, ErrorStatus* status)
{
    BOOL emptied = TRUE;
    DWORD index = 0;
    for (;;) {
        WCHAR name[256];
        DWORD length = sizeof name / sizeof name[0];
        LONG error = RegEnumKeyExW(key, index, name, &length, NULL, NULL, NULL, NULL);
        if (error == ERROR_NO_MORE_ITEMS) return emptied;
        if (error != ERROR_SUCCESS && error != ERROR_MORE_DATA) {
            SetStatus(status, (DWORD)error, IDS_UNABLE_TO_ENUMERATE_KEY);
            return FALSE;
        }
        HKEY subkey;
        if (error == ERROR_SUCCESS && RegOpenKeyExW(key, name, 0, KEY_READ | KEY_WRITE | view, &subkey) == ERROR_SUCCESS) {
            BOOL subkeyEmptied = DeleteSubkeys(subkey, view, status);
            RegCloseKey(subkey);
            if (status->code) return FALSE;
            // Deleted, the next subkey takes its index.
            if (subkeyEmptied && RegDeleteKeyW(key, name) == ERROR_SUCCESS) continue;
        }
        emptied = FALSE;
        index++;
    }
}

void DeleteRegTree(HKEY root, ErrorStatus* status, REGSAM access, ...)
{
    if (status->code) return;
    char path[MAX_PATH];
    va_list parts;
    va_start(parts, access);
    BOOL joined = JoinKeyPath(path, parts, status);
    va_end(parts);
    if (!joined) return;

    HKEY key = OpenRegKey(root, access, FALSE, status, path, (const char*)NULL);
    if (!key) return;  // missing: nothing to delete; or the failure is in the status
    DeleteSubkeys(key, access & KEY_WOW64_64KEY, status);
    RegCloseKey(key);
    if (status->code) return;
    // A subkey that had to be left keeps the key too, and this says which key.
    LONG error = RegDeleteKeyA(root, path);
    if (error != ERROR_SUCCESS) SetStatus(status, (DWORD)error, IDS_UNABLE_TO_DELETE_KEY, path);
}

void DeleteRegValue(HKEY root, ErrorStatus* status, REGSAM access, const char* keyPath, const char* valueName)
{
    if (status->code) return;
    HKEY key = OpenRegKey(root, access, FALSE, status, keyPath, (const char*)NULL);
    if (!key) return;
    char nameBuffer[256];
    const char* name;
    if (LoadText(valueName, nameBuffer, sizeof nameBuffer, &name, status)) RegDeleteValueA(key, name);
    RegCloseKey(key);
}

void QueryRegString(HKEY key, const char* valueName, const char* defaultValue, char* buffer, DWORD size,
                    ErrorStatus* status)
{
    if (status->code) return;
    char nameBuffer[256], defaultBuffer[256];
    const char *name, *fallback;
    if (!LoadText(valueName, nameBuffer, sizeof nameBuffer, &name, status)) return;
    if (!LoadText(defaultValue, defaultBuffer, sizeof defaultBuffer, &fallback, status)) return;

    LONG error = ERROR_FILE_NOT_FOUND;
    DWORD type = REG_NONE;
    if (key && size) {
        DWORD bytes = size;
        error = RegQueryValueExA(key, name, NULL, &type, (BYTE*)buffer, &bytes);
        if (error == ERROR_SUCCESS && type == REG_SZ) {
            // A value stored without its NUL still ends within the buffer.
            if (bytes < size) buffer[bytes] = 0;
            else buffer[size - 1] = 0;
            return;
        }
        if (error == ERROR_SUCCESS) error = ERROR_FILE_NOT_FOUND;  // a value of another type
    } else if (key) {
        error = ERROR_MORE_DATA;
    }

    CopyText(fallback, buffer, size);
    if (fallback && (error == ERROR_FILE_NOT_FOUND || error == ERROR_MORE_DATA)) return;
    SetStatus(status, (DWORD)error, IDS_UNABLE_TO_QUERY_VALUE, name ? name : "");
}

void SetRegString(HKEY key, const char* valueName, const char* text, ErrorStatus* status)
{
    if (status->code) return;
    char nameBuffer[256], textBuffer[256];
    const char *name, *data;
    if (!LoadText(valueName, nameBuffer, sizeof nameBuffer, &name, status)) return;
    if (!LoadText(text, textBuffer, sizeof textBuffer, &data, status)) return;

    if (!data) {
        LONG error = RegDeleteValueA(key, name);
        if (error != ERROR_SUCCESS && error != ERROR_FILE_NOT_FOUND)
            SetStatus(status, (DWORD)error, IDS_UNABLE_TO_DELETE_VALUE, name ? name : "");
        return;
    }
    LONG error = RegSetValueExA(key, name, 0, REG_SZ, (const BYTE*)data, lstrlenA(data) + 1);
    if (error != ERROR_SUCCESS) SetStatus(status, (DWORD)error, IDS_UNABLE_TO_SET_VALUE, name ? name : "");
}

void SetRegDword(HKEY key, const char* valueName, DWORD value, ErrorStatus* status)
{
    if (status->code) return;
    char nameBuffer[256];
    const char* name;
    if (!LoadText(valueName, nameBuffer, sizeof nameBuffer, &name, status)) return;
    LONG error = RegSetValueExA(key, name, 0, REG_DWORD, (const BYTE*)&value, sizeof value);
    if (error != ERROR_SUCCESS) SetStatus(status, (DWORD)error, IDS_UNABLE_TO_SET_VALUE, name ? name : "");
}
