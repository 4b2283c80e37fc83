#include "mediacheck/media_check.h"
#include "mediacheck/known_keys.h"
#include "core/format.h"

static void CheckHeader(const IndexedLine* line)
{
    const KnownKey* known = FindKnownSection(line->name);
    if (line->textAfterHeader)
        Report(line->number, SeverityWarning, "text after the ']' of [%s] is ignored", line->name);
    if (known && known->form == FormLogEntry)
        Report(line->number, SeverityWarning,
               "[%s] belongs to the install log; setup.exe reads it from setup.ini only to remove a failed update",
               line->name);
    if (known) return;
    const char* nearest = NearestSection(line->name);
    if (nearest)
        Report(line->number, SeverityError, "unknown section [%s]; did you mean [%s]?", line->name, nearest);
    else
        Report(line->number, SeverityWarning, "unknown section [%s]: setup.exe does not read it", line->name);
}

// The reader finds image keys by a case-sensitive search for the name anywhere in a key, and
// takes the digits that follow it as the resolution.
static bool CheckImageVariant(const IndexedLine* line)
{
    const char* image = FindKnownKey(line->section, "headerimage") ? "headerimage" : "image";
    if (!FindKnownKey(line->section, image)) return false;
    int at = IndexOfText(line->name, image);
    if (at < 0) {
        char folded[MAX_PATH];
        CopyText(line->name, folded, sizeof folded);
        for (char* p = folded; *p; p++)
            if (*p >= 'A' && *p <= 'Z') *p = (char)(*p + 32);
        if (IndexOfText(folded, image) < 0) return false;
        Report(line->number, SeverityError, "the reader looks for '%s' in exactly this case; '%s' is never read",
               image, line->name);
        return true;
    }
    const char* digits = line->name + lstrlenA(image);
    bool variant = at == 0;
    for (const char* p = digits; *p; p++)
        if (*p < '0' || *p > '9') variant = false;
    if (!variant)
        Report(line->number, SeverityWarning, "'%s' holds '%s', so setup takes it for a variant of %s at %u DPI",
               line->name, image, image, ParseDecimal(digits));
    return true;
}

static void CheckKey(const IndexedLine* line)
{
    if (!line->section[0]) {
        Report(line->number, SeverityWarning, "an entry before the first section is ignored");
        return;
    }
    if (!line->name[0]) {
        Report(line->number, SeverityError, "an entry without a key is never read");
        return;
    }
    if (!FindKnownSection(line->section) || FindKnownKey(line->section, line->name)) return;
    if (CheckImageVariant(line)) return;
    const char* nearest = NearestKey(line->section, line->name);
    int last = lstrlenA(line->name) - 1;
    const char* blanks = line->name[0] == ' ' || line->name[0] == '\t' || line->name[last] == ' ' || line->name[last] == '\t'
                             ? " (blanks around the key belong to it)" : "";
    if (nearest)
        Report(line->number, SeverityError, "unknown key '%s' in [%s]%s; did you mean '%s'?", line->name, line->section,
               blanks, nearest);
    else
        Report(line->number, SeverityWarning, "unknown key '%s' in [%s]: setup.exe does not read it", line->name,
               line->section);
}

static void CheckIgnored(const IndexedLine* line)
{
    if (line->name[0] == '[')
        Report(line->number, SeverityWarning, "a line that starts with '[' without a ']' is ignored, and [%s] goes on",
               line->section);
    else if (line->section[0])
        Report(line->number, SeverityWarning, "a line without '=' is ignored: %s", line->name);
    else
        Report(line->number, SeverityWarning, "a line before the first section is ignored");
}

// A second entry of a key in a section: the reader finds the first one only, and the lists of
// files, folders and shortcuts take the entry twice.
static void CheckDuplicate(const ScriptIndex* index, DWORD at)
{
    const IndexedLine* line = &index->lines[at];
    for (DWORD i = 0; i < at; i++) {
        const IndexedLine* earlier = &index->lines[i];
        if (earlier->kind != IndexedEntry || lstrcmpiA(earlier->section, line->section) || lstrcmpiA(earlier->name, line->name))
            continue;
        bool same = !lstrcmpA(earlier->value, line->value);
        Report(line->number, same ? SeverityWarning : SeverityError,
               "'%s' in [%s] is set again; line %u sets it first, and the first one counts", line->name, line->section,
               earlier->number);
        return;
    }
}

void CheckScriptNames(MediaCheck* check)
{
    const ScriptIndex* index = &check->index;
    for (DWORD i = 0; i < index->count; i++) {
        const IndexedLine* line = &index->lines[i];
        if (line->kind == IndexedHeader) CheckHeader(line);
        else if (line->kind == IndexedIgnored) CheckIgnored(line);
        else {
            CheckKey(line);
            if (line->section[0] && line->name[0]) CheckDuplicate(index, i);
        }
    }
}
