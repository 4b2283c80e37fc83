#include "mediacheck/script_index.h"
#include "core/script_lines.h"

// Editor lines before the position: CR LF, a lone CR and a lone LF each end one.
static DWORD CountBreaks(const char* from, const char* to)
{
    DWORD breaks = 0;
    for (const char* p = from; p < to; p++)
        if (*p == '\n' || (*p == '\r' && (p + 1 >= to || p[1] != '\n'))) breaks++;
    return breaks;
}

static bool IsBlankOrComment(const ScriptLine* line)
{
    return line->start == line->end || *line->start == ';';
}

bool IndexScript(char* text, ScriptIndex* index)
{
    ZeroMemory(index, sizeof *index);
    index->text = text;
    DWORD length = lstrlenA(text), count = 0;
    char* position = text;
    ScriptLine line;
    while (NextScriptLine(&position, &line)) count++;
    index->names = (char*)GlobalAlloc(GMEM_FIXED, length + 1);
    index->lines = (IndexedLine*)GlobalAlloc(GMEM_FIXED, (count ? count : 1) * sizeof(IndexedLine));
    if (!index->names || !index->lines) {
        FreeScriptIndex(index);
        return false;
    }
    CopyMemory(index->names, text, length + 1);

    // The walk reads the copy; each line is cut only once the walk has passed it.
    const char* section = "";
    DWORD next = 1;
    position = index->names;
    while (NextScriptLine(&position, &line)) {
        DWORD number = next;
        next += CountBreaks(line.end, line.next);
        if (line.type == LineIgnored && IsBlankOrComment(&line)) continue;
        IndexedLine* indexed = &index->lines[index->count++];
        indexed->number = number;
        indexed->kind = line.type == LineHeader ? IndexedHeader : line.type == LineEntry ? IndexedEntry : IndexedIgnored;
        indexed->name = line.type == LineIgnored ? line.start : line.name;
        indexed->value = "";
        indexed->textAfterHeader = false;
        if (line.type == LineHeader) {
            char* close = line.name + line.nameLength;
            indexed->textAfterHeader = close + 1 < line.end;
            section = line.name;
            *close = 0;
        } else if (line.type == LineEntry) {
            char* end = line.end;
            while (end > line.value && (end[-1] == ' ' || end[-1] == '\t')) end--;
            *end = 0;
            line.name[line.nameLength] = 0;
            indexed->value = line.value;
        }
        indexed->section = section;
        *line.end = 0;
    }
    return true;
}

void FreeScriptIndex(ScriptIndex* index)
{
    if (index->names) GlobalFree(index->names);
    if (index->lines) GlobalFree(index->lines);
    index->names = NULL;
    index->lines = NULL;
    index->count = 0;
}

DWORD LineOfEntry(const ScriptIndex* index, const char* section, const char* key)
{
    for (DWORD i = 0; key && i < index->count; i++) {
        const IndexedLine* line = &index->lines[i];
        if (line->kind == IndexedEntry && !lstrcmpiA(line->section, section) && !lstrcmpiA(line->name, key))
            return line->number;
    }
    return LineOfSection(index, section);
}

DWORD LineOfSection(const ScriptIndex* index, const char* section)
{
    for (DWORD i = 0; i < index->count; i++)
        if (index->lines[i].kind == IndexedHeader && !lstrcmpiA(index->lines[i].name, section))
            return index->lines[i].number;
    return 1;
}
