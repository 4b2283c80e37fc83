#include "mediacheck/media_check.h"
#include "mediacheck/known_keys.h"
#include "mediacheck/media_files.h"
#include "core/format.h"
#include "core/script.h"
#include "core/version.h"

static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool CheckNumber(DWORD line, const char* key, const char* value, const char* what)
{
    if (!IsDigit(value[0])) {
        Report(line, SeverityError, "%s '%s' is not %s: setup reads it as 0", key, value, what);
        return false;
    }
    const char* rest = value;
    while (IsDigit(*rest)) rest++;
    char digits[11];
    CopyText(value, digits, sizeof digits);
    if (rest - value > 10 || (rest - value == 10 && lstrcmpA(digits, "4294967295") > 0))
        Report(line, SeverityWarning, "%s '%s' is larger than 4294967295, which setup reads instead", key, value);
    if (*rest && *rest != ',' && *rest != '.')
        Report(line, SeverityWarning, "%s '%s': setup reads the number and ignores '%s' (a ';' after a value is part of it)",
               key, value, rest);
    return true;
}

// "#RRGGBB" and "0xBBGGRR" are the usual slips; the decimal form of the same colour helps.
static void CheckColour(DWORD line, const char* key, const char* value)
{
    if (value[0] == '#' && lstrlenA(value) == 7) {
        DWORD rgb = 0;
        for (int i = 1; i < 7; i++) {
            char c = value[i] | 0x20;
            rgb = rgb * 16 + (DWORD)(IsDigit(value[i]) ? value[i] - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : 0);
        }
        DWORD colour = (rgb & 0xFF) << 16 | (rgb & 0xFF00) | rgb >> 16;
        Report(line, SeverityError, "%s '%s' is not a decimal colour (0x00BBGGRR); write %u", key, value, colour);
        return;
    }
    if (!CheckNumber(line, key, value, "a decimal colour (0x00BBGGRR)")) return;
    DWORD colour = ParseDecimal(value);
    if (value[0] == '0' && (value[1] | 0x20) == 'x')
        Report(line, SeverityError, "%s '%s' is hexadecimal; setup reads decimal digits only", key, value);
    else if (colour > 0xFFFFFF)
        Report(line, SeverityError, "%s '%s' is out of range: a colour is 0 to 16777215", key, value);
}

static void CheckPoint(DWORD line, const char* key, const char* value)
{
    int comma = IndexOfChar(value, ',');
    if (comma < 0) {
        Report(line, SeverityError, "%s '%s' needs two numbers x,y: setup reads 0,0", key, value);
        return;
    }
    const char* y = value + comma + 1;
    if (!IsDigit(value[value[0] == '-']) || !IsDigit(y[y[0] == '-']))
        Report(line, SeverityError, "%s '%s': each of x,y is a number that may start with '-'", key, value);
}

static void CheckMargins(DWORD line, const char* key, const char* value)
{
    const char* part = value;
    for (int i = 0; i < 4; i++) {
        if (!IsDigit(*part)) {
            Report(line, SeverityError, "%s '%s' needs four numbers left,top,right,bottom of 0 or more", key, value);
            return;
        }
        while (IsDigit(*part)) part++;
        if (i < 3 && *part++ != ',') {
            Report(line, SeverityError, "%s '%s' needs four numbers left,top,right,bottom: setup reads 0,0,0,0", key,
                   value);
            return;
        }
    }
}

static void CheckLineHeight(DWORD line, const char* key, const char* value)
{
    if (!CheckNumber(line, key, value, "a number of pixels")) return;
    const char* rest = value;
    while (IsDigit(*rest)) rest++;
    if (*rest == '.' && !IsDigit(rest[1])) Report(line, SeverityWarning, "%s '%s': no digits after the '.'", key, value);
}

static void CheckBitmap(DWORD line, const char* key, const char* value)
{
    FoundPath found;
    if (!CheckNamedPath(line, key, value, false, &found)) return;
    BYTE start[2] = { 0, 0 };
    if (ReadFileStart(found.actual, start, 2) < 2 || start[0] != 'B' || start[1] != 'M')
        Report(line, SeverityError, "%s '%s' is not a bitmap (.bmp): setup shows no image", key, value);
}

// The version macro of a title: its file, and whether that file has a product version.
static void CheckMacros(DWORD line, const char* key, const char* value, bool expanded)
{
    char folded[256];
    CopyText(value, folded, sizeof folded);
    for (char* p = folded; *p; p++)
        if (*p >= 'A' && *p <= 'Z') *p = (char)(*p + 32);
    int percent = IndexOfText(folded, "%productversion(");
    if (percent < 0) return;
    if (!expanded) {
        Report(line, SeverityWarning, "%s is shown as it is: only the Title keys expand %%productversion(...)%%", key);
        return;
    }
    const char* name = value + percent + 16;
    int end = IndexOfText(name, ")%");
    if (end < 0)
        Report(line, SeverityWarning, "%s: the version macro has no ')%%', so the rest of the text names its file", key);
    else if (IndexOfText(folded + percent + 16 + end, "%productversion(") >= 0)
        Report(line, SeverityWarning, "%s: every version macro of a text shows the version of the first one's file", key);
    char file[MAX_PATH];
    CopyText(name, file, end < 0 || end + 1 > MAX_PATH ? MAX_PATH : end + 1);
    FoundPath found;
    if (!CheckNamedPath(line, key, file, false, &found)) return;
    char cache[256] = "";
    ExpandVersionMacro(value, value + percent, NULL, cache);
    if (!cache[0])
        Report(line, SeverityError, "%s: '%s' has no product version in a version resource, so the macro shows nothing",
               key, file);
}

