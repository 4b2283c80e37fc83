// The version macro "%productversion(file)%" and files' version resources.
#pragma once
#include <windows.h>

struct ErrorStatus;

// A file's version resource, preceded by its first translation. One GlobalAlloc block of the
// resource's size plus 4, freed by the caller with GlobalFree.
struct VersionInfo {
    WORD language;
    WORD codePage;
    BYTE resource[1];  // the whole resource as GetFileVersionInfoA returns it
};

// Expands the version macros of a text whose first "%" is at firstPercent. With no output it
// only measures; the cache (256 bytes, empty at first) carries the version from the measuring
// pass to the writing pass. Returns the expanded length.
DWORD ExpandVersionMacro(const char* text, const char* firstPercent, char* output, char* cache);

// The version block of a file (path given) or of a module (path NULL; module NULL = this
// program). Valid only when the status is clear afterwards.
VersionInfo* LoadVersionInfo(HMODULE module, const char* path, ErrorStatus* status);

// A value of the block: the root's VS_FIXEDFILEINFO for formatId 0, else the sub-block that the
// string-table format formatId names once filled with the language id and code page.
void* QueryVersionValue(VersionInfo* info, WORD formatId, ErrorStatus* status);
