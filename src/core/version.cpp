#include "core/version.h"
#include "core/error_status.h"
#include "core/format.h"
#include "core/globals.h"
#include "resources/resource.h"

static const char MacroPrefix[] = "%productversion(";
static const DWORD MacroPrefixLength = sizeof MacroPrefix - 1;

static bool StartsWithMacro(const char* text)
{
    for (DWORD i = 0; i < MacroPrefixLength; i++) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = (char)(c + 32);
        if (c != MacroPrefix[i]) return false;  // also stops at the text's NUL
    }
    return true;
}

// The ProductVersion text of a file's first translation into the 256-byte cache; the cache stays
// empty on any failure.
static void ReadProductVersion(const char* fileName, char* cache)
{
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(fileName, &handle);
    if (!size) return;
    void* resource = GlobalAlloc(GMEM_FIXED, size);
    if (!resource) return;
    void* value = NULL;
    UINT length = 0;
    if (GetFileVersionInfoA(fileName, 0, size, resource)
        && VerQueryValueA(resource, "\\VarFileInfo\\Translation", &value, &length) && length == 4) {
        const WORD* translation = (const WORD*)value;
        char subBlock[256];
        FormatText(subBlock, sizeof subBlock, "\\\\StringFileInfo\\\\%04x%04x\\\\ProductVersion",
                   translation[0], translation[1]);
        if (VerQueryValueA(resource, subBlock, &value, &length) && value && length) {
            const char* text = (const char*)value;
            DWORD i = 0;
            while (i < length && i < 255 && text[i]) {
                cache[i] = text[i];
                i++;
            }
            cache[i] = 0;
        }
    }
    GlobalFree(resource);
}

DWORD ExpandVersionMacro(const char* text, const char* firstPercent, char* output, char* cache)
{
    DWORD length = 0;
    char* out = output;
    for (const char* p = text; p < firstPercent; p++, length++)
        if (out) *out++ = *p;

    // Only the first macro's file is read: every macro of the text shows that version, and
    // the writing pass writes exactly as much as the measuring pass counted.
    bool fileRead = false;
    const char* p = firstPercent;
    while (*p) {
        if (*p != '%' || !StartsWithMacro(p)) {
            if (out) *out++ = *p;
            length++;
            p++;
            continue;
        }
        const char* name = p + MacroPrefixLength;
        const char* nameEnd = name;
        while (*nameEnd && !(nameEnd[0] == ')' && nameEnd[1] == '%')) nameEnd++;
        if (!output && !cache[0] && !fileRead) {
            char fileName[256];
            DWORD nameLength = (DWORD)(nameEnd - name);
            if (nameLength > sizeof fileName - 1) nameLength = sizeof fileName - 1;
            CopyMemory(fileName, name, nameLength);
            fileName[nameLength] = 0;
            ReadProductVersion(fileName, cache);
        }
        fileRead = true;
        DWORD versionLength = lstrlenA(cache);
        if (out) {
            CopyMemory(out, cache, versionLength);
            out += versionLength;
        }
        length += versionLength;
        p = *nameEnd ? nameEnd + 2 : nameEnd;
    }
    if (out) *out = 0;
    return length;
}

VersionInfo* LoadVersionInfo(HMODULE module, const char* path, ErrorStatus* status)
{
    if (status && status->code) return NULL;
    char fileName[MAX_PATH];
    if (path) {
        CopyText(path, fileName, sizeof fileName);
    } else {
        DWORD length = GetModuleFileNameA(module ? module : AppInstance, fileName, sizeof fileName);
        if (!length) {
            SetStatus(status, GetLastError(), IDS_NO_MODULE_FILE_NAME);
            return NULL;
        }
        if (length >= sizeof fileName) fileName[sizeof fileName - 1] = 0;
    }

    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(fileName, &handle);
    if (!size) {
        SetStatus(status, GetLastError(), IDS_VERSION_SIZE_FAILED, fileName);
        return NULL;
    }
    VersionInfo* info = (VersionInfo*)GlobalAlloc(GMEM_FIXED, size + 4);
    if (!info) {
        SetStatus(status, GetLastError(), 0);
        return NULL;
    }
    if (!GetFileVersionInfoA(fileName, 0, size, info->resource)) {
        SetStatus(status, GetLastError(), IDS_VERSION_INFO_FAILED, fileName);
        GlobalFree(info);
        return NULL;
    }

    char subBlock[64];
    void* value = NULL;
    UINT length = 0;
    if (!LoadResString(IDS_TRANSLATION_BLOCK, subBlock, sizeof subBlock, status)) {
        GlobalFree(info);
        return NULL;
    }
    if (!VerQueryValueA(info->resource, subBlock, &value, &length)) {
        SetStatus(status, ERROR_FILE_NOT_FOUND, IDS_VERQUERYVALUE_FAILED, subBlock);
        GlobalFree(info);
        return NULL;
    }
    if (length < 4) {
        SetStatus(status, 0x8000FFFF, 0);
        GlobalFree(info);
        return NULL;
    }
    info->language = ((const WORD*)value)[0];
    info->codePage = ((const WORD*)value)[1];
    return info;
}

void* QueryVersionValue(VersionInfo* info, WORD formatId, ErrorStatus* status)
{
    if (status && status->code) return NULL;
    char subBlock[256];
    if (formatId) {
        if (!LoadFormattedText(formatId, subBlock, sizeof subBlock, status, (unsigned)info->language,
                               (unsigned)info->codePage))
            return NULL;
    } else {
        CopyText("\\", subBlock, sizeof subBlock);
    }
    void* value = NULL;
    UINT length = 0;
    if (!VerQueryValueA(info->resource, subBlock, &value, &length)) {
        SetStatus(status, ERROR_FILE_NOT_FOUND, IDS_VERQUERYVALUE_FAILED, subBlock);
        return NULL;
    }
    return value;
}
