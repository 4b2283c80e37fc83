// One section of a setup script or install log, read in one walk of its text: the entries in
// file order (the section's key list, duplicates included) and an index over their keys that
// answers a lookup as GetScriptValue does (the first entry whose key equals the given one
// without regard to case, as NameMatches decides, wins) in constant time on average, where
// GetScriptValue walks the whole text. For the runs that look up every entry of a long log.
//
// Values point into the text, which must not change while the index is used: an index is built
// again after each write to its text.
#pragma once
#include <windows.h>

struct ErrorStatus;

const DWORD NoSectionEntry = 0xFFFFFFFF;

struct SectionEntry {
    char* key;          // NUL-ended, in the index's own block; may be empty ("=0")
    DWORD keyLength;
    BYTE keyKind;       // as NextScriptLine gives it
    const char* value;  // in the text, valueLength bytes (trailing blanks and tabs left out)
    DWORD valueLength;
    DWORD first;        // the first entry whose key equals this one's (itself when none before it)
    DWORD hash;
    DWORD nextSameHash; // NoSectionEntry ends a chain
    DWORD group;        // keys with hard characters, when NameSharedStartShortcut holds: see .cpp
    DWORD nextInGroup;
};

struct SectionIndex {
    DWORD count;
    SectionEntry* entries;
    char* keys;            // the keys, each NUL-ended
    DWORD* buckets;        // first entry of each hash chain
    DWORD bucketMask;
    DWORD* plain;          // chained entries whose keys hold no hard character
    DWORD plainCount;
    DWORD* others;         // entries whose keys are compared one by one: see .cpp
    DWORD otherCount;
    DWORD* groups;         // first entry of each group
    DWORD groupCount;
    int shortcuts;         // NameComparisonShortcuts() when built
};

// Reads the entries of the section (given by name or string id, as GetScriptValue takes it;
// several sections of one name count as one). A section that is missing, or an id that does not
// load, gives no entries. A failed allocation stores the system's
// code and leaves the index empty; it may be freed after any result.
void BuildSectionIndex(char* text, const char* section, SectionIndex* index, ErrorStatus* status);

// The first entry whose key equals the key, or NoSectionEntry.
DWORD FindSectionEntry(const SectionIndex* index, const char* key);

// The value that GetScriptValue gives for the entry's own key: that of the first entry with an
// equal key, cut to the buffer. Returns its length.
DWORD GetEntryValue(const SectionIndex* index, DWORD entry, char* buffer, DWORD size);

// As GetScriptValue (text, section, key, defaultValue, buffer, size) on the text it was built
// from, for a key given as text (not as a string id) other than "image" and "headerimage".
DWORD GetSectionValue(const SectionIndex* index, const char* key, const char* defaultValue, char* buffer,
                      DWORD size);

void FreeSectionIndex(SectionIndex* index);