static bool HasKey(const MediaCheck* check, const char* section, const char* key)
{
    return GetScriptValueSize(check->index.text, section, key) != 0xFFFFFFFF;
}

// Keys that take effect only beside another one.
static void CheckCompanion(const MediaCheck* check, const IndexedLine* line)
{
    if (!lstrcmpiA(line->section, "Setup")) {
        if (!lstrcmpiA(line->name, "headerlinecolor") && !HasKey(check, "Setup", "headerlineheight"))
            Report(line->number, SeverityWarning, "headerlinecolor is read only together with headerlineheight");
        if (!lstrcmpiA(line->name, "headerlineheight") && !HasKey(check, "Setup", "headerlinecolor"))
            Report(line->number, SeverityWarning, "without headerlinecolor the strip of headerlineheight is not drawn");
        return;
    }
    bool headerKey = !lstrcmpiA(line->name, "HeaderBackColor") || !lstrcmpiA(line->name, "HeaderRTF")
                     || !lstrcmpiA(line->name, "HeaderRTFMargins");
    if (headerKey && !SectionHasKeyLike(check->index.text, line->section, "headerimage"))
        Report(line->number, SeverityWarning, "%s takes effect only when [%s] has a headerimage", line->name, line->section);
}

// Image variants without the plain key leave every screen below the smallest variant's
// resolution without an image.
static void CheckImageBase(const ScriptIndex* index)
{
    for (int i = 0; i < KnownKeyCount; i++) {
        const char* image = KnownKeys[i].key;
        if (!IsImageKey(image)) continue;
        DWORD smallest = 0xFFFFFFFF, line = 0;
        bool plain = false;
        for (DWORD j = 0; j < index->count; j++) {
            const IndexedLine* entry = &index->lines[j];
            if (entry->kind != IndexedEntry || lstrcmpiA(entry->section, KnownKeys[i].section)
                || IndexOfText(entry->name, image) != 0)
                continue;
            const char* digits = entry->name + lstrlenA(image);
            if (!digits[0]) plain = true;
            else if (digits[0] >= '0' && digits[0] <= '9' && ParseDecimal(digits) < smallest) {
                smallest = ParseDecimal(digits);
                line = entry->number;
            }
        }
        if (!plain && line)
            Report(line, smallest > 96 ? SeverityError : SeverityWarning,
                   "[%s] has %s variants but no plain %s: screens below %u DPI show no image", KnownKeys[i].section,
                   image, image, smallest);
    }
}

void CheckScriptValues(MediaCheck* check)
{
    CheckImageBase(&check->index);
    const ScriptIndex* index = &check->index;
    for (DWORD i = 0; i < index->count; i++) {
        const IndexedLine* line = &index->lines[i];
        if (line->kind != IndexedEntry || !line->name[0]) continue;
        const KnownKey* known = FindKnownKey(line->section, line->name);
        int form = known ? known->form : -1;
        // Variants of the image keys ("image144") are bitmaps too.
        if (!known && (IndexOfText(line->name, "image") >= 0) && FindKnownSection(line->section)
            && (FindKnownKey(line->section, "image") || FindKnownKey(line->section, "headerimage")))
            form = FormBitmap;
        if (form < 0 || form >= FormInstallFile || LineOfEntry(index, line->section, line->name) != line->number)
            continue;
        const char* key = line->name;
        const char* value = line->value;
        CheckMacros(line->number, key, value, form == FormTitle);
        CheckCompanion(check, line);
        if (!value[0]) continue;  // an empty value keeps the default
        switch (form) {
        case FormFlag: CheckNumber(line->number, key, value, "a flag (1 or 0)"); break;
        case FormNumber: CheckNumber(line->number, key, value, "a number"); break;
        case FormColour: CheckColour(line->number, key, value); break;
        case FormLineHeight: CheckLineHeight(line->number, key, value); break;
        case FormPoint: CheckPoint(line->number, key, value); break;
        case FormMargins: CheckMargins(line->number, key, value); break;
        case FormBitmap: CheckBitmap(line->number, key, value); break;
        case FormRichText: {
            FoundPath found;
            CheckNamedPath(line->number, key, value, false, &found);
            break;
        }
        case FormEdition:
            if (ParseDecimal(value) != 4)
                Report(line->number, SeverityWarning, "%s '%s': only 4 selects the second edition", key, value);
            break;
        }
    }
}
