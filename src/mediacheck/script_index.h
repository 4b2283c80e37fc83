// The setup script as the media checker sees it: every line that the script reader takes for a
// header or an entry, and every other line that is not blank or a comment, with its line number
// in an editor. The lines come from the reader's own line walk (core/script_lines.h), so the
// checker reads the script exactly as setup.exe does.
#pragma once
#include <windows.h>

enum IndexedLineKind { IndexedHeader, IndexedEntry, IndexedIgnored };

struct IndexedLine {
    DWORD number;         // 1 for the file's first line
    int kind;             // IndexedLineKind
    const char* section;  // the section the line stands in (a header: its own), "" before the first
    const char* name;     // header: the section name; entry: the key as written; ignored: the line
    const char* value;    // entry: the value without its trailing blanks and tabs
    bool textAfterHeader; // header: text follows its "]"
};

struct ScriptIndex {
    char* text;           // the script as read, which the reader's lookups take
    char* names;          // a copy of it, cut into the NUL-ended names and values above
    IndexedLine* lines;
    DWORD count;
};

// Indexes the text (kept by the caller); false when memory runs out.
bool IndexScript(char* text, ScriptIndex* index);
void FreeScriptIndex(ScriptIndex* index);

// The line of the first entry of the section with the key (names compared without regard to
// case), else of the section's first header, else 1.
DWORD LineOfEntry(const ScriptIndex* index, const char* section, const char* key);
DWORD LineOfSection(const ScriptIndex* index, const char* section);
