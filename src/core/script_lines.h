// The line syntax of the setup script, shared by its reader and writer: one line at a time from
// the text's start, and cheap matching of section and key names.
//
// A line ends at CR, LF or the text's NUL; an LF right after the break belongs to it (CR LF and
// LF LF are one break). A line that starts with "[" and holds a "]" is a section header; a line
// inside a section that holds "=" is an entry. Blank lines, comments (";" first), lines before
// the first header and lines that start with "[" without a "]" are ignored.
#pragma once
#include <windows.h>

enum ScriptLineType { LineIgnored, LineHeader, LineEntry };

struct ScriptLine {
    char* start;      // first character of the line
    char* end;        // its line break, or the text's NUL
    char* next;       // the line after the break
    int type;         // ScriptLineType
    char* name;       // header: the section name after "["; entry: the key
    DWORD nameLength; // up to the first "]" of a header, the first "=" of an entry
    BYTE nameKind;    // what the name's characters need for a comparison (see NameMatches)
    char* value;      // entry: the text after the first "=", up to end
};

// Reads the line at *position and moves the position to the next one. 0 at the text's end.
// The text is only read.
int NextScriptLine(char** position, ScriptLine* line);

// A name that is compared with the names of many lines, prepared once.
struct WantedName {
    const char* text;
    DWORD length;
    BYTE kind;
};

void PrepareWantedName(WantedName* wanted, const char* text);

// Whether a name of a line equals the wanted one, with exactly the result of lstrcmpiA. Names of
// printable ASCII characters are compared here; others are handed to lstrcmpiA, for which the
// byte after the name is set to NUL for the call and put back afterwards.
bool NameMatches(const WantedName* wanted, char* name, DWORD length, BYTE kind);

// A walk over the entry lines of one section; several sections of one name count as one.
struct SectionWalk {
    WantedName section;
    char* position;
    bool inside;
};

void StartSectionWalk(SectionWalk* walk, char* text, const char* section);
// The section's next entry line; 0 at the text's end.
int NextSectionEntry(SectionWalk* walk, ScriptLine* line);

// Whether the name holds the part (case-sensitive, anywhere).
bool NameContains(const char* name, DWORD length, const char* part, DWORD partLength);

// For an index over many names (section_index.h), what may be assumed of NameMatches without
// calling it. Bits of NameComparisonShortcuts:
// - NamePlainShortcut: names without hyphens, apostrophes or hard characters (controls and bytes
//   above 0x7E) are equal exactly when they are the same but for the case of ASCII letters; names
//   without hard characters are never equal when they differ once hyphens and apostrophes are
//   left out;
// - NameSharedStartShortcut: two names whose texts up to and including their last hyphen,
//   apostrophe or hard character are the same but for the case of ASCII letters are equal
//   exactly when the whole names are.
// Without a bit, what it states is left to NameMatches.
enum { NamePlainShortcut = 1, NameSharedStartShortcut = 2 };
int NameComparisonShortcuts();

// Whether a name of this kind holds a hard character.
bool IsHardName(BYTE kind);

// A hash of the name with ASCII letters made small; with dropSoft, hyphens and apostrophes are
// left out.
DWORD FoldedNameHash(const char* name, DWORD length, bool dropSoft);

// The length of the name up to and including its last hyphen, apostrophe or hard character; 0
// when it holds none.
DWORD OddPrefixLength(const char* name, DWORD length);

// Whether the two texts of that length are the same but for the case of ASCII letters.
bool FoldedEqual(const char* a, const char* b, DWORD length);
