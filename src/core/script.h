// The setup script and the install log: a whole INI-style file held in one NUL-ended block,
// looked up by section and key (case-insensitive), listed, changed in memory and written back.
//
// Sections, keys and defaults may be given as string ids with MAKEINTRESOURCEA(id): a value
// below 0x10000 is an id whose text is loaded first (64 bytes for a section or key, 256 for a
// default). Every lookup walks the text from its start and leaves it byte-for-byte unchanged.
#pragma once
#include <windows.h>

struct ErrorStatus;

// The file's bytes and a NUL in one GlobalAlloc block (the caller frees it with GlobalFree),
// or NULL with the system's last error.
char* ReadWholeFile(const char* path);
// The same, with the number of bytes read, which tells whether the file held NUL bytes.
char* ReadWholeFileSized(const char* path, DWORD* bytes);

// Writes the text up to its NUL over the file.
void WriteWholeFile(const char* text, const char* path, ErrorStatus* status);

// A value (key given) or the section's key list (key NULL) into the buffer, cut to its size.
// Returns the length of the text left in the buffer (for a key list, the bytes written
// without the closing NUL). The keys "image" and "headerimage" pick the variant that best fits
// the screen's resolution.
DWORD GetScriptValue(char* text, const char* section, const char* key, const char* defaultValue,
                     char* buffer, DWORD size);

// The screen's vertical resolution (LOGPIXELSY) that chooses the image variants; read once per
// lookup of an image key. Tests point it at a function of their own.
extern int (*ScreenResolution)();

// For a key: the value's length plus 1, or 0xFFFFFFFF when there is none.
// For NULL: the size that the section's key list needs.
DWORD GetScriptValueSize(char* text, const char* section, const char* key);

// The section's key list in *list, grown (GlobalAlloc) when *capacity is too small. The caller
// keeps the buffer across calls and frees it at the end.
void GetScriptKeyList(char* text, const char* section, char** list, DWORD* capacity, ErrorStatus* status);

// The key after this one in a key list; the list ends at an empty key.
inline const char* NextKey(const char* key) { return key + lstrlenA(key) + 1; }

// 1 if an entry of the section has a key that contains the part (case-sensitive), else 0.
int SectionHasKeyLike(char* text, const char* section, const char* part);

// The value with its version macros expanded, in a new GlobalAlloc block; NULL when the value
// is missing or empty.
char* GetExpandedScriptValue(char* text, const char* section, const char* key);

// Replaces, inserts (value given) or deletes (value NULL) an entry in the first occurrence of
// the section; a missing section changes nothing. The text may move to a larger block. A new
// entry goes after the section's last line that is not blank. The value, too, may be a string
// id; one that cannot be loaded changes nothing.
void SetScriptValue(char** text, const char* section, const char* key, const char* value, ErrorStatus* status);
void SetScriptNumber(char** text, const char* section, const char* key, DWORD number, ErrorStatus* status);
