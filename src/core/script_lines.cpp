#include "core/script_lines.h"

// What one byte means to the walk and to name comparisons.
enum : BYTE {
    ByteLineEnd = 1,   // CR, LF or the text's NUL
    ByteEquals = 2,
    ByteClose = 4,     // "]"
    ByteSoft = 8,      // hyphen and apostrophe: word sort gives them a weight of their own
    ByteHard = 16,     // controls and every byte above 0x7E: only lstrcmpiA knows how they compare
};

struct ByteTable {
    BYTE kind[256];
    BYTE folded[256];  // ASCII capitals made small; nothing else changes
    constexpr ByteTable() : kind(), folded()
    {
        for (int c = 0; c < 256; c++) {
            BYTE bits = 0;
            if (c == 0 || c == '\r' || c == '\n') bits |= ByteLineEnd;
            if (c == '=') bits |= ByteEquals;
            if (c == ']') bits |= ByteClose;
            if (c == '-' || c == '\'') bits |= ByteSoft;
            else if (c < 0x20 || c > 0x7E) bits |= ByteHard;
            kind[c] = bits;
            folded[c] = (BYTE)(c >= 'A' && c <= 'Z' ? c + 32 : c);
        }
    }
};

static constexpr ByteTable Bytes;

static inline BYTE KindOf(const char* p) { return Bytes.kind[(BYTE)*p]; }

int NextScriptLine(char** position, ScriptLine* line)
{
    char* p = *position;
    if (!*p) return 0;

    line->start = p;
    line->type = LineIgnored;
    line->name = NULL;
    line->nameLength = 0;
    line->nameKind = 0;
    line->value = NULL;

    BYTE kind = 0;
    if (*p == '[') {
        char* name = ++p;
        while (!(KindOf(p) & (ByteLineEnd | ByteClose))) kind |= KindOf(p++);
        if (*p == ']') {
            line->type = LineHeader;
            line->name = name;
            line->nameLength = (DWORD)(p - name);
            line->nameKind = kind;
        }
    } else if (*p != ';') {
        char* name = p;
        // The key and the line's end are found in one pass; this loop is where lookups in a
        // long install log spend their time.
        while (!(KindOf(p) & (ByteLineEnd | ByteEquals))) kind |= KindOf(p++);
        if (*p == '=') {
            line->type = LineEntry;
            line->name = name;
            line->nameLength = (DWORD)(p - name);
            line->nameKind = kind;
            line->value = ++p;
        }
    }
    while (!(KindOf(p) & ByteLineEnd)) p++;

    line->end = p;
    if (*p == '\r' || *p == '\n') {
        p++;
        if (*p == '\n') p++;
    }
    line->next = p;
    *position = p;
    return 1;
}

void PrepareWantedName(WantedName* wanted, const char* text)
{
    BYTE kind = 0;
    const char* p = text;
    while (*p) kind |= KindOf(p++);
    wanted->text = text;
    wanted->length = (DWORD)(p - text);
    wanted->kind = kind;
}

// Compares the name with lstrcmpiA itself; the name is cut with a NUL for the call only.
static bool MatchesByLstrcmpi(const WantedName* wanted, char* name, DWORD length)
{
    char saved = name[length];
    name[length] = 0;
    bool equal = lstrcmpiA(name, wanted->text) == 0;
    name[length] = saved;
    return equal;
}

static bool IsPlain(int c) { return !(Bytes.kind[c] & (ByteSoft | ByteHard)); }

// The shortcuts below rest on what lstrcmpiA does with printable ASCII: two such characters are
// equal exactly when they are the same but for the case of a letter, none is ever ignored, and
// a letter pair does not change its meaning with its case (as in a locale's digraphs). The
// thread's locale is asked once; where it differs, every comparison goes to lstrcmpiA.
enum { ShortcutPlainNames = NamePlainShortcut, ShortcutSharedStart = NameSharedStartShortcut };

static bool IsSingleByte(UINT codePage)
{
    CPINFO info;
    return GetCPInfo(codePage, &info) && info.MaxCharSize == 1;
}

static int ComparisonShortcuts()
{
    static int known = -1;
    if (known >= 0) return known;
    bool plain = true;
    char x[3] = { 0, 0, 0 }, y[3] = { 0, 0, 0 };
    for (int c = 0x20; c < 0x7F && plain; c++) {
        if (!IsPlain(c)) continue;
        x[0] = 'a', x[1] = (char)c, y[0] = 'a', y[1] = 0;
        plain = lstrcmpiA(x, y) != 0;
        for (int d = c + 1; d < 0x7F && plain; d++) {
            if (!IsPlain(d)) continue;
            x[0] = (char)c, x[1] = 0, y[0] = (char)d, y[1] = 0;
            plain = (lstrcmpiA(x, y) == 0) == (Bytes.folded[c] == Bytes.folded[d]);
        }
    }
    for (int c = 'a'; c <= 'z' && plain; c++)
        for (int d = 'a'; d <= 'z' && plain; d++) {
            x[0] = (char)c, x[1] = (char)d;
            y[0] = (char)(c - 32), y[1] = (char)d;
            plain = lstrcmpiA(x, y) == 0;
            y[0] = (char)c, y[1] = (char)(d - 32);
            plain = plain && lstrcmpiA(x, y) == 0;
        }
    // In a code page of double-byte characters an ASCII byte may be the second half of a
    // character, so a shared beginning may end inside one.
    DWORD localeCodePage = 0;
    GetLocaleInfoA(GetThreadLocale(), LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER, (char*)&localeCodePage,
                   sizeof localeCodePage);
    bool singleByte = IsSingleByte(CP_ACP) && (!localeCodePage || IsSingleByte(localeCodePage));
    known = plain ? ShortcutPlainNames | (singleByte ? ShortcutSharedStart : 0) : 0;
    return known;
}

