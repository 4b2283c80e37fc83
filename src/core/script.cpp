#include "core/script.h"
#include "core/script_lines.h"
#include "core/error_status.h"
#include "core/format.h"
#include "core/version.h"

// A section, key or default given as a string id is loaded into the buffer; a text is used as
// it is. NULL when the id cannot be loaded.
static const char* ResolveName(const char* name, char* buffer, int size)
{
    if (!IS_INTRESOURCE(name)) return name;
    WORD id = (WORD)(UINT_PTR)name;
    if (!id || !LoadResString(id, buffer, size, NULL)) return NULL;
    return buffer;
}

static DWORD CopyCut(const char* source, DWORD length, char* buffer, DWORD size)
{
    if (length > size - 1) length = size - 1;
    CopyMemory(buffer, source, length);
    buffer[length] = 0;
    return length;
}

// An entry's value without the spaces and tabs at the end of its line.
static DWORD TrimmedValueLength(const ScriptLine* line)
{
    const char* end = line->end;
    while (end > line->value && (end[-1] == ' ' || end[-1] == '\t')) end--;
    return (DWORD)(end - line->value);
}

static bool IsImageKey(const char* key)
{
    return !lstrcmpiA(key, "image") || !lstrcmpiA(key, "headerimage");
}

// The first entry of the section whose key matches; 0 when there is none.
static int FindEntry(char* text, const char* section, const char* key, ScriptLine* found)
{
    WantedName wantedKey;
    PrepareWantedName(&wantedKey, key);
    SectionWalk walk;
    StartSectionWalk(&walk, text, section);
    ScriptLine line;
    while (NextSectionEntry(&walk, &line)) {
        if (NameMatches(&wantedKey, line.name, line.nameLength, line.nameKind)) {
            *found = line;
            return 1;
        }
    }
    return 0;
}

// The image variant that best fits the screen: the largest number after the name that is not
// above the screen's resolution, the name alone counting as 0.
static int FindImageVariant(char* text, const char* section, const char* key, ScriptLine* found)
{
    int screen = ScreenResolution();
    WantedName wantedSection;
    PrepareWantedName(&wantedSection, section);
    DWORD keyLength = lstrlenA(key);
    bool inside = false;
    long long best = -1;
    char* position = text;
    ScriptLine line;
    while (NextScriptLine(&position, &line)) {
        if (line.type == LineHeader) {
            // A section that gave a variant ends the search; one whose variants all need a
            // finer screen lets later occurrences of the section have their say.
            if (inside && best >= 0) break;
            inside = NameMatches(&wantedSection, line.name, line.nameLength, line.nameKind);
            continue;
        }
        if (!inside || line.type != LineEntry || !NameContains(line.name, line.nameLength, key, keyLength))
            continue;
        char digits[10];
        CopyCut(line.name + keyLength, line.nameLength - keyLength, digits, sizeof digits);
        long long resolution = ParseDecimal(digits);
        if (resolution <= screen && resolution > best) {
            best = resolution;
            *found = line;
        }
    }
    return best >= 0;
}

// The section's key list; the buffer is at least 2 bytes.
static DWORD ListKeys(char* text, const char* section, char* buffer, DWORD size)
{
    DWORD written = 0;
    if (text) {
        SectionWalk walk;
        StartSectionWalk(&walk, text, section);
        ScriptLine line;
        while (NextSectionEntry(&walk, &line)) {
            // An empty key ("=0") would end the list for every reader, hiding the entries
            // after it; it names nothing anyway.
            if (!line.nameLength) continue;
            // Room for the name's NUL and the list's closing NUL; a name is cut to what is
            // left, and a name that would be cut to nothing ends the list.
            DWORD left = size - written - 1;
            if (left < 2) break;
            written += CopyCut(line.name, line.nameLength, buffer + written, left) + 1;
        }
    }
    buffer[written] = 0;
    return written;
}

DWORD GetScriptValue(char* text, const char* section, const char* key, const char* defaultValue,
                     char* buffer, DWORD size)
{
    if (!buffer || !size) return 0;
    char sectionBuffer[64], keyBuffer[64], defaultBuffer[256];
    section = ResolveName(section, sectionBuffer, sizeof sectionBuffer);

    if (!key) {
        buffer[0] = 0;
        if (!section || size < 2) return 0;
        return ListKeys(text, section, buffer, size);
    }

    key = ResolveName(key, keyBuffer, sizeof keyBuffer);
    defaultValue = ResolveName(defaultValue, defaultBuffer, sizeof defaultBuffer);
    if (!defaultValue) defaultValue = "";

    ScriptLine found = {};
    if (section && key && text && *text
        && (IsImageKey(key) ? FindImageVariant(text, section, key, &found)
                            : FindEntry(text, section, key, &found)))
        return CopyCut(found.value, TrimmedValueLength(&found), buffer, size);
    return CopyCut(defaultValue, lstrlenA(defaultValue), buffer, size);
}

DWORD GetScriptValueSize(char* text, const char* section, const char* key)
{
    char sectionBuffer[64], keyBuffer[64];
    section = ResolveName(section, sectionBuffer, sizeof sectionBuffer);

    if (key) {
        key = ResolveName(key, keyBuffer, sizeof keyBuffer);
        ScriptLine found = {};
        if (!section || !key || !text || !*text || !FindEntry(text, section, key, &found))
            return 0xFFFFFFFF;
        return (DWORD)(found.end - found.value) + 1;
    }

    DWORD size = 1;
    if (!section || !text) return size;
    SectionWalk walk;
    StartSectionWalk(&walk, text, section);
    ScriptLine line;
    while (NextSectionEntry(&walk, &line))
        if (line.nameLength) size += line.nameLength + 1;  // empty keys are not listed
    return size;
}

