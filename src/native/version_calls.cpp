// The version resource calls natively: the version resource (type 16) of a Windows program or
// library, read from the file's resource section, as the media checker needs it to tell whether
// a product file carries a version. Kept in a file of their own so that a native program may
// bring its own (the version macro's fuzz target does). Only the Unicode form of the resource
// that 32-bit and 64-bit programs carry is read.
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

static DWORD Word(const BYTE* p) { return (DWORD)p[0] | (DWORD)p[1] << 8; }
static DWORD Dword(const BYTE* p) { return Word(p) | Word(p + 2) << 16; }

static bool ReadAt(FILE* file, long offset, void* buffer, size_t size)
{
    return fseek(file, offset, SEEK_SET) == 0 && fread(buffer, 1, size, file) == size;
}

// The first entry of a resource directory, or the entry with the id; 0 when there is none.
static DWORD DirectoryEntry(const BYTE* section, DWORD size, DWORD directory, long id)
{
    if (directory + 16 > size) return 0;
    DWORD count = Word(section + directory + 12) + Word(section + directory + 14);
    for (DWORD i = 0; i < count; i++) {
        DWORD entry = directory + 16 + 8 * i;
        if (entry + 8 > size) return 0;
        if (id < 0 || Dword(section + entry) == (DWORD)id) return Dword(section + entry + 4);
    }
    return 0;
}

// The file's version resource in a malloc'ed block; NULL when it has none.
static BYTE* LoadVersionResource(const char* path, DWORD* length)
{
    FILE* file = fopen(path, "rb");
    if (!file) return NULL;
    BYTE* resource = NULL;
    BYTE header[264];
    BYTE* section = NULL;
    if (ReadAt(file, 0, header, 64) && header[0] == 'M' && header[1] == 'Z') {
        long pe = (long)Dword(header + 60);
        if (ReadAt(file, pe, header, 24 + 240) && !memcmp(header, "PE\0\0", 4)) {
            DWORD sections = Word(header + 6), optionalSize = Word(header + 20);
            const BYTE* optional = header + 24;
            DWORD directories = Word(optional) == 0x20B ? 112 : 96;  // PE32+ or PE32
            DWORD rva = directories + 24 <= optionalSize && directories + 24 <= 240 ? Dword(optional + directories + 16) : 0;
            BYTE entry[40];
            for (DWORD i = 0; rva && i < sections && !section; i++) {
                if (!ReadAt(file, pe + 24 + (long)optionalSize + 40 * (long)i, entry, 40)) break;
                DWORD base = Dword(entry + 12), rawSize = Dword(entry + 16), rawOffset = Dword(entry + 20);
                if (rva < base || rva >= base + rawSize || rawSize > 256u << 20) continue;
                section = (BYTE*)malloc(rawSize);
                if (section && !ReadAt(file, (long)rawOffset, section, rawSize)) {
                    free(section);
                    section = NULL;
                }
                // Resource type 16, its first name, its first language: the data entry.
                DWORD at = section ? rva - base : 0;
                DWORD type = section ? DirectoryEntry(section, rawSize, at, 16) : 0;
                DWORD name = type & 0x80000000 ? DirectoryEntry(section, rawSize, at + (type & 0x7FFFFFFF), -1) : 0;
                DWORD language = name & 0x80000000 ? DirectoryEntry(section, rawSize, at + (name & 0x7FFFFFFF), -1) : 0;
                DWORD data = at + language;
                if (name & 0x80000000 && language && !(language & 0x80000000) && data + 8 <= rawSize) {
                    DWORD dataRva = Dword(section + data), dataSize = Dword(section + data + 4);
                    if (dataRva >= base && dataRva - base + (unsigned long long)dataSize <= rawSize && dataSize
                        && (resource = (BYTE*)malloc(dataSize)) != NULL) {
                        memcpy(resource, section + (dataRva - base), dataSize);
                        *length = dataSize;
                    }
                }
            }
        }
    }
    free(section);
    fclose(file);
    return resource;
}