int NameComparisonShortcuts() { return ComparisonShortcuts(); }

bool NameMatches(const WantedName* wanted, char* name, DWORD length, BYTE kind)
{
    int shortcuts = ComparisonShortcuts();
    if (!shortcuts) return MatchesByLstrcmpi(wanted, name, length);
    const BYTE* folded = Bytes.folded;
    const BYTE* a = (const BYTE*)name;
    const BYTE* b = (const BYTE*)wanted->text;
    DWORD wantedLength = wanted->length;
    BYTE both = (BYTE)(kind | wanted->kind);

    if (!(both & (ByteSoft | ByteHard))) {
        // Plain names. Names of one section mostly share their beginning (paths in an install
        // log), so compare from the end.
        if (length != wantedLength) return false;
        for (DWORD i = length; i-- > 0;)
            if (folded[a[i]] != folded[b[i]]) return false;
        return true;
    }

    if (shortcuts & ShortcutSharedStart) {
        // Names that are the same but for the case of ASCII letters are equal. After the
        // beginning that both share, plain characters on both sides decide alone: they are
        // never ignored and never merge with what stands before them, so the names differ.
        DWORD shared = 0;
        DWORD shorter = length < wantedLength ? length : wantedLength;
        while (shared < shorter && folded[a[shared]] == folded[b[shared]]) shared++;
        if (shared == length && shared == wantedLength) return true;
        BYTE rest = 0;
        for (DWORD i = shared; i < length; i++) rest |= Bytes.kind[a[i]];
        for (DWORD i = shared; i < wantedLength; i++) rest |= Bytes.kind[b[i]];
        if (!(rest & (ByteSoft | ByteHard))) return false;
    }

    if (!(both & ByteHard)) {
        // Word sort weighs hyphens and apostrophes apart from the other characters, so names
        // that differ once they are left out are never equal. Names that agree but for those
        // characters' places are left to lstrcmpiA.
        DWORD i = 0, j = 0;
        for (;;) {
            while (i < length && (Bytes.kind[a[i]] & ByteSoft)) i++;
            while (j < wantedLength && (Bytes.kind[b[j]] & ByteSoft)) j++;
            if (i == length || j == wantedLength) break;
            if (folded[a[i]] != folded[b[j]]) return false;
            i++;
            j++;
        }
        if (i != length || j != wantedLength) return false;
    }
    return MatchesByLstrcmpi(wanted, name, length);
}

void StartSectionWalk(SectionWalk* walk, char* text, const char* section)
{
    PrepareWantedName(&walk->section, section);
    walk->position = text;
    walk->inside = false;
}

int NextSectionEntry(SectionWalk* walk, ScriptLine* line)
{
    while (NextScriptLine(&walk->position, line)) {
        if (line->type == LineHeader)
            walk->inside = NameMatches(&walk->section, line->name, line->nameLength, line->nameKind);
        else if (walk->inside && line->type == LineEntry)
            return 1;
    }
    return 0;
}

bool NameContains(const char* name, DWORD length, const char* part, DWORD partLength)
{
    if (partLength > length) return false;
    for (DWORD i = 0; i + partLength <= length; i++) {
        DWORD k = 0;
        while (k < partLength && name[i + k] == part[k]) k++;
        if (k == partLength) return true;
    }
    return false;
}

bool IsHardName(BYTE kind) { return (kind & ByteHard) != 0; }

DWORD FoldedNameHash(const char* name, DWORD length, bool dropSoft)
{
    DWORD hash = 2166136261u;  // FNV-1a
    for (DWORD i = 0; i < length; i++) {
        BYTE c = (BYTE)name[i];
        if (dropSoft && (Bytes.kind[c] & ByteSoft)) continue;
        hash = (hash ^ Bytes.folded[c]) * 16777619u;
    }
    return hash;
}

DWORD OddPrefixLength(const char* name, DWORD length)
{
    while (length && !(Bytes.kind[(BYTE)name[length - 1]] & (ByteSoft | ByteHard))) length--;
    return length;
}

bool FoldedEqual(const char* a, const char* b, DWORD length)
{
    for (DWORD i = 0; i < length; i++)
        if (Bytes.folded[(BYTE)a[i]] != Bytes.folded[(BYTE)b[i]]) return false;
    return true;
}