void GetScriptKeyList(char* text, const char* section, char** list, DWORD* capacity, ErrorStatus* status)
{
    if (status && status->code) return;
    DWORD size = GetScriptValueSize(text, section, NULL);
    if (size > *capacity || !*list) {
        if (*list) GlobalFree(*list);
        *capacity = 0;
        *list = (char*)GlobalAlloc(GMEM_FIXED, size);
        if (!*list) {
            SetStatus(status, GetLastError(), 0);
            return;
        }
        *capacity = size;
    }
    GetScriptValue(text, section, NULL, NULL, *list, *capacity);
}

int SectionHasKeyLike(char* text, const char* section, const char* part)
{
    char sectionBuffer[64], partBuffer[64];
    section = ResolveName(section, sectionBuffer, sizeof sectionBuffer);
    part = ResolveName(part, partBuffer, sizeof partBuffer);
    if (!section || !part || !text) return 0;

    DWORD partLength = lstrlenA(part);
    SectionWalk walk;
    StartSectionWalk(&walk, text, section);
    ScriptLine line;
    while (NextSectionEntry(&walk, &line))
        if (NameContains(line.name, line.nameLength, part, partLength)) return 1;
    return 0;
}

char* GetExpandedScriptValue(char* text, const char* section, const char* key)
{
    char value[256];
    DWORD length = GetScriptValue(text, section, key, "", value, sizeof value);
    if (!length) return NULL;

    int percent = IndexOfChar(value, '%');
    if (percent < 0) {
        char* copy = (char*)GlobalAlloc(GMEM_FIXED, length + 1);
        if (copy) CopyMemory(copy, value, length + 1);
        return copy;
    }
    char cache[256];
    cache[0] = 0;
    DWORD expandedLength = ExpandVersionMacro(value, value + percent, NULL, cache);
    char* expanded = (char*)GlobalAlloc(GMEM_FIXED, expandedLength + 1);
    if (expanded) ExpandVersionMacro(value, value + percent, expanded, cache);
    return expanded;
}

static bool IsBlankCrLfLine(const ScriptLine* line)
{
    return line->start == line->end && line->end[0] == '\r' && line->next == line->end + 2;
}

void SetScriptValue(char** text, const char* section, const char* key, const char* value, ErrorStatus* status)
{
    if (status && status->code) return;
    char sectionBuffer[64], keyBuffer[64], valueBuffer[256];
    section = ResolveName(section, sectionBuffer, sizeof sectionBuffer);
    key = ResolveName(key, keyBuffer, sizeof keyBuffer);
    if (value && IS_INTRESOURCE(value)) {
        // An id that does not load must not turn the change into a deletion.
        value = ResolveName(value, valueBuffer, sizeof valueBuffer);
        if (!value) return;
    }
    if (!section || !key || !text || !*text) return;

    // Only the first occurrence of the section counts. A new entry goes after the section's last
    // line that is not a blank CR LF line (right after the header when there is none).
    char* old = *text;
    WantedName wantedSection, wantedKey;
    PrepareWantedName(&wantedSection, section);
    PrepareWantedName(&wantedKey, key);
    char* sectionStart = NULL;
    char* insertAt = NULL;
    ScriptLine found = {};
    bool isFound = false;
    char* position = old;
    ScriptLine line;
    while (NextScriptLine(&position, &line)) {
        if (!sectionStart) {
            if (line.type == LineHeader && NameMatches(&wantedSection, line.name, line.nameLength, line.nameKind))
                sectionStart = insertAt = line.next;
            continue;
        }
        if (line.type == LineHeader) break;
        if (line.type == LineEntry && NameMatches(&wantedKey, line.name, line.nameLength, line.nameKind)) {
            found = line;
            isFound = true;
            break;
        }
        if (!IsBlankCrLfLine(&line)) insertAt = line.next;
    }
    if (!sectionStart || (!isFound && !value)) return;

    char* at = isFound ? found.start : insertAt;
    char* rest = isFound ? found.next : insertAt;
    // A section whose last line ends the text without a line break gets one first, so that the
    // new entry starts a line of its own.
    bool breakFirst = !isFound && !*at && at > old && at[-1] != '\r' && at[-1] != '\n';
    size_t keyLength = lstrlenA(key);
    size_t valueLength = value ? lstrlenA(value) : 0;
    size_t inserted = value ? (breakFirst ? 2 : 0) + keyLength + 1 + valueLength + 2 : 0;
    size_t removed = (size_t)(rest - at);
    size_t restLength = lstrlenA(rest);

    char* target = old;
    if (inserted > removed) {
        size_t newSize = (size_t)(at - old) + inserted + restLength + 1;
        target = (char*)GlobalAlloc(GMEM_FIXED, newSize);
        if (!target) {
            SetStatus(status, GetLastError(), 0);
            return;
        }
        CopyMemory(target, old, (size_t)(at - old));
        CopyMemory(target + (at - old) + inserted, rest, restLength + 1);
    } else {
        MoveMemory(at + inserted, rest, restLength + 1);
    }

    char* out = target + (at - old);
    if (value) {
        if (breakFirst) { *out++ = '\r'; *out++ = '\n'; }
        CopyMemory(out, key, keyLength);
        out += keyLength;
        *out++ = '=';
        CopyMemory(out, value, valueLength);
        out += valueLength;
        *out++ = '\r';
        *out++ = '\n';
    }
    if (target != old) {
        GlobalFree(old);
        *text = target;
    }
}

void SetScriptNumber(char** text, const char* section, const char* key, DWORD number, ErrorStatus* status)
{
    char value[16];
    FormatText(value, sizeof value, "%u", number);
    SetScriptValue(text, section, key, value, status);
}