// Room for the resource and, behind it, the ANSI copies of its texts that VerQueryValueA makes.
DWORD GetFileVersionInfoSizeA(const char* path, DWORD* handle)
{
    if (handle) *handle = 0;
    DWORD length = 0;
    BYTE* resource = LoadVersionResource(path, &length);
    if (!resource || length < 6 || Word(resource) > length) {
        free(resource);
        SetLastError(1813);  // ERROR_RESOURCE_TYPE_NOT_FOUND
        return 0;
    }
    length = Word(resource);
    free(resource);
    return 2 * length;
}

BOOL GetFileVersionInfoA(const char* path, DWORD, DWORD size, void* data)
{
    DWORD length = 0;
    BYTE* resource = LoadVersionResource(path, &length);
    if (!resource || length < 6 || Word(resource) > length || size < 2 * (DWORD)Word(resource)) {
        free(resource);
        SetLastError(1813);
        return FALSE;
    }
    memcpy(data, resource, Word(resource));
    free(resource);
    return TRUE;
}

// A node of the resource: length, value length, type, its UTF-16 key, its value and its children,
// each aligned to 4 bytes from the block's start.
static DWORD Align(DWORD offset) { return (offset + 3) & ~3u; }

static DWORD ValueOffset(const BYTE* block, DWORD node, DWORD end)
{
    DWORD p = node + 6;
    while (p + 1 < end && Word(block + p)) p += 2;
    return Align(p + 2);
}

static bool KeyEquals(const BYTE* block, DWORD node, const char* name, DWORD nameLength)
{
    DWORD p = node + 6, i = 0;
    for (; i < nameLength; i++, p += 2) {
        DWORD c = Word(block + p), wanted = (BYTE)name[i];
        if (c >= 'A' && c <= 'Z') c += 32;
        if (wanted >= 'A' && wanted <= 'Z') wanted += 32;
        if (c != wanted) return false;
    }
    return Word(block + p) == 0;
}

BOOL VerQueryValueA(const void* data, const char* subBlock, void** value, UINT* length)
{
    BYTE* block = (BYTE*)data;
    DWORD total = Word(block), node = 0, end = total;
    const char* part = subBlock;
    while (*part) {
        while (*part == '\\') part++;
        if (!*part) break;
        DWORD partLength = 0;
        while (part[partLength] && part[partLength] != '\\') partLength++;
        DWORD valueLength = Word(block + node + 2), type = Word(block + node + 4);
        DWORD child = Align(ValueOffset(block, node, end) + valueLength * (type == 1 ? 2 : 1));
        DWORD found = 0;
        for (; child + 6 <= end && Word(block + child) >= 6; child = Align(child + Word(block + child)))
            if (KeyEquals(block, child, part, partLength)) {
                found = child;
                break;
            }
        if (!found) return FALSE;
        node = found;
        end = node + Word(block + node) <= total ? node + Word(block + node) : total;
        part += partLength;
    }
    DWORD valueLength = Word(block + node + 2), type = Word(block + node + 4), at = ValueOffset(block, node, end);
    if (!valueLength || at + valueLength * (type == 1 ? 2 : 1) > end) return FALSE;
    if (type != 1) {
        *value = block + at;
        *length = valueLength;
        return TRUE;
    }
    // Texts in the ANSI code page, whose native form keeps the first 256 characters.
    char* text = (char*)block + total + at / 2;
    for (DWORD i = 0; i < valueLength; i++) {
        DWORD c = Word(block + at + 2 * i);
        text[i] = (char)(c < 256 ? c : '?');
    }
    text[valueLength - 1] = 0;
    *value = text;
    *length = valueLength;
    return TRUE;
}

DWORD GetModuleFileNameA(HMODULE, char* buffer, DWORD size)
{
    if (size) buffer[0] = 0;
    SetLastError(ERROR_FILE_NOT_FOUND);
    return 0;
}
